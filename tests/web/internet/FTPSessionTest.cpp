// The FTP client against real servers on port 21 of the test's private network: pyftpdlib (a user with a
// password) and vsftpd (anonymous uploads into a folder of a temporary root).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "../WebTestSupport.h"
#include "core/FileReference.h"
#include "core/Progress.h"
#include "core/Stream.h"
#include "support/Raised.h"
#include "platform/user/KeyState.h"
#include "ui/shell/DebugMessage.h"
#include "web/internet/FTPSession.h"
#include "web/internet/InternetSession.h"

namespace {

using web_test::ChildProcess;
using web_test::WebTest;

constexpr const char* kPassword = "s3cr3t-mdp";

std::string Pattern(std::size_t size, int seed) {
  std::string bytes(size, '\0');
  for (std::size_t k = 0; k < size; ++k) bytes[k] = static_cast<char>((k * 31 + seed) ^ (k >> 9));
  return bytes;
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A range whose totals are recorded: the nesting of the ranges of one upload shows its step count.
struct RecordingDisplay : SilentProgressDisplay {
  static inline std::uint32_t largestTotal = 0;
  void SetProgress(std::uint32_t, std::uint32_t total) override { largestTotal = std::max(largestTotal, total); }
  static SmartRef<ProgressDisplay> Make(const char*) { return new RecordingDisplay(); }
};

class PyftpdlibTest : public WebTest {
 protected:
  void SetUp() override {
    WebTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    root = folder.MakeFolder("root");
    rootPath = folder.Path() / "root";
    StartServer(server, {web_test::kPython, web_test::ServerScript("ftp_server.py"), rootPath.string(), "enfant", kPassword, "21"}, 21);
  }
  SmartRef<FTPSession> LogIn(const char* password = kPassword) {
    SmartRef<InternetSession> host = new InternetSession(String("127.0.0.1"));
    return new FTPSession(~host, String("enfant"), String(password));
  }
  // A local file of the given bytes, as the program names it.
  SmartRef<FileReference> LocalFile(const std::string& name, const std::string& bytes) {
    return new FileReference(folder.Write("local/" + name, bytes).c_str());
  }

  ChildProcess server;
  std::string root;
  std::filesystem::path rootPath;
};

TEST_F(PyftpdlibTest, UploadsArriveIdenticalInANewOrExistingFolder) {
  SmartRef<FTPSession> session = LogIn();
  EXPECT_TRUE(FTPSession::serverReached);
  session->SetDirectory(String("site"), true);  // made
  session->ParentDirectory();
  session->SetDirectory(String("site"), true);  // there already: the 550 of MKD is accepted
  struct Case {
    const char* name;
    std::size_t size;
    std::uint32_t largestTotal;  // steps of SendFile x Put x Transfer
  };
  const Case cases[] = {{"vide.htm", 0, 1 * 3 * 5},      {"un.htm", 1, 1 * 3 * 6},
                        {"page.jpg", 4096, 1 * 3 * 6},   {"dix.wav", 10000, 1 * 3 * 8},
                        {"grand.jpg", 1 << 20, 1 * 3 * (5 + 256)}};
  SetProgressDisplayMaker(&RecordingDisplay::Make);
  for (const Case& c : cases) {
    const std::string bytes = Pattern(c.size, static_cast<int>(c.size));
    RecordingDisplay::largestTotal = 0;
    session->SendFile(~LocalFile(c.name, bytes), String(c.name), true, FTPSession::kPublish);
    EXPECT_EQ(RecordingDisplay::largestTotal, c.largestTotal) << c.name;
    ASSERT_TRUE(std::filesystem::exists(rootPath / "site" / c.name)) << c.name;
    EXPECT_TRUE(ReadAll(rootPath / "site" / c.name) == bytes) << c.name;
    EXPECT_TRUE(ReadAll(folder.Path() / "local" / c.name) == bytes) << "the local file is never changed";
  }
  SetProgressDisplayMaker(nullptr);
}

TEST_F(PyftpdlibTest, ModesAppendNumberAndTextType) {
  SmartRef<FTPSession> session = LogIn();
  session->SendFile(~LocalFile("journal.txt", "premier\r\n"), String("journal.txt"), false, FTPSession::kStore);
  session->SendFile(~LocalFile("suite.txt", "second\r\n"), String("journal.txt"), false, FTPSession::kAppend);
  // Text type: the server stores its own line ends.
  EXPECT_EQ(ReadAll(rootPath / "journal.txt"), "premier\nsecond\n");

  session->SendFile(~LocalFile("index.htm", "<html>"), String("index.htm"), true, FTPSession::kNumbered);
  int numbered = 0;
  for (const auto& entry : std::filesystem::directory_iterator(rootPath)) {
    const std::string name = entry.path().filename().string();
    if (std::regex_match(name, std::regex("index\\.htm[1-9][0-9]{3}"))) ++numbered;
  }
  EXPECT_EQ(numbered, 1) << "mode 3 appends four digits after the whole name";
}

TEST_F(PyftpdlibTest, DownloadsAFileAndAnEmptyOne) {
  const std::string bytes = Pattern(70000, 5);
  std::ofstream(rootPath / "photo.jpg", std::ios::binary) << bytes;
  std::ofstream(rootPath / "vide.txt", std::ios::binary).close();
  SmartRef<FTPSession> session = LogIn();
  MemoryStream photo;
  session->Get(photo, String("photo.jpg"), true);
  EXPECT_EQ(photo.GetLength(), bytes.size());
  EXPECT_TRUE(std::string(reinterpret_cast<const char*>(photo.GetMemory().GetData()), photo.GetLength()) == bytes);
  MemoryStream empty;
  session->Get(empty, String("vide.txt"), true);
  EXPECT_EQ(empty.GetLength(), 0u) << "an empty download ends when the server closes the data connection";
  const SmartRef<Exception> missing = Raised([&] {
    MemoryStream none;
    session->Get(none, String("absent.txt"), true);
  });
  EXPECT_EQ(RaisedText(missing).substr(0, 3), "550");
}

TEST_F(PyftpdlibTest, AWrongPasswordRaisesTheServersReplyAndNoLogHoldsAPassword) {
  // Ctrl and Shift held as the session starts: its streams log every step.
  platform::SetKeyDown(VK_CONTROL, true);
  platform::SetKeyDown(VK_SHIFT, true);
  const SmartRef<Exception> refused = Raised([&] { LogIn("faux-mot"); });
  EXPECT_EQ(RaisedText(refused).substr(0, 3), "530");
  SmartRef<FTPSession> session = LogIn();
  session = nullptr;
  platform::SetKeyDown(VK_CONTROL, false);
  platform::SetKeyDown(VK_SHIFT, false);
  bool sawUser = false;
  for (const std::string& text : loggedTexts) {
    sawUser = sawUser || text.find("USER enfant") != std::string::npos;
    EXPECT_EQ(text.find(kPassword), std::string::npos) << text;
    EXPECT_EQ(text.find("faux-mot"), std::string::npos) << text;
  }
  EXPECT_TRUE(sawUser) << "the log was on";
}

}  // namespace
