#include "web/internet/TCPStream.h"

#include <algorithm>
#include <cstring>

#include "core/Alert.h"
#include "core/Text1252.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "ui/shell/DebugMessage.h"
#include "ui/shell/WinMain.h"

SMART_DEFINE_ABSTRACT(TCPStream, "TCPStream", Stream, SmartImplementation)

std::vector<TCPStream*> TCPStream::streamList;

namespace {

DWORD gTimeLimit = 60000;

const char* ConnectFailure() { return "Échec : de connexion vers le serveur à distance"_cp; }
const char* LookupFailure() { return "Échec : de recherche du serveur à distance"_cp; }
const char* TransferFailure() { return "Erreur de transfert de fichier."; }
const char* HandleFailure() { return "Erreur de transfert de fichier. handle fail"; }

bool Overdue(DWORD since, DWORD now) { return static_cast<LONG>(now - since) > static_cast<LONG>(gTimeLimit); }

}  // namespace

void TCPStream::SetTimeLimit(DWORD milliseconds) { gTimeLimit = milliseconds; }
DWORD TCPStream::GetTimeLimit() { return gTimeLimit; }

TCPStream::TCPStream(const String& host, std::int32_t mode, std::uint16_t port)
    : connectData(std::make_unique<TCPConnectData>()), mode(mode), statusLog(DebugMessage::Open()) {
  if (mode != kClient && mode != kListen) AssertFailed("false", THIS_PLACE);
  try {
    Open(host, port);
  } catch (...) {
    // The stream is never made, so nothing else would give its socket back.
    if (connectData->lookup) WSACancelAsyncRequest(connectData->lookup->handle);
    if (connectData->socket != INVALID_SOCKET) closesocket(connectData->socket);
    throw;
  }
  CheckSocket(__LINE__);
}

TCPStream::TCPStream(std::uint32_t address, std::int32_t mode, std::uint16_t port)
    : TCPStream(AddressToText(address), mode, port) {}

TCPStream::~TCPStream() {
  TCPConnectData& data = *connectData;
  if (data.state == TCPConnectData::kResolving && data.lookup) WSACancelAsyncRequest(data.lookup->handle);
  data.lookup.reset();
  data.unsent.reset();
  std::erase(streamList, this);
  // Closing is also how an upload tells the server the file is complete. A close that fails leaves
  // nothing the user could do, and a destructor must not raise: it is dropped.
  if (data.socket != INVALID_SOCKET) closesocket(data.socket);
  data.socket = INVALID_SOCKET;
}

void TCPStream::Open(const String& host, std::uint16_t port) {
  char hostText[256];
  host.CopyTo(hostText, sizeof hostText);
  TCPConnectData& data = *connectData;
  data.pendingError = nullptr;
  data.socket = INVALID_SOCKET;
  const SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  CheckCall(s != INVALID_SOCKET, THIS_PLACE);
  data.socket = s;
  SOCKADDR_IN local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(mode == kListen ? port : 0);
  local.sin_addr.s_addr = INADDR_ANY;
  CheckCall(bind(s, reinterpret_cast<const SOCKADDR*>(&local), sizeof local) == 0, THIS_PLACE);
  CheckCall(WSAAsyncSelect(s, gMainWindow, socketEventMessage, socketEventMask) == 0, THIS_PLACE);
  if (mode == kClient && IsDottedAddress(host)) {
    StartConnect(TextToAddress(host), port);
  } else if (mode == kClient) {
    SetState(TCPConnectData::kResolving);
    data.lookup = std::make_unique<HostLookupBlock>();
    data.lookup->port = port;
    Log("Info : recherche du serveur à distance"_cp);
    data.lookup->handle =
        WSAAsyncGetHostByName(gMainWindow, hostLookupMessage, hostText, data.lookup->buffer, hostLookupBufferSize);
    CheckNotNull(data.lookup->handle, THIS_PLACE);
  } else {
    SetLastError(0);
    CheckCall(listen(s, 1) == 0, THIS_PLACE);
    open = true;
    // Ready only once the peer has connected: before that there is nothing to send to, and an empty
    // file closed at once would refuse the server's connection instead of ending it.
    SetState(TCPConnectData::kAwaitingPeer);
  }
  streamList.push_back(this);
}

void TCPStream::StartConnect(std::uint32_t address, std::uint16_t port) {
  SetState(TCPConnectData::kConnecting);
  Log("Info : connexion vers le serveur à distance"_cp);
  SOCKADDR_IN to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = address;
  if (connect(connectData->socket, reinterpret_cast<const SOCKADDR*>(&to), sizeof to) == SOCKET_ERROR &&
      WSAGetLastError() != WSAEWOULDBLOCK) {
    Fail(ConnectFailure());
    return;
  }
  SetLastError(0);
  open = true;
}

void TCPStream::SetState(std::int32_t state) {
  connectData->state = state;
  connectData->since = GetTickCount();
}

void TCPStream::Fail(const char* text) { connectData->pendingError = new TCPStreamException(text); }

void TCPStream::Log(const char* text, const std::string& more) {
  if (!statusLog || statusLog->IsQuiet()) return;
  String line(text);
  if (!more.empty()) line.Insert(more.data(), line.Length(), static_cast<std::int32_t>(more.size()));
  statusLog->Log(line);
}

void TCPStream::CheckSocket(int line) const {
  if (!connectData) AssertFailed("connectData", __FILE__, line);
  if (connectData->socket == INVALID_SOCKET) AssertFailed("connectData->socket != INVALID_SOCKET", __FILE__, line);
}

TCPStream* TCPStream::FindBySocket(SOCKET socket) {
  for (auto it = streamList.rbegin(); it != streamList.rend(); ++it)
    if ((*it)->connectData->socket == socket) return *it;
  return nullptr;
}

TCPStream* TCPStream::FindByLookup(HANDLE handle) {
  for (auto it = streamList.rbegin(); it != streamList.rend(); ++it) {
    const TCPConnectData& data = *(*it)->connectData;
    if (data.state == TCPConnectData::kResolving && data.lookup && data.lookup->handle == handle) return *it;
  }
  return nullptr;
}

void TCPStream::HandleHostLookup(WPARAM handle, LPARAM lParam) {
  TCPStream* stream = FindByLookup(reinterpret_cast<HANDLE>(handle));
  if (!stream) return;
  TCPConnectData& data = *stream->connectData;
  if (WSAGETASYNCERROR(lParam) != 0) {
    stream->Fail(LookupFailure());
    return;
  }
  HOSTENT entry;
  std::memcpy(&entry, data.lookup->buffer, sizeof entry);
  if (entry.h_addr_list == nullptr || entry.h_addr_list[0] == nullptr) {
    stream->Fail(LookupFailure());
    return;
  }
  std::uint32_t address;
  std::memcpy(&address, entry.h_addr_list[0], sizeof address);
  const std::uint16_t port = data.lookup->port;
  data.lookup.reset();
  stream->StartConnect(address, port);
}

void TCPStream::HandleSocketEvent(WPARAM socket, LPARAM lParam) {
  TCPStream* stream = FindBySocket(static_cast<SOCKET>(socket));
  if (!stream) return;
  const int event = WSAGETSELECTEVENT(lParam);
  if (WSAGETSELECTERROR(lParam) != 0) {
    // A refused or broken connection: the owner hears of it at its next poll instead of waiting on.
    if (event == FD_CONNECT || event == FD_ACCEPT) stream->Fail(ConnectFailure());
    else stream->Fail(HandleFailure());
    if (event == FD_CLOSE) stream->PeerClosed();
    return;
  }
  switch (event) {
    case FD_READ: stream->Fill(); break;
    case FD_WRITE:
      if (stream->connectData->state != TCPConnectData::kSendPending) break;
      stream->Log("Info : envoi du reste des données"_cp);
      SetLastError(0);
      stream->SendRest();
      break;
    case FD_ACCEPT: stream->AcceptPeer(); break;
    case FD_CONNECT:
      stream->SetState(TCPConnectData::kReady);
      stream->Log("Info : connexion vers le serveur à distance établie"_cp);
      break;
    case FD_CLOSE:
      // Posted once the last byte is read: the receive that follows finds the end.
      stream->Fill();
      break;
    default: break;
  }
}

void TCPStream::AcceptPeer() {
  TCPConnectData& data = *connectData;
  SOCKADDR_IN peer{};
  int length = sizeof peer;
  const SOCKET made = accept(data.socket, reinterpret_cast<SOCKADDR*>(&peer), &length);
  if (made == INVALID_SOCKET) {
    if (WSAGetLastError() != WSAEWOULDBLOCK) Fail(ConnectFailure());
    return;
  }
  // Only the server we talk to may take the data: anyone else who found the port is turned away, and
  // the stream goes on listening.
  if (data.expectedPeer != 0 && ntohl(peer.sin_addr.s_addr) != data.expectedPeer) {
    closesocket(made);
    return;
  }
  closesocket(data.socket);
  data.socket = made;
  open = true;
  SetState(TCPConnectData::kReady);
}

void TCPStream::PeerClosed() {
  Log("Échec : Remote side closed connection"_cp);
  open = false;
}

void TCPStream::Write(const void* bytes, std::uint32_t count) {
  CheckSocket(__LINE__);
  TCPConnectData& data = *connectData;
  if (data.state == TCPConnectData::kSendPending) {
    // Still sending an earlier rest: these bytes go after it, so that nothing is lost or reordered.
    const std::uint32_t held = data.unsent->GetSize();
    if (count > 0 && bytes != data.unsent->GetData()) {
      data.unsent->SetSize(held + count);
      std::memcpy(data.unsent->GetData() + held, bytes, count);
    }
    SendRest();
    return;
  }
  const auto* p = static_cast<const char*>(bytes);
  std::uint32_t left = count;
  while (left > 0) {
    SetLastError(0);
    const int sent = send(data.socket, p, static_cast<int>(std::min<std::uint32_t>(left, 0x40000000)), 0);
    if (sent == SOCKET_ERROR) {
      if (WSAGetLastError() != WSAEWOULDBLOCK) {
        Fail(TransferFailure());
        return;
      }
      SetLastError(0);
      Log("Info : seulement une partie des données envoyées"_cp);
      data.unsent = std::make_unique<Memory>(left);
      std::memcpy(data.unsent->GetData(), p, left);
      SetState(TCPConnectData::kSendPending);
      return;
    }
    p += sent;
    left -= static_cast<std::uint32_t>(sent);
  }
}

void TCPStream::SendRest() {
  TCPConnectData& data = *connectData;
  Memory& rest = *data.unsent;
  std::uint32_t done = 0;
  while (done < rest.GetSize()) {
    SetLastError(0);
    const int sent = send(data.socket, reinterpret_cast<const char*>(rest.GetData() + done),
                          static_cast<int>(std::min<std::uint32_t>(rest.GetSize() - done, 0x40000000)), 0);
    if (sent == SOCKET_ERROR) {
      if (WSAGetLastError() != WSAEWOULDBLOCK) {
        Fail(TransferFailure());
        return;
      }
      SetLastError(0);
      if (done > 0) {
        Log("Info : seulement une partie des données envoyées"_cp);
        std::memmove(rest.GetData(), rest.GetData() + done, rest.GetSize() - done);
        rest.SetSize(rest.GetSize() - done);
        SetState(TCPConnectData::kSendPending);  // moving again: the time limit starts anew
      }
      return;
    }
    done += static_cast<std::uint32_t>(sent);
  }
  data.unsent.reset();
  SetState(TCPConnectData::kReady);
}

void TCPStream::Read(void* buffer, std::uint32_t count) {
  CheckSocket(__LINE__);
  const int got = recv(connectData->socket, static_cast<char*>(buffer), static_cast<int>(std::min<std::uint32_t>(count, 0x40000000)), 0);
  if (got == 0) Log("Échec : Remote side closed connection"_cp);
  if (got <= 0) {
    Fail("Erreur de transfert de fichier. read fail");
    return;
  }
  if (static_cast<std::uint32_t>(got) + 1 < count) {
    static_cast<char*>(buffer)[got] = 0;
    static_cast<char*>(buffer)[got + 1] = 0;
  }
}

std::uint32_t TCPStream::Seek(std::int32_t, int) { AssertFailed("false", THIS_PLACE); }
std::uint32_t TCPStream::GetPosition() { AssertFailed("false", THIS_PLACE); }

void TCPStream::SetLength(std::uint32_t length) {
  dataBuffer.SetSize(length);
  CheckSocket(__LINE__);
}

void TCPStream::Fill(const void* bytes, std::uint32_t count) {
  CheckSocket(__LINE__);
  const std::uint32_t held = dataBuffer.GetSize();
  if (bytes != nullptr) {
    dataBuffer.SetSize(held + count);
    std::memcpy(dataBuffer.GetData() + held, bytes, count);
    dataUnRead = true;
    return;
  }
  if (held > 0 && !dataUnRead) AssertFailed("dataUnRead", THIS_PLACE);
  if (held >= kReceiveLimit) {
    // A receive of no bytes would read as the peer closing: the bytes stay queued until the buffer empties.
    connectData->readDeferred = true;
    return;
  }
  dataBuffer.SetSize(kReceiveLimit);
  const int got = recv(connectData->socket, reinterpret_cast<char*>(dataBuffer.GetData() + held),
                       static_cast<int>(kReceiveLimit - held), 0);
  dataBuffer.SetSize(held + static_cast<std::uint32_t>(got > 0 ? got : 0));
  if (got > 0) {
    dataUnRead = true;
    lastArrival = GetTickCount();
  } else if (got == 0) {
    PeerClosed();
  } else if (WSAGetLastError() != WSAEWOULDBLOCK) {
    Fail(HandleFailure());
  }
}

bool TCPStream::HasData() {
  IsReady();
  return dataUnRead;
}

void TCPStream::ClearBuffer() {
  dataUnRead = false;
  dataBuffer.SetSize(0);
  if (connectData->readDeferred) {
    connectData->readDeferred = false;
    Fill();
  }
}

bool TCPStream::IsReady() {
  TCPConnectData& data = *connectData;
  if (!data.pendingError && data.state != TCPConnectData::kReady && Overdue(data.since, GetTickCount())) {
    if (data.state == TCPConnectData::kResolving) Fail(LookupFailure());
    else if (data.state == TCPConnectData::kSendPending) Fail(TransferFailure());
    else Fail(ConnectFailure());
  }
  if (data.pendingError) {
    SmartRef<Exception> error = data.pendingError;
    data.pendingError = nullptr;
    SetState(TCPConnectData::kReady);
    Exception::Raise(error);
  }
  return data.state == TCPConnectData::kReady;
}

namespace {
SOCKADDR_IN Name(SOCKET s, bool local, SourcePlace at) {
  SOCKADDR_IN a{};
  int length = sizeof a;
  CheckCall((local ? getsockname(s, reinterpret_cast<SOCKADDR*>(&a), &length)
                   : getpeername(s, reinterpret_cast<SOCKADDR*>(&a), &length)) == 0,
            at);
  return a;
}
}  // namespace

std::uint32_t TCPStream::GetLocalAddress() { return ntohl(Name(connectData->socket, true, THIS_PLACE).sin_addr.s_addr); }
std::uint16_t TCPStream::GetLocalPort() { return ntohs(Name(connectData->socket, true, THIS_PLACE).sin_port); }
std::uint16_t TCPStream::GetRemotePort() { return ntohs(Name(connectData->socket, false, THIS_PLACE).sin_port); }
std::uint32_t TCPStream::GetRemoteAddress() {
  return ntohl(Name(connectData->socket, false, THIS_PLACE).sin_addr.s_addr);
}
