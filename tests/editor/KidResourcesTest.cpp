// The editor's resource set and the looks of its button grids.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "core/Sound.h"
#include "editor/KidResources.h"
#include "graphics/formats/ImageResource.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"

namespace editor_test {
namespace {

using KidResourcesTest = EditorTest;

TEST_F(KidResourcesTest, EachLookHasItsGridAndPicturesOfTheEditorsSet) {
  struct Row {
    int id, rows, columns, width, height, image, pressed, disabled;
  } table[] = {
      {201, 1, 7, 30, 25, 20, 21, 0},     {202, 3, 2, 25, 25, 30, 31, 0},     {203, 2, 2, 33, 33, 10, 11, 0},
      {204, 2, 1, 22, 17, 50, 51, 0},     {206, 1, 1, 66, 33, 60, 61, 62},    {210, 1, 3, 100, 34, 100, 101, 0},
      {211, 1, 3, 100, 34, 110, 111, 0},  {212, 1, 3, 100, 34, 120, 121, 0},  {213, 1, 3, 100, 34, 130, 131, 0},
      {300, 2, 7, 35, 35, 2000, 0, 0},    {301, 2, 10, 35, 35, 2010, 0, 0},   {304, 0, 0, 35, 35, 0, 0, 0},
      {305, 2, 9, 35, 35, 0, 0, 0},       {306, 2, 5, 35, 35, 0, 0, 0},       {307, 2, 9, 35, 35, 0, 0, 0},
      {308, 2, 3, 35, 35, 0, 0, 0},       {309, 2, 2, 35, 35, 0, 0, 0},       {310, 2, 3, 35, 35, 0, 0, 0},
  };
  auto entry = [](int n) { return n == 0 ? nullptr : KidResources::GetImage(n); };
  for (const Row& row : table) {
    SmartRef<PaletteLook> look = KidResources::Describe(row.id);
    ASSERT_TRUE(look) << row.id;
    EXPECT_EQ(look->rows, row.rows) << row.id;
    EXPECT_EQ(look->columns, row.columns) << row.id;
    EXPECT_EQ(look->cellWidth, row.width) << row.id;
    EXPECT_EQ(look->cellHeight, row.height) << row.id;
    // The pictures are the set's own entries, shared with every other user of them.
    EXPECT_EQ(~look->image, entry(row.image)) << row.id;
    EXPECT_EQ(~look->pressedImage, entry(row.pressed)) << row.id;
    EXPECT_EQ(~look->disabledImage, entry(row.disabled)) << row.id;
    EXPECT_TRUE(look->buttonNumbers.empty() && look->downImages.empty() && look->downSelectedImages.empty());
  }
}

TEST_F(KidResourcesTest, AnIdWithoutALookFailsItsAssertionAndTwoCallsGiveTwoLooks) {
  for (int id : {205, 207, 208, 209, 302, 303, 0, 200, 311}) {
    SmartRef<Exception> raised = Raised([&] { KidResources::Describe(id); });
    EXPECT_NE(dynamic_cast<AssertionException*>(~raised), nullptr) << id;
    EXPECT_EQ(RaisedText(raised), "false") << id;
    EXPECT_EQ(RaisedPlace(raised), "ORVANEL/AUTHOR/KidResources:250") << "the line the child's alert shows";
  }
  SmartRef<PaletteLook> first = KidResources::Describe(202);
  SmartRef<PaletteLook> second = KidResources::Describe(202);
  EXPECT_NE(~first, ~second);
  first->rows = 9;
  EXPECT_EQ(second->rows, 3);
  EXPECT_EQ(KidResources::Describe(202)->rows, 3);
}

TEST_F(KidResourcesTest, EntryNIsTheDataFileOfId1000PlusN) {
  data->WritePicture(20, 7, 5, [](int, int) { return 0x112233u; });
  SmartRef<BitMap> picture = KidResources::GetImage(20)->Get();
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->GetBounds(), Rect(0, 0, 7, 5));
  data->WriteSound(3);
  Sound* sound = KidResources::GetSound(3)->Get();
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(KidResources::GetSound(3), KidResources::GetSound(3));
  // The set ends at id 4999.
  EXPECT_EQ(RaisedText(Raised([] { KidResources::GetImage(4000); })), "Resource id not in this set of resources.");
  EXPECT_EQ(RaisedText(Raised([] { KidResources::GetSound(-1); })), "Resource id not in this set of resources.");
}

// A picture that is missing or damaged, or a missing sound, is shown with its id and raises the program's
// error.
TEST_F(KidResourcesTest, AMissingOrDamagedEntryIsShownWithItsId) {
  data->WriteFile(1031, "bmp", "BM not a picture at all");
  data->WriteFile(1005, "wav", "RIFF....WAVEjunk");
  struct Case {
    const char* what;
    std::function<void()> use;
    const char* id;
  } cases[] = {
      {"missing picture", [] { KidResources::GetImage(30)->Get(); }, "1030"},
      {"damaged picture", [] { KidResources::GetImage(31)->Get(); }, "1031"},
      {"missing sound", [] { KidResources::GetSound(4)->Get(); }, "1004"},
      // Refused when read, rather than played as a sound.
      {"damaged sound", [] { KidResources::GetSound(5)->Get(); }, "1005"},
  };
  for (const Case& c : cases) {
    AlertRecorder alerts;
    SmartRef<Exception> raised = Raised(c.use);
    EXPECT_TRUE(raised) << c.what;
    ASSERT_FALSE(alerts.Alerts().empty()) << c.what;
    EXPECT_EQ(alerts.Alerts().front().caption, "Ressource manquante") << c.what;
    EXPECT_NE(alerts.Alerts().front().text.find(c.id), std::string::npos) << c.what << ": " << alerts.Alerts().front().text;
  }
  KidResources::GetImage(30)->Purge();
  KidResources::GetImage(31)->Purge();
}

}  // namespace
}  // namespace editor_test
