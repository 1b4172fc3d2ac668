// The user-information file "pers.usr" in the program's folder: an object file whose root is the
// application's user record, so that the publishing settings are there again at the next run. Every
// call opens the file anew; nothing keeps it open.
#pragma once

#include "core/FileType.h"
#include "core/Format.h"
#include "core/ObjectFile.h"
#include "web/users/DromelUserInfo.h"

// "Informations sur l'utilisateur", 'usr ', extension usr; and the file's format, version 1.0, holding
// the user record types then DromelUserInfo. Both are made on first use and kept until exit.
extern SmartRef<FileType> gUserInfoFileType;
extern SmartRef<TypeIndex> gUsersTypeIndex;
void MakeUsersFormat();

// The object file over "pers.usr" (made empty, readable by its owner only, when missing), or null after
// a failure, which is reported as a warning.
SmartRef<Scribe> OpenUsersFile();

// The stored record. A missing or empty file gets a new empty record, saved at once. A file that cannot
// be read, or holds something else, is left as it is for a real save to replace: its problem is reported
// and a new empty record is answered, never null.
SmartRef<DromelUserInfo> GetUserInfo();

// Replaces the file's record by this one, once the new file is written whole; a failure is reported as
// a warning and leaves the file as it was.
void SaveUserInfo(DromelUserInfo* record);
