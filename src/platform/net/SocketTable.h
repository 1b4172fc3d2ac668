// The sockets layer's records: what each socket reports to, which of its notifications may be posted
// again, and the host lookups under way.
#pragma once

#include <cstdint>
#include <map>

#include "platform/net/Winsock.h"

namespace platform::net {

enum class Phase { kFresh, kListening, kConnecting, kConnected, kFailed };

struct SocketEntry {
  int fd = -1;
  Phase phase = Phase::kFresh;
  bool bound = false;
  HWND window = nullptr;
  UINT message = 0;
  long events = 0;
  // A notification is posted once, then only after the call that re-enables it.
  bool readArmed = true;
  bool acceptArmed = true;
  bool closeArmed = true;
  bool writeArmed = false;
  // A connect the system refused before it returned, reported by the next poll.
  int laterError = 0;
};

struct LookupEntry {
  HWND window = nullptr;
  UINT message = 0;
  char* buffer = nullptr;
  int length = 0;
};

struct SocketTable {
  int startups = 0;
  std::map<SOCKET, SocketEntry> sockets;
  // Socket and lookup handles are never reused within a run, so that a notification still queued for a
  // closed socket can never reach the one opened after it.
  SOCKET nextSocket = 0x100;
  std::map<std::uintptr_t, LookupEntry> lookups;
  std::uintptr_t nextLookup = 1;
};

SocketTable& Table();
SOCKET AddSocket(int fd, Phase phase);
// The message loop polls the sockets from the first start-up to the last clean-up.
void StartWatching();
// Closes every socket and forgets every lookup.
void StopWatching();

}  // namespace platform::net
