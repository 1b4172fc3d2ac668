// The FTP client: one control connection, a log-in, directory commands, and active-mode transfers over a
// second connection that the client listens on.
#pragma once

#include <cstdint>

#include "core/String.h"
#include "web/internet/TCPStream.h"

class FileReference;
class InternetSession;

class FTPSession : public SmartImplementation {
  SMART_ABSTRACT(FTPSession)
 public:
  enum : int { kStore = 0, kAppend = 1, kPublish = 2, kNumbered = 3 };

  // Connects to the session's host on port 21 and logs in.
  FTPSession(InternetSession* session, const String& account, const String& password);
  // Says goodbye without waiting for an answer; never raises.
  ~FTPSession() override;
  FTPSession(const FTPSession&) = delete;
  FTPSession& operator=(const FTPSession&) = delete;
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

  void SetDirectory(const String& directory, bool create);
  void ParentDirectory();
  void SendFile(FileReference* file, const String& remoteName, bool image, int mode);
  void Put(Stream& local, const String& remoteName, bool image, int mode);
  void Get(Stream& local, const String& remoteName, bool image);
  void Transfer(const String& command, Stream& local, const String& remoteName, bool image);

  static String FormatPortArgument(TCPStream& control, TCPStream& data);

  static bool serverReached;

 private:
  SmartRef<TCPStream> control;
};
