#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "core/FileReference.h"
#include "engine/EngineTestSupport.h"
#include "engine/links/CJump.h"
#include "platform/dialogs/CommonDialogs.h"
#include "platform/user/MessageBox.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"

using namespace document_testing;
using namespace engine_test;

namespace {

class JumpTest : public EngineTest {
 protected:
  void TearDown() override {
    platform::SetFileChooser({});
    EngineTest::TearDown();
  }
  // The Open dialog answers the path (nothing: Cancel) and counts how often it is shown.
  void ChooseInOpenDialog(std::optional<std::string> path) {
    dialogs = 0;
    platform::SetFileChooser([this, path](platform::FileDialogKind, const OPENFILENAMEA&) {
      ++dialogs;
      return path;
    });
  }

  // A page jump whose file holds no file reference for it.
  static SmartRef<CJumpMovie> JumpWithoutFile() {
    FileBytes f;
    f.Root(1, kJumpMovie, [&] { f.L(0); });
    std::vector<std::int32_t> sizes(14, -1);
    sizes[kJumpMovie - 1] = 4;
    return CastSmart<CJumpMovie>(~ReadDocument(f.File(kCurrentVersions, sizes), nullptr, MakeEngineTypeIndex()));
  }

  int dialogs = 0;
};

TEST_F(JumpTest, AFrameJumpNeverLeadsBeforeTheFirstFrame) {
  CJumpFrame jump;
  jump.SetFrame(-5);
  EXPECT_EQ(jump.GetFrame(), 0);
  jump.SetFrame(7);
  EXPECT_EQ(jump.GetFrame(), 7);
}

TEST_F(JumpTest, APageJumpWithoutAFileAsksForOneOnce) {
  const std::string page = folder.Write("suite.zod");
  ChooseInOpenDialog(page);
  SmartRef<CJumpMovie> chosen = JumpWithoutFile();
  ASSERT_TRUE(chosen);
  EXPECT_EQ(std::string(chosen->GetFile()->GetPathText()), page);
  EXPECT_EQ(std::string(chosen->GetFile()->GetPathText()), page);
  EXPECT_EQ(dialogs, 1);

  ChooseInOpenDialog(std::nullopt);
  SmartRef<CJumpMovie> cancelled = JumpWithoutFile();
  EXPECT_FALSE(cancelled->GetFile()->HasPath());
  EXPECT_FALSE(cancelled->GetFile()->HasPath());
  EXPECT_EQ(dialogs, 1) << "after a cancel the jump keeps its empty reference";
}

// A page file that is gone is looked for by the user: giving up is the only answer that says so.
TEST_F(JumpTest, LocatingAPageAnswersWhetherTheUserGaveUp) {
  AlertRecorder alerts;
  const std::string page = folder.Write("absent.zod");
  SmartRef<CJumpMovie> jump = new CJumpMovie(FileReference(page.c_str()));
  const std::string stored = SaveDocument(~jump, MakeEngineTypeIndex());
  EXPECT_FALSE(jump->Locate()) << "a file that is there";
  std::filesystem::remove(folder.Path() / "absent.zod");

  struct Case {
    const char* name;
    int answer;
    std::optional<std::string> chosen;
    bool gaveUp;
  } cases[] = {
      {"cancelled the question", IDCANCEL, std::nullopt, true},
      {"cancelled the dialog", IDOK, std::nullopt, true},
      {"found it elsewhere", IDOK, folder.Write("moved.zod"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    alerts.Clear();
    alerts.Answer({c.answer});
    ChooseInOpenDialog(c.chosen);
    SmartRef<CJumpMovie> read = CastSmart<CJumpMovie>(~ReadDocument(stored, nullptr, MakeEngineTypeIndex()));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Locate(), c.gaveUp);
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_NE(alerts.Alerts()[0].text.find("absent.zod"), std::string::npos);
  }
  EXPECT_FALSE(JumpWithoutFile()->Locate());
}

}  // namespace
