// Lining up items in a row or a column.
#include <gtest/gtest.h>

#include <vector>

#include "EditorTestSupport.h"
#include "editor/RowColumnView.h"
#include "ui/ViewTestSupport.h"

namespace editor_test {
namespace {

using RowColumnViewTest = EditorTest;

struct Item {
  std::int32_t width, height;
  bool hidden = false;
  std::uint8_t anchoring = kAnchorTopLeft;
};

TEST_F(RowColumnViewTest, ItemsFollowEachOtherAndAreCentredAcrossTheLine) {
  struct Case {
    const char* name;
    bool vertical, gap;
    std::int16_t spacing;
    Point start;
    std::vector<Item> items;
    std::vector<Point> corners;  // of the visible items, in order
    Point size;
  } cases[] = {
      {"row with the one-pixel gap", false, true, 0, {0, 0},
       {{10, 8}, {20, 8}, {30, 8}}, {{0, 0}, {11, 0}, {32, 0}}, {62, 8}},
      {"row with spacing 4", false, false, 4, {0, 0},
       {{10, 8}, {20, 8}, {30, 8}}, {{0, 0}, {14, 0}, {38, 0}}, {67, 8}},
      {"hidden items take no room and no spacing", false, false, 4, {0, 0},
       {{5, 8, true}, {10, 8}, {7, 8, true}, {20, 8}, {9, 9, true}}, {{0, 0}, {14, 0}}, {33, 8}},
      {"column centres the narrower item", true, false, 0, {0, 0},
       {{40, 10}, {20, 10}}, {{0, 0}, {10, 10}}, {40, 19}},
      {"row centres lower items, from its start", false, false, 2, {5, 7},
       {{10, 20}, {10, 11}}, {{5, 7}, {17, 11}}, {21, 20}},
      {"a stretched item is placed but sets no thickness", true, false, 0, {0, 0},
       {{60, 5, false, kAnchorTop | kAnchorLeft | kAnchorRight}, {30, 5}}, {{-15, 0}, {0, 5}}, {30, 9}},
  };
  for (const Case& c : cases) {
    TestWindow window(400, 300);
    SmartRef<RowColumnView> layout(new RowColumnView(~window.root, c.vertical, c.gap, c.spacing));
    window.root->AddSubview(~layout);
    EXPECT_EQ(layout->GetBounds(), Rect(0, 0, 400, 300)) << c.name;
    std::vector<SmartRef<View>> views;
    for (const Item& item : c.items) {
      views.push_back(new View(~layout, Rect(100, 100, 100 + item.width, 100 + item.height), item.anchoring, false, false));
      layout->AddSubview(~views.back());
      if (item.hidden) views.back()->Show(false);
    }
    EXPECT_EQ(layout->Arrange(c.start.x, c.start.y), c.size) << c.name;
    std::size_t visible = 0;
    for (std::size_t i = 0; i < views.size(); ++i) {
      const Rect frame = views[i]->GetBounds();
      EXPECT_EQ(frame.Size(), Point(c.items[i].width, c.items[i].height)) << c.name << " item " << i;
      if (c.items[i].hidden) continue;
      EXPECT_EQ(frame.TopLeft(), c.corners[visible++]) << c.name << " item " << i;
    }
    EXPECT_EQ(layout->GetBounds(), Rect::FromSizeAndOrigin(c.size, c.start)) << c.name;
  }
}

TEST_F(RowColumnViewTest, NothingThatTakesRoomAnswersZeroAndKeepsTheSize) {
  struct Case {
    const char* name;
    std::vector<Item> items;
  } cases[] = {
      {"no items", {}},
      {"all hidden", {{10, 10, true}, {20, 10, true}}},
      {"all stretched top to bottom", {{10, 10, false, kAnchorAll}, {20, 10, false, kAnchorTop | kAnchorBottom}}},
  };
  for (const Case& c : cases) {
    TestWindow window(200, 100);
    SmartRef<RowColumnView> layout(new RowColumnView(~window.root, false, false, 3));
    std::vector<SmartRef<View>> views;
    for (const Item& item : c.items) {
      views.push_back(new View(~layout, Rect(0, 0, item.width, item.height), item.anchoring, false, false));
      layout->AddSubview(~views.back());
      if (item.hidden) views.back()->Show(false);
    }
    EXPECT_EQ(layout->Arrange(0, 0), Point(0, 0)) << c.name;
    EXPECT_EQ(layout->GetBounds(), Rect(0, 0, 200, 100)) << c.name;
  }
}

}  // namespace
}  // namespace editor_test
