// The page browser's listing, cell geometry and scrolling, and the browser pane around it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/EditorTestSupport.h"
#include "editor/CTool.h"
#include "editor/browser/BrowserPanes.h"
#include "editor/browser/CBrowser.h"
#include "editor/browser/CChoreStrips.h"
#include "ui/ViewTestSupport.h"
#include "ui/controls/ScrollBar.h"

namespace editor_test {
namespace {

class BrowserLayoutTest : public EditorTest {
 protected:
  void TearDown() override {
    window.root->RemoveAllSubviews();
    EditorTest::TearDown();
  }
  // A folder of the test with those (empty) files.
  SmartRef<FileReference> Folder(const std::vector<std::string>& names) {
    const std::string folder = "Clips" + std::to_string(++folders);
    data->folder.MakeFolder(folder);
    for (const std::string& name : names) data->folder.Write(folder + "/" + name, "x");
    return SmartRef<FileReference>(new FileReference(data->folder.WinPath(folder).c_str()));
  }
  SmartRef<CBrowser> Make(FileReference& folder, std::int32_t toolId, const Rect& frame, std::int32_t thumbWidth = 64,
                          std::int32_t thumbHeight = 48) {
    SmartRef<CTool> tool(toolId ? new CTool(toolId, nullptr, false, nullptr) : nullptr);
    SmartRef<CBrowser> browser(new CBrowser(~window.root, frame, folder, ~tool, thumbWidth, thumbHeight));
    window.root->AddSubview(~browser);
    return browser;
  }
  static std::vector<std::string> Names(CBrowser& browser) {
    std::vector<std::string> names;
    for (std::int32_t n = 1; n <= browser.NumItems(); ++n) {
      FileReference* file = browser.FileAt(n);
      String name;
      if (file) file->GetName(name);
      names.push_back(file ? TextOf(name) : "(new)");
    }
    return names;
  }
  static std::vector<std::int32_t> Range(CBrowser& browser) {
    std::int32_t min = -1;
    std::int32_t max = -1;
    browser.GetRange(0, &min, &max);
    return {min, max};
  }

  int folders = 0;
  TestWindow window{600, 400};
};

TEST_F(BrowserLayoutTest, FilesAreListedByNameWhateverTheirCaseAndType) {
  SmartRef<FileReference> folder = Folder({"c.jpg", "b.bmp", "A.gif", "notes.xyz", ".hidden.bmp"});
  SmartRef<CBrowser> browser = Make(*folder, kBrowseClip, Rect(0, 0, 300, 200));
  EXPECT_EQ(Names(*browser), (std::vector<std::string>{"A.gif", "b.bmp", "c.jpg"}));
  EXPECT_TRUE(gBrowserWholePage);

  // The hot-link browser lists pages only, and its thumbnails show only what lies on the stage.
  SmartRef<FileReference> pages = Folder({"b.zod", "a.bmp", "A.zod"});
  SmartRef<CBrowser> hotLinks = Make(*pages, kBrowseHotLink, Rect(0, 0, 300, 200));
  EXPECT_EQ(Names(*hotLinks), (std::vector<std::string>{"A.zod", "b.zod"}));
  EXPECT_FALSE(gBrowserWholePage);
}

TEST_F(BrowserLayoutTest, TheLinkBrowserOffersANewPageFirst) {
  SmartRef<FileReference> empty = Folder({});
  SmartRef<CBrowser> browser = Make(*empty, kBrowseLink, Rect(0, 0, 300, 200));
  EXPECT_EQ(Names(*browser), (std::vector<std::string>{"(new)"}));
  EXPECT_EQ(browser->HitTest(16, 16), 1);
  SmartRef<CBrowser> plain = Make(*empty, kBrowseOpen, Rect(0, 0, 300, 200));
  EXPECT_EQ(plain->NumItems(), 0);
  EXPECT_EQ(Range(*plain), (std::vector<std::int32_t>{0, 0}));
  EXPECT_EQ(plain->HitTest(20, 20), 0);
}

TEST_F(BrowserLayoutTest, ColumnsRowsAndRangeFollowTheFrame) {
  std::vector<std::string> ten;
  for (int n = 0; n < 10; ++n) ten.push_back("p" + std::to_string(n) + ".bmp");
  SmartRef<FileReference> folder = Folder(ten);
  struct Case {
    const char* name;
    Rect frame;
    std::int32_t columns, rows;
    std::vector<std::int32_t> range;
  } cases[] = {
      {"narrower and lower than a cell", Rect(0, 0, 50, 30), 1, 1, {0, 9}},
      {"3 x 2", Rect(0, 0, 3 * 96 + 10, 2 * 80 + 10), 3, 2, {0, 2}},
      {"everything visible", Rect(0, 0, 600, 400), 6, 5, {0, 0}},
  };
  for (const Case& c : cases) {
    SmartRef<CBrowser> browser = Make(*folder, kBrowseClip, c.frame);
    EXPECT_EQ(browser->GetColumns(), c.columns) << c.name;
    EXPECT_EQ(browser->GetRows(), c.rows) << c.name;
    EXPECT_EQ(browser->GetPageSize(0), c.rows) << c.name;
    EXPECT_EQ(Range(*browser), c.range) << c.name;
    window.root->RemoveSubview(~browser);
  }
}

TEST_F(BrowserLayoutTest, ScrollingAndWideningKeepTheFirstVisibleItem) {
  std::vector<std::string> ten;
  for (int n = 0; n < 10; ++n) ten.push_back("p" + std::to_string(n) + ".bmp");
  SmartRef<FileReference> folder = Folder(ten);
  SmartRef<CBrowser> browser = Make(*folder, kBrowseClip, Rect(0, 0, 3 * 96, 2 * 80));
  browser->SetValue(0, 2);
  EXPECT_EQ(browser->GetValue(0), 2);
  // Row 2 shows items 7 to 9 first; the cell of item 7 is at the top-left.
  EXPECT_EQ(browser->CellRect(7), Rect(16, 16, 80, 64));
  EXPECT_EQ(browser->HitTest(20, 20), 7);
  EXPECT_LT(browser->CellRect(1).top, 0);
  browser->ResizeBy(0, 0, 96, 0);
  EXPECT_EQ(browser->GetColumns(), 4);
  EXPECT_EQ(browser->GetTopRow(), 1);
  EXPECT_EQ(browser->HitTest(20, 20), 5);
}

TEST_F(BrowserLayoutTest, OnlyTheThumbnailItselfIsHit) {
  SmartRef<FileReference> folder = Folder({"a.bmp", "b.bmp", "c.bmp"});
  SmartRef<CBrowser> browser = Make(*folder, kBrowseClip, Rect(10, 20, 10 + 2 * 96, 20 + 2 * 80));
  struct Case {
    const char* name;
    Point point;
    std::int16_t index;
  } cases[] = {
      {"first thumbnail's corner", {26, 36}, 1},
      {"first thumbnail's last pixel", {89, 83}, 1},
      {"left margin", {25, 40}, 0},
      {"right margin", {90, 40}, 0},
      {"label strip", {40, 90}, 0},
      {"second column", {10 + 96 + 16, 36}, 2},
      {"third item, second row", {26, 20 + 80 + 16}, 3},
      {"after the last item", {10 + 96 + 20, 20 + 80 + 20}, 0},
      {"above the frame", {30, 5}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(browser->HitTest(c.point.x, c.point.y), c.index) << c.name;
}

TEST_F(BrowserLayoutTest, PaintingQueuesEveryVisibleCellInOrder) {
  SmartRef<FileReference> folder = Folder({"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"});
  SmartRef<CBrowser> browser = Make(*folder, kBrowseClip, Rect(0, 0, 2 * 96, 2 * 80));
  window.MakeFront();
  CChoreStrips* chore = browser->GetChore();
  chore->AddJob(2);
  DisplayPort port(~window.surface, Rect(0, 0, 600, 400));
  browser->DrawContent(port, Area(browser->GetBounds()));
  std::vector<std::int32_t> queued;
  for (std::int32_t n = 1; n <= chore->NumJobs(); ++n) queued.push_back(chore->JobAt(n));
  EXPECT_EQ(queued, (std::vector<std::int32_t>{1, 2, 3, 4}));
  // The background is the browser's light yellow, the frames black.
  EXPECT_EQ(window.surface->Pixel(2, 2), 0xFFFF99u);
  EXPECT_EQ(window.surface->Pixel(14, 30), 0x000000u);
}

}  // namespace
}  // namespace editor_test
