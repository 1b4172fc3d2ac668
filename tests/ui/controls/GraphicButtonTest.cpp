#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "ui/ControlTestSupport.h"
#include "graphics/DisplayPort.h"
#include "support/graphics/GraphicsFixture.h"
#include "ui/controls/GraphicButton.h"
#include "ui/ViewTestSupport.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kCyan = 0x00FFFF;

// Fills its bounds with one colour and remembers where the port put them.
class Swatch : public GenericGraphic {
 public:
  Swatch(const Rect& bounds, std::uint32_t rgb)
      : GenericGraphic(bounds.left, bounds.top, bounds.right, bounds.bottom),
        colour(Color::FromRGB8(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                               static_cast<std::uint8_t>(rgb))) {}
  void Draw(DisplayPort& port) override {
    drawnAt.push_back(port.MapRect(GetBounds()));
    port.DrawRect(GetBounds(), colour, colour);
  }
  std::vector<Rect> drawnAt;

 private:
  Color colour;
};

// Buttons on a white 12 x 8 surface standing for a window.
class GraphicButtonLooks : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    window.emplace(12, 8);
    window->MakeFront();
  }
  void TearDown() override {
    window.reset();
    GraphicsFixture::TearDown();
  }
  std::string Paint() {
    window->surface->Fill(kWhite);
    window->root->Invalidate(false);
    window->root->Redraw(~window->surface);
    return window->surface->Picture({{kWhite, '.'}, {kRed, 'r'}, {kBlue, 'b'}, {kCyan, 'c'}});
  }
  std::optional<TestWindow> window;
};

class GraphicButtons : public ControlsInWindow {
 protected:
  POINT InWindowOnScreen(const ControlWindow& window, int x, int y) {
    return OnScreen(window.GetFrame()->GetHandle(), x, y);
  }
};

}  // namespace

TEST_F(GraphicButtonLooks, GraphicsAsLargeAsTheFrameInOneDirectionAreMovedAndSmallerOnesScaledUpInProportion) {
  const Rect frame(10, 10, 50, 50);
  SmartRef<GraphicButton> button(new GraphicButton(~window->root, frame, nullptr, nullptr, nullptr));
  struct Case {
    Rect graphic;
    Rect drawn;
  } cases[] = {
      {{0, 0, 20, 30}, {10, 10, 36, 50}},  // height fills, 40 x 20 / 30 wide
      {{0, 0, 30, 20}, {10, 10, 50, 36}},  // width fills
      {{0, 0, 10, 10}, {10, 10, 50, 50}},  // same proportions as the frame
      {{5, 5, 25, 45}, {10, 10, 30, 50}},  // as tall as the frame: moved only
      {{-3, 0, 57, 20}, {10, 10, 70, 30}}, // wider: moved only, the port clips it
      {{0, 0, 40, 40}, {10, 10, 50, 50}},  // the frame's size
      {{2, 2, 2, 2}, {10, 10, 10, 10}},    // empty: nothing to scale
  };
  for (const Case& c : cases) {
    SmartRef<Swatch> graphic(new Swatch(c.graphic, kRed));
    DisplayPort port(~window->surface, Rect(0, 0, 12, 8));
    button->DrawGraphic(port, ~graphic);
    ASSERT_EQ(graphic->drawnAt.size(), 1u);
    EXPECT_EQ(graphic->drawnAt[0], c.drawn) << c.graphic.right - c.graphic.left << "x"
                                            << c.graphic.bottom - c.graphic.top;
    EXPECT_EQ(port.GetTransform(), nullptr) << "the port is left as it was";
  }
}

TEST_F(GraphicButtonLooks, AToggleButtonShowsEachStateWithItsOwnPictureOrTheNormalOneMarked) {
  SmartRef<Swatch> normal(new Swatch(Rect(0, 0, 6, 4), kRed));
  SmartRef<Swatch> on(new Swatch(Rect(0, 0, 6, 4), kBlue));
  SmartRef<ToggleButton> plain(new ToggleButton(~window->root, Rect(1, 1, 7, 5), ~normal, nullptr, nullptr, nullptr,
                                                nullptr));
  window->root->AddSubview(~plain);
  const std::string off = Paint();
  EXPECT_EQ(off,
            "............\n"
            ".rrrrrr.....\n"
            ".rrrrrr.....\n"
            ".rrrrrr.....\n"
            ".rrrrrr.....\n"
            "............\n"
            "............\n"
            "............\n");
  plain->SetState(kToggleOn);
  EXPECT_EQ(Paint(),
            "............\n"
            ".cccccc.....\n"
            ".cccccc.....\n"
            ".cccccc.....\n"
            ".cccccc.....\n"
            "............\n"
            "............\n"
            "............\n")
      << "inverted";
  plain->SetState(kToggleUnavailable);
  // A white checkerboard over all but the last column and row, as a rectangle without a pen fills.
  EXPECT_EQ(Paint(),
            "............\n"
            "..r.r.r.....\n"
            ".r.r.rr.....\n"
            "..r.r.r.....\n"
            ".rrrrrr.....\n"
            "............\n"
            "............\n"
            "............\n")
      << "shaded";
  plain->SetState(7);
  EXPECT_EQ(Paint().find('r'), std::string::npos) << "an unknown state draws nothing";

  window->root->RemoveSubview(~plain);
  SmartRef<ToggleButton> pictured(new ToggleButton(~window->root, Rect(1, 1, 7, 5), ~normal, nullptr, nullptr, ~on,
                                                   ~normal));
  window->root->AddSubview(~pictured);
  pictured->SetState(kToggleOn);
  EXPECT_EQ(Paint(),
            "............\n"
            ".bbbbbb.....\n"
            ".bbbbbb.....\n"
            ".bbbbbb.....\n"
            ".bbbbbb.....\n"
            "............\n"
            "............\n"
            "............\n");
  pictured->SetState(kToggleUnavailable);
  EXPECT_EQ(Paint(), off) << "its own third picture, unshaded";
}

TEST_F(GraphicButtons, AToggleButtonTurnsOnWithAClickAndOffOnlyWhenAllowed) {
  InWindow([&](ControlWindow& window) {
    SmartRef<Swatch> picture(new Swatch(Rect(0, 0, 30, 30), kRed));
    SmartRef<RecordingSignal> signal(new RecordingSignal);
    SmartRef<ToggleButton> toggle(
        new ToggleButton(&window, Rect(20, 20, 50, 50), ~picture, ~signal, &window, nullptr, nullptr));
    window.AddSubview(~toggle);
    Pump();
    const POINT inside = InWindowOnScreen(window, 35, 35);
    struct Step {
      bool allowOff;
      std::int32_t before, after;
      int sends;
    } steps[] = {
        {false, kToggleOff, kToggleOn, 1},
        {false, kToggleOn, kToggleOn, 1},  // may not be switched off: nothing fires
        {true, kToggleOn, kToggleOff, 2},
        {true, kToggleUnavailable, kToggleUnavailable, 2},
        {true, 5, 5, 3},  // any other state fires without changing
    };
    for (const Step& s : steps) {
      toggle->SetCanTurnOff(s.allowOff);
      toggle->SetState(s.before);
      Click(inside);
      EXPECT_EQ(toggle->GetState(), s.after) << s.before;
      EXPECT_EQ(signal->sends, s.sends) << s.before;
    }
    EXPECT_EQ(GetCapture(), nullptr);
  });
}

TEST_F(GraphicButtons, APushButtonFiresOnlyWhenReleasedOverItAndIsOffAgainAfterwards) {
  InWindow([&](ControlWindow& window) {
    SmartRef<Swatch> normal(new Swatch(Rect(0, 0, 40, 20), kRed));
    SmartRef<Swatch> pressed(new Swatch(Rect(0, 0, 40, 20), kBlue));
    SmartRef<RecordingSignal> signal(new RecordingSignal);
    SmartRef<GraphicPushButton> button(new GraphicPushButton(&window, Rect(50, 50, 90, 70), ~normal, ~signal,
                                                             &window, ~pressed, nullptr));
    window.AddSubview(~button);
    EXPECT_TRUE(button->IsBuffered());
    Pump();
    const POINT inside = InWindowOnScreen(window, 60, 60);
    const POINT outside = InWindowOnScreen(window, 150, 60);
    EXPECT_EQ(ScreenPixel(inside), kRed);
    int stateAtSend = -1;
    std::uint32_t lookAtSend = 0;
    std::size_t normalDraws = 0, pressedDraws = 0;
    signal->onSend = [&] {
      stateAtSend = button->GetState();
      lookAtSend = ScreenPixel(inside);
      normalDraws = normal->drawnAt.size();
      pressedDraws = pressed->drawnAt.size();
    };

    // The whole gesture is queued before the press is handled: the button's own loop takes the rest. A
    // right click, which the loop drops, keeps each move from merging into the next in the queue.
    auto gesture = [&](std::initializer_list<POINT> moves, POINT release) {
      platform::InjectMouseButton(inside.x, inside.y, platform::MouseButton::Left, true);
      for (POINT p : moves) {
        platform::InjectMouseMove(p.x, p.y);
        platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Right, true);
        platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Right, false);
      }
      platform::InjectMouseButton(release.x, release.y, platform::MouseButton::Left, false);
      Pump();
    };
    gesture({outside}, outside);
    EXPECT_EQ(signal->sends, 0) << "released outside";
    EXPECT_EQ(button->GetState(), kToggleOff);

    const std::size_t normalBefore = normal->drawnAt.size(), pressedBefore = pressed->drawnAt.size();
    gesture({outside, inside}, inside);
    EXPECT_EQ(signal->sends, 1) << "moved back in before the release";
    EXPECT_EQ(stateAtSend, kToggleOn) << "pressed while it fires";
    EXPECT_EQ(lookAtSend, kBlue);
    EXPECT_EQ(pressedDraws - pressedBefore, 2u) << "pressed at the press and again as the pointer came back";
    EXPECT_EQ(normalDraws - normalBefore, 1u) << "released while the pointer was outside";
    EXPECT_EQ(button->GetState(), kToggleOff);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(ScreenPixel(inside), kRed) << "the normal look again";

    button->SetState(kToggleUnavailable);
    gesture({}, inside);
    EXPECT_EQ(signal->sends, 1) << "an unavailable button does nothing";
  });
}

TEST_F(GraphicButtons, AButtonWithoutASignalPassesTheClickToItsSubviews) {
  CallLog log;  // the probe still records as the window closes
  InWindow([&](ControlWindow& window) {
    SmartRef<GraphicButton> button(new GraphicButton(&window, Rect(20, 20, 120, 80), nullptr, nullptr, nullptr));
    window.AddSubview(~button);
    SmartRef<ProbeView> inner(new ProbeView(~button, Rect(30, 30, 60, 60), &log, "inner"));
    button->AddSubview(~inner);
    Pump();
    Click(InWindowOnScreen(window, 40, 45));
    EXPECT_NE(std::find(log.begin(), log.end(), "inner:down 40,45 m0 c1"), log.end());
  });
}

TEST_F(GraphicButtons, AButtonWithoutAWatcherSendsItsSignalThroughTheWindowToTheApplication) {
  InWindow([&](ControlWindow& window) {
    SmartRef<RecordingSignal> signal(new RecordingSignal);
    signal->statusFor = [](Smart* watcher) { return CastSmart<App>(watcher) ? kCommandEnabled : kCommandDisabled; };
    SmartRef<Swatch> picture(new Swatch(Rect(0, 0, 30, 30), kRed));
    SmartRef<GraphicButton> button(new GraphicButton(&window, Rect(20, 20, 50, 50), ~picture, ~signal, nullptr));
    window.AddSubview(~button);
    Pump();
    Click(InWindowOnScreen(window, 30, 30));
    EXPECT_EQ(signal->sends, 1);
    EXPECT_EQ(signal->lastWatcher, static_cast<Smart*>(static_cast<SmartImplementation*>(~gApplication)));
  });
}
