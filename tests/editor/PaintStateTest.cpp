// The paint state: its starting values, its listeners and the paints it makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "editor/CDropperTool.h"
#include "engine/EngineAppServices.h"
#include "graphics/Paint.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/formats/ImageResource.h"
#include "support/AlertRecorder.h"
#include "ui/ViewTestSupport.h"
#include "ui/controls/ColorView.h"

namespace editor_test {
namespace {

struct Listener : PaintStateListener {
  Listener(std::vector<std::string>* log, std::string name) : log(log), name(std::move(name)) {}
  void PaintStateChanged() override { log->push_back(name); }
  std::vector<std::string>* log;
  std::string name;
};

class PaintStateTest : public EditorTest {
 protected:
  void TearDown() override {
    SetEngineAppServices({});
    gPaintForeground = standardColors[1];
    gPaintSecondColor = standardColors[0];
    gPaintBackground = standardColors[0];
    gChosenPattern = Pattern();
    gChosenPatternIndex = 0;
    EditorTest::TearDown();
  }
};

TEST_F(PaintStateTest, ThePaintsStartAsBlackOnWhiteAndTheApplicationSetsItsOwn) {
  EXPECT_EQ(gPaintForeground, standardColors[1]);
  EXPECT_EQ(gPaintSecondColor, standardColors[0]);
  EXPECT_EQ(gPaintBackground, standardColors[0]);
  InitPaintColors();
  EXPECT_TRUE(PaintColorsInitialised());
  EXPECT_EQ(gPaintForeground, standardColors[14]);
  EXPECT_EQ(gPaintSecondColor, standardColors[15]);
  EXPECT_EQ(gPaintBackground, standardColors[0]);
  EXPECT_EQ(gPaintPattern, standardPatterns[1]);
  EXPECT_EQ(&gPaintPattern, &gChosenPattern) << "one pattern, the choosers' own";
  EXPECT_EQ(gChosenPatternIndex, 1);
}

TEST_F(PaintStateTest, IndicatorsHearFirstAndAListenerAddedTwiceIsGone) {
  std::vector<std::string> log;
  Listener pane(&log, "pane"), palette(&log, "palette"), indicator(&log, "indicator"), gone(&log, "gone");
  SmartRef<CDropperTool> state(new CDropperTool);
  EXPECT_EQ(state->GetId(), 110);
  EXPECT_EQ(state->CountChoices(0), 32);
  state->ToggleListener(&pane, false);
  state->ToggleListener(&gone, false);
  state->ToggleListener(&palette, false);
  state->ToggleListener(&indicator, true);
  state->ToggleListener(&gone, false);
  state->NotifyListeners();
  EXPECT_EQ(log, (std::vector<std::string>{"indicator", "pane", "palette"}));

  // A choice tells once; the same choice again nobody.
  log.clear();
  state->SetChoice(0, 5);
  state->SetChoice(0, 5);
  EXPECT_EQ(state->GetChoice(0), 5);
  EXPECT_EQ(log, (std::vector<std::string>{"indicator", "pane", "palette"}));
  EXPECT_EQ(gPaintForeground, standardColors[1]) << "no engine application, no palette";
}

TEST_F(PaintStateTest, AChoiceIsAColourOfTheApplicationsPalette) {
  SetEngineAppServices({[] { return ColorTable::GetStandard(8); }, nullptr});
  SmartRef<CDropperTool> state(new CDropperTool);
  for (std::int16_t n : {1, 37, 32}) {
    state->SetChoice(0, n);
    EXPECT_EQ(gPaintForeground, ColorTable::GetStandard(8)->GetColor(n - 1)) << n;
  }
}

TEST_F(PaintStateTest, PaintsAreMadeFromTheValuesOfTheirMoment) {
  SmartRef<CDropperTool> state(new CDropperTool);
  gPaintForeground = Color::FromRGB8(255, 0, 0);
  gPaintSecondColor = Color::FromRGB8(0, 0, 255);
  gPaintPattern = GetStockPattern(2);
  SmartRef<Paint> plain = state->MakePaint(false);
  SmartRef<Paint> patterned = state->MakePaint(true);
  gPaintForeground = Color::FromRGB8(0, 255, 0);
  gPaintPattern = GetStockPattern(0);
  SmartRef<Paint> later = state->MakePaint(false);
  EXPECT_NE(~plain, ~later);
  ASSERT_NE(CastSmart<ColorPaint>(~plain), nullptr);
  EXPECT_EQ(CastSmart<ColorPaint>(~plain)->GetColor(), Color::FromRGB8(255, 0, 0));
  EXPECT_EQ(CastSmart<ColorPaint>(~later)->GetColor(), Color::FromRGB8(0, 255, 0));
  // The pattern in the foreground over the second colour, as they stood.
  auto pixels = [](Paint& paint) {
    SurfaceDevice surface(8, 8);
    {
      DisplayPort port(&surface, {0, 0, 8, 8});
      port.DrawRect({0, 0, 8, 8}, paint, paint);
    }
    std::vector<std::uint32_t> all;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) all.push_back(surface.Pixel(x, y));
    return all;
  };
  PatternPaint expected(Color::FromRGB8(255, 0, 0), Color::FromRGB8(0, 0, 255), GetStockPattern(2));
  const std::vector<std::uint32_t> drawn = pixels(*patterned);
  EXPECT_EQ(drawn, pixels(expected));
  EXPECT_NE(std::count(drawn.begin(), drawn.end(), 0xFF0000u), 0);
  EXPECT_NE(std::count(drawn.begin(), drawn.end(), 0x0000FFu), 0);
}

// The pattern chooser writes the one pattern the paints are made with, and tells the paint state.
TEST_F(PaintStateTest, APatternPickedInTheChooserIsTheNextPaintsPattern) {
  SmartRef<CDropperTool> state(new CDropperTool);
  std::vector<std::string> log;
  Listener indicator(&log, "indicator");
  state->ToggleListener(&indicator, true);
  InitPaintColors();
  TestWindow window(256, 128);
  SmartRef<PatternView> chooser(new PatternView(~window.root, {0, 0, 8, 4}, ~state));
  EXPECT_EQ(chooser->GetSelection(), Point(1, 0)) << "the chooser starts on the paints' pattern";
  chooser->SetSelection({5, 2});
  chooser->SelectionChanged();
  EXPECT_EQ(log, (std::vector<std::string>{"indicator"}));
  EXPECT_EQ(gPaintPattern, GetStockPattern(21));
  SmartRef<Paint> paint = state->MakePaint(true);
  auto* patterned = dynamic_cast<PatternPaint*>(~paint);
  ASSERT_NE(patterned, nullptr);
  SurfaceDevice drawn(8, 8), expected(8, 8);
  PatternPaint reference(gPaintForeground, gPaintSecondColor, GetStockPattern(21));
  for (auto [surface, used] : {std::pair<SurfaceDevice*, Paint*>{&drawn, patterned}, {&expected, &reference}}) {
    DisplayPort port(surface, {0, 0, 8, 8});
    port.DrawRect({0, 0, 8, 8}, *used, *used);
  }
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(drawn.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
}

TEST_F(PaintStateTest, PickingAColourFromAPictureIsNotDoneAndChangesNothing) {
  AlertRecorder alerts;
  SmartRef<CDropperTool> state(new CDropperTool);
  std::vector<std::string> log;
  Listener listener(&log, "listener");
  state->ToggleListener(&listener, false);
  state->PickColor(10, 10);
  SurfaceDevice surface(8, 8);
  DisplayPort port(&surface, {0, 0, 8, 8});
  state->DrawSample(port, {0, 0, 8, 8});
  ASSERT_EQ(alerts.Alerts().size(), 2u);
  for (const RecordedAlert& alert : alerts.Alerts()) EXPECT_NE(alert.text.find("Not implemented."), std::string::npos);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(gPaintForeground, standardColors[1]);
}

}  // namespace
}  // namespace editor_test
