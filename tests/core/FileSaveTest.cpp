#include <gtest/gtest.h>

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include "core/File.h"
#include "core/FileReference.h"
#include "core/FileSaveTarget.h"
#include "core/ObjectFileTestSupport.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Files.h"
#include "core/Text1252.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

using namespace objectfile_testing;

namespace {

class FailingNode : public Node {
 public:
  void Write(Archive* archive) override {
    Node::Write(archive);
    ThrowError("Disque plein", __FILE__, __LINE__);
  }
};

// A document saved in a real file: a good save replaces it whole; a failed one, or one whose new version
// cannot be put in place, leaves it byte for byte as it was, with no stray file beside it.
TEST(FileSave, TheDocumentIsReplacedOnlyByAWholeSave) {
  TempFolder folder;
  const std::string path = folder.Write("page.zod");
  FileReference reference(path.c_str());
  SmartRef<File> document(new File(&reference, kFileModeRead | kFileModeWrite));
  ASSERT_TRUE(document->IsOpen());
  SmartRef<ObjectFile> file(new ObjectFile(MakeTestTypeIndex(), SmartRef<Stream>(~document)));
  SmartRef<Node> first(new Node);
  first->number = 1;
  file->Write(first);
  const std::string saved = folder.Read("page.zod");
  EXPECT_EQ(saved, SaveToBytes(first, MakeTestTypeIndex()));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "page.zod~"));

  EXPECT_EQ(RaisedText(Raised([&] { file->Write(new FailingNode()); })), "Disque plein");
  EXPECT_EQ(folder.Read("page.zod"), saved);
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "page.zod~"));

  // A read-only document cannot be replaced: the save fails and the document stays.
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  SmartRef<Node> second(new Node);
  second->number = 2;
  EXPECT_TRUE(Raised([&] { file->Write(second); }));
  EXPECT_EQ(folder.Read("page.zod"), saved);
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "page.zod~"));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

  // The object file goes on working with its document, and the next save goes through.
  file->Write(second);
  EXPECT_EQ(folder.Read("page.zod"), SaveToBytes(second, MakeTestTypeIndex()));
}

TEST(FileSave, MoveFileReplacesOnlyWhenAsked) {
  TempFolder folder;
  const std::string a = folder.Write("a.txt", "new"), b = folder.Write("b.txt", "old");
  SetLastError(0);
  EXPECT_FALSE(MoveFileExA(a.c_str(), b.c_str(), 0));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(MoveFileExA(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(folder.Read("b.txt"), "new");
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "a.txt"));
  SetLastError(0);
}

// ---- Durable saves ----

namespace fs = std::filesystem;

// Version v of a page: its number says which; its label makes a save take several writes.
SmartRef<Node> PageVersion(int v, std::size_t labelBytes = 40000) {
  SmartRef<Node> node(new Node);
  node->number = v;
  node->label = new String(std::string(labelBytes, static_cast<char>('a' + v % 26)).c_str());
  return node;
}

std::string VersionBytes(int v, std::size_t labelBytes = 40000) {
  return SaveToBytes(PageVersion(v, labelBytes), MakeTestTypeIndex());
}

// A page open as the program keeps it: the file and the object file over it.
struct OpenPage {
  SmartRef<File> file;
  SmartRef<ObjectFile> objects;
  explicit OpenPage(const std::string& path) {
    FileReference reference(path.c_str());
    file = new File(&reference, kFileModeRead | kFileModeWrite);
    objects = new ObjectFile(MakeTestTypeIndex(), SmartRef<Stream>(~file));
  }
  void Save(int v, std::size_t labelBytes = 40000) { objects->Write(PageVersion(v, labelBytes)); }
};

// The version a stored page holds, or -1 when it is not exactly the bytes some version saves as.
int WholeVersionIn(const std::string& bytes) {
  AlertRecorder quiet;
  const SmartRef<Node> node = CastSmart<Node>(~ReadFromBytes(bytes, MakeTestTypeIndex()));
  if (!node) return -1;
  return VersionBytes(node->number, node->label ? node->label->Length() : 0) == bytes ? node->number : -1;
}

// Files beside a page that a save left behind.
std::vector<std::string> Leftovers(const fs::path& folder, const std::string& usersOwn = "") {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.find('~') != std::string::npos && name != usersOwn) found.push_back(name);
  }
  return found;
}

// What the file layer was asked, while a test listens.
struct CallLog {
  static std::vector<std::pair<std::string, std::string>>& Calls() {
    static std::vector<std::pair<std::string, std::string>> calls;
    return calls;
  }
  CallLog() {
    Calls().clear();
    platform::SetFileCallObserver([](const char* call, const std::string& path) { Calls().emplace_back(call, path); });
  }
  ~CallLog() { platform::SetFileCallObserver(nullptr); }
};

TEST(DurableSave, TheNewVersionIsOnTheDiskBeforeItTakesTheDocumentsName) {
  TempFolder folder;
  OpenPage page(folder.Write("page.zod"));
  page.Save(1);
  CallLog log;
  page.Save(2);
  // From the first byte written to the folder flush, nothing else happens and nothing is left out.
  std::vector<std::string> order;
  std::string writtenTo, renamedTo;
  bool writing = false;
  for (const auto& [call, path] : CallLog::Calls()) {
    if (call == "write" && !writing) writing = true, writtenTo = path;
    if (!writing) continue;
    if (order.empty() || order.back() != call) order.push_back(call);
    if (call == "rename") renamedTo = path;
    if (call == "flush folder") break;
  }
  EXPECT_EQ(order, (std::vector<std::string>{"write", "flush", "close", "rename", "flush folder"}));
  EXPECT_EQ(writtenTo, (folder.Path() / "page.zod~").string());
  EXPECT_EQ(renamedTo, (folder.Path() / "page.zod").string());
  EXPECT_EQ(folder.Read("page.zod"), VersionBytes(2));
}

// Where the layer stops the saving process: the n-th call of that name, on the replacement or its folder.
const char* gKillCall = nullptr;
int gKillCountdown = 0;

void KillAtChosenCall(const char* call, const std::string& path) {
  const bool ours = path.find('~') != std::string::npos || std::strcmp(call, "flush folder") == 0 ||
                    std::strcmp(call, "rename") == 0;
  if (ours && std::strcmp(call, gKillCall) == 0 && --gKillCountdown == 0) raise(SIGKILL);
}

// Runs the body in a child process and answers how it ended.
template <class F>
int InChild(F&& body) {
  const pid_t child = fork();
  if (child == 0) {
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(DurableSave, AProcessKilledWhileSavingLeavesOneWholeVersion) {
  struct KillPoint {
    const char* when;
    const char* call;
    int nth;
    int survivor;  // the version the page holds afterwards
  };
  const KillPoint points[] = {
      {"before the write", "open", 1, 1},
      {"during the write", "write", 2, 1},
      {"after the write", "flush", 1, 1},
      {"between flush and rename", "rename", 1, 1},
      {"after the rename", "flush folder", 1, 2},
  };
  for (const KillPoint& point : points) {
    SCOPED_TRACE(point.when);
    TempFolder folder;
    const std::string path = folder.Write("page.zod");
    OpenPage(path).Save(1);
    const int status = InChild([&] {
      OpenPage page(path);
      gKillCall = point.call;
      gKillCountdown = point.nth;
      platform::SetFileCallObserver(&KillAtChosenCall);
      page.Save(2);
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the kill point was never reached";
    EXPECT_EQ(WholeVersionIn(folder.Read("page.zod")), point.survivor);
    // The page saves again over whatever the killed save left.
    OpenPage(path).Save(3);
    EXPECT_EQ(WholeVersionIn(folder.Read("page.zod")), 3);
  }

  // Kills at random moments of a process that saves one version after another.
  TempFolder folder;
  const std::string path = folder.Write("page.zod");
  OpenPage(path).Save(1);
  std::mt19937 random(36);
  for (int round = 0; round < 30; ++round) {
    const pid_t child = fork();
    if (child == 0) {
      OpenPage page(path);
      for (int v = 2;; ++v) page.Save(v);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 40000)(random)));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_GT(WholeVersionIn(folder.Read("page.zod")), 0) << "round " << round;
  }
}

// The mount point holding the path, as this process sees the mounts (a chroot sees only those inside
// it, named from its own root); empty when none holds it.
std::string MountPointOf(const fs::path& path) {
  const std::string target = fs::weakly_canonical(path).string();
  std::ifstream mountinfo("/proc/self/mountinfo");
  std::string best;
  for (std::string line; std::getline(mountinfo, line);) {
    std::istringstream fields(line);
    std::string id, parent, device, root, point;
    if (!(fields >> id >> parent >> device >> root >> point)) continue;
    const bool holds = point == "/" || (target.compare(0, point.size(), point) == 0 &&
                                        (target.size() == point.size() || target[point.size()] == '/'));
    if (holds && point.size() > best.size()) best = point;
  }
  return best;
}

// A save that runs out of room: the old page stays byte for byte, no replacement is left, and the user
// reads that the disk is full.
TEST(DurableSave, AFullDiskLeavesTheOldVersionAndSaysSo) {
  struct Limit {
    const char* name;
    bool (*impose)(const fs::path& folder);
    // Why a machine may lack the limit; none where every machine has it.
    const char* mayLack;
  };
  const Limit limits[] = {
      {"file-size limit",
       [](const fs::path&) {
         signal(SIGXFSZ, SIG_IGN);
         const rlimit limit{64 * 1024, 64 * 1024};
         return setrlimit(RLIMIT_FSIZE, &limit) == 0;
       },
       nullptr},
      {"small file system",
       [](const fs::path& folder) {
         // A mount of this child's own, gone with it: the mount holding the folder turns private first, or
         // the small disk would show in every other mount namespace too. In a chroot "/" is no mount point,
         // so it is the holding mount, not "/", that turns private.
         const std::string holder = MountPointOf(folder);
         return !holder.empty() && unshare(CLONE_NEWNS) == 0 &&
                mount(nullptr, holder.c_str(), nullptr, MS_PRIVATE, nullptr) == 0 &&
                mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=128k") == 0;
       },
       "no private mount of a small file system here (needs root and a mount point holding the temporary folder)"},
  };
  std::string lacking;
  for (const Limit& limit : limits) {
    SCOPED_TRACE(limit.name);
    TempFolder folder;
    const fs::path disk = folder.Path() / "disk";
    fs::create_directories(disk);
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const int status = InChild([&] {
      close(report[0]);
      std::string result = "no limit";
      if (limit.impose(disk)) {
        const std::string path = folder.Write("disk/page.zod");
        OpenPage page(path);
        page.Save(1, 100);
        const std::string before = folder.Read("disk/page.zod");
        AlertRecorder alerts;
        if (SmartRef<Exception> failure = Raised([&] { page.Save(2, 200000); })) failure->Report(kAlertStop);
        result = std::string(folder.Read("disk/page.zod") == before ? "same" : "changed") + "|" +
                 std::to_string(Leftovers(disk).size()) + "|" +
                 (alerts.Alerts().empty() ? std::string("no alert") : alerts.Alerts().back().text);
      }
      (void)!write(report[1], result.data(), result.size());
      close(report[1]);
    });
    close(report[1]);
    std::string result;
    char chunk[512];
    for (ssize_t got; (got = read(report[0], chunk, sizeof chunk)) > 0;) result.append(chunk, static_cast<std::size_t>(got));
    close(report[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    if (result == "no limit" && limit.mayLack) {
      lacking += std::string(lacking.empty() ? "" : "; ") + limit.mayLack;
      continue;
    }
    EXPECT_EQ(result.substr(0, 9), "same|0|Er") << result;
    EXPECT_NE(result.find("Erreur de système\n  (Erreur numéro 112,"_cp), std::string::npos) << result;
  }
  if (!lacking.empty()) GTEST_SKIP() << lacking;
}

// The next close of a file fails, as a full shared folder may only say then.
void FailCloseAfterFlush(const char* call, const std::string& path) {
  if (std::strcmp(call, "flush") == 0 && path.find('~') != std::string::npos) platform::FailNextClose(EIO);
}

TEST(DurableSave, TheDocumentStaysWhatItWas) {
  struct Case {
    const char* name;
    // Makes the page (version 1 saved) and answers the path it is opened by.
    std::string (*prepare)(const TempFolder& folder);
    platform::FileCallObserver during;
    bool saves;
    void (*check)(const TempFolder& folder);
  };
  const Case cases[] = {
      {"a private page stays private",
       [](const TempFolder& folder) {
         const std::string path = folder.Write("page.zod");
         OpenPage(path).Save(1);
         fs::permissions(folder.Path() / "page.zod", fs::perms::owner_read | fs::perms::owner_write);
         return path;
       },
       nullptr, true,
       [](const TempFolder& folder) {
         EXPECT_EQ(fs::status(folder.Path() / "page.zod").permissions() & fs::perms::all,
                   fs::perms::owner_read | fs::perms::owner_write);
       }},
      {"a page reached through a link keeps its link",
       [](const TempFolder& folder) {
         const std::string target = folder.Write("real/page.zod");
         OpenPage(target).Save(1);
         fs::create_symlink("real/page.zod", folder.Path() / "page.zod");
         return folder.WinPath("page.zod");
       },
       nullptr, true,
       [](const TempFolder& folder) {
         EXPECT_TRUE(fs::is_symlink(folder.Path() / "page.zod"));
         EXPECT_EQ(fs::read_symlink(folder.Path() / "page.zod"), "real/page.zod");
         EXPECT_EQ(folder.Read("real/page.zod"), VersionBytes(2));
         EXPECT_TRUE(Leftovers(folder.Path() / "real").empty());
       }},
      {"the user's own backup is untouched",
       [](const TempFolder& folder) {
         const std::string path = folder.Write("page.zod");
         OpenPage(path).Save(1);
         folder.Write("page.zod~", "mine");
         return path;
       },
       nullptr, true,
       [](const TempFolder& folder) {
         EXPECT_EQ(folder.Read("page.zod~"), "mine");
         EXPECT_TRUE(Leftovers(folder.Path(), "page.zod~").empty());
       }},
      {"a replacement whose close fails is not put in place",
       [](const TempFolder& folder) {
         const std::string path = folder.Write("page.zod");
         OpenPage(path).Save(1);
         return path;
       },
       &FailCloseAfterFlush, false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const std::string path = c.prepare(folder);
    const std::string before = folder.Read("page.zod");
    OpenPage page(path);
    platform::SetFileCallObserver(c.during);
    const SmartRef<Exception> failure = Raised([&] { page.Save(2); });
    platform::SetFileCallObserver(nullptr);
    if (c.saves) {
      EXPECT_EQ(failure, nullptr) << RaisedText(failure);
      EXPECT_EQ(folder.Read("page.zod"), VersionBytes(2));
    } else {
      EXPECT_EQ(RaisedText(failure), "system error " + std::to_string(ERROR_IO_DEVICE));
      EXPECT_EQ(folder.Read("page.zod"), before);
    }
    EXPECT_TRUE(Leftovers(folder.Path(), "page.zod~").empty());
    if (c.check) c.check(folder);
    ClearLastError();
  }
}

}  // namespace
