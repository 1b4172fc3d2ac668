// The speed dialog: the slider sets the page's frame rate at once, within the range, and "OK" keeps it.
#include <gtest/gtest.h>

#include "editor/EditorTestSupport.h"
#include "editor/dialogs/SpeedDialog.h"
#include "engine/page/CShow.h"
#include "engine/page/PageTestSupport.h"
#include "ui/controls/Control.h"
#include "ui/controls/ScrollBar.h"
#include "ui/shell/App.h"

namespace editor_test {
namespace {

using SpeedDialogTest = EditorProgramTest;

template <class T>
T* SubviewOf(View& view) {
  const List& views = view.GetSubviews();
  for (std::int32_t n = 1; n <= views.NumItems(); ++n)
    if (auto* found = dynamic_cast<T*>(views.At(n))) return found;
  return nullptr;
}

TEST_F(SpeedDialogTest, TheSliderSetsTheRateWithinItsRangeAndOKKeepsIt) {
  InProgram([&] {
    SmartRef<CShow> page = engine_test::MakePage({0, 0, 200, 150}, 3);
    ASSERT_EQ(page->GetFrameRate(), 15);
    SmartRef<SpeedDialog> dialog = SpeedDialog::Run(~page, 1, 60);
    EXPECT_EQ(TextOf(dialog->GetSpeedText()), "15");
    EXPECT_EQ(dialog->GetFrame()->GetGlobalBounds(), SpeedDialog::kDialogFrame);
    ScrollBar* slider = SubviewOf<ScrollBar>(*dialog);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetBounds(), SpeedDialog::kSliderRect);

    struct Step {
      const char* name;
      std::int32_t code;
      int times;
      std::int16_t rate;
    } steps[] = {
        {"a page click", 6, 1, 20},
        {"an arrow click", 3, 1, 19},
        {"page clicks stop at the maximum", 6, 20, 60},
        {"arrow clicks stop at the minimum", 3, 100, 1},
        {"back up by a page", 6, 1, 6},
    };
    for (const Step& step : steps) {
      for (int n = 0; n < step.times; ++n) slider->Clicked(step.code);
      EXPECT_EQ(page->GetFrameRate(), step.rate) << step.name;
      EXPECT_EQ(TextOf(dialog->GetSpeedText()), std::to_string(step.rate)) << step.name;
    }
    // The thumb asks for values beyond the ends: they are held at the ends.
    dialog->GetControl()->SetValue(0, 300);
    EXPECT_EQ(page->GetFrameRate(), 60);

    PushButton* ok = SubviewOf<PushButton>(*dialog);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetBounds(), SpeedDialog::kButtonRect);
    EXPECT_EQ(gApplication->GetWindows().IndexOf(~dialog) != 0, true);
    SmartRef<GenericSignal> close(new WindowCommand());
    close->Send(~dialog);
    Pump();
    EXPECT_EQ(gApplication->GetWindows().IndexOf(~dialog), 0);
    EXPECT_EQ(page->GetFrameRate(), 60);
  });
}

}  // namespace
}  // namespace editor_test
