#include "ui/text/StyledText.h"

#include <string>

#include "core/Exception.h"
#include "core/Format.h"
#include "graphics/DisplayPort.h"

namespace {
constexpr SourceName kSource("STYLEDT");
}  // namespace

SMART_COPY_CHECK_AT(StyledText, kSource.Line(17));
SMART_DEFINE(StyledText, "StyledText", nullptr, nullptr, String)

const PersistentType StyledText::persistentType(&StyledText::classInfo, MakeVersion(1), MakeVersion(1),
                                                &StyledText::ReadNew);

namespace {

[[maybe_unused]] const bool gStyledTextRegistered = (RegisterGenericType(34, &StyledText::persistentType), true);

}  // namespace

SmartRef<TextStyle> ToTextStyle(const SmartRef<Smart>& holder) {
  if (!holder) return nullptr;
  // Held counted, so that a clone of another class is freed rather than lost.
  const SmartRef<Smart> clone = holder->Clone();
  return CastSmart<TextStyle>(~clone);
}

StyledText::StyledText(const String& text, const SmartRef<Smart>& styleHolder)
    : String(text), style(ToTextStyle(styleHolder)) {}

StyledText::StyledText(const char* characters, std::int32_t length, const SmartRef<Smart>& styleHolder)
    : style(ToTextStyle(styleHolder)) {
  Insert(characters, 0, length);
}

StyledText::StyledText(const StyledText& other) : Smart(), String(other), style(ToTextStyle(other.style)) {}

StyledText::StyledText(ArchiveBlock& block) {
  {
    ArchiveBlock textBlock(block, &String::persistentType);
    const String text(textBlock);
    textBlock.Close();
    String::operator=(text);
  }
  if (!block.IsSkipping()) style = CastSmart<TextStyle>(block.GetArchive()->ReadObject());
}

StyledText& StyledText::operator=(const StyledText& other) {
  if (&other == this) return *this;
  String::operator=(other);
  style = ToTextStyle(other.style);
  return *this;
}

Persistent* StyledText::ReadNew(Archive* archive) { return ReadFromBlock<StyledText>(archive, &persistentType); }

void StyledText::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  if (block.IsSkipping()) return;
  String::Write(block.GetArchive());
  block.GetArchive()->WriteObject(~style);
}

void StyledText::Draw(DisplayPort& port, const Rect& rect, const Color& color) {
  const std::string characters = TextOf(*this);
  const auto length = static_cast<std::int32_t>(characters.size());
  if (style) port.DrawText(rect, characters.c_str(), length, *style);
  else port.DrawTextBox(characters.c_str(), length, rect, color);
}

// A text without a style (one read from a page that stored none) measures as it draws, in the default
// style, so that the views showing it can still lay it out.
void StyledText::Measure(Point& size, std::int32_t width) {
  if (!style) {
    String::Measure(size, width);
    return;
  }
  const TextLock lock(*this);
  size = MeasureWrappedText(lock.Length() > 0 ? lock.Chars() : "", lock.Length(), *style, width);
}

int StyledText::NotImplemented(const Rect&) {
  ReportError("Not implemented.", kSource.Line(101));
  return 0;
}
