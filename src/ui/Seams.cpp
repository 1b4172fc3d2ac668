#include "ui/Seams.h"

#include "core/Progress.h"
#include "core/Seams.h"
#include "core/String.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "graphics/OperationLog.h"
#include "graphics/Seams.h"
#include "ui/dialogs/ProgressDialog.h"
#include "ui/shell/DebugMessage.h"
#include "ui/text/TextStyle.h"
#include "ui/text/TextView.h"

namespace {

InternetHooks gInternetHooks;
WindowClosingHook gWindowClosingHook = nullptr;

// Strings and display ports know no text style: they draw and measure in the default one, which belongs
// to this library.
Point MeasureString(const String& text, std::int32_t width) {
  const SmartRef<TextStyle> style = MakeDefaultTextStyle(standardColors[1], standardColors[13]);
  const TextLock lock(text);
  return MeasureWrappedText(lock.Length() > 0 ? lock.Chars() : "", lock.Length(), *style, width);
}

void DrawInDefaultStyle(DisplayPort& port, const Rect& rect, const char* text, std::int32_t length,
                        const Color& color) {
  const SmartRef<TextStyle> style = MakeDefaultTextStyle(color, Color(kTransparentColor));
  port.DrawText(rect, text, length, *style);
}

void DrawString(const String& text, DisplayPort& port, const Rect& rect, const Color& color) {
  TextLock lock(text);
  port.DrawTextBox(lock.Chars(), lock.Length(), rect, color);
}

Rect MakeEditorForString(String& text, View* container) {
  const Rect bounds = container->GetBounds();
  TextView::MakeForString(container, &text, bounds, true, true, true);
  return bounds;
}

SmartRef<OperationLog> OpenDebugMessage() { return DebugMessage::Open(); }

}  // namespace

void InstallUiSeams() {
  SetStringMeasurer(&MeasureString);
  SetStringDrawer(&DrawString);
  SetStringEditorMaker(&MakeEditorForString);
  SetDefaultStyleTextDrawer(&DrawInDefaultStyle);
  SetOperationLogOpener(&OpenDebugMessage);
  SetProgressDisplayMaker(&ProgressDialog::Make);
}

void SetInternetHooks(const InternetHooks& hooks) { gInternetHooks = hooks; }
const InternetHooks& GetInternetHooks() { return gInternetHooks; }

void SetWindowClosingHook(WindowClosingHook hook) { gWindowClosingHook = hook; }
WindowClosingHook GetWindowClosingHook() { return gWindowClosingHook; }
