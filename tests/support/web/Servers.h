// Real servers for the suites that publish: a private network of the test's own (so that servers listen
// on the fixed ports 21 and 25 without meeting anyone else's), programs run beside the test and stopped by
// it, and the two FTP servers the program is tried against. Every wait on a server has a bound.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace web_test {

// Moves this test process into a network of its own, with only the loopback interface up. Answers false
// (with the reason) where that is not allowed.
bool EnterPrivateNetwork(std::string* why);

// A program the test runs beside itself, stopped when it goes.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // Starts the program with its arguments; its output goes to the log file.
  void Start(const std::vector<std::string>& arguments, const std::string& logPath);
  void Stop();
  bool Running() const { return pid > 0; }

 private:
  int pid = -1;
};

// Waits (at most the given time) until something listens on the TCP port of 127.0.0.1.
bool WaitForListening(int port, int milliseconds);

// The bytes of a file (none when it is missing).
std::string ReadAll(const std::filesystem::path& path);
// Waits (at most the given time) until the file exists.
bool WaitForFile(const std::filesystem::path& path, int milliseconds);

// The scripts of the servers, checked in beside the web suite.
std::string ServerScript(const char* name);
// The interpreter that has the server libraries.
inline const char* kPython = "/usr/bin/python3";

enum class FtpServerKind { kPyftpdlib, kVsftpd };
// "pyftpdlib" or "vsftpd", for the names of parameterised tests.
const char* FtpServerName(FtpServerKind kind);

// A real FTP server on port 21 of the private network, over a root folder of its own. pyftpdlib logs one
// user in to that root; vsftpd takes anonymous uploads into "incoming", the one writable folder of a root
// it will not let anyone write to (and needs no user of the system).
class FtpServer {
 public:
  FtpServer() = default;
  ~FtpServer() { Stop(); }
  FtpServer(const FtpServer&) = delete;
  FtpServer& operator=(const FtpServer&) = delete;

  // Makes the root under the work folder, starts the server and waits until it listens. Answers false
  // with the reason when it never does.
  bool Start(FtpServerKind kind, const std::filesystem::path& work, std::string* why);
  // Stops it and opens the root to its owner again, so that the work folder can go.
  void Stop();

  FtpServerKind Kind() const { return kind; }
  const std::string& Account() const { return account; }
  const std::string& Password() const { return password; }
  // The folder a client enters to be allowed to write: "" on pyftpdlib, "incoming" on vsftpd.
  const std::string& WritableFolder() const { return writable; }
  // Where the uploads land on this machine.
  std::filesystem::path Files() const { return writable.empty() ? root : root / writable; }
  std::filesystem::path LogPath() const { return log; }
  // The files stored so far, relative to Files() with "/" between names, in the order the server
  // finished storing them, as its log tells.
  std::vector<std::string> StoredFiles() const;
  // Waits (at most the given time) until the log tells of that many stored files.
  bool WaitForStored(std::size_t count, int milliseconds) const;

 private:
  FtpServerKind kind = FtpServerKind::kPyftpdlib;
  ChildProcess process;
  std::filesystem::path root;
  std::filesystem::path log;
  std::string account;
  std::string password;
  std::string writable;
};

}  // namespace web_test
