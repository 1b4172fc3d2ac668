#include "ui/text/TextStyle.h"

#include <cstring>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/Stream.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/text/Text.h"

namespace {
constexpr SourceName kSource("TextStyle");
}  // namespace

SMART_COPY_CHECK_AT(TextStyle, kSource.Line(84));
SMART_DEFINE(TextStyle, "TextStyle", nullptr, nullptr, Persistent)
SMART_DEFINE_ABSTRACT(StyleSetter, "StyleSetter", Smart)

const PersistentType TextStyle::persistentType(&TextStyle::classInfo, MakeVersion(1), MakeVersion(1),
                                               &TextStyle::ReadNew);

const char* const faceNames[kFaceCount] = {"Times New Roman", "Times New Roman", "Fixedsys",
                                           "Courier New",     "Arial",           "Times New Roman"};

namespace {

[[maybe_unused]] const bool gTextStyleRegistered = (RegisterGenericType(35, &TextStyle::persistentType), true);

// Ids outside the table (from a damaged page) show the default face rather than read past the table.
const char* FaceOfId(std::int32_t id) {
  return id >= 0 && id < kFaceCount ? faceNames[id] : faceNames[kDefaultFontId];
}

}  // namespace

TextStyle::TextStyle(std::int32_t fontId, std::int16_t size, std::int32_t alignment, const Color& textColor,
                     const Color& backColor)
    : fontId(fontId), alignment(alignment), size(size), textColor(textColor), backColor(backColor) {
  RebuildFont();
}

TextStyle::TextStyle(const TextStyle& other)
    : Smart(), Persistent(other), SmartImplementation(other), PortTextStyle(other) {
  *this = other;
}

// Bytes of a damaged page are made safe here: no bits become plain, and an alignment outside the three
// would reach the drawing layer as format flags, so it becomes left.
TextStyle::TextStyle(ArchiveBlock& block) {
  Stream* stream = block.GetStream();
  fontId = stream->ReadLong();
  styleBits = static_cast<std::int8_t>(stream->ReadByte());
  alignment = static_cast<std::int8_t>(stream->ReadByte());
  size = stream->ReadShort();
  textColor.Read(block);
  backColor.Read(block);
  if (fontId == kNamedFontId) {
    ArchiveBlock nameBlock(block, &String::persistentType);
    fontName = String(nameBlock);
    nameBlock.Close();
  }
  if (styleBits == 0) styleBits = kPlainStyle;
  if (alignment < kAlignLeft || alignment > kAlignRight) alignment = kAlignLeft;
  RebuildFont();
}

TextStyle& TextStyle::operator=(const TextStyle& other) {
  fontId = other.fontId;
  fontName = other.fontName;
  styleBits = other.styleBits;
  alignment = other.alignment;
  size = other.size;
  textColor = other.textColor;
  backColor = other.backColor;
  RebuildFont();
  return *this;
}

// A failure cannot leave a destructor; the handle is given back when the system lets it go.
TextStyle::~TextStyle() {
  if (font) DeleteObject(font);
}

Persistent* TextStyle::ReadNew(Archive* archive) { return ReadFromBlock<TextStyle>(archive, &persistentType); }

void TextStyle::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  if (block.IsSkipping()) return;
  Stream* stream = block.GetStream();
  stream->WriteLong(fontId);
  stream->WriteByte(static_cast<std::uint8_t>(styleBits));
  stream->WriteByte(static_cast<std::uint8_t>(alignment));
  stream->WriteShort(size);
  textColor.Write(block);
  backColor.Write(block);
  if (fontId == kNamedFontId) fontName.Write(block.GetArchive());
}

void TextStyle::SetFontId(std::int32_t id) {
  if (id == fontId) return;
  fontId = id;
  if (id != kNamedFontId) fontName.Clear();
  RebuildFont();
}

void TextStyle::SetFontName(const String& name) {
  if (name == fontName) return;
  fontName = name;
  fontId = kNamedFontId;
  RebuildFont();
}

void TextStyle::SetStyle(std::int32_t bits) {
  if (bits == styleBits) return;
  styleBits = bits;
  RebuildFont();
}

void TextStyle::AddStyle(std::int32_t bits) {
  styleBits |= bits;
  if (bits != kPlainStyle) RemoveStyle(kPlainStyle);
  else RebuildFont();
}

void TextStyle::RemoveStyle(std::int32_t bits) {
  styleBits &= ~bits;
  if (styleBits == 0) styleBits = kPlainStyle;
  RebuildFont();
}

void TextStyle::SetSize(std::int16_t points) {
  if (points == size) return;
  size = points;
  RebuildFont();
}

void TextStyle::SetAlignment(std::int32_t value) {
  alignment = value;
  RebuildFont();
}

void TextStyle::SetTextColor(const Color& color) {
  textColor = color;
  RebuildFont();
}

void TextStyle::SetBackColor(const Color& color) {
  backColor = color;
  RebuildFont();
}

String TextStyle::GetFontName() const { return fontId == kNamedFontId ? fontName : String(FaceOfId(fontId)); }

void TextStyle::RebuildFont() {
  if (font) {
    CHECK_CALL(DeleteObject(font));
    font = nullptr;
  }
  char face[64];
  if (fontId == kNamedFontId) fontName.CopyTo(face, sizeof face);
  else std::strcpy(face, FaceOfId(fontId));
  font = CreateStyleFont(face, size, styleBits);
}

HFONT CreateStyleFont(const char* face, std::int16_t points, std::int32_t bits) {
  LOGFONTA description{};
  description.lfHeight = -((points * 4) / 3);
  description.lfWeight = bits & kBoldStyle ? FW_BOLD : FW_NORMAL;
  description.lfItalic = (bits & kItalicStyle) != 0;
  description.lfUnderline = (bits & kUnderlineStyle) != 0;
  description.lfQuality = DRAFT_QUALITY;
  std::strncpy(description.lfFaceName, face, LF_FACESIZE - 1);
  return CHECK_NOT_NULL(CreateFontIndirectA(&description));
}

SmartRef<TextStyle> MakeDefaultTextStyle(const Color& textColor, const Color& backColor) {
  return new TextStyle(kDefaultFontId, defaultTextSize, kAlignLeft, textColor, backColor);
}
