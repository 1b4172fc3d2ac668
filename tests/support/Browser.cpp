#include "support/Browser.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "support/TempFolder.h"

extern char** environ;

int RunProgramWithin(const std::vector<std::string>& command, const std::string& output, int timeoutMs) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  // A group of its own, so that the browser's helper processes go with it.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  std::vector<char*> argv;
  for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) return -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (done < 0 || std::chrono::steady_clock::now() > deadline) {
      kill(-child, SIGKILL);
      waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  // Helpers the browser left behind.
  kill(-child, SIGKILL);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {

std::vector<std::string> ChromiumCommand(const TempFolder& profile, int width, int height) {
  return {"chromium",
          "--headless",
          "--no-sandbox",
          "--disable-gpu",
          "--disable-background-networking",
          "--disable-component-update",
          "--no-first-run",
          "--hide-scrollbars",
          "--force-device-scale-factor=1",
          "--user-data-dir=" + profile.Path().string(),
          "--window-size=" + std::to_string(width) + "," + std::to_string(height)};
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

BrowserView ViewInBrowser(const std::filesystem::path& page, int width, int height, int timeoutMs) {
  BrowserView view;
  const TempFolder work;
  const std::string url = "file://" + std::filesystem::absolute(page).string();

  {
    const TempFolder profile;
    std::vector<std::string> command = ChromiumCommand(profile, width, height);
    command.push_back("--dump-dom");
    command.push_back(url);
    const std::filesystem::path dom = work.Path() / "dom.html";
    if (RunProgramWithin(command, dom.string(), timeoutMs) != 0) {
      view.error = "chromium could not load the page (scripts/install-deps installs it)";
      return view;
    }
    view.dom = ReadFile(dom);
  }
  {
    const TempFolder profile;
    const std::filesystem::path png = work.Path() / "shot.png";
    std::vector<std::string> command = ChromiumCommand(profile, width, height);
    command.push_back("--screenshot=" + png.string());
    command.push_back(url);
    if (RunProgramWithin(command, "/dev/null", timeoutMs) != 0 || !std::filesystem::exists(png)) {
      view.error = "chromium made no screenshot";
      return view;
    }
    const std::filesystem::path ppm = work.Path() / "shot.ppm";
    // Debian's ImageMagick: another "convert" may come first on PATH.
    if (RunProgramWithin({"/usr/bin/convert", png.string(), "-depth", "8", "ppm:" + ppm.string()}, "/dev/null",
                         timeoutMs) != 0) {
      view.error = "ImageMagick could not read the screenshot";
      return view;
    }
    const std::optional<ColourPicture> picture = ReadPpm(ppm.string());
    if (!picture) {
      view.error = "the screenshot did not convert";
      return view;
    }
    view.screenshot = *picture;
  }
  view.loaded = true;
  return view;
}
