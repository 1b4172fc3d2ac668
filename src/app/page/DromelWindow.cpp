#include "app/page/DromelWindow.h"

#include <algorithm>

#include "app/DromelApp.h"
#include "app/page/DromelScribe.h"
#include "app/page/DromelToolPalette.h"
#include "core/Alert.h"
#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/ObjectReference.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "editor/CToolPalette.h"
#include "editor/CToolsDir.h"
#include "editor/RowColumnView.h"
#include "editor/stage/CHAPane.h"
#include "engine/app/CHAApp.h"
#include "engine/page/CMovieGroup.h"
#include "engine/sprites/CSprite.h"
#include "ui/shell/Tool.h"
#include "ui/views/WindowFrame.h"

const Point gDefaultPageSize{480, 360};
std::int32_t gToolPaletteHeight = 0;

SMART_DEFINE_ABSTRACT(DromelWindow, "DromelWindow", DocWindow)

namespace {

constexpr const char* kShrinkWarning = "Il se peut qu'une partie des images apparaisse hors du cadre de la fenêtre."_cp;

// The player command that starts the page from the current frame.
constexpr std::int32_t kPlayCommand = 2030;

CHAPane* FindStagePane(View* view) {
  if (view == nullptr) return nullptr;
  if (auto* pane = CastSmart<CHAPane>(view)) return pane;
  const List& subviews = view->GetSubviews();
  for (std::int32_t i = 1; i <= subviews.NumItems(); ++i)
    if (CHAPane* pane = FindStagePane(CastSmart<View>(subviews.At(i)))) return pane;
  return nullptr;
}

// Hides the floating tools window when it shows; through its toggle, so that the toggle shows it again.
void HideToolsWindow() {
  if (gToolsDirectory && gToolsDirectory->IsVisible()) gToolsDirectory->Toggle(true);
}

}  // namespace

DromelWindow::DromelWindow(ObjectReference* data, DocWindow* owner, Scribe* scribe, CToolPalette* startPanel)
    : DocWindow(data, nullptr, owner, scribe, false),
      startPanel(startPanel),
      history(&FileReference::classInfo),
      document(data) {
  Refresh();
  toolPalette = new DromelToolPalette(this, startPanel);
  gToolPaletteHeight = toolPalette->GetBounds().Height();
  GetContentView()->ResizeBy(0, gToolPaletteHeight, 0, 0);
  AddSubview(~toolPalette);
  toolPalette->SetBounds(Rect::FromSizeAndOrigin(toolPalette->GetBounds().Size(), {0, 0}));
  // A window not shown yet has nothing to lose by shrinking: it starts at the default size unasked.
  SetSize(gDefaultPageSize.x, gDefaultPageSize.y + gToolPaletteHeight);
  SetPageSize(gDefaultPageSize.x, gDefaultPageSize.y + gToolPaletteHeight);
  DromelScribe* pageScribe = PageScribeOf(this);
  ShowTitle(pageScribe ? ~pageScribe->GetPageFile() : nullptr);
}

DromelWindow::~DromelWindow() {
  toolPalette = nullptr;
  startPanel = nullptr;
  overlayView = nullptr;
  history = List(&FileReference::classInfo);
}

Smart* DromelWindow::GetDocument() const { return document ? document->GetObject() : nullptr; }

CHAPane* DromelWindow::GetStagePane() const { return FindStagePane(~GetContentView()); }

void DromelWindow::ShowTitle(FileReference* file) {
  String folderName;
  String pageName;
  if (file != nullptr) {
    const SmartRef<FileReference> folder(file->GetParent());
    if (folder) folder->GetBaseNameAndType(folderName);
    file->GetBaseNameAndType(pageName);
  } else {
    const SmartRef<FileReference> folder(FileReference::CurrentFolder());
    if (folder) folder->GetBaseNameAndType(folderName);
    pageName = String("sanstitre");
  }
  String title(folderName);
  title.Append(":");
  title.Append(pageName);
  GetFrame()->SetTitle(&title);
}

void DromelWindow::SetPageSize(std::int32_t width, std::int32_t height) {
  if (width != 0 || height != 0) {
    const Rect now = GetBounds();
    if ((width < now.Width() || height < now.Height()) &&
        Alert(kAlertExclamation, kButtonsOKCancel, kShrinkWarning) != kAlertAnswerOK) {
      return;
    }
    SetSize(width, height);
  }
  CHAPane* pane = GetStagePane();
  // The window first: the pane follows the window's edges, and then takes the page's size exactly.
  auto sizePane = [this, pane](std::int32_t w, std::int32_t h) {
    SetSize(w, h + gToolPaletteHeight);
    if (pane != nullptr) {
      const Rect frame = pane->GetBounds();
      pane->SetBounds(frame.left, frame.top, frame.left + w, frame.top + h);
    }
  };
  auto* group = pane ? CastSmart<CMovieGroup>(pane->GetGroup()) : nullptr;
  if (group != nullptr) {
    Rect bounds = group->GetBounds();
    if (width == 0 && height == 0) {
      width = std::max(bounds.Width(), gDefaultPageSize.x);
      height = std::max(bounds.Height(), gDefaultPageSize.y);
      sizePane(width, height);
      bounds = group->GetBounds();
    }
    if (CSprite* background = group->FindSpriteByName(String("__Background"))) {
      // The flag is off while the movie takes the page's size, and always on afterwards.
      if (background->ToggleBackgroundFlag(false)) background->ToggleBackgroundFlag(true);
      background->GetMovie()->SetBounds(Rect{0, 0, bounds.Width(), bounds.Height()});
      if (!background->ToggleBackgroundFlag(false)) background->ToggleBackgroundFlag(true);
    }
  }
  if (width == 0 && height == 0) {
    // No page to fit: the default size.
    width = gDefaultPageSize.x;
    height = gDefaultPageSize.y;
    sizePane(width, height);
  }
  Rect palette = toolPalette->GetBounds();
  palette.right = width;
  toolPalette->SetBounds(palette);
  toolPalette->GetLayout()->SetBounds(palette);
  View* commands = toolPalette->GetCommandRow();
  Rect row = commands->GetBounds();
  row.Offset(width - row.right, 0);
  commands->SetBounds(row);
}

bool DromelWindow::CanChangePageSize() {
  View* active = gCHAApp ? gCHAApp->GetActivePane() : nullptr;
  return CastSmart<CHAPane>(active) != nullptr && toolPalette->GetToolKind() % 5 == 3;
}

void DromelWindow::Store() {
  HideToolsWindow();
  RefreshTarget();
  const SmartRef<Smart> page(GetDocument());
  if (CastSmart<Persistent>(~page) == nullptr) ThrowException(new MessageException("Not a storable window!"));
  const SmartRef<Scribe> scribe = GetScribe();
  if (!scribe) return;
  if (auto* pageScribe = CastSmart<DromelScribe>(~scribe)) {
    pageScribe->CompileIfOutOfDate(page);
  } else {
    scribe->Write(page);
  }
}

void DromelWindow::RefreshTarget() {
  HideToolsWindow();
  if (gToolsDirectory) gToolsDirectory->Layout(CToolsDir::kNothing);
  if (gCHAApp) {
    if (const SmartRef<Tool> tool = gCHAApp->GetTool()) tool->SetInteractor(nullptr);
  }
  DocWindow::RefreshTarget();
}

void DromelWindow::Activate(bool active) {
  DocWindow::Activate(active);
  if (!gToolsDirectory) return;
  if (active || !toolsWindowShown) {
    toolsWindowShown = gToolsDirectory->IsVisible() ? 1 : 0;
    HideToolsWindow();
  } else {
    gToolsDirectory->Toggle(true);
  }
}

void DromelWindow::ReadFile(FileReference& file) {
  DocWindow::ReadFile(file);
  SetPageSize(0, 0);
}

void DromelWindow::SetData(ObjectReference* newData, Scribe* newScribe) {
  RecordVisit();
  if (auto* pageScribe = CastSmart<DromelScribe>(newScribe)) {
    ShowTitle(~pageScribe->GetPageFile());
    historyIndex = static_cast<std::uint32_t>(history.IndexOf(~pageScribe->GetPageFile()));
  } else {
    ShowTitle(nullptr);
  }
  CHAPane* old = CastSmart<CHAPane>(~GetContentView()->GetTarget());
  const bool wasPlaying = old != nullptr && old->IsPlaying();
  document = newData;
  DocWindow::SetData(newData, newScribe);
  SetPageSize(0, 0);
  if (auto* pane = CastSmart<CHAPane>(~GetContentView()->GetTarget()); pane != nullptr && wasPlaying) {
    pane->HandleNumberCommand(kPlayCommand, nullptr);
  }
}

void DromelWindow::RecordVisit() {
  DromelScribe* pageScribe = PageScribeOf(this);
  if (pageScribe == nullptr) return;
  FileReference* file = ~pageScribe->GetPageFile();
  const std::uint32_t count = static_cast<std::uint32_t>(history.NumItems());
  if (const std::int32_t position = history.IndexOf(file)) {
    lastVisit = static_cast<std::uint32_t>(position);
    return;
  }
  // A page reached anew ends the pages one could go forward to.
  if (lastVisit < count) history->Remove(static_cast<std::int32_t>(lastVisit + 1), static_cast<std::int32_t>(count - lastVisit));
  history.Append(file);
  ++lastVisit;
}

void DromelWindow::ReadHistoryEntry(std::uint32_t position) {
  // The stored reference itself: the page scribe made for it holds it, so it is found here again.
  const SmartRef<FileReference> file(CastSmart<FileReference>(history.At(static_cast<std::int32_t>(position))));
  if (file) ReadFile(*file);
}

void DromelWindow::Navigate(int direction) {
  if (!CanClose(kCloseAsking)) return;
  const std::uint32_t current = historyIndex;
  const std::uint32_t count = static_cast<std::uint32_t>(history.NumItems());
  switch (direction) {
    case kBack:
      if (current == 0 && lastVisit > 0) {
        ReadHistoryEntry(lastVisit);
      } else if (current > 1) {
        ReadHistoryEntry(current - 1);
      }
      return;
    case kForward:
      if (current > 0 && current < count) ReadHistoryEntry(current + 1);
      return;
    case kHome:
      if (auto* app = CastSmart<DromelApp>(~gApplication)) app->GoToIndexPage(*ProjectFolderOfWindow(*this), *this);
      return;
    default:
      NOT_IMPLEMENTED();
      return;
  }
}

void DromelWindow::SetOverlayView(View* view) {
  if (overlayView) RemoveSubview(~overlayView);
  if (view != nullptr) AddSubview(view);
  overlayView = view;
}

SmartRef<FileReference> ProjectFolderOfWindow(DromelWindow& window) {
  if (auto* pageScribe = PageScribeOf(&window)) return pageScribe->GetProjectFolder();
  return SmartRef<FileReference>(FileReference::CurrentFolder());
}
