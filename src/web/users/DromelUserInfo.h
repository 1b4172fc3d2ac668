// The application's one user record: the child's details, the publishing settings the publish dialog
// edits in place (provider, host, server path, account, password), and the site's author, whose contact
// details the publishing writes beside the pages.
#pragma once

#include <cstdint>

#include "web/users/UserInfo.h"

class DromelUserInfo : public UserInfo {
  SMART_CLASS(DromelUserInfo)
 public:
  static const PersistentType persistentType;

  // Every String new and empty, the flag byte 0.
  DromelUserInfo();
  DromelUserInfo(const DromelUserInfo& other) = default;
  DromelUserInfo& operator=(const DromelUserInfo& other) = default;
  explicit DromelUserInfo(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  // The child's summary, then the site's keywords and comment.
  void AppendText(Stream& stream) override;

  SmartRef<String> service;     // the provider chosen last
  SmartRef<String> ftpHost;
  SmartRef<String> serverPath;  // the account already put in
  SmartRef<String> account;
  SmartRef<String> password;
  SmartRef<String> keywords;
  SmartRef<String> comment;
  // Kept as read, so that a file keeps what a later program may have stored in it.
  std::uint8_t flags = 0;
  SmartRef<String> contactFirstName;
  SmartRef<String> contactLastName;
  SmartRef<String> contactSchool;
  SmartRef<String> contactAddress;
  SmartRef<String> contactCity;
  SmartRef<String> contactCountry;
  SmartRef<String> contactPostalCode;
  SmartRef<String> contactEmail;

};
