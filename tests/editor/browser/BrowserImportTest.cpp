// Clicks that bring a file into the open page: a picture as a clip, as the page background, a sound as
// the frame's sound, a link to a page; a damaged file stops the click with its reader's error.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/Exception.h"
#include "core/Memory.h"
#include "core/Sound.h"
#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/PaintToolsWindow.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "editor/browser/BrowserPanes.h"
#include "editor/browser/CBrowser.h"
#include "editor/browser/CChoreStrips.h"
#include "editor/stage/CHAPane.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/PageTestSupport.h"
#include "engine/sprites/CSprite.h"
#include "platform/kernel/Files.h"
#include "support/AlertRecorder.h"
#include "support/DiskAudio.h"
#include "support/DocumentBytes.h"
#include "ui/shell/Clipboard.h"
#include "ui/views/Window.h"

namespace editor_test {
namespace {

std::string Fixture(const std::string& relative) {
  std::ifstream in(std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/" + relative, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

CHAPane* StagePaneIn(View* view) {
  if (auto* pane = CastSmart<CHAPane>(view)) return pane;
  for (std::int32_t i = 1; i <= view->GetSubviews().NumItems(); ++i)
    if (CHAPane* pane = StagePaneIn(CastSmart<View>(view->GetSubviews().At(i)))) return pane;
  return nullptr;
}

std::int32_t IndexOf(CBrowser& browser, const std::string& name) {
  for (std::int32_t i = 1; i <= browser.NumItems(); ++i) {
    FileReference* file = browser.FileAt(i);
    if (file == nullptr) continue;
    String text;
    file->GetName(text);
    if (TextOf(text) == name) return i;
  }
  return 0;
}

class BrowserImportTest : public AuthoringAppTest {};

// A frame's sound lies inside the page, its top-right corner 4 pixels in from the page's.
testing::AssertionResult InTopRightCorner(CMovieGroup& group, CSprite& sprite, std::int16_t frame) {
  Rect rect;
  Point position;
  sprite.GetFrameGeometry(frame, &rect, &position);
  const Rect page = group.GetBounds();
  if (rect.right == page.right - 4 && rect.top == page.top + 4) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the sprite lies at " << rect.left << "," << rect.top << "," << rect.right
                                     << "," << rect.bottom << " on a page of " << page.right << " x " << page.bottom;
}

// A browser of the folder for the tool, in a window of its own over the page; the page stays the one the
// browser works on.
struct BrowserWindow {
  BrowserWindow(FileReference& folder, std::int32_t toolId, CHAApp& app, CHAPane* stage)
      : window(new Window(nullptr, kFrameNormal, false, false, 400, 300)), tool(new CTool(toolId, nullptr, false, nullptr)) {
    window->Open(true);
    pane = new PageBrowserPane(~window, folder, ~tool, 64, 48, Rect(0, 0, 300, 200), nullptr);
    window->AddSubview(~pane);
    // Thumbnails are no business of these tests.
    pane->GetBrowser()->GetChore()->Stop();
    if (stage) app.SetActivePane(stage);
  }
  ~BrowserWindow() {
    window->RemoveAllSubviews();
    window->Window::Close();
  }
  // A click 5 pixels into the cell of the named file ("" for the new page).
  void Click(const std::string& name) {
    CBrowser& browser = *pane->GetBrowser();
    const std::int32_t index = name.empty() ? 1 : IndexOf(browser, name);
    ASSERT_NE(index, 0) << name;
    const Rect cell = browser.CellRect(index);
    EXPECT_TRUE(browser.MouseDown(cell.left + 5, cell.top + 5, 0, 1, nullptr));
  }
  SmartRef<Window> window;
  SmartRef<CTool> tool;
  SmartRef<PageBrowserPane> pane;
};

TEST_F(BrowserImportTest, TheFourImportToolsOnAPictureASoundAPageAndADamagedFile) {
  const std::string bmp = Fixture("pictures/hand-topdown-24.bmp");
  const std::string wav = Fixture("sounds/mono16-44100.wav");
  ASSERT_TRUE(!bmp.empty() && !wav.empty());
  data->folder.MakeFolder("Clips");
  data->folder.Write("Clips/maison.bmp", bmp);
  data->folder.Write("Clips/bruit.wav", wav);
  data->folder.Write("Clips/coupe.bmp", bmp.substr(0, bmp.size() / 2));
  data->folder.Write("Clips/page.zod",
                     document_testing::SaveDocument(SmartRef<Smart>(~engine_test::MakePage({0, 0, 200, 150}, 1))));
  struct Case {
    const char* name;
    std::int32_t tool;
    const char* file;
    bool raised;          // the reader's error reaches the caller
    std::int32_t added;   // sprites added to the page
    bool current;         // the tool is made current for the next stage click
    const char* clip;     // the name of the sprite left on the clipboard, "" for none looked at
    bool withPage = true;  // a page is open
  } cases[] = {
      {"clip of a picture", kBrowseClip, "maison.bmp", false, 0, true, "maison"},
      // The clip waits on the clipboard for a page to be clicked.
      {"clip without a page", kBrowseClip, "maison.bmp", false, 0, true, "maison", false},
      {"background without a page", kBrowseBackground, "maison.bmp", false, 0, false, "", false},
      {"background", kBrowseBackground, "maison.bmp", false, 1, false, ""},
      // The same picture again takes the place of the one it hides.
      {"second background", kBrowseBackground, "maison.bmp", false, 0, false, ""},
      {"frame sound", kBrowseSound, "bruit.wav", false, 1, false, ""},
      {"link to a page", kBrowseLink, "page.zod", false, 0, true, ""},
      {"damaged clip", kBrowseClip, "coupe.bmp", true, 0, false, ""},
      {"damaged background", kBrowseBackground, "coupe.bmp", true, 0, false, ""},
      {"damaged sound", kBrowseSound, "coupe.bmp", true, 0, false, ""},
  };
  InAuthoringProgram([&](PaintToolsWindow&) {
    AlertRecorder alerts;
    authoring->CHAApp::NewDocument();
    CHAPane* stage = StagePaneIn(~authoring->FrontWindow());
    ASSERT_NE(stage, nullptr);
    authoring->SetActivePane(stage);
    CMovieGroup& group = *stage->GetGroup();
    SmartRef<FileReference> folder(new FileReference(data->folder.WinPath("Clips").c_str()));
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      SmartRef<Window> window(new Window(nullptr, kFrameNormal, false, false, 400, 300));
      window->Open(true);
      SmartRef<CTool> tool(new CTool(c.tool, nullptr, false, nullptr));
      SmartRef<PageBrowserPane> pane(new PageBrowserPane(~window, *folder, ~tool, 64, 48, Rect(0, 0, 300, 200), nullptr));
      window->AddSubview(~pane);
      // The browser's window took the focus; the page stays the one the browser works on.
      if (c.withPage) authoring->SetActivePane(stage);
      else authoring->ClearActivePane(authoring->GetActivePane());
      CBrowser& browser = *pane->GetBrowser();
      // Thumbnails are no business of this test: no job may offer the damaged file for deletion while a
      // click's import lets the window system's messages through.
      browser.GetChore()->Stop();
      const std::int32_t index = IndexOf(browser, c.file);
      ASSERT_NE(index, 0);
      SmartRef<CTool> other(new CTool(1, nullptr, false, nullptr));
      gToolsDirectory->SetCurrentTool(~other);
      const SmartRef<String> kept = new String("avant");
      authoring->GetClipboard()->SetScrap(~kept);
      const std::int32_t before = group.GetSpriteCount();
      const Rect cell = browser.CellRect(index);
      bool raised = false;
      try {
        EXPECT_TRUE(browser.MouseDown(cell.left + 5, cell.top + 5, 0, 1, nullptr));
      } catch (Exception* exception) {
        const SmartRef<Exception> caught(exception);
        raised = true;
      }
      EXPECT_EQ(raised, c.raised);
      EXPECT_EQ(group.GetSpriteCount() - before, c.added);
      EXPECT_EQ(~gToolsDirectory->GetCurrentToolRef() == static_cast<Tool*>(~tool), c.current);
      if (c.raised) {
        EXPECT_EQ(authoring->GetClipboard()->GetScrap(), ~kept) << "the clipboard keeps what it held";
      }
      if (*c.clip) {
        List content(&CSprite::classInfo);
        ASSERT_TRUE(authoring->GetClipboard()->AddScrapTo(content));
        ASSERT_EQ(content.NumItems(), 1);
        EXPECT_EQ(TextOf(*CastSmart<CSprite>(content.At(1))->GetName()), c.clip);
      }
      if (c.tool == kBrowseLink) {
        List content(&CSprite::classInfo);
        ASSERT_TRUE(authoring->GetClipboard()->AddScrapTo(content));
        ASSERT_EQ(content.NumItems(), 1);
        EXPECT_NE(CastSmart<CSprite>(content.At(1))->GetLinkAtFrame(0), nullptr) << "a sprite leading to the page";
      }
      if (c.tool == kBrowseSound && !c.raised) {
        EXPECT_TRUE(InTopRightCorner(group, *group.GetSprite(static_cast<std::int16_t>(group.GetSpriteCount() - 1)),
                                     stage->GetCurrentFrame()));
      }
      if (c.tool == kBrowseBackground && !c.raised && c.withPage) {
        // The new background is the bottom sprite above the page's own, as large as the page.
        std::int16_t n = 0;
        while (n < group.GetSpriteCount() && TextOf(*group.GetSprite(n)->GetName()) != "__Background") ++n;
        ASSERT_LT(n, group.GetSpriteCount());
        CSprite* background = group.GetSprite(n);
        EXPECT_EQ(background->GetMovie()->GetBounds().Size(), group.GetBounds().Size());
        EXPECT_FALSE(gBackgroundImport) << "the mark is the paste's own, outside its undo and redo";
        // Only the newest background shows at the frame.
        std::int32_t shown = 0;
        for (std::int16_t s = 0; s < group.GetSpriteCount(); ++s) {
          CSprite* sprite = group.GetSprite(s);
          if (TextOf(*sprite->GetName()) == "__Background" && sprite->IsVisibleInRange(stage->GetCurrentFrame(), 1)) ++shown;
        }
        EXPECT_EQ(shown, 1);
      }
      window->RemoveAllSubviews();
      window->Window::Close();
      gToolsDirectory->SetCurrentTool(nullptr);
    }
    authoring->ClearActivePane(stage);
    SaveCurrentPreview();
  });
}

// The sound tool on a picture that carries no sound: the child records one for it, and the picture
// with its sound lands 4 pixels inside the page's top-right corner; cancelled, the picture waits on the
// clipboard as a plain clip.
TEST_F(BrowserImportTest, TheSoundToolRecordsASoundForAPictureWithoutOne) {
  data->folder.MakeFolder("Clips");
  data->folder.Write("Clips/maison.bmp", Fixture("pictures/hand-topdown-24.bmp"));
  InAuthoringProgram([&](PaintToolsWindow&) {
    AlertRecorder alerts;
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(data->folder.WinPath().c_str()));
    // At the pace of a sound card, so that the dialog sees the recording under way.
    DiskAudio audio(DiskAudio::Pace::realTime);
    audio.SetCapture(Ramp(70000));
    authoring->CHAApp::NewDocument();
    CHAPane* stage = StagePaneIn(~authoring->FrontWindow());
    ASSERT_NE(stage, nullptr);
    CMovieGroup& group = *stage->GetGroup();
    SmartRef<FileReference> folder(new FileReference(data->folder.WinPath("Clips").c_str()));
    for (const bool accept : {false, true}) {
      SCOPED_TRACE(accept ? "recorded" : "cancelled");
      BrowserWindow browser(*folder, kBrowseSound, *authoring, stage);
      const std::int32_t before = group.GetSpriteCount();
      {
        RecordingDialogDriver driver(accept);
        browser.Click("maison.bmp");
        EXPECT_EQ(driver.Step(), accept ? 2 : 1) << "the recording dialog came up";
      }
      for (const auto& alert : alerts.Alerts()) ADD_FAILURE() << alert.text;
      if (!accept) {
        EXPECT_EQ(group.GetSpriteCount(), before) << "nothing is pasted";
        List content(&CSprite::classInfo);
        ASSERT_TRUE(authoring->GetClipboard()->AddScrapTo(content));
        ASSERT_EQ(content.NumItems(), 1);
        EXPECT_EQ(CastSmart<CSprite>(content.At(1))->GetMovie()->GetSound(0), nullptr);
        continue;
      }
      ASSERT_EQ(group.GetSpriteCount(), before + 1);
      CSprite* sprite = group.GetSprite(static_cast<std::int16_t>(group.GetSpriteCount() - 1));
      EXPECT_EQ(TextOf(*sprite->GetName()), "__Sound");
      Sound* sound = sprite->GetMovie()->GetSound(0);
      ASSERT_NE(sound, nullptr);
      const Memory& image = sound->GetData();
      const std::string bytes(reinterpret_cast<const char*>(image.GetData()), image.GetSize());
      EXPECT_EQ(WaveSamples(bytes), Ramp(70000).substr(0, 66150)) << "three seconds of what was heard";
      EXPECT_TRUE(InTopRightCorner(group, *sprite, stage->GetCurrentFrame()));
    }
    authoring->ClearActivePane(stage);
    SetCurrentDirectoryA(saved);
  });
}

// The link tool: "Nouvelle page" makes a page under the name the save dialog gives and a blank picture
// linking to it; a cancelled dialog, a file that cannot be pictured (text 203) and a click without an
// open page leave the clipboard as it was and make no tool current, so that the next stage click places
// nothing stale.
TEST_F(BrowserImportTest, TheLinkToolOnANewPageAndWhereNoLinkCanBeMade) {
  data->folder.MakeFolder("Pages");
  data->folder.Write("Pages/page.zod",
                     document_testing::SaveDocument(SmartRef<Smart>(~engine_test::MakePage({0, 0, 200, 150}, 1))));
  data->WriteSound(5);  // the link's click
  // A document of the program's that holds a link alone: there is nothing to picture.
  data->folder.Write("Pages/lien.zod", document_testing::SaveDocument(SmartRef<Smart>(new CLink)));
  struct Case {
    const char* name;
    const char* file;      // "" for "Nouvelle page"
    const char* savedAs;   // what the save dialog answers, "" for Cancel
    bool withPage;         // a page is open
    bool linked;           // a link is on the clipboard and the tool current
    const char* alert;
  } cases[] = {
      {"a new page", "", "nouvelle.zod", true, true, nullptr},
      {"a new page, the dialog cancelled", "", "", true, false, nullptr},
      {"a file that cannot be pictured", "lien.zod", "", true, false, "Impossible de créer un lien à ce fichier"_cp},
      {"no page open", "page.zod", "", false, false, nullptr},
  };
  InAuthoringProgram([&](PaintToolsWindow&) {
    AlertRecorder alerts;
    authoring->CHAApp::NewDocument();
    CHAPane* stage = StagePaneIn(~authoring->FrontWindow());
    ASSERT_NE(stage, nullptr);
    CMovieGroup& group = *stage->GetGroup();
    SmartRef<FileReference> folder(new FileReference(data->folder.WinPath("Pages").c_str()));
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      alerts.Clear();
      BrowserWindow browser(*folder, kBrowseLink, *authoring, c.withPage ? stage : nullptr);
      if (!c.withPage) authoring->ClearActivePane(authoring->GetActivePane());
      const std::string chosen = *c.savedAs ? data->folder.WinPath("Pages") + "\\" + c.savedAs : "";
      int dialogs = 0;
      authoring->onChooseFile = [&](int mode) -> SmartRef<FileReference> {
        EXPECT_EQ(mode, 2) << "a save dialog";
        ++dialogs;
        if (chosen.empty()) return nullptr;
        // As the save dialog leaves it: the chosen file is there, empty.
        data->folder.Write(std::string("Pages/") + c.savedAs, "");
        return new FileReference(chosen.c_str());
      };
      SmartRef<CTool> other(new CTool(1, nullptr, false, nullptr));
      gToolsDirectory->SetCurrentTool(~other);
      const SmartRef<String> kept = new String("avant");
      authoring->GetClipboard()->SetScrap(~kept);
      const std::int32_t sprites = group.GetSpriteCount();
      browser.Click(c.file);
      authoring->onChooseFile = nullptr;
      EXPECT_EQ(dialogs, *c.file ? 0 : 1);
      EXPECT_EQ(~gToolsDirectory->GetCurrentToolRef() == static_cast<Tool*>(~browser.tool), c.linked);
      EXPECT_EQ(group.GetSpriteCount(), sprites) << "the link waits for a click on the stage";
      if (c.alert) {
        ASSERT_EQ(alerts.Alerts().size(), 1u);
        EXPECT_EQ(alerts.Alerts()[0].text, c.alert);
      } else {
        for (const auto& alert : alerts.Alerts()) ADD_FAILURE() << alert.text;
      }
      if (!c.linked) {
        EXPECT_EQ(authoring->GetClipboard()->GetScrap(), ~kept) << "the clipboard keeps what it held";
        continue;
      }
      // The new page is written, and the clip is its blank picture in a frame, leading to it.
      const SmartRef<CShow> page(new CShow(new CMovieGroup(defaultMovieBounds), false));
      const std::string path = data->folder.Path().string() + "/Pages/" + c.savedAs;
      EXPECT_EQ(std::filesystem::file_size(path), document_testing::SaveDocument(SmartRef<Smart>(~page)).size());
      List content(&CSprite::classInfo);
      ASSERT_TRUE(authoring->GetClipboard()->AddScrapTo(content));
      ASSERT_EQ(content.NumItems(), 1);
      CSprite* link = CastSmart<CSprite>(content.At(1));
      ASSERT_NE(link->GetLinkAtFrame(0), nullptr);
      Rect rect;
      Point position;
      link->GetFrameGeometry(0, &rect, &position);
      EXPECT_EQ(rect.Size(), Point(64 + 3, 48 + 3));
    }
    {
      // The previews kept last are those of a folder that is gone since: they cannot be saved, which costs
      // them and stops no link.
      data->folder.MakeFolder("Vieux");
      data->folder.Write("Vieux/page.zod", "");
      FileReference(data->folder.WinPath("Vieux\\page.zod").c_str()).SetPreview(~MakeBlankThumbnail(64, 48));
      std::filesystem::remove_all(data->folder.Path() / "Vieux");
      alerts.Clear();
      BrowserWindow browser(*folder, kBrowseLink, *authoring, stage);
      browser.Click("page.zod");
      EXPECT_EQ(~gToolsDirectory->GetCurrentToolRef(), static_cast<Tool*>(~browser.tool));
      EXPECT_TRUE(alerts.Alerts().empty());
    }
    gToolsDirectory->SetCurrentTool(nullptr);
    authoring->ClearActivePane(stage);
    SaveCurrentPreview();
  });
}

}  // namespace
}  // namespace editor_test
