// Sockets with the notifications of the system the program was written for, over the system's own
// non-blocking sockets. Notifications are posted while the message loop polls (SocketEvents.cpp); this
// file keeps the sockets' records and answers the calls.
#include "platform/net/Winsock.h"

#include <cstring>

#include "platform/kernel/Errors.h"
#include "platform/net/SocketTable.h"
#include "platform/net/SystemSockets.h"

using namespace platform::net;

namespace {

constexpr WORD kVersion = 0x0101;

int Fail(int error) {
  SetLastError(static_cast<DWORD>(error));
  return SOCKET_ERROR;
}

SOCKET FailSocket(int error) {
  SetLastError(static_cast<DWORD>(error));
  return INVALID_SOCKET;
}

// The record of a socket, or null with the error set (sockets not started, or no such socket).
SocketEntry* Lookup(SOCKET s) {
  SocketTable& table = Table();
  if (table.startups == 0) {
    SetLastError(WSANOTINITIALISED);
    return nullptr;
  }
  auto it = table.sockets.find(s);
  if (it == table.sockets.end()) {
    SetLastError(WSAENOTSOCK);
    return nullptr;
  }
  return &it->second;
}

bool ReadAddress(const SOCKADDR* name, int length, sys::Endpoint* out, int* error) {
  if (name == nullptr || length < static_cast<int>(sizeof(SOCKADDR_IN))) {
    *error = WSAEFAULT;
    return false;
  }
  SOCKADDR_IN in;
  std::memcpy(&in, name, sizeof in);
  if (in.sin_family != AF_INET) {
    *error = WSAEAFNOSUPPORT;
    return false;
  }
  *out = sys::Endpoint{in.sin_addr.s_addr, in.sin_port};
  return true;
}

int WriteAddress(sys::Endpoint e, SOCKADDR* name, int* length) {
  if (name == nullptr || length == nullptr || *length < static_cast<int>(sizeof(SOCKADDR_IN))) return WSAEFAULT;
  SOCKADDR_IN in{};
  in.sin_family = AF_INET;
  in.sin_port = e.port;
  in.sin_addr.s_addr = e.address;
  std::memcpy(name, &in, sizeof in);
  *length = sizeof in;
  return 0;
}

// Connection failures that the system reports at once but the program expects as a notification.
bool ReportedLater(int error) {
  return error == WSAECONNREFUSED || error == WSAENETUNREACH || error == WSAEHOSTUNREACH || error == WSAETIMEDOUT;
}

}  // namespace

int WSAStartup(WORD versionRequested, WSADATA* data) {
  const int major = LOBYTE(versionRequested);
  const int minor = HIBYTE(versionRequested);
  if (major < 1 || (major == 1 && minor < 1)) return WSAVERNOTSUPPORTED;
  if (data == nullptr) return WSAEFAULT;
  std::memset(data, 0, sizeof *data);
  data->wVersion = kVersion;
  data->wHighVersion = kVersion;
  std::strcpy(data->szDescription, "Sockets 1.1 over non-blocking system sockets");
  std::strcpy(data->szSystemStatus, "Running");
  data->iMaxSockets = 1024;
  if (Table().startups++ == 0) StartWatching();
  return 0;
}

int WSACleanup() {
  SocketTable& table = Table();
  if (table.startups == 0) return Fail(WSANOTINITIALISED);
  if (--table.startups == 0) StopWatching();
  return 0;
}

int WSAGetLastError() { return static_cast<int>(GetLastError()); }
void WSASetLastError(int error) { SetLastError(static_cast<DWORD>(error)); }

SOCKET socket(int family, int type, int protocol) {
  SocketTable& table = Table();
  if (table.startups == 0) return FailSocket(WSANOTINITIALISED);
  if (family != AF_INET) return FailSocket(WSAEAFNOSUPPORT);
  if (type != SOCK_STREAM) return FailSocket(WSAESOCKTNOSUPPORT);
  if (protocol != 0 && protocol != IPPROTO_TCP) return FailSocket(WSAEPROTONOSUPPORT);
  int error = 0;
  const int fd = sys::OpenStream(&error);
  if (fd < 0) return FailSocket(error);
  return AddSocket(fd, Phase::kFresh);
}

int bind(SOCKET s, const SOCKADDR* name, int nameLength) {
  SocketEntry* e = Lookup(s);
  if (!e) return SOCKET_ERROR;
  sys::Endpoint at;
  int error = 0;
  if (!ReadAddress(name, nameLength, &at, &error)) return Fail(error);
  if (e->bound) return Fail(WSAEINVAL);
  if (const int err = sys::Bind(e->fd, at)) return Fail(err);
  e->bound = true;
  return 0;
}

int listen(SOCKET s, int backlog) {
  SocketEntry* e = Lookup(s);
  if (!e) return SOCKET_ERROR;
  if (!e->bound || (e->phase != Phase::kFresh && e->phase != Phase::kListening)) return Fail(WSAEINVAL);
  if (const int err = sys::Listen(e->fd, backlog < 1 ? 1 : backlog)) return Fail(err);
  e->phase = Phase::kListening;
  return 0;
}

SOCKET accept(SOCKET s, SOCKADDR* address, int* addressLength) {
  SocketEntry* e = Lookup(s);
  if (!e) return INVALID_SOCKET;
  if (e->phase != Phase::kListening) return FailSocket(WSAEINVAL);
  if (address != nullptr && (addressLength == nullptr || *addressLength < static_cast<int>(sizeof(SOCKADDR_IN))))
    return FailSocket(WSAEFAULT);
  e->acceptArmed = true;
  sys::Endpoint peer;
  int error = 0;
  const int fd = sys::Accept(e->fd, &peer, &error);
  if (fd < 0) return FailSocket(error);
  const HWND window = e->window;
  const UINT message = e->message;
  const long events = e->events;
  const SOCKET made = AddSocket(fd, Phase::kConnected);
  // The new connection reports to whoever the listening socket reported to, and may be written at once.
  SocketEntry& entry = Table().sockets.at(made);
  entry.window = window;
  entry.message = message;
  entry.events = events;
  entry.bound = true;
  entry.writeArmed = true;
  if (address != nullptr) WriteAddress(peer, address, addressLength);
  return made;
}

int connect(SOCKET s, const SOCKADDR* name, int nameLength) {
  SocketEntry* e = Lookup(s);
  if (!e) return SOCKET_ERROR;
  sys::Endpoint to;
  int error = 0;
  if (!ReadAddress(name, nameLength, &to, &error)) return Fail(error);
  if (e->phase == Phase::kConnected) return Fail(WSAEISCONN);
  if (e->phase == Phase::kConnecting) return Fail(WSAEALREADY);
  if (e->phase != Phase::kFresh) return Fail(WSAEINVAL);
  if (to.address == INADDR_ANY) return Fail(WSAEADDRNOTAVAIL);
  const int err = sys::Connect(e->fd, to);
  if (err != 0 && err != WSAEWOULDBLOCK && !ReportedLater(err)) return Fail(err);
  // Like the system the program was written for, a non-blocking connect always completes through its
  // notification, even one refused before the call returned.
  e->phase = Phase::kConnecting;
  e->bound = true;
  e->laterError = ReportedLater(err) ? err : 0;
  return Fail(WSAEWOULDBLOCK);
}

int send(SOCKET s, const char* buffer, int length, int flags) {
  SocketEntry* e = Lookup(s);
  if (!e) return SOCKET_ERROR;
  if (flags != 0) return Fail(WSAEOPNOTSUPP);
  if (e->phase != Phase::kConnected) return Fail(WSAENOTCONN);
  if (length < 0 || (buffer == nullptr && length > 0)) return Fail(WSAEFAULT);
  int error = 0;
  const long sent = sys::Send(e->fd, buffer, static_cast<std::size_t>(length), &error);
  if (sent < 0) {
    if (error == WSAEWOULDBLOCK) e->writeArmed = true;
    return Fail(error);
  }
  return static_cast<int>(sent);
}

int recv(SOCKET s, char* buffer, int length, int flags) {
  SocketEntry* e = Lookup(s);
  if (!e) return SOCKET_ERROR;
  if (flags != 0) return Fail(WSAEOPNOTSUPP);
  if (e->phase != Phase::kConnected) return Fail(WSAENOTCONN);
  if (length < 0 || (buffer == nullptr && length > 0)) return Fail(WSAEFAULT);
  e->readArmed = true;
  int error = 0;
  const long got = sys::Receive(e->fd, buffer, static_cast<std::size_t>(length), &error);
  if (got < 0) return Fail(error);
  return static_cast<int>(got);
}

int closesocket(SOCKET s) {
  SocketEntry* e = Lookup(s);
  if (!e) return SOCKET_ERROR;
  const int fd = e->fd;
  Table().sockets.erase(s);
  if (const int err = sys::Close(fd)) return Fail(err);
  return 0;
}

int getsockname(SOCKET s, SOCKADDR* name, int* nameLength) {
  SocketEntry* e = Lookup(s);
  if (!e) return SOCKET_ERROR;
  if (!e->bound) return Fail(WSAEINVAL);
  sys::Endpoint at;
  if (const int err = sys::LocalName(e->fd, &at)) return Fail(err);
  if (const int err = WriteAddress(at, name, nameLength)) return Fail(err);
  return 0;
}

int getpeername(SOCKET s, SOCKADDR* name, int* nameLength) {
  SocketEntry* e = Lookup(s);
  if (!e) return SOCKET_ERROR;
  if (e->phase != Phase::kConnected) return Fail(WSAENOTCONN);
  sys::Endpoint at;
  if (const int err = sys::PeerName(e->fd, &at)) return Fail(err);
  if (const int err = WriteAddress(at, name, nameLength)) return Fail(err);
  return 0;
}

int WSAAsyncSelect(SOCKET s, HWND window, UINT message, long events) {
  SocketEntry* e = Lookup(s);
  if (!e) return SOCKET_ERROR;
  if (events != 0 && window == nullptr) return Fail(WSAEINVAL);
  e->window = window;
  e->message = message;
  e->events = events & (FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE);
  // A new selection reports again whatever holds now.
  e->readArmed = true;
  e->acceptArmed = true;
  e->closeArmed = true;
  e->writeArmed = e->phase == Phase::kConnected;
  return 0;
}
