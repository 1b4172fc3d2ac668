// The editor's command button: its frame, and the gestures that send its command and play its click.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <vector>

#include "EditorTestSupport.h"
#include "editor/CCommandButton.h"
#include "editor/KidResources.h"
#include "platform/user/Input.h"
#include "platform/user/Window.h"
#include "support/Raised.h"
#include "ui/shell/App.h"
#include "ui/shell/Signal.h"
#include "ui/views/Window.h"

namespace editor_test {
namespace {

class CountingSignal : public GenericSignal {
 public:
  int GetSignalStatus(Smart* watcher) override {
    return CastSmart<App>(watcher) ? kCommandEnabled : kCommandDisabled;
  }
  void Send(Smart*) override {
    ++sends;
    if (onSend) onSend();
  }
  int sends = 0;
  std::function<void()> onSend;
};

class CCommandButtonTest : public EditorProgramTest {
 protected:
  void SetUp() override {
    EditorProgramTest::SetUp();
    data->WritePicture(70, 30, 18, 0xFF0000);
    data->WritePicture(71, 30, 18, 0x0000FF);
    data->WritePicture(72, 30, 18, 0x808080);
    data->WriteSound(3);
  }
  SmartRef<CCommandButton> MakeButton(View* parent, const Rect& frame, GenericSignal* signal) {
    return new CCommandButton(parent, frame, signal, KidResources::GetImage(70), KidResources::GetImage(71),
                              KidResources::GetImage(72), KidResources::GetSound(3));
  }
};

TEST_F(CCommandButtonTest, TheFrameTakesTheNormalPicturesSizeAndEveryPictureIsRequired) {
  InProgram([&] {
    SmartRef<Window> window(new Window(nullptr, kFrameNormal, false, false, 200, 100));
    for (const Rect& given : {Rect(10, 20, 100, 100), Rect(10, 20, 10, 20)}) {
      SmartRef<CCommandButton> button = MakeButton(~window, given, nullptr);
      EXPECT_EQ(button->GetBounds(), Rect(10, 20, 40, 38));
    }
    ImageResource* picture = KidResources::GetImage(70);
    const auto without = [&](int missing) {
      return Raised([&] {
        SmartRef<CCommandButton> button(new CCommandButton(~window, Rect(0, 0, 1, 1), nullptr,
                                                           missing == 0 ? nullptr : picture,
                                                           missing == 1 ? nullptr : picture,
                                                           missing == 2 ? nullptr : picture, nullptr));
      });
    };
    for (int missing : {0, 1, 2}) EXPECT_EQ(RaisedText(without(missing)), "data != NULL") << missing;
  });
}

// Gestures queued before the press is handled, the button's own loop taking the rest; a right click
// between two moves keeps them from merging in the queue. Points are in the window's client area.
TEST_F(CCommandButtonTest, OnlyAReleaseOverTheButtonAwayFromTheWindowsTopAndLeftEdgesSendsAndSounds) {
  InProgram([&] {
    SmartRef<Window> window(new Window(nullptr, kFrameNormal, false, false, 200, 100));
    window->SetGlobalBounds(Rect(20, 30, 220, 130));
    window->Open(true);
    SmartRef<CountingSignal> signal(new CountingSignal);
    // At the window's corner, so that its top and left rows lie on the window's edges.
    SmartRef<CCommandButton> button = MakeButton(~window, Rect(0, 0, 1, 1), ~signal);
    window->AddSubview(~button);
    Pump();
    int stateAtSend = -1;
    signal->onSend = [&] { stateAtSend = button->GetState(); };
    const auto onScreen = [&](POINT p) {
      ClientToScreen(window->GetFrame()->GetHandle(), &p);
      return p;
    };
    struct Case {
      const char* what;
      std::vector<POINT> moves;
      POINT release;
      int sends;
    } cases[] = {
        {"moved off and released there", {{100, 50}}, {100, 50}, 0},
        {"moved off and back on", {{100, 50}, {12, 9}}, {12, 9}, 1},
        {"released on the left edge", {}, {0, 9}, 0},
        {"released on the top edge", {}, {12, 0}, 0},
        {"released just inside", {}, {1, 1}, 1},
        {"released on the right edge", {}, {30, 9}, 0},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      PlayedSounds played;
      signal->sends = 0;
      const POINT press = onScreen({12, 9});
      platform::InjectMouseButton(press.x, press.y, platform::MouseButton::Left, true);
      for (POINT move : c.moves) {
        const POINT p = onScreen(move);
        platform::InjectMouseMove(p.x, p.y);
        platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Right, true);
        platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Right, false);
      }
      const POINT release = onScreen(c.release);
      platform::InjectMouseButton(release.x, release.y, platform::MouseButton::Left, false);
      Pump();
      EXPECT_EQ(signal->sends, c.sends);
      EXPECT_EQ(played.Numbers({3}), std::vector<int>(static_cast<std::size_t>(c.sends), 3));
      EXPECT_EQ(button->GetState(), kToggleOff);
      EXPECT_EQ(GetCapture(), nullptr);
    }
    EXPECT_EQ(stateAtSend, kToggleOn) << "pressed while it sends";

    // Unavailable, it does nothing; a command that makes it unavailable keeps that state.
    PlayedSounds played;
    button->SetState(kToggleUnavailable);
    EXPECT_FALSE(button->MouseDown(12, 9, 0, 1, ~window));
    button->SetState(kToggleOff);
    signal->sends = 0;
    signal->onSend = [&] { button->SetState(kToggleUnavailable); };
    const POINT inside = onScreen({12, 9});
    platform::InjectMouseButton(inside.x, inside.y, platform::MouseButton::Left, true);
    platform::InjectMouseButton(inside.x, inside.y, platform::MouseButton::Left, false);
    Pump();
    EXPECT_EQ(signal->sends, 1);
    EXPECT_EQ(played.Numbers({3}), std::vector<int>{3});
    EXPECT_EQ(button->GetState(), kToggleUnavailable);
    window->Close();
  });
}

}  // namespace
}  // namespace editor_test
