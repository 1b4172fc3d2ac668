#include "editor/browser/BrowserPanes.h"

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "editor/CCommandButton.h"
#include "editor/KidResources.h"
#include "editor/browser/CBrowser.h"
#include "editor/stage/CHAPane.h"
#include "engine/app/CHAApp.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "ui/controls/ScrollBar.h"
#include "ui/shell/App.h"
#include "ui/shell/MessagePump.h"

bool gPaletteTracking = false;

PageBrowserPane::PageBrowserPane(View* parent, FileReference& folder, CTool* tool, std::int32_t thumbWidth,
                                 std::int32_t thumbHeight, const Rect& frame, Smart* owner)
    : View(parent, frame, kAnchorTopLeft, false, false) {
  const Rect browserFrame = ScrollBar::FrameRect(GetBounds(), true, false);
  browser = new CBrowser(this, browserFrame, folder, tool, thumbWidth, thumbHeight);
  browser->SetOwner(owner);
  AddSubview(~browser);
  ScrollBar::AttachToView(~browser, ~browser, true, false);
}

PageBrowserPane::~PageBrowserPane() {
  if (browser) browser->RemoveAllSubviews();
}

namespace {

Sound* LoadedSound(int n) {
  SoundResource* resource = KidResources::GetSound(n);
  return resource ? resource->Get() : nullptr;
}

// The tracking flag goes down however the loop ends, an exception included, or no button would ever
// track again.
class TrackingScope {
 public:
  TrackingScope() { gPaletteTracking = true; }
  ~TrackingScope() { gPaletteTracking = false; }
  TrackingScope(const TrackingScope&) = delete;
  TrackingScope& operator=(const TrackingScope&) = delete;
};

}  // namespace

ToolPalettePane::ToolPalettePane(View* parent, std::int16_t pageCount)
    : CPaletteView(parent, nullptr), pageCount(pageCount) {
  firstSound = LoadedSound(3);
  secondSound = LoadedSound(4);
  if (gToolsDirectory) gToolsDirectory->ToggleListener(this);
}

ToolPalettePane::~ToolPalettePane() {
  if (gToolsDirectory) gToolsDirectory->ToggleListener(this);
  if (stepPalette) stepPalette->RemoveTool(this);
}

void ToolPalettePane::AddCommandButtonRow(View* parent, PaletteLook* stepLook) {
  const Rect bounds = GetBounds();
  SmartRef<CCommandButton> button(new CCommandButton(
      parent, Rect(bounds.left, bounds.top, bounds.left, bounds.top), new AppClipCommand(kEditClear),
      KidResources::GetImage(2030), KidResources::GetImage(2031), KidResources::GetImage(2032),
      KidResources::GetSound(13)));
  parent->AddSubview(~button);
  gDeleteButton = SmartRef<ToggleButton>(~button);
  // Shown inactive until the stage selects something.
  button->SetState(2);
  if (stepLook != nullptr) {
    stepPalette = new CToolPalette(parent, SmartRef<PaletteLook>(stepLook), 1);
    stepPalette->AddTool(this);
    stepPalette->SetSelection(0);
    parent->AddSubview(~stepPalette);
  }
  ShowPage(0);
}

void ToolPalettePane::TrackSelection(std::int32_t kind) {
  CToolPalette* palette = gPaletteTracking || kind == 0 || kind > 27 ? nullptr : GetPagePalette(currentPage);
  if (palette == nullptr) {
    ChooseTool(kind);
    return;
  }
  bool inside = true;
  bool released = false;
  {
    TrackingScope tracking;
    const std::int16_t old = palette->GetSelection();
    palette->SetSelection(static_cast<std::int16_t>(kind));
    const Rect rect = palette->GetButtonRect(static_cast<std::int16_t>(kind));
    PumpPaintMessages();
    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MBUTTONDBLCLK)) > 0) {
      if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
        const auto x = static_cast<std::int16_t>(LOWORD(msg.lParam));
        const auto y = static_cast<std::int16_t>(HIWORD(msg.lParam));
        inside = x != 0 && y != 0 && rect.Contains(x, y);
        palette->SetSelection(inside ? static_cast<std::int16_t>(kind) : old);
        if (msg.message == WM_LBUTTONUP) {
          released = true;
          break;
        }
      }
      PumpPaintMessages();
    }
    // The quit message was taken here: the program's own loop must still see it, and a program on its way
    // out opens no tool.
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      palette->SetSelection(old);
    }
    ReleaseCapture();
  }
  if (released && inside) ChooseTool(kind);
}

void ToolPalettePane::ChooseTool(std::int32_t kind) {
  if (kind == 0) {
    UpdateAppWindows(nullptr);
    return;
  }
  if (kind != 1 && kind != 2) return;
  if (!stepPalette) AssertFailed("data != NULL", __FILE__, __LINE__);
  stepPalette->SetSelection(static_cast<std::int16_t>(kind));
  std::int32_t page = currentPage + (kind == 1 ? 1 : -1);
  page %= pageCount;
  if (page < 0) page += pageCount;
  ShowPage(static_cast<std::int16_t>(page));
  stepPalette->SetSelection(0);
}

void ToolPalettePane::ShowPage(std::int16_t page) {
  currentPage = page;
  for (std::int16_t i = 0; i < pageCount; ++i) {
    CToolPalette* palette = GetPagePalette(i);
    if (palette == nullptr) continue;
    if (i == page) palette->SetSelection(0);
    palette->Show(i == page);
  }
  ChooseTool(0);
  Invalidate(false);
}

void ToolPalettePane::UpdateAppWindows(Smart* object) {
  if (gCHAApp) gCHAApp->UpdateWindows(object);
}

SmartRef<FileReference> FindOrCreateFolder(const char* name) {
  SmartRef<FileReference> programFolder(FileReference::ApplicationFolder());
  try {
    return SmartRef<FileReference>(new FileReference(*programFolder, String(name), false));
  } catch (Exception* exception) {
    SmartRef<Exception> missing(exception);
    char text[256];
    GetStockString(text, 2, name);
    Alert(kAlertExclamation, kButtonsOK, text);
    return SmartRef<FileReference>(new FileReference(*programFolder, String(name), true));
  }
}
