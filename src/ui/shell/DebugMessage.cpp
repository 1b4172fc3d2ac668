#include "ui/shell/DebugMessage.h"

#include "core/Alert.h"
#include "core/Text1252.h"
#include "core/Utilities.h"
#include "ui/shell/App.h"
#include "ui/controls/Control.h"
#include "ui/dialogs/Dialog.h"
#include "ui/dialogs/DialogFormatter.h"
#include "ui/views/LFWDecorator.h"
#include "ui/text/TextView.h"
#include "ui/views/Window.h"

namespace {
constexpr SourceName kSource("DebugMessage");
}  // namespace

SMART_COPY_CHECK_AT(DebugMessage, kSource.Line(49));
SMART_DEFINE(DebugMessage, "DebugMessage", nullptr, nullptr, SmartImplementation)

SmartRef<Window> gDebugWindow;
SmartRef<TextView> gDebugTextView;
String gDebugLog;
std::int32_t gDebugCount = 0;
bool gDebugMute = false;
std::uint32_t gDebugDelay = 1500;

namespace {

constexpr int kCtrlAndShift = 4 | 1;

void OpenLogWindow() {
  const String title("Fenêtre de message"_cp);
  gDebugWindow = new Window(&title, kFrameFloatingBorder, false, false, Window::kDefaultWidth, Window::kDefaultHeight);
  gDebugWindow->SetSize(500, 42);
  // The window shows the last text logged before it opened until the next one comes.
  gDebugTextView = new TextView(~gDebugWindow, gDebugWindow->GetBounds(), new String(gDebugLog), kAnchorAll, false,
                                false, true, false);
  gDebugWindow->AddSubview(~gDebugTextView);
  LFWDecorator::Get().Place(*gDebugWindow, LFWDecorator::kBottomOrRight, LFWDecorator::kBottomOrRight);
  gDebugWindow->Open(true);
  gDebugWindow->Refresh();
}

void CloseLogWindow() {
  SmartRef<Window> window = gDebugWindow;
  gDebugWindow = nullptr;
  gDebugTextView = nullptr;
  window->Close();
}

}  // namespace

SmartRef<DebugMessage> DebugMessage::Open() {
  int keys = 0;
  GetModifierKeys(&keys);
  return new DebugMessage((keys & kCtrlAndShift) != kCtrlAndShift);
}

DebugMessage::DebugMessage(bool quiet) : quiet(quiet) {
  if (!quiet) Join();
}

DebugMessage::DebugMessage(const DebugMessage& other)
    : Smart(), SmartImplementation(other), OperationLog(), quiet(other.quiet) {
  if (!quiet) Join();
}

DebugMessage& DebugMessage::operator=(const DebugMessage& other) {
  if (quiet == other.quiet) return *this;
  // Counted as living until it turns quiet, so that the window it kept open closes only then.
  if (quiet) {
    Join();  // may raise: the message then stays quiet
    quiet = false;
  } else {
    quiet = true;
    Leave();
  }
  return *this;
}

DebugMessage::~DebugMessage() {
  if (!quiet) Leave();
}

void DebugMessage::Join() {
  ++gDebugCount;
  // Outside the running program (a tool, a test of the drawing alone) there is no main window to hold it.
  if (gDebugMute || gDebugWindow || !IsApplicationRunning() || !gMainWindow) return;
  try {
    OpenLogWindow();
  } catch (...) {
    // The message that raises is never made, so it must not count, nor leave a window nobody will close.
    --gDebugCount;
    if (gDebugWindow) CloseLogWindow();
    throw;
  }
}

void DebugMessage::Leave() {
  if (--gDebugCount == 0 && gDebugWindow) CloseLogWindow();
}

void DebugMessage::Log(const String& text) {
  if (gDebugMute || quiet) return;
  gDebugLog = text;
  if (!gDebugWindow) return;
  gDebugTextView->SetText(text);
  gDebugWindow->Refresh();
  Delay(gDebugDelay);
}

DebugMessageMute::DebugMessageMute() : saved(gDebugMute) { gDebugMute = true; }

DebugMessageMute::~DebugMessageMute() { gDebugMute = saved; }

void RunDebugParametersDialog() {
  SmartRef<Dialog> dialog(new Dialog(kFrameModalPlain));
  SmartRef<DialogFormatter> formatter(new DialogFormatter(~dialog, 300, 0, 5, 5, 10, 10));
  formatter->AddLabel(String("Debug Parameters"), false, 0);
  String delay;
  delay.SetNumber(static_cast<int>(gDebugDelay));
  SmartRef<TextView> field =
      formatter->AddLabeledField(new String("Délai : "_cp), 1, new String(delay), false, -1, 0, 0);
  formatter->AddButtonRow(nullptr, nullptr, 0.7, 0.35);
  dialog->FitToContent(true);
  LFWDecorator::Get().Place(*dialog, LFWDecorator::kCentre, LFWDecorator::kCentre);
  dialog->Open(true);
  while (dialog->Poll()) {
  }
  if (dialog->WasCancelled()) return;
  String text;
  field->GetText(&text);
  int value = 0;
  // Anything but a positive number keeps the delay there was.
  if (text.ToNumber(&value) && value > 0) gDebugDelay = static_cast<std::uint32_t>(value);
}
