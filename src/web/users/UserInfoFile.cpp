#include "web/users/UserInfoFile.h"

#include "core/Exception.h"
#include "core/File.h"
#include "core/FileReference.h"
#include "platform/kernel/Files.h"

SmartRef<FileType> gUserInfoFileType;
SmartRef<TypeIndex> gUsersTypeIndex;

void MakeUsersFormat() {
  if (!gUserInfoFileType)
    gUserInfoFileType = new FileType("Informations sur l'utilisateur", FourCharCode("usr "), FourCharCode("usr "));
  if (!gUsersTypeIndex) {
    gUsersTypeIndex = new TypeIndex(~gUserInfoFileType, MakeVersion(1), "Fichier d'informations sur les utilisateurs");
    UserInfo::RegisterTypes(*gUsersTypeIndex);
    gUsersTypeIndex->AddType(&DromelUserInfo::persistentType);
  }
}

namespace {

SmartRef<FileReference> UsersFileReference() {
  MakeUsersFormat();
  SmartRef<FileReference> folder(FileReference::ApplicationFolder());
  return new FileReference(*gUserInfoFileType, *FileCreatorType::defaultCreator, *folder, String("pers"), true);
}

void ReportWarning(Exception* failure) {
  SmartRef<Exception> held(failure);
  failure->ReportAsWarning();
  gLastException = nullptr;
}

}  // namespace

SmartRef<Scribe> OpenUsersFile() {
  try {
    SmartRef<FileReference> reference = UsersFileReference();
    SmartRef<File> file(new File(~reference, kFileModeRead | kFileModeWrite));
    CHECK_CALL(file->IsOpen());
    // It holds the publishing password; saves keep the permissions of the file they replace.
    CHECK_CALL(platform::RestrictToOwner(file->GetOSHandle()));
    return SmartRef<Scribe>(new ObjectFile(gUsersTypeIndex, SmartRef<Stream>(~file)));
  } catch (Exception* failure) {
    ReportWarning(failure);
  }
  return nullptr;
}

SmartRef<DromelUserInfo> GetUserInfo() {
  SmartRef<Scribe> scribe = OpenUsersFile();
  if (!scribe) return new DromelUserInfo();
  // The file is new, or was emptied: the record starts empty, and is stored so that the next run finds it.
  if (CastSmart<ObjectFile>(~scribe)->GetStream()->GetLength() == 0) {
    scribe = nullptr;
    SmartRef<DromelUserInfo> fresh(new DromelUserInfo());
    SaveUserInfo(~fresh);
    return fresh;
  }
  try {
    SmartRef<Smart> root;
    scribe->Read(&root);
    if (SmartRef<DromelUserInfo> record{CastSmart<DromelUserInfo>(~root)}) return record;
  } catch (Exception* failure) {
    ReportWarning(failure);
  }
  return new DromelUserInfo();
}

void SaveUserInfo(DromelUserInfo* record) {
  SmartRef<Scribe> scribe = OpenUsersFile();
  if (!scribe) return;
  try {
    scribe->Write(SmartRef<Smart>(record));
  } catch (Exception* failure) {
    ReportWarning(failure);
  }
}
