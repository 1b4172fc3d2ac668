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

namespace {

// The check's own page: the frame the pages load in, and the answer written (percent-encoded, so that no
// markup of the serialised document gets in its way) where the dump finds it. It names no character set,
// so that the pages in its frame are read in the one a browser gives a page that names none.
constexpr const char* kCheckPage = R"(<!DOCTYPE html>
<html><body>
<pre id="answer"></pre>
<iframe id="frame" width="800" height="600"></iframe>
<script>
const frame = document.getElementById("frame");
const base = BASE;
// The next load of the frame, or a failure when nothing loads within the time.
function loaded(what) {
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error("nothing loaded for " + what)), 10000);
    frame.onload = () => {
      clearTimeout(timer);
      if (!frame.contentDocument) reject(new Error("no document for " + what));
      else resolve(frame.contentDocument);
    };
  });
}
function open(name) {
  const done = loaded(name);
  frame.src = new URL(name, base).href;
  return done;
}
function follow(link) {
  const done = loaded(link.href);
  link.click();
  return done;
}
(async () => {
BODY
})().then(
  (answer) => { document.getElementById("answer").setAttribute("data-answer", "answer:" + encodeURIComponent(String(answer))); },
  (error) => { document.getElementById("answer").setAttribute("data-answer", "error:" + encodeURIComponent(String(error))); });
</script></body></html>
)";

std::string PercentDecoded(const std::string& text) {
  std::string out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '%' && k + 2 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(k + 1, 2), nullptr, 16));
      k += 2;
    } else {
      out += text[k];
    }
  }
  return out;
}

void ReplaceOnce(std::string& text, const std::string& what, const std::string& with) {
  text.replace(text.find(what), what.size(), with);
}

}  // namespace

BrowserAnswer RunInBrowser(const std::filesystem::path& folder, const std::string& script, int timeoutMs) {
  BrowserAnswer answer;
  const TempFolder work;
  std::string base = "file://" + std::filesystem::absolute(folder).string();
  if (base.back() != '/') base += '/';
  std::string page = kCheckPage;
  // The folder's URL as a JavaScript string: JSON's escapes are JavaScript's.
  std::string quoted = "\"";
  for (char c : base) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  ReplaceOnce(page, "BASE", quoted);
  ReplaceOnce(page, "BODY", script);
  const std::filesystem::path check = work.Path() / "check.html";
  std::ofstream(check, std::ios::binary) << page;

  const TempFolder profile;
  std::vector<std::string> command = ChromiumCommand(profile, 1024, 768);
  // Pages opened from files may look into each other only so; virtual time lets the dump wait for the
  // script without waiting in real time.
  command.push_back("--allow-file-access-from-files");
  command.push_back("--virtual-time-budget=60000");
  command.push_back("--dump-dom");
  command.push_back("file://" + check.string());
  const std::filesystem::path dom = work.Path() / "dom.html";
  if (RunProgramWithin(command, dom.string(), timeoutMs) != 0) {
    answer.error = "chromium could not run the check (scripts/install-deps installs it)";
    return answer;
  }
  const std::string text = ReadFile(dom);
  const std::string key = "data-answer=\"";
  const std::size_t at = text.find(key);
  const std::size_t end = at == std::string::npos ? at : text.find('"', at + key.size());
  if (end == std::string::npos) {
    answer.error = "the check did not finish";
    return answer;
  }
  const std::string value = text.substr(at + key.size(), end - at - key.size());
  if (value.rfind("answer:", 0) == 0) {
    answer.ran = true;
    answer.text = PercentDecoded(value.substr(7));
  } else {
    answer.error = PercentDecoded(value.substr(value.find(':') + 1));
  }
  return answer;
}

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
