// The system's own sockets, behind plain types: the one place that speaks POSIX for the sockets layer.
// Addresses and ports are in network byte order; failures answer the sockets' error numbers (WSAE...).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::net::sys {

struct Endpoint {
  std::uint32_t address = 0;
  std::uint16_t port = 0;
};

// A non-blocking TCP socket over IPv4, or -1 with the error.
int OpenStream(int* error);
int Close(int fd);
int Bind(int fd, Endpoint at);
int Listen(int fd, int backlog);
// 0 when connected at once, WSAEWOULDBLOCK while under way, else the error.
int Connect(int fd, Endpoint to);
// The new (non-blocking) socket, or -1 with the error.
int Accept(int fd, Endpoint* peer, int* error);
// Bytes taken or given, or -1 with the error; never raises a signal.
long Send(int fd, const void* bytes, std::size_t count, int* error);
long Receive(int fd, void* bytes, std::size_t count, int* error);
int LocalName(int fd, Endpoint* at);
int PeerName(int fd, Endpoint* at);
// The error a finished connect left (0 when it succeeded).
int TakeSocketError(int fd);
// What a receive would find now, without taking it: 1 data, 0 the peer closed, else minus the error.
int PeekState(int fd);

constexpr unsigned kReadable = 1, kWritable = 2, kFailed = 4;
struct Watch {
  int fd;
  unsigned wanted;  // kReadable and kWritable
  unsigned seen;    // filled in
};
// Waits at most timeoutMs for one of the watches (or the lookups' wake-up); answers whether any was seen.
bool Wait(std::vector<Watch>& watches, int timeoutMs);

// The result of one host lookup.
struct HostEntry {
  int error = 0;  // WSAHOST_NOT_FOUND, WSATRY_AGAIN, WSANO_RECOVERY, WSANO_DATA, or 0
  std::string name;
  std::vector<std::string> aliases;
  std::vector<std::uint32_t> addresses;
};
// Looks the name up on a thread of its own; done runs on that thread with the result, and the next Wait
// wakes up.
void LookUp(const std::string& name, std::function<void(HostEntry)> done);

}  // namespace platform::net::sys
