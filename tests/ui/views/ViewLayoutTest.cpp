#include <gtest/gtest.h>

#include <optional>

#include "support/WindowFixture.h"
#include "ui/ViewTestSupport.h"

namespace {

class ViewLayout : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    window.emplace(200, 150);
    window->root->Show(true);
    root = window->root;
    surface = window->surface;
  }
  void TearDown() override {
    window.reset();
    root = nullptr;
    WindowFixture::TearDown();
  }
  SmartRef<ProbeView> Add(View* parent, const Rect& frame, std::uint8_t anchoring, Rect range = {0, 0, 0, 0}) {
    SmartRef<ProbeView> view(new ProbeView(parent, frame, nullptr, "V", true, anchoring));
    view->sizeRange = range;
    parent->AddSubview(~view);
    return view;
  }
  Rect Limits(View* view) {
    Rect limits;
    view->GetSizeLimits(&limits);
    return limits;
  }

  std::optional<TestWindow> window;
  SmartRef<RootView> root;
  SmartRef<SurfaceDevice> surface;
};

TEST_F(ViewLayout, SubviewsFollowTheEdgesTheyAreAnchoredTo) {
  struct Case {
    std::uint8_t anchoring;
    Rect after;
  };
  const Rect start{20, 30, 60, 70};
  const Case cases[] = {
      {kAnchorTopLeft, {20, 30, 60, 70}},
      {kAnchorRight, {30, 30, 70, 70}},
      {kAnchorLeft | kAnchorRight, {20, 30, 70, 70}},
      {kAnchorBottom, {20, 40, 60, 80}},
      {kAnchorTop | kAnchorBottom, {20, 30, 60, 80}},
      {0, {20, 30, 60, 70}},
      {kAnchorAll, {20, 30, 70, 80}},
  };
  std::vector<SmartRef<ProbeView>> views;
  for (const Case& c : cases) views.push_back(Add(~root, start, c.anchoring));
  // A grandchild follows the right edge of a stretching child.
  auto inner = Add(~views[2], {50, 35, 55, 40}, kAnchorRight | kAnchorTop);

  root->SetBounds(0, 0, 210, 160);
  EXPECT_EQ(root->GetBounds(), Rect(0, 0, 210, 160));
  for (std::size_t i = 0; i < views.size(); ++i)
    EXPECT_EQ(views[i]->GetBounds(), cases[i].after) << "anchoring " << int(cases[i].anchoring);
  EXPECT_EQ(inner->GetBounds(), Rect(60, 35, 65, 40));

  // Moving the parent's top-left edge moves the children that follow it.
  root->ResizeBy(-5, -5, 0, 0);
  EXPECT_EQ(views[0]->GetBounds(), Rect(15, 25, 55, 65));
  EXPECT_EQ(views[5]->GetBounds(), Rect(20, 30, 60, 70));
}

TEST_F(ViewLayout, SizeLimitsComeFromTheViewAndItsStretchingSubviews) {
  const Rect frame{10, 10, 110, 60};  // 100 x 50
  const Rect unboundedHeight{0, 0, 0, kUnboundedSize};

  // Alone, with the default range: it may shrink to nothing and grow not at all.
  auto alone = Add(~root, frame, kAnchorAll);
  EXPECT_EQ(Limits(~alone), Rect(0, 0, 0, 0));
  alone->FitSize(false);
  EXPECT_EQ(alone->GetBounds(), Rect(10, 10, 10, 10));

  // A child stretching top to bottom without a maximum height unbounds the height.
  auto open = Add(~root, frame, kAnchorAll);
  Add(~open, {20, 20, 60, 40}, kAnchorTop | kAnchorBottom | kAnchorLeft, unboundedHeight);
  EXPECT_EQ(Limits(~open).bottom, kUnboundedSize);
  open->FitSize(true);  // an unbounded side keeps its size
  EXPECT_EQ(open->GetBounds().Height(), 50);

  // A view that does not stretch vertically does not ask its children about the height.
  auto fixed = Add(~root, frame, kAnchorTopLeft);
  Add(~fixed, {20, 20, 60, 40}, kAnchorTop | kAnchorBottom | kAnchorLeft, unboundedHeight);
  EXPECT_EQ(Limits(~fixed), Rect(0, 0, 100, 50));

  // A fixed child bounds the size at what still holds it.
  auto holder = Add(~root, frame, kAnchorAll);
  Add(~holder, {20, 20, 60, 40}, kAnchorTopLeft);
  EXPECT_EQ(Limits(~holder), Rect(0, 0, 50, 30));
  holder->FitSize(true);
  EXPECT_EQ(holder->GetBounds(), Rect(10, 10, 60, 40));

  // A stretching child's own range bounds how far its parent shrinks and grows.
  auto elastic = Add(~root, frame, kAnchorAll);
  auto child = Add(~elastic, {20, 20, 100, 50}, kAnchorAll, {30, 20, 80, 40});
  EXPECT_EQ(Limits(~elastic), Rect(50, 40, 100, 60));
  elastic->FitSize(true);
  EXPECT_EQ(elastic->GetBounds(), Rect(10, 10, 110, 70));
  EXPECT_EQ(child->GetBounds(), Rect(20, 20, 100, 60));
  elastic->SetBounds(10, 10, 30, 20);
  elastic->FitSize(false);
  EXPECT_EQ(elastic->GetBounds(), Rect(10, 10, 60, 50));
}

TEST_F(ViewLayout, AResizeRepaintsTheOldAndNewFrame) {
  auto view = Add(~root, {10, 10, 20, 20}, kAnchorTopLeft);
  surface->Validate();
  view->ResizeBy(0, 0, 0, 0);
  EXPECT_FALSE(surface->NeedsUpdate());
  view->SetBounds(30, 10, 40, 20);
  Area invalid;
  surface->GetInvalidArea(&invalid);
  EXPECT_EQ(invalid.NumRects(), 2);
  EXPECT_EQ(invalid.GetBounds(), Rect(10, 10, 40, 20));
}

}  // namespace
