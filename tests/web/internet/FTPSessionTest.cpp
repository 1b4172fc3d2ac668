// The FTP client against real servers on port 21 of the test's private network.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "../WebTestSupport.h"
#include "core/FileReference.h"
#include "core/Progress.h"
#include "core/Seams.h"
#include "core/Stream.h"
#include "support/Raised.h"
#include "platform/user/KeyState.h"
#include "ui/shell/DebugMessage.h"
#include "web/internet/FTPSession.h"
#include "web/internet/InternetSession.h"

namespace {

using web_test::ReadAll;
using web_test::WebTest;

std::string Pattern(std::size_t size, int seed) {
  std::string bytes(size, '\0');
  for (std::size_t k = 0; k < size; ++k) bytes[k] = static_cast<char>((k * 31 + seed) ^ (k >> 9));
  return bytes;
}

// A range whose totals are recorded: the nesting of the ranges of one upload shows its step count.
struct RecordingDisplay : SilentProgressDisplay {
  static inline std::uint32_t largestTotal = 0;
  void SetProgress(std::uint32_t, std::uint32_t total) override { largestTotal = std::max(largestTotal, total); }
  static SmartRef<ProgressDisplay> Make(const char*) { return new RecordingDisplay(); }
};

using web_test::FtpServer;
using web_test::FtpServerKind;

// Each test runs against both servers (support/web/Servers.h tells how each takes uploads).
class FTPServerTest : public WebTest, public ::testing::WithParamInterface<FtpServerKind> {
 protected:
  void SetUp() override {
    WebTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    std::string why;
    ASSERT_TRUE(server.Start(GetParam(), folder.Path(), &why)) << why;
  }
  void TearDown() override {
    server.Stop();
    WebTest::TearDown();
  }
  // Logged in and in the folder where the server lets us write.
  SmartRef<FTPSession> LogIn() {
    SmartRef<InternetSession> host = new InternetSession(String("127.0.0.1"));
    SmartRef<FTPSession> session =
        new FTPSession(~host, String(server.Account().c_str()), String(server.Password().c_str()));
    session->SetDirectory(String(server.WritableFolder().c_str()), false);
    return session;
  }
  // A local file of the given bytes, as the program names it.
  SmartRef<FileReference> LocalFile(const std::string& name, const std::string& bytes) {
    return new FileReference(folder.Write("local/" + name, bytes).c_str());
  }
  // Where the server keeps what is uploaded.
  std::filesystem::path Files() const { return server.Files(); }

  FtpServer server;
};

INSTANTIATE_TEST_SUITE_P(Servers, FTPServerTest, ::testing::Values(FtpServerKind::kPyftpdlib, FtpServerKind::kVsftpd),
                         [](const auto& info) { return web_test::FtpServerName(info.param); });

TEST_P(FTPServerTest, UploadsArriveIdenticalInANewOrExistingFolder) {
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
    ASSERT_TRUE(std::filesystem::exists(Files() / "site" / c.name)) << c.name;
    EXPECT_TRUE(ReadAll(Files() / "site" / c.name) == bytes) << c.name;
    EXPECT_TRUE(ReadAll(folder.Path() / "local" / c.name) == bytes) << "the local file is never changed";
  }
  SetProgressDisplayMaker(nullptr);
  // The server's own log tells what it stored, in order: what the publishing tests read the order from.
  std::vector<std::string> stored;
  for (const Case& c : cases) stored.push_back(std::string("site/") + c.name);
  EXPECT_TRUE(server.WaitForStored(stored.size(), 3000));
  EXPECT_EQ(server.StoredFiles(), stored);
}

TEST_P(FTPServerTest, ModesAppendNumberAndTextType) {
  SmartRef<FTPSession> session = LogIn();
  session->SendFile(~LocalFile("journal.txt", "premier\r\n"), String("journal.txt"), false, FTPSession::kStore);
  session->SendFile(~LocalFile("suite.txt", "second\r\n"), String("journal.txt"), false, FTPSession::kAppend);
  // Text type: pyftpdlib stores its own line ends; vsftpd, unless told otherwise, the bytes as they came.
  EXPECT_EQ(ReadAll(Files() / "journal.txt"),
            GetParam() == FtpServerKind::kPyftpdlib ? "premier\nsecond\n" : "premier\r\nsecond\r\n");

  session->SendFile(~LocalFile("index.htm", "<html>"), String("index.htm"), true, FTPSession::kNumbered);
  int numbered = 0;
  for (const auto& entry : std::filesystem::directory_iterator(Files())) {
    const std::string name = entry.path().filename().string();
    if (std::regex_match(name, std::regex("index\\.htm[1-9][0-9]{3}"))) ++numbered;
  }
  EXPECT_EQ(numbered, 1) << "mode 3 appends four digits after the whole name";
}

TEST_P(FTPServerTest, DownloadsAFileAndAnEmptyOne) {
  SmartRef<FTPSession> session = LogIn();
  const std::string bytes = Pattern(70000, 5);
  session->SendFile(~LocalFile("photo.jpg", bytes), String("photo.jpg"), true, FTPSession::kStore);
  session->SendFile(~LocalFile("vide.txt", ""), String("vide.txt"), true, FTPSession::kStore);
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
  EXPECT_EQ(RaisedText(missing).substr(0, 2), "55");
}

class PyftpdlibTest : public WebTest {
 protected:
  void SetUp() override {
    WebTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    std::string why;
    ASSERT_TRUE(server.Start(FtpServerKind::kPyftpdlib, folder.Path(), &why)) << why;
  }
  SmartRef<FTPSession> LogIn(const std::string& password) {
    SmartRef<InternetSession> host = new InternetSession(String("127.0.0.1"));
    return new FTPSession(~host, String(server.Account().c_str()), String(password.c_str()));
  }
  FtpServer server;
};

TEST_F(PyftpdlibTest, AWrongPasswordRaisesTheServersReplyAndNoLogHoldsAPassword) {
  // Ctrl and Shift held as the session starts: its streams log every step.
  platform::SetKeyDown(VK_CONTROL, true);
  platform::SetKeyDown(VK_SHIFT, true);
  const SmartRef<Exception> refused = Raised([&] { LogIn("faux-mot"); });
  EXPECT_EQ(RaisedText(refused).substr(0, 3), "530");
  SmartRef<FTPSession> session = LogIn(server.Password());
  session = nullptr;
  platform::SetKeyDown(VK_CONTROL, false);
  platform::SetKeyDown(VK_SHIFT, false);
  bool sawUser = false;
  for (const std::string& text : loggedTexts) {
    sawUser = sawUser || text.find("USER enfant") != std::string::npos;
    EXPECT_EQ(text.find(server.Password()), std::string::npos) << text;
    EXPECT_EQ(text.find("faux-mot"), std::string::npos) << text;
  }
  EXPECT_TRUE(sawUser) << "the log was on";
}

}  // namespace
