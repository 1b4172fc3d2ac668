#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Stream.h"
#include "core/Text1252.h"
#include "support/DocumentBytes.h"
#include "support/Raised.h"
#include "web/users/UserInfoFile.h"

namespace {

using namespace document_testing;

// The stored form of a String referenced for the n-th time in a file that numbers objects in order: its
// index, then its body (length and bytes), inline after the first reference.
struct BodyBuilder {
  std::int32_t next = 2;
  std::string bytes;
  BodyBuilder& Text(const std::string& text) {
    bytes += Long(static_cast<std::uint32_t>(next++)) + Long(static_cast<std::uint32_t>(text.size())) + text;
    return *this;
  }
  BodyBuilder& Byte(std::uint8_t value) {
    bytes += static_cast<char>(value);
    return *this;
  }
};

void FillUser(UserInfo& user) {
  user.firstName->Set("L\xe9" "a");
  user.lastName->Set("Martin");
  user.birthday->Set("1er mai");
  user.sex = UserInfo::kFemale;
  user.street->Set("rue");
  user.city->Set("Lyon");
  user.state->Set("Rh\xf4ne");
  user.country->Set("France");
  user.zipCode->Set("69000");
  user.email->Set("lea@example.org");
  user.webPage->Set("/~lea");
}

class UserRecords : public ::testing::Test {
 protected:
  void SetUp() override { MakeUsersFormat(); }
};

TEST_F(UserRecords, AreStoredFieldByFieldInTheirOrder) {
  SmartRef<UserInfo> user(new UserInfo());
  FillUser(*user);
  const std::string file = SaveDocument(SmartRef<Smart>(~user), gUsersTypeIndex);
  BodyBuilder expected;
  expected.Text("L\xe9" "a").Text("Martin").Text("1er mai").Byte(1).Text("rue").Text("Lyon").Text("Rh\xf4ne");
  expected.Text("France").Text("lea@example.org").Text("/~lea").Text("69000");
  EXPECT_EQ(ObjectBody(file, 1), expected.bytes);

  SmartRef<DromelUserInfo> record(new DromelUserInfo());
  FillUser(*record);
  record->sex = -1;
  record->service->Set("Exemple");
  record->password->Set("secret");
  record->flags = 0x81;
  record->contactEmail->Set("prof@example.org");
  const std::string saved = SaveDocument(SmartRef<Smart>(~record), gUsersTypeIndex);
  BodyBuilder dromel;
  dromel.Text("L\xe9" "a").Text("Martin").Text("1er mai").Byte(0xFF).Text("rue").Text("Lyon").Text("Rh\xf4ne");
  dromel.Text("France").Text("lea@example.org").Text("/~lea").Text("69000");
  dromel.Text("Exemple").Text("").Text("").Text("").Text("secret").Text("").Text("").Byte(0x81);
  for (const char* contact : {"", "", "", "", "", "", "", "prof@example.org"}) dromel.Text(contact);
  EXPECT_EQ(ObjectBody(saved, 1), dromel.bytes);
}

TEST_F(UserRecords, ReadBackEveryFieldAndTheFlagByte) {
  for (std::int32_t sex : {0, 1, 2, -1}) {
    SmartRef<DromelUserInfo> record(new DromelUserInfo());
    FillUser(*record);
    record->sex = sex;
    record->account->Set("lea");
    record->contactPostalCode->Set("69001");
    record->flags = 1;
    SmartRef<ObjectFile> file;
    auto* read = CastSmart<DromelUserInfo>(~ReadDocument(SaveDocument(SmartRef<Smart>(~record), gUsersTypeIndex), &file,
                                                         gUsersTypeIndex));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->sex, sex);
    EXPECT_EQ(read->flags, 1);
    EXPECT_EQ(TextOf(*read->zipCode), "69000");
    EXPECT_EQ(TextOf(*read->firstName), "L\xe9" "a");
    EXPECT_EQ(TextOf(*read->account), "lea");
    EXPECT_EQ(TextOf(*read->contactPostalCode), "69001");
    EXPECT_EQ(TextOf(*read->contactCity), "");
  }
}

TEST_F(UserRecords, AVersion10RecordHasNoPostalCode) {
  SmartRef<UserInfo> user(new UserInfo());
  FillUser(*user);
  std::string file = SaveDocument(SmartRef<Smart>(~user), gUsersTypeIndex);
  // The format's versions follow its name and the count of its types; UserInfo is the second type.
  const std::string name = "Fichier d'informations sur les utilisateurs";
  const std::size_t versions = file.find(name) + name.size() + 4;
  ASSERT_EQ(file.substr(versions + 4, 4), Long(0x00010001));
  file.replace(versions + 4, 4, Long(0x00010000));
  SmartRef<ObjectFile> objects;
  auto* read = CastSmart<UserInfo>(~ReadDocument(file, &objects, gUsersTypeIndex));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(TextOf(*read->zipCode), "");
  EXPECT_EQ(TextOf(*read->webPage), "/~lea");
  EXPECT_EQ(TextOf(*read->city), "Lyon");
}

TEST_F(UserRecords, AFieldStoredAsNoObjectReadsAsAnEmptyString) {
  SmartRef<UserInfo> user(new UserInfo());
  FillUser(*user);
  // Both names are one String: the second reference is an index alone, which a damaged file may hold as 0.
  user->lastName = user->firstName;
  const std::string saved = SaveDocument(SmartRef<Smart>(~user), gUsersTypeIndex);
  std::string body = ObjectBody(saved, 1);
  const std::size_t lastNameAt = 4 + 4 + 3;
  ASSERT_EQ(body.substr(lastNameAt, 4), Long(2));
  body.replace(lastNameAt, 4, Long(0));
  SmartRef<ObjectFile> objects;
  auto* read = CastSmart<UserInfo>(~ReadDocument(WithObjectBody(saved, 1, body), &objects, gUsersTypeIndex));
  ASSERT_NE(read, nullptr);
  ASSERT_TRUE(read->lastName);
  EXPECT_EQ(TextOf(*read->lastName), "");
  EXPECT_EQ(TextOf(*read->birthday), "1er mai");
}

TEST_F(UserRecords, CopiesAndClonesShareTheirStrings) {
  SmartRef<DromelUserInfo> record(new DromelUserInfo());
  SmartRef<DromelUserInfo> clone(CastSmart<DromelUserInfo>(record->Clone()));
  clone->city->Set("Nantes");
  clone->account->Set("lea");
  clone->sex = 1;
  EXPECT_EQ(TextOf(*record->city), "Nantes");
  EXPECT_EQ(TextOf(*record->account), "lea");
  EXPECT_EQ(record->sex, 0);
  SmartRef<UserInfo> copy(new UserInfo());
  copy->CopyFrom(~record);
  EXPECT_EQ(~copy->city, ~record->city);
  EXPECT_EQ(copy->GetTitle(), ~record->lastName);
  EXPECT_EQ(RaisedText(Raised([&] { copy->CopyFrom(~record->city); })), "castPtr");
  EXPECT_EQ(RaisedText(Raised([&] { record->CopyFrom(~copy); })), "castPtr");
}

TEST_F(UserRecords, AUsersListReadsBackEmpty) {
  SmartRef<TypeIndex> index(new TypeIndex(~gUserInfoFileType, MakeVersion(1), "Users"));
  UserInfo::RegisterTypes(*index);
  index->AddType(&ListData::persistentType);
  index->AddType(&Users::persistentType);
  SmartRef<Users> users(new Users());
  users->users.AppendRef(SmartRef<UserInfo>(new UserInfo()));
  SmartRef<Users> shared(CastSmart<Users>(users->Clone()));
  EXPECT_EQ(shared->users.GetData(), users->users.GetData());
  SmartRef<ObjectFile> file;
  auto* read = CastSmart<Users>(~ReadDocument(SaveDocument(SmartRef<Smart>(~users), index), &file, index));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->users.NumItems(), 0);
}

std::string SummaryOf(UserInfo& user) {
  MemoryStream out;
  user.AppendText(out);
  std::string bytes(out.GetLength(), '\0');
  out.Seek(0, kSeekFromStart);
  out.Read(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  return bytes;
}

TEST_F(UserRecords, SummariesLabelEveryDetail) {
  SmartRef<DromelUserInfo> record(new DromelUserInfo());
  EXPECT_EQ(SummaryOf(*record),
            "Prénom :  Last Name: \r\nAnniversaire :\r\nSexe :Masculin\r\nNom de rue : \r\nVille :\r\nÉtat :\r\n"
            "Pays :\r\nZip Code:\r\nAdresse email : \r\nPage Web : \r\nMots-clés pour site Web : \r\n"
            "Commentaires sur Quillory: \r\n"_cp);
  SmartRef<UserInfo> user(new UserInfo());
  FillUser(*user);
  EXPECT_EQ(SummaryOf(*user), std::string("Prénom : "_cp) + "L\xe9" "a Last Name: Martin\r\nAnniversaire :1er mai\r\n" +
                                  "Sexe :Féminin\r\nNom de rue : rue\r\nVille :Lyon\r\nÉtat :"_cp +
                                  "Rh\xf4ne\r\nPays :France\r\nZip Code:69000\r\nAdresse email : lea@example.org\r\n"
                                  "Page Web : /~lea\r\n");
  for (std::int32_t unknown : {2, -1}) {
    user->sex = unknown;
    EXPECT_NE(SummaryOf(*user).find("Sexe :Inconnu\r\n"), std::string::npos);
  }
}

}  // namespace
