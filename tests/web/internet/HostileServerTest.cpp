// The FTP client against a scripted server that misbehaves one way per case: whatever it does ends in
// the program's own error within the time limit, or in a file that arrives whole, and the local file is
// never changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../WebTestSupport.h"
#include "core/FileReference.h"
#include "core/Text1252.h"
#include "support/Raised.h"
#include "web/internet/FTPSession.h"
#include "web/internet/InternetSession.h"

namespace {

using web_test::ChildProcess;
using web_test::ReadAll;
using web_test::WebTest;

class HostileServerTest : public WebTest {};

TEST_F(HostileServerTest, EveryCaseEndsInAnErrorOrAWholeFile) {
  struct Case {
    const char* scenario;  // null: nothing listens on port 21
    const char* error;     // what is raised (a prefix); null: the upload succeeds
    const char* orError;   // another outcome just as good, where timing decides between two
  };
  const Case cases[] = {
      {"trickle", nullptr, nullptr},
      {"multiline", nullptr, nullptr},
      {"thief", nullptr, nullptr},
      {"longline", "Erreur de transfert de fichier.", nullptr},
      {"user230", "230 Connexion sans mot de passe\r\n", nullptr},
      {"mkd550", "550 Permission refus\xE9" "e\r\n", nullptr},  // the reason the folder cannot be entered
      {"421transfer", "421 Service indisponible", "Erreur de transfert de fichier."},
      {"silent", "Erreur de transfert de fichier.", nullptr},
      {nullptr, "Échec : de connexion vers le serveur à distance"_cp, nullptr},
  };
  std::string bytes(10000, '\0');
  for (std::size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<char>(k * 13 + 7);
  const std::string local = folder.Write("local/page.htm", bytes);
  TCPStream::SetTimeLimit(700);
  for (const Case& c : cases) {
    const std::string name = c.scenario ? c.scenario : "nothing on port 21";
    const std::filesystem::path dir = folder.Path() / ("case-" + name);
    std::filesystem::create_directories(dir);
    ChildProcess server;
    if (c.scenario)
      StartServer(server, {web_test::kPython, web_test::ServerScript("hostile_ftp.py"), c.scenario, "21", dir.string()}, 21);
    const SmartRef<Exception> raised = Raised([&] {
      SmartRef<InternetSession> host = new InternetSession(String("127.0.0.1"));
      SmartRef<FTPSession> session = new FTPSession(~host, String("enfant"), String("mdp"));
      session->SetDirectory(String("site"), true);
      SmartRef<FileReference> file = new FileReference(local.c_str());
      session->SendFile(~file, String("page.htm"), true, FTPSession::kPublish);
    });
    if (c.error == nullptr) {
      EXPECT_FALSE(raised) << name << ": " << RaisedText(raised);
      EXPECT_TRUE(ReadAll(dir / "received") == bytes) << name << ": the file arrives whole";
    } else {
      const std::string text = RaisedText(raised);
      const bool expected = text.rfind(c.error, 0) == 0 || (c.orError && text.rfind(c.orError, 0) == 0);
      EXPECT_TRUE(expected) << name << ": " << text;
    }
    if (name == "thief") {
      EXPECT_TRUE(std::filesystem::exists(dir / "stolen"));
      EXPECT_EQ(ReadAll(dir / "stolen"), "") << "the stranger got nothing";
    }
    EXPECT_TRUE(ReadAll(folder.Path() / "local" / "page.htm") == bytes) << name;
  }
}

}  // namespace
