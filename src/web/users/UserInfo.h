// The child's personal details, stored in the user-information file, and the list type of such records.
// Copies and clones share the field Strings: a text field bound to one record's String shows in every
// copy of it.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/ListData.h"
#include "core/ObjectReference.h"
#include "core/String.h"

class Stream;
class TypeIndex;

class UserInfo : public Persistent, public SmartImplementation, public Editable {
  SMART_CLASS(UserInfo)
 public:
  static const PersistentType persistentType;

  enum : std::int32_t { kMale = 0, kFemale = 1 };

  // Ten new empty Strings, sex 0.
  UserInfo();
  UserInfo(const UserInfo& other) = default;
  UserInfo& operator=(const UserInfo& other) = default;
  explicit UserInfo(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  // A labelled summary, one detail a line, each line ending with CR LF.
  virtual void AppendText(Stream& stream);

  String* GetTitle() override { return ~lastName; }

  // Adds what a file of user records holds (String, UserInfo, the list data) to the index, in that order.
  static void RegisterTypes(TypeIndex& index);

  SmartRef<String> firstName;
  SmartRef<String> lastName;
  SmartRef<String> birthday;
  std::int32_t sex = kMale;  // any value but 0 and 1: not given
  SmartRef<String> street;
  SmartRef<String> city;
  SmartRef<String> state;
  SmartRef<String> country;
  SmartRef<String> zipCode;
  SmartRef<String> email;
  SmartRef<String> webPage;  // also the published site's web path

 protected:
  // This class's fields inside a block of its type (a subclass's nested block reads them the same way).
  void ReadFields(ArchiveBlock& block);
  void WriteFields(ArchiveBlock& block);
};

// A list of user records. Nothing of the list is stored: it writes an empty block and reads back empty.
class Users : public SmartImplementation, public Persistent {
  SMART_CLASS(Users)
 public:
  static const PersistentType persistentType;

  Users() = default;
  Users(const Users& other) = default;
  Users& operator=(const Users& other) = default;
  explicit Users(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  List users{&UserInfo::classInfo};
};

// The String a stored reference names, or a new empty one when it names none or something else: a
// record's fields are never null, whatever the file held.
SmartRef<String> ReadStringField(ArchiveBlock& block);
