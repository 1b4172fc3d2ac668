#include <gtest/gtest.h>

#include <functional>

#include "support/Raised.h"
#include "ui/text/TextCommands.h"
#include "ui/text/TextStyle.h"

namespace {

// Stands for the text view being edited: the commands read its style and hand it back.
class Setter : public SmartImplementation, public StyleSetter {
  SMART_ABSTRACT(Setter)
 public:
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

  void SetTextStyle(SmartRef<TextStyle> given) override {
    ++handedBack;
    style = given;
  }
  SmartRef<TextStyle> GetTextStyle() override { return style; }

  SmartRef<TextStyle> style = MakeDefaultTextStyle(standardColors[1], standardColors[0]);
  int handedBack = 0;
};

SMART_DEFINE_ABSTRACT(Setter, "TestStyleSetter", SmartImplementation, StyleSetter)

class TextCommands : public testing::Test {
 protected:
  void SetUp() override { TextPaneOpen = true; }
  void TearDown() override { TextPaneOpen = false; }
  Smart* Watcher() { return static_cast<SmartImplementation*>(~setter); }

  SmartRef<Setter> setter{new Setter};
};

TEST_F(TextCommands, EveryCommandIsDisabledOutsideTheTextPaneAndWithoutAStyle) {
  SmartRef<GenericSignal> commands[] = {TextStyleCommand::MakeFontCommand("Arial"), new SizeCommand(12),
                                        new StyleBitsCommand(kBoldStyle), new AlignmentCommand(kAlignLeft)};
  SmartRef<SmartImplementation> plain(new SmartImplementation);
  for (auto& command : commands) {
    TextPaneOpen = false;
    EXPECT_EQ(command->GetSignalStatus(Watcher()), kCommandDisabled);
    const SmartRef<Exception> raised = Raised([&] { command->Send(Watcher()); });
    EXPECT_EQ(RaisedText(raised), "GetSignalStatus(watcher) != disabled");
    EXPECT_EQ(setter->handedBack, 0);
    TextPaneOpen = true;
    EXPECT_EQ(command->GetSignalStatus(~plain), kCommandDisabled) << "not a style setter";
    EXPECT_EQ(command->GetSignalStatus(nullptr), kCommandDisabled);
    SmartRef<TextStyle> kept = setter->style;
    setter->style = nullptr;
    EXPECT_EQ(command->GetSignalStatus(Watcher()), kCommandDisabled) << "nothing being edited";
    setter->style = kept;
    EXPECT_NE(command->GetSignalStatus(Watcher()), kCommandDisabled);
  }
}

TEST_F(TextCommands, FaceSizeAndAlignmentAreSetAndTickTheCurrentValue) {
  struct Case {
    SmartRef<GenericSignal> command;
    std::function<bool(const TextStyle&)> applied;
  } cases[] = {
      {TextStyleCommand::MakeFontCommand("Courier New"),
       [](const TextStyle& s) { return TextOf(s.GetFontName()) == "Courier New"; }},
      {new SizeCommand(36), [](const TextStyle& s) { return s.GetSize() == 36; }},
      {new AlignmentCommand(kAlignCenter), [](const TextStyle& s) { return s.GetAlignment() == kAlignCenter; }},
  };
  for (auto& c : cases) {
    EXPECT_EQ(c.command->GetSignalStatus(Watcher()), kCommandEnabled);
    const SmartRef<TextStyle> before = setter->style;
    c.command->Send(Watcher());
    EXPECT_EQ(~setter->style, ~before) << "the setter gets its own style object back";
    EXPECT_TRUE(c.applied(*setter->style));
    EXPECT_EQ(c.command->GetSignalStatus(Watcher()), kCommandChecked);
  }
  EXPECT_EQ(setter->handedBack, 3);
}

TEST_F(TextCommands, StyleBitsToggleAndPlainClearsTheRest) {
  const SmartRef<GenericSignal> bold(new StyleBitsCommand(kBoldStyle));
  const SmartRef<GenericSignal> italic(new StyleBitsCommand(kItalicStyle));
  const SmartRef<GenericSignal> underline(new StyleBitsCommand(kUnderlineStyle));
  const SmartRef<GenericSignal> plain(new StyleBitsCommand(kPlainStyle));
  EXPECT_EQ(plain->GetSignalStatus(Watcher()), kCommandChecked);
  italic->Send(Watcher());
  const std::int32_t before = setter->style->GetStyle();
  bold->Send(Watcher());
  EXPECT_EQ(setter->style->GetStyle(), kItalicStyle | kBoldStyle);
  EXPECT_EQ(bold->GetSignalStatus(Watcher()), kCommandChecked);
  bold->Send(Watcher());
  EXPECT_EQ(setter->style->GetStyle(), before) << "bold twice gives back the bits it had";
  EXPECT_EQ(bold->GetSignalStatus(Watcher()), kCommandEnabled);
  bold->Send(Watcher());
  underline->Send(Watcher());
  EXPECT_EQ(plain->GetSignalStatus(Watcher()), kCommandEnabled);
  plain->Send(Watcher());
  EXPECT_EQ(setter->style->GetStyle(), kPlainStyle);
  EXPECT_EQ(plain->GetSignalStatus(Watcher()), kCommandChecked);
}

}  // namespace
