// The program's one text type: Windows-1252 bytes with 1-based positions, persistent, editable, clipboard
// content, and observed by the views that show it.
#pragma once

#include <cstdint>
#include <string>

#include "core/GenericArray.h"
#include "core/ListData.h"
#include "core/ModelObserver.h"
#include "core/ObjectReference.h"
#include "core/SystemScrap.h"

class DisplayPort;
class Stream;
struct Color;

class String : public Model, public SystemScrap, public SmartImplementation {
  SMART_CLASS(String)
 public:
  static const PersistentType persistentType;
  static constexpr std::uint32_t kTextScrapType = 0x54455854;  // 'TEXT'
  enum : int { kForward = 0, kBackward = 1 };

  String();
  String(const char* text);
  String(const String& other);
  // The count characters of the source from 1-based position from.
  String(const String& source, std::int32_t from, std::int32_t count);
  explicit String(int number);
  explicit String(long number);
  explicit String(ArchiveBlock& block);
  String& operator=(const String& other);

  static Smart* Create() { return new String(); }
  static Persistent* ReadNew(Archive* archive);

  std::int32_t Length() const { return characters.NumItems(); }
  void CopyTo(char* buffer, std::int32_t size) const;
  bool operator==(const String& other) const { return characters.Equals(other.characters); }
  bool operator!=(const String& other) const { return !(*this == other); }
  bool ToNumber(int* number) const;
  std::int32_t CountLines() const;
  // The size the text takes wrapped to the width (0: unwrapped; the width of its longest line is then
  // reported) in the default text style.
  virtual void Measure(Point& size, std::int32_t width);
  // The text in the rectangle, in the default style and the colour; nothing for an empty text.
  virtual void Draw(DisplayPort& port, const Rect& rect, const Color& color);

  void Set(const char* text);
  void Clear();
  // Inserts n bytes after 0-based position p (0 at the front, Length() at the end).
  void Insert(const char* text, std::int32_t p, std::int32_t n);
  void Insert(const String& other, std::int32_t p);
  void Append(const char* text);
  void Append(const String& other);
  String operator+(const String& other) const;
  void SetNumber(int number);
  void ReplaceAll(const String& pattern, const String& replacement);
  SmartRef<String> NextToken(const String& delimiters);
  void ToggleObserver(ModelObserver* observer);

  // The 1-based position of the pattern searching from start (forward, or backward for a match ending
  // at or before start), or 0.
  std::int32_t Find(const String& pattern, std::int32_t start, int direction) const;
  bool NextLine(std::int32_t* p, std::int32_t* e) const;
  List SplitLines() const;
  List Split(char separator) const;

  int Alert(int iconKind, int buttonKind) const;
  int NotImplemented();

  SmartRef<GenericArray> GetScrapTypes() override;
  Memory* GetScrapData(std::uint32_t type) override;
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  // An editable text view over the string in the container's bounds (the frame is not used), answering
  // those bounds; nothing (Rect::emptyRect) for a string nothing holds.
  void MakeEditor(Rect* bounds, View* container, const Rect& frame) override;
  String* GetTitle() override { return this; }

 private:
  friend class TextLock;
  void NotifyObservers(std::int32_t position, std::int32_t replaced, std::int32_t delta);

  mutable GenericArray characters{1, 0};
  ObserverList observers;
};

// Reads a String's characters: they stay where they are while the lock lives.
class TextLock {
 public:
  explicit TextLock(const String& text) : characters(text.characters) { characters.Lock(); }
  ~TextLock() { characters.Unlock(); }
  TextLock(const TextLock&) = delete;
  TextLock& operator=(const TextLock&) = delete;
  std::int32_t Length() const { return characters.NumItems(); }
  const char* Chars() const { return reinterpret_cast<const char*>(characters.ItemAddress(1)); }

 private:
  GenericArray& characters;
};

// The characters alone, without length or terminator.
Stream& operator<<(Stream& stream, const String& text);

// The characters of a String as a value of their own: it outlives changes to the String, so it serves
// operations whose argument may be the receiver.
std::string TextOf(const String& text);

