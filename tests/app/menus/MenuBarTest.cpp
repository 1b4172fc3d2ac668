// The application's menu bar in the running program over a project of the test's own: its menus, items,
// shortcuts and accelerators as the child sees them, every item's state in the states that change it,
// and the commands reached through the bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "app/links/WebLinkDialog.h"
#include "app/menus/AppMenus.h"
#include "app/page/AppPages.h"
#include "app/page/DromelToolPalette.h"
#include "app/page/DromelWindow.h"
#include "core/Text1252.h"
#include "editor/browser/BrowserPanes.h"
#include "editor/stage/CHAPane.h"
#include "editor/text/CTextView.h"
#include "engine/page/CShow.h"
#include "graphics/GraphicsState.h"
#include "graphics/SystemVersion.h"
#include "engine/page/SolidPicture.h"
#include "editor/EditorTestSupport.h"
#include "platform/dialogs/CommonDialogs.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Keyboard.h"
#include "platform/user/Menu.h"
#include "platform/user/Message.h"
#include "sound/SoundChannel.h"
#include "ui/controls/ColorView.h"
#include "ui/dialogs/Dialog.h"
#include "ui/menus/Menu.h"
#include "ui/shell/App.h"
#include "ui/shell/Tool.h"
#include "ui/shell/WinMain.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextCommands.h"
#include "ui/text/TextView.h"
#include "ui/views/Window.h"

namespace app_test {
namespace {

constexpr long kPageTime = 1000000000;

std::string NativeText(HMENU menu, int position) {
  char text[128] = {};
  GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

// The bar's menu of that title (Windows-1252), or null.
Menu* BarMenu(const std::string& title) {
  const List& menus = gApplication->GetMenuBar()->GetMenus();
  for (std::int32_t i = 1; i <= menus.NumItems(); ++i) {
    auto* menu = CastSmart<Menu>(menus.At(i));
    if (TextOf(menu->GetTitle()) == title) return menu;
  }
  return nullptr;
}

// An item of the bar: its menu's title, the sub-menu's title when it sits in one, and its text as stored.
struct ItemRef {
  const char* menu;
  const char* subMenu;
  const char* text;
};

// The menu that holds the item, and the item's 1-based place in it.
std::pair<Menu*, std::int32_t> Find(const ItemRef& ref) {
  Menu* menu = BarMenu(ref.menu);
  if (menu != nullptr && ref.subMenu != nullptr) menu = menu->SubMenuAt(menu->IndexOfEntry(String(ref.subMenu)));
  if (menu == nullptr) return {nullptr, 0};
  return {menu, menu->IndexOfEntry(String(ref.text))};
}

// The state the menu shows once the application has updated its menus: 'o' enabled, 'v' ticked,
// '-' greyed.
char Shown(const ItemRef& ref) {
  const auto [menu, index] = Find(ref);
  if (menu == nullptr || index == 0) {
    ADD_FAILURE() << "no item " << ref.text << " in " << ref.menu;
    return '?';
  }
  const UINT state = GetMenuState(menu->GetNativeMenu(), static_cast<UINT>(index - 1), MF_BYPOSITION);
  if (state & MF_GRAYED) return '-';
  return (state & MF_CHECKED) ? 'v' : 'o';
}

// Every item whose state changes with what the program shows, menu by menu.
const std::vector<std::vector<ItemRef>> kStateColumns = {
    {{"Fichier", nullptr, "Nouvelle page"},
     {"Fichier", nullptr, "Ouvrir\xC9"},
     {"Fichier", "Importer", "Fichier\xC9"},
     {"Fichier", nullptr, "Fermer"},
     {"Fichier", nullptr, "Enregistrer"},
     {"Fichier", nullptr, "Enregistrer sous\xC9"},
     {"Fichier", nullptr, "Créer une source HTML"_cp},
     {"Fichier", nullptr, "Publier\xC9"},
     {"Fichier", "Projets", "Nouveau projet"},
     {"Fichier", nullptr, "Quitter"}},
    {{"Édition"_cp, nullptr, "Annuler"},
     {"Édition"_cp, nullptr, "Couper"},
     {"Édition"_cp, nullptr, "Copier"},
     {"Édition"_cp, nullptr, "Coller"},
     {"Édition"_cp, nullptr, "Supprimer"},
     {"Édition"_cp, nullptr, "Placer dessus"},
     {"Édition"_cp, nullptr, "Placer dessous"},
     {"Édition"_cp, nullptr, "Transparent"},
     {"Édition"_cp, nullptr, "Supprimer une page\xC9"},
     {"Édition"_cp, nullptr, "Son activé"_cp}},
    {{"Résolution"_cp, nullptr, "480x360"}, {"Résolution"_cp, nullptr, "600x450"}, {"Résolution"_cp, nullptr, "760x570"}},
    {{"Lien", nullptr, "URL\xC9"}, {"Lien", nullptr, "Email\xC9"}},
    {{"Texte", nullptr, "Choisir une couleur \xC9"}},
};

// The states of every column, one group per menu.
std::string ShownStates() {
  gApplication->UpdateMenus();
  std::string states;
  for (const auto& group : kStateColumns) {
    if (!states.empty()) states += ' ';
    for (const ItemRef& ref : group) states += Shown(ref);
  }
  return states;
}

// A Ctrl shortcut typed to the main window, read at once as the message loop reads keys (a dialog that
// the command opens runs the next steps from its own loop).
void TypeCtrl(char letter) {
  SetFocus(gMainWindow);
  const BYTE key = LOBYTE(VkKeyScanA(letter));
  platform::InjectKey(VK_CONTROL, true);
  platform::InjectKey(key, true);
  platform::InjectKey(key, false);
  platform::InjectKey(VK_CONTROL, false);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (gAcceleratorTable && TranslateAcceleratorA(gMainWindow, gAcceleratorTable, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Whether the front window holds a view of that class.
template <typename T>
bool FrontHolds() {
  SmartRef<Window> front = gApplication->FrontWindow();
  if (front == nullptr) return false;
  const List& views = front->GetSubviews();
  for (std::int32_t n = 1; n <= views.NumItems(); ++n)
    if (dynamic_cast<T*>(CastSmart<View>(views.At(n))) != nullptr) return true;
  return false;
}

// A click on the item as the main window receives it.
void Click(const ItemRef& ref) {
  const auto [menu, index] = Find(ref);
  ASSERT_NE(index, 0) << ref.text;
  SendMessageA(gMainWindow, WM_COMMAND, static_cast<WPARAM>(menu->CommandNumber(index)), 0);
}

class MenuBarTest : public DromelAppTest {
 protected:
  void SetUp() override {
    DromelAppTest::SetUp();
    // The delete-page window's heading and button.
    WriteAppPicture(803, 300, 60, 0x2060C0);
    WriteAppPicture(710, 81, 30, 0x20C060);
    WriteAppPicture(711, 81, 30, 0x106030);
  }
  // Opens the project "Site" (one page, two sprites on it, the lower one chosen) and runs the steps with
  // its page window in front.
  void InPage(std::vector<Step> steps) {
    MakeProject("Site", {{"index", kPageTime}});
    std::vector<Step> script = {{&FrontIsWelcome, [] { ChooseProject("Site"); }},
                                {&StartupOver, [this] { PutSprites(); }}};
    script.insert(script.end(), steps.begin(), steps.end());
    RunDromel(std::move(script));
  }
  void PutSprites() {
    DromelWindow* window = Page();
    ASSERT_NE(window, nullptr);
    auto* page = CastSmart<CShow>(window->GetDocument());
    ASSERT_NE(page, nullptr);
    lower = AddSpriteAt(GroupOf(*page), *engine_test::SolidPicture(40, 30, 4), 1, {10, 10});
    upper = AddSpriteAt(GroupOf(*page), *engine_test::SolidPicture(40, 30, 9), 1, {100, 100});
    Pane()->SelectSprite(~lower);
  }
  static DromelWindow* Page() { return CastSmart<DromelWindow>(Front()); }
  static CHAPane* Pane() { return Page() ? Page()->GetStagePane() : nullptr; }
  static std::int32_t SpriteCount() { return GroupOf(*Pane()->GetShow()).GetSpriteCount(); }
  static CSprite* Sprite(std::int32_t n) { return GroupOf(*Pane()->GetShow()).GetSprite(static_cast<std::int16_t>(n)); }
  static std::int32_t IndexOf(CSprite* sprite) {
    for (std::int32_t n = 0; n < SpriteCount(); ++n)
      if (Sprite(n) == sprite) return n;
    return -1;
  }
  void Choose(CSprite* sprite) {
    chosen = sprite;
    Pane()->SelectSprite(sprite);
  }

  // Cut and undo put copies in place of the page's sprites: these are the ones first put there.
  SmartRef<CSprite> lower;
  SmartRef<CSprite> upper;
  SmartRef<CSprite> chosen;
};

// The bar as the child sees it: the menus in order ("Catégorie" hidden), every item's text with its
// shortcut, the ellipses spelt out, and one accelerator per shortcut letter.
TEST_F(MenuBarTest, TheBarHoldsItsMenusItemsAndShortcutsInOrder) {
  struct Expected {
    const char* title;
    std::vector<std::string> items;  // as shown; "-" a separator, "> X" the sub-menu X
  };
  const std::vector<Expected> bar = {
      {"Fichier",
       {"Nouvelle page cntl+N", "Ouvrir... cntl+O", "> Importer", "Fermer cntl+W", "-", "Enregistrer cntl+S",
        "Enregistrer sous...", "-", "Créer une source HTML cntl+H"_cp, "Publier... cntl+P", "-", "> Projets", "-", "Quitter cntl+Q"}},
      {"Édition"_cp,
       {"Annuler cntl+Z", "-", "Couper cntl+X", "Copier cntl+C", "Coller cntl+V", "Supprimer", "-",
        "Placer dessus cntl+]", "Placer dessous cntl+[", "Transparent", "-", "Supprimer une page...",
        "Son activé cntl+1"_cp}},
      {"Résolution"_cp, {"480x360 cntl+4", "600x450 cntl+6", "760x570 cntl+8"}},
      {"Lien", {"URL... cntl+L", "Email... cntl+E"}},
      {"Catégorie"_cp, {}},
      {"Texte", {"> Police", "> Taille", "> Style", "> Alignement", "-", "Choisir une couleur ..."}},
  };
  InPage({{nullptr, [&] {
             const List& menus = gApplication->GetMenuBar()->GetMenus();
             ASSERT_EQ(menus.NumItems(), static_cast<std::int32_t>(bar.size()));
             std::vector<std::string> shownTitles;
             for (std::size_t m = 0; m < bar.size(); ++m) {
               auto* menu = CastSmart<Menu>(menus.At(static_cast<std::int32_t>(m + 1)));
               SCOPED_TRACE(bar[m].title);
               EXPECT_EQ(TextOf(menu->GetTitle()), bar[m].title);
               EXPECT_EQ(menu->IsHidden(), m == 4) << "only \"Catégorie\" is hidden";
               if (!menu->IsHidden()) shownTitles.push_back(bar[m].title);
               std::vector<std::string> items;
               const HMENU native = menu->GetNativeMenu();
               for (int i = 0; i < GetMenuItemCount(native); ++i) {
                 if (GetSubMenu(native, i) != nullptr) {
                   items.push_back("> " + NativeText(native, i));
                 } else {
                   items.push_back(GetMenuItemID(native, i) == 0 ? "-" : NativeText(native, i));
                 }
               }
               EXPECT_EQ(items, bar[m].items);
             }
             // The bar itself: the system's about menu first, then every menu shown, titles unchanged
             // (the title "Édition" keeps its first byte, which items would spell as "...").
             const HMENU native = GetMenu(gMainWindow);
             std::vector<std::string> titles;
             for (int i = 1; i < GetMenuItemCount(native); ++i) titles.push_back(NativeText(native, i));
             EXPECT_EQ(titles, shownTitles);
             EXPECT_EQ(gCategoryMenu.operator->(), BarMenu("Catégorie"_cp));
             EXPECT_EQ(gFileMenu.operator->(), BarMenu("Fichier"));
             EXPECT_EQ(TextView::GetTextMenu().operator->(), BarMenu("Texte"));
             EXPECT_EQ(gUndoMenu.operator->(), BarMenu("Édition"_cp));

             // "Importer" holds the one item "Fichier...".
             const auto [import, index] = Find({"Fichier", "Importer", "Fichier\xC9"});
             ASSERT_NE(import, nullptr);
             EXPECT_EQ(import->CountEntries(), 1);
             EXPECT_EQ(NativeText(import->GetNativeMenu(), 0), "Fichier... cntl+M");

             // Every shortcut letter of the bar is one accelerator (Ctrl and the key) for its item.
             std::vector<std::pair<std::string, int>> wanted;
             std::vector<std::pair<std::string, int>> table;
             for (const char* letters : {"NOMWSHPQ", "ZXCV][1", "468", "LE", "BIU"}) {
               for (const char* c = letters; *c; ++c) wanted.emplace_back(std::string(1, *c), LOBYTE(VkKeyScanA(*c)));
             }
             ASSERT_NE(gShortcutTable, nullptr);
             ASSERT_NE(gAcceleratorTable, nullptr);
             for (std::uint32_t i = 0; i < gShortcutTable->count; ++i) {
               const ShortcutEntry& entry = gShortcutTable->shortcuts[i];
               const SmartRef<MenuItem> item = Menu::ItemForCommand(entry.command);
               ASSERT_TRUE(item) << "an accelerator without its item: " << entry.command;
               table.emplace_back(std::string(1, item->GetShortcut()), entry.virtualKey);
             }
             std::sort(wanted.begin(), wanted.end());
             std::sort(table.begin(), table.end());
             EXPECT_EQ(table, wanted);
           }}});
  EXPECT_TRUE(alerts.Alerts().empty());
}

// Each item's state in the states that change it. The columns, menu by menu:
//   "Fichier":    Nouvelle page, Ouvrir..., Importer > Fichier..., Fermer, Enregistrer, Enregistrer sous...,
//                 Créer une source HTML, Publier..., Projets > Nouveau projet, Quitter
//   "Édition":    Annuler, Couper, Copier, Coller, Supprimer, Placer dessus, Placer dessous, Transparent,
//                 Supprimer une page..., Son activé
//   "Résolution": 480x360, 600x450, 760x570
//   "Lien":       URL..., Email...
//   "Texte":      Choisir une couleur ...
// 'o' enabled, 'v' ticked, '-' greyed.
TEST_F(MenuBarTest, EachItemsStateFollowsWhatTheProgramShows) {
  SmartRef<Dialog> dialog;
  InPage({{nullptr,
           [&] {
             EXPECT_EQ(ShownStates(), "oooooooooo -oo-oo-vov voo oo -") << "a sprite chosen, nothing copied";
             TypeCtrl('C');
           }},
          {nullptr,
           [&] {
             EXPECT_EQ(ShownStates(), "oooooooooo oooooo-vov voo oo -") << "a sprite copied";
             Pane()->HandleNumberCommand(2030, nullptr);
             ASSERT_TRUE(Pane()->IsPlaying());
             EXPECT_EQ(ShownStates(), "oooooooooo o-------ov voo -- -") << "the page playing";
             Pane()->GetPlayer()->Stop();
             Pane()->SelectSprite(~lower);
             EXPECT_EQ(ShownStates(), "oooooooooo oooooo-vov voo oo -") << "stopped again";
             // The palette's kinds: the start panel's buttons stand each page on its no-tool button (the
             // last page plays the show); any other button leaves no import and no size change.
             struct KindRow {
               std::int32_t chosen;
               std::int16_t kind;
               const char* states;
             };
             for (const KindRow& row : {KindRow{28, 3, "oooooooooo oooooo-vov voo oo -"},
                                        KindRow{29, 8, "oooooooooo oooooo-vov voo oo -"},
                                        KindRow{30, 13, "oooooooooo oooooo-vov voo oo -"},
                                        KindRow{31, 18, "oooooooooo oooooo-vov voo oo -"},
                                        KindRow{32, 23, "oooooooooo o-------ov voo -- -"},
                                        KindRow{7, 7, "oo-ooooooo oooooo-vov --- oo -"},
                                        KindRow{12, 12, "oo-ooooooo oooooo-vov --- oo -"}}) {
               SCOPED_TRACE(row.chosen);
               DromelToolPalette& palette = *Page()->GetToolPalette();
               if (row.chosen < DromelToolPalette::kFirstPanelKind)
                 palette.CreateTool(DromelToolPalette::kFirstPanelKind + (row.chosen - 3) / 5);
               palette.CreateTool(row.chosen);
               if (!Pane()->IsPlaying()) Pane()->SelectSprite(~lower);
               EXPECT_EQ(palette.GetToolKind(), row.kind);
               EXPECT_EQ(ShownStates(), row.states);
             }
             Page()->GetToolPalette()->CreateTool(DromelToolPalette::kFirstPanelKind + 1);
             Pane()->SelectSprite(~lower);
             Page()->SetPageSize(600, 450 + gToolPaletteHeight);
             EXPECT_EQ(ShownStates(), "oooooooooo oooooo-vov ovo oo -") << "600 x 450";
             Page()->SetPageSize(760, 570 + gToolPaletteHeight);
             EXPECT_EQ(ShownStates(), "oooooooooo oooooo-vov oov oo -") << "760 x 570";
             {
               SmartRef<StyledText> text(new StyledText(String("mot"), nullptr));
               SmartRef<CTextView> textPane(new CTextView(Pane(), Rect(20, 60, 200, 100), ~text));
               Pane()->AddSubview(~textPane);
               EXPECT_EQ(ShownStates().back(), 'o') << "a text pane open";
               Pane()->RemoveSubview(~textPane);
             }
             EXPECT_EQ(ShownStates().back(), '-') << "the text pane gone";
             dialog = new Dialog(kFrameModal);
             dialog->Open(true);
             EXPECT_EQ(ShownStates(), "---------- ---------v --- -- -") << "a modal dialog up";
             dialog->Close();
             dialog = nullptr;
             gApplication->CloseWindow(nullptr, kCloseDiscarding);
             ASSERT_EQ(Front(), nullptr);
             EXPECT_EQ(ShownStates(), "oo------oo --------ov --- -- -") << "no window in front";
           }}});
  EXPECT_TRUE(alerts.Alerts().empty());
}

// Each shortcut performs its item's command on what is in front, one after the other on one page.
TEST_F(MenuBarTest, ShortcutsReachTheirCommands) {
  data->folder.Write("clip.bmp", editor_test::BmpBytes(30, 20, [](int, int) { return 0xFF0000u; }));
  const std::string clip = data->folder.WinPath("clip.bmp");
  std::vector<platform::FileDialogKind> dialogs;
  const platform::FileChooser previous = platform::SetFileChooser(
      [&](platform::FileDialogKind kind, const OPENFILENAMEA&) -> std::optional<std::string> {
        dialogs.push_back(kind);
        if (kind == platform::FileDialogKind::kOpen && dialogs.size() == 1) return clip;
        return std::nullopt;
      });
  const bool muted = gSoundMuted;
  std::int32_t placeBefore = 0;
  struct Shortcut {
    char key;
    std::function<void()> before;
    std::function<bool()> ready;  // for a command that opens a modal dialog: the dialog is up
    std::function<void()> after;
  };
  const std::vector<Shortcut> shortcuts = {
      {'C', nullptr, nullptr, [&] { EXPECT_TRUE(gApplication->GetClipboard()->GetScrap()) << "copied"; }},
      {'X', nullptr, nullptr, [&] { EXPECT_EQ(SpriteCount(), 1) << "cut"; }},
      {'Z', nullptr, nullptr,
       [&] {
         EXPECT_EQ(SpriteCount(), 2) << "the cut undone";
         EXPECT_EQ(BarMenu("Édition"_cp)->ItemAt(1)->GetText(), String("Refaire")) << "the next Ctrl+Z redoes";
       }},
      {'V', nullptr, nullptr, [&] { EXPECT_EQ(SpriteCount(), 3) << "pasted"; }},
      {']', [&] { Choose(Sprite(0)); }, nullptr, [&] { EXPECT_NE(Sprite(0), ~chosen) << "placed above"; }},
      {'[', [&] { placeBefore = IndexOf(~chosen); }, nullptr,
       [&] { EXPECT_LT(IndexOf(~chosen), placeBefore) << "placed below"; }},
      {'6', nullptr, nullptr, [&] { EXPECT_EQ(Page()->GetBounds().Size(), Point(600, 450 + gToolPaletteHeight)); }},
      {'8', nullptr, nullptr, [&] { EXPECT_EQ(Page()->GetBounds().Size(), Point(760, 570 + gToolPaletteHeight)); }},
      {'1', nullptr, nullptr, [&] { EXPECT_NE(gSoundMuted, muted) << "sound switched"; }},
      {'1', nullptr, nullptr, [&] { EXPECT_EQ(gSoundMuted, muted) << "and back"; }},
      {'M', nullptr, nullptr, [&] { EXPECT_EQ(SpriteCount(), 4) << "the picture imported onto the page"; }},
      {'S', [&] { std::ofstream(ProjectsPath("Site/index.zod"), std::ios::trunc); }, nullptr,
       [&] { EXPECT_EQ(Contents(ProjectsPath("Site/index.zod")).substr(0, 4), "OBJS") << "the page saved"; }},
      // The compilation shows its progress: the check waits for the page to be in front again.
      {'H', nullptr, [] { return Page() != nullptr; },
       [&] { EXPECT_TRUE(Exists("Projets/Site/HTML/index.htm")) << "compiled"; }},
      {'L', [&] { Choose(Sprite(0)); }, [] { return CastSmart<WebLinkDialog>(Front()) != nullptr; },
       [] { CancelFront(); }},
      {'E', nullptr, [] { return CastSmart<WebLinkDialog>(Front()) != nullptr; }, [] { CancelFront(); }},
      {'W', nullptr, nullptr, [&] { EXPECT_EQ(Front(), nullptr) << "closed"; }},
      {'N', nullptr, nullptr, [&] { EXPECT_NE(Page(), nullptr) << "a new page"; }},
      {'O', nullptr, nullptr, [&] { EXPECT_EQ(dialogs.back(), platform::FileDialogKind::kOpen); }},
  };
  std::vector<Step> steps;
  for (const Shortcut& shortcut : shortcuts) {
    steps.push_back({nullptr, [&shortcut] {
                       if (shortcut.before) shortcut.before();
                       TypeCtrl(shortcut.key);
                     }});
    steps.push_back({shortcut.ready, [&shortcut] {
                       SCOPED_TRACE(std::string("Ctrl+") + shortcut.key);
                       shortcut.after();
                     }});
  }
  InPage(steps);
  platform::SetFileChooser(previous);
  EXPECT_EQ(dialogs.size(), 2u) << "the import's and the open's";
  for (const auto& a : alerts.Alerts()) printf("ALERT %s\n", a.text.c_str());
  EXPECT_TRUE(alerts.Alerts().empty());
}

// The items without a shortcut, chosen in their menus.
TEST_F(MenuBarTest, ItemsWithoutShortcutsReachTheirCommands) {
  std::vector<platform::FileDialogKind> dialogs;
  const platform::FileChooser previous = platform::SetFileChooser(
      [&](platform::FileDialogKind kind, const OPENFILENAMEA&) -> std::optional<std::string> {
        dialogs.push_back(kind);
        return std::nullopt;
      });
  const ItemRef clear{"Édition"_cp, nullptr, "Supprimer"};
  const ItemRef transparent{"Édition"_cp, nullptr, "Transparent"};
  InPage({{nullptr,
           [&] {
             Click(clear);
             EXPECT_EQ(SpriteCount(), 1) << "the chosen sprite cleared";
             Pane()->SelectSprite(~upper);
             gApplication->UpdateMenus();
             const char was = Shown(transparent);
             Click(transparent);
             gApplication->UpdateMenus();
             EXPECT_NE(Shown(transparent), was) << "the sprite's transparency switched";
             Click({"Fichier", nullptr, "Enregistrer sous\xC9"});
             ASSERT_EQ(dialogs.size(), 1u);
             EXPECT_EQ(dialogs[0], platform::FileDialogKind::kSave);

             SmartRef<StyledText> text(new StyledText(String("mot"), nullptr));
             SmartRef<CTextView> textPane(new CTextView(Pane(), Rect(20, 60, 200, 100), ~text));
             Pane()->AddSubview(~textPane);
             Click({"Texte", nullptr, "Choisir une couleur \xC9"});
             SmartRef<Tool> tool = gApplication->GetTool();
             ASSERT_TRUE(tool);
             EXPECT_NE(CastSmart<GridSelector>(~tool->GetInteractor()), nullptr) << "the colour chooser is open";
             tool->SetInteractor(nullptr);
             Pane()->RemoveSubview(~textPane);
             Click({"Fichier", "Projets", "Nouveau projet"});
           }},
          {&FrontIsNameDialog, [] { CancelFront(); }},
          {nullptr, [] { Click({"Édition"_cp, nullptr, "Supprimer une page\xC9"}); }},
          {[] { return FrontHolds<PageBrowserPane>(); }, [] { CancelFront(); }},
          {nullptr, [] { EXPECT_NE(Page(), nullptr) << "the page window in front again"; }}});
  platform::SetFileChooser(previous);
  EXPECT_TRUE(alerts.Alerts().empty());
}

// A greyed item does nothing, whether its shortcut is typed or the item itself reaches the main window:
// no command runs and nothing is reported.
TEST_F(MenuBarTest, AGreyedItemDoesNothing) {
  const ItemRef clear{"Édition"_cp, nullptr, "Supprimer"};
  InPage({{nullptr,
           [&] {
             Pane()->HandleNumberCommand(2030, nullptr);
             ASSERT_TRUE(Pane()->IsPlaying());
             gApplication->UpdateMenus();
             ASSERT_EQ(Shown(clear), '-');
             TypeCtrl('X');
           }},
          {nullptr,
           [&] {
             Click(clear);
             EXPECT_EQ(SpriteCount(), 2) << "nothing cut or cleared while the page plays";
             Pane()->GetPlayer()->Stop();
             gApplication->CloseWindow(nullptr, kCloseDiscarding);
             ASSERT_EQ(Front(), nullptr);
             TypeCtrl('W');
             TypeCtrl('H');
             TypeCtrl('6');
           }},
          {nullptr,
           [&] {
             Click({"Résolution"_cp, nullptr, "600x450"});
             Click({"Fichier", nullptr, "Fermer"});
             EXPECT_FALSE(Exists("Projets/Site/HTML/index.htm")) << "nothing compiled without a page";
             EXPECT_EQ(Front(), nullptr);
           }}});
  EXPECT_TRUE(alerts.Alerts().empty());
}

// Where the system has no accelerator tables there is no scanner support: "Importer..." is a plain item
// of "Fichier" that imports into the page in front, greyed without a front window.
TEST_F(MenuBarTest, WithoutScannerSupportImporterIsAPlainItem) {
  InPage({{nullptr, [&] {
             // The bar sets its globals: the running program's are put back afterwards.
             const SmartRef<Menu> file = gFileMenu, category = gCategoryMenu, undo = gUndoMenu;
             const SmartRef<Menu> text = TextView::GetTextMenu();
             int& version = TheGraphicsState().winVersion;
             const int running = version;
             version = Win31Only;
             const SmartRef<MenuBar> limited = DromelApp::BuildMenuBar();
             version = running;
             gFileMenu = file;
             gCategoryMenu = category;
             Window::SetUndoMenu(~undo);
             TextView::SetTextMenu(~text);

             Menu* limitedFile = CastSmart<Menu>(limited->GetMenus().At(1));
             ASSERT_EQ(limitedFile->SubMenuAt(3), nullptr);
             MenuItem* import = limitedFile->ItemAt(3);
             ASSERT_NE(import, nullptr);
             EXPECT_EQ(import->GetText(), String("Importer\xC9"));
             EXPECT_EQ(import->GetShortcut(), 'M');
             Smart* app = static_cast<SmartImplementation*>(~gApplication);
             EXPECT_EQ(import->GetCommand()->GetSignalStatus(app), kCommandEnabled);
             EXPECT_EQ(import->GetCommand()->GetSignalStatus(Pane()), kCommandDisabled) << "for the application only";
             gApplication->CloseWindow(nullptr, kCloseDiscarding);
             EXPECT_EQ(import->GetCommand()->GetSignalStatus(app), kCommandDisabled);
           }}});
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace
}  // namespace app_test
