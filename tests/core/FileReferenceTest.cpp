#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/CoreState.h"
#include "core/FileReference.h"
#include "core/Text1252.h"
#include "core/Time.h"
#include "platform/kernel/Files.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace {

FileType& gifType = *NewPermanent<FileType>("Image GIF", FourCharCode("GIFf"), FourCharCode("gif "));
FileType& jpegType = *NewPermanent<FileType>("Image JPEG", FourCharCode("JPEG"), FourCharCode("jpg "));

std::string Text(const String& text) {
  TextLock lock(text);
  return std::string(lock.Chars() ? lock.Chars() : "", static_cast<std::size_t>(lock.Length()));
}

std::string NameOf(FileReference& reference) {
  String name;
  reference.GetName(name);
  return Text(name);
}

List Types(std::initializer_list<FileType*> types) {
  FileTypeList list;
  for (FileType* type : types) list.Append(type);
  return list;
}

const std::string kForty = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";

class FileReferenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root.Write("a/b.gif");
    root.Write("a/photo.GIF");
    root.Write("a/page.html");
    root.Write("a/c.gi");
    root.Write("a/" + kForty + ".txt");
    root.MakeFolder("a/x.y");
  }

  // The names below the folder, as the program lists them.
  std::vector<std::string> Names(const List& list) const {
    std::vector<std::string> names;
    const std::string prefix = root.WinPath() + "\\";
    for (std::int32_t i = 1; i <= list.NumItems(); ++i) {
      std::string path = CastSmart<FileReference>(list.At(i))->GetPathText();
      names.push_back(path.rfind(prefix, 0) == 0 ? path.substr(prefix.size()) : path);
    }
    return names;
  }

  TempFolder root;
};

TEST_F(FileReferenceTest, PathsParseIntoFolderNameAndExtension) {
  struct Case {
    std::string path;
    std::string folder;
    std::string name;
    OSType extension;
    std::string fullName;
  };
  const std::string a = root.WinPath("a");
  const Case cases[] = {
      {a + "\\b.gif", a, "b", FourCharCode("gif "), "b.gif"},
      {a + "\\photo.GIF", a, "photo", FourCharCode("gif "), "photo.gif"},
      {a + "\\x.y", a, "x.y", 0, "x.y."},                          // a folder has no extension
      {a + "\\missing.gif", a, "missing.gif", 0, "missing.gif."},  // nor has a missing file
      {a + "\\page.html", a, "page.html", 0, "page.html."},        // only three characters make one
      {a + "\\c.gi", a, "c.gi", 0, "c.gi."},
      {a + "\\" + kForty, a, kForty.substr(0, 32), 0, kForty.substr(0, 32) + "."},
      {a + "\\" + kForty + ".txt", a, kForty.substr(0, 32), FourCharCode("txt "), kForty.substr(0, 32) + ".txt"},
      {"lonely.gif", "", "lonely.gif", 0, "lonely.gif."},
  };
  for (const auto& c : cases) {
    FileReference reference(c.path.c_str());
    const FileSpec& spec = reference.GetSpec();
    EXPECT_EQ(spec.folder, c.folder) << c.path;
    EXPECT_STREQ(spec.name, c.name.c_str()) << c.path;
    EXPECT_EQ(spec.extension, c.extension) << c.path;
    EXPECT_EQ(NameOf(reference), c.fullName) << c.path;
  }
  FileReference drive("C:\\a\\b.gif");
  EXPECT_EQ(drive.GetSpec().drive, 'C');
  String base;
  FileReference photo((a + "\\photo.GIF").c_str());
  EXPECT_EQ(photo.GetBaseNameAndType(base), FourCharCode("gif "));
  EXPECT_EQ(Text(base), "photo");
  EXPECT_TRUE(photo.IsOfType(gifType));
  EXPECT_TRUE(gifType.Matches(&photo));
  FileReference twoLetters((a + "\\c.gi").c_str());
  EXPECT_EQ(twoLetters.GetBaseNameAndType(base), 0x00000020u) << "c.gi. splits at its last dot, before nothing";
  EXPECT_EQ(Text(base), "c.gi");
}

TEST_F(FileReferenceTest, EmptyReferencesAndEquality) {
  FileReference empty, alsoEmpty;
  EXPECT_FALSE(empty.HasPath());
  EXPECT_FALSE(empty.IsLocated());
  EXPECT_TRUE(empty == alsoEmpty);
  EXPECT_EQ(NameOf(empty), "");
  EXPECT_EQ(empty.GetParent(), nullptr);
  EXPECT_FALSE(empty.IsOfType(gifType));
  EXPECT_EQ(RaisedText(Raised([&] { empty.GetSpec(); })), "spec != NULL");
  FileReference lower(root.WinPath("a\\b.gif").c_str());
  FileReference upper(root.WinPath("A\\B.GIF").c_str());
  FileReference same(lower);
  EXPECT_FALSE(lower == empty);
  EXPECT_FALSE(lower == upper) << "paths compare case-sensitively";
  EXPECT_TRUE(lower == same);
  SmartRef<FileReference> parent(lower.GetParent());
  EXPECT_STREQ(parent->GetPathText(), root.WinPath("a").c_str());
  // A path that does not fit is refused rather than cut to another file's.
  const std::string tooLong(260, 'x');
  EXPECT_EQ(RaisedText(Raised([&] { FileReference cut(tooLong.c_str()); })), "system error 206");
  EXPECT_EQ(RaisedText(Raised([&] { lower.SetPath(tooLong.c_str()); })), "system error 206");
  EXPECT_STREQ(lower.GetPathText(), root.WinPath("a\\b.gif").c_str());
}

TEST_F(FileReferenceTest, ChildrenAreFoundMadeAndRefused) {
  FileReference folder(root.WinPath("a").c_str());
  EXPECT_TRUE(folder.ChildExists("B", gifType));
  EXPECT_FALSE(folder.ChildExists("b", jpegType));
  FileReference file(root.WinPath("a\\b.gif").c_str());
  EXPECT_FALSE(file.ChildExists("b", gifType));

  EXPECT_EQ(
      RaisedText(Raised([&] { FileReference f(jpegType, *FileCreatorType::defaultCreator, folder, "new", false); })),
      "Call failed.");
  FileReference made(jpegType, *FileCreatorType::defaultCreator, folder, "new", true);
  EXPECT_STREQ(made.GetPathText(), root.WinPath("a\\new.jpg").c_str());
  EXPECT_TRUE(made.IsEmptyFile());
  EXPECT_TRUE(made.IsWritable());
  EXPECT_FALSE(made.IsFolder());

  EXPECT_EQ(RaisedText(Raised([&] { FileReference f(folder, "Sons", false); })), "system error 2");
  FileReference sons(folder, "Sons", true);
  EXPECT_TRUE(sons.IsFolder());
  FileReference again(folder, "SONS", false);
  EXPECT_TRUE(again.IsFolder());
  // A folder that cannot be made is an error, not a reference to nothing.
  EXPECT_EQ(RaisedText(Raised([&] { FileReference f(folder, "a|b", true); })), "system error 123");
  EXPECT_EQ(RaisedText(Raised([&] { FileReference f(file, "x", true); })), "parent.IsFolder()");
  const std::string longName(250, 'n');
  EXPECT_EQ(RaisedText(Raised([&] { FileReference f(folder, longName.c_str(), true); })), "system error 206");

  folder.DeleteChild("new.jpg");
  EXPECT_FALSE(std::filesystem::exists(root.Path() / "a/new.jpg"));
  EXPECT_EQ(RaisedText(Raised([&] { folder.DeleteChild("new.jpg"); })), "system error 2");
  file.DeleteChild("b.gif");  // not a folder: nothing
  EXPECT_TRUE(std::filesystem::exists(root.Path() / "a/b.gif"));

  FileReference missing(root.WinPath("a\\none.gif").c_str());
  EXPECT_TRUE(missing.IsFolder()) << "a path without attributes counts as a folder";
  EXPECT_FALSE(missing.IsWritable());
}

TEST_F(FileReferenceTest, UniqueChildNames) {
  const std::string n31(31, 'p');
  for (const char* name : {"photo", "photo1", "photo2"}) root.Write(std::string("u/") + name + ".gif");
  root.Write("u/" + n31 + ".gif");
  for (int i = 1; i <= 9; ++i) root.Write("u/" + n31.substr(0, 31) + std::to_string(i) + ".gif");
  for (int i = 0; i <= 99; ++i) root.Write("u/full" + (i ? std::to_string(i) : "") + ".gif");
  FileReference folder(root.WinPath("u").c_str());
  struct Case {
    std::string given;
    std::string unique;
  };
  const Case cases[] = {
      {"photo", "photo3"},
      {"free", "free"},
      {"photo", "photo3"},
      {n31, n31.substr(0, 30) + "10"},
  };
  for (const auto& c : cases) {
    String name(c.given.c_str());
    folder.MakeUniqueChildName(name, gifType);
    EXPECT_EQ(Text(name), c.unique);
  }
  String name(n31.c_str());
  folder.MakeUniqueChildName(name, jpegType);
  EXPECT_EQ(Text(name), n31) << "other types do not count";
  name.Set("full");
  EXPECT_EQ(RaisedText(Raised([&] { folder.MakeUniqueChildName(name, gifType); })), "system error 80");
  FileReference file(root.WinPath("u\\photo.gif").c_str());
  name.Set("photo");
  file.MakeUniqueChildName(name, gifType);
  EXPECT_EQ(Text(name), "photo");
}

TEST_F(FileReferenceTest, ListingByTypeInPathOrder) {
  root.Write("l/Zèbre.gif");
  root.Write("l/b.JPG");
  root.Write("l/A.gif");
  root.Write("l/notes.txt");
  root.Write("l/.cache.gif");
  root.Write("l/secret.gif");
  root.Write("l/system.jpg");
  root.Write("l/sub/c.gif");
  root.Write("l/sub/d.txt");
  root.Write("l/album.gif/e.gif");
  root.MakeFolder("l/Cachés");
  ASSERT_TRUE(SetFileAttributesA(root.WinPath("l\\secret.gif").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesA(root.WinPath("l\\system.jpg").c_str(), FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(SetFileAttributesA(root.WinPath("l\\Cachés"_cp).c_str(), FILE_ATTRIBUTE_HIDDEN));
  FileReference folder(root.WinPath("l").c_str());
  using NameList = std::vector<std::string>;
  struct Case {
    List types;
    bool recurse;
    NameList names;
  };
  const Case cases[] = {
      {Types({}), false, {"l\\A.gif", "l\\album.gif", "l\\b.JPG", "l\\notes.txt", "l\\sub", "l\\Zèbre.gif"_cp}},
      {Types({&gifType, &jpegType}), false, {"l\\A.gif", "l\\album.gif", "l\\b.JPG", "l\\Zèbre.gif"_cp}},
      {Types({&gifType}), true, {"l\\A.gif", "l\\album.gif\\e.gif", "l\\Zèbre.gif"_cp}},
      {Types({}),
       true,
       {"l\\A.gif", "l\\album.gif\\e.gif", "l\\b.JPG", "l\\notes.txt", "l\\sub\\c.gif", "l\\sub\\d.txt",
        "l\\Zèbre.gif"_cp}},
  };
  for (const auto& c : cases) {
    const List found = folder.ListFiles(c.types, c.recurse);
    EXPECT_EQ(Names(found), c.names) << c.types.NumItems() << " types, recurse " << c.recurse;
  }
  EXPECT_EQ(Names(folder.ListSubfolders()), (NameList{"l\\album.gif", "l\\Cachés"_cp, "l\\sub"}));
  FileReference file(root.WinPath("l\\A.gif").c_str());
  EXPECT_EQ(RaisedText(Raised([&] { file.ListSubfolders(); })), "IsFolder()");
}

TEST_F(FileReferenceTest, ProgramAndCurrentFolders) {
  char saved[MAX_PATH];
  ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, saved), 0u);
  FileReference a(root.WinPath("a").c_str());
  FileReference file(root.WinPath("a\\b.gif").c_str());
  EXPECT_FALSE(FileReference::SetCurrentFolder(file));
  ASSERT_TRUE(FileReference::SetCurrentFolder(a));
  TheCoreState().applicationFolderRead = false;
  SmartRef<FileReference> application(FileReference::ApplicationFolder());
  SmartRef<FileReference> current(FileReference::CurrentFolder());
  EXPECT_STREQ(application->GetPathText(), root.WinPath("a").c_str());
  EXPECT_STREQ(current->GetPathText(), root.WinPath("a").c_str());
  FileReference up("..");
  ASSERT_TRUE(FileReference::SetCurrentFolder(up));
  SmartRef<FileReference> stillApplication(FileReference::ApplicationFolder());
  EXPECT_STREQ(stillApplication->GetPathText(), root.WinPath("a").c_str()) << "read once, at the first call";
  // A current folder that has gone away: the one last read or set is answered.
  root.MakeFolder("gone");
  FileReference gone(root.WinPath("gone").c_str());
  ASSERT_TRUE(FileReference::SetCurrentFolder(gone));
  std::filesystem::remove(root.Path() / "gone");
  SmartRef<FileReference> remembered(FileReference::CurrentFolder());
  EXPECT_STREQ(remembered->GetPathText(), root.WinPath("gone").c_str());
  SetCurrentDirectoryA(saved);
  TheCoreState().applicationFolderRead = false;
}

TEST_F(FileReferenceTest, ModificationDateInUtc) {
  const auto file = root.Path() / "a/b.gif";
  // 5 March 1999, 14:30:15 UTC.
  const auto when = std::chrono::file_clock::from_sys(std::chrono::sys_days{std::chrono::year{1999} / 3 / 5} +
                                                      std::chrono::hours{14} + std::chrono::minutes{30} +
                                                      std::chrono::seconds{15} + std::chrono::milliseconds{700});
  std::filesystem::last_write_time(file, when);
  FileReference reference(root.WinPath("a\\b.gif").c_str());
  SmartRef<Time> date(reference.GetModificationDate());
  EXPECT_EQ(date->GetMonths(), 1999 * 12 + 2);
  EXPECT_EQ(date->GetSeconds(), 4 * 86400 + 14 * 3600 + 30 * 60 + 15);
  FileReference missing(root.WinPath("a\\none.gif").c_str());
  EXPECT_EQ(RaisedText(Raised([&] { missing.GetModificationDate(); })), "Call failed.");
}

}  // namespace
