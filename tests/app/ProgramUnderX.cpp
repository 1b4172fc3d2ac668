#include "ProgramUnderX.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/Browser.h"
#include "support/RunProgram.h"

namespace app_test {

namespace fs = std::filesystem;

namespace {

const std::string kProgram = std::string(QUILLORY_BINARY_DIR) + "/quillory";
// No X call answers in more than this; a hung one fails the step instead of the whole suite.
constexpr int kXCallMs = 10000;
// The menu bar lies under the main window's caption, and the client area starts under it.
constexpr int kMenuBarTop = 18;
constexpr int kMenuBarHeight = 22;

int Red(std::uint32_t p) { return static_cast<int>(p >> 16 & 0xFF); }
int Green(std::uint32_t p) { return static_cast<int>(p >> 8 & 0xFF); }
int Blue(std::uint32_t p) { return static_cast<int>(p & 0xFF); }
// Text is drawn black (grey when disabled) on the light grey of menus and the bar; highlights are white.
bool Ink(std::uint32_t p) { return Red(p) + Green(p) + Blue(p) < 3 * 160; }
bool Coloured(std::uint32_t p) {
  return std::max({Red(p), Green(p), Blue(p)}) - std::min({Red(p), Green(p), Blue(p)}) > 48;
}
std::uint32_t At(const ColourPicture& picture, int x, int y) {
  return picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) + static_cast<std::size_t>(x)];
}
Region Clip(const ColourPicture& picture, Region r) {
  const int left = std::clamp(r.x, 0, picture.width), top = std::clamp(r.y, 0, picture.height);
  const int right = std::clamp(r.x + r.width, 0, picture.width);
  const int bottom = std::clamp(r.y + r.height, 0, picture.height);
  return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

bool LayOutProgramFolder(const fs::path& folder) {
  return RunProgram({std::string(QUILLORY_SOURCE_DIR) + "/scripts/lay-out-program", kProgram, folder.string()}) == 0;
}

namespace {

ColourPicture Converted(const fs::path& file, const std::vector<std::string>& options) {
  const fs::path ppm = fs::temp_directory_path() / ("quillory-picture-" + std::to_string(getpid()) + ".ppm");
  std::vector<std::string> command{"/usr/bin/convert", file.string()};
  command.insert(command.end(), options.begin(), options.end());
  command.insert(command.end(), {"-depth", "8", "ppm:" + ppm.string()});
  ColourPicture picture;
  if (RunProgramWithin(command, "/dev/null", kXCallMs) == 0) {
    if (std::optional<ColourPicture> read = ReadPpm(ppm.string())) picture = std::move(*read);
  }
  fs::remove(ppm);
  return picture;
}

// The channel differences of two pixels, summed.
int Distance(std::uint32_t a, std::uint32_t b) {
  return std::abs(Red(a) - Red(b)) + std::abs(Green(a) - Green(b)) + std::abs(Blue(a) - Blue(b));
}

bool Fits(const ColourPicture& shot, const ColourPicture& picture, ScreenPoint at) {
  return picture.width > 0 && at.x >= 0 && at.y >= 0 && at.x + picture.width <= shot.width &&
         at.y + picture.height <= shot.height;
}

// Unlikeness from every `step`-th pixel of every `step`-th row.
double SampledUnlikeness(const ColourPicture& shot, const ColourPicture& picture, ScreenPoint at, int step) {
  if (!Fits(shot, picture, at)) return 255.0;
  long long sum = 0;
  long long count = 0;
  for (int y = 0; y < picture.height; y += step)
    for (int x = 0; x < picture.width; x += step, ++count) sum += Distance(At(shot, at.x + x, at.y + y), At(picture, x, y));
  return static_cast<double>(sum) / (3.0 * static_cast<double>(count));
}

}  // namespace

ColourPicture ReadPicture(const fs::path& file) { return Converted(file, {}); }

ColourPicture ReadPicture(const fs::path& file, int width, int height) {
  return Converted(file, {"-scale", std::to_string(width) + "x" + std::to_string(height) + "!"});
}

ColourPicture Crop(const ColourPicture& picture, Region region) {
  const Region r = Clip(picture, region);
  ColourPicture out;
  out.width = r.width;
  out.height = r.height;
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x) out.pixels.push_back(At(picture, x, y));
  return out;
}

int DifferingPixels(const ColourPicture& a, const ColourPicture& b, Region region) {
  if (a.width != b.width || a.height != b.height) return region.width * region.height;
  const Region r = Clip(a, region);
  int count = 0;
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x) count += At(a, x, y) != At(b, x, y);
  return count;
}

int PixelsOfColour(const ColourPicture& picture, Region region, std::uint32_t colour) {
  const Region r = Clip(picture, region);
  int count = 0;
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x) count += At(picture, x, y) == colour;
  return count;
}

std::optional<ScreenPoint> FindPicture(const ColourPicture& shot, const ColourPicture& picture, double fraction) {
  if (picture.width == 0 || picture.width > shot.width || picture.height > shot.height) return std::nullopt;
  const int allowed = static_cast<int>((1.0 - fraction) * picture.width * picture.height);
  const auto row = picture.pixels.begin();
  for (int y = 0; y + picture.height <= shot.height; ++y) {
    for (int x = 0; x + picture.width <= shot.width; ++x) {
      const auto start = shot.pixels.begin() + static_cast<std::ptrdiff_t>(y) * shot.width + x;
      if (!std::equal(row, row + picture.width, start)) continue;
      int differing = 0;
      for (int py = 1; py < picture.height && differing <= allowed; ++py)
        for (int px = 0; px < picture.width; ++px) differing += At(shot, x + px, y + py) != At(picture, px, py);
      if (differing <= allowed) return ScreenPoint{x, y};
    }
  }
  return std::nullopt;
}

double ShownShare(const ColourPicture& shot, const ColourPicture& picture, ScreenPoint at, std::uint32_t transparent) {
  if (!Fits(shot, picture, at)) return 0.0;
  int shown = 0;
  int counted = 0;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      if (At(picture, x, y) == transparent) continue;
      ++counted;
      shown += At(shot, at.x + x, at.y + y) == At(picture, x, y);
    }
  return counted == 0 ? 0.0 : static_cast<double>(shown) / counted;
}

double Unlikeness(const ColourPicture& shot, const ColourPicture& picture, ScreenPoint at) {
  return SampledUnlikeness(shot, picture, at, 1);
}

std::optional<ScreenPoint> FindLikeness(const ColourPicture& shot, const ColourPicture& picture, Region within,
                                        double tolerance) {
  // Every other place on a sample of the pixels first, then every place around the best of those whole.
  const Region r = Clip(shot, within);
  std::optional<ScreenPoint> best;
  double bestScore = 256.0;
  for (int y = r.y; y + picture.height <= r.y + r.height; y += 2)
    for (int x = r.x; x + picture.width <= r.x + r.width; x += 2) {
      const double score = SampledUnlikeness(shot, picture, {x, y}, 3);
      if (score < bestScore) bestScore = score, best = ScreenPoint{x, y};
    }
  if (!best) return std::nullopt;
  const ScreenPoint coarse = *best;
  bestScore = 256.0;
  for (int y = coarse.y - 2; y <= coarse.y + 2; ++y)
    for (int x = coarse.x - 2; x <= coarse.x + 2; ++x) {
      const double score = Unlikeness(shot, picture, {x, y});
      if (score < bestScore) bestScore = score, best = ScreenPoint{x, y};
    }
  if (bestScore > tolerance) return std::nullopt;
  return best;
}

std::optional<ScreenPoint> FindBlock(const ColourPicture& shot, int width, int height, std::uint32_t colour) {
  // Counts of the colour over every rectangle from the origin, so that each place is weighed at once.
  const int w = shot.width, h = shot.height;
  std::vector<int> sums(static_cast<std::size_t>((w + 1) * (h + 1)), 0);
  const auto sum = [&](int x, int y) -> int& { return sums[static_cast<std::size_t>(y * (w + 1) + x)]; };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) sum(x + 1, y + 1) = sum(x, y + 1) + sum(x + 1, y) - sum(x, y) + (At(shot, x, y) == colour);
  for (int y = 0; y + height <= h; ++y)
    for (int x = 0; x + width <= w; ++x)
      if (sum(x + width, y + height) - sum(x, y + height) - sum(x + width, y) + sum(x, y) == width * height)
        return ScreenPoint{x, y};
  return std::nullopt;
}

std::vector<ScreenPoint> HorizontalLines(const ColourPicture& shot, Region region, std::uint32_t colour, int minLength,
                                         int maxLength) {
  const Region r = Clip(shot, region);
  std::vector<ScreenPoint> lines;
  for (int y = r.y; y < r.y + r.height; ++y) {
    for (int x = r.x; x < r.x + r.width;) {
      int end = x;
      while (end < r.x + r.width && At(shot, end, y) == colour) ++end;
      if (end - x >= minLength && end - x <= maxLength) lines.push_back({x, y});
      x = std::max(end, x + 1);
    }
  }
  return lines;
}

std::vector<std::pair<int, int>> TextRuns(const ColourPicture& shot, Region band, int gap) {
  const Region r = Clip(shot, band);
  std::vector<std::pair<int, int>> runs;
  std::vector<bool> coloured;
  for (int x = r.x; x < r.x + r.width; ++x) {
    bool ink = false, colour = false;
    for (int y = r.y; y < r.y + r.height; ++y) {
      ink = ink || Ink(At(shot, x, y));
      colour = colour || Coloured(At(shot, x, y));
    }
    if (!ink && !colour) continue;
    if (!runs.empty() && x - runs.back().second <= gap) {
      runs.back().second = x;
      coloured.back() = coloured.back() || colour;
    } else {
      runs.push_back({x, x});
      coloured.push_back(colour);
    }
  }
  std::vector<std::pair<int, int>> text;
  for (std::size_t i = 0; i < runs.size(); ++i)
    if (!coloured[i]) text.push_back(runs[i]);
  return text;
}

std::vector<std::pair<int, int>> TextLines(const ColourPicture& shot, Region band) {
  const Region r = Clip(shot, band);
  std::vector<std::pair<int, int>> lines;
  int previous = -10;
  for (int y = r.y; y < r.y + r.height; ++y) {
    int ink = 0;
    for (int x = r.x; x < r.x + r.width; ++x) ink += Ink(At(shot, x, y));
    if (ink == 0 || ink > r.width * 3 / 4) continue;
    if (y - previous <= 2 && !lines.empty()) {
      lines.back().second = y;
    } else {
      lines.push_back({y, y});
    }
    previous = y;
  }
  return lines;
}

RunningProgram::RunningProgram(const fs::path& folder) : folder(folder), log(folder / "errors.txt") {
  pid = fork();
  if (pid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(90);
    // With no message box of its own on this platform, every alert is written to the error output.
    if (freopen(log.c_str(), "w", stderr) == nullptr) _exit(92);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    execl(kProgram.c_str(), kProgram.c_str(), static_cast<char*>(nullptr));
    _exit(91);
  }
}

RunningProgram::~RunningProgram() {
  if (pid <= 0) return;
  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
}

bool RunningProgram::Xdotool(const std::string& arguments) const {
  return std::system(("timeout " + std::to_string(kXCallMs / 1000) + " xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

bool RunningProgram::FindWindow(int milliseconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  const fs::path found = folder / "window.txt";
  // The window has its title a moment before it is mapped, and focus cannot go to an unmapped window:
  // on a loaded machine that moment outlasted the focus call.
  const std::string command = "timeout " + std::to_string((milliseconds + 999) / 1000) +
                              " xdotool search --sync --onlyvisible --name '^Quillory$' | head -n 1";
  if (RunProgram({"sh", "-c", command}, found.c_str()) != 0) return false;
  std::ifstream in(found);
  in >> window;
  // Visible to the search is not yet ready for the keyboard on a loaded machine: the focus is asked again
  // until it takes or the time is up.
  while (!window.empty()) {
    if (Xdotool("windowfocus --sync " + window)) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return false;
}

ColourPicture RunningProgram::Shot() const {
  const fs::path file = folder / "shot.ppm";
  ColourPicture shot;
  if (RunProgramWithin({"/usr/bin/import", "-window", window, "-depth", "8", "ppm:" + file.string()}, "/dev/null",
                       kXCallMs) == 0) {
    if (std::optional<ColourPicture> read = ReadPpm(file.string())) shot = std::move(*read);
  }
  return shot;
}

bool RunningProgram::WaitForShot(const std::function<bool(const ColourPicture&)>& check, int milliseconds,
                                 ColourPicture* last) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    ColourPicture shot = Shot();
    const bool passed = shot.width > 0 && check(shot);
    if (last) *last = std::move(shot);
    if (passed) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
}

void RunningProgram::Click(ScreenPoint at) const {
  Xdotool("mousemove --sync --window " + window + " " + std::to_string(at.x) + " " + std::to_string(at.y) +
          " click 1");
}

void RunningProgram::Press(ScreenPoint at) const {
  Xdotool("mousemove --sync --window " + window + " " + std::to_string(at.x) + " " + std::to_string(at.y) + " mousedown 1");
}

void RunningProgram::MoveTo(ScreenPoint at) const {
  Xdotool("mousemove --sync --window " + window + " " + std::to_string(at.x) + " " + std::to_string(at.y));
}

void RunningProgram::Release() const { Xdotool("mouseup 1"); }

void RunningProgram::Type(const std::string& text) const {
  Xdotool("type --delay 80 " + Quoted(text));
}

void RunningProgram::Key(const std::string& keys) const { Xdotool("key " + keys); }

bool RunningProgram::ChooseMenuItem(int title, int item, int expectedLines) const {
  const ColourPicture closed = Shot();
  const std::vector<std::pair<int, int>> titles = TextRuns(closed, {0, kMenuBarTop + 3, closed.width, kMenuBarHeight - 6}, 6);
  if (title >= static_cast<int>(titles.size())) return false;
  Click({(titles[title].first + titles[title].second) / 2, kMenuBarTop + kMenuBarHeight / 2});
  // The menu drops below the bar: where the screen changed.
  ColourPicture open;
  Region menu{closed.width, closed.height, 0, 0};
  const bool dropped = WaitForShot(
      [&](const ColourPicture& shot) {
        int left = shot.width, top = shot.height, right = -1, bottom = -1;
        for (int y = kMenuBarTop + kMenuBarHeight; y < shot.height; ++y)
          for (int x = 0; x < shot.width; ++x)
            if (At(shot, x, y) != At(closed, x, y)) {
              left = std::min(left, x), right = std::max(right, x);
              top = std::min(top, y), bottom = std::max(bottom, y);
            }
        menu = {left, top, right - left + 1, bottom - top + 1};
        return right >= 0;
      },
      5000, &open);
  if (!dropped) return false;
  // The frame's edges are not text.
  const std::vector<std::pair<int, int>> lines = TextLines(open, {menu.x + 3, menu.y + 3, menu.width - 6, menu.height - 6});
  const int count = static_cast<int>(lines.size());
  if (item < 0) item += count;
  if ((expectedLines > 0 && count != expectedLines) || item < 0 || item >= count) {
    Key("Escape");
    return false;
  }
  Click({menu.x + 24, (lines[static_cast<std::size_t>(item)].first + lines[static_cast<std::size_t>(item)].second) / 2});
  return true;
}

int RunningProgram::WaitForExit(int milliseconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  int status = 0;
  while (pid > 0) {
    if (waitpid(pid, &status, WNOHANG) == pid) {
      pid = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}

int RunningProgram::Terminate(int milliseconds) {
  if (pid > 0) kill(pid, SIGTERM);
  return WaitForExit(milliseconds);
}

std::string RunningProgram::Log() const {
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> RunningProgram::Alerts() const {
  std::vector<std::string> alerts;
  std::istringstream lines(Log());
  for (std::string line; std::getline(lines, line);)
    if (line.rfind('[', 0) == 0) alerts.push_back(line);
  return alerts;
}

}  // namespace app_test
