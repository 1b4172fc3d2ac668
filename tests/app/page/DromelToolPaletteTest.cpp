// The page window's tool palette in the running application over a project and picture folders of the
// test's own: what every tool kind does (the browser it opens over the page, the page and button it leaves
// chosen, the tools window, the "Catégorie" menu), the show that plays while the last page is shown, and
// the palette reset by the synchronisation and by a closing page window.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/menus/AppMenus.h"
#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "app/StartPanel.h"
#include "app/page/DromelScribe.h"
#include "app/page/DromelToolPalette.h"
#include "app/page/DromelWindow.h"
#include "core/FileReference.h"
#include "core/Progress.h"
#include "core/Seams.h"
#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/Seams.h"
#include "editor/browser/BrowserPanes.h"
#include "editor/browser/CBrowser.h"
#include "editor/stage/CHAPane.h"
#include "platform/user/Input.h"
#include "platform/user/Window.h"
#include "support/ScreenPixels.h"
#include "ui/dialogs/Dialog.h"
#include "ui/menus/Menu.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/WindowFrame.h"
#include "ui/shell/App.h"

namespace app_test {
namespace {

constexpr long kPageTime = 1000000000;

SmartRef<ProgressDisplay> SilentProgress(const char*) { return new SilentProgressDisplay(); }

class DromelToolPaletteTest : public DromelAppTest {
 protected:
  void SetUp() override {
    DromelAppTest::SetUp();
    MakeProject("Site", {{"index", kPageTime}, {"b", kPageTime}});
    // Each picture folder holds one page named after it, so that a browser tells which folder it shows.
    for (const char* folder : {"Exemples", "Fonds", "Separat", "Sitessym", "Clubskid", "Liens",
                               "Vignette/Animaux", "Vignette/Around the World", "Vignette/Nature"}) {
      const std::string name = std::string(folder).substr(std::string(folder).rfind('/') + 1);
      MakePageIn(folder, name);
    }
  }

  void MakePageIn(const std::string& folder, const std::string& name) {
    MakeProject("x", {{name, kPageTime}});
    data->folder.MakeFolder(folder);
    std::filesystem::rename(ProjectsPath("x") + "/" + name + ".zod",
                            data->folder.Path() / folder / (name + ".zod"));
    std::filesystem::remove_all(ProjectsPath("x"));
  }

  // The checks run in the program once the project "Site" is open in the page window.
  void InProject(const std::function<void()>& checks) {
    RunDromel({{&FrontIsWelcome, [] { ChooseProject("Site"); }},
               {&StartupOver, [&] {
                  ASSERT_NE(Window(), nullptr);
                  checks();
                }}});
  }

  static DromelWindow* Window() { return CastSmart<DromelWindow>(Front()); }
  static DromelToolPalette& Palette() { return *Window()->GetToolPalette(); }
  static std::int16_t Selection() { return Palette().GetPagePalette(Palette().GetPage())->GetSelection(); }
  static CBrowser* OverlayBrowser() {
    auto* pane = dynamic_cast<PageBrowserPane*>(Window()->GetOverlayView());
    return pane ? pane->GetBrowser() : nullptr;
  }
  // The folder of the browser's last item, from the program's folder ("project" for the project's).
  std::string BrowsedFolder() const {
    CBrowser* browser = OverlayBrowser();
    if (browser == nullptr || browser->NumItems() == 0) return "";
    const SmartRef<FileReference> folder(browser->FileAt(browser->NumItems())->GetParent());
    const std::string path = folder->GetPathText();
    if (path == data->folder.WinPath("Projets\\Site")) return "project";
    const std::string root = data->folder.WinPath() + "\\";
    return path.rfind(root, 0) == 0 ? path.substr(root.size()) : path;
  }
  static bool CategoryShown() { return !gCategoryMenu->IsHidden(); }
  static std::vector<std::string> CategoryItems() {
    std::vector<std::string> items;
    Menu* menu = ~gCategoryMenu;
    for (std::int32_t i = 1; i <= menu->CountEntries(); ++i) {
      MenuItem* item = menu->ItemAt(i);
      item->UpdateStatus(*gApplication);
      items.push_back(TextOf(item->GetText()) + ((item->GetState() & MenuItem::kChecked) ? " *" : ""));
    }
    return items;
  }
  static std::string ShownPage() {
    auto* scribe = CastSmart<DromelScribe>(~Window()->GetScribe());
    if (scribe == nullptr || !scribe->GetPageFile()) return "";
    String name;
    scribe->GetPageFile()->GetBaseNameAndType(name);
    return TextOf(name);
  }
  std::vector<std::string> AlertTexts() const {
    std::vector<std::string> texts;
    for (const RecordedAlert& alert : alerts.Alerts()) texts.push_back(alert.text);
    return texts;
  }
  static std::vector<int> Sounds(const editor_test::PlayedSounds& played) {
    std::vector<int> numbers;
    for (int n : played.Numbers({3, 4}))
      if (n != -1) numbers.push_back(n);
    return numbers;
  }
};

// Every kind that neither opens a dialog nor leaves the page, from the page that holds it (page 1 for the
// others): the browser over the page, the page and button chosen afterwards, the tools window, the sounds.
TEST_F(DromelToolPaletteTest, EveryKindOpensItsBrowserOrSetsItsModeAndLeavesItsButtonChosen) {
  struct Row {
    std::int32_t kind;
    const char* folder;  // the browsed folder, "" for no browser
    std::int32_t toolId;
    Point cell;
    std::int16_t page;
    std::int16_t selection;
    std::int32_t toolsLayout;
    std::vector<int> sounds;  // 3 the click sound, 4 the palette's own
  } table[] = {
      {0, "", 0, {}, 1, 8, 0, {}},
      {1, "", 0, {}, 2, 13, 0, {3}},
      {2, "", 0, {}, 0, 3, 0, {3}},
      {3, "", 0, {}, 0, 3, 0, {4}},
      {4, "project", 17, {80, 60}, 0, 4, 0, {4}},
      {5, "Exemples", 21, {80, 60}, 0, 5, 0, {4}},
      {7, "", 0, {}, 0, 7, 0, {}},
      {8, "", 0, {}, 1, 8, 0, {4}},
      {9, "Fonds", 20, {80, 60}, 1, 9, 0, {4}},
      {10, "Separat", 19, {160, 20}, 1, 10, 0, {4}},
      {11, "Vignette\\Around the World", 19, {60, 60}, 1, 11, 0, {4}},
      {12, "", 0, {}, 1, 12, 0, {}},
      {13, "", 0, {}, 2, 13, 0, {4}},
      {14, "", 0, {}, 2, 14, CToolsDir::kTextEditing, {3}},
      {15, "", 0, {}, 2, 15, CToolsDir::kPictureEditing, {3}},
      {18, "", 0, {}, 3, 18, 0, {4}},
      {19, "project", 14, {60, 45}, 3, 19, 0, {4}},
      {20, "Liens", 22, {199, 75}, 3, 20, 0, {4}},
      {21, "Sitessym", 22, {160, 20}, 3, 21, 0, {4}},
      {22, "Clubskid", 22, {102, 48}, 3, 22, 0, {4}},
      {23, "", 0, {}, 4, 23, 0, {4}},
      {28, "", 0, {}, 0, 3, 0, {3}},
      {29, "", 0, {}, 1, 8, 0, {3}},
      {30, "", 0, {}, 2, 13, 0, {3}},
      {31, "", 0, {}, 3, 18, 0, {3}},
      {32, "", 0, {}, 4, 23, 0, {3}},
      {33, "", 0, {}, 1, 0, 0, {}},
  };
  InProject([&] {
    ASSERT_NE(Palette().GetPlayPane(), nullptr) << "the page window's stage pane is the active pane";
    EXPECT_EQ(Palette().GetPlayPane(), Window()->GetStagePane());
    for (const Row& row : table) {
      const std::int16_t from = row.kind >= 3 && row.kind <= 27 ? static_cast<std::int16_t>((row.kind - 3) / 5) : 1;
      Palette().CreateTool(DromelToolPalette::kFirstPanelKind + from);
      editor_test::PlayedSounds played;
      Palette().CreateTool(row.kind);
      SCOPED_TRACE("kind " + std::to_string(row.kind));
      EXPECT_EQ(BrowsedFolder(), row.folder);
      if (CBrowser* browser = OverlayBrowser()) {
        EXPECT_EQ(browser->GetToolId(), row.toolId);
        EXPECT_EQ(browser->GetThumbSize(), row.cell);
        EXPECT_EQ(Window()->GetOverlayView()->GetBounds(), Window()->GetStagePane()->GetBounds());
      }
      EXPECT_EQ(Palette().GetPage(), row.page);
      EXPECT_EQ(Selection(), row.selection);
      EXPECT_EQ(Palette().GetToolKind(), row.selection);
      EXPECT_EQ(CategoryShown(), row.kind == 11);
      EXPECT_EQ(gToolsDirectory->GetLayoutMode(), row.toolsLayout);
      EXPECT_EQ(gToolsDirectory->IsVisible(), row.kind == 15);
      EXPECT_EQ(gPageButtonChosen, row.kind >= 28 && row.kind <= 32 ? 1 : 0);
      if (row.kind >= 28 && row.kind <= 32) {
        EXPECT_EQ(Palette().GetStartPanel()->GetSelection(), row.kind);
      }
      EXPECT_EQ(Sounds(played), row.sounds);
    }
    // The tools of the page buttons, one object where kinds share a tool.
    EXPECT_EQ(Palette().GetTool(8), Palette().GetTool(9));
    EXPECT_EQ(Palette().GetTool(14), Palette().GetTool(17));
    EXPECT_EQ(Palette().GetTool(18), Palette().GetTool(20));
    EXPECT_EQ(Palette().GetTool(0), nullptr);
    EXPECT_EQ(Palette().GetTool(25), nullptr);
  });
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{});
}

TEST_F(DromelToolPaletteTest, ANewPaletteStandsOnPageOneAndAStartPanelButtonChoosesThePageInEveryWay) {
  InProject([&] {
    EXPECT_EQ(Palette().GetPage(), 1);
    EXPECT_EQ(Selection(), 8);
    EXPECT_EQ(Palette().GetStartPanel(), gDromelApp->GetStartPanel());
    EXPECT_EQ(gDromelApp->GetStartPanel()->GetSelection(), 29);
    // The page left loses its selection to the start panel's number, which is none of its buttons.
    Palette().CreateTool(9);
    CToolPalette* pageOne = Palette().GetPagePalette(1);
    gDromelApp->GetStartPanel()->NotifySelection(30);
    EXPECT_EQ(pageOne->GetSelection(), 0);
    EXPECT_EQ(Palette().GetPage(), 2);
    EXPECT_TRUE(pageOne->IsHidden());
    EXPECT_FALSE(Palette().GetPagePalette(2)->IsHidden());
    EXPECT_EQ(Window()->GetOverlayView(), nullptr);
    // The pages lie on one another: the one shown is the one seen.
    for (std::int16_t page = 0; page < DromelToolPalette::kPageCount; ++page) {
      Palette().CreateTool(DromelToolPalette::kFirstPanelKind + page);
      Window()->Refresh();
      const Rect button = Palette().GetPagePalette(page)->GetButtonRect(static_cast<std::int16_t>(5 + 5 * page));
      const Point at = editor_test::OnScreen(Window()->GetFrame()->GetHandle(), button.Center());
      EXPECT_EQ(ScreenPixel(at.x, at.y), PalettePageColor(page))
          << page;
    }
    Palette().CreateTool(30);
    // Kind 0 on page 2 chooses its first button and takes the browser away.
    Palette().CreateTool(11);
    ASSERT_NE(OverlayBrowser(), nullptr);
    EXPECT_EQ(Selection(), 0);
    Palette().CreateTool(0);
    EXPECT_EQ(Selection(), 13);
    EXPECT_EQ(Window()->GetOverlayView(), nullptr);
  });
}

TEST_F(DromelToolPaletteTest, ThePlayPagePlaysTheShowStopsItWhenLeftAndStartsItAgainWhenItStops) {
  InProject([&] {
    CHAPane* pane = Window()->GetStagePane();
    ASSERT_NE(pane, nullptr);
    EXPECT_FALSE(pane->IsPlaying());
    Palette().CreateTool(32);
    EXPECT_TRUE(pane->IsPlaying());
    // The same page again only redraws it.
    Palette().CreateTool(32);
    EXPECT_TRUE(pane->IsPlaying());
    pane->HandleNumberCommand(CHAPane::kPlayStopped, nullptr);
    EXPECT_TRUE(pane->IsPlaying()) << "a stop on the play page starts the show again";
    Palette().CreateTool(28);
    EXPECT_FALSE(pane->IsPlaying());
    pane->HandleNumberCommand(CHAPane::kPlayStarted, nullptr);
    pane->HandleNumberCommand(CHAPane::kPlayStopped, nullptr);
    EXPECT_FALSE(pane->IsPlaying()) << "elsewhere a stop is a stop";
    Palette().CreateTool(32);
    Palette().CreateTool(30);
    EXPECT_FALSE(pane->IsPlaying());
  });
}

TEST_F(DromelToolPaletteTest, TheClipArtBrowserShowsTheDefaultCategoryAndTheMenuTicksTheOneChosen) {
  data->folder.MakeFolder("Vignette/Mer.bleue");
  InProject([&] {
    EXPECT_FALSE(CategoryShown());
    Palette().CreateTool(11);
    EXPECT_EQ(TextOf(gCurrentCategory), "Around the World");
    EXPECT_EQ(CategoryItems(), (std::vector<std::string>{"Animaux", "Around the World *", "Mer.bleue", "Nature"}));
    // An item chooses its folder: the browser opens again on it, and the tick follows.
    gCategoryMenu->ItemAt(3)->Invoke(*gApplication);
    EXPECT_EQ(TextOf(gCurrentCategory), "Mer.bleue");
    EXPECT_EQ(BrowsedFolder(), "") << "an empty folder shows no item";
    ASSERT_NE(OverlayBrowser(), nullptr);
    EXPECT_EQ(OverlayBrowser()->NumItems(), 0);
    EXPECT_EQ(CategoryItems(), (std::vector<std::string>{"Animaux", "Around the World", "Mer.bleue *", "Nature"}));
    gCategoryMenu->ItemAt(4)->Invoke(*gApplication);
    EXPECT_EQ(BrowsedFolder(), "Vignette\\Nature");
    Palette().CreateTool(9);
    EXPECT_FALSE(CategoryShown());
    Palette().CreateTool(11);
    EXPECT_TRUE(CategoryShown());
    EXPECT_EQ(BrowsedFolder(), "Vignette\\Nature") << "the category chosen stays";
  });
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{});
}

// One program run per test: a second run in the same test would end before its script.
TEST_F(DromelToolPaletteTest, WithoutTheDefaultCategoryTheFirstFolderIsChosen) {
  std::filesystem::remove_all(data->folder.Path() / "Vignette" / "Around the World");
  InProject([&] {
    Palette().CreateTool(11);
    EXPECT_EQ(TextOf(gCurrentCategory), "Animaux");
    EXPECT_EQ(BrowsedFolder(), "Vignette\\Animaux");
    EXPECT_EQ(CategoryItems(), (std::vector<std::string>{"Animaux *", "Nature"}));
  });
}

TEST_F(DromelToolPaletteTest, WithoutCategoryFoldersVignetteItselfIsBrowsed) {
  std::filesystem::remove_all(data->folder.Path() / "Vignette");
  MakePageIn("Vignette", "seule");
  InProject([&] {
    Palette().CreateTool(11);
    EXPECT_EQ(TextOf(gCurrentCategory), "Around the World") << "unchanged";
    EXPECT_EQ(BrowsedFolder(), "Vignette");
    EXPECT_TRUE(CategoryItems().empty());
    EXPECT_TRUE(CategoryShown());
  });
}

TEST_F(DromelToolPaletteTest, ACategoryOfDamagedAndForeignFilesShowsBlankCellsAndStaysInTheMenu) {
  data->folder.MakeFolder("Vignette/Abime");
  data->folder.Write("Vignette/Abime/casse.bmp", "BM\x10\x00\x00\x00garbage");
  data->folder.Write("Vignette/Abime/notes.doc", "not a picture");
  gCurrentCategory = String("Abime");
  InProject([&] {
    Palette().CreateTool(11);
    CBrowser* browser = OverlayBrowser();
    ASSERT_NE(browser, nullptr);
    alerts.Answer({IDCANCEL});
    // Painted first, so that the thumbnails drawn now stay.
    Window()->Refresh();
    for (std::int32_t i = 1; i <= browser->NumItems(); ++i) EXPECT_FALSE(browser->RenderThumbnail(i)) << i;
    EXPECT_GE(browser->NumItems(), 1) << "kept when the child declines to delete it";
    ASSERT_EQ(AlertTexts().size(), 1u);
    EXPECT_NE(AlertTexts()[0].find("casse.bmp"), std::string::npos) << "the damaged file is named";
    for (std::int32_t i = 1; i <= browser->NumItems(); ++i) {
      const Point at = editor_test::OnScreen(Window()->GetFrame()->GetHandle(), browser->CellRect(i).Center());
      EXPECT_EQ(ScreenPixel(at.x, at.y), 0xFFFFFFu) << "a blank cell for item " << i;
    }
    EXPECT_EQ(CategoryItems().front(), "Abime *");
    Palette().CreateTool(9);
    Palette().CreateTool(11);
    EXPECT_EQ(CategoryItems().front(), "Abime *");
  });
}

TEST_F(DromelToolPaletteTest, ABrowserKindWithoutAStagePaneOpensNothing) {
  std::filesystem::remove_all(data->folder.Path() / "Clubskid");
  InProject([&] {
    Palette().SetPlayPane(nullptr);
    for (std::int32_t kind : {4, 9, 11, 22}) {
      Palette().CreateTool(kind);
      EXPECT_EQ(Window()->GetOverlayView(), nullptr) << kind;
      EXPECT_EQ(Selection(), Palette().GetPage() * 5 + 3) << kind;
      EXPECT_FALSE(CategoryShown()) << kind;
    }
    // With its pane again, the missing folder is made after the child is told.
    Palette().SetPlayPane(Window()->GetStagePane());
    Palette().CreateTool(22);
    EXPECT_NE(OverlayBrowser(), nullptr);
  });
  ASSERT_EQ(AlertTexts().size(), 1u) << "only once the browser opens";
  EXPECT_NE(AlertTexts()[0].find("\"Clubskid\""), std::string::npos);
  EXPECT_TRUE(Exists("Clubskid"));
}

TEST_F(DromelToolPaletteTest, TheNavigationAndNewPageKindsActOnThePageWindowAndLeaveNoTool) {
  InProject([&] {
    ASSERT_EQ(ShownPage(), "index");
    Window()->ReadFile(*SmartRef<FileReference>(new FileReference(data->folder.WinPath("Projets\\Site\\b.zod").c_str())));
    ASSERT_EQ(ShownPage(), "b");
    Palette().CreateTool(32);
    Palette().CreateTool(24);
    EXPECT_EQ(ShownPage(), "index");
    EXPECT_EQ(Selection(), 23);
    Palette().CreateTool(25);
    EXPECT_EQ(ShownPage(), "b");
    Palette().CreateTool(26);
    EXPECT_EQ(ShownPage(), "index");
    Palette().CreateTool(28);
    Palette().CreateTool(6);
    EXPECT_EQ(ShownPage(), "") << "a new page, without a file yet";
    EXPECT_EQ(Selection(), 3);
  });
}

// The publish button does what "Publier..." does: the project compiled, then the public-site warning,
// here declined, so nothing goes further; the page's first button is chosen again.
TEST_F(DromelToolPaletteTest, ThePublishKindPublishesLikeTheMenuItemAndLeavesNoTool) {
  std::vector<int> sounds;
  InProject([&] {
    Palette().CreateTool(32);
    const ProgressDisplayMaker previous = GetProgressDisplayMaker();
    SetProgressDisplayMaker(&SilentProgress);
    alerts.Answer({IDCANCEL});
    editor_test::PlayedSounds played;
    Palette().CreateTool(27);
    sounds = Sounds(played);
    SetProgressDisplayMaker(previous);
    EXPECT_EQ(Palette().GetPage(), 4);
    EXPECT_EQ(Selection(), 23);
    EXPECT_EQ(Window()->GetOverlayView(), nullptr);
  });
  EXPECT_EQ(sounds, std::vector<int>{3}) << "the click";
  EXPECT_TRUE(Exists("Projets/Site/HTML/index.htm")) << "compiled";
  EXPECT_TRUE(Exists("Projets/Site/HTML/b.htm")) << "compiled";
  ASSERT_EQ(AlertTexts().size(), 1u);
  EXPECT_EQ(AlertTexts()[0].rfind("Quillory va publier ton projet sur le Web", 0), 0u) << AlertTexts()[0];
}

TEST_F(DromelToolPaletteTest, TheStagePanesRequestReachesPaletteOfThePageWindowInFront) {
  InProject([&] {
    // A double click on a selected text: the text tools of page 2.
    EXPECT_TRUE(GetPageWindowHooks().makePageTool(30));
    EXPECT_TRUE(GetPageWindowHooks().makePageTool(14));
    EXPECT_EQ(Palette().GetPage(), 2);
    EXPECT_EQ(Selection(), 14);
    EXPECT_EQ(gToolsDirectory->GetLayoutMode(), CToolsDir::kTextEditing);
    gApplication->CloseWindow(Window(), 0);
    EXPECT_FALSE(GetPageWindowHooks().makePageTool(30)) << "no page window in front";
  });
}

TEST_F(DromelToolPaletteTest, SynchronisingFromKindThirteenEndsOnKindsThirtyAndThirteen) {
  InProject([&] {
    Palette().CreateTool(30);
    Palette().CreateTool(13);
    gDromelApp->GetStartPanel()->SetSelection(32);
    editor_test::PlayedSounds played;
    // The script quits once its last step has begun: a real progress dialog would take that for "Stop".
    const ProgressDisplayMaker previous = GetProgressDisplayMaker();
    SetProgressDisplayMaker(&SilentProgress);
    const bool synchronised = gDromelApp->Synchronize();
    SetProgressDisplayMaker(previous);
    ASSERT_TRUE(synchronised) << ::testing::PrintToString(AlertTexts());
    // 28 and 3 before the pages are rewritten, 30 and 13 after.
    EXPECT_EQ(Sounds(played), (std::vector<int>{3, 4, 3, 4}));
    EXPECT_EQ(gDromelApp->GetStartPanel()->GetSelection(), 30);
    EXPECT_EQ(Palette().GetPage(), 2);
    EXPECT_EQ(Selection(), 13);
    EXPECT_EQ(gPageButtonChosen, 0);
  });
}

TEST_F(DromelToolPaletteTest, AClosingPageWindowPutsItsPaletteOnKindTwentyEightThenThree) {
  InProject([&] {
    Palette().CreateTool(32);
    Palette().CreateTool(9);
    const SmartRef<DromelToolPalette> palette(&Palette());
    gDromelApp->GetStartPanel()->SetSelection(31);
    editor_test::PlayedSounds played;
    gApplication->CloseWindow(Window(), 0);
    EXPECT_EQ(Sounds(played), (std::vector<int>{3, 4}));
    EXPECT_EQ(gDromelApp->GetStartPanel()->GetSelection(), 28);
    EXPECT_EQ(palette->GetPage(), 0);
    EXPECT_EQ(palette->GetPagePalette(0)->GetSelection(), 3);
    EXPECT_EQ(gPageButtonChosen, 0);
  });
}

// The frame around the window, in main-window coordinates.
Rect OuterFrame(::Window& window) {
  RECT outer;
  GetWindowRect(window.GetFrame()->GetHandle(), &outer);
  POINT corners[2] = {{outer.left, outer.top}, {outer.right, outer.bottom}};
  for (POINT& corner : corners) ScreenToClient(gMainWindow, &corner);
  return Rect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
}

TEST_F(DromelToolPaletteTest, TheTextAndPictureKindsPutTheToolsWindowUnderThePageWindowAndOnTheScreen) {
  InProject([&] {
    Palette().CreateTool(30);
    Palette().CreateTool(15);
    ASSERT_TRUE(gToolsDirectory->IsVisible());
    const Rect page = OuterFrame(*Window());
    Rect tools = OuterFrame(*gToolsDirectory);
    EXPECT_EQ(tools.TopLeft(), (Point{page.left, page.bottom}));

    // A page window low on the screen: the tools window goes up as far as it must.
    const Rect area = LFWDecorator::Get().GetArea();
    Rect low = Window()->GetFrame()->GetGlobalBounds();
    low.Offset(0, area.bottom - 20 - page.bottom);
    Window()->SetGlobalBounds(low);
    Palette().CreateTool(14);
    EXPECT_FALSE(gToolsDirectory->IsVisible()) << "text mode leaves it where it was";
    tools = OuterFrame(*gToolsDirectory);
    EXPECT_EQ(tools.left, OuterFrame(*Window()).left);
    EXPECT_EQ(tools.bottom, area.bottom);
  });
}

// The two kinds that open a dialog: the sound recorder for a sound button, the e-mail link dialog for a
// link button. Cancelled, they leave no new tool and the page's first button chosen.
TEST_F(DromelToolPaletteTest, TheSoundAndEmailButtonsOpenTheirDialogsAndComeBackToNoTool) {
  MakeProject("Site", {{"index", kPageTime}});
  SmartRef<Tool> before;
  std::vector<std::string> fronts;
  std::vector<std::int16_t> selections;
  const auto frontName = [] { return std::string(Front() ? Front()->GetClassInfo()->GetName() : ""); };
  RunDromel({{&FrontIsWelcome, [] { ChooseProject("Site"); }},
             {&StartupOver, [&] {
                before = gToolsDirectory->GetCurrentToolRef();
                Palette().CreateTool(30);
                Palette().CreateTool(16);
                selections.push_back(Selection());
              }},
             {[] { return CastSmart<Dialog>(Front()) != nullptr; }, [&] {
                fronts.push_back(frontName());
                CancelFront();
              }},
             {&StartupOver, [&] {
                Palette().CreateTool(17);
                selections.push_back(Selection());
              }},
             {[] { return CastSmart<Dialog>(Front()) != nullptr; }, [&] {
                fronts.push_back(frontName());
                CancelFront();
              }},
             {&StartupOver, [&] { EXPECT_EQ(gToolsDirectory->GetCurrentToolRef(), before); }}});
  EXPECT_EQ(fronts, (std::vector<std::string>{"SoundDialog", "WebLinkDialog"}));
  EXPECT_EQ(selections, (std::vector<std::int16_t>{13, 13}));
}

// The child's own clicks: a page button chosen when the mouse is let go over it, not when it is let go
// elsewhere, and a start-panel button on the desk choosing the page of every page window.
TEST_F(DromelToolPaletteTest, AButtonIsChosenWhenTheMouseIsLetGoOverIt) {
  const auto buttonCentre = [](std::int16_t kind) {
    return Palette().GetPagePalette(Palette().GetPage())->GetButtonRect(kind).Center();
  };
  RunDromel({{&FrontIsWelcome, [] { ChooseProject("Site"); }},
             {&StartupOver, [&] { ClickAt(*Window(), buttonCentre(9)); }},
             {nullptr, [&] {
                EXPECT_EQ(BrowsedFolder(), "Fonds");
                EXPECT_EQ(Selection(), 9);
                POINT press{buttonCentre(10).x, buttonCentre(10).y};
                POINT away{press.x, press.y + 200};
                ClientToScreen(Window()->GetFrame()->GetHandle(), &press);
                ClientToScreen(Window()->GetFrame()->GetHandle(), &away);
                platform::InjectMouseMove(press.x, press.y);
                platform::InjectMouseButton(press.x, press.y, platform::MouseButton::Left, true);
                platform::InjectMouseMove(away.x, away.y);
                platform::InjectMouseButton(away.x, away.y, platform::MouseButton::Left, false);
              }},
             {nullptr, [&] {
                EXPECT_EQ(BrowsedFolder(), "Fonds") << "let go away from the button";
                EXPECT_EQ(Selection(), 9);
                StartButton* column = gDromelApp->GetStartPanel();
                ClickAt(*gDeskWindow, column->GetButtonRect(31).Center());
              }},
             {nullptr, [&] {
                EXPECT_EQ(Palette().GetPage(), 3);
                EXPECT_EQ(Selection(), 18);
                EXPECT_EQ(Window()->GetOverlayView(), nullptr);
              }}});
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{});
}

}  // namespace
}  // namespace app_test
