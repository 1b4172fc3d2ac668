#include "app/page/DromelToolPalette.h"

#include <algorithm>

#include "app/menus/AppMenus.h"
#include "app/DromelResources.h"
#include "app/links/WebLinkDialog.h"
#include "app/page/DromelWindow.h"
#include "app/page/PaletteCommands.h"
#include "core/Exception.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/CToolPalette.h"
#include "editor/CToolsDir.h"
#include "editor/KidResources.h"
#include "editor/RowColumnView.h"
#include "editor/browser/CBrowser.h"
#include "engine/app/CHAApp.h"
#include "engine/player/CPanePlay.h"
#include "platform/user/Window.h"
#include "ui/menus/Menu.h"
#include "ui/shell/App.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/Window.h"
#include "ui/views/WindowFrame.h"

SMART_DEFINE_ABSTRACT(DromelToolPalette, "DromelToolPalette", CPaletteView)

SmartRef<Sound> gClickSound;
String gCurrentCategory;
std::uint8_t gPageButtonChosen = 0;

namespace {

constexpr std::int32_t kPlayCommand = 2030;
constexpr std::int32_t kStopCommand = 2031;
constexpr int kClickSound = 3;
constexpr int kPaletteSound = 4;
// The link dialog's kind for e-mail addresses.
constexpr std::int32_t kEmailLink = 1;
const Point kDefaultCell{80, 60};
const char* const kDefaultCategory = "Around the World";

// The looks of the five pages, page p holding the kinds 3 + 5p to 7 + 5p.
constexpr std::array<int, DromelToolPalette::kPageCount> kPageLooks{404, 400, 401, 402, 403};

// The application's string-table texts that name the picture folders.
enum : int { kClipArtFolder = 1, kBackgroundFolder = 2, kExampleFolder = 4, kSeparatorFolder = 6,
             kSiteFolder = 9, kClubFolder = 10, kLinkButtonFolder = 13 };

Sound* EditorSound(int n) {
  SoundResource* resource = KidResources::GetSound(n);
  return resource ? resource->Get() : nullptr;
}

std::int16_t FirstKindOf(std::int16_t page) { return static_cast<std::int16_t>(3 + 5 * page); }

// Through its toggle, so that the toggle shows it again.
void HideToolsWindow() {
  if (gToolsDirectory && gToolsDirectory->IsVisible()) gToolsDirectory->Toggle(true);
}

// Through its toggle too. The application never showed it before the first toggle, which then counts it
// as shown: that toggle only brings the count in step with the screen.
void ShowToolsWindow() {
  if (gToolsDirectory->IsVisible()) return;
  if (gToolsDirectory->IsShown()) gToolsDirectory->Toggle(true);
  gToolsDirectory->Toggle(true);
}

// While the palette itself changes the tools window's layout.
class OwnToolsChange {
 public:
  explicit OwnToolsChange(bool& flag) : flag(flag), was(flag) { flag = true; }
  ~OwnToolsChange() { flag = was; }
  OwnToolsChange(const OwnToolsChange&) = delete;
  OwnToolsChange& operator=(const OwnToolsChange&) = delete;

 private:
  bool& flag;
  bool was;
};

SmartRef<FileReference> NamedFolder(int text) {
  String name;
  GetResourceText(name, text);
  return FindOrCreateFolder(TextOf(name).c_str());
}

// The open project's folder, the current one.
SmartRef<FileReference> ProjectFolder() { return SmartRef<FileReference>(FileReference::CurrentFolder()); }

// The frame around the window, in main-window coordinates.
Rect OuterFrame(Window& window) {
  RECT outer;
  GetWindowRect(window.GetFrame()->GetHandle(), &outer);
  POINT corners[2] = {{outer.left, outer.top}, {outer.right, outer.bottom}};
  for (POINT& corner : corners) ScreenToClient(gMainWindow, &corner);
  return Rect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
}

// The last name of the folder's path, whole: two folders "Mer.1" and "Mer.2" are two categories.
String FolderName(FileReference& folder) {
  const std::string path = folder.GetPathText() ? folder.GetPathText() : "";
  return String(path.substr(path.rfind('\\') + 1).c_str());
}

}  // namespace

// ---- Construction ----

DromelToolPalette::DromelToolPalette(View* parent, CToolPalette* startPanel)
    : ToolPalettePane(parent, kPageCount), startPanel(startPanel) {
  sound = EditorSound(kPaletteSound);
  layout = new RowColumnView(this, false, false, 0);
  AddSubview(~layout);
  for (std::int16_t p = 0; p < kPageCount; ++p) {
    const std::size_t slot = static_cast<std::size_t>(p);
    pages[slot] = new CToolPalette(this, ButtonLook(kPageLooks[slot]), FirstKindOf(p));
    layout->AddSubview(~pages[slot]);
  }
  // The page editor's command buttons, which the page window keeps at its right edge.
  SmartRef<RowColumnView> row(new RowColumnView(~layout, false, false, 0));
  commandRow = row;
  layout->AddSubview(~commandRow);
  AddCommandButtonRow(~commandRow, nullptr);
  row->Arrange(0, 0);

  ShowPage(0);
  const Point size = layout->Arrange(GetBounds().left, GetBounds().top);
  SetBounds(Rect::FromSizeAndOrigin(Point{size.x, std::max(size.y, kButtonHeight)}, GetBounds().TopLeft()));
  layout->Invalidate(false);
  // Stacked: only the page shown is seen.
  for (std::size_t p = 1; p < pages.size(); ++p) pages[p]->SetBounds(pages[0]->GetBounds());

  MakeTools();
  for (const SmartRef<CToolPalette>& palette : pages) palette->AddTool(&selectionListener);
  if (startPanel) {
    startPanel->AddTool(&selectionListener);
    startPanel->SetSelection(kFirstPanelKind + 1);
    if (startPanel->GetSelection() != kFirstPanelKind)
      ShowPage(static_cast<std::int16_t>(startPanel->GetSelection() - kFirstPanelKind));
  }
  GetNotifier()->AddAppListener(this);
}

DromelToolPalette::~DromelToolPalette() {
  for (const SmartRef<CToolPalette>& palette : pages)
    if (palette) palette->RemoveTool(&selectionListener);
  if (startPanel) startPanel->RemoveTool(&selectionListener);
  SetPlayPane(nullptr);
  GetNotifier()->RemoveAppListener(this);
}

void DromelToolPalette::MakeTools() {
  SmartRef<CTool> openTool(new CTool(kBrowseOpen, KidResources::GetSound(20), false, nullptr));
  SmartRef<CTool> readOnlyTool(new CTool(kBrowseOpenReadOnly, KidResources::GetSound(20), false, nullptr));
  SmartRef<CTool> backgroundTool(
      new CTool(kBrowseBackground, KidResources::GetSound(0), false, KidResources::GetSound(41)));
  SmartRef<CTool> clipTool(new CTool(kBrowseClip, KidResources::GetSound(0), false, KidResources::GetSound(41)));
  SmartRef<CTool> linkTool(new CTool(kBrowseLink, KidResources::GetSound(0), false, KidResources::GetSound(43)));
  SmartRef<CTool> hotLinkTool(
      new CTool(kBrowseHotLink, KidResources::GetSound(0), false, KidResources::GetSound(41)));
  const struct {
    std::int32_t kind;
    SmartRef<CTool> tool;
  } table[] = {{4, openTool},    {5, readOnlyTool}, {9, backgroundTool}, {10, clipTool},   {11, clipTool},
               {16, linkTool},   {17, linkTool},    {19, linkTool},      {20, hotLinkTool}, {21, hotLinkTool},
               {22, hotLinkTool}};
  for (const auto& row : table) tools[static_cast<std::size_t>(row.kind - 2)] = row.tool;
}

// ---- Pages ----

CToolPalette* DromelToolPalette::GetPagePalette(std::int16_t shown) {
  return shown >= 0 && shown < kPageCount ? ~pages[static_cast<std::size_t>(shown)] : nullptr;
}

void DromelToolPalette::ShowPage(std::int16_t shown) {
  ASSERT(shown >= 0 && shown < kPageCount);
  const std::int16_t before = page;
  page = shown;
  ToolPalettePane::ShowPage(shown);
  if (shown == before) {
    GetPagePalette(shown)->Invalidate(false);
    return;
  }
  if (before == kPlayPage) SendNumber(kStopCommand);
  if (shown == kPlayPage) SendNumber(kPlayCommand);
}

std::int16_t DromelToolPalette::GetToolKind() const { return pages[static_cast<std::size_t>(page)]->GetSelection(); }

CTool* DromelToolPalette::GetTool(std::int16_t slot) const {
  return slot >= 0 && slot < kSlotCount ? ~tools[static_cast<std::size_t>(slot)] : nullptr;
}

// ---- Choosing a kind ----

void DromelToolPalette::CreateTool(std::int32_t kind) {
  if (kind != kClipArtKind) {
    if (gCategoryMenu && !gCategoryMenu->IsHidden()) gCategoryMenu->SetHidden(true);
  }
  CToolPalette* current = GetPagePalette(page);
  previousButton = current->GetSelection();
  current->SetSelection(static_cast<std::int16_t>(kind == kNoTool ? FirstKindOf(page) : kind));
  {
    const OwnToolsChange own(changingTools);
    HideToolsWindow();
    if (gToolsDirectory) gToolsDirectory->Layout(CToolsDir::kNothing);
  }
  gPageButtonChosen = 0;

  switch (kind) {
    case kNoTool:
      ClearTool();
      return;
    case kStepForward:
    case kStepBack:
      PlaySound(~GetClickSound());
      if (GetStepPalette() != nullptr) {
        ToolPalettePane::ChooseTool(kind);
      } else {
        // Without step buttons there is nothing to select while stepping: only the page changes.
        ShowPage(static_cast<std::int16_t>((page + (kind == kStepForward ? 1 : kPageCount - 1)) % kPageCount));
      }
      return;
    case 3:
    case 8:
    case 13:
    case 18:
    case 23:
      PlaySound(~sound);
      ClearTool();
      return;
    case 4:
      OpenBrowser(kind, kDefaultCell, &ProjectFolder);
      return;
    case 5:
      OpenBrowser(kind, kDefaultCell, [] { return NamedFolder(kExampleFolder); });
      return;
    case 6: {
      PlaySound(~GetClickSound());
      SendFileMenuCommand('N');
      CreateTool(kNoTool);
      return;
    }
    case 9:
      OpenBrowser(kind, kDefaultCell, [] { return NamedFolder(kBackgroundFolder); });
      return;
    case 10:
      OpenBrowser(kind, {160, 20}, [] { return NamedFolder(kSeparatorFolder); });
      return;
    case kClipArtKind:
      OpenBrowser(kind, {60, 60}, [this] { return ChooseCategoryFolder(); });
      return;
    case 14:
    case 15: {
      PlaySound(~GetClickSound());
      ClearTool();
      DromelWindow* window = PageWindow();
      if (!gToolsDirectory) return;
      const OwnToolsChange own(changingTools);
      gToolsDirectory->Layout(kind == 14 ? CToolsDir::kTextEditing : CToolsDir::kPictureEditing);
      if (window != nullptr) PlaceToolsWindow(*window, *gToolsDirectory);
      if (kind == 15) ShowToolsWindow();
      return;
    }
    case 16: {
      PlaySound(~GetClickSound());
      current->InvalidateButton(previousButton);
      current->InvalidateButton(16);
      const SmartRef<GenericSignal> command(new TumbletAppCommand(GetTool(14)));
      SendCommand(~command);
      CreateTool(kNoTool);
      return;
    }
    case 17: {
      PlaySound(~GetClickSound());
      const SmartRef<GenericSignal> command(new WebLinkCommand(kEmailLink, GetTool(15)));
      SendCommand(~command);
      CreateTool(kNoTool);
      return;
    }
    case 19:
      OpenBrowser(kind, {60, 45}, &ProjectFolder);
      return;
    case 20:
      OpenBrowser(kind, {199, 75}, [] { return NamedFolder(kLinkButtonFolder); });
      return;
    case 21:
      OpenBrowser(kind, {160, 20}, [] { return NamedFolder(kSiteFolder); });
      return;
    case 22:
      OpenBrowser(kind, {102, 48}, [] { return NamedFolder(kClubFolder); });
      return;
    case 24:
    case 25:
    case 26: {
      PlaySound(~GetClickSound());
      const SmartRef<GenericSignal> command(new DromelWindowToolCommand(kind - 24));
      SendCommand(~command);
      CreateTool(kNoTool);
      return;
    }
    case 27: {
      PlaySound(~GetClickSound());
      SendFileMenuCommand('P');
      CreateTool(kNoTool);
      return;
    }
    default:
      if (kind >= kFirstPanelKind && kind <= kLastKind) {
        PlaySound(~GetClickSound());
        if (startPanel) startPanel->SetSelection(static_cast<std::int16_t>(kind));
        ShowPage(static_cast<std::int16_t>(kind - kFirstPanelKind));
        gPageButtonChosen = 1;
      }
      // 7, 12 and every other number: the selection and the tools window only.
      return;
  }
}

void DromelToolPalette::ToolsChanged(CToolsDir*) {
  // The stage pane's edit state changed under the tools window: the palette goes back to no tool, unless
  // the change is the palette's own (the text or picture mode it just asked for).
  if (!changingTools) CreateTool(kNoTool);
}

void DromelToolPalette::ClearTool() {
  UpdateAppWindows(nullptr);
  if (DromelWindow* window = PageWindow()) window->SetOverlayView(nullptr);
}

void DromelToolPalette::OpenBrowser(std::int32_t kind, Point cell, const std::function<SmartRef<FileReference>()>& folder) {
  DromelWindow* window = PageWindow();
  // A browser stands over the page it acts on: with no stage pane there is nothing to browse for, and no
  // folder is looked for (or made).
  if (!playPane || window == nullptr) {
    CreateTool(kNoTool);
    return;
  }
  const SmartRef<FileReference> browsed = folder();
  PlaySound(~sound);
  SmartRef<PageBrowserPane> browser(new PageBrowserPane(~playPane, *browsed, GetTool(static_cast<std::int16_t>(kind - 2)),
                                                        cell.x, cell.y, playPane->GetBounds(), this));
  window->SetOverlayView(~browser);
  UpdateAppWindows(nullptr);
  Show(true);
}

SmartRef<FileReference> DromelToolPalette::ChooseCategoryFolder() {
  SmartRef<FileReference> clipArt = NamedFolder(kClipArtFolder);
  if (gCategoryMenu && gCategoryMenu->IsHidden()) gCategoryMenu->SetHidden(false);
  if (gCurrentCategory.Length() == 0) gCurrentCategory = String(kDefaultCategory);
  List folders = clipArt->ListSubfolders();
  if (folders.NumItems() == 0) return clipArt;
  SmartRef<FileReference> chosen(CastSmart<FileReference>(folders.At(1)));
  for (std::int32_t i = 1; i <= folders.NumItems(); ++i) {
    auto* folder = CastSmart<FileReference>(folders.At(i));
    if (FolderName(*folder) == gCurrentCategory) {
      chosen = folder;
      break;
    }
  }
  gCurrentCategory = FolderName(*chosen);
  if (gCategoryMenu && gApplication) gCategoryMenu->Update(*gApplication);
  return chosen;
}

DromelWindow* DromelToolPalette::PageWindow() const {
  // The palette's own window: the page window it serves, in front or not (a closing one is no longer).
  auto* frame = CastSmart<WindowFrame>(GetWindowFrameOnly());
  return frame ? CastSmart<DromelWindow>(WindowFromHandle(frame->GetHandle())) : nullptr;
}

void DromelToolPalette::SendFileMenuCommand(char shortcut) {
  // The buttons that do what a "Fichier" item does send that item's own command.
  if (!gFileMenu) return;
  const std::int32_t index = gFileMenu->IndexOfShortcut(shortcut);
  MenuItem* item = index > 0 ? gFileMenu->ItemAt(index) : nullptr;
  if (item != nullptr && item->GetCommand() != nullptr) SendCommand(item->GetCommand());
}

void DromelToolPalette::SendNumber(std::int32_t number) {
  const SmartRef<GenericSignal> command(new NumberCommand(number, nullptr));
  SendCommand(~command);
}

// ---- The show ----

void DromelToolPalette::AppChanged(App* app) {
  auto* engine = CastSmart<CHAApp>(app);
  SetPlayPane(engine ? CastSmart<CPanePlay>(engine->GetActivePane()) : nullptr);
}

void DromelToolPalette::SetPlayPane(CPanePlay* pane) {
  if (pane == ~playPane) return;
  if (playPane && playPane->GetPlayer()) playPane->GetPlayer()->ToggleListener(this);
  playPane = pane;
  if (playPane && playPane->GetPlayer()) playPane->GetPlayer()->ToggleListener(this);
}

void DromelToolPalette::PlaybackStopped() {
  if ((!playPane || !playPane->IsPlaying()) && page == kPlayPage) SendNumber(kPlayCommand);
}

// ---- Shared ----

void DromelToolPalette::PlaceToolsWindow(Window& pageWindow, Window& toolsWindow) {
  const Rect pageFrame = OuterFrame(pageWindow);
  const Rect toolsFrame = OuterFrame(toolsWindow);
  Point offset{pageFrame.left - toolsFrame.left, pageFrame.bottom - toolsFrame.top};
  const std::int32_t below = toolsFrame.bottom + offset.y - LFWDecorator::Get().GetArea().bottom;
  if (below > 0) offset.y -= below;
  Rect client = toolsWindow.GetFrame()->GetGlobalBounds();
  client.Offset(offset.x, offset.y);
  toolsWindow.SetGlobalBounds(client);
}

SmartRef<Sound> DromelToolPalette::GetClickSound() {
  if (!gClickSound) gClickSound = EditorSound(kClickSound);
  return gClickSound;
}

void DromelToolPalette::SetCategory(const String& folderName) {
  gCurrentCategory = folderName;
  auto* window = gApplication ? CastSmart<DromelWindow>(~gApplication->FrontWindow()) : nullptr;
  if (DromelToolPalette* palette = window ? window->GetToolPalette() : nullptr) palette->CreateTool(kClipArtKind);
}

// ---- The category menu ----

CategoryCommand::CategoryCommand(const String& folderName) : folderName(new String(folderName)) {}

int CategoryCommand::GetSignalStatus(Smart*) {
  return *folderName == gCurrentCategory ? kCommandChecked : kCommandEnabled;
}

void CategoryCommand::Send(Smart*) {
  // Never greyed, so there is nothing to refuse; the item's own copy, in case the menu changes meanwhile.
  const SmartRef<String> name(folderName);
  DromelToolPalette::SetCategory(*name);
}

void FillCategoryMenu(Menu& menu) {
  SmartRef<FileReference> clipArt = NamedFolder(kClipArtFolder);
  List folders = clipArt->ListSubfolders();
  for (std::int32_t i = 1; i <= folders.NumItems(); ++i) {
    const String name = FolderName(*CastSmart<FileReference>(folders.At(i)));
    menu.AppendItem(name, 0, new CategoryCommand(name));
  }
}
