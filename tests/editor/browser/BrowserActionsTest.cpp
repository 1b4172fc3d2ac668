// Clicks on browser cells: deleting pages, copying a page's hot link, opening pages; the browser pane
// and the tool-palette pane around the browser.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Scribe.h"
#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/PaintToolsWindow.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "editor/browser/BrowserPanes.h"
#include "editor/browser/CBrowser.h"
#include "editor/browser/CChoreStrips.h"
#include "editor/stage/CHAPane.h"
#include "ui/controls/GraphicButton.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/PageTestSupport.h"
#include "platform/user/Message.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"
#include "ui/shell/Clipboard.h"
#include "ui/views/Window.h"
#include "ui/views/WindowFrame.h"

namespace editor_test {
namespace {

using engine_test::AddSprite;
using engine_test::GroupOf;
using engine_test::SolidPicture;

class BrowserActionsTest : public AuthoringAppTest {
 protected:
  // The body in the running program, with a pane of the folder "Pages" for the tool in a window.
  void InPane(std::int32_t toolId, const std::function<void(PageBrowserPane&, CBrowser&)>& body) {
    InAuthoringProgram([&](PaintToolsWindow&) {
      SmartRef<Window> window(new Window(nullptr, kFrameNormal, false, false, 400, 300));
      window->Open(true);
      SmartRef<FileReference> folder(new FileReference(data->folder.WinPath("Pages").c_str()));
      tool = new CTool(toolId, nullptr, false, nullptr);
      SmartRef<PageBrowserPane> pane(
          new PageBrowserPane(~window, *folder, ~tool, 64, 48, Rect(0, 0, 300, 200), nullptr));
      window->AddSubview(~pane);
      body(*pane, *pane->GetBrowser());
      window->RemoveAllSubviews();
      window->Window::Close();
      tool = nullptr;
      SaveCurrentPreview();
    });
  }
  // A page document in "Pages": sprites of the colours, those named in `linked` with a link.
  void WritePage(const std::string& name, const std::vector<int>& colours, const std::vector<int>& linked) {
    SmartRef<CShow> page = engine_test::MakePage({0, 0, 200, 150}, 1);
    CMovieGroup& group = GroupOf(*page);
    for (int colour : colours) {
      CSprite* sprite = AddSprite(group, *SolidPicture(20, 20, colour), 0, 1);
      sprite->SetName(new String(std::to_string(colour).c_str()));
      if (std::find(linked.begin(), linked.end(), colour) == linked.end()) continue;
      const SmartRef<CLink> link(new CLink());
      sprite->SetLink(0, 1, ~link);
    }
    data->folder.MakeFolder("Pages");
    data->folder.Write("Pages/" + name, document_testing::SaveDocument(SmartRef<Smart>(~page)));
  }
  static Point CellPoint(CBrowser& browser, std::int32_t index) {
    const Rect cell = browser.CellRect(index);
    return {cell.left + 5, cell.top + 5};
  }
  static bool Click(CBrowser& browser, std::int32_t index) {
    const Point at = CellPoint(browser, index);
    return browser.MouseDown(at.x, at.y, 0, 1, nullptr);
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(data->folder.Path() / "Pages" / name); }

  SmartRef<CTool> tool;
};

TEST_F(BrowserActionsTest, ThePaneKeepsAStripForItsScrollBar) {
  data->folder.MakeFolder("Pages");
  for (int n = 0; n < 9; ++n) data->folder.Write("Pages/p" + std::to_string(n) + ".bmp", "x");
  InPane(kBrowseClip, [&](PageBrowserPane& pane, CBrowser& browser) {
    EXPECT_EQ(pane.GetBounds(), Rect(0, 0, 300, 200));
    EXPECT_EQ(browser.GetBounds(), Rect(0, 0, 285, 200));
    EXPECT_EQ(browser.GetColumns(), 2);
    EXPECT_EQ(browser.CellRect(2).left - browser.CellRect(1).left, 96);
    EXPECT_EQ(browser.NumObservers(), 1);
  });
}

// The scroll bar holds the browser as its model: were the pane to leave the two holding each other, the
// browser's strips chore would stay listed with a timer the system gives to another, and the next
// suspension of every chore (a recording dialog) would stop that other timer.
TEST_F(BrowserActionsTest, AClosedPaneTakesItsBrowserAndItsChoreWithIt) {
  data->folder.MakeFolder("Pages");
  InAuthoringProgram([&](PaintToolsWindow&) {
    SmartRef<Window> window(new Window(nullptr, kFrameNormal, false, false, 400, 300));
    window->Open(true);
    SmartRef<FileReference> folder(new FileReference(data->folder.WinPath("Pages").c_str()));
    UINT_PTR timer = 0;
    {
      SmartRef<CTool> clip(new CTool(kBrowseClip, nullptr, false, nullptr));
      SmartRef<PageBrowserPane> pane(new PageBrowserPane(~window, *folder, ~clip, 64, 48, Rect(0, 0, 300, 200), nullptr));
      window->AddSubview(~pane);
      timer = pane->GetBrowser()->GetChore()->GetTimerId();
      ASSERT_NE(timer, 0u);
      ASSERT_EQ(FindChoreByTimer(timer), pane->GetBrowser()->GetChore());
      window->RemoveAllSubviews();
    }
    EXPECT_EQ(FindChoreByTimer(timer), nullptr);
    window->Window::Close();
  });
}

TEST_F(BrowserActionsTest, DeletingAPageAsksFirst) {
  data->folder.MakeFolder("Pages");
  for (const char* name : {"a.zod", "b.zod", "c.zod"}) data->folder.Write(std::string("Pages/") + name, "x");
  // A folder cannot be deleted as a file: it stands for a page that is open elsewhere.
  data->folder.MakeFolder("Pages/d.zod");
  InPane(kBrowseDeletePage, [&](PageBrowserPane&, CBrowser& browser) {
    AlertRecorder alerts;
    gPageDeleted = false;
    ASSERT_EQ(browser.NumItems(), 4);
    alerts.Answer({IDCANCEL});
    EXPECT_TRUE(Click(browser, 2));
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_EQ(alerts.Alerts()[0].text, "Es-tu sûr(e) de vouloir supprimer b?"_cp);
    EXPECT_FALSE(gPageDeleted);
    EXPECT_TRUE(Exists("b.zod"));
    EXPECT_EQ(browser.NumItems(), 4);

    alerts.Clear();
    alerts.Answer({IDOK, IDOK});
    EXPECT_TRUE(Click(browser, 4));
    ASSERT_EQ(alerts.Alerts().size(), 2u);
    EXPECT_EQ(alerts.Alerts()[1].text, "La page n'a pu être supprimée (elle est peut-être ouverte)"_cp);
    EXPECT_FALSE(gPageDeleted);
    EXPECT_EQ(browser.NumItems(), 4);

    alerts.Clear();
    alerts.Answer({IDOK});
    EXPECT_TRUE(Click(browser, 2));
    EXPECT_TRUE(gPageDeleted);
    EXPECT_FALSE(Exists("b.zod"));
    ASSERT_EQ(browser.NumItems(), 3);
    String second;
    browser.FileAt(2)->GetName(second);
    EXPECT_EQ(TextOf(second), "c.zod");
    // A click in a margin goes to the subviews and deletes nothing.
    alerts.Clear();
    EXPECT_FALSE(browser.MouseDown(browser.CellRect(1).left - 3, browser.CellRect(1).top, 0, 1, nullptr));
    EXPECT_TRUE(alerts.Alerts().empty());
  });
}

TEST_F(BrowserActionsTest, TheHotLinkBrowserCopiesTheUpperLinkedSprite) {
  WritePage("a.zod", {7, 8, 9}, {7});
  WritePage("b.zod", {7, 8, 9}, {7, 8});
  WritePage("c.zod", {7}, {});
  data->WriteSound(5);
  InPane(kBrowseHotLink, [&](PageBrowserPane&, CBrowser& browser) {
    AlertRecorder alerts;
    struct Case {
      std::int32_t item;
      const char* copied;
    } cases[] = {{1, "7"}, {2, "8"}};
    for (const Case& c : cases) {
      gToolsDirectory->SetCurrentTool(nullptr);
      EXPECT_TRUE(Click(browser, c.item));
      List content(&CSprite::classInfo);
      ASSERT_TRUE(gApplication->GetClipboard()->AddScrapTo(content)) << c.item;
      ASSERT_EQ(content.NumItems(), 1) << c.item;
      EXPECT_EQ(TextOf(*CastSmart<CSprite>(content.At(1))->GetName()), c.copied) << c.item;
      EXPECT_EQ(~gToolsDirectory->GetCurrentToolRef(), static_cast<Tool*>(~tool)) << c.item;
    }
    // A page without links: the error reaches the caller and the tool is not made current.
    SmartRef<CTool> other(new CTool(1, nullptr, false, nullptr));
    gToolsDirectory->SetCurrentTool(~other);
    bool raised = false;
    try {
      Click(browser, 3);
    } catch (Exception* exception) {
      SmartRef<Exception> caught(exception);
      auto* error = dynamic_cast<ErrorException*>(exception);
      raised = error != nullptr && std::string(error->GetText()).find("No hotlinks in that file.") != std::string::npos;
    }
    EXPECT_TRUE(raised);
    EXPECT_EQ(~gToolsDirectory->GetCurrentToolRef(), static_cast<Tool*>(~other));
  });
}

LPARAM Coordinates(std::int32_t x, std::int32_t y) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(y) << 16) | (static_cast<std::uint32_t>(x) & 0xFFFF));
}

// A palette pane of four pages of one-button palettes.
class FourPages : public ToolPalettePane {
 public:
  explicit FourPages(View* parent) : ToolPalettePane(parent, 4) {}
  CToolPalette* GetPagePalette(std::int16_t page) override {
    return page >= 0 && page < static_cast<std::int16_t>(palettes.size()) ? ~palettes[static_cast<std::size_t>(page)]
                                                                          : nullptr;
  }
  void ChooseTool(std::int32_t kind) override {
    chosen.push_back(kind);
    ToolPalettePane::ChooseTool(kind);
  }
  std::vector<SmartRef<CToolPalette>> palettes;
  std::vector<std::int32_t> chosen;
};

TEST_F(BrowserActionsTest, ThePalettePaneStepsRoundItsPagesAndTracksAPress) {
  for (int n : {2030, 2031, 2032}) data->WritePicture(n, 20, 20, 0x808080);
  for (int n : {3, 4, 13}) data->WriteSound(n);
  InAuthoringProgram([&](PaintToolsWindow&) {
    SmartRef<Window> window(new Window(nullptr, kFrameNormal, false, false, 400, 300));
    window->Open(true);
    SmartRef<FourPages> pane(new FourPages(~window));
    window->AddSubview(~pane);
    for (int n = 0; n < 4; ++n) {
      pane->palettes.push_back(new CToolPalette(~window, SmartRef<PaletteLook>(new PaletteLook(1, 2, 30, 25)), 1));
      window->AddSubview(~pane->palettes.back());
    }
    pane->AddCommandButtonRow(~window, nullptr);
    EXPECT_TRUE(gDeleteButton);
    EXPECT_EQ(pane->GetPage(), 0);
    // Without a step palette a page step is refused by the check of the reference.
    EXPECT_THROW(pane->ChooseTool(2), Exception*);

    SmartRef<PaletteLook> steps(new PaletteLook(1, 2, 30, 25));
    pane->AddCommandButtonRow(~window, ~steps);
    struct Step {
      std::int32_t kind;
      std::int16_t page;
    } table[] = {{2, 3}, {1, 0}, {1, 1}, {2, 0}};
    for (const Step& s : table) {
      pane->ChooseTool(s.kind);
      EXPECT_EQ(pane->GetPage(), s.page) << s.kind;
      for (int n = 0; n < 4; ++n) EXPECT_EQ(!pane->palettes[n]->IsHidden(), n == s.page) << s.kind << " page " << n;
      EXPECT_EQ(pane->GetStepPalette()->GetSelection(), 0);
    }

    // A press moved off the button and released outside chooses nothing; one released on it chooses it.
    // The program asked to quit while the button is held: nothing is chosen, and the quit is left for the
    // program's own loop.
    CToolPalette& palette = *pane->palettes[0];
    const Rect button = palette.GetButtonRect(1);
    HWND hwnd = CastSmart<WindowFrame>(window->GetWindowFrameOnly())->GetHandle();
    struct Press {
      const char* name;
      std::vector<Point> moves;
      Point release;
      bool chosen;
      bool quit = false;  // a quit instead of the release
    } presses[] = {
        {"moved off", {{button.right + 30, button.bottom + 30}}, {button.right + 30, button.bottom + 30}, false},
        {"off and back on", {{button.right + 30, button.top + 1}, {button.left + 1, button.top + 1}},
         {button.left + 1, button.top + 1}, true},
        {"released at x = 0", {}, {0, button.top + 1}, false},
        {"quit while held on it", {{button.left + 1, button.top + 1}}, {}, false, true},
    };
    for (const Press& p : presses) {
      pane->chosen.clear();
      const std::int16_t before = palette.GetSelection();
      for (const Point& m : p.moves) PostMessageA(hwnd, WM_MOUSEMOVE, 0, Coordinates(m.x, m.y));
      if (p.quit) PostQuitMessage(3);
      else PostMessageA(hwnd, WM_LBUTTONUP, 0, Coordinates(p.release.x, p.release.y));
      pane->TrackSelection(1);
      const bool chose = std::find(pane->chosen.begin(), pane->chosen.end(), 1) != pane->chosen.end();
      EXPECT_EQ(chose, p.chosen) << p.name;
      EXPECT_FALSE(gPaletteTracking) << p.name;
      if (!p.quit) continue;
      EXPECT_EQ(palette.GetSelection(), before) << p.name;
      MSG quit{};
      EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << p.name;
      EXPECT_EQ(quit.message, static_cast<UINT>(WM_QUIT)) << p.name;
      EXPECT_EQ(quit.wParam, 3u) << p.name;
    }
    window->RemoveAllSubviews();
    pane = nullptr;
    gDeleteButton = nullptr;
    window->Window::Close();
  });
}

// A clip-art folder deleted after install is reported by its name and made again, empty; one that is
// there is answered as it stands, its files kept and nothing said.
TEST_F(BrowserActionsTest, AMissingClipArtFolderIsReportedAndMadeAgainEmpty) {
  InAuthoringProgram([&](PaintToolsWindow&) {
    const std::filesystem::path program = data->folder.Path();
    data->folder.MakeFolder("Fonds");
    data->folder.Write("Fonds/Ciel.bmp", "kept");
    AlertRecorder alerts;
    for (const char* name : {"Vignette", "Separat", "Around the World"}) {
      SCOPED_TRACE(name);
      alerts.Clear();
      ASSERT_FALSE(std::filesystem::exists(program / name));
      const SmartRef<FileReference> made = FindOrCreateFolder(name);
      ASSERT_EQ(alerts.Alerts().size(), 1u);
      EXPECT_EQ(alerts.Alerts()[0].text, "Impossible de trouver le dossier \""_cp + std::string(name) +
                                             "\". \nEssaie de réinstaller le programme."_cp);
      ASSERT_TRUE(std::filesystem::is_directory(program / name));
      EXPECT_TRUE(std::filesystem::is_empty(program / name));
      EXPECT_EQ(std::string(made->GetPathText()), data->folder.WinPath(name));
    }
    alerts.Clear();
    const SmartRef<FileReference> found = FindOrCreateFolder("Fonds");
    EXPECT_TRUE(alerts.Alerts().empty()) << alerts.Alerts().front().text;
    EXPECT_EQ(std::string(found->GetPathText()), data->folder.WinPath("Fonds"));
    EXPECT_TRUE(std::filesystem::exists(program / "Fonds" / "Ciel.bmp")) << "the folder's files are kept";
  });
}

}  // namespace
}  // namespace editor_test
