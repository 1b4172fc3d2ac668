// Clicks that bring a file into the open page: a picture as a clip, as the page background, a sound as
// the frame's sound, a link to a page; a damaged file stops the click with its reader's error.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/Exception.h"
#include "core/Sound.h"
#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/PaintToolsWindow.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "editor/browser/BrowserPanes.h"
#include "editor/browser/CBrowser.h"
#include "editor/stage/CHAPane.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/PageTestSupport.h"
#include "engine/sprites/CSprite.h"
#include "support/AlertRecorder.h"
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
  } cases[] = {
      {"clip of a picture", kBrowseClip, "maison.bmp", false, 0, true, "maison"},
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
      authoring->SetActivePane(stage);
      CBrowser& browser = *pane->GetBrowser();
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
      if (c.tool == kBrowseBackground && !c.raised) {
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
  });
}

}  // namespace
}  // namespace editor_test
