#include "platform/net/SystemSockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <thread>

#include "platform/net/SocketErrors.h"

namespace platform::net::sys {

namespace {

int ErrorOf(int err) {
  switch (err) {
    case 0: return 0;
    case EAGAIN:
    case EINPROGRESS: return WSAEWOULDBLOCK;
    case EINTR: return WSAEINTR;
    case EBADF:
    case ENOTSOCK: return WSAENOTSOCK;
    case EACCES:
    case EPERM: return WSAEACCES;
    case EFAULT: return WSAEFAULT;
    case EINVAL: return WSAEINVAL;
    case EMFILE:
    case ENFILE: return WSAEMFILE;
    case EALREADY: return WSAEALREADY;
    case EMSGSIZE: return WSAEMSGSIZE;
    case EAFNOSUPPORT: return WSAEAFNOSUPPORT;
    case EADDRINUSE: return WSAEADDRINUSE;
    case EADDRNOTAVAIL: return WSAEADDRNOTAVAIL;
    case ENETDOWN: return WSAENETDOWN;
    case ENETUNREACH: return WSAENETUNREACH;
    case ENETRESET: return WSAENETRESET;
    case ECONNABORTED: return WSAECONNABORTED;
    case ECONNRESET:
    case EPIPE: return WSAECONNRESET;
    case ENOBUFS:
    case ENOMEM: return WSAENOBUFS;
    case EISCONN: return WSAEISCONN;
    case ENOTCONN: return WSAENOTCONN;
    case ESHUTDOWN: return WSAESHUTDOWN;
    case ETIMEDOUT: return WSAETIMEDOUT;
    case ECONNREFUSED: return WSAECONNREFUSED;
    case EHOSTDOWN: return WSAEHOSTDOWN;
    case EHOSTUNREACH: return WSAEHOSTUNREACH;
    case EOPNOTSUPP: return WSAEOPNOTSUPP;
    default: return WSAEINVAL;
  }
}

sockaddr_in ToSystem(Endpoint e) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = e.address;
  a.sin_port = e.port;
  return a;
}

bool MakeNonBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 && fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

// Lookups finish on threads of their own; a byte in this pipe ends the message loop's wait.
struct WakePipe {
  int read = -1;
  int write = -1;
  WakePipe() {
    int fds[2];
    if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
      read = fds[0];
      write = fds[1];
    }
  }
};

WakePipe& Wake() {
  static WakePipe* wake = new WakePipe();  // lookup threads may outlive static destruction
  return *wake;
}

void Drain(int fd) {
  char bytes[64];
  while (::read(fd, bytes, sizeof bytes) > 0) {
  }
}

int LookupError(int code) {
  switch (code) {
    case EAI_NONAME:
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
    case EAI_FAMILY: return WSAHOST_NOT_FOUND;
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY: return WSANO_DATA;
#endif
    case EAI_AGAIN: return WSATRY_AGAIN;
    default: return WSANO_RECOVERY;
  }
}

HostEntry Resolve(const std::string& name) {
  HostEntry entry;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_CANONNAME;
  addrinfo* found = nullptr;
  const int code = getaddrinfo(name.c_str(), nullptr, &hints, &found);
  if (code != 0) {
    entry.error = LookupError(code);
    return entry;
  }
  entry.name = found->ai_canonname ? found->ai_canonname : name;
  for (addrinfo* a = found; a != nullptr; a = a->ai_next) {
    if (a->ai_family != AF_INET || a->ai_addr == nullptr) continue;
    const std::uint32_t address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
    bool known = false;
    for (std::uint32_t seen : entry.addresses) known = known || seen == address;
    if (!known) entry.addresses.push_back(address);
  }
  freeaddrinfo(found);
  if (entry.addresses.empty()) entry.error = WSANO_DATA;
  return entry;
}

}  // namespace

int OpenStream(int* error) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) {
    *error = ErrorOf(errno);
    return -1;
  }
  // A port whose last connection is still in its closing wait can be bound again, as on the system the
  // program was written for; two sockets still never listen on one port.
  const int on = 1;
  if (!MakeNonBlocking(fd) || ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
    *error = ErrorOf(errno);
    ::close(fd);
    return -1;
  }
  *error = 0;
  return fd;
}

int Close(int fd) { return ::close(fd) == 0 ? 0 : ErrorOf(errno); }

int Bind(int fd, Endpoint at) {
  const sockaddr_in a = ToSystem(at);
  return ::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0 ? 0 : ErrorOf(errno);
}

int Listen(int fd, int backlog) { return ::listen(fd, backlog) == 0 ? 0 : ErrorOf(errno); }

int Connect(int fd, Endpoint to) {
  const sockaddr_in a = ToSystem(to);
  return ::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0 ? 0 : ErrorOf(errno);
}

int Accept(int fd, Endpoint* peer, int* error) {
  sockaddr_in a{};
  socklen_t length = sizeof a;
  const int made = ::accept4(fd, reinterpret_cast<sockaddr*>(&a), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (made < 0) {
    *error = ErrorOf(errno);
    return -1;
  }
  *error = 0;
  if (peer) *peer = Endpoint{a.sin_addr.s_addr, a.sin_port};
  return made;
}

long Send(int fd, const void* bytes, std::size_t count, int* error) {
  const ssize_t sent = ::send(fd, bytes, count, MSG_NOSIGNAL);
  *error = sent < 0 ? ErrorOf(errno) : 0;
  return static_cast<long>(sent);
}

long Receive(int fd, void* bytes, std::size_t count, int* error) {
  const ssize_t got = ::recv(fd, bytes, count, 0);
  *error = got < 0 ? ErrorOf(errno) : 0;
  return static_cast<long>(got);
}

int LocalName(int fd, Endpoint* at) {
  sockaddr_in a{};
  socklen_t length = sizeof a;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) != 0) return ErrorOf(errno);
  *at = Endpoint{a.sin_addr.s_addr, a.sin_port};
  return 0;
}

int PeerName(int fd, Endpoint* at) {
  sockaddr_in a{};
  socklen_t length = sizeof a;
  if (::getpeername(fd, reinterpret_cast<sockaddr*>(&a), &length) != 0) return ErrorOf(errno);
  *at = Endpoint{a.sin_addr.s_addr, a.sin_port};
  return 0;
}

int TakeSocketError(int fd) {
  int err = 0;
  socklen_t length = sizeof err;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &length) != 0) return ErrorOf(errno);
  return ErrorOf(err);
}

int PeekState(int fd) {
  char byte;
  const ssize_t got = ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  if (got > 0) return 1;
  if (got == 0) return 0;
  return -ErrorOf(errno);
}

bool Wait(std::vector<Watch>& watches, int timeoutMs) {
  std::vector<pollfd> fds;
  fds.reserve(watches.size() + 1);
  for (const Watch& w : watches) {
    short events = 0;
    if (w.wanted & kReadable) events |= POLLIN;
    if (w.wanted & kWritable) events |= POLLOUT;
    fds.push_back(pollfd{w.fd, events, 0});
  }
  fds.push_back(pollfd{Wake().read, POLLIN, 0});
  int ready;
  do {
    ready = ::poll(fds.data(), fds.size(), timeoutMs);
  } while (ready < 0 && errno == EINTR);
  if (ready <= 0) return false;
  bool seen = false;
  for (std::size_t k = 0; k < watches.size(); ++k) {
    unsigned s = 0;
    if (fds[k].revents & POLLIN) s |= kReadable;
    if (fds[k].revents & POLLOUT) s |= kWritable;
    if (fds[k].revents & (POLLERR | POLLHUP)) s |= kFailed;
    watches[k].seen = s;
    seen = seen || s != 0;
  }
  if (fds.back().revents & POLLIN) {
    Drain(Wake().read);
    seen = true;
  }
  return seen;
}

void LookUp(const std::string& name, std::function<void(HostEntry)> done) {
  // A lookup may take as long as the resolver's own time-outs; the program's thread never waits for it.
  std::thread([name, done = std::move(done)] {
    done(Resolve(name));
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(Wake().write, &byte, 1);
  }).detach();
}

}  // namespace platform::net::sys
