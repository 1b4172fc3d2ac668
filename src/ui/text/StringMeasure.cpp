// Strings measure in the default text style, which belongs to this library: it installs their measuring.
#include "core/String.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "ui/text/TextStyle.h"

namespace {

Point MeasureString(const String& text, std::int32_t width) {
  const SmartRef<TextStyle> style = MakeDefaultTextStyle(standardColors[1], standardColors[13]);
  const TextLock lock(text);
  return MeasureWrappedText(lock.Length() > 0 ? lock.Chars() : "", lock.Length(), *style, width);
}

[[maybe_unused]] const bool gStringMeasurerInstalled = (SetStringMeasurer(&MeasureString), true);

}  // namespace
