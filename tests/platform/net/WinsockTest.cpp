// The sockets over loopback: notifications as the program's code expects them (each posted once, again only
// after the call that re-enables it), host lookups that never block, and the address conversions.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/net/Winsock.h"
#include "platform/user/Message.h"
#include "support/WindowFixture.h"

namespace {

constexpr UINT kSocketMessage = 0x800;
constexpr UINT kLookupMessage = 0x801;

struct Note {
  SOCKET socket;
  int event;
  int error;
};

class WinsockTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    platform::SetClockForTesting({});  // the waits below are real
    WSADATA data;
    ASSERT_EQ(WSAStartup(0x0101, &data), 0);
    window = MakeTop({0, 0, 10, 10});
    Handle(window, [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
      if (message == kSocketMessage)
        notes.push_back({static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam)});
      if (message == kLookupMessage) lookups.push_back({static_cast<SOCKET>(wParam), WSAGETASYNCBUFLEN(lParam), WSAGETASYNCERROR(lParam)});
      return std::nullopt;
    });
  }
  void TearDown() override {
    platform::net::ResetSocketsForTesting();
    WindowFixture::TearDown();
  }

  // Delivers messages until the condition holds (or five seconds have passed: a broken layer fails the
  // test instead of hanging it).
  bool WaitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
      Pump();
    }
    return true;
  }
  // Lets the loop poll a while and delivers what came, for checks that nothing more is posted.
  void Settle() {
    for (int k = 0; k < 5; ++k) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
      Pump();
    }
  }
  int Count(SOCKET s, int event) const {
    int n = 0;
    for (const Note& note : notes) n += note.socket == s && note.event == event;
    return n;
  }
  bool Has(SOCKET s, int event) const { return Count(s, event) > 0; }

  SOCKET Open() {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_NE(s, INVALID_SOCKET);
    return s;
  }
  static SOCKADDR_IN Loopback(USHORT port) {
    SOCKADDR_IN a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = inet_addr("127.0.0.1");
    return a;
  }
  static USHORT LocalPort(SOCKET s) {
    SOCKADDR_IN a{};
    int length = sizeof a;
    EXPECT_EQ(getsockname(s, reinterpret_cast<SOCKADDR*>(&a), &length), 0);
    return ntohs(a.sin_port);
  }
  // A listening socket on a port the system chose, reporting to the window.
  SOCKET Listener() {
    const SOCKET s = Open();
    const SOCKADDR_IN any = Loopback(0);
    EXPECT_EQ(bind(s, reinterpret_cast<const SOCKADDR*>(&any), sizeof any), 0);
    EXPECT_EQ(WSAAsyncSelect(s, window, kSocketMessage, 63), 0);
    EXPECT_EQ(listen(s, 1), 0);
    return s;
  }
  SOCKET Connect(USHORT port) {
    const SOCKET s = Open();
    EXPECT_EQ(WSAAsyncSelect(s, window, kSocketMessage, 63), 0);
    const SOCKADDR_IN to = Loopback(port);
    EXPECT_EQ(connect(s, reinterpret_cast<const SOCKADDR*>(&to), sizeof to), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    return s;
  }
  // A connected pair: the client and the accepted socket.
  void Pair(SOCKET* client, SOCKET* server) {
    const SOCKET listening = Listener();
    *client = Connect(LocalPort(listening));
    ASSERT_TRUE(WaitUntil([&] { return Has(listening, FD_ACCEPT) && Has(*client, FD_CONNECT); }));
    *server = accept(listening, nullptr, nullptr);
    ASSERT_NE(*server, INVALID_SOCKET);
    closesocket(listening);
    ASSERT_TRUE(WaitUntil([&] { return Has(*client, FD_WRITE) && Has(*server, FD_WRITE); }));
  }

  HWND window = nullptr;
  std::vector<Note> notes;
  std::vector<Note> lookups;
};

TEST(WinsockAddresses, DottedTextToAddressAndBack) {
  struct Case {
    const char* text;
    ULONG address;  // network order, as inet_addr answers
  };
  const Case cases[] = {
      {"192.168.1.20", 0x1401A8C0u},
      {"127.0.0.1", 0x0100007Fu},
      {"0.0.0.0", 0x00000000u},
      {"255.255.255.255", INADDR_NONE},  // all ones: indistinguishable from "no address"
      {"10.1.258", 0x0201010Au},         // the last part fills the remaining bytes
      {"10.65536", 0x0000010Au},
      {"0x7f.1", 0x0100007Fu},
      {"010.0.0.1", 0x01000008u},  // octal
      {"1.2.3.4 trailing", 0x04030201u},
      {"", INADDR_NONE},
      {"host.example", INADDR_NONE},
      {"1.2.3.4.5", INADDR_NONE},
      {"256.1.1.1", INADDR_NONE},
      {"1..2", INADDR_NONE},
      {"08.1.1.1", INADDR_NONE},
      {"1.2.3.4x", INADDR_NONE},
      {"-1.2.3.4", INADDR_NONE},
  };
  for (const Case& c : cases) EXPECT_EQ(inet_addr(c.text), c.address) << c.text;
  EXPECT_EQ(inet_addr(nullptr), INADDR_NONE);

  const char* dotted[] = {"192.168.1.20", "0.0.0.0", "255.255.255.254", "1.2.3.4"};
  for (const char* text : dotted) EXPECT_STREQ(inet_ntoa(IN_ADDR{inet_addr(text)}), text);
  EXPECT_EQ(htons(0x1234), 0x3412);
  EXPECT_EQ(ntohs(htons(21)), 21);
  EXPECT_EQ(ntohl(0x0100007Fu), 0x7F000001u);
}

TEST(WinsockStartup, VersionsAndCallsOutsideStartup) {
  platform::net::ResetSocketsForTesting();
  EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
  EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);

  struct Case {
    WORD asked;
    int result;
  };
  const Case cases[] = {{0x0101, 0}, {0x0202, 0}, {0x0001, WSAVERNOTSUPPORTED}, {0x0000, WSAVERNOTSUPPORTED}};
  for (const Case& c : cases) {
    WSADATA data{};
    EXPECT_EQ(WSAStartup(c.asked, &data), c.result) << c.asked;
    if (c.result == 0) {
      EXPECT_EQ(data.wVersion, 0x0101);
      EXPECT_EQ(WSACleanup(), 0);
    }
  }
  // Start-ups are counted: sockets live until the last clean-up.
  WSADATA data;
  ASSERT_EQ(WSAStartup(0x0101, &data), 0);
  ASSERT_EQ(WSAStartup(0x0101, &data), 0);
  const SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  EXPECT_EQ(WSACleanup(), 0);
  EXPECT_EQ(platform::net::OpenSocketCount(), 1);
  EXPECT_EQ(WSACleanup(), 0);
  EXPECT_EQ(platform::net::OpenSocketCount(), 0);
  EXPECT_EQ(closesocket(s), SOCKET_ERROR);
}

TEST_F(WinsockTest, ConnectAcceptAndEachNotificationOnceUntilReEnabled) {
  const SOCKET listening = Listener();
  const SOCKET client = Connect(LocalPort(listening));
  ASSERT_TRUE(WaitUntil([&] { return Has(listening, FD_ACCEPT) && Has(client, FD_CONNECT); }));
  EXPECT_EQ(notes.front().error, 0);
  SOCKADDR_IN peer{};
  int length = sizeof peer;
  const SOCKET server = accept(listening, reinterpret_cast<SOCKADDR*>(&peer), &length);
  ASSERT_NE(server, INVALID_SOCKET);
  EXPECT_EQ(peer.sin_addr.s_addr, inet_addr("127.0.0.1"));
  EXPECT_EQ(ntohs(peer.sin_port), LocalPort(client));
  // The accepted socket reports where the listening one did, and may be written at once.
  ASSERT_TRUE(WaitUntil([&] { return Has(server, FD_WRITE) && Has(client, FD_WRITE); }));

  ASSERT_EQ(send(client, "abcdef", 6, 0), 6);
  ASSERT_TRUE(WaitUntil([&] { return Has(server, FD_READ); }));
  Settle();
  EXPECT_EQ(Count(server, FD_READ), 1) << "posted again before any recv";
  char bytes[8] = {};
  ASSERT_EQ(recv(server, bytes, 2, 0), 2);
  ASSERT_TRUE(WaitUntil([&] { return Count(server, FD_READ) == 2; })) << "bytes are left: recv re-enables";
  ASSERT_EQ(recv(server, bytes, 8, 0), 4);
  EXPECT_EQ(std::string(bytes, 4), "cdef");
  Settle();
  EXPECT_EQ(Count(server, FD_READ), 2) << "nothing left, nothing posted";
  EXPECT_EQ(Count(client, FD_WRITE), 1) << "sends that never blocked post no more FD_WRITE";

  // The peer's closing is posted once, after the last byte was read, and a receive then finds 0 bytes.
  ASSERT_EQ(send(client, "z", 1, 0), 1);
  ASSERT_EQ(closesocket(client), 0);
  ASSERT_TRUE(WaitUntil([&] { return Count(server, FD_READ) == 3; }));
  EXPECT_FALSE(Has(server, FD_CLOSE));
  ASSERT_EQ(recv(server, bytes, 8, 0), 1);
  ASSERT_TRUE(WaitUntil([&] { return Has(server, FD_CLOSE); }));
  EXPECT_EQ(recv(server, bytes, 8, 0), 0);
  Settle();
  EXPECT_EQ(Count(server, FD_CLOSE), 1);
  EXPECT_EQ(Count(server, FD_ACCEPT) + Count(server, FD_CONNECT), 0);
}

TEST_F(WinsockTest, RefusedConnectIsANotificationCarryingTheError) {
  const SOCKET probe = Listener();
  const USHORT port = LocalPort(probe);
  closesocket(probe);  // nobody listens there now
  const SOCKET client = Connect(port);
  ASSERT_TRUE(WaitUntil([&] { return Has(client, FD_CONNECT); }));
  EXPECT_EQ(notes.back().error, WSAECONNREFUSED);
  char byte;
  EXPECT_EQ(send(client, "x", 1, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTCONN);
  EXPECT_EQ(recv(client, &byte, 1, 0), SOCKET_ERROR);
  Settle();
  EXPECT_EQ(Count(client, FD_CONNECT), 1);
  EXPECT_EQ(Count(client, FD_WRITE), 0);
}

TEST_F(WinsockTest, WriteIsPostedAgainOnlyAfterASendThatWouldBlock) {
  SOCKET client, server;
  Pair(&client, &server);
  std::vector<char> chunk(65536, 'q');
  int blocked = 0;
  long total = 0;
  for (int k = 0; k < 1000 && !blocked; ++k) {
    const int sent = send(client, chunk.data(), static_cast<int>(chunk.size()), 0);
    if (sent == SOCKET_ERROR) blocked = WSAGetLastError();
    else total += sent;
  }
  ASSERT_EQ(blocked, WSAEWOULDBLOCK);
  Settle();
  EXPECT_EQ(Count(client, FD_WRITE), 1) << "the buffers are still full";
  // The reader drains everything; room comes back and the writer hears of it once.
  std::vector<char> sink(65536);
  long drained = 0;
  ASSERT_TRUE(WaitUntil([&] {
    int got;
    while ((got = recv(server, sink.data(), static_cast<int>(sink.size()), 0)) > 0) drained += got;
    return Has(client, FD_WRITE) && Count(client, FD_WRITE) == 2;
  }));
  EXPECT_GT(drained, 0);
  Settle();
  EXPECT_EQ(Count(client, FD_WRITE), 2);
}

TEST_F(WinsockTest, SocketCallsRefuseWhatTheStateDoesNotAllow) {
  const SOCKET s = Open();
  char byte;
  SOCKADDR_IN a = Loopback(0);
  int length = sizeof a;
  struct Case {
    const char* call;
    std::function<bool()> fails;
    int error;
  };
  const Case cases[] = {
      {"listen before bind", [&] { return listen(s, 1) == SOCKET_ERROR; }, WSAEINVAL},
      {"send unconnected", [&] { return send(s, "x", 1, 0) == SOCKET_ERROR; }, WSAENOTCONN},
      {"recv unconnected", [&] { return recv(s, &byte, 1, 0) == SOCKET_ERROR; }, WSAENOTCONN},
      {"getpeername unconnected",
       [&] { return getpeername(s, reinterpret_cast<SOCKADDR*>(&a), &length) == SOCKET_ERROR; }, WSAENOTCONN},
      {"bind with a short name", [&] { return bind(s, reinterpret_cast<const SOCKADDR*>(&a), 4) == SOCKET_ERROR; },
       WSAEFAULT},
      {"accept on a fresh socket", [&] { return accept(s, nullptr, nullptr) == INVALID_SOCKET; }, WSAEINVAL},
      {"closesocket of no socket", [&] { return closesocket(12345) == SOCKET_ERROR; }, WSAENOTSOCK},
      {"select to no window", [&] { return WSAAsyncSelect(s, nullptr, kSocketMessage, FD_READ) == SOCKET_ERROR; },
       WSAEINVAL},
      {"connect to no address",
       [&] {
         SOCKADDR_IN any = Loopback(21);
         any.sin_addr.s_addr = INADDR_ANY;
         return connect(s, reinterpret_cast<const SOCKADDR*>(&any), sizeof any) == SOCKET_ERROR;
       },
       WSAEADDRNOTAVAIL},
  };
  for (const Case& c : cases) {
    WSASetLastError(0);
    EXPECT_TRUE(c.fails()) << c.call;
    EXPECT_EQ(WSAGetLastError(), c.error) << c.call;
  }
}

TEST_F(WinsockTest, HostLookupsEndAsMessagesWithTheEntryInTheBuffer) {
  char buffer[MAXGETHOSTSTRUCT];
  HANDLE found = WSAAsyncGetHostByName(window, kLookupMessage, "localhost", buffer, sizeof buffer);
  ASSERT_NE(found, nullptr);
  char small[24];
  HANDLE tooSmall = WSAAsyncGetHostByName(window, kLookupMessage, "localhost", small, sizeof small);
  char other[MAXGETHOSTSTRUCT];
  HANDLE missing = WSAAsyncGetHostByName(window, kLookupMessage, "no-such-host.invalid", other, sizeof other);
  char cancelledBuffer[MAXGETHOSTSTRUCT];
  HANDLE cancelled = WSAAsyncGetHostByName(window, kLookupMessage, "localhost", cancelledBuffer, sizeof cancelledBuffer);
  ASSERT_EQ(WSACancelAsyncRequest(cancelled), 0);
  EXPECT_EQ(WSACancelAsyncRequest(cancelled), SOCKET_ERROR);
  ASSERT_TRUE(WaitUntil([&] { return lookups.size() == 3; }));
  Settle();
  ASSERT_EQ(lookups.size(), 3u) << "a cancelled lookup posts nothing";
  for (const Note& l : lookups) {
    const HANDLE h = reinterpret_cast<HANDLE>(l.socket);
    if (h == found) {
      EXPECT_EQ(l.error, 0);
      EXPECT_GT(l.event, 0);
      HOSTENT entry;
      std::memcpy(&entry, buffer + ((-reinterpret_cast<std::uintptr_t>(buffer)) % alignof(HOSTENT)), sizeof entry);
      EXPECT_EQ(entry.h_length, 4);
      ASSERT_NE(entry.h_addr_list[0], nullptr);
      ULONG address;
      std::memcpy(&address, entry.h_addr_list[0], 4);
      EXPECT_EQ(address, inet_addr("127.0.0.1"));
      EXPECT_GE(entry.h_addr_list[0], buffer);
      EXPECT_LT(entry.h_addr_list[0], buffer + sizeof buffer);
    } else if (h == tooSmall) {
      EXPECT_EQ(l.error, WSAENOBUFS);
      EXPECT_GT(l.event, static_cast<int>(sizeof small)) << "the length it needs";
    } else {
      EXPECT_EQ(h, missing);
      EXPECT_EQ(l.error, WSAHOST_NOT_FOUND);
    }
  }
}

TEST_F(WinsockTest, ArrivingDataEndsTheLoopsWait) {
  SOCKET client, server;
  Pair(&client, &server);
  ASSERT_EQ(send(client, "ping", 4, 0), 4);
  // The wait is for a posted message: the socket's notification ends it, well before the long time-out.
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 60000, QS_POSTMESSAGE), WAIT_OBJECT_0);
  Pump();
  EXPECT_TRUE(Has(server, FD_READ));
}

}  // namespace
