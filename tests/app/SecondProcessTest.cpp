// The project lock against a real second copy of the program: a child process of this suite runs the
// program over the same "Projets" and holds a project open while the test's own program asks for it.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fcntl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "core/Text1252.h"

extern char** environ;

namespace app_test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSharedProjects = "QUILLORY_TEST_SHARED_PROJECTS";
constexpr const char* kSignals = "QUILLORY_TEST_SIGNALS";

bool WaitFor(const fs::path& file, std::chrono::seconds patience) {
  const auto until = std::chrono::steady_clock::now() + patience;
  while (!fs::exists(file)) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// The second copy: skipped unless the test below starts it. It opens the shared project "Commun",
// says so, and keeps it until told to let go.
using ProjectLockHolder = DromelAppTest;

TEST_F(ProjectLockHolder, HoldsTheSharedProject) {
  const char* shared = std::getenv(kSharedProjects);
  const char* signals = std::getenv(kSignals);
  if (shared == nullptr || signals == nullptr) GTEST_SKIP() << "run only as the second copy of the program";
  fs::remove_all(data->folder.Path() / "Projets");
  fs::create_directory_symlink(shared, data->folder.Path() / "Projets");
  const fs::path ready = fs::path(signals) / "ready";
  const fs::path release = fs::path(signals) / "release";
  RunDromel({{&FrontIsWelcome, [] { ChooseProject("Commun"); }},
             {&StartupOver,
              [&] {
                EXPECT_NE(gProjectLockFile, nullptr);
                std::ofstream(ready.string()) << "ready";
              }},
             {[&] { return fs::exists(release); }, nullptr}});
  EXPECT_TRUE(alerts.Alerts().empty());
}

class SecondProcessTest : public DromelAppTest {};

TEST_F(SecondProcessTest, AProjectOpenInAnotherCopyIsRefusedAndTheWelcomeStays) {
  MakeProject("Commun", {{"page", 1000000000}});
  const fs::path signals = data->folder.Path() / "signals";
  fs::create_directory(signals);
  const std::string sharedValue = std::string(kSharedProjects) + "=" + ProjectsPath();
  const std::string signalsValue = std::string(kSignals) + "=" + signals.string();
  std::vector<char*> environment;
  for (char** entry = environ; *entry; ++entry) environment.push_back(*entry);
  environment.push_back(const_cast<char*>(sharedValue.c_str()));
  environment.push_back(const_cast<char*>(signalsValue.c_str()));
  environment.push_back(nullptr);
  std::string self = fs::read_symlink("/proc/self/exe").string();
  std::string filter = "--gtest_filter=ProjectLockHolder.HoldsTheSharedProject";
  char* argv[] = {self.data(), filter.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string childLog = (signals / "child.txt").string();
  posix_spawn_file_actions_addopen(&actions, 1, childLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environment.data()), 0);
  posix_spawn_file_actions_destroy(&actions);

  const bool holding = WaitFor(signals / "ready", std::chrono::seconds(30));
  EXPECT_TRUE(holding) << "the second copy did not open the project";
  bool welcomeStayed = false;
  if (holding) {
    RunDromel({{&FrontIsWelcome, [] { ChooseProject("Commun"); }},
               {nullptr,
                [&] {
                  welcomeStayed = FrontIsWelcome();
                  EXPECT_EQ(gDromelApp->GetProjectName(), nullptr);
                  CancelFront();
                }}});
  }
  std::ofstream((signals / "release").string()) << "release";
  int status = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > until) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      ADD_FAILURE() << "the second copy did not end";
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << data->folder.Read("signals/child.txt");
  if (!holding) return;
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, "Ce nom de projet est déjà utilisé.\nChoisis-en un autre."_cp);
  EXPECT_TRUE(welcomeStayed) << "the welcome stays up for another choice";
}

}  // namespace
}  // namespace app_test
