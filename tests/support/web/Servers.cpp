#include "support/web/Servers.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <thread>

namespace web_test {

namespace fs = std::filesystem;

bool EnterPrivateNetwork(std::string* why) {
  static int state = 0;  // 0 not tried, 1 inside, -1 refused
  if (state == 0) {
    if (unshare(CLONE_NEWNET) != 0) {
      state = -1;
    } else {
      state = std::system("ip link set lo up") == 0 ? 1 : -1;
    }
  }
  if (state < 0 && why) *why = "no private network here (the suite needs root and `ip`)";
  return state > 0;
}

void ChildProcess::Start(const std::vector<std::string>& arguments, const std::string& logPath) {
  Stop();
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid = fork();
  if (pid == 0) {
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log >= 0) {
      dup2(log, 1);
      dup2(log, 2);
    }
    setenv("PYTHONUNBUFFERED", "1", 1);
    execv(argv[0], argv.data());
    _exit(127);
  }
}

void ChildProcess::Stop() {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  int status = 0;
  for (int k = 0; k < 100; ++k) {
    if (waitpid(pid, &status, WNOHANG) == pid) {
      pid = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  pid = -1;
}

bool WaitForListening(int port, int milliseconds) {
  const std::string command = "ss -Hltn 'sport = :" + std::to_string(port) + "' 2>/dev/null";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (FILE* out = popen(command.c_str(), "r")) {
      char line[256];
      const bool listening = fgets(line, sizeof line, out) != nullptr;
      pclose(out);
      if (listening) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  return false;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool WaitForFile(const fs::path& path, int milliseconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!fs::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::string ServerScript(const char* name) { return std::string(QUILLORY_SOURCE_DIR) + "/tests/web/servers/" + name; }

const char* FtpServerName(FtpServerKind kind) { return kind == FtpServerKind::kPyftpdlib ? "pyftpdlib" : "vsftpd"; }

namespace {

constexpr const char* kPyftpdlibPassword = "s3cr3t-mdp";

}  // namespace

bool FtpServer::Start(FtpServerKind serverKind, const fs::path& work, std::string* why) {
  Stop();
  kind = serverKind;
  root = work / "ftp-root";
  log = work / (std::string(FtpServerName(kind)) + ".log");
  fs::create_directories(root);
  if (kind == FtpServerKind::kPyftpdlib) {
    account = "enfant";
    password = kPyftpdlibPassword;
    writable.clear();
    process.Start({kPython, ServerScript("ftp_server.py"), root.string(), account, password, "21"}, log.string());
  } else {
    account = "anonymous";
    password = "enfant@ecole.fr";
    writable = "incoming";
    fs::create_directories(Files());
    // vsftpd refuses a writable root, and writes as its own user.
    if (std::system(("chown ftp '" + Files().string() + "' && chmod 555 '" + root.string() + "'").c_str()) != 0) {
      if (why) *why = "the upload folder could not be given to the user ftp";
      return false;
    }
    const fs::path config = work / "vsftpd.conf";
    std::ofstream(config) << "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=21\nbackground=NO\n"
                             "anonymous_enable=YES\nlocal_enable=NO\nwrite_enable=YES\nanon_upload_enable=YES\n"
                             "anon_mkdir_write_enable=YES\nanon_other_write_enable=YES\nanon_umask=022\n"
                             "anon_root=" << root.string() << "\n"
                             "secure_chroot_dir=/var/run/vsftpd/empty\nseccomp_sandbox=NO\nisolate=NO\n"
                             "isolate_network=NO\nconnect_from_port_20=NO\npasv_enable=NO\nport_enable=YES\n"
                             "xferlog_enable=YES\nxferlog_std_format=NO\nvsftpd_log_file=" << log.string() << "\n";
    process.Start({"/usr/sbin/vsftpd", config.string()}, (work / "vsftpd.out").string());
  }
  if (WaitForListening(21, 8000)) return true;
  if (why) *why = std::string(FtpServerName(kind)) + " never listened on port 21";
  Stop();
  return false;
}

void FtpServer::Stop() {
  process.Stop();
  if (!root.empty() && fs::exists(root))
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add);
}

std::vector<std::string> FtpServer::StoredFiles() const {
  // pyftpdlib names the file by its path on this machine, vsftpd by its path under the server's root
  // (followed by the size, which it leaves out for an empty file).
  const std::regex stored(kind == FtpServerKind::kPyftpdlib ? "\\] STOR (.*) completed=1 bytes="
                                                            : "OK UPLOAD: Client \"[^\"]*\", \"(.*)\", [0-9.]+ ?[KMG]?(byte|bytes)");
  const std::string prefix = kind == FtpServerKind::kPyftpdlib ? Files().string() + "/" : "/" + writable + "/";
  std::vector<std::string> files;
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) {
    std::smatch match;
    if (!std::regex_search(line, match, stored)) continue;
    std::string path = match[1].str();
    if (path.rfind(prefix, 0) == 0) path.erase(0, prefix.size());
    files.push_back(path);
  }
  return files;
}

bool FtpServer::WaitForStored(std::size_t count, int milliseconds) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (StoredFiles().size() < count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

}  // namespace web_test
