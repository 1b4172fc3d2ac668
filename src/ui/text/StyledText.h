// A text with one style for the whole of it: what text movies of pages store, what dialog labels show and
// what text views put on the program's own clipboard. On the system clipboard it is plain text.
#pragma once

#include <cstdint>

#include "core/String.h"
#include "ui/text/TextStyle.h"

class StyledText : public String {
  SMART_CLASS(StyledText)
 public:
  static const PersistentType persistentType;

  // The text and a clone of the holder's style (none for an empty holder).
  StyledText(const String& text, const SmartRef<Smart>& styleHolder);
  StyledText(const char* characters, std::int32_t length, const SmartRef<Smart>& styleHolder);
  // A second, independent style.
  StyledText(const StyledText& other);
  explicit StyledText(ArchiveBlock& block);
  StyledText& operator=(const StyledText& other);

  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // Null: the text draws as plain text.
  SmartRef<TextStyle> GetStyle() const { return style; }
  // Shares the style itself: later changes to it show in this text.
  void SetStyle(TextStyle* newStyle) { style = newStyle; }

  // In its own style; without one, in the default style and the colour.
  void Draw(DisplayPort& port, const Rect& rect, const Color& color) override;
  // Wrapped to the width (0: unwrapped) in its own style; without one, as plain text.
  void Measure(Point& size, std::int32_t width) override;
  // Answers 0 (no).
  int NotImplemented(const Rect& rect);

 private:
  SmartRef<TextStyle> style;
};

// A clone of the held style, or null when the holder is empty or holds no style.
SmartRef<TextStyle> ToTextStyle(const SmartRef<Smart>& holder);
