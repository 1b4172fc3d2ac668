// The SMTP client: finds a mail server that answers, greets it, and sends one message from a sender to one
// recipient.
#pragma once

#include "core/String.h"
#include "web/internet/TCPStream.h"

class Progress;

class SMTPSession : public SmartImplementation {
  SMART_ABSTRACT(SMTPSession)
 public:
  // Finds a server (the host name first, when there is one), awaits its greeting and introduces the client.
  explicit SMTPSession(const String& hostName);
  // Says goodbye without waiting for an answer; never raises.
  ~SMTPSession() override;
  SMTPSession(const SMTPSession&) = delete;
  SMTPSession& operator=(const SMTPSession&) = delete;
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

  // The first connection that could be made, or the error "Aucun serveur de messagerie trouvé".
  virtual SmartRef<TCPStream> FindServer(Progress& range, const String& hostName);
  // A ready connection to the host on port 25, or null.
  virtual SmartRef<TCPStream> Connect(Progress& range, const String& hostName);

  void SendMessage(Stream& message, const String& sender, const String& recipient);

  // Lines of a message as the protocol carries them: every line end CR LF, and a full stop starting a
  // line doubled, so that no line of the message can end it early.
  static std::string EncodeMessage(const std::string& text);

 private:
  SmartRef<TCPStream> connection;
};
