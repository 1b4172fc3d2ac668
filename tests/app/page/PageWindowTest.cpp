// The page window in the running authoring program: its sizes, the page's background sprite, its title,
// the pages it goes back and forward to, and the store that hands the page to its scribe.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/AppTestSupport.h"
#include "app/page/AppPages.h"
#include "app/page/DromelScribe.h"
#include "app/page/DromelToolPalette.h"
#include "app/page/DromelWindow.h"
#include "core/Exception.h"
#include "core/File.h"
#include "core/Format.h"
#include "core/ObjectFile.h"
#include "core/ObjectReference.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "editor/EditorTestSupport.h"
#include "editor/CToolsDir.h"
#include "editor/PaintToolsWindow.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "editor/stage/CHAPane.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/SolidPicture.h"
#include "support/AlertRecorder.h"
#include "support/RunProgram.h"
#include "support/ScreenPixels.h"
#include "ui/Seams.h"
#include "ui/shell/App.h"
#include "ui/shell/Tool.h"
#include "ui/views/WindowFrame.h"
#include "web/html/ImageMap.h"
#include "web/html/LinkHREF.h"

namespace {

namespace fs = std::filesystem;
using app_test::AddSpriteAt;
using app_test::GroupOf;
using app_test::MakePage;
using engine_test::SolidPicture;

// The application's choice of scribe for pages: the object file, in a page scribe.
class PageFormat : public FormatPicker, public SmartImplementation {
  SMART_ABSTRACT(PageFormat)
 public:
  SMART_NOT_COPYABLE
  SmartRef<Scribe> MakeScribe(FileReference& file, int mode) override {
    const SmartRef<File> stream = new File(&file, mode);
    const SmartRef<Scribe> inner = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~stream));
    return new DromelScribe(~inner, &file);
  }
  SmartRef<FileReference> ChooseFile(int) override { return nullptr; }
  List GetFileTypes(int) override { return List(&FileType::classInfo); }
};

}  // namespace

SMART_DEFINE_ABSTRACT(PageFormat, "PageFormat", FormatPicker, SmartImplementation)

namespace {

class PageWindowTest : public editor_test::AuthoringAppTest {
 protected:
  void SetUp() override {
    AuthoringAppTest::SetUp();
    // The authoring program opens no sockets: the web library's socket hooks, left by a suite that
    // installed the application's seams, would close what was never started.
    SetInternetHooks({});
    palettePictures = app_test::WritePaletteData(*data);
  }
  void TearDown() override {
    app_test::ForgetAppPictures(palettePictures);
    AuthoringAppTest::TearDown();
  }
  std::vector<int> palettePictures;

  // The body runs in the program with page scribes for page files and a new page window on an empty page.
  void InPageWindow(const std::function<void(DromelWindow&)>& body) {
    InAuthoringProgram([&](PaintToolsWindow&) {
      const SmartRef<PageFormat> format = new PageFormat();
      DocWindow::SetApplication(~format);
      try {
        const SmartRef<ObjectReference> reference = new SimpleReference(SmartRef<Smart>(~MakePage(480, 360)));
        SmartRef<DromelWindow> window = new DromelWindow(~reference, nullptr, nullptr, nullptr);
        gApplication->AddWindow(~window, true);
        body(*window);
        window->Close();
      } catch (Exception* failure) {
        const SmartRef<Exception> held(failure);
        gLastException = nullptr;
        const auto* assertion = dynamic_cast<AssertionException*>(failure);
        const auto* message = dynamic_cast<MessageException*>(failure);
        ADD_FAILURE() << "raised " << (assertion ? assertion->GetExpression() : message && message->GetText() ? message->GetText() : "an exception")
                      << (assertion ? std::string(" at ") + assertion->GetFile() + ":" + std::to_string(assertion->GetLine()) : "");
      }
      DocWindow::SetApplication(~gApplication);
    });
  }

  // Writes the page as the project's page file of that name and answers a new reference to it.
  SmartRef<FileReference> WritePage(const std::string& name, CShow& page) {
    const SmartRef<FileReference> file = new FileReference(data->folder.Write("Projet/" + name + ".zod").c_str());
    const SmartRef<File> stream = new File(~file, kFileModeRead | kFileModeWrite);
    const SmartRef<ObjectFile> writer = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~stream));
    writer->Write(SmartRef<Smart>(&page));
    return new FileReference(*file);
  }
  SmartRef<FileReference> Reference(const std::string& name) {
    return new FileReference(data->folder.WinPath("Projet\\" + name + ".zod").c_str());
  }

  static Point SizeOf(DromelWindow& window) { return window.GetBounds().Size(); }
  static std::string TitleOf(DromelWindow& window) {
    const SmartRef<String> title(window.GetFrame()->GetTitle());
    return TextOf(*title);
  }
  // The base names of the history, in order.
  static std::string History(DromelWindow& window) {
    std::string names;
    const List& history = window.GetHistory();
    for (std::int32_t i = 1; i <= history.NumItems(); ++i) {
      String name;
      CastSmart<FileReference>(history.At(i))->GetBaseNameAndType(name);
      names += (i > 1 ? " " : "") + TextOf(name);
    }
    return names;
  }
};

TEST_F(PageWindowTest, APageSizeSmallerThanTheWindowAsksFirstAndALoadedPageFitsTheWindow) {
  InPageWindow([&](DromelWindow& window) {
    const std::int32_t palette = gToolPaletteHeight;
    EXPECT_EQ(palette, window.GetToolPalette()->GetBounds().Height());
    EXPECT_GE(palette, DromelToolPalette::kButtonHeight);
    EXPECT_EQ(SizeOf(window), (Point{480, 360 + palette}));
    const std::string folder = fs::current_path().filename().string();
    EXPECT_EQ(TitleOf(window), folder + ":sanstitre");

    AlertRecorder alerts;
    window.SetPageSize(600, 450 + palette);
    EXPECT_TRUE(alerts.Alerts().empty());
    EXPECT_EQ(SizeOf(window), (Point{600, 450 + palette}));
    EXPECT_EQ(window.GetToolPalette()->GetBounds().right, 600);

    alerts.Answer({IDCANCEL});
    window.SetPageSize(480, 360 + palette);
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_EQ(alerts.Alerts()[0].text, "Il se peut qu'une partie des images apparaisse hors du cadre de la fenêtre."_cp);
    EXPECT_EQ(SizeOf(window), (Point{600, 450 + palette}));
    alerts.Answer({IDOK});
    window.SetPageSize(480, 360 + palette);
    EXPECT_EQ(alerts.Alerts().size(), 2u);
    EXPECT_EQ(SizeOf(window), (Point{480, 360 + palette}));

    // A loaded page fits the window: its content when larger, else the default size, without a question.
    const SmartRef<CShow> large = MakePage(700, 500);
    const SmartRef<CShow> small = MakePage(200, 150);
    window.ReadFile(*WritePage("grande", *large));
    EXPECT_EQ(SizeOf(window), (Point{700, 500 + palette}));
    ASSERT_TRUE(window.GetStagePane());
    EXPECT_EQ(window.GetStagePane()->GetBounds().Size(), (Point{700, 500}));
    EXPECT_EQ(TitleOf(window), "Projet:grande");
    window.ReadFile(*WritePage("petite", *small));
    EXPECT_EQ(SizeOf(window), (Point{480, 360 + palette}));
    EXPECT_EQ(alerts.Alerts().size(), 2u);

    // A new window starts at the default size without a question, whatever the size of its page.
    const SmartRef<ObjectReference> reference = new SimpleReference(SmartRef<Smart>(~large));
    const SmartRef<DromelWindow> second = new DromelWindow(~reference, nullptr, nullptr, nullptr);
    EXPECT_EQ(alerts.Alerts().size(), 2u);
    EXPECT_EQ(SizeOf(*second), (Point{480, 360 + palette}));
  });
}

TEST_F(PageWindowTest, TheBackgroundSpriteCoversThePageWithItsFlagSet) {
  InPageWindow([&](DromelWindow& window) {
    const SmartRef<CShow> page = MakePage(700, 500);
    AddSpriteAt(GroupOf(*page), *SolidPicture(100, 80, 4), 1, {20, 20}, "__Background");
    window.ReadFile(*WritePage("fond", *page));
    auto* shown = CastSmart<CShow>(window.GetDocument());
    ASSERT_TRUE(shown);
    CSprite* background = CastSmart<CMovieGroup>(shown->GetMovieGroup())->FindSpriteByName(String("__Background"));
    ASSERT_TRUE(background);
    EXPECT_EQ(background->GetMovie()->GetBounds(), (Rect{0, 0, 700, 500}));
    EXPECT_TRUE(background->ToggleBackgroundFlag(false));
  });
}

TEST_F(PageWindowTest, BackAndForwardFollowTheHistoryAndANewPageCutsItsTail) {
  InPageWindow([&](DromelWindow& window) {
    for (const char* name : {"A", "B", "C"}) WritePage(name, *MakePage(480, 360));
    window.ReadFile(*Reference("A"));
    window.ReadFile(*Reference("B"));
    window.Navigate(DromelWindow::kBack);
    EXPECT_EQ(TitleOf(window), "Projet:A");
    window.Navigate(DromelWindow::kForward);
    EXPECT_EQ(TitleOf(window), "Projet:B");
    EXPECT_EQ(History(window), "A B");

    // Back at A, a page opened anew drops B once it is left.
    window.Navigate(DromelWindow::kBack);
    window.ReadFile(*Reference("C"));
    EXPECT_EQ(History(window), "A B");
    window.Navigate(DromelWindow::kBack);
    EXPECT_EQ(TitleOf(window), "Projet:A");
    EXPECT_EQ(History(window), "A C");
    window.Navigate(DromelWindow::kForward);
    EXPECT_EQ(TitleOf(window), "Projet:C");
    // Forward from the last page goes nowhere.
    window.Navigate(DromelWindow::kForward);
    EXPECT_EQ(TitleOf(window), "Projet:C");

    // A page the history holds, reached another way, is a new entry when left.
    window.ReadFile(*Reference("A"));
    window.ReadFile(*Reference("B"));
    EXPECT_EQ(History(window), "A C A");
  });
}

TEST_F(PageWindowTest, StoreCompilesTheOutOfDatePageWithoutWritingItsFile) {
  InPageWindow([&](DromelWindow& window) {
    const SmartRef<CShow> page = MakePage(200, 150);
    AddSpriteAt(GroupOf(*page), *SolidPicture(40, 30, 4), 1, {10, 10});
    window.ReadFile(*WritePage("ma page", *page));
    const fs::path file = data->folder.Path() / "Projet" / "ma page.zod";
    const auto written = fs::last_write_time(file);
    window.Store();
    EXPECT_EQ(fs::last_write_time(file), written);
    EXPECT_TRUE(fs::exists(data->folder.Path() / "Projet" / "HTML" / "ma_page.htm"));
    EXPECT_TRUE(fs::exists(data->folder.Path() / "Projet" / "HTML" / "ma_page.jpg"));
    EXPECT_EQ(ProjectFolderOfWindow(window)->GetPathText(), data->folder.WinPath("Projet"));
  });
}

TEST_F(PageWindowTest, TheToolsWindowHidesWhileThePageWindowIsActiveAndComesBackAfter) {
  InPageWindow([&](DromelWindow& window) {
    // The new window's palette, on no tool, put the tools window away; shown, it hides again once the
    // window is activated.
    EXPECT_FALSE(gToolsDirectory->IsVisible());
    gToolsDirectory->Toggle(true);
    window.Activate(true);
    EXPECT_FALSE(gToolsDirectory->IsVisible());
    window.Activate(false);
    EXPECT_TRUE(gToolsDirectory->IsVisible());
    window.Activate(true);
    EXPECT_FALSE(gToolsDirectory->IsVisible());
    // Left while the tools window is hidden, the window has nothing to bring back.
    window.Activate(false);
    gToolsDirectory->Toggle(true);
    EXPECT_FALSE(gToolsDirectory->IsVisible());
    window.Activate(true);
    window.Activate(false);
    EXPECT_FALSE(gToolsDirectory->IsVisible());
  });
}

TEST_F(PageWindowTest, ANonPageDocumentIsNoStoreAndAnUnknownDirectionIsReported) {
  InPageWindow([&](DromelWindow& page) {
    const SmartRef<ObjectReference> reference = new SimpleReference(SmartRef<Smart>(new SmartImplementation()));
    const SmartRef<DromelWindow> window = new DromelWindow(~reference, nullptr, nullptr, nullptr);
    EXPECT_EQ(SizeOf(*window), (Point{480, 360 + gToolPaletteHeight}));
    try {
      window->Store();
      ADD_FAILURE() << "stored";
    } catch (Exception* failure) {
      const SmartRef<Exception> held(failure);
      gLastException = nullptr;
      auto* message = dynamic_cast<MessageException*>(failure);
      ASSERT_TRUE(message);
      EXPECT_STREQ(message->GetText(), "Not a storable window!");
    }

    AlertRecorder alerts;
    const std::string before = TitleOf(page);
    page.Navigate(7);
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_NE(alerts.Alerts()[0].text.find("Not implemented."), std::string::npos);
    EXPECT_EQ(TitleOf(page), before);

    const SmartRef<View> overlay = new View(&page, Rect{0, 0, 50, 50}, kAnchorTopLeft, false, true);
    page.SetOverlayView(~overlay);
    const List& views = page.GetSubviews();
    EXPECT_EQ(views.At(views.NumItems()), static_cast<Smart*>(~overlay));
    page.SetOverlayView(nullptr);
    EXPECT_EQ(views.IndexOf(~overlay), 0);
  });
}

// What compiling the page gives: the picture's size and the link rectangles, as "w x h: l,t,r,b ...".
std::string Compiled(CShow& page) {
  const SmartRef<ImageMap> map = DromelScribe::BuildPageImageMap(*page.GetMovieGroup(), nullptr, nullptr);
  const Point size = map->GetPicture()->GetBounds().Size();
  std::string text = std::to_string(size.x) + "x" + std::to_string(size.y) + ":";
  const GenericArray& areas = map->GetRectangles();
  for (std::int32_t i = 1; i <= areas.NumItems(); ++i) {
    const Rect& r = *static_cast<const Rect*>(areas.At(i));
    text += " " + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
            std::to_string(r.bottom);
  }
  return text;
}

TEST_F(PageWindowTest, APageStoredFromTheOriginOrUnderThePaletteShowsCompilesAndSavesWhole) {
  InPageWindow([&](DromelWindow& window) {
    const std::int32_t palette = gToolPaletteHeight;
    ASSERT_GT(palette, 0);
    struct Case {
      const char* name;
      Point corner;  // the page's stored top-left corner
    } const cases[] = {
        {"stored from the origin", {0, 0}},
        {"stored where the stage pane stands", {0, palette}},
    };
    const Rect stage{0, palette, 480, 360 + palette};
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      const SmartRef<CShow> made = MakePage(480, 360);
      CMovieGroup& group = GroupOf(*made);
      group.SetBounds(Rect::FromSizeAndOrigin({480, 360}, c.corner));
      AddSpriteAt(group, *SolidPicture(480, 360, 3), 1, c.corner, "fond");
      CSprite* linked = AddSpriteAt(group, *SolidPicture(40, 30, 4), 1, c.corner + Point{40, 30}, "lien");
      const SmartRef<CLink> link = new CLink();
      link->SetHref(new LinkHREF(String("http://www.example.org/")));
      linked->SetLink(0, 1, ~link);
      const std::string name = c.corner.y ? "placee" : "origine";
      const SmartRef<FileReference> file = WritePage(name, *made);
      const SmartRef<PageFormat> format = new PageFormat();
      // Compiled from its file, as a page that is not the front one is.
      const auto compiledFromFile = [&] {
        SmartRef<Smart> read;
        format->MakeScribe(*file, kFileModeRead)->Read(&read);
        auto* stored = CastSmart<CShow>(~read);
        return stored ? Compiled(*stored) : std::string("(no page)");
      };
      const std::string fromFile = compiledFromFile();
      ASSERT_EQ(fromFile, "480x360: 40,30,80,60");

      window.ReadFile(*file);
      auto* shown = CastSmart<CShow>(window.GetDocument());
      ASSERT_TRUE(shown);
      ASSERT_EQ(window.GetStagePane()->GetBounds(), stage);
      EXPECT_EQ(shown->GetMovieGroup()->GetBounds(), stage);
      Rect at;
      GroupOf(*shown).FindSpriteByName(String("lien"))->GetFrameGeometry(0, &at, nullptr);
      EXPECT_EQ(at, (Rect{40, 30 + palette, 80, 60 + palette}));
      EXPECT_FALSE(window.IsModified()) << "showing a page is no change to it";

      // Drawn whole: the sprite where the page has it, the page's colour down to the last row.
      window.Refresh();
      const HWND handle = window.GetFrame()->GetHandle();
      const auto pixel = [&](int x, int y) {
        const Point on = editor_test::OnScreen(handle, Point{x, y});
        return ScreenPixel(on.x, on.y);
      };
      const std::uint32_t colour = pixel(240, palette + 200);
      EXPECT_NE(pixel(60, palette + 45), colour) << "the sprite";
      EXPECT_EQ(pixel(60, palette + 25), colour) << "above the sprite";
      EXPECT_EQ(pixel(60, palette + 65), colour) << "below the sprite";
      EXPECT_EQ(pixel(240, palette + 359), colour) << "the last row";
      EXPECT_NE(colour, 0xFFFFFFu);

      // Compiled from the window, as the front page is: the whole picture, the link where it shows.
      EXPECT_EQ(Compiled(*shown), fromFile);
      window.Store();
      const fs::path html = data->folder.Path() / "Projet" / "HTML";
      const std::string picture = (html / (name + ".jpg")).string();
      EXPECT_EQ(CommandOutput("/usr/bin/identify -format '%wx%h' '" + picture + "'"), "480x360");
      std::ifstream in(html / (name + ".htm"));
      const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      EXPECT_NE(text.find("COORDS=\"40,30,80,60\""), std::string::npos) << text;

      // Saved from the window and read back, from its file and in the window.
      window.Save(kSaveDocument);
      EXPECT_EQ(compiledFromFile(), fromFile);
      window.ReadFile(*Reference(name));
      auto* again = CastSmart<CShow>(window.GetDocument());
      ASSERT_TRUE(again);
      GroupOf(*again).FindSpriteByName(String("lien"))->GetFrameGeometry(0, &at, nullptr);
      EXPECT_EQ(at, (Rect{40, 30 + palette, 80, 60 + palette}));
      EXPECT_EQ(Compiled(*again), fromFile);
    }
  });
}

}  // namespace
