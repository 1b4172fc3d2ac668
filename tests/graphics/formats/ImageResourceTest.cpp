#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/Alert.h"
#include "core/FileReference.h"
#include "core/Resources.h"
#include "core/Text1252.h"
#include "graphics/formats/ImageResource.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Files.h"
#include "platform/user/BitmapResource.h"
#include "platform/user/MessageBox.h"
#include "support/graphics/GraphicsFixture.h"
#include "graphics/PictureFixtures.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "support/TempFolder.h"
#include "graphics/SystemVersion.h"

namespace {

// An 8-bit BMP file of the size with two colours (0 white, 1 black), pixel (x, y) black where set(x, y).
template <class F>
std::string BMPFileOf(int width, int height, F set) {
  picture_testing::BmpBuilder bmp;
  bmp.width = width;
  bmp.height = height;
  bmp.colors = {0xFFFFFF, 0x000000};
  bmp.colorsUsed = 2;
  const int stride = (width + 3) & ~3;
  bmp.data.assign(static_cast<std::size_t>(stride * height), '\0');
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bmp.data[static_cast<std::size_t>((height - 1 - y) * stride + x)] = static_cast<char>(set(x, y));
  return bmp.Build();
}

// The same picture as the program's bitmap resources hold it: the file without its 14-byte file header.
std::vector<BYTE> PackedDIBOf(const std::string& file) { return {file.begin() + 14, file.end()}; }

// The program started in a folder of its own, whose "Data" folder the test fills.
class NumberedPictures : public GraphicsFixture {
 protected:
  void SetUp() override {
    root.MakeFolder("Data");
    Prepare(32, Win95, root.WinPath());
  }

  TempFolder root;
};

const std::vector<BYTE> kResourcePicture = PackedDIBOf(BMPFileOf(3, 2, [](int, int) { return 1; }));
const platform::BitmapResource kResources[] = {{20501, kResourcePicture}, {20502, kResourcePicture}};
[[maybe_unused]] const bool kRegistered = (platform::RegisterBitmapResources(kResources), true);

TEST_F(NumberedPictures, FilesComeBeforeResourcesAndMissingPicturesAreShown) {
  root.Write("Data/20502.bmp", BMPFileOf(5, 4, [](int, int) { return 0; }));
  Resources set(20500, 20510);
  struct Case {
    int index;
    Point size;  // (0, 0): missing
  };
  const Case cases[] = {{1, {3, 2}}, {2, {5, 4}}, {3, {0, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    AlertRecorder alerts;
    if (c.size == Point::origin) {
      EXPECT_EQ(RaisedText(Raised([&] { set.GetImageData(c.index); })),
                "Fichier de données standard manquant. Réinstaller le programme."_cp);
      ASSERT_EQ(alerts.Alerts().size(), 1u);
      EXPECT_EQ(alerts.Alerts()[0].text, "GetImageData failed!\nResID=20503");
      EXPECT_EQ(alerts.Alerts()[0].caption, "Ressource manquante");
      EXPECT_TRUE(Raised([&] { set.GetImageSize(c.index); }));
      EXPECT_EQ(alerts.Alerts().back().text, "GetSoundSize failed! in res.cpp\nResID=20503");
    } else {
      EXPECT_EQ(set.GetImageSize(c.index), c.size);
      EXPECT_TRUE(alerts.Alerts().empty());
    }
  }
  EXPECT_EQ(RaisedText(Raised([&] { set.GetImageResource(11); })), "Resource id not in this set of resources.");
}

// The picture's file changes under the cache: only a purge that dropped the picture shows the new one.
TEST_F(NumberedPictures, APurgeKeepsWhatACallerStillHolds) {
  const auto blank = [](int, int) { return 0; };
  root.Write("Data/20504.bmp", BMPFileOf(5, 4, blank));
  Resources set(20500, 20510);
  ImageResource* entry = set.GetImageResource(4);
  EXPECT_EQ(set.GetImageResource(4), entry) << "one entry per index";
  EXPECT_TRUE(IsRegisteredPurgeable(entry));
  SmartRef<BitMap> held = entry->Get();
  root.Write("Data/20504.bmp", BMPFileOf(6, 6, blank));
  entry->Purge();
  EXPECT_EQ(~entry->Get(), ~held) << "still held by the caller: kept";
  held = nullptr;
  entry->Purge();
  Rect bounds;
  entry->Get()->GetBounds(&bounds);
  EXPECT_EQ(bounds.Size(), (Point{6, 6})) << "dropped, then loaded again";
}

TEST_F(NumberedPictures, PatternsComeFromPicturesFiftyOn) {
  // Picture 250 + 3 (stock pattern 3): a checkerboard whose set pixels are the black ones.
  root.Write("Data/253.bmp", BMPFileOf(8, 8, [](int x, int y) { return (x + y) % 2 == 0 ? 1 : 0; }));
  const Pattern pattern = GetStockPattern(3);
  for (int row = 0; row < 8; ++row) EXPECT_EQ(pattern.rows[static_cast<std::size_t>(row)], row % 2 ? 0x55 : 0xAA) << row;
}

// The program quits with a stock picture still cached: the set lets it go among the program's static
// objects at exit, when the drawing layer and the string table must still be there to take it back.
TEST_F(NumberedPictures, AStockPictureCachedAtExitIsLetGoCleanly) {
  root.Write("Data/201.bmp", BMPFileOf(4, 3, [](int x, int) { return x % 2; }));
  EXPECT_EXIT(
      {
        // Alerts go to the standard error, where the test reads them.
        InitAlerts();
        platform::SetMessageBoxHandler(nullptr);
        // Held by the set alone when the program ends.
        const bool cached = stockResources.GetImageResource(1)->Get() != nullptr;
        std::exit(cached ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), ::testing::IsEmpty());
}

TEST_F(NumberedPictures, LoadBitmapByNumber) {
  HBITMAP bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(20501));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  ASSERT_NE(GetObjectA(bitmap, sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 3);
  EXPECT_EQ(info.bmHeight, 2);
  DeleteObject(bitmap);
  SetLastError(0);
  EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(20599)), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
  SetLastError(0);
}

}  // namespace
