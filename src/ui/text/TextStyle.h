// How text looks everywhere in the program: a face (from a small table or by name), a size in points,
// style bits, an alignment and two colours, with a ready-made font that always matches them. Pages store
// the styles of their texts.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/String.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "platform/kernel/WinTypes.h"

// Style bits; a style always has at least one of them.
enum : std::int32_t {
  kPlainStyle = 1,
  kItalicStyle = 2,
  kBoldStyle = 4,
  kUnderlineStyle = 0x10,
};

// Alignments.
enum : std::int32_t { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };

// The faces of font ids 0 to 5; id -1 means the style's own face name.
inline constexpr int kFaceCount = 6;
extern const char* const faceNames[kFaceCount];
inline constexpr std::int32_t kNamedFontId = -1;
// The face of text drawn or measured without a style of its own.
inline constexpr std::int32_t kDefaultFontId = 1;
inline constexpr std::int16_t defaultTextSize = 12;

class TextStyle : public Persistent, public SmartImplementation, public PortTextStyle {
  SMART_CLASS(TextStyle)
 public:
  static const PersistentType persistentType;

  TextStyle(std::int32_t fontId, std::int16_t size, std::int32_t alignment, const Color& textColor,
            const Color& backColor);
  TextStyle(const TextStyle& other);
  explicit TextStyle(ArchiveBlock& block);
  TextStyle& operator=(const TextStyle& other);
  ~TextStyle() override;

  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // Every setter that changes something builds a new font.
  void SetFontId(std::int32_t id);
  void SetFontName(const String& name);
  void SetStyle(std::int32_t bits);
  // Adding italic, bold or underline drops "plain".
  void AddStyle(std::int32_t bits);
  // Removing every bit leaves "plain".
  void RemoveStyle(std::int32_t bits);
  void SetSize(std::int16_t points);
  void SetAlignment(std::int32_t value);
  void SetTextColor(const Color& color);
  void SetBackColor(const Color& color);

  std::int32_t GetFontId() const { return fontId; }
  // The face the font is made of: the style's own name, or the table's face of its id.
  String GetFontName() const;
  std::int32_t GetStyle() const { return styleBits; }
  // The bits of the argument that are set.
  std::int32_t HasStyle(std::int32_t bits) const { return styleBits & bits; }
  std::int16_t GetSize() const { return size; }
  std::int32_t GetAlignment() const override { return alignment; }
  Color GetTextColor() const override { return textColor; }
  Color GetBackColor() const override { return backColor; }
  HFONT GetFont() const override { return font; }

 private:
  void RebuildFont();

  std::int32_t fontId;
  String fontName;
  std::int32_t styleBits = kPlainStyle;
  std::int32_t alignment;
  std::int16_t size;
  Color textColor;
  Color backColor;
  HFONT font = nullptr;
};

// A new font of the face (at most 31 characters are used), the size in points and the style bits.
HFONT CreateStyleFont(const char* face, std::int16_t points, std::int32_t bits);

// The framework's default style (font 1, 12 points, left-aligned) in the caller's colours: what text drawn
// or measured without a style of its own looks like.
SmartRef<TextStyle> MakeDefaultTextStyle(const Color& textColor, const Color& backColor);

// A view whose text style the text menu edits: the menu gets the style, changes it and hands it back.
class StyleSetter : public virtual Smart {
  SMART_ABSTRACT(StyleSetter)
 public:
  virtual void SetTextStyle(SmartRef<TextStyle> style) = 0;
  // Null when the view has nothing to style.
  virtual SmartRef<TextStyle> GetTextStyle() = 0;

 protected:
  StyleSetter() = default;
};
