// The notifications: while the message loop waits it polls the sockets here, and what happened to them,
// and the host lookups that ended, become messages posted to the windows that asked for them.
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/net/SocketTable.h"
#include "platform/net/SystemSockets.h"
#include "platform/user/Message.h"

namespace platform::net {

namespace {

// Lookups end on threads of their own; their results wait here for the program's thread.
struct Finished {
  std::mutex lock;
  std::vector<std::pair<std::uintptr_t, sys::HostEntry>> results;
};

std::shared_ptr<Finished>& FinishedLookups() {
  static auto* finished = new std::shared_ptr<Finished>(std::make_shared<Finished>());
  return *finished;
}

bool Post(const SocketEntry& e, SOCKET s, long event, int error) {
  if (!(e.events & event) || e.window == nullptr) return false;
  return PostMessageA(e.window, e.message, static_cast<WPARAM>(s),
                      WSAMAKESELECTREPLY(static_cast<WORD>(event), static_cast<WORD>(error))) != FALSE;
}

std::size_t AlignUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }

// Lays the host entry out in the caller's buffer as the system does: the record, the two pointer lists,
// the addresses, then the texts; answers the length it takes (or would take).
int PackHostEntry(const sys::HostEntry& h, char* buffer, int length) {
  const std::size_t base = AlignUp(reinterpret_cast<std::uintptr_t>(buffer), alignof(HOSTENT)) -
                           reinterpret_cast<std::uintptr_t>(buffer);
  const std::size_t aliasList = base + sizeof(HOSTENT);
  const std::size_t addressList = aliasList + (h.aliases.size() + 1) * sizeof(char*);
  const std::size_t addresses = addressList + (h.addresses.size() + 1) * sizeof(char*);
  std::size_t texts = addresses + h.addresses.size() * 4;
  std::size_t end = texts + h.name.size() + 1;
  for (const std::string& alias : h.aliases) end += alias.size() + 1;
  if (end > static_cast<std::size_t>(length) || end > 0xFFFF) return static_cast<int>(end > 0xFFFF ? 0xFFFF : end);

  auto* entry = reinterpret_cast<HOSTENT*>(buffer + base);
  auto** aliasPointers = reinterpret_cast<char**>(buffer + aliasList);
  auto** addressPointers = reinterpret_cast<char**>(buffer + addressList);
  entry->h_addrtype = AF_INET;
  entry->h_length = 4;
  entry->h_aliases = aliasPointers;
  entry->h_addr_list = addressPointers;
  for (std::size_t k = 0; k < h.addresses.size(); ++k) {
    char* at = buffer + addresses + k * 4;
    std::memcpy(at, &h.addresses[k], 4);
    addressPointers[k] = at;
  }
  addressPointers[h.addresses.size()] = nullptr;
  entry->h_name = buffer + texts;
  std::memcpy(buffer + texts, h.name.c_str(), h.name.size() + 1);
  texts += h.name.size() + 1;
  for (std::size_t k = 0; k < h.aliases.size(); ++k) {
    aliasPointers[k] = buffer + texts;
    std::memcpy(buffer + texts, h.aliases[k].c_str(), h.aliases[k].size() + 1);
    texts += h.aliases[k].size() + 1;
  }
  aliasPointers[h.aliases.size()] = nullptr;
  return static_cast<int>(end);
}

bool DeliverLookups() {
  std::vector<std::pair<std::uintptr_t, sys::HostEntry>> done;
  {
    Finished& finished = *FinishedLookups();
    std::lock_guard<std::mutex> hold(finished.lock);
    done.swap(finished.results);
  }
  bool posted = false;
  SocketTable& table = Table();
  for (auto& [handle, host] : done) {
    auto it = table.lookups.find(handle);
    if (it == table.lookups.end()) continue;  // cancelled meanwhile
    const LookupEntry lookup = it->second;
    table.lookups.erase(it);
    int error = host.error;
    int length = 0;
    if (error == 0) {
      length = PackHostEntry(host, lookup.buffer, lookup.length);
      if (length > lookup.length) error = WSAENOBUFS;
    }
    posted |= PostMessageA(lookup.window, lookup.message, handle,
                           MAKELONG(static_cast<WORD>(length), static_cast<WORD>(error))) != FALSE;
  }
  return posted;
}

unsigned Wanted(const SocketEntry& e) {
  switch (e.phase) {
    case Phase::kListening: return e.acceptArmed && (e.events & FD_ACCEPT) ? sys::kReadable : 0u;
    case Phase::kConnecting: return sys::kWritable;
    case Phase::kConnected: {
      unsigned wanted = 0;
      // Readable is looked at only while a notification may follow, or the loop would never sleep.
      if (e.readArmed && (e.closeArmed || (e.events & FD_READ))) wanted |= sys::kReadable;
      if (e.writeArmed && (e.events & FD_WRITE)) wanted |= sys::kWritable;
      return e.window ? wanted : 0;
    }
    default: return 0;
  }
}

bool Notice(SOCKET s, SocketEntry& e, unsigned seen) {
  bool posted = false;
  switch (e.phase) {
    case Phase::kListening:
      if (seen & (sys::kReadable | sys::kFailed)) {
        e.acceptArmed = false;
        posted = Post(e, s, FD_ACCEPT, 0);
      }
      break;
    case Phase::kConnecting: {
      const int error = e.laterError ? e.laterError : sys::TakeSocketError(e.fd);
      e.laterError = 0;
      if (error == 0) {
        e.phase = Phase::kConnected;
        e.writeArmed = true;
      } else {
        e.phase = Phase::kFailed;
      }
      posted = Post(e, s, FD_CONNECT, error);
      break;
    }
    case Phase::kConnected:
      if ((seen & (sys::kReadable | sys::kFailed)) && e.readArmed) {
        const int state = sys::PeekState(e.fd);
        if (state > 0) {
          e.readArmed = false;
          posted = Post(e, s, FD_READ, 0);
        } else if (state != -WSAEWOULDBLOCK && e.closeArmed) {
          // The peer closed (0) or the connection broke: reported once, after the last byte was read.
          e.closeArmed = false;
          e.readArmed = false;
          posted = Post(e, s, FD_CLOSE, state == 0 ? 0 : -state);
        }
      }
      if ((seen & sys::kWritable) && e.writeArmed) {
        e.writeArmed = false;
        posted = Post(e, s, FD_WRITE, 0) || posted;
      }
      break;
    default: break;
  }
  return posted;
}

SocketWait Poll(DWORD timeoutMs) {
  SocketTable& table = Table();
  bool posted = DeliverLookups();
  std::vector<sys::Watch> watches;
  std::vector<SOCKET> owners;
  bool now = false;
  for (auto& [s, e] : table.sockets) {
    const unsigned wanted = Wanted(e);
    if (wanted == 0) continue;
    if (e.laterError) now = true;
    watches.push_back(sys::Watch{e.fd, wanted, 0});
    owners.push_back(s);
  }
  if (watches.empty() && table.lookups.empty()) return posted ? SocketWait::kPosted : SocketWait::kNothingWatched;
  const int timeout = posted || now ? 0 : static_cast<int>(timeoutMs > 0x7FFFFFFF ? 0x7FFFFFFF : timeoutMs);
  const bool seen = sys::Wait(watches, timeout);
  for (std::size_t k = 0; k < watches.size(); ++k) {
    auto it = table.sockets.find(owners[k]);
    if (it == table.sockets.end()) continue;
    if (watches[k].seen != 0 || it->second.laterError) posted = Notice(owners[k], it->second, watches[k].seen) || posted;
  }
  if (seen) posted = DeliverLookups() || posted;
  return posted ? SocketWait::kPosted : SocketWait::kNothingArrived;
}

void CloseAll() {
  SocketTable& table = Table();
  for (auto& [s, e] : table.sockets) sys::Close(e.fd);
  table.sockets.clear();
  table.lookups.clear();
}

}  // namespace

SocketTable& Table() {
  static SocketTable table;
  return table;
}

SOCKET AddSocket(int fd, Phase phase) {
  SocketTable& table = Table();
  const SOCKET s = table.nextSocket;
  table.nextSocket += 4;
  SocketEntry entry;
  entry.fd = fd;
  entry.phase = phase;
  table.sockets.emplace(s, entry);
  return s;
}

void StartWatching() { SetSocketWaitSource(&Poll); }

void StopWatching() {
  CloseAll();
  SetSocketWaitSource({});
}

void ResetSocketsForTesting() {
  StopWatching();
  Table().startups = 0;
  std::lock_guard<std::mutex> hold(FinishedLookups()->lock);
  FinishedLookups()->results.clear();
}

int OpenSocketCount() { return static_cast<int>(Table().sockets.size()); }

}  // namespace platform::net

using namespace platform::net;

HANDLE WSAAsyncGetHostByName(HWND window, UINT message, const char* name, char* buffer, int bufferLength) {
  SocketTable& table = Table();
  if (table.startups == 0) {
    SetLastError(WSANOTINITIALISED);
    return nullptr;
  }
  if (name == nullptr || buffer == nullptr || bufferLength <= 0 || window == nullptr) {
    SetLastError(WSAEFAULT);
    return nullptr;
  }
  const std::uintptr_t handle = table.nextLookup++;
  table.lookups[handle] = LookupEntry{window, message, buffer, bufferLength};
  std::weak_ptr<Finished> finished = FinishedLookups();
  sys::LookUp(name, [handle, finished](sys::HostEntry host) {
    if (auto keep = finished.lock()) {
      std::lock_guard<std::mutex> hold(keep->lock);
      keep->results.emplace_back(handle, std::move(host));
    }
  });
  return reinterpret_cast<HANDLE>(handle);
}

int WSACancelAsyncRequest(HANDLE asyncTask) {
  SocketTable& table = Table();
  if (table.startups == 0) {
    SetLastError(WSANOTINITIALISED);
    return SOCKET_ERROR;
  }
  const auto handle = reinterpret_cast<std::uintptr_t>(asyncTask);
  if (table.lookups.erase(handle) == 1) return 0;
  SetLastError(handle != 0 && handle < table.nextLookup ? WSAEALREADY : WSAEINVAL);
  return SOCKET_ERROR;
}
