#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/CoreState.h"
#include "core/FileReference.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "platform/kernel/Files.h"
#include "platform/user/MessageBox.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace {

// Runs the test as the program started in a folder of its own, with or without its "Data" folder.
class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(root.WinPath().c_str()));
    TheCoreState().applicationFolderRead = false;
  }
  void TearDown() override {
    SetCurrentDirectoryA(saved);
    TheCoreState().applicationFolderRead = false;
  }

  TempFolder root;
  char saved[MAX_PATH];
};

FileType& bmpType = *NewPermanent<FileType>("Fichier BitMap", 0, FourCharCode("bmp "));

TEST_F(DataFolderTest, NumberedFilesOfTheDataFolder) {
  root.Write("data/1422.BMP", "BM");
  SmartRef<FileReference> picture(FindDataFile(1422, bmpType));
  ASSERT_TRUE(picture);
  EXPECT_STREQ(picture->GetPathText(), root.WinPath("Data\\1422.bmp").c_str());
  EXPECT_EQ(FindDataFile(1423, bmpType), nullptr);
  EXPECT_EQ(RaisedText(Raised([] { DataFileReference(2000, false); })), "Call failed.");
  SmartRef<FileReference> made(DataFileReference(2000, true));
  EXPECT_TRUE(std::filesystem::exists(root.Path() / "data/2000.txt"));
  EXPECT_TRUE(made->IsEmptyFile());
  char text[256];
  GetFrameworkString(text, 3);
  EXPECT_EQ(RaisedText(Raised([] { ThrowMissingDataFile(); })), text);
}

TEST_F(DataFolderTest, AMissingDataFolderIsAnError) {
  EXPECT_EQ(RaisedText(Raised([] { FindDataFile(1422, bmpType); })), "system error 2");
  EXPECT_EQ(RaisedText(Raised([] { DataFileReference(1000, true); })), "system error 2");
  EXPECT_FALSE(std::filesystem::exists(root.Path() / "Data"));
}

}  // namespace

namespace {

std::string MakeWave(const std::filesystem::path& file) {
  const std::string command = "sox -q -n -r 11025 -c 1 -b 8 '" + file.string() + "' synth 0.05 sine 440 2>/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0);
  return file.string();
}

TEST_F(DataFolderTest, NumberedSoundsAreReadWholeAndCached) {
  root.MakeFolder("Data");
  MakeWave(root.Path() / "Data/410.wav");
  const std::string bytes = root.Read("Data/410.wav");
  ASSERT_GT(bytes.size(), 44u);
  Resources set(400, 499);
  SmartRef<Sound> fresh(set.GetSoundData(10));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(fresh->GetData().GetData()), fresh->GetData().GetSize()), bytes);
  EXPECT_FALSE(fresh->ToggleLoop(false));
  EXPECT_EQ(fresh->GetFileReference(), nullptr);

  SoundResource* entry = set.GetSoundResource(10);
  EXPECT_EQ(set.GetSoundResource(10), entry);
  Sound* cached = entry->Get();
  EXPECT_EQ(entry->Get(), cached);
  // A purge keeps a sound someone still holds, and drops it once it is free.
  {
    SmartRef<Sound> held(cached);
    entry->Purge();
    EXPECT_EQ(entry->Get(), cached);
  }
  entry->Purge();
  // Dropped: the next Get reads the file again, which is gone now.
  std::filesystem::remove(root.Path() / "Data/410.wav");
  AlertRecorder recorder;
  EXPECT_TRUE(Raised([&] { entry->Get(); }));
  ASSERT_EQ(recorder.Alerts().size(), 1u);
  EXPECT_EQ(recorder.Alerts()[0].caption, "Ressource manquante");
}

TEST_F(DataFolderTest, AMissingSoundIsShownAndRaisesText131) {
  root.MakeFolder("Data");
  AlertRecorder recorder;
  std::vector<std::string> boxes;
  auto previous = platform::SetMessageBoxHandler([&](HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    EXPECT_EQ(owner, nullptr);
    EXPECT_EQ(type, static_cast<UINT>(MB_OK));
    boxes.push_back(std::string(caption) + ": " + text);
    return IDOK;
  });
  Resources set(400, 499);
  char text131[256];
  GetFrameworkString(text131, 3);
  EXPECT_EQ(RaisedText(Raised([&] { set.GetSoundData(7); })), text131);
  EXPECT_EQ(boxes, std::vector<std::string>{"Ressource manquante: GetSoundData failed!\nResID=407"});
  EXPECT_EQ(RaisedText(Raised([&] { set.GetSoundResource(100); })), "Resource id not in this set of resources.");
  platform::SetMessageBoxHandler(std::move(previous));
}

TEST(Sound, CopiesShareTheFileAndDuplicateTheData) {
  TempFolder root;
  SmartRef<FileReference> reference(new FileReference(MakeWave(root.Path() / "a.wav").c_str()));
  Sound fromFile(~reference, true);
  EXPECT_TRUE(fromFile.IsEmpty());
  EXPECT_TRUE(fromFile.ToggleLoop(false));
  EXPECT_FALSE(fromFile.ToggleLoop(true));
  EXPECT_TRUE(fromFile.ToggleLoop(true));
  SmartRef<Smart> fileCopy(fromFile.Clone());
  SmartRef<FileReference> shared(CastSmart<Sound>(~fileCopy)->GetFileReference());
  EXPECT_STREQ(shared->GetPathText(), reference->GetPathText());
  EXPECT_EQ(shared, reference) << "one file reference for the sound and its copy";
  EXPECT_EQ(reference->GetReferenceCount(), 4);
  MemoryStream bytes;
  bytes.Write("RIFFdata", 8);
  bytes.Seek(4, kSeekFromStart);  // the whole stream is read, wherever it stands
  Sound inMemory(bytes, Sound::wave, false);
  EXPECT_EQ(inMemory.GetData().GetSize(), 8u);
  SmartRef<Smart> copy(inMemory.Clone());
  auto* sound = CastSmart<Sound>(~copy);
  EXPECT_NE(sound->GetData().GetData(), inMemory.GetData().GetData());
  EXPECT_EQ(std::memcmp(sound->GetData().GetData(), "RIFFdata", 8), 0);
  EXPECT_EQ(inMemory.GetMemorySize(), sizeof(Sound) + 8);
  MemoryStream out;
  inMemory.Write(out, Sound::wave);
  EXPECT_EQ(out.GetLength(), 8u);
  EXPECT_EQ(RaisedText(Raised([&] { inMemory.Write(out, Sound::snd); })), "!convertIt || type != Sound::snd");
}

// The converters come with the sound library; core alone holds WAVE images only.
TEST(Sound, OtherFormatsNeedTheSoundLibrary) {
  MemoryStream bytes;
  bytes.Write("FORM\0\0\0\4AIFF", 12);
  for (int format : {Sound::aiff, Sound::snd}) {
    SCOPED_TRACE(format);
    EXPECT_EQ(RaisedText(Raised([&] { Sound(bytes, format, false); })), "Not implemented.");
  }
  Sound wave(bytes, Sound::wave, false);
  MemoryStream out;
  EXPECT_EQ(RaisedText(Raised([&] { wave.Write(out, Sound::aiff); })), "Not implemented.");
  EXPECT_EQ(out.GetLength(), 0u);
}

}  // namespace
