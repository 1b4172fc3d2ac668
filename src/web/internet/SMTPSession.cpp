#include "web/internet/SMTPSession.h"

#include <string>

#include "core/Progress.h"
#include "core/Text1252.h"
#include "web/internet/TCPStream.h"

SMART_DEFINE_ABSTRACT(SMTPSession, "SMTPSession", SmartImplementation)

namespace {

constexpr std::uint16_t kMailPort = 25;
const char kMessageEnd[] = "\r\n.\r\n";

String Bracketed(const char* head, const String& address) {
  String argument(head);
  argument.Append(address);
  argument.Append(">");
  return argument;
}

}  // namespace

SMTPSession::SMTPSession(const String& hostName) {
  Progress range(6, "Établissement d'une session smtp"_cp);
  range.Step(1);
  connection = FindServer(range, hostName);
  connection->ExpectReply(range, 2, 0);
  range.Step(1);
  connection->SendCommand(String("HELO"), AddressToText(htonl(connection->GetLocalAddress())), String());
  connection->ExpectReply(range, 2, 0);
}

SMTPSession::~SMTPSession() {
  try {
    if (connection) connection->SendCommand(String("QUIT"), String(), String());
  } catch (...) {
    // A destructor must not raise; the server ends the session on its own when the connection goes.
  }
}

SmartRef<TCPStream> SMTPSession::FindServer(Progress& range, const String& hostName) {
  // No relay of a provider's is built in: the search ends with the names every network may know.
  const String candidates[] = {hostName, String("smtp"), String("MAIL")};
  SmartRef<TCPStream> found;
  for (const String& candidate : candidates) {
    if (!found && candidate.Length() > 0) found = Connect(range, candidate);
    range.Step(1);
  }
  range.Step(1);  // the turn of the built-in server there is not
  if (!found) ThrowError("Aucun serveur de messagerie trouvé"_cp, THIS_PLACE);
  return found;
}

SmartRef<TCPStream> SMTPSession::Connect(Progress& range, const String& hostName) {
  SmartRef<TCPStream> stream = new TCPStream(hostName, TCPStream::kClient, kMailPort);
  for (;;) {
    // Only what the stream raises means "not this one": the user's Stop goes on up.
    try {
      if (stream->IsReady()) return stream;
    } catch (Exception*) {
      return nullptr;
    }
    TCPStream::WaitTurn(range);
  }
}

std::string SMTPSession::EncodeMessage(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32 + 2);
  bool lineStart = true;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ++k;
      lineStart = true;
      continue;
    }
    if (lineStart && c == '.') out += '.';
    out += c;
    lineStart = false;
  }
  return out;
}

void SMTPSession::SendMessage(Stream& message, const String& sender, const String& recipient) {
  Progress range(2, "Envoi du message électronique"_cp);
  range.Step(1);
  connection->SendCommand(String("MAIL"), Bracketed("FROM:<", sender), String());
  connection->ExpectReply(range, 2, 0);
  connection->SendCommand(String("RCPT"), Bracketed("TO:<", recipient), String());
  connection->ExpectReply(range, 2, 0);
  range.Step(1);
  connection->SendCommand(String("DATA"), String(), String());
  connection->ExpectReply(range, 3, 0);
  std::string text(message.GetLength(), '\0');
  message.Seek(0, kSeekFromStart);
  if (!text.empty()) message.Read(text.data(), static_cast<std::uint32_t>(text.size()));
  const std::string body = EncodeMessage(text) + kMessageEnd;
  // Sent a piece at a time as the connection takes it, so that a long message never blocks.
  connection->Write(body.data(), static_cast<std::uint32_t>(body.size()));
  while (!connection->IsReady()) TCPStream::WaitTurn(range);
  connection->ExpectReply(range, 2, 0);
}
