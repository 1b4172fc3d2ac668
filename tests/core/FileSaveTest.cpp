#include <gtest/gtest.h>

#include <filesystem>

#include "core/File.h"
#include "core/FileReference.h"
#include "core/FileSaveTarget.h"
#include "core/ObjectFileTestSupport.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Files.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

using namespace objectfile_testing;

namespace {

class FailingNode : public Node {
 public:
  void Write(Archive* archive) override {
    Node::Write(archive);
    ThrowError("Disque plein", __FILE__, __LINE__);
  }
};

// A document saved in a real file: a good save replaces it whole; a failed one, or one whose new version
// cannot be put in place, leaves it byte for byte as it was, with no stray file beside it.
TEST(FileSave, TheDocumentIsReplacedOnlyByAWholeSave) {
  TempFolder folder;
  const std::string path = folder.Write("page.zod");
  FileReference reference(path.c_str());
  SmartRef<File> document(new File(&reference, kFileModeRead | kFileModeWrite));
  ASSERT_TRUE(document->IsOpen());
  SmartRef<ObjectFile> file(new ObjectFile(MakeTestTypeIndex(), SmartRef<Stream>(~document)));
  SmartRef<Node> first(new Node);
  first->number = 1;
  file->Write(first);
  const std::string saved = folder.Read("page.zod");
  EXPECT_EQ(saved, SaveToBytes(first, MakeTestTypeIndex()));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "page.zod~"));

  EXPECT_EQ(RaisedText(Raised([&] { file->Write(new FailingNode()); })), "Disque plein");
  EXPECT_EQ(folder.Read("page.zod"), saved);
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "page.zod~"));

  // A read-only document cannot be replaced: the save fails and the document stays.
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  SmartRef<Node> second(new Node);
  second->number = 2;
  EXPECT_TRUE(Raised([&] { file->Write(second); }));
  EXPECT_EQ(folder.Read("page.zod"), saved);
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "page.zod~"));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

  // The object file goes on working with its document, and the next save goes through.
  file->Write(second);
  EXPECT_EQ(folder.Read("page.zod"), SaveToBytes(second, MakeTestTypeIndex()));
}

TEST(FileSave, MoveFileReplacesOnlyWhenAsked) {
  TempFolder folder;
  const std::string a = folder.Write("a.txt", "new"), b = folder.Write("b.txt", "old");
  SetLastError(0);
  EXPECT_FALSE(MoveFileExA(a.c_str(), b.c_str(), 0));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(MoveFileExA(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(folder.Read("b.txt"), "new");
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "a.txt"));
  SetLastError(0);
}

}  // namespace
