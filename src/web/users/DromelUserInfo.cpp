#include "web/users/DromelUserInfo.h"

#include "core/SourcePlace.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "engine/Storage.h"

namespace {

constexpr SourceName kSource("DROMEL/DromelUserInfo");

using Field = SmartRef<String> DromelUserInfo::*;

// The Strings in their stored order, before and after the flag byte.
constexpr Field kPublishing[] = {&DromelUserInfo::service,  &DromelUserInfo::ftpHost,  &DromelUserInfo::serverPath,
                                 &DromelUserInfo::account,  &DromelUserInfo::password, &DromelUserInfo::keywords,
                                 &DromelUserInfo::comment};
constexpr Field kContact[] = {&DromelUserInfo::contactFirstName, &DromelUserInfo::contactLastName,
                              &DromelUserInfo::contactSchool,    &DromelUserInfo::contactAddress,
                              &DromelUserInfo::contactCity,      &DromelUserInfo::contactCountry,
                              &DromelUserInfo::contactPostalCode, &DromelUserInfo::contactEmail};

}  // namespace

SMART_COPY_CHECK_AT(DromelUserInfo, kSource.Unnumbered());
SMART_DEFINE(DromelUserInfo, "DromelUserInfo", &CreateDefault<DromelUserInfo>, nullptr, UserInfo)

const PersistentType DromelUserInfo::persistentType(&DromelUserInfo::classInfo, MakeVersion(1), MakeVersion(1),
                                                    &DromelUserInfo::ReadNew);

DromelUserInfo::DromelUserInfo() {
  for (Field field : kPublishing) this->*field = new String();
  for (Field field : kContact) this->*field = new String();
}

DromelUserInfo::DromelUserInfo(ArchiveBlock& block) : DromelUserInfo() {
  if (block.IsSkipping()) return;
  {
    ArchiveBlock userBlock(block, &UserInfo::persistentType);
    ReadFields(userBlock);
  }
  for (Field field : kPublishing) this->*field = ReadStringField(block);
  flags = block.GetStream()->ReadByte();
  for (Field field : kContact) this->*field = ReadStringField(block);
}

Persistent* DromelUserInfo::ReadNew(Archive* archive) {
  return ReadFromBlock<DromelUserInfo>(archive, &persistentType);
}

void DromelUserInfo::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  if (block.IsSkipping()) return;
  {
    ArchiveBlock userBlock(block, &UserInfo::persistentType);
    WriteFields(userBlock);
  }
  for (Field field : kPublishing) WritePersistent(block, ~(this->*field));
  block.GetStream()->WriteByte(flags);
  for (Field field : kContact) WritePersistent(block, ~(this->*field));
}

void DromelUserInfo::AppendText(Stream& out) {
  UserInfo::AppendText(out);
  out << String("Mots-clés pour site Web : "_cp) << *keywords << String("\r\n");
  out << String("Commentaires sur Quillory: ") << *comment << String("\r\n");
}
