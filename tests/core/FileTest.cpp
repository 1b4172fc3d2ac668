#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "core/File.h"
#include "core/FileReference.h"
#include "core/TextFile.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace {

// One step on a file and on the model, a plain string with a position.
struct Step {
  enum Kind { kWrite, kRead, kSeek, kSetLength, kLength };
  Kind kind;
  std::int32_t a = 0;  // bytes, offset or length
  int mode = 0;        // seek mode
};

Step W(int n) { return {Step::kWrite, n}; }
Step R(int n) { return {Step::kRead, n}; }
Step S(int offset, int mode) { return {Step::kSeek, offset, mode}; }
Step L(int n) { return {Step::kSetLength, n}; }
Step Len() { return {Step::kLength}; }

struct Model {
  std::string bytes;
  std::size_t position = 0;
  unsigned char next = 1;  // each written byte differs from its neighbours
};

class FileModelTest : public ::testing::Test {
 protected:
  TempFolder root;
};

TEST_F(FileModelTest, BufferedInterleavingsMatchAPlainModel) {
  struct Case {
    const char* label;
    std::size_t initial;
    std::vector<Step> steps;
  };
  const std::vector<Case> cases = {
      {"write, seek back, read", 0, {W(3), S(0, kSeekFromStart), R(3)}},
      {"write after a read lands at the logical position", 100, {R(10), W(5), R(5), S(0, kSeekFromStart), R(20)}},
      {"a large write bypasses the buffer",
       0,
       {W(20000), W(10), Len(), S(0, kSeekFromEnd), W(3), S(19990, kSeekFromStart), R(23)}},
      {"pending writes count in the length", 50, {W(10), Len(), S(0, kSeekFromEnd), W(4), Len()}},
      {"a seek to the end after a buffered write", 0, {W(5), S(0, kSeekFromEnd), W(2), S(-7, kSeekRelative), R(7)}},
      {"from the end", 40, {S(10, kSeekFromEnd), R(10), S(0, kSeekFromEnd), R(1)}},
      {"exactly to the end, then one more", 30, {R(30), R(1)}},
      {"a short read fails after delivering what is there", 30, {R(25), R(10), R(1)}},
      {"reads across the buffer's edge",
       40000,
       {R(16000), R(1000), S(-2000, kSeekRelative), R(10), S(39990, kSeekFromStart), R(20), S(100, kSeekFromStart),
        R(16384)}},
      {"seeks inside the read-ahead", 1000, {R(1), S(500, kSeekFromStart), R(10), S(-300, kSeekRelative), W(3), R(4)}},
      {"cut below the position while reading", 100, {R(50), L(20), R(1), S(0, kSeekFromStart), R(20)}},
      {"cut below pending writes", 0, {W(100), L(40), Len(), W(2), S(0, kSeekFromStart), R(42)}},
      {"cut at the position after writing over a longer file", 100, {W(5), L(5), Len(), S(0, kSeekFromStart), R(5)}},
      {"grow with zeros", 10, {L(30), Len(), S(0, kSeekFromStart), R(30)}},
      {"write beyond the end leaves zeros between", 10, {S(20, kSeekFromStart), W(5), S(0, kSeekFromStart), R(25)}},
      {"many small writes and reads",
       0,
       {W(1), W(2), W(16383), W(1), S(3, kSeekFromStart), R(16384), W(7), S(-10, kSeekFromEnd), R(10)}},
  };
  int number = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Model model;
    for (std::size_t i = 0; i < c.initial; ++i) model.bytes += static_cast<char>(200 + i % 50);
    const std::string name = "case" + std::to_string(++number);
    FileReference reference(root.Write(name, model.bytes).c_str());
    SmartRef<File> file(new File(&reference, kFileModeRead | kFileModeWrite));
    ASSERT_TRUE(file->IsOpen());
    for (const Step& step : c.steps) {
      switch (step.kind) {
        case Step::kWrite: {
          std::string data;
          for (int i = 0; i < step.a; ++i) data += static_cast<char>(model.next++);
          file->Write(data.data(), static_cast<std::uint32_t>(data.size()));
          if (model.position > model.bytes.size()) model.bytes.resize(model.position, '\0');
          model.bytes.replace(model.position, std::min(data.size(), model.bytes.size() - model.position), data);
          model.position += data.size();
          break;
        }
        case Step::kRead: {
          std::string data(static_cast<std::size_t>(step.a), '\0');
          const auto raised = Raised([&] { file->Read(data.data(), static_cast<std::uint32_t>(step.a)); });
          if (model.position + step.a > model.bytes.size()) {
            EXPECT_EQ(RaisedText(raised), "Fin de fichier inattendue.");
            model.position = std::max(model.position, model.bytes.size());
          } else {
            EXPECT_FALSE(raised) << RaisedText(raised);
            EXPECT_EQ(data, model.bytes.substr(model.position, static_cast<std::size_t>(step.a)));
            model.position += static_cast<std::size_t>(step.a);
          }
          break;
        }
        case Step::kSeek:
          file->Seek(step.a, step.mode);
          model.position = step.mode == kSeekFromStart ? static_cast<std::size_t>(step.a)
                           : step.mode == kSeekFromEnd ? model.bytes.size() - static_cast<std::size_t>(step.a)
                                                       : model.position + static_cast<std::size_t>(step.a);
          break;
        case Step::kSetLength:
          file->SetLength(static_cast<std::uint32_t>(step.a));
          model.bytes.resize(static_cast<std::size_t>(step.a), '\0');
          model.position = static_cast<std::size_t>(step.a);
          break;
        case Step::kLength:
          EXPECT_EQ(file->GetLength(), model.bytes.size());
          break;
      }
      EXPECT_EQ(file->GetPosition(), model.position);
    }
    file->Close();
    EXPECT_FALSE(file->IsOpen());
    EXPECT_EQ(root.Read(name), model.bytes);
  }
}

TEST_F(FileModelTest, UnopenedFiles) {
  FileReference missing(root.WinPath("absent.bin").c_str());
  FileReference folder(root.WinPath().c_str());
  for (FileReference* reference : {&missing, &folder}) {
    SmartRef<File> file(new File(reference, kFileModeRead));
    EXPECT_FALSE(file->IsOpen());
    EXPECT_EQ(file->GetLength(), 0u);
    char byte = 0;
    EXPECT_EQ(RaisedText(Raised([&] { file->Read(&byte, 1); })), "osFile != NO_FILE");
    EXPECT_EQ(RaisedText(Raised([&] { file->Write(&byte, 1); })), "osFile != NO_FILE");
    EXPECT_EQ(RaisedText(Raised([&] { file->Seek(0, kSeekFromStart); })), "osFile != NO_FILE");
    EXPECT_EQ(RaisedText(Raised([&] { file->GetOSHandle(); })), "Fichier non ouvert");
    EXPECT_FALSE(Raised([&] { file->Close(); }));
  }
}

TEST_F(FileModelTest, FilesCannotBeCopiedAndCountTheirBuffer) {
  FileReference reference(root.Write("f.bin", "abc").c_str());
  SmartRef<File> file(new File(&reference, kFileModeRead));
  EXPECT_FALSE(file->IsWritable());
  EXPECT_EQ(file->Clone(), nullptr);
  EXPECT_FALSE(file->CanCopyFrom(~file));
  const std::size_t before = file->GetMemorySize();
  file->ReadByte();
  EXPECT_EQ(file->GetMemorySize(), before + 3);
  SmartRef<FileReference> kept(file->GetFileReference());
  EXPECT_STREQ(kept->GetPathText(), reference.GetPathText());
  char byte = 0;
  EXPECT_EQ(RaisedText(Raised([&] {
              file->Write(&byte, 1);
              file->Flush();
            })),
            "system error 5");
}

TEST_F(FileModelTest, AFailedFinalWriteReachesTheCallerThatCloses) {
  // A file opened for reading only cannot take the pending bytes: the write fails at the flush.
  FileReference reference(root.Write("f.bin", "abc").c_str());
  SmartRef<File> file(new File(&reference, kFileModeRead));
  file->Write("xyz", 3);
  EXPECT_EQ(RaisedText(Raised([&] { file->Close(); })), "system error 5");
  EXPECT_FALSE(file->IsOpen());
  EXPECT_EQ(root.Read("f.bin"), "abc");
}

}  // namespace

namespace {

TEST(FileSharing, ALockFileTakenWithoutWriteSharingKeepsOtherWritersOut) {
  TempFolder root;
  FileReference lock(root.Write("lockinfo", "x").c_str());
  gFileShareMode = kFileShareReadOnly;
  SmartRef<File> held(new File(&lock, kFileModeRead | kFileModeWrite));
  gFileShareMode = kFileShareReadWrite;
  ASSERT_TRUE(held->IsOpen());
  EXPECT_EQ(RaisedText(Raised([&] { SmartRef<File> second(new File(&lock, kFileModeRead | kFileModeWrite)); })),
            "system error 32");
  // Readers (who share writing) may still look.
  SmartRef<File> reader(new File(&lock, kFileModeRead));
  EXPECT_EQ(reader->ReadByte(), 'x');
  held->Close();
  SmartRef<File> after(new File(&lock, kFileModeRead | kFileModeWrite));
  EXPECT_TRUE(after->IsOpen());
}

}  // namespace

namespace {

// Held by a static object, as documents and previews are: released only when the program exits, after the
// system's own static objects may already be gone.
SmartRef<File> gFileLeftOpen;

// A file left open when the program exits is still written out and closed; one whose last write fails
// ends the program quietly rather than in a crash.
TEST(FileAtExit, AFileLeftOpenIsWrittenOutAndClosed) {
  TempFolder root;
  const std::string writable = root.Write("kept.bin", "");
  const std::string readOnly = root.Write("refused.bin", "abc");
  const std::tuple<std::string, int, std::string> cases[] = {{writable, kFileModeRead | kFileModeWrite, "xyz"},
                                                              {readOnly, kFileModeRead, "abc"}};
  for (const auto& [path, mode, expected] : cases) {
    EXPECT_EXIT(
        {
          FileReference reference(path.c_str());
          gFileLeftOpen = new File(&reference, mode);
          gFileLeftOpen->Write("xyz", 3);
          std::exit(0);
        },
        ::testing::ExitedWithCode(0), "")
        << path;
    EXPECT_EQ(root.Read(path == writable ? "kept.bin" : "refused.bin"), expected);
  }
}

}  // namespace
