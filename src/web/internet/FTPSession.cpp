#include "web/internet/FTPSession.h"

#include <algorithm>
#include <vector>

#include "core/File.h"
#include "core/FileReference.h"
#include "core/Progress.h"
#include "core/Text1252.h"
#include "core/Utilities.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "ui/shell/DebugMessage.h"
#include "web/internet/InternetSession.h"

SMART_DEFINE_ABSTRACT(FTPSession, "FTPSession", SmartImplementation)

bool FTPSession::serverReached = false;

namespace {

constexpr std::uint16_t kControlPort = 21;
constexpr std::uint32_t kChunk = 4096;

const String& TransferCommand(int mode) {
  static const String store("STOR");
  static const String append("APPE");
  if (mode < 0 || mode > 3) AssertFailed("mode >= 0 && mode <= 3", THIS_PLACE);
  return mode == FTPSession::kAppend ? append : store;
}

String RemoteName(const String& name, int mode) {
  String remote(name);
  if (mode == FTPSession::kNumbered) remote.Append(String(Random(1000, 9999)));
  return remote;
}

// Waits until the stream is ready (connected, accepted, or done sending), within the stream's time limit.
void AwaitReady(TCPStream& stream, Progress& range) {
  while (!stream.IsReady()) TCPStream::WaitTurn(range);
}

[[noreturn]] void RaiseTransferError(const std::string& text = "Erreur de transfert de fichier.") {
  ThrowException(new TCPStreamException(text.c_str()));
}

}  // namespace

FTPSession::FTPSession(InternetSession* session, const String& account, const String& password) {
  Progress range(10, "Établissement d'une session ftp"_cp);
  range.Step(3);
  Progress::Enable(true);
  control = new TCPStream(session->GetHostName(), TCPStream::kClient, kControlPort);
  control->ExpectReply(range, 2, 0);
  range.Step(3);
  serverReached = true;
  control->SendCommand(String("USER"), account, String());
  control->ExpectReply(range, 3, 0);
  range.Step(2);
  {
    DebugMessageMute mute;
    control->SendCommand(String("PASS"), password, String());
  }
  control->ExpectReply(range, 2, 0);
  range.Step(2);
}

FTPSession::~FTPSession() {
  try {
    if (control) control->SendCommand(String("QUIT"), String(), String());
  } catch (...) {
    // The session is over whatever the server hears of it.
  }
}

void FTPSession::SetDirectory(const String& directory, bool create) {
  Progress range(1, "Définition du répertoire"_cp);
  range.Step(1);
  // An empty name would send a bare "CWD", which servers read in ways of their own: nothing to enter.
  if (directory.Length() == 0) return;
  std::string refusal;
  if (create) {
    control->SendCommand(String("MKD"), directory, String());
    control->ExpectReply(range, 2, 55);
    if (!ReplyPasses(control->LastReply(), 2, 0)) refusal = control->LastReply();
  }
  control->SendCommand(String("CWD"), directory, String());
  try {
    control->ExpectReply(range, 2, 0);
  } catch (Exception* failure) {
    // A 55x to MKD passes as "there already"; when the folder then cannot be entered, the MKD reply (no
    // permission, no room) is what says why.
    if (refusal.empty() || dynamic_cast<TCPStreamException*>(failure) == nullptr) throw;
    RaiseTransferError(refusal);
  }
}

void FTPSession::ParentDirectory() {
  Progress range(1, "Définition du répertoire"_cp);
  range.Step(1);
  control->SendCommand(String("CDUP"), String(), String());
  control->ExpectReply(range, 2, 0);
}

String FTPSession::FormatPortArgument(TCPStream& controlStream, TCPStream& data) {
  const std::uint32_t address = controlStream.GetLocalAddress();
  const std::uint16_t port = data.GetLocalPort();
  const int parts[6] = {static_cast<int>(address >> 24),       static_cast<int>((address >> 16) & 0xFF),
                        static_cast<int>((address >> 8) & 0xFF), static_cast<int>(address & 0xFF),
                        static_cast<int>(port >> 8),            static_cast<int>(port & 0xFF)};
  String argument;
  for (int k = 0; k < 6; ++k) {
    if (k > 0) argument.Append(",");
    argument.Append(String(parts[k]));
  }
  return argument;
}

void FTPSession::SendFile(FileReference* file, const String& remoteName, bool image, int mode) {
  Progress range(1, "Envoi du fichier");
  range.Step(1);
  SmartRef<File> local = new File(file, kFileModeRead);
  if (!local->IsOpen()) ThrowWin32Error(GetLastError() ? GetLastError() : ERROR_FILE_NOT_FOUND, __FILE__, __LINE__);
  Put(*local, remoteName, image, mode);
}

void FTPSession::Put(Stream& local, const String& remoteName, bool image, int mode) {
  Progress range(3, "Suppression des anciens fichiers");
  range.Step(2);
  const String& command = TransferCommand(mode);
  Transfer(command, local, RemoteName(remoteName, mode), image);
  range.Step(1);
}

void FTPSession::Get(Stream& local, const String& remoteName, bool image) {
  Transfer(String("RETR"), local, remoteName, image);
}

void FTPSession::Transfer(const String& command, Stream& local, const String& remoteName, bool image) {
  const bool download = command == String("RETR");
  const std::uint32_t length = download ? 0 : local.GetLength() - std::min(local.GetLength(), local.GetPosition());
  Progress range(5 + (length + kChunk - 1) / kChunk, "Initialisation du transfert");
  range.Step(1);
  SmartRef<TCPStream> data = new TCPStream(String(), TCPStream::kListen, 0);
  // Only the server may connect to the data port; whoever else finds it is turned away.
  data->AcceptOnlyFrom(control->GetRemoteAddress());
  range.Step(1);
  control->SendCommand(String("TYPE"), String(image ? "I" : "A"), String());
  control->ExpectReply(range, 2, 0);
  control->SendCommand(String("PORT"), FormatPortArgument(*control, *data), String());
  control->ExpectReply(range, 2, 0);
  range.Step(1);
  control->SendCommand(command, remoteName, String());
  control->ExpectReply(range, 1, 0);
  range.Step(1);
  // The server connects once it has answered; until then there is nowhere to send, nor anything to read.
  AwaitReady(*data, range);
  if (download) {
    // Ends once the server has said the transfer is complete and closed the data connection, every byte
    // of it read: so an empty file ends too, and no byte still on its way is lost.
    bool endSeen = false;
    DWORD moved = GetTickCount();
    while (!endSeen || data->IsOpen()) {
      TCPStream::WaitTurn(range);
      if (data->HasData()) {
        Memory& held = data->GetBuffer();
        local.Write(held.GetData(), held.GetSize());
        data->ClearBuffer();
        moved = GetTickCount();
      }
      if (!endSeen && control->HasData()) {
        control->ExpectReply(range, 2, 0);
        endSeen = true;
        moved = GetTickCount();
      }
      if (static_cast<LONG>(GetTickCount() - moved) > static_cast<LONG>(TCPStream::GetTimeLimit())) RaiseTransferError();
    }
    return;
  }
  std::vector<char> chunk(kChunk);
  bool answered = false;
  while (!local.AtEnd()) {
    range.Step(1);
    const std::uint32_t n = std::min(kChunk, local.GetLength() - local.GetPosition());
    local.Read(chunk.data(), n);
    data->Write(chunk.data(), n);
    AwaitReady(*data, range);
    // The server cannot have the whole file yet: a reply now is its refusal (a 421 as it shuts down),
    // raised with its own text instead of sending on into a closed connection.
    if (control->HasData()) {
      control->ExpectReply(range, 2, 0);
      answered = true;
      break;
    }
  }
  range.Step(1);
  data = nullptr;  // closing the connection tells the server the file is complete
  if (!answered) control->ExpectReply(range, 2, 0);
}
