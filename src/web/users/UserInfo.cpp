#include "web/users/UserInfo.h"

#include "core/Format.h"
#include "core/SourcePlace.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "engine/Storage.h"

namespace {
constexpr SourceName kSource("USERINFO");
}  // namespace

SMART_COPY_CHECK_AT(UserInfo, kSource.Unnumbered());
SMART_DEFINE(UserInfo, "UserInfo", &CreateDefault<UserInfo>, nullptr, Persistent, SmartImplementation, Editable)
SMART_COPY_CHECK_AT(Users, kSource.Unnumbered());
SMART_DEFINE(Users, "Users", &CreateDefault<Users>, nullptr, SmartImplementation, Persistent)

// Version 1.1 adds the postal code.
const PersistentType UserInfo::persistentType(&UserInfo::classInfo, MakeVersion(1), MakeVersion(1, 1),
                                              &UserInfo::ReadNew);
const PersistentType Users::persistentType(&Users::classInfo, MakeVersion(1), MakeVersion(1), &Users::ReadNew);

SmartRef<String> ReadStringField(ArchiveBlock& block) {
  SmartRef<String> text(CastSmart<String>(block.GetArchive()->ReadObject()));
  return text ? text : SmartRef<String>(new String());
}

UserInfo::UserInfo()
    : firstName(new String()),
      lastName(new String()),
      birthday(new String()),
      street(new String()),
      city(new String()),
      state(new String()),
      country(new String()),
      zipCode(new String()),
      email(new String()),
      webPage(new String()) {}

UserInfo::UserInfo(ArchiveBlock& block) : UserInfo() { ReadFields(block); }

Persistent* UserInfo::ReadNew(Archive* archive) { return ReadFromBlock<UserInfo>(archive, &persistentType); }

void UserInfo::ReadFields(ArchiveBlock& block) {
  if (block.IsSkipping()) return;
  firstName = ReadStringField(block);
  lastName = ReadStringField(block);
  birthday = ReadStringField(block);
  sex = static_cast<std::int8_t>(block.GetStream()->ReadByte());
  street = ReadStringField(block);
  city = ReadStringField(block);
  state = ReadStringField(block);
  country = ReadStringField(block);
  email = ReadStringField(block);
  webPage = ReadStringField(block);
  zipCode = block.GetVersion() >= MakeVersion(1, 1) ? ReadStringField(block) : SmartRef<String>(new String());
}

void UserInfo::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteFields(block);
}

void UserInfo::WriteFields(ArchiveBlock& block) {
  if (block.IsSkipping()) return;
  WritePersistent(block, ~firstName);
  WritePersistent(block, ~lastName);
  WritePersistent(block, ~birthday);
  block.GetStream()->WriteByte(static_cast<std::uint8_t>(sex & 0xFF));
  for (String* text : {~street, ~city, ~state, ~country, ~email, ~webPage, ~zipCode}) WritePersistent(block, text);
}

void UserInfo::AppendText(Stream& out) {
  const char* sexText = sex == kMale ? "Masculin" : sex == kFemale ? "Féminin"_cp : "Inconnu";
  out << String("Prénom : "_cp) << *firstName << String(" Last Name: ") << *lastName << String("\r\n");
  out << String("Anniversaire :") << *birthday << String("\r\n");
  out << String("Sexe :") << String(sexText) << String("\r\n");
  out << String("Nom de rue : ") << *street << String("\r\n");
  out << String("Ville :") << *city << String("\r\n");
  out << String("État :"_cp) << *state << String("\r\n");
  out << String("Pays :") << *country << String("\r\n");
  out << String("Zip Code:") << *zipCode << String("\r\n");
  out << String("Adresse email : ") << *email << String("\r\n");
  out << String("Page Web : ") << *webPage << String("\r\n");
}

void UserInfo::RegisterTypes(TypeIndex& index) {
  index.AddType(&String::persistentType);
  index.AddType(&UserInfo::persistentType);
  index.AddType(&GenericArray::persistentType);
}

Users::Users(ArchiveBlock&) {}

Persistent* Users::ReadNew(Archive* archive) { return ReadFromBlock<Users>(archive, &persistentType); }

void Users::Write(Archive* archive) { ArchiveBlock block(archive, &persistentType); }
