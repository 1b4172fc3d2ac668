// Cursors of the resource sets and the Cursor wrapper: which handle each id gives, sharing handles, and the
// cursor's shape as a picture.
#include <gtest/gtest.h>

#include <string>

#include "ui/shell/WinMain.h"
#include "core/CoreState.h"
#include "core/Resources.h"
#include "core/String.h"
#include "graphics/bitmaps/BitMap.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Cursor.h"
#include "support/Raised.h"
#include "support/graphics/GraphicsFixture.h"
#include "ui/shell/Cursor.h"

namespace {

const HINSTANCE kProgram = reinterpret_cast<HINSTANCE>(0x400000);

class CursorTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    TheCoreState().osApp = nullptr;
    record.instance = kProgram;
    Resources::SetOSApp(&record);
  }
  void TearDown() override {
    SetCursor(nullptr);
    TheCoreState().osApp = nullptr;
    GraphicsFixture::TearDown();
  }

  static HCURSOR Handle(const Resources& set, int index) {
    const SmartRef<Cursor> cursor(set.GetCursor(index));
    return cursor->GetHandle();
  }

  MainWindowRecord record;
};

TEST_F(CursorTest, EachIdComesFromTheSystemOrTheProgram) {
  // System cursors are the standard ones, whatever the program holds.
  EXPECT_EQ(Handle(gSystemCursors, StandardCursorIndex(0)), LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(Handle(gSystemCursors, StandardCursorIndex(1)), LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_EQ(Handle(gSystemCursors, StandardCursorIndex(2)), LoadCursorA(nullptr, IDC_IBEAM));
  // The program's own, by id; an id the program has no cursor for gives its cursor 201.
  const HCURSOR pencil = LoadCursorA(kProgram, MAKEINTRESOURCEA(201));
  ASSERT_NE(pencil, nullptr);
  EXPECT_EQ(Handle(stockResources, 8), LoadCursorA(kProgram, MAKEINTRESOURCEA(208)));
  EXPECT_NE(Handle(stockResources, 8), pencil);
  EXPECT_EQ(Handle(stockResources, 5), pencil);
  EXPECT_EQ(Handle(stockResources, 1), pencil);
  // A system id the system has no cursor for is an error, not some other cursor.
  EXPECT_EQ(RaisedText(Raised([] { SmartRef<Cursor>(gSystemCursors.GetCursor(30)); })), "system error 1814");
  EXPECT_EQ(RaisedText(Raised([] { SmartRef<Cursor>(stockResources.GetCursor(200)); })),
            "Resource id not in this set of resources.");
  TheCoreState().osApp = nullptr;
  EXPECT_EQ(RaisedText(Raised([] { SmartRef<Cursor>(stockResources.GetCursor(8)); })), "Resources::osApp != NULL");
  // The system's cursors need no application.
  EXPECT_EQ(Handle(gSystemCursors, 0), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(CursorTest, CopiesShareTheHandleAndNoneDestroysIt) {
  SmartRef<Cursor> cross(stockResources.GetCursor(8));
  const HCURSOR handle = cross->GetHandle();
  SmartRef<Smart> clone(cross->Clone());
  auto* copy = CastSmart<Cursor>(~clone);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->GetHandle(), handle);
  clone = nullptr;
  cross->Set();
  EXPECT_EQ(GetCursor(), handle);
  cross = nullptr;
  // The handle outlives every Cursor that held it.
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(handle, &info));
  DeleteObject(info.hbmMask);
  SmartRef<Cursor> arrow(gSystemCursors.GetCursor(0));
  EXPECT_TRUE(arrow->CanCopyFrom(~SmartRef<Cursor>(new Cursor(handle))));
  arrow->CopyFrom(~SmartRef<Cursor>(new Cursor(handle)));
  EXPECT_EQ(arrow->GetHandle(), handle);
  SmartRef<String> text(new String("x"));
  EXPECT_FALSE(arrow->CanCopyFrom(~text));
  EXPECT_EQ(RaisedText(Raised([&] { arrow->CopyFrom(~text); })), "castPtr");
}

TEST_F(CursorTest, TheImageIsTheShapeOfTheCursorAndItsHotSpot) {
  // The shapes' cursor: a cross with an open centre, its hot spot in the middle.
  SmartRef<Cursor> cross(stockResources.GetCursor(8));
  SmartRef<BitMap> image;
  Point hot(-1, -1);
  cross->MakeImage(&image, &hot);
  ASSERT_TRUE(image);
  EXPECT_EQ(hot, Point(7, 7));
  EXPECT_EQ(image->GetBitDepth(), 1);
  EXPECT_EQ(image->GetBounds(), Rect(0, 0, 32, 32));
  const Color black(0, 0, 0, 0), white(0xFFFF, 0xFFFF, 0xFFFF, 0);
  std::string wrong;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool arm = (y == 7 || x == 7) && x < 15 && y < 15 && !(x >= 6 && x <= 8 && y >= 6 && y <= 8);
      const Color seen = image->GetPixelColor(image->GetPixelValue(x, y));
      if (seen != (arm ? black : white)) wrong += "(" + std::to_string(x) + "," + std::to_string(y) + ")";
    }
  EXPECT_EQ(wrong, "") << "black where the cursor paints, white where the screen shows through";

  SmartRef<BitMap> none;
  EXPECT_EQ(RaisedText(Raised([&] { Cursor(reinterpret_cast<HCURSOR>(0x7777)).MakeImage(&none, &hot); })),
            "system error 6");
  EXPECT_FALSE(none);
}

}  // namespace
