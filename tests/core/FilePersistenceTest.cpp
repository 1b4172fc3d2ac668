#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "core/CoreState.h"
#include "core/File.h"
#include "core/FileReference.h"
#include "core/ObjectFile.h"
#include "core/Resources.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "core/TextFile.h"
#include "core/Time.h"
#include "platform/dialogs/CommonDialogs.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Files.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace {

std::string Text(const String& text) {
  TextLock lock(text);
  return std::string(lock.Chars() ? lock.Chars() : "", static_cast<std::size_t>(lock.Length()));
}

const FileType& pageType = MakeDocumentFileType();

// A page of a test document: its media files, and two times.
class Page : public Persistent, public SmartImplementation {
  SMART_CLASS(Page)
 public:
  static const PersistentType persistentType;
  Page() = default;
  explicit Page(ArchiveBlock& block) {
    Archive* archive = block.GetArchive();
    media = CastSmart<ListData>(archive->ReadObject());
    date = CastSmart<Time>(archive->ReadObject());
    wait = CastSmart<TimePeriod>(archive->ReadObject());
  }
  static Persistent* ReadNew(Archive* archive) { return ReadFromBlock<Page>(archive, &persistentType); }
  void Write(Archive* archive) override {
    ArchiveBlock block(archive, &persistentType);
    block.GetArchive()->WriteObject(~media);
    block.GetArchive()->WriteObject(~date);
    block.GetArchive()->WriteObject(~wait);
  }
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  SmartRef<ListData> media;
  SmartRef<Time> date;
  SmartRef<TimePeriod> wait;
};

SMART_DEFINE(Page, "Page", &CreateDefault<Page>, nullptr, Persistent, SmartImplementation)
const PersistentType Page::persistentType(&Page::classInfo, MakeVersion(1), MakeVersion(1), &Page::ReadNew);

// The classes such a page stores.
SmartRef<TypeIndex> PageIndex() {
  SmartRef<TypeIndex> index = new TypeIndex(&pageType, MakeVersion(1), "test");
  for (const PersistentType* type :
       {&Page::persistentType, &ListData::persistentType, &String::persistentType, &GenericArray::persistentType,
        &FileReference::persistentType, &TimeData::persistentType, &Time::persistentType, &TimePeriod::persistentType})
    index->AddType(type);
  return index;
}

void Save(FileReference& file, SmartRef<Smart> root) {
  SmartRef<File> stream(new File(&file, kFileModeRead | kFileModeWrite));
  SmartRef<ObjectFile> objects(new ObjectFile(PageIndex(), SmartRef<Stream>(~stream)));
  objects->Write(root);
  stream->Close();
}

SmartRef<Page> Load(FileReference& file) {
  SmartRef<File> stream(new File(&file, kFileModeRead));
  SmartRef<ObjectFile> objects(new ObjectFile(PageIndex(), SmartRef<Stream>(~stream)));
  SmartRef<Smart> root;
  objects->Read(&root);
  return CastSmart<Page>(~root);
}

FileReference* Item(const SmartRef<Page>& page, int n) { return CastSmart<FileReference>(page->media->At(n)); }

class ChooserAnswering {
 public:
  explicit ChooserAnswering(std::optional<std::string> path) {
    previous = platform::SetFileChooser([path](platform::FileDialogKind, const OPENFILENAMEA&) { return path; });
  }
  ~ChooserAnswering() { platform::SetFileChooser(std::move(previous)); }

 private:
  platform::FileChooser previous;
};

TEST(FilePersistence, ReferencesAndTimesTravelWithTheirProjectFolder) {
  TempFolder root;
  root.Write("Projets/Mon site/photo.gif", "GIF89a");
  root.Write("Projets/Mon site/son.wav", "RIFF");
  root.Write("Projets/Mon site/" + std::string(40, 'n') + ".gif", "GIF89a");
  SmartRef<FileReference> folder(new FileReference(root.WinPath("Projets\\Mon site").c_str()));
  FileReference page(pageType, *FileCreatorType::defaultCreator, *folder, "page", true);
  {
    SmartRef<Page> saved(new Page());
    saved->media = new ListData(&FileReference::classInfo);
    saved->media->Append(new FileReference(root.WinPath("Projets\\Mon site\\photo.gif").c_str()));
    saved->media->Append(new FileReference(root.WinPath("Projets\\Mon site\\son.wav").c_str()));
    saved->media->Append(
        new FileReference(root.WinPath("Projets\\Mon site\\" + std::string(40, 'n') + ".gif").c_str()));
    saved->media->Append(new FileReference());
    saved->date = new Time(Time(3, 5, 1999) + TimePeriod(14, 30, 15));
    saved->wait = new TimePeriod(0, 0, 5);
    Save(page, SmartRef<Smart>(~saved));
  }
  // The project moves as a whole, and one of its sounds is removed.
  std::filesystem::rename(root.Path() / "Projets/Mon site", root.Path() / "Projets/Ailleurs");
  std::filesystem::remove(root.Path() / "Projets/Ailleurs/son.wav");
  FileReference moved(root.WinPath("Projets\\Ailleurs\\page.zod").c_str());
  const SmartRef<Page> items = Load(moved);
  ASSERT_TRUE(items);
  ASSERT_EQ(items->media->NumItems(), 4);

  EXPECT_TRUE(Item(items, 1)->IsLocated());
  EXPECT_STREQ(Item(items, 1)->GetPathText(), root.WinPath("Projets\\Ailleurs\\photo.gif").c_str());
  EXPECT_STREQ(Item(items, 3)->GetPathText(),
               root.WinPath("Projets\\Ailleurs\\" + std::string(40, 'n') + ".gif").c_str())
      << "a long name is stored whole";
  EXPECT_FALSE(Item(items, 4)->HasPath()) << "an empty reference stays empty";
  Time* date = ~items->date;
  ASSERT_NE(date, nullptr);
  EXPECT_TRUE(*date == Time(3, 5, 1999) + TimePeriod(14, 30, 15));
  SmartRef<String> dateText(date->GetDateText());
  EXPECT_EQ(Text(*dateText), "3/5/1999");
  TimePeriod* period = ~items->wait;
  ASSERT_NE(period, nullptr);
  EXPECT_EQ(period->GetSeconds(), 5);

  // The removed sound reads back by its name, not located; its first use asks for it.
  FileReference* sound = Item(items, 2);
  EXPECT_FALSE(sound->IsLocated());
  EXPECT_STREQ(sound->GetPathText(), "son.wav");
  AlertRecorder recorder;
  recorder.Answer({IDCANCEL});
  EXPECT_TRUE(IsMember<UserCancelException>(~Raised([&] { sound->IsFolder(); })));
  ASSERT_EQ(recorder.Alerts().size(), 1u);
  char expected[256];
  gDocumentMessages.GetString(expected, 6, "son.wav");
  EXPECT_EQ(recorder.Alerts()[0].text, expected);
  EXPECT_EQ(recorder.Alerts()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OKCANCEL));

  // Saved again while still missing, it keeps its name.
  FileReference copy(pageType, *FileCreatorType::defaultCreator, *SmartRef<FileReference>(moved.GetParent()), "copie",
                     true);
  recorder.Answer({IDCANCEL});
  Save(copy, SmartRef<Smart>(~items));
  const SmartRef<Page> again = Load(copy);
  EXPECT_FALSE(Item(again, 2)->IsLocated());
  EXPECT_STREQ(Item(again, 2)->GetPathText(), "son.wav");

  // OK, then a file chosen in the Open dialog: the reference is located there.
  const std::string found = root.Write("Sons/autre.wav", "RIFF");
  recorder.Answer({IDOK});
  {
    ChooserAnswering chooser(found);
    EXPECT_FALSE(sound->IsFolder());
  }
  EXPECT_TRUE(sound->IsLocated());
  EXPECT_STREQ(sound->GetPathText(), found.c_str());
  // Cancelling the Open dialog is a cancel too.
  recorder.Answer({IDOK});
  EXPECT_TRUE(IsMember<UserCancelException>(~Raised([&] { Item(again, 2)->GetSpec(); })));
}

// Stores any text where a file reference stores its name, as a damaged or crafted document would.
class StoredName : public FileReference {
  SMART_CLASS(StoredName)
 public:
  explicit StoredName(const char* text = "") : text(text) {}
  void Write(Archive* archive) override {
    ArchiveBlock block(archive, &FileReference::persistentType);
    String(text.c_str()).Write(block.GetArchive());
  }
  std::string text;
};

SMART_DEFINE(StoredName, "StoredName", nullptr, nullptr, FileReference)

TEST(FilePersistence, StoredNamesDoNotLeadOutOfTheDocumentsFolder) {
  TempFolder root;
  root.Write("secret.txt", "x");
  root.Write("Projets/P/photo.gif", "x");
  SmartRef<FileReference> folder(new FileReference(root.WinPath("Projets\\P").c_str()));
  FileReference page(pageType, *FileCreatorType::defaultCreator, *folder, "page", true);
  SmartRef<Page> saved(new Page());
  saved->media = new ListData(&FileReference::classInfo);
  for (const char* name : {"..\\..\\secret.txt", "../../secret.txt", "..", "photo.gif", "C:photo.gif"})
    saved->media->Append(new StoredName(name));
  Save(page, SmartRef<Smart>(~saved));
  const SmartRef<Page> read = Load(page);
  ASSERT_EQ(read->media->NumItems(), 5);
  for (int n : {1, 2, 3, 5}) {
    EXPECT_FALSE(Item(read, n)->IsLocated()) << n;
    EXPECT_EQ(std::string(Item(read, n)->GetPathText()).find(root.WinPath()), std::string::npos) << n;
  }
  EXPECT_TRUE(Item(read, 4)->IsLocated());
}

TEST(FilePersistence, TextFilesHoldOneString) {
  TempFolder root;
  FileReference reference(root.Write("notes.txt", std::string(100, 'x')).c_str());
  SmartRef<TextFile> file(new TextFile(&reference, kFileModeRead | kFileModeWrite));
  file->Write(SmartRef<Smart>(new String("Été !"_cp)));
  file->Close();
  EXPECT_EQ(root.Read("notes.txt"), "Été !"_cp);

  SmartRef<TextFile> reader(new TextFile(&reference, kFileModeRead));
  SmartRef<Smart> read;
  reader->Read(&read);
  ASSERT_TRUE(IsMember<String>(~read));
  EXPECT_EQ(Text(*CastSmart<String>(~read)), "Été !"_cp);
  reader->Write(SmartRef<Smart>(new String("lost")));  // opened for reading: nothing written
  reader->Write(SmartRef<Smart>(new Time(1, 1, 2000)));
  reader->Close();
  EXPECT_EQ(root.Read("notes.txt"), "Été !"_cp);
  EXPECT_TRUE(reader->ReadsKindOf(&String::classInfo));
  EXPECT_FALSE(reader->ReadsKindOf(&Time::classInfo));

  FileReference empty(root.Write("vide.txt").c_str());
  SmartRef<TextFile> emptyFile(new TextFile(&empty, kFileModeRead));
  emptyFile->Read(&read);
  EXPECT_EQ(CastSmart<String>(~read)->Length(), 0);
}

TEST(FilePersistence, NumberedTextsOfTheDataFolder) {
  TempFolder root;
  root.Write("Data/1000.txt", "ftp:/ftp.exemple.fr/users/moi");
  char saved[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, saved);
  ASSERT_TRUE(SetCurrentDirectoryA(root.WinPath().c_str()));
  TheCoreState().applicationFolderRead = false;
  String text("inchangé"_cp);
  EXPECT_FALSE(LoadDataText(text, 1001));
  EXPECT_EQ(Text(text), "inchangé"_cp);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_TRUE(LoadDataText(text, 1000));
  EXPECT_EQ(Text(text), "ftp:/ftp.exemple.fr/users/moi");
  SetCurrentDirectoryA(saved);
  TheCoreState().applicationFolderRead = false;
}

}  // namespace
