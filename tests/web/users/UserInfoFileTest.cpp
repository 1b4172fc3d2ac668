#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"
#include "support/TempFolder.h"
#include "support/graphics/GraphicsFixture.h"
#include "web/users/UserInfoFile.h"

namespace {

namespace fs = std::filesystem;

class UserInfoFile : public GraphicsFixture {
 protected:
  void SetUp() override { Prepare(32, Win95, folder.Path().string()); }

  fs::path File() const { return folder.Path() / "pers.usr"; }
  fs::perms Permissions() const { return fs::status(File()).permissions() & fs::perms::all; }

  TempFolder folder;
  AlertRecorder alerts;
};

const fs::perms kOwnerOnly = fs::perms::owner_read | fs::perms::owner_write;

TEST_F(UserInfoFile, TheFirstRunStoresAnEmptyRecordForItsOwnerOnly) {
  SmartRef<DromelUserInfo> record = GetUserInfo();
  ASSERT_TRUE(record);
  EXPECT_EQ(TextOf(*record->ftpHost), "");
  ASSERT_TRUE(fs::exists(File()));
  EXPECT_GT(fs::file_size(File()), 0u);
  EXPECT_EQ(Permissions(), kOwnerOnly);
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(UserInfoFile, SavedSettingsComeBackAndStayPrivate) {
  SmartRef<DromelUserInfo> record = GetUserInfo();
  record->service->Set("Exemple");
  record->account->Set("lea");
  record->password->Set("secret");
  record->flags = 1;
  SaveUserInfo(~record);
  EXPECT_EQ(Permissions(), kOwnerOnly);
  SmartRef<DromelUserInfo> again = GetUserInfo();
  EXPECT_NE(~again, ~record);
  EXPECT_EQ(TextOf(*again->service), "Exemple");
  EXPECT_EQ(TextOf(*again->account), "lea");
  EXPECT_EQ(TextOf(*again->password), "secret");
  EXPECT_EQ(again->flags, 1);
  for (const auto& entry : fs::directory_iterator(folder.Path()))
    EXPECT_EQ(entry.path().filename(), "pers.usr") << "no replacement left behind";
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(UserInfoFile, ARemovedFileBringsBackAnEmptyRecordSilently) {
  SmartRef<DromelUserInfo> record = GetUserInfo();
  record->account->Set("lea");
  SaveUserInfo(~record);
  fs::remove(File());
  EXPECT_EQ(TextOf(*GetUserInfo()->account), "");
  EXPECT_TRUE(fs::exists(File()));
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(UserInfoFile, AFileItCannotUseStaysUntilARealSave) {
  MakeUsersFormat();
  SmartRef<UserInfo> plainRecord(new UserInfo());
  plainRecord->lastName->Set("Martin");
  const std::string foreign = document_testing::SaveDocument(SmartRef<Smart>(~plainRecord), gUsersTypeIndex);
  const std::string damaged = "OBJS" + std::string(40, '\xff');
  struct Row {
    const char* label;
    std::string bytes;
    bool warned;
  } rows[] = {{"damaged", damaged, true},
              {"another record", foreign, false},
              {"binary", std::string("\0\x01\x02garbage", 10), true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    folder.Write("pers.usr", row.bytes);
    SmartRef<DromelUserInfo> record = GetUserInfo();
    ASSERT_TRUE(record);
    EXPECT_EQ(TextOf(*record->account), "");
    EXPECT_EQ(folder.Read("pers.usr"), row.bytes) << "the file is not overwritten by reading it";
    // A damaged file is the framework's damaged-file warning; a record of another class is simply not used.
    ASSERT_EQ(alerts.Alerts().size(), row.warned ? 1u : 0u);
    if (row.warned) {
      EXPECT_EQ(alerts.Alerts()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    }
    alerts.Clear();
    record->account->Set("lea");
    SaveUserInfo(~record);
    EXPECT_EQ(TextOf(*GetUserInfo()->account), "lea");
  }
}

}  // namespace
