// The TCP stream between two streams of its own on loopback (one listening, one connecting), in the test's
// private network: replies judged once complete, command lines, sends that outrun the peer, and the
// failures each owner hears of at its next poll.
#include <gtest/gtest.h>

#include <string>

#include "../WebTestSupport.h"
#include "core/Progress.h"
#include "core/Text1252.h"
#include "support/Raised.h"
#include "web/internet/FTPSession.h"
#include "web/internet/InternetSession.h"
#include "web/internet/TCPStream.h"

namespace {

using web_test::WebTest;

constexpr std::uint16_t kPort = 2121;

class TCPStreamTest : public WebTest {
 protected:
  // A connected pair: a client stream and the listening stream it connected to.
  void Connect() {
    server = new TCPStream(String(), TCPStream::kListen, kPort);
    client = new TCPStream(String("127.0.0.1"), TCPStream::kClient, kPort);
    EXPECT_EQ(client->GetConnectData()->state, TCPConnectData::kConnecting) << "a dotted address needs no lookup";
    AwaitReady(*client);
    AwaitReady(*server);
  }
  void AwaitReady(TCPStream& stream) {
    while (!stream.IsReady()) TCPStream::WaitTurn(range);
  }
  // Everything the stream receives until it holds the count of bytes.
  std::string Receive(TCPStream& stream, std::size_t count) {
    std::string got;
    while (got.size() < count) {
      TCPStream::WaitTurn(range);
      if (!stream.HasData()) continue;
      got.append(reinterpret_cast<const char*>(stream.GetBuffer().GetData()), stream.GetBuffer().GetSize());
      stream.ClearBuffer();
    }
    return got;
  }
  void Send(TCPStream& stream, const std::string& bytes) {
    stream.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    AwaitReady(stream);
  }

  Progress range{0, "test"};
  SmartRef<TCPStream> server;
  SmartRef<TCPStream> client;
};

TEST(TCPStreamReplies, JudgedByTheirFirstTwoCharacters) {
  struct Case {
    const char* reply;
    int classDigit;
    int alternative;
    bool passes;
  };
  const Case cases[] = {
      {"220 Bienvenue\r\n", 2, 0, true},
      {"220 Bienvenue\r\n", 3, 0, false},
      {"331 Mot de passe\r\n", 3, 0, true},
      {"550 Existe\r\n", 2, 55, true},
      {"553 Refus\r\n", 2, 55, true},  // two digits only: 55x passes for 55
      {"530 Refus\r\n", 2, 55, false},
      {"230 Connect\r\n", 3, 0, false},
      {"\r\n", 0, 0, false},  // n = -1 fails every class
      {"\r\n", 2, 0, false},
      {"00 zero\r\n", 2, 0, false},  // 0 is no alternative, not a code that passes
      {"00 zero\r\n", 0, 0, true},
      {"2", 2, 0, false},
      {" 220\r\n", 2, 0, false},
      {"x220\r\n", 2, 0, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReplyPasses(c.reply, c.classDigit, c.alternative), c.passes) << c.reply << " " << c.classDigit;
}

TEST(TCPStreamAddresses, DottedTextAndAddresses) {
  EXPECT_TRUE(TCPStream::IsDottedAddress(String("192.168.1.20")));
  EXPECT_FALSE(TCPStream::IsDottedAddress(String("ftp.example.org")));
  EXPECT_FALSE(TCPStream::IsDottedAddress(String("255.255.255.255"))) << "all ones reads as a host name";
  EXPECT_EQ(TextToAddress(String("10.0.0.1")), inet_addr("10.0.0.1"));
  // Only the first 29 characters count.
  EXPECT_EQ(TextToAddress(String("0000000000000000000001.2.3.45x")), inet_addr("1.2.3.45"));
  EXPECT_EQ(inet_addr("0000000000000000000001.2.3.45x"), INADDR_NONE);
  EXPECT_EQ(TextOf(AddressToText(inet_addr("192.168.0.5"))), "192.168.0.5");
}

TEST_F(TCPStreamTest, AMultiLineReplyIsJudgedWholeAndWhatFollowsIsKept) {
  Connect();
  Send(*server, "220-Bienvenue\r\n220-sur le serveur\r\n220 Pr\xEAt\r\n331 Ensuite\r\n");
  client->ExpectReply(range, 2, 0);
  ASSERT_TRUE(client->HasData()) << "the next reply stays held";
  client->ExpectReply(range, 3, 0);
  EXPECT_FALSE(client->HasData());

  Send(*server, "530 Non\r\n");
  const SmartRef<Exception> refused = Raised([&] { client->ExpectReply(range, 2, 0); });
  EXPECT_EQ(RaisedText(refused), "530 Non\r\n");
  EXPECT_EQ(client->GetLength(), 0u);
}

TEST_F(TCPStreamTest, CommandLinesAndNamesThatWouldBreakThem) {
  Connect();
  struct Case {
    const char* command;
    const char* first;
    const char* second;
    const char* line;  // null: refused
  };
  const Case cases[] = {
      {"USER", "enfant", "", "USER enfant\r\n"},
      {"CDUP", "", "", "CDUP\r\n"},
      {"PASS", "", "", "PASS\r\n"},
      {"X", "", "b", "X b\r\n"},
      {"MAIL", "FROM:<a@b>", "", "MAIL FROM:<a@b>\r\n"},
      {"CWD", "a b", "c", "CWD a b c\r\n"},
      {"CWD", "site\r\nDELE index.htm", "", nullptr},
      {"STOR", "page\n.htm", "", nullptr},
      {"RCPT", "TO:<a@b>\r", "", nullptr},
  };
  std::string expected;
  for (const Case& c : cases) {
    const SmartRef<Exception> raised =
        Raised([&] { client->SendCommand(String(c.command), String(c.first), String(c.second)); });
    if (c.line) {
      EXPECT_FALSE(raised) << c.command;
      expected += c.line;
    } else {
      EXPECT_EQ(RaisedText(raised), "Erreur de transfert de fichier.") << c.first;
    }
  }
  // A NUL inside a name is refused too (a String holds it; the line would not).
  String withNul("ab");
  withNul.Insert("\0", 1, 1);
  EXPECT_TRUE(Raised([&] { client->SendCommand(String("CWD"), withNul, String()); }));
  EXPECT_EQ(Receive(*server, expected.size()), expected) << "nothing of a refused line was sent";
}

TEST_F(TCPStreamTest, ASendTheSocketCannotTakeWaitsAndArrivesWholeInOrder) {
  Connect();
  // Written with no notification let through, so that the receiver reads nothing until the socket is full.
  std::string bytes;
  for (int block = 0; block < 64 && client->GetConnectData()->state != TCPConnectData::kSendPending; ++block) {
    std::string more(1 << 20, '\0');
    for (std::size_t k = 0; k < more.size(); ++k) more[k] = static_cast<char>((bytes.size() + k) * 7 + block);
    client->Write(more.data(), static_cast<std::uint32_t>(more.size()));
    bytes += more;
  }
  ASSERT_EQ(client->GetConnectData()->state, TCPConnectData::kSendPending);
  EXPECT_FALSE(client->IsReady());
  // The receiver's buffer fills long before the end: what waits in the socket is never lost.
  std::string got;
  while (got.size() < bytes.size()) {
    TCPStream::WaitTurn(range);
    client->IsReady();
    if (server->HasData()) {
      EXPECT_LE(server->GetBuffer().GetSize(), TCPStream::kReceiveLimit);
      got.append(reinterpret_cast<const char*>(server->GetBuffer().GetData()), server->GetBuffer().GetSize());
      server->ClearBuffer();
    }
  }
  EXPECT_TRUE(got == bytes);
  EXPECT_TRUE(client->IsReady());
}

TEST_F(TCPStreamTest, TheEndOfTheConnectionIsNoticedAfterTheLastByte) {
  Connect();
  Send(*server, "dernier");
  server = nullptr;  // closes
  EXPECT_EQ(Receive(*client, 7), "dernier");
  while (client->IsOpen()) TCPStream::WaitTurn(range);
  const SmartRef<Exception> raised = Raised([&] { client->ExpectReply(range, 2, 0); });
  EXPECT_EQ(RaisedText(raised), "Erreur de transfert de fichier.") << "no reply can come from a closed peer";
}

TEST_F(TCPStreamTest, ListeningOnPortZeroTakesThePortTheSystemChose) {
  SmartRef<TCPStream> listening = new TCPStream(String(), TCPStream::kListen, 0);
  EXPECT_GT(listening->GetLocalPort(), 1023);
  EXPECT_FALSE(listening->IsReady()) << "nothing to send to before someone connects";
  SmartRef<TCPStream> peer = new TCPStream(String("127.0.0.1"), TCPStream::kClient, listening->GetLocalPort());
  AwaitReady(*listening);
  EXPECT_EQ(listening->GetRemoteAddress(), 0x7F000001u);
  EXPECT_EQ(listening->GetRemotePort(), peer->GetLocalPort());
}

TEST_F(TCPStreamTest, EachFailureIsTheStagesOwnTextAtTheNextPoll) {
  struct Case {
    const char* name;
    std::function<SmartRef<TCPStream>()> make;
    const char* text;
  };
  const Case cases[] = {
      {"refused", [] { return SmartRef<TCPStream>(new TCPStream(String("127.0.0.1"), TCPStream::kClient, 2199)); },
       "Échec : de connexion vers le serveur à distance"_cp},
      {"unknown name",
       [] { return SmartRef<TCPStream>(new TCPStream(String("no-such-host.invalid"), TCPStream::kClient, 21)); },
       "Échec : de recherche du serveur à distance"_cp},
      {"nobody connects", [] { return SmartRef<TCPStream>(new TCPStream(String(), TCPStream::kListen, 0)); },
       "Échec : de connexion vers le serveur à distance"_cp},
  };
  TCPStream::SetTimeLimit(300);
  for (const Case& c : cases) {
    SmartRef<TCPStream> stream = c.make();
    const SmartRef<Exception> raised = Raised([&] { AwaitReady(*stream); });
    EXPECT_EQ(RaisedText(raised), c.text) << c.name;
  }
}

TEST_F(TCPStreamTest, ASilentPeerOrALineLongerThanTheBufferEndsTheWait) {
  Connect();
  TCPStream::SetTimeLimit(300);
  EXPECT_EQ(RaisedText(Raised([&] { client->ExpectReply(range, 2, 0); })), "Erreur de transfert de fichier.");
  Send(*server, "220 " + std::string(20000, 'x') + "\r\n");
  EXPECT_EQ(RaisedText(Raised([&] { client->ExpectReply(range, 2, 0); })), "Erreur de transfert de fichier.");
}

TEST_F(TCPStreamTest, AHostNameIsLookedUpFirst) {
  server = new TCPStream(String(), TCPStream::kListen, kPort);
  client = new TCPStream(String("localhost"), TCPStream::kClient, kPort);
  EXPECT_EQ(client->GetConnectData()->state, TCPConnectData::kResolving);
  AwaitReady(*client);
  AwaitReady(*server);
  EXPECT_EQ(client->GetRemotePort(), kPort);
}

}  // namespace

namespace {

// A stream whose addresses are the test's: what the port argument is made of.
class PlacedStream : public TCPStream {
 public:
  PlacedStream(std::uint32_t address, std::uint16_t port)
      : TCPStream(String(), TCPStream::kListen, 0), address(address), port(port) {}
  std::uint32_t GetLocalAddress() override { return address; }
  std::uint16_t GetLocalPort() override { return port; }

 private:
  std::uint32_t address;
  std::uint16_t port;
};

TEST_F(TCPStreamTest, ThePortArgumentIsTheControlAddressAndTheDataPort) {
  struct Case {
    std::uint32_t address;
    std::uint16_t port;
    const char* argument;
  };
  const Case cases[] = {
      {0xC0A80005u, 4660, "192,168,0,5,18,52"},
      {0x7F000001u, 1024, "127,0,0,1,4,0"},
      {0x0A0000FFu, 65535, "10,0,0,255,255,255"},
      {0x00000000u, 0, "0,0,0,0,0,0"},
  };
  for (const Case& c : cases) {
    SmartRef<PlacedStream> control = new PlacedStream(c.address, 21);
    SmartRef<PlacedStream> data = new PlacedStream(0x01020304u, c.port);
    EXPECT_EQ(TextOf(FTPSession::FormatPortArgument(*control, *data)), c.argument);
  }
}

TEST_F(TCPStreamTest, TheSocketsStopOnceAndEveryStreamsSocketGoesWithThem) {
  Connect();
  InternetSession::Shutdown();
  EXPECT_EQ(platform::net::OpenSocketCount(), 0);
  // A second stop finds nothing started: the system's own error, raised.
  EXPECT_EQ(RaisedText(Raised([] { InternetSession::Shutdown(); })), "system error 10093");
  server = nullptr;  // a stream outliving the sockets still goes quietly
  client = nullptr;
  InternetSession::Startup();
}

}  // namespace
