#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/FileReference.h"
#include "core/Resources.h"
#include "core/Text1252.h"
#include "platform/kernel/Files.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace {

// Runs the test as the program started in a folder of its own, with or without its "Data" folder.
class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(root.WinPath().c_str()));
    file_testing::ForgetApplicationFolder();
  }
  void TearDown() override {
    SetCurrentDirectoryA(saved);
    file_testing::ForgetApplicationFolder();
  }

  TempFolder root;
  char saved[MAX_PATH];
};

FileType bmpType("Fichier BitMap", 0, FourCharCode("bmp "));

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
