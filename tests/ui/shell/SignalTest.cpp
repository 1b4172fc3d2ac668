#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "support/Raised.h"
#include "ui/shell/Signal.h"

namespace {

// A handler that knows two numbers: 2001 enabled, 2002 ticked.
class Handler : public SmartImplementation, public NumberCommandHandler {
  SMART_ABSTRACT(Handler)
 public:
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

  void HandleNumberCommand(std::int32_t number, void* argument) override {
    performed.push_back(number);
    arguments.push_back(argument);
  }
  int GetNumberCommandStatus(std::int32_t number) override {
    auto found = statuses.find(number);
    return found == statuses.end() ? kCommandDisabled : found->second;
  }

  std::map<std::int32_t, int> statuses{{2001, kCommandEnabled}, {2002, kCommandChecked}};
  std::vector<std::int32_t> performed;
  std::vector<void*> arguments;
};

SMART_DEFINE_ABSTRACT(Handler, "TestHandler", SmartImplementation, NumberCommandHandler)

}  // namespace

TEST(NumberCommandTest, StatusComesFromTheHandlerAndUnknownWatchersAreDisabled) {
  SmartRef<Handler> handler(new Handler);
  SmartRef<SmartImplementation> plain(new SmartImplementation);
  struct Case {
    std::int32_t number;
    Smart* watcher;
    int status;
  } cases[] = {
      {2001, ~handler, kCommandEnabled}, {2002, ~handler, kCommandChecked}, {2030, ~handler, kCommandDisabled},
      {2001, ~plain, kCommandDisabled},  {2001, nullptr, kCommandDisabled},
  };
  for (const Case& c : cases) {
    SmartRef<NumberCommand> command(new NumberCommand(c.number, nullptr));
    EXPECT_EQ(command->GetSignalStatus(c.watcher), c.status) << c.number;
  }
}

TEST(NumberCommandTest, SendPerformsOnAnEnabledOrTickedHandlerWithTheArgument) {
  SmartRef<Handler> handler(new Handler);
  int marker = 0;
  SmartRef<NumberCommand> ticked(new NumberCommand(2002, nullptr));
  SmartRef<NumberCommand> enabled(new NumberCommand(2001, &marker));
  ticked->Send(static_cast<SmartImplementation*>(~handler));
  enabled->Send(static_cast<SmartImplementation*>(~handler));
  EXPECT_EQ(handler->performed, (std::vector<std::int32_t>{2002, 2001}));
  EXPECT_EQ(handler->arguments, (std::vector<void*>{nullptr, &marker}));
}

TEST(NumberCommandTest, SendToADisabledWatcherRaisesTheAssertionAndPerformsNothing) {
  SmartRef<Handler> handler(new Handler);
  SmartRef<SmartImplementation> plain(new SmartImplementation);
  SmartRef<NumberCommand> unknown(new NumberCommand(2030, nullptr));
  for (Smart* watcher : {static_cast<Smart*>(~plain), static_cast<Smart*>(~handler), static_cast<Smart*>(nullptr)}) {
    SmartRef<Exception> raised = Raised([&] { unknown->Send(watcher); });
    EXPECT_EQ(RaisedText(raised), "GetSignalStatus(watcher) != disabled");
  }
  EXPECT_TRUE(handler->performed.empty());
}

TEST(NumberCommandTest, SignalsAnswerTheGenericRecord) {
  SmartRef<NumberCommand> command(new NumberCommand(2001, nullptr));
  EXPECT_STREQ(command->GetClassInfo()->GetName(), "GenericSignal");
  EXPECT_TRUE(command->IsKindOf(&SmartImplementation::classInfo));
  SmartRef<Handler> handler(new Handler);
  EXPECT_TRUE(handler->IsKindOf(&NumberCommandHandler::classInfo));
}
