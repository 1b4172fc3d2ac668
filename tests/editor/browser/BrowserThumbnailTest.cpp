// The browser's thumbnails, each drawn by one job of its chore: stored previews of the right size drawn
// as they are, new ones made from the files, and damaged files offered for deletion.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "editor/browser/CBrowser.h"
#include "editor/browser/CChoreStrips.h"
#include "engine/page/CShow.h"
#include "engine/page/PageTestSupport.h"
#include "graphics/bitmaps/BitMap.h"
#include "platform/kernel/Files.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"
#include "support/graphics/GoldenPicture.h"
#include "ui/ViewTestSupport.h"
#include "ui/dialogs/Preview.h"

namespace editor_test {
namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlue = 0x0000FF;

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/pictures/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class BrowserThumbnailTest : public AuthoringAppTest {
 protected:
  // The body in the running program, with a browser of the folder "Clips" (tool 19, 64 x 48 thumbnails)
  // in a window of the test.
  void InBrowser(const std::function<void(CBrowser&, TestWindow&)>& body) {
    InAuthoringProgram([&](PaintToolsWindow&) {
      InBrowserOf("Clips", kBrowseClip, body);
      SaveCurrentPreview();
    });
  }
  // A browser of the folder for the tool, in the running program.
  void InBrowserOf(const std::string& name, std::int32_t toolId, const std::function<void(CBrowser&, TestWindow&)>& body) {
    TestWindow window(400, 300);
    window.MakeFront();
    SmartRef<FileReference> folder(new FileReference(data->folder.WinPath(name).c_str()));
    SmartRef<CTool> tool(new CTool(toolId, nullptr, false, nullptr));
    SmartRef<CBrowser> browser(new CBrowser(~window.root, Rect(0, 0, 192, 160), *folder, ~tool, 64, 48));
    window.root->AddSubview(~browser);
    body(*browser, window);
    window.root->RemoveAllSubviews();
  }
  void Write(const std::string& name, const std::string& bytes, const std::string& folder = "Clips") {
    data->folder.MakeFolder(folder);
    data->folder.Write(folder + "/" + name, bytes);
  }
  void WritePicture(const std::string& name, int width, int height, std::uint32_t rgb) {
    Write(name, BmpBytes(width, height, [rgb](int, int) { return rgb; }));
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(data->folder.Path() / "Clips" / name); }

  // The cell with its frame, from the window's pixels.
  static ColourPicture Cell(TestWindow& window, const Rect& cell) {
    ColourPicture picture;
    picture.width = cell.Width() + 4;
    picture.height = cell.Height() + 4;
    for (int y = cell.top - 2; y < cell.bottom + 2; ++y)
      for (int x = cell.left - 2; x < cell.right + 2; ++x) picture.pixels.push_back(window.surface->Pixel(x, y));
    return picture;
  }
  static void Paint(CBrowser& browser, TestWindow& window) {
    DisplayPort port(~window.surface, Rect(0, 0, 400, 300));
    browser.DrawContent(port, Area(browser.GetBounds()));
  }
};

TEST_F(BrowserThumbnailTest, PicturesAreFittedIntoTheirCells) {
  WritePicture("a-exact.bmp", 64, 48, kBlue);
  Write("b-tall.bmp", BmpBytes(100, 400, [](int, int y) { return y < 200 ? kRed : kBlue; }));
  WritePicture("c-small.bmp", 32, 32, kRed);
  InBrowser([&](CBrowser& browser, TestWindow& window) {
    AlertRecorder alerts;
    Paint(browser, window);
    for (std::int32_t i = 1; i <= 3; ++i) EXPECT_FALSE(browser.RenderThumbnail(i)) << i;
    EXPECT_TRUE(alerts.Alerts().empty());
    ExpectGolden(Cell(window, browser.CellRect(1)), "editor/browser-exact.ppm");
    ExpectGolden(Cell(window, browser.CellRect(2)), "editor/browser-tall.ppm");
    ExpectGolden(Cell(window, browser.CellRect(3)), "editor/browser-small.ppm");
    // The small picture sits at (16, 8) in its cell, on white.
    const Rect small = browser.CellRect(3);
    EXPECT_EQ(window.surface->Pixel(small.left + 16, small.top + 8), kRed);
    EXPECT_EQ(window.surface->Pixel(small.left + 15, small.top + 8), kWhite);
    EXPECT_EQ(window.surface->Pixel(small.left + 48, small.top + 40), kWhite);
    // Each thumbnail is kept in the folder's preview at the browser's size, or smaller.
    for (const auto& [index, size] : std::vector<std::pair<int, Point>>{{1, {64, 48}}, {2, {64, 48}}, {3, {32, 32}}}) {
      SmartRef<Image> stored = browser.FileAt(index)->GetPreview();
      ASSERT_TRUE(stored) << index;
      EXPECT_EQ(stored->GetBounds().Size(), size) << index;
    }
  });
}

TEST_F(BrowserThumbnailTest, AStoredPreviewOfTheRightSizeIsDrawnAsItIs) {
  // The file itself is damaged: only its stored preview can give a picture.
  Write("page.bmp", "BM damaged");
  InBrowser([&](CBrowser& browser, TestWindow& window) {
    AlertRecorder alerts;
    {
      SmartRef<Image> stored(new SolidImage(Rect(0, 0, 64, 48), Color(0, 0xFFFF, 0, 0)));
      browser.FileAt(1)->SetPreview(~stored);
    }
    EXPECT_FALSE(browser.RenderThumbnail(1));
    EXPECT_TRUE(alerts.Alerts().empty());
    const Rect cell = browser.CellRect(1);
    EXPECT_EQ(window.surface->Pixel(cell.left, cell.top), 0x00FF00u);
    // A fill without an outline leaves the last column and row, as the system's rectangles do.
    EXPECT_EQ(window.surface->Pixel(cell.right - 2, cell.bottom - 2), 0x00FF00u);
  });
}

TEST_F(BrowserThumbnailTest, ADamagedFileIsOfferedForDeletionOnce) {
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"bad.bmp", "BM" + std::string(60, '\x7f')},
      {"cut.bmp", Fixture("im3-24.bmp").substr(0, 80)},
      {"cut.gif", Fixture("im.gif").substr(0, 40)},
      {"cut.jpg", Fixture("cjpeg-baseline.jpg").substr(0, 300)},
  };
  for (const Case& c : cases) Write(c.name, c.bytes);
  InBrowser([&](CBrowser& browser, TestWindow& window) {
    AlertRecorder alerts;
    ASSERT_EQ(browser.NumItems(), 4);
    for (std::int32_t i = 1; i <= browser.NumItems(); ++i) {
      String name;
      browser.FileAt(i)->GetName(name);
      alerts.Clear();
      alerts.Answer({IDCANCEL});
      EXPECT_FALSE(browser.RenderThumbnail(i)) << TextOf(name);
      ASSERT_EQ(alerts.Alerts().size(), 1u) << TextOf(name);
      EXPECT_EQ(alerts.Alerts()[0].text,
                "Le fichier "_cp + TextOf(name) + " est corrompu.\nVeux-tu le supprimer maintenant ?"_cp);
      // Cancel leaves a white thumbnail and the file in its place.
      const Rect cell = browser.CellRect(i);
      EXPECT_EQ(window.surface->Pixel(cell.left + 5, cell.top + 5), kWhite) << TextOf(name);
      ASSERT_NE(browser.FileAt(i), nullptr) << TextOf(name);
    }
    // The question comes back the next time; OK deletes the file and the items after it move up.
    alerts.Clear();
    alerts.Answer({IDOK});
    browser.GetChore()->AddJob(4);
    EXPECT_TRUE(browser.RenderThumbnail(2));
    EXPECT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_EQ(browser.NumItems(), 3);
    EXPECT_FALSE(Exists("cut.bmp"));
    EXPECT_TRUE(Exists("cut.gif"));
    String second;
    browser.FileAt(2)->GetName(second);
    EXPECT_EQ(TextOf(second), "cut.gif");
  });
}

TEST_F(BrowserThumbnailTest, ADamagedPreviewStoreIsMadeAgainWithoutQuestions) {
  WritePicture("a.bmp", 64, 48, kBlue);
  Write("_preview.pre", "not a preview at all");
  InBrowser([&](CBrowser& browser, TestWindow& window) {
    AlertRecorder alerts;
    EXPECT_FALSE(browser.RenderThumbnail(1));
    EXPECT_TRUE(alerts.Alerts().empty());
    const Rect cell = browser.CellRect(1);
    EXPECT_EQ(window.surface->Pixel(cell.left + 10, cell.top + 10), kBlue);
  });
}

TEST_F(BrowserThumbnailTest, AnItemScrolledOutOfViewIsSkipped) {
  for (int n = 0; n < 9; ++n) WritePicture("p" + std::to_string(n) + ".bmp", 64, 48, kBlue);
  InBrowser([&](CBrowser& browser, TestWindow&) {
    AlertRecorder alerts;
    browser.SetValue(0, 2);
    EXPECT_FALSE(browser.RenderThumbnail(1));
    EXPECT_FALSE(browser.FileAt(1)->GetPreview());
    EXPECT_FALSE(browser.RenderThumbnail(5));
    EXPECT_TRUE(browser.FileAt(5)->GetPreview());
  });
}

// A page's thumbnail is the whole stage scaled to the cell, but in the hot-link browser only the box of
// what lies on the stage: a 480 x 360 page with one sprite in its lower right quarter.
TEST_F(BrowserThumbnailTest, APageShowsItsWholeStageOrInTheHotLinkBrowserItsContent) {
  SmartRef<CShow> page = engine_test::MakePage({0, 0, 480, 360}, 1);
  CSprite* sprite = engine_test::AddSprite(engine_test::GroupOf(*page), *engine_test::SolidPicture(120, 90, 9), 0, 1);
  engine_test::PlaceAt(*sprite, 0, {240, 180});
  const std::string bytes = document_testing::SaveDocument(SmartRef<Smart>(~page));
  struct Case {
    const char* name;
    std::int32_t tool;
    // Points of the cell that show the sprite, and points that do not.
    std::vector<Point> sprite, elsewhere;
  } cases[] = {
      {"whole stage", kBrowseClip, {{33, 25}, {46, 34}}, {{2, 2}, {30, 22}, {61, 10}, {10, 45}}},
      {"content only", kBrowseHotLink, {{1, 1}, {62, 1}, {1, 46}, {62, 46}, {32, 24}}, {}},
  };
  // A folder each: their previews would stand for one another at the same size.
  for (const Case& c : cases) Write("page.zod", bytes, c.name);
  InAuthoringProgram([&](PaintToolsWindow&) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      InBrowserOf(c.name, c.tool, [&](CBrowser& browser, TestWindow& window) {
        AlertRecorder alerts;
        ASSERT_EQ(browser.NumItems(), 1);
        EXPECT_FALSE(browser.RenderThumbnail(1));
        EXPECT_TRUE(alerts.Alerts().empty());
        SmartRef<Image> stored = browser.FileAt(1)->GetPreview();
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->GetBounds().Size(), Point(64, 48));
        const Rect cell = browser.CellRect(1);
        const std::uint32_t colour = window.surface->Pixel(cell.left + 40, cell.top + 30);
        EXPECT_NE(colour, kWhite);
        for (const Point& p : c.sprite)
          EXPECT_EQ(window.surface->Pixel(cell.left + p.x, cell.top + p.y), colour) << p.x << "," << p.y;
        for (const Point& p : c.elsewhere)
          EXPECT_NE(window.surface->Pixel(cell.left + p.x, cell.top + p.y), colour) << p.x << "," << p.y;
      });
    }
    SaveCurrentPreview();
  });
}

// Every reader's own seeds cut short: a file its reader refuses is offered for deletion once, and Cancel
// leaves a blank cell. The JPEG reader shows what it read of a file cut inside its picture data, as the
// library's own readers do: such a file is a picture, not a damaged file.
TEST_F(BrowserThumbnailTest, EveryReadersSeedsCutShortAreOfferedForDeletionOnce) {
  namespace fs = std::filesystem;
  std::map<std::string, bool> offered;
  for (const char* reader : {"bmp", "gif", "jpeg"}) {
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(QUILLORY_SOURCE_DIR) / "fuzz" / "corpus" / reader)) {
      const std::string seed = entry.path().filename().string();
      if (seed.rfind("seed-", 0) != 0) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      ASSERT_GT(bytes.size(), 20u) << seed;
      const std::string half = bytes.substr(0, bytes.size() / 2);
      Write("half-" + seed.substr(5), half);
      offered["half-" + seed.substr(5)] = std::string(reader) != "jpeg" || half.find("\xFF\xDA") == std::string::npos;
      Write("head-" + seed.substr(5), bytes.substr(0, 20));
      offered["head-" + seed.substr(5)] = true;
    }
  }
  ASSERT_GE(offered.size(), 6u);
  InBrowser([&](CBrowser& browser, TestWindow& window) {
    AlertRecorder alerts;
    ASSERT_EQ(browser.NumItems(), static_cast<std::int32_t>(offered.size()));
    for (std::int32_t i = 1; i <= browser.NumItems(); ++i) {
      String text;
      browser.FileAt(i)->GetName(text);
      const std::string name = TextOf(text);
      SCOPED_TRACE(name);
      browser.SetValue(0, (i - 1) / browser.GetColumns());
      alerts.Clear();
      alerts.Answer({IDCANCEL});
      EXPECT_FALSE(browser.RenderThumbnail(i));
      EXPECT_TRUE(Exists(name));
      if (!offered[name]) {
        EXPECT_TRUE(alerts.Alerts().empty());
        EXPECT_TRUE(browser.FileAt(i)->GetPreview()) << "what was read is kept as its thumbnail";
        continue;
      }
      ASSERT_EQ(alerts.Alerts().size(), 1u);
      EXPECT_EQ(alerts.Alerts()[0].text, "Le fichier "_cp + name + " est corrompu.\nVeux-tu le supprimer maintenant ?"_cp);
      const Rect cell = browser.CellRect(i);
      EXPECT_EQ(window.surface->Pixel(cell.left + 5, cell.top + 5), kWhite);
      EXPECT_EQ(window.surface->Pixel(cell.right - 2, cell.bottom - 2), kWhite);
    }
  });
}

// A file another program holds open says nothing about its contents: a blank cell and no question, and
// the picture once the file is free again.
TEST_F(BrowserThumbnailTest, AFileInUseGetsABlankCellAndNoQuestion) {
  WritePicture("a.bmp", 64, 48, kBlue);
  InBrowser([&](CBrowser& browser, TestWindow& window) {
    AlertRecorder alerts;
    const std::string path = data->folder.WinPath("Clips\\a.bmp");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(browser.RenderThumbnail(1));
    CloseHandle(held);
    EXPECT_TRUE(alerts.Alerts().empty()) << alerts.Alerts().front().text;
    const Rect cell = browser.CellRect(1);
    EXPECT_EQ(window.surface->Pixel(cell.left + 10, cell.top + 10), kWhite);
    EXPECT_TRUE(Exists("a.bmp"));
    EXPECT_FALSE(browser.FileAt(1)->GetPreview()) << "nothing is stored for a file not read";
    EXPECT_FALSE(browser.RenderThumbnail(1));
    EXPECT_EQ(window.surface->Pixel(cell.left + 10, cell.top + 10), kBlue);
  });
}

}  // namespace
}  // namespace editor_test
