#include <gtest/gtest.h>

#include <optional>

#include "support/Raised.h"
#include "support/graphics/GraphicsFixture.h"
#include "ui/ViewTestSupport.h"
#include "ui/views/Window.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;

// A window root over an 8 x 6 surface that erases with white, and views that paint their frames.
class ViewDrawing : public GraphicsFixture, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    window.emplace(8, 6, GetParam());
    surface = window->surface;
    surface->Fill(0x123456);
    root = window->root;
  }
  void TearDown() override {
    window.reset();
    root = nullptr;
    GraphicsFixture::TearDown();
  }
  SmartRef<ProbeView> Painter(const Rect& frame, std::uint32_t rgb) {
    SmartRef<ProbeView> view(new ProbeView(~root, frame, nullptr, "P"));
    view->paint = true;
    view->color = Color::FromRGB8(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
    root->AddSubview(~view);
    return view;
  }
  std::string Picture() const {
    return surface->Picture({{kWhite, '.'}, {kRed, 'r'}, {kBlue, 'b'}, {kGreen, 'g'}, {0x123456, '-'}});
  }

  std::optional<TestWindow> window;
  SmartRef<SurfaceDevice> surface;
  SmartRef<RootView> root;
};

TEST_P(ViewDrawing, TheTreePaintsBackToFrontWithinFramesAndOnlyWhereInvalid) {
  auto red = Painter({0, 0, 4, 4}, kRed);
  auto blue = Painter({2, 2, 6, 5}, kBlue);
  auto green = Painter({5, 0, 8, 2}, kGreen);
  green->Show(false);
  root->Redraw(~surface);
  EXPECT_EQ(Picture(), "--------\n--------\n--------\n--------\n--------\n--------\n") << "a hidden window paints nothing";

  root->Show(true);
  root->Redraw(~surface);
  EXPECT_EQ(Picture(),
            "rrrr....\n"
            "rrrr....\n"
            "rrbbbb..\n"
            "rrbbbb..\n"
            "..bbbb..\n"
            "........\n");
  EXPECT_FALSE(surface->NeedsUpdate());

  // Only the invalidated part is painted again.
  surface->Fill(0x123456);
  green->Show(true);
  root->Redraw(~surface);
  EXPECT_EQ(Picture(),
            "-----ggg\n"
            "-----ggg\n"
            "--------\n"
            "--------\n"
            "--------\n"
            "--------\n");

  surface->Fill(0x123456);
  blue->Show(false);
  root->Redraw(~surface);
  EXPECT_EQ(Picture(),
            "--------\n"
            "--------\n"
            "--rr..--\n"
            "--rr..--\n"
            "--....--\n"
            "--------\n");
}

TEST_P(ViewDrawing, MovingAViewRepaintsWhereItWasAndWhereItGoes) {
  root->Show(true);
  auto red = Painter({0, 0, 2, 2}, kRed);
  root->Redraw(~surface);
  red->SetBounds(5, 3, 8, 6);
  EXPECT_EQ(window->InvalidBounds(), Rect(0, 0, 8, 6));
  root->Redraw(~surface);
  EXPECT_EQ(Picture(),
            "........\n"
            "........\n"
            "........\n"
            ".....rrr\n"
            ".....rrr\n"
            ".....rrr\n");
}

INSTANTIATE_TEST_SUITE_P(DirectAndBuffered, ViewDrawing, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Buffered" : "Direct"; });

using ViewPainting = GraphicsFixture;

TEST_F(ViewPainting, ShowingAndHidingRepaintTheViewsAreaOnce) {
  TestWindow window(6, 5);
  const SmartRef<RootView>& root = window.root;
  root->MakeShown();
  SmartRef<ProbeView> child(new ProbeView(~root, {1, 1, 3, 4}, nullptr, "C"));
  root->AddSubview(~child);
  struct Step {
    bool show;
    Rect invalid;
  };
  const Step steps[] = {{false, {1, 1, 3, 4}}, {false, {0, 0, 0, 0}}, {true, {1, 1, 3, 4}}, {true, {0, 0, 0, 0}}};
  for (const Step& step : steps) {
    window.surface->Validate();
    child->Show(step.show);
    EXPECT_EQ(window.InvalidBounds(), step.invalid) << step.show;
  }
}

TEST_F(ViewPainting, HighlightInvertsATwoPixelFrameAndASecondCallTakesItAway) {
  TestWindow window(6, 5);
  const SmartRef<RootView>& root = window.root;
  const SmartRef<SurfaceDevice>& surface = window.surface;
  root->Highlight();
  EXPECT_EQ(surface->Picture({{0xFFFFFF, '.'}, {0, '#'}}), "......\n......\n......\n......\n......\n")
      << "a hidden view draws nothing";
  root->Show(true);
  root->Highlight();
  EXPECT_EQ(surface->Picture({{0xFFFFFF, '.'}, {0, '#'}}),
            "######\n"
            "######\n"
            "##..##\n"
            "######\n"
            "######\n");
  root->Highlight();
  EXPECT_EQ(surface->Picture({{0xFFFFFF, '.'}, {0, '#'}}), "......\n......\n......\n......\n......\n");
}

TEST_F(ViewPainting, BuffersAreCopiedThroughTheFrameAndRequired) {
  TestWindow window(6, 5);
  const SmartRef<RootView>& root = window.root;
  const SmartRef<SurfaceDevice>& surface = window.surface;
  root->Show(true);
  {
    DisplayPort port(~surface, {0, 0, 6, 5});
    EXPECT_EQ(RaisedText(Raised([&] { root->CopyBufferToPort(port, Area(Rect(0, 0, 6, 5))); })), "~buffer != NULL");
  }
  EXPECT_EQ(root->GetBufferOrDevice(), SmartRef<DisplayDevice>(~surface));
  root->SetBuffered(true);
  EXPECT_TRUE(root->IsBuffered());
  EXPECT_NE(root->GetBufferOrDevice(), SmartRef<DisplayDevice>(~surface));

  // A child made now draws into the buffer, and reaches the surface only through a copy.
  SmartRef<ProbeView> red(new ProbeView(~root, {0, 0, 2, 2}, nullptr, "R"));
  red->paint = true;
  red->color = Color::FromRGB8(255, 0, 0);
  root->AddSubview(~red);
  EXPECT_EQ(red->GetDevice(), ~root->GetBufferOrDevice());
  root->Redraw(~root->GetBufferOrDevice());
  surface->Fill(0x00FF00);
  root->RedrawFromBuffer(Area(Rect(0, 0, 1, 6)));
  EXPECT_EQ(surface->Picture({{0xFFFFFF, '.'}, {0xFF0000, 'r'}, {0x00FF00, 'g'}}),
            "rggggg\n"
            "rggggg\n"
            ".ggggg\n"
            ".ggggg\n"
            ".ggggg\n");
  // A view command does the same for the area it holds, on a buffered view only.
  SmartRef<ViewCommand> command(new ViewCommand(new Area(Rect(1, 1, 2, 6))));
  EXPECT_EQ(command->GetSignalStatus(~root), kCommandEnabled);
  EXPECT_EQ(command->GetSignalStatus(~surface), kCommandDisabled) << "not a view";
  command->Send(~root);
  EXPECT_EQ(surface->Picture({{0xFFFFFF, '.'}, {0xFF0000, 'r'}, {0x00FF00, 'g'}}),
            "rggggg\n"
            "rrgggg\n"
            "..gggg\n"
            "..gggg\n"
            "..gggg\n");

  root->SetBuffered(false);
  EXPECT_FALSE(root->IsBuffered());
  EXPECT_EQ(root->GetBufferOrDevice(), SmartRef<DisplayDevice>(~surface));
  EXPECT_EQ(command->GetSignalStatus(~root), kCommandDisabled);
  EXPECT_EQ(RaisedPlace(Raised([&] { command->Send(~root); })), "View:472");
}

}  // namespace
