#include "editor/app/CTumbletApp.h"

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "core/SourcePlace.h"
#include "core/Utilities.h"
#include "editor/CDropperTool.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/FloatingWindow.h"
#include "editor/KidResources.h"
#include "editor/overview/COverview.h"
#include "editor/stage/CHAPane.h"
#include "engine/EngineOptions.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "sound/SoundChannel.h"
#include "sound/SoundDialog.h"
#include "ui/shell/Clipboard.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/Window.h"
#include "ui/views/WindowFrame.h"

SMART_DEFINE_ABSTRACT(CTumbletApp, "CTumbletApp", CHAApp)

SmartRef<CTumbletApp> gTumbletApp;

namespace {

constexpr SourceName kSource("ORVANEL/AUTHOR/CTumbletApp");
// The overview window: along the bottom of the screen, raised a little above it.
constexpr std::int32_t kOverviewHeight = 256;
constexpr std::int32_t kOverviewRise = 40;

bool StartAndQuitSoundsOn() { return (gEngineOptions & kOptionNoStartAndQuitSounds) == 0; }

// The start or quit sound, or none when the options silence it. A missing sound file is reported; the
// program still starts, and still quits, without it.
Sound* StartOrQuitSound(int n) {
  if (!StartAndQuitSoundsOn()) return nullptr;
  try {
    return KidResources::GetSound(n)->Get();
  } catch (Exception* exception) {
    SmartRef<Exception> reported(exception);
    reported->Report(kAlertExclamation);
    return nullptr;
  }
}

// A floating window only hides when closed; an option window that is replaced must go for good, or every
// change of tool would leave one more hidden window in the application's list.
void CloseForGood(App& app, Window& window) {
  SmartRef<Window> keep(&window);
  window.Close();
  if (app.GetWindows().IndexOf(&window) != 0) window.Window::Close();
}

}  // namespace

CTumbletApp::CTumbletApp(const AppCreationRecord& record) : CHAApp(record) {
  gToolsDirectory = CastSmart<CToolsDir>(~record.toolsWindow);
  PlaySound(StartOrQuitSound(kStartSound));
  InitPaintColors();
}

CTumbletApp::~CTumbletApp() {
  currentWindow = nullptr;
  overview = nullptr;
  if (gToolsDirectory && static_cast<Window*>(~gToolsDirectory) == GetToolsWindow()) gToolsDirectory = nullptr;
}

bool CTumbletApp::CanOpen() { return CheckNotImplemented(); }

bool CTumbletApp::Quit(int kind) {
  SmartRef<SoundChannel> channel;
  if (Sound* sound = StartOrQuitSound(kQuitSound)) {
    channel = new SoundChannel(sound);
    channel->Play(false);
  }
  const bool quitting = CHAApp::Quit(kind);
  if (channel) {
    // The sound is heard at least a little before the program goes.
    if (channel->IsPlaying()) Delay(kQuitSoundWait);
    channel->Stop();
  }
  return quitting;
}

void CTumbletApp::UpdateWindows(Smart* object) {
  SmartRef<Window> window(CastSmart<Window>(object));
  if (overview && !window) return;
  if (window) {
    if (auto* pane = CastSmart<CPanePlay>(GetActivePane())) {
      if (CPlayer* player = pane->GetPlayer()) player->Stop();
    }
  }
  Window* tools = GetToolsWindow();
  if (window || (tools && tools->IsVisible())) {
    if (overview && overview->IsVisible()) {
      if (auto* floating = CastSmart<FloatingWindow>(~overview)) floating->Toggle(true);
    }
  }
  if (window == currentWindow) return;
  const SmartRef<Window> previous = currentWindow;
  currentWindow = window;
  if (previous) CloseForGood(*this, *previous);
  if (window) AddWindow(~window, true);
}

void CTumbletApp::HandleNumberCommand(std::int32_t number, void* argument) {
  if (number == cmdEndInPlaceEditing) {
    EndInPlaceEditing();
    return;
  }
  if (number != cmdFrameOverview) {
    CHAApp::HandleNumberCommand(number, argument);
    return;
  }
  if (overview && overview == currentWindow) {
    ReportError("Not implemented.", kSource.Line(0));
    overview = nullptr;
    UpdateWindows(nullptr);
    return;
  }
  auto* pane = CastSmart<CHAPane>(GetActivePane());
  if (pane == nullptr) return;
  Rect frame(0, 0, 0, kOverviewHeight);
  LFWDecorator::Get().AlignRect(frame, LFWDecorator::kBottomOrRight, LFWDecorator::kFill, true);
  frame.Offset(0, -kOverviewRise);
  overview = new COverDir(pane, kFrameFloating, true, frame);
  ReportError("Not implemented.", kSource.Line(0));
  UpdateWindows(~overview);
}

void CTumbletApp::EndInPlaceEditing() {
  if (auto* pane = CastSmart<CHAPane>(GetActivePane())) {
    const SmartRef<CHAPane> kept(pane);
    pane->SetEditingKind(ToolsPane::kEditsNothing, false);
  }
  ReportError("Not implemented.", kSource.Line(0));
}

int CTumbletApp::GetNumberCommandStatus(std::int32_t number) {
  if (number == cmdEndInPlaceEditing) {
    ReportError("Not implemented.", kSource.Line(0));
    return kCommandDisabled;
  }
  return CHAApp::GetNumberCommandStatus(number);
}

void CTumbletApp::SelectTool(Tool* tool) {
  SmartRef<Tool> kept(tool);
  SmartRef<Sound> sound = RecordSound();
  if (!sound) return;
  GetClipboard()->SetScrap(~sound);
  if (gToolsDirectory) gToolsDirectory->SetCurrentTool(tool);
  if (auto* editorTool = CastSmart<CTool>(tool)) editorTool->SetActive(true);
}
