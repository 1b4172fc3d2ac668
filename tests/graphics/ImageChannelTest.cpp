#include <gtest/gtest.h>

#include <string>

#include "support/graphics/SurfaceDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/Image.h"
#include "graphics/Paint.h"

namespace {

// A channel node that paints its bounds in one colour and records what it was asked.
class Node : public ImageChannelNode, public SmartImplementation {
 public:
  Node(DisplayDevice* device, const Rect& bounds, int color, std::string* log, char name)
      : ImageChannelNode(device), bounds(bounds), color(color), log(log), name(name) {}
  const ClassInfo* GetClassInfo() const override { return &ImageChannel::classInfo; }
  void* CastTo(const ClassInfo* info) override {
    if (void* found = ImageChannel::CastTo(info)) return found;
    return SmartImplementation::CastTo(info);
  }
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

  void GetBounds(Rect* out) const override { *out = bounds; }
  void SubtractOwnArea(Area& area) override {
    *log += std::string("s") + name;
    if (opaque) area.Subtract(Area(bounds));
  }
  void DrawContent(DisplayPort& port, const Area&) override {
    *log += std::string("d") + name;
    // Larger than the node: the node's clip keeps it inside.
    Rect all = bounds;
    all.Inset(-3);
    port.DrawRect(all, Color(color), Color(color));
  }
  void GetChildren(List* children) const override {
    for (const SmartRef<Node>& child : kids) children->Append(~child);
  }
  std::vector<SmartRef<Node>> kids;
  bool opaque = true;

 private:
  Rect bounds;
  int color;
  std::string* log;
  char name;
};

struct Tree {
  Tree() : device(new SurfaceDevice(10, 6, Color(0))) {
    root = new Node(~device, {0, 0, 10, 6}, 4, &log, 'R');
    root->opaque = false;
    a = new Node(~device, {1, 1, 5, 5}, 7, &log, 'A');
    b = new Node(~device, {3, 2, 8, 4}, 1, &log, 'B');
    root->kids = {a, b};
  }
  std::string log;
  SmartRef<SurfaceDevice> device;
  SmartRef<Node> root, a, b;
};

TEST(ImageChannelNode, DrawsBackToFrontAndSubtractsFrontToBack) {
  Tree tree;
  tree.device->InvalidateArea(Area(Rect{0, 0, 10, 6}), Area::emptyArea());
  tree.root->Redraw(~tree.device);
  EXPECT_EQ(tree.log, "sBsAsRdRdAdB");
  EXPECT_FALSE(tree.device->NeedsUpdate());
  EXPECT_EQ(tree.device->Picture({{0x808080, 'g'}, {0xFF0000, 'r'}, {0, '#'}}),
            "gggggggggg\n"
            "grrrrggggg\n"
            "grr#####gg\n"
            "grr#####gg\n"
            "grrrrggggg\n"
            "gggggggggg\n");
}

// The root draws nothing of its own, so only the erase and the child show.
struct Quiet : Node {
  using Node::Node;
  void DrawContent(DisplayPort&, const Area&) override {}
};

TEST(ImageChannelNode, ErasesOnlyWhatNothingOpaqueCovers) {
  Tree tree;
  tree.device->Fill(0x0000FF);
  SmartRef<Quiet> root(new Quiet(~tree.device, {0, 0, 10, 6}, 4, &tree.log, 'Q'));
  root->opaque = false;
  root->kids = {tree.a};
  tree.device->InvalidateArea(Area(Rect{0, 0, 2, 2}), Area::emptyArea());
  root->Redraw(~tree.device);
  // (0,0), (1,0), (0,1) are erased white; (1,1) lies under a, which is opaque and paints red.
  EXPECT_EQ(tree.device->Pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(tree.device->Pixel(1, 0), 0xFFFFFFu);
  EXPECT_EQ(tree.device->Pixel(0, 1), 0xFFFFFFu);
  EXPECT_EQ(tree.device->Pixel(1, 1), 0xFF0000u);
  EXPECT_EQ(tree.device->Pixel(2, 0), 0x0000FFu) << "outside the invalid area";
}

TEST(ImageChannelNode, OnAnotherDeviceOnlyTheChildrenDraw) {
  Tree tree;
  SmartRef<SurfaceDevice> other(new SurfaceDevice(10, 6));
  // b shows on the other device (as a player shown in a view shows on the view's device).
  tree.b = new Node(~other, {3, 2, 8, 4}, 1, &tree.log, 'B');
  tree.root->kids = {tree.a, tree.b};
  {
    DisplayPort port(~other, {0, 0, 10, 6});
    tree.root->Draw(port, Area(Rect{0, 0, 10, 6}));
  }
  Area area(Rect{0, 0, 10, 6});
  tree.root->SubtractCovered(~other, area);
  EXPECT_EQ(tree.log, "dBsB");
  EXPECT_EQ(other->Pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(other->Pixel(3, 2), 0u);
}

TEST(ImageChannelNode, ARedrawPaintsOnlyTheInvalidArea) {
  Tree tree;
  tree.device->Fill(0x0000FF);
  tree.device->InvalidateArea(Area(Rect{4, 2, 6, 3}), Area::emptyArea());
  tree.root->Redraw(~tree.device);
  EXPECT_EQ(tree.device->Picture({{0x808080, 'g'}, {0xFF0000, 'r'}, {0, '#'}, {0x0000FF, '-'}}),
            "----------\n"
            "----------\n"
            "----##----\n"
            "----------\n"
            "----------\n"
            "----------\n");
}

TEST(ImageChannelNode, NothingInvalidOpensNoPort) {
  Tree tree;
  tree.root->Redraw(~tree.device);
  EXPECT_EQ(tree.device->beginCount, 0);
  EXPECT_EQ(tree.log, "");
}

// An image that covers its bounds; what the base class gives every image.
class Square : public Image {
 public:
  void Draw(DisplayPort&, int) override {}
  ColorTable* GetColorTable() const override { return nullptr; }
  void GetBounds(Rect* out) const override { *out = {2, 3, 6, 7}; }
};

TEST(Image, AreasAreNewObjectsOfTheCaller) {
  SmartRef<Square> square(new Square);
  SmartRef<Area> area(square->GetArea());
  SmartRef<Area> empty(square->GetEmptyArea());
  EXPECT_EQ(area->GetBounds(), (Rect{2, 3, 6, 7}));
  EXPECT_TRUE(empty->IsEmpty());
  EXPECT_EQ(area->GetReferenceCount(), 1);
  EXPECT_TRUE(square->IsKindOf(&Graphic::classInfo));
  EXPECT_TRUE(square->IsKindOf(&Persistent::classInfo));
}

}  // namespace
