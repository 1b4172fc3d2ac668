// The sockets interface the program is written against: version 1.1 of the system's sockets, the part the
// program calls. Sockets are non-blocking from the start and are never waited on: their events and the
// end of host-name lookups arrive as messages posted to a window, which the message loop delivers while it
// waits (it polls the sockets then).
#pragma once

#include "platform/kernel/WinTypes.h"
#include "platform/net/SocketErrors.h"

using SOCKET = UINT_PTR;
using ULONG = std::uint32_t;

inline constexpr SOCKET INVALID_SOCKET = static_cast<SOCKET>(~static_cast<SOCKET>(0));
inline constexpr int SOCKET_ERROR = -1;

enum : int { AF_INET = 2, SOCK_STREAM = 1, IPPROTO_TCP = 6 };

inline constexpr ULONG INADDR_ANY = 0x00000000u;
inline constexpr ULONG INADDR_NONE = 0xFFFFFFFFu;

// Network byte order, as the system stores it; s_addr's bytes in memory order are the dotted parts.
struct IN_ADDR {
  ULONG s_addr;
};

struct SOCKADDR {
  USHORT sa_family;
  char sa_data[14];
};

struct SOCKADDR_IN {
  short sin_family;
  USHORT sin_port;  // network byte order
  IN_ADDR sin_addr;
  char sin_zero[8];
};

// A host entry as a lookup leaves it in the caller's buffer: every pointer points into that buffer.
struct HOSTENT {
  char* h_name;
  char** h_aliases;
  short h_addrtype;
  short h_length;
  char** h_addr_list;
};

inline constexpr int WSADESCRIPTION_LEN = 256;
inline constexpr int WSASYS_STATUS_LEN = 128;
// The buffer a host lookup needs at most.
inline constexpr int MAXGETHOSTSTRUCT = 1024;

struct WSADATA {
  WORD wVersion;
  WORD wHighVersion;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
};

// Notification events of WSAAsyncSelect: the low word of the message's lParam; the high word carries an
// error number.
enum : long { FD_READ = 0x01, FD_WRITE = 0x02, FD_OOB = 0x04, FD_ACCEPT = 0x08, FD_CONNECT = 0x10, FD_CLOSE = 0x20 };

#define WSAGETSELECTEVENT(lParam) LOWORD(lParam)
#define WSAGETSELECTERROR(lParam) HIWORD(lParam)
#define WSAGETASYNCBUFLEN(lParam) LOWORD(lParam)
#define WSAGETASYNCERROR(lParam) HIWORD(lParam)
#define WSAMAKESELECTREPLY(event, error) MAKELONG(event, error)


int WSAStartup(WORD versionRequested, WSADATA* data);
int WSACleanup();
int WSAGetLastError();
void WSASetLastError(int error);

SOCKET socket(int family, int type, int protocol);
int bind(SOCKET s, const SOCKADDR* name, int nameLength);
int listen(SOCKET s, int backlog);
SOCKET accept(SOCKET s, SOCKADDR* address, int* addressLength);
int connect(SOCKET s, const SOCKADDR* name, int nameLength);
int send(SOCKET s, const char* buffer, int length, int flags);
int recv(SOCKET s, char* buffer, int length, int flags);
int closesocket(SOCKET s);
int getsockname(SOCKET s, SOCKADDR* name, int* nameLength);
int getpeername(SOCKET s, SOCKADDR* name, int* nameLength);

USHORT htons(USHORT value);
USHORT ntohs(USHORT value);
ULONG htonl(ULONG value);
ULONG ntohl(ULONG value);
// The dotted forms a.b.c.d, a.b.c, a.b and a, each part decimal, octal (0...) or hexadecimal (0x...);
// INADDR_NONE for anything else.
ULONG inet_addr(const char* text);
// The dotted text of the address, in one buffer that the next call overwrites.
char* inet_ntoa(IN_ADDR address);

// Posts message to window (wParam the socket, lParam the event and error) for each event of the mask that
// occurs; 0 stops the notifications. Each event is posted once, then again only after the call that
// re-enables it: recv for FD_READ and FD_OOB, accept for FD_ACCEPT, a send that would block for FD_WRITE.
int WSAAsyncSelect(SOCKET s, HWND window, UINT message, long events);
// Looks the name up without blocking; its end posts message to window with the handle as wParam and the
// buffer length needed (low word) and an error (high word) as lParam, the host entry in the buffer.
HANDLE WSAAsyncGetHostByName(HWND window, UINT message, const char* name, char* buffer, int bufferLength);
int WSACancelAsyncRequest(HANDLE asyncTask);

namespace platform::net {
// Closes every socket and forgets every lookup and start-up: fresh sockets for the next test.
void ResetSocketsForTesting();
// The number of sockets open now (tests check that nothing is left behind).
int OpenSocketCount();
}  // namespace platform::net
