// The SMTP client against aiosmtpd on port 25 of the test's private network, and against servers that
// are not there or refuse.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../WebTestSupport.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "support/Raised.h"
#include "web/internet/SMTPSession.h"

namespace {

using web_test::ChildProcess;
using web_test::ReadAll;
using web_test::WebTest;

TEST(SMTPMessageLines, LineEndsAndFullStopsAsTheProtocolCarriesThem) {
  struct Case {
    const char* text;
    const char* carried;
  };
  const Case cases[] = {
      {"Bonjour", "Bonjour"},
      {"a\r\nb", "a\r\nb"},
      {"a\nb\rc", "a\r\nb\r\nc"},
      {".\r\n", "..\r\n"},
      {"x\r\n.\r\ny", "x\r\n..\r\ny"},  // a lone full stop would end the message there
      {"..deux\n.un", "...deux\r\n..un"},
      {"fin.\r\n", "fin.\r\n"},
      {"\n\n", "\r\n\r\n"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(SMTPSession::EncodeMessage(c.text), c.carried) << c.text;
}

class SMTPSessionTest : public WebTest {};

TEST_F(SMTPSessionTest, AiosmtpdStoresTheMessageByteForByte) {
  ChildProcess server;
  const std::filesystem::path mail = folder.Path() / "mail";
  std::filesystem::create_directories(mail);
  StartServer(server, {web_test::kPython, web_test::ServerScript("smtp_server.py"), mail.string(), "25"}, 25);
  const std::string message =
      "Subject: Mon site\r\n\r\nBonjour,\r\n.un point au d\xE9" "but\r\n..deux\nligne seule\r\nfin";
  MemoryStream stream;
  stream.Write(message.data(), static_cast<std::uint32_t>(message.size()));
  {
    SmartRef<SMTPSession> session = new SMTPSession(String("127.0.0.1"));
    session->SendMessage(stream, String("enfant@ecole.fr"), String("maman@maison.fr"));
  }
  ASSERT_TRUE(web_test::WaitForFile(mail / "message-1", 5000));
  EXPECT_EQ(ReadAll(mail / "message-1"),
            "Subject: Mon site\r\n\r\nBonjour,\r\n.un point au d\xE9" "but\r\n..deux\r\nligne seule\r\nfin\r\n");
  EXPECT_EQ(ReadAll(mail / "message-1.envelope"), "enfant@ecole.fr\nmaman@maison.fr\n");
}

TEST_F(SMTPSessionTest, NoServerOrARefusingOneEndsInTheProgramsError) {
  EXPECT_EQ(RaisedText(Raised([] { SmartRef<SMTPSession> s = new SMTPSession(String("")); })),
            "Aucun serveur de messagerie trouvé"_cp)
      << "an empty name starts with \"smtp\", then \"MAIL\", and there is no relay beyond";
  EXPECT_EQ(RaisedText(Raised([] { SmartRef<SMTPSession> s = new SMTPSession(String("127.0.0.1")); })),
            "Aucun serveur de messagerie trouvé"_cp);

  ChildProcess server;
  StartServer(server, {web_test::kPython, web_test::ServerScript("hostile_ftp.py"), "greet421", "25", folder.Path().string()},
              25);
  EXPECT_EQ(RaisedText(Raised([] { SmartRef<SMTPSession> s = new SMTPSession(String("127.0.0.1")); })),
            "421 Service indisponible\r\n");
}

}  // namespace
