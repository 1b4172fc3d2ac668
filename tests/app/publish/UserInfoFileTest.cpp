// The application's user-information file in the program's folder, through the application's members.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "core/Text1252.h"
#include "web/users/DromelUserInfo.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

using UserInfoFileTest = DromelAppTest;

TEST_F(UserInfoFileTest, TheApplicationKeepsItsRecordInPersUsrForItsOwnerOnly) {
  const fs::path file = data->folder.Path() / "pers.usr";
  RunDromel({{&FrontIsWelcome, [] { CancelFront(); }},
             {&StartupOver, [&] {
                SmartRef<DromelUserInfo> record = gDromelApp->GetUserInfo();
                ASSERT_TRUE(record);
                EXPECT_EQ(TextOf(*record->account), "") << "the first run's record is empty";
                EXPECT_TRUE(fs::exists(file)) << "and stored at once";
                record->account->Set("lea");
                gDromelApp->SaveUserInfo(~record);
                EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
                          fs::perms::owner_read | fs::perms::owner_write);
                SmartRef<DromelUserInfo> again = gDromelApp->GetUserInfo();
                EXPECT_NE(~again, ~record);
                EXPECT_EQ(TextOf(*again->account), "lea");
                EXPECT_TRUE(gDromelApp->OpenUsersFile());
              }}});
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace
}  // namespace app_test
