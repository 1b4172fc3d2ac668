// Folder previews: the thumbnail store of a folder, its file, and the one current preview the file
// references keep.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/File.h"
#include "core/FileReference.h"
#include "core/ObjectFile.h"
#include "core/Progress.h"
#include "core/Seams.h"
#include "core/Text1252.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/Color.h"
#include "graphics/OffScreen.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "support/TempFolder.h"
#include "support/graphics/GraphicsFixture.h"
#include "ui/dialogs/Preview.h"

namespace {

// A small thumbnail of one standard colour.
SmartRef<BitMap> Thumbnail(int standardColor) {
  SmartRef<OffScreen> surface(new OffScreen(4, 3, 8, Color(standardColor), true));
  return surface->GetBitMap();
}

// The standard colour a thumbnail was made of, or -1.
int ColorOf(const SmartRef<Image>& image) {
  auto* bitmap = CastSmart<BitMap>(~image);
  if (bitmap == nullptr) return -1;
  const Color seen = bitmap->GetPixelColor(bitmap->GetPixelValue(1, 1));
  for (int c = 0; c < numStandardColors; ++c)
    if (Color(c) == seen) return c;
  return -1;
}

constexpr int kRed = 7, kGreen = 8, kBlue = 9;

// The root object of a file in the preview files' format, written (when given) and read back.
SmartRef<Smart> RoundTrip(const std::string& path, Smart* written = nullptr) {
  SmartRef<FileReference> where(new FileReference(path.c_str()));
  if (written) {
    SmartRef<File> file(new File(~where, kFileModeRead | kFileModeWrite));
    SmartRef<ObjectFile> objects(new ObjectFile(Preview::GetFormat(), SmartRef<Stream>(~file)));
    objects->Write(SmartRef<Smart>(written));
  }
  SmartRef<File> file(new File(~where, kFileModeRead));
  SmartRef<ObjectFile> objects(new ObjectFile(Preview::GetFormat(), SmartRef<Stream>(~file)));
  SmartRef<Smart> read;
  objects->Read(&read);
  return read;
}

class PreviewTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "Photo.bmp"}) root.Write(name, "not empty");
    root.Write("empty.bmp");
  }
  void TearDown() override {
    currentPreview = nullptr;
    currentPreviewModified = false;
    GraphicsFixture::TearDown();
  }

  SmartRef<FileReference> Ref(const std::string& name = "") {
    return SmartRef<FileReference>(new FileReference(root.WinPath(name).c_str()));
  }
  SmartRef<Preview> Open() { return Preview::Open(*Ref()); }
  std::uintmax_t StoreSize() { return std::filesystem::file_size(root.Path() / "_preview.pre"); }

  TempFolder root;
  AlertRecorder alerts;
};

TEST_F(PreviewTest, OpeningMakesTheEmptyFileAndAnEmptyStore) {
  SmartRef<Preview> preview = Open();
  EXPECT_TRUE(std::filesystem::exists(root.Path() / "_preview.pre"));
  EXPECT_EQ(StoreSize(), 0u);
  EXPECT_EQ(preview->GetItemCount(), 0);
  EXPECT_FALSE(preview->GetItemImage(*Ref("a.bmp")));
  EXPECT_FALSE(preview->IsItemCurrent(*Ref("a.bmp"), false));
  EXPECT_TRUE(*preview->GetFolder() == *Ref());
  const SmartRef<Exception> raised = Raised([&] { preview->SetItemTime(*Ref("a.bmp"), Time(1, 1, 2000)); });
  EXPECT_EQ(RaisedText(raised), "previewItem.Valid()");
  EXPECT_EQ(RaisedPlace(raised), "PREVIEW:313");
  EXPECT_TRUE(alerts.Alerts().empty()) << "an empty store is no damaged document";
}

TEST_F(PreviewTest, ANewStoreFindsItsThumbnailsByTheirNamesBytes) {
  SmartRef<Preview> preview = Open();
  preview->UpdateItem(*Ref("a.bmp"), ~Thumbnail(kRed));
  EXPECT_EQ(ColorOf(preview->GetItemImage(*Ref("a.bmp"))), kRed) << "a new store has no index to wait for";
  preview->UpdateItem(*Ref("a.bmp"), ~Thumbnail(kBlue));
  EXPECT_EQ(preview->GetItemCount(), 1) << "the second thumbnail replaces the first";
  EXPECT_EQ(ColorOf(preview->GetItemImage(*Ref("a.bmp"))), kBlue);
  // The system finds "photo.bmp" as Photo.bmp, but the store compares the names' bytes.
  preview->UpdateItem(*Ref("Photo.bmp"), ~Thumbnail(kGreen));
  EXPECT_FALSE(preview->GetItemImage(*Ref("photo.bmp")));
  EXPECT_EQ(ColorOf(preview->GetItemImage(*Ref("Photo.bmp"))), kGreen);
  preview->UpdateItem(*Ref("photo.bmp"), nullptr);
  EXPECT_EQ(preview->GetItemCount(), 3);
  EXPECT_TRUE(preview->IsItemCurrent(*Ref("photo.bmp"), true)) << "an item without a picture is still dated";
}

TEST_F(PreviewTest, ASavedStoreReadsBackTheSameThumbnailsAndDates) {
  {
    SmartRef<Preview> preview = Open();
    preview->UpdateItem(*Ref("a.bmp"), ~Thumbnail(kRed));
    preview->UpdateItem(*Ref("b.bmp"), ~Thumbnail(kBlue));
    preview->SetItemTime(*Ref("b.bmp"), Time(3, 5, 1999));
    preview->Update();
    preview->Update();  // a store saved twice is the same store
  }
  EXPECT_GT(StoreSize(), 0u);
  SmartRef<Preview> preview = Open();
  EXPECT_EQ(preview->GetItemCount(), 2);
  EXPECT_EQ(ColorOf(preview->GetItemImage(*Ref("b.bmp"))), kBlue);
  EXPECT_EQ(ColorOf(preview->GetItemImage(*Ref("a.bmp"))), kRed);
  EXPECT_TRUE(preview->IsItemCurrent(*Ref("a.bmp"), true));
  ASSERT_TRUE(preview->FindItem(*Ref("b.bmp")));
  EXPECT_TRUE(*preview->FindItem(*Ref("b.bmp"))->GetTime() == Time(3, 5, 1999));
  EXPECT_FALSE(preview->IsItemCurrent(*Ref("b.bmp"), true));
  EXPECT_TRUE(preview->IsItemCurrent(*Ref("b.bmp"), false));

  // A thumbnail added to a store read from its file waits for the next save to be found.
  preview->UpdateItem(*Ref("c.bmp"), ~Thumbnail(kGreen));
  EXPECT_EQ(preview->GetItemCount(), 3);
  EXPECT_FALSE(preview->GetItemImage(*Ref("c.bmp")));
  preview->Update();
  EXPECT_EQ(ColorOf(preview->GetItemImage(*Ref("c.bmp"))), kGreen);
  preview = nullptr;

  // Items not asked for since opening are saved too.
  preview = Open();
  preview->UpdateItem(*Ref("a.bmp"), ~Thumbnail(kGreen));
  preview->Update();
  preview = Open();
  EXPECT_EQ(preview->GetItemCount(), 3);
  EXPECT_EQ(ColorOf(preview->GetItemImage(*Ref("a.bmp"))), kGreen);
  EXPECT_EQ(ColorOf(preview->GetItemImage(*Ref("b.bmp"))), kBlue);
  EXPECT_EQ(ColorOf(preview->GetItemImage(*Ref("c.bmp"))), kGreen);
  EXPECT_TRUE(alerts.Alerts().empty());
}

std::int32_t Long(const std::string& bytes, std::size_t at) {
  std::int32_t value = 0;
  if (at + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

TEST_F(PreviewTest, ASavedFileHoldsTheItemsThenTheIndexThenWhatTheyReferTo) {
  SmartRef<Preview> preview = Open();
  preview->UpdateItem(*Ref("b.bmp"), ~Thumbnail(kRed));
  preview->UpdateItem(*Ref("a.bmp"), ~Thumbnail(kBlue));
  preview->Update();
  preview = nullptr;

  const std::string bytes = root.Read("_preview.pre");
  ASSERT_EQ(bytes.substr(0, 4), "OBJS");
  EXPECT_EQ(Long(bytes, 21), 3) << "the root is the index, after the two items";
  const auto table = static_cast<std::size_t>(Long(bytes, 13));
  const std::int32_t count = Long(bytes, table);
  // Class indexes of the preview format: 2 PreviewItem, 3 BitMap, 5 String, 6 ColorTable, 7 ListData,
  // 11 Time, 12 PreviewIndex. Both thumbnails share the standard 8-bit colour table.
  const std::vector<std::int32_t> expected = {2, 2, 12, 5, 3, 6, 11, 5, 3, 11, 7};
  std::vector<std::int32_t> classes;
  for (std::int32_t n = 0; n < count; ++n) classes.push_back(Long(bytes, table + 4 + static_cast<std::size_t>(n) * 12));
  EXPECT_EQ(classes, expected);

  // The index maps the k-th item's name to k.
  const SmartRef<Smart> read = RoundTrip(root.WinPath("_preview.pre"));
  auto* index = CastSmart<PreviewIndex>(~read);
  ASSERT_NE(index, nullptr);
  EXPECT_EQ(index->NumNames(), 2);
  EXPECT_EQ(index->Find(String("b.bmp")), 1);
  EXPECT_EQ(index->Find(String("a.bmp")), 2);
  EXPECT_EQ(index->Find(String("A.bmp")), 0);
}

TEST_F(PreviewTest, AThumbnailIsCurrentUntilItsFileChanges) {
  SmartRef<Preview> preview = Open();
  preview->UpdateItem(*Ref("a.bmp"), ~Thumbnail(kRed));
  EXPECT_TRUE(preview->IsItemCurrent(*Ref("a.bmp"), true));
  const auto file = root.Path() / "a.bmp";
  std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::hours(1));
  EXPECT_FALSE(preview->IsItemCurrent(*Ref("a.bmp"), true));
  EXPECT_TRUE(preview->IsItemCurrent(*Ref("a.bmp"), false));
  // A new thumbnail takes the file's new date.
  preview->UpdateItem(*Ref("a.bmp"), ~Thumbnail(kBlue));
  EXPECT_TRUE(preview->IsItemCurrent(*Ref("a.bmp"), true));
}

TEST_F(PreviewTest, AnUnreadableFileGivesAnEmptyStoreThatTheNextSaveReplaces) {
  std::string saved;
  {
    SmartRef<Preview> preview = Open();
    preview->UpdateItem(*Ref("a.bmp"), ~Thumbnail(kRed));
    preview->Update();
    saved = root.Read("_preview.pre");
  }
  std::string wrongNumbers = saved;
  // The object table's first entry points past the end of the file.
  const auto table = static_cast<std::size_t>(Long(saved, 13));
  const std::int32_t far = 0x7FFFFF00;
  std::memcpy(wrongNumbers.data() + table + 4 + 4, &far, 4);
  struct Case {
    const char* what;
    std::string bytes;
  };
  for (const Case& c : {Case{"not an object file", "JFIF? no, just text"},
                        Case{"cut short", saved.substr(0, saved.size() / 2)},
                        Case{"header only", saved.substr(0, 25)}}) {
    SCOPED_TRACE(c.what);
    root.Write("_preview.pre", c.bytes);
    SmartRef<Preview> preview = Open();
    EXPECT_EQ(preview->GetItemCount(), 0);
    EXPECT_FALSE(preview->GetItemImage(*Ref("a.bmp")));
    preview->UpdateItem(*Ref("b.bmp"), ~Thumbnail(kGreen));
    preview->Update();
    preview = Open();
    EXPECT_EQ(preview->GetItemCount(), 1);
    EXPECT_EQ(ColorOf(preview->GetItemImage(*Ref("b.bmp"))), kGreen);
  }

  // An index whose item cannot be read: asking for it raises the file's error, and the next save drops
  // it rather than failing for good.
  root.Write("_preview.pre", wrongNumbers);
  SmartRef<Preview> preview = Open();
  EXPECT_EQ(preview->GetItemCount(), 1);
  EXPECT_EQ(RaisedText(Raised([&] { preview->GetItemImage(*Ref("a.bmp")); })),
            "Ce fichier est corrompu ou de format obsolète. Il se peut que certaines informations aient été "
            "récupérées."_cp);
  preview->UpdateItem(*Ref("b.bmp"), ~Thumbnail(kGreen));
  preview->Update();
  preview = Open();
  EXPECT_EQ(preview->GetItemCount(), 1);
  EXPECT_FALSE(preview->GetItemImage(*Ref("a.bmp")));
  EXPECT_EQ(ColorOf(preview->GetItemImage(*Ref("b.bmp"))), kGreen);
}

TEST_F(PreviewTest, AFailedSaveLeavesTheStoredFileAndTheStoreAsTheyWere) {
  SmartRef<Preview> preview = Open();
  preview->UpdateItem(*Ref("a.bmp"), ~Thumbnail(kRed));
  preview->Update();
  const std::string before = root.Read("_preview.pre");
  preview = Open();
  preview->UpdateItem(*Ref("b.bmp"), ~Thumbnail(kBlue));
  // The new file is written beside the old one first; a folder in that place makes the save fail.
  root.MakeFolder("_preview.pre~");
  EXPECT_TRUE(Raised([&] { preview->Update(); }));
  EXPECT_EQ(root.Read("_preview.pre"), before);
  EXPECT_EQ(ColorOf(preview->GetItemImage(*Ref("a.bmp"))), kRed);
  EXPECT_FALSE(preview->GetItemImage(*Ref("b.bmp"))) << "still waiting for a save";
  std::filesystem::remove(root.Path() / "_preview.pre~");
  preview->Update();
  EXPECT_EQ(ColorOf(Open()->GetItemImage(*Ref("b.bmp"))), kBlue);
}

TEST_F(PreviewTest, AStoredPreviewBelongsToTheFolderOfItsFile) {
  SmartRef<Preview> preview = Open();
  preview->UpdateItem(*Ref("a.bmp"), ~Thumbnail(kRed));
  root.MakeFolder("elsewhere");
  root.Write("elsewhere/copy.obj");
  const SmartRef<Smart> read = RoundTrip(root.WinPath("elsewhere\\copy.obj"), ~preview);
  auto* stored = CastSmart<Preview>(~read);
  ASSERT_NE(stored, nullptr);
  EXPECT_TRUE(*stored->GetFolder() == *Ref("elsewhere"));
  EXPECT_EQ(stored->GetItemCount(), 1);
  EXPECT_EQ(ColorOf(stored->GetItemImage(*Ref("a.bmp"))), kRed);
}

// ---- The file references' current preview ----

std::vector<std::string> gCaptions;

SmartRef<ProgressDisplay> RecordCaption(const char* caption) {
  gCaptions.emplace_back(caption);
  return new SilentProgressDisplay();
}

class FolderPreviewTest : public PreviewTest {
 protected:
  void SetUp() override {
    PreviewTest::SetUp();
    root.Write("other/x.bmp", "not empty");
    gCaptions.clear();
    SetProgressDisplayMaker(&RecordCaption);
  }
  void TearDown() override {
    SetProgressDisplayMaker(nullptr);
    PreviewTest::TearDown();
  }
  std::uintmax_t SizeOf(const std::string& relative) { return std::filesystem::file_size(root.Path() / relative); }
};

TEST_F(FolderPreviewTest, TurningToAnotherFolderStoresTheThumbnailsGivenToTheCurrentOne) {
  Ref("a.bmp")->SetPreview(~Thumbnail(kRed));
  EXPECT_TRUE(currentPreviewModified);
  const SmartRef<Preview> first = currentPreview;
  EXPECT_EQ(GetFolderPreview(*Ref()), first) << "the same folder keeps its preview";
  EXPECT_EQ(ColorOf(Ref("a.bmp")->GetPreview()), kRed);
  EXPECT_EQ(SizeOf("_preview.pre"), 0u) << "nothing is stored before the folder changes";

  gCaptions.clear();
  EXPECT_FALSE(Ref("other\\x.bmp")->GetPreview());
  EXPECT_FALSE(currentPreviewModified);
  EXPECT_TRUE(*currentPreview->GetFolder() == *Ref("other"));
  ASSERT_FALSE(gCaptions.empty());
  EXPECT_EQ(gCaptions.front(), std::string("Création d'aperçus"_cp));
  EXPECT_GT(SizeOf("_preview.pre"), 0u);
  EXPECT_EQ(ColorOf(Open()->GetItemImage(*Ref("a.bmp"))), kRed);

  // Turning away from a folder whose preview gained nothing rewrites nothing.
  EXPECT_EQ(ColorOf(Ref("a.bmp")->GetPreview()), kRed);
  EXPECT_EQ(SizeOf("other/_preview.pre"), 0u);

  // An empty file has no thumbnail, whatever was given for it.
  Ref("empty.bmp")->SetPreview(~Thumbnail(kBlue));
  EXPECT_FALSE(Ref("empty.bmp")->GetPreview());

  // Before quitting, the current preview's new thumbnails are stored, once.
  SaveCurrentPreview();
  EXPECT_FALSE(currentPreviewModified);
  const auto stored = root.Read("_preview.pre");
  EXPECT_TRUE(Open()->IsItemCurrent(*Ref("empty.bmp"), true));
  std::filesystem::remove(root.Path() / "_preview.pre");
  SaveCurrentPreview();
  EXPECT_FALSE(std::filesystem::exists(root.Path() / "_preview.pre")) << "nothing new to store";
}

}  // namespace

namespace {

// The program quits with a current preview still open: its file is closed while the system's files are
// still there to close it.
TEST(FolderPreviewAtExit, TheCurrentPreviewIsLetGoBeforeTheFilesGo) {
  TempFolder root;
  root.Write("a.bmp", "not empty");
  EXPECT_EXIT(
      {
        FileReference file(root.WinPath("a.bmp").c_str());
        file.GetPreview();
        std::exit(currentPreview ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
