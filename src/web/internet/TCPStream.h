// One TCP connection as a stream, for a program with one thread that never blocks: the socket reports
// through messages to the main window, which hands them to the two static handlers here; the owner polls
// (IsReady, HasData) and lets messages through between polls (WaitTurn). On top of the bytes, what
// line-oriented protocols need: command lines, and replies awaited and judged by their code.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/Memory.h"
#include "core/Stream.h"
#include "core/String.h"
#include "platform/net/Winsock.h"

class DebugMessage;
class Progress;

// A failure of a connection or a reply that did not pass, with its text; it answers kind tests as the
// message exception it is.
class TCPStreamException : public MessageException {
 public:
  explicit TCPStreamException(const char* text) : MessageException(text) {}
  Smart* Clone() const override { return new TCPStreamException(*this); }
};

inline constexpr UINT socketEventMask = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;
inline constexpr int hostLookupBufferSize = 1024;

// The buffer of one host-name lookup, then its handle, then the port to connect to once the address is known.
struct HostLookupBlock {
  alignas(HOSTENT) char buffer[hostLookupBufferSize];
  HANDLE handle = nullptr;
  std::uint16_t port = 0;
};

struct TCPConnectData {
  enum : std::int32_t { kReady = 0, kResolving = 1, kConnecting = 2, kSendPending = 3, kAwaitingPeer = 4 };
  SOCKET socket = INVALID_SOCKET;
  std::int32_t state = kReady;
  std::unique_ptr<HostLookupBlock> lookup;  // while resolving
  std::unique_ptr<Memory> unsent;            // while a send is pending
  SmartRef<Exception> pendingError;
  // When the state last changed or the connection last moved: the time limit counts from here.
  DWORD since = 0;
  // A listening stream takes only a connection from this address (host order; 0: from anyone).
  std::uint32_t expectedPeer = 0;
  // A read notification found the receive buffer full: the bytes wait in the socket until it is emptied.
  bool readDeferred = false;
};

class TCPStream : public Stream, public SmartImplementation {
  SMART_ABSTRACT(TCPStream)
 public:
  enum : std::int32_t { kClient = 0, kListen = 1 };
  // The receive buffer never holds more than this from the network.
  static constexpr std::uint32_t kReceiveLimit = 16384;

  TCPStream(const String& host, std::int32_t mode, std::uint16_t port);
  TCPStream(std::uint32_t address, std::int32_t mode, std::uint16_t port);
  ~TCPStream() override;
  TCPStream(const TCPStream&) = delete;
  TCPStream& operator=(const TCPStream&) = delete;
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

  void Write(const void* bytes, std::uint32_t count) override;
  void Read(void* buffer, std::uint32_t count) override;
  bool IsWritable() override { return true; }
  std::uint32_t Seek(std::int32_t offset, int mode) override;
  std::uint32_t GetPosition() override;
  std::uint32_t GetLength() override { return dataBuffer.GetSize(); }
  void SetLength(std::uint32_t length) override;
  virtual std::uint32_t GetLocalAddress();
  virtual std::uint16_t GetLocalPort();
  virtual std::uint16_t GetRemotePort();
  virtual std::uint32_t GetRemoteAddress();
  // No bytes: receives from the socket; bytes: appends them.
  virtual void Fill(const void* bytes = nullptr, std::uint32_t count = 0);
  virtual bool HasData();
  virtual Memory& GetBuffer() { return dataBuffer; }
  virtual void ClearBuffer();
  virtual bool IsReady();
  virtual bool IsOpen() { return open; }
  virtual void SetOpen(bool flag) { open = flag; }
  virtual void SendCommand(const String& command, const String& first, const String& second);
  // Judges the held bytes: their first two characters as a number n pass when n / 10 is the class digit
  // or n is the alternative code.
  virtual bool CheckReply(int classDigit, int alternative);
  // Waits for one complete reply and judges it; one that does not pass is raised with its text.
  virtual void ExpectReply(Progress& range, int classDigit, int alternative);
  virtual void GetText(String& text);
  virtual TCPConnectData* GetConnectData() { return connectData.get(); }

  // The text of the reply ExpectReply judged last.
  const std::string& LastReply() const { return lastReply; }
  // A listening stream refuses connections from any other address (host order).
  void AcceptOnlyFrom(std::uint32_t address) { connectData->expectedPeer = address; }

  static void HandleSocketEvent(WPARAM socket, LPARAM lParam);
  static void HandleHostLookup(WPARAM handle, LPARAM lParam);
  static TCPStream* FindBySocket(SOCKET socket);
  static TCPStream* FindByLookup(HANDLE handle);
  static bool IsDottedAddress(const String& text);

  // One turn of a wait on the network: steps the range by 0 (which shows progress and raises the cancel
  // exception after Stop), then delivers the socket notifications that arrived, waiting a little for one.
  static void WaitTurn(Progress& range);
  // How long a connection, a lookup, a reply or a send may make the program wait without any progress.
  static void SetTimeLimit(DWORD milliseconds);
  static DWORD GetTimeLimit();

  static std::vector<TCPStream*> streamList;

 private:
  void Open(const String& host, std::uint16_t port);
  void StartConnect(std::uint32_t address, std::uint16_t port);
  void SetState(std::int32_t state);
  void Fail(const char* text);
  void Log(const char* text, const std::string& more = {});
  void SendRest();
  void AcceptPeer();
  void PeerClosed();
  void CheckSocket(int line) const;
  // The length of the first complete reply among the held bytes, or 0.
  std::size_t CompleteReplyLength() const;
  std::string HeldText() const;

  std::unique_ptr<TCPConnectData> connectData;
  std::int32_t mode;
  bool dataUnRead = false;
  Memory dataBuffer;
  bool open = false;
  SmartRef<DebugMessage> statusLog;
  DWORD lastArrival = 0;
  std::string lastReply;
};

// The dotted text of an address as the sockets store it (its bytes in memory order are the parts).
String AddressToText(std::uint32_t address);
// The address, as the sockets store it, of the dotted text's first 29 characters, or INADDR_NONE.
std::uint32_t TextToAddress(const String& text);
// Whether a reply text passes for the class digit or the alternative code.
bool ReplyPasses(const std::string& text, int classDigit, int alternative);
