#include <gtest/gtest.h>

#include <optional>

#include "support/Raised.h"
#include "support/WindowFixture.h"
#include "ui/ViewTestSupport.h"

namespace {

// A shown, active window root over a 200 x 150 surface, on the virtual clock.
class ViewTree : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    window.emplace(200, 150);
    window->MakeFront();
    surface = window->surface;
    notifier = window->notifier;
    root = window->root;
  }
  void TearDown() override {
    window.reset();
    root = nullptr;
    WindowFixture::TearDown();
  }
  SmartRef<ProbeView> Add(View* parent, const Rect& frame, const std::string& name, bool acceptsTarget = true,
                          std::uint8_t anchoring = kAnchorTopLeft) {
    SmartRef<ProbeView> view(new ProbeView(parent, frame, &calls, name, acceptsTarget, anchoring));
    parent->AddSubview(~view);
    return view;
  }
  Rect InvalidBounds() const { return window->InvalidBounds(); }

  std::optional<TestWindow> window;
  SmartRef<SurfaceDevice> surface;
  SmartRef<WindowNotifier> notifier;
  SmartRef<RootView> root;
  CallLog calls;
};

TEST_F(ViewTree, AClickMakesTheClickedViewTheTargetAtEveryLevelAndKeysFollowTheTargets) {
  auto a = Add(~root, {0, 0, 100, 100}, "A");
  auto a1 = Add(~a, {10, 10, 40, 40}, "A1");
  auto a2 = Add(~a, {50, 10, 90, 40}, "A2");
  auto b = Add(~root, {100, 0, 200, 100}, "B");
  EXPECT_EQ(root->GetTarget(), SmartRef<View>(~b));  // the last child added that accepts it
  EXPECT_EQ(a->GetTarget(), SmartRef<View>(~a2));

  calls.clear();
  EXPECT_TRUE(root->MouseDown(20, 30, 4, 2, ~root));
  EXPECT_EQ(calls, (CallLog{"B:off", "A:on", "A2:on", "A:down 20,30 m4 c2", "A2:off", "A1:on", "A1:down 20,30 m4 c2"}));
  EXPECT_EQ(a1->lastWindow, ~root);
  EXPECT_TRUE(a1->IsActive());
  EXPECT_FALSE(b->IsTarget());

  calls.clear();
  EXPECT_TRUE(root->KeyDown(65, 0));
  EXPECT_EQ(calls, (CallLog{"A:key 65", "A1:key 65"}));
}

TEST_F(ViewTree, AClickOnAViewThatRefusesTheTargetLeavesTheKeysWithTheOldTarget) {
  auto b = Add(~root, {0, 0, 50, 50}, "B");
  auto plain = Add(~root, {60, 0, 100, 50}, "N", false);
  EXPECT_TRUE(plain->IsActive());  // a view that takes no target is active with its parent
  calls.clear();
  EXPECT_TRUE(root->MouseDown(70, 10, 0, 1, ~root));
  EXPECT_TRUE(b->IsTarget());
  calls.clear();
  root->KeyDown(8, 0);
  EXPECT_EQ(calls, (CallLog{"B:key 8"}));
}

TEST_F(ViewTree, HitTestsCountAllFourEdgesAsInside) {
  auto child = Add(~root, {10, 20, 50, 60}, "C");
  struct Case {
    std::int32_t x, y;
    bool inside;
  };
  const Case cases[] = {{10, 20, true}, {50, 60, true}, {50, 20, true}, {10, 60, true}, {30, 40, true},
                        {9, 40, false}, {51, 40, false}, {30, 19, false}, {30, 61, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(root->FindSubviewAt(c.x, c.y, false), c.inside ? ~child : nullptr);
    EXPECT_EQ(root->MouseDown(c.x, c.y, 0, 1, ~root), c.inside);
  }
}

TEST_F(ViewTree, TheFrontMostVisibleViewGetsTheMouse) {
  auto back = Add(~root, {0, 0, 100, 100}, "back");
  auto front = Add(~root, {50, 50, 150, 150}, "front");
  calls.clear();
  root->MouseDown(60, 60, 0, 1, ~root);
  root->MouseMoved(70, 70, 0);
  front->Show(false);
  root->MouseMoved(71, 71, 0);
  root->MouseDown(60, 60, 0, 1, ~root);
  // Moving the mouse never changes the target; clicking does.
  const CallLog expected{"front:down 60,60 m0 c1", "front:move 70,70", "front:off", "back:move 71,71", "back:on",
                         "back:down 60,60 m0 c1"};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(root->GetTarget(), SmartRef<View>(~back));
  EXPECT_FALSE(root->MouseMoved(180, 10, 0));
}

TEST_F(ViewTree, HidingAViewDeactivatesItAfterItsChildrenAndShowingItRestoresThem) {
  auto a = Add(~root, {0, 0, 100, 100}, "A");
  auto a1 = Add(~a, {10, 10, 40, 40}, "A1");
  auto idle = Add(~root, {100, 0, 150, 50}, "I", true);
  root->SetTarget(~a);
  calls.clear();
  a->Show(false);
  EXPECT_EQ(calls, (CallLog{"A1:off", "A:off"}));
  EXPECT_FALSE(a1->IsVisible());
  EXPECT_TRUE(a1->IsParentActive() == false && a->IsHidden() && !a1->IsHidden());
  calls.clear();
  a->Show(false);
  EXPECT_TRUE(calls.empty());
  a->Show(true);
  EXPECT_EQ(calls, (CallLog{"A:on", "A1:on"}));

  // The whole window going inactive takes every view with it.
  calls.clear();
  root->SetParentActive(false);
  EXPECT_EQ(calls, (CallLog{"A1:off", "A:off"}));
  EXPECT_FALSE(idle->IsActive());
}

TEST_F(ViewTree, TheTargetMovesOnlyToViewsThatAcceptIt) {
  auto a = Add(~root, {0, 0, 50, 50}, "A");
  auto b = Add(~root, {50, 0, 100, 50}, "B");
  auto plain = Add(~root, {100, 0, 150, 50}, "N", false);
  root->SetTarget(~plain);
  EXPECT_EQ(root->GetTarget(), SmartRef<View>(~b));
  EXPECT_EQ(View::IndexOfTarget(root->GetSubviews()), 2);
  calls.clear();
  b->RefreshTarget();
  EXPECT_EQ(calls, (CallLog{"B:off", "B:on"}));
  b->SetAcceptsTarget(false);
  EXPECT_FALSE(b->IsTarget());
  EXPECT_TRUE(b->IsActive());  // with no target to wait for, it is active with its parent
  root->SetTarget(nullptr);
  EXPECT_EQ(root->GetTarget(), nullptr);
  EXPECT_FALSE(a->IsActive());
  View::SetTargetInList(root->GetSubviews(), ~a);
  EXPECT_TRUE(a->IsTarget() && a->IsActive());
}

TEST_F(ViewTree, RemovingAViewResetsItAndRepaintsWhereItWas) {
  auto a = Add(~root, {10, 10, 60, 40}, "A");
  auto a1 = Add(~a, {20, 20, 30, 30}, "A1");
  auto b = Add(~root, {100, 10, 120, 40}, "B");
  surface->Validate();
  root->RemoveSubview(~b);
  EXPECT_EQ(InvalidBounds(), Rect(100, 10, 120, 40));
  EXPECT_FALSE(b->IsVisible() || b->IsActive() || b->IsTarget() || b->IsParentActive() || b->IsParentVisible());
  EXPECT_EQ(root->GetTarget(), nullptr);
  EXPECT_EQ(root->GetSubviews().NumItems(), 1);

  // A view that is not a child keeps its state.
  a->RemoveSubview(~b);
  root->RemoveSubview(~a1);
  EXPECT_TRUE(a1->IsVisible());

  surface->Validate();
  root->RemoveAllSubviews();
  EXPECT_EQ(InvalidBounds(), Rect(0, 0, 200, 150));
  EXPECT_FALSE(a->IsVisible() || a->IsActive() || a->IsTarget());
  EXPECT_FALSE(a1->IsVisible());
  EXPECT_EQ(root->GetSubviews().NumItems(), 0);
  EXPECT_FALSE(root->MouseDown(20, 20, 0, 1, ~root));
  EXPECT_FALSE(root->KeyDown(65, 0));
}

TEST_F(ViewTree, IdleCallsFollowTheModeAndTheActiveState) {
  auto a = Add(~root, {0, 0, 50, 50}, "A");
  auto b = Add(~root, {50, 0, 100, 50}, "B");
  root->SetTarget(~a);
  a->SetIdleChore(1, 300);
  b->SetIdleChore(1, 300);
  calls.clear();
  Advance(300);
  Pump();
  EXPECT_EQ(calls, (CallLog{"A:idle"}));

  b->SetIdleChore(2, 100);  // always, active or not
  calls.clear();
  Advance(100);
  Pump();
  EXPECT_EQ(calls, (CallLog{"B:idle"}));

  b->SetIdleChore(0, 0);
  a->SetIdleChore(0, 0);
  calls.clear();
  Advance(600);
  Pump();
  EXPECT_TRUE(calls.empty());

  // The root passes idle time down the chain of targets.
  root->Idle();
  EXPECT_EQ(calls, (CallLog{"A:idle"}));
}

TEST_F(ViewTree, ViewsNeedAParentAndAWindowFrame) {
  EXPECT_EQ(RaisedText(Raised([] { ProbeView orphan(nullptr, {0, 0, 1, 1}, nullptr, "X"); })), "Missing (NULL) value.");
  auto a = Add(~root, {0, 0, 50, 50}, "A");
  EXPECT_EQ(a->GetWindowFrame(), ~surface);
  EXPECT_EQ(a->GetNotifier(), notifier);
  EXPECT_EQ(a->MapPointToWindow(~root, Point(3, 4)), Point(3, 4));
}

}  // namespace
