// The browser's thumbnails, each drawn by one job of its chore: stored previews of the right size drawn
// as they are, new ones made from the files, and damaged files offered for deletion.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "editor/browser/CBrowser.h"
#include "editor/browser/CChoreStrips.h"
#include "graphics/bitmaps/BitMap.h"
#include "support/AlertRecorder.h"
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
      TestWindow window(400, 300);
      window.MakeFront();
      SmartRef<FileReference> folder(new FileReference(data->folder.WinPath("Clips").c_str()));
      SmartRef<CTool> tool(new CTool(kBrowseClip, nullptr, false, nullptr));
      SmartRef<CBrowser> browser(new CBrowser(~window.root, Rect(0, 0, 192, 160), *folder, ~tool, 64, 48));
      window.root->AddSubview(~browser);
      body(*browser, window);
      window.root->RemoveAllSubviews();
      SaveCurrentPreview();
    });
  }
  void Write(const std::string& name, const std::string& bytes) {
    data->folder.MakeFolder("Clips");
    data->folder.Write("Clips/" + name, bytes);
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

}  // namespace
}  // namespace editor_test
