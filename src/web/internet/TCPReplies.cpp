// Command lines and replies: what line-oriented protocols (FTP, SMTP) need of a stream.
#include <cctype>
#include <cstring>

#include "core/Progress.h"
#include "core/Text1252.h"
#include "platform/kernel/System.h"
#include "platform/user/Message.h"
#include "ui/shell/WinMain.h"
#include "web/internet/TCPStream.h"

namespace {

constexpr DWORD kTurnMs = 10;
constexpr std::size_t kExceptionTextLimit = 254;

bool HasLineBreakOrNul(const std::string& text) { return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos; }

[[noreturn]] void RaiseStreamError(const std::string& text) {
  ThrowException(new TCPStreamException(text.substr(0, kExceptionTextLimit).c_str()));
}

// Hands the socket notifications that arrived to their streams; answers whether there were any.
bool DeliverSocketMessages() {
  bool any = false;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, socketEventMessage, hostLookupMessage, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop's, not ours
      break;
    }
    DispatchMessageA(&msg);
    any = true;
  }
  return any;
}

}  // namespace

bool ReplyPasses(const std::string& text, int classDigit, int alternative) {
  int n = -1;
  if (text.size() >= 2 && std::isdigit(static_cast<unsigned char>(text[0])) &&
      std::isdigit(static_cast<unsigned char>(text[1])))
    n = (text[0] - '0') * 10 + (text[1] - '0');
  if (n < 0) return false;
  // 0 is "no alternative": a reply beginning "00" must not pass every check.
  return n / 10 == classDigit || (alternative != 0 && n == alternative);
}

String AddressToText(std::uint32_t address) { return String(inet_ntoa(IN_ADDR{address})); }

std::uint32_t TextToAddress(const String& text) {
  char head[30];
  text.CopyTo(head, sizeof head);
  return inet_addr(head);
}

bool TCPStream::IsDottedAddress(const String& text) { return TextToAddress(text) != INADDR_NONE; }

void TCPStream::WaitTurn(Progress& range) {
  range.Step(0);
  if (DeliverSocketMessages()) return;
  MsgWaitForMultipleObjects(0, nullptr, FALSE, kTurnMs, QS_POSTMESSAGE | QS_INPUT);
  DeliverSocketMessages();
}

void TCPStream::SendCommand(const String& command, const String& first, const String& second) {
  std::string line = TextOf(command);
  const std::string a = TextOf(first);
  const std::string b = TextOf(second);
  // A line break inside a name would end the command early and let the rest be read as a command of its
  // own: such a name is refused before anything is sent.
  if (HasLineBreakOrNul(line) || HasLineBreakOrNul(a) || HasLineBreakOrNul(b)) RaiseStreamError("Erreur de transfert de fichier.");
  if (!a.empty()) line += " " + a;
  if (!b.empty()) line += " " + b;
  line += "\r\n";
  Log("Envoi des données", line);
  Write(line.data(), static_cast<std::uint32_t>(line.size()));
  CheckSocket(__LINE__);
}

std::string TCPStream::HeldText() const {
  return std::string(reinterpret_cast<const char*>(dataBuffer.GetData()), dataBuffer.GetSize());
}

bool TCPStream::CheckReply(int classDigit, int alternative) {
  const std::string text = HeldText();
  Log("Réponse : "_cp, text);
  return ReplyPasses(text, classDigit, alternative);
}

std::size_t TCPStream::CompleteReplyLength() const {
  const std::string text = HeldText();
  const std::size_t firstEnd = text.find("\r\n");
  if (firstEnd == std::string::npos) return 0;
  const bool multiLine = text.size() >= 4 && std::isdigit(static_cast<unsigned char>(text[0])) &&
                         std::isdigit(static_cast<unsigned char>(text[1])) &&
                         std::isdigit(static_cast<unsigned char>(text[2])) && text[3] == '-';
  if (!multiLine) return firstEnd + 2;
  // "220-..." goes on until a line with the same code and a space (or nothing) after it.
  for (std::size_t start = firstEnd + 2;;) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) return 0;
    if (end - start >= 3 && text.compare(start, 3, text, 0, 3) == 0 && (end - start == 3 || text[start + 3] == ' '))
      return end + 2;
    start = end + 2;
  }
}

void TCPStream::ExpectReply(Progress& range, int classDigit, int alternative) {
  const DWORD start = GetTickCount();
  auto checkTime = [&] {
    const DWORD now = GetTickCount();
    const DWORD from = static_cast<LONG>(lastArrival - start) > 0 ? lastArrival : start;
    if (static_cast<LONG>(now - from) > static_cast<LONG>(GetTimeLimit())) RaiseStreamError("Erreur de transfert de fichier.");
  };
  std::size_t length;
  for (;;) {
    while (!HasData()) {
      if (!IsOpen()) RaiseStreamError("Erreur de transfert de fichier.");
      checkTime();
      WaitTurn(range);
    }
    length = CompleteReplyLength();
    if (length > 0) break;
    Log("WAITING FOR CRLF - ", HeldText());
    // A line longer than the whole buffer, or a peer that closed in the middle of one, never completes.
    if (dataBuffer.GetSize() >= kReceiveLimit || !IsOpen()) RaiseStreamError("Erreur de transfert de fichier.");
    checkTime();
    WaitTurn(range);
  }
  const std::string held = HeldText();
  const std::string reply = held.substr(0, length);
  // What came after the reply is the start of the next one: kept, never judged as this one.
  const std::size_t rest = held.size() - length;
  std::memmove(dataBuffer.GetData(), dataBuffer.GetData() + length, rest);
  if (rest == 0) ClearBuffer();
  else dataBuffer.SetSize(static_cast<std::uint32_t>(rest));
  Log("Réponse : "_cp, reply);
  lastReply = reply;
  if (!ReplyPasses(reply, classDigit, alternative)) RaiseStreamError(reply);
}

void TCPStream::GetText(String& text) {
  if (dataBuffer.GetSize() == 0) AssertFailed("dataBuffer.GetSize() > 0", THIS_PLACE);
  text.Insert(reinterpret_cast<const char*>(dataBuffer.GetData()), 0, static_cast<std::int32_t>(dataBuffer.GetSize()));
}
