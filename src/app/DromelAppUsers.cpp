// The application's user-information file: the records and the file itself are the web library's.
#include "app/DromelApp.h"
#include "web/users/UserInfoFile.h"

SmartRef<Scribe> DromelApp::OpenUsersFile() { return ::OpenUsersFile(); }

SmartRef<DromelUserInfo> DromelApp::GetUserInfo() { return ::GetUserInfo(); }

void DromelApp::SaveUserInfo(DromelUserInfo* record) { ::SaveUserInfo(record); }
