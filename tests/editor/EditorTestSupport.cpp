#include "EditorTestSupport.h"

#include <filesystem>

#include "core/CoreState.h"
#include "core/Exception.h"
#include "core/Resources.h"
#include "core/Seams.h"
#include "editor/CDropperTool.h"
#include "editor/CTool.h"
#include "editor/KidResources.h"
#include "editor/Seams.h"
#include "graphics/formats/ImageResource.h"
#include "platform/backend/SdlBackend.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"

namespace editor_test {

namespace {

void Put(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

// The sound numbers a test may look for.
constexpr int kLastSoundChecked = 200;

}  // namespace

std::string BmpBytes(int width, int height, const std::function<std::uint32_t(int x, int y)>& rgb) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const auto pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
  std::string bmp = "BM";
  Put(bmp, 14 + 40 + pixelBytes, 4), Put(bmp, 0, 4), Put(bmp, 14 + 40, 4);
  Put(bmp, 40, 4), Put(bmp, static_cast<std::uint32_t>(width), 4), Put(bmp, static_cast<std::uint32_t>(height), 4);
  Put(bmp, 1, 2), Put(bmp, 24, 2), Put(bmp, 0, 4), Put(bmp, pixelBytes, 4);
  Put(bmp, 0, 4), Put(bmp, 0, 4), Put(bmp, 0, 4), Put(bmp, 0, 4);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) Put(bmp, rgb(x, y), 3);
    bmp.append(static_cast<std::size_t>(rowBytes - width * 3), '\0');
  }
  return bmp;
}

// The framework's own pictures (the stock patterns among them) and the palette, from the program's data;
// the editor's set (ids 1000 to 4999) is what each test writes.
EditorData::EditorData() {
  folder.MakeFolder("Data");
  namespace fs = std::filesystem;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(QUILLORY_SOURCE_DIR) / "data" / "Data")) {
    const std::string stem = entry.path().stem().string();
    const bool numbered = !stem.empty() && stem.find_first_not_of("0123456789") == std::string::npos;
    if (numbered && std::stoi(stem) >= 1000) continue;
    fs::copy_file(entry.path(), folder.Path() / "Data" / entry.path().filename());
  }
}

EditorData::~EditorData() {
  // The program's paints go back to their values before any application set them.
  gPaintForeground = standardColors[1];
  gPaintSecondColor = standardColors[0];
  gPaintBackground = standardColors[0];
  gChosenPattern = Pattern();
  gChosenPatternIndex = 0;
  for (int n : pictures) KidResources::GetImage(n)->Purge();
  for (int n = 0; n <= kLastSoundChecked; ++n) KidResources::GetSound(n)->Purge();
}

void EditorData::WriteFile(int id, const std::string& extension, const std::string& bytes) {
  folder.Write("Data/" + std::to_string(id) + "." + extension, bytes);
}

void EditorData::WritePicture(int n, int width, int height, const std::function<std::uint32_t(int x, int y)>& rgb) {
  pictures.insert(n);
  KidResources::GetImage(n)->Purge();
  WriteFile(1000 + n, "bmp", BmpBytes(width, height, rgb));
}

void EditorData::WriteSound(int n) {
  const std::string samples(200, '\x80');
  std::string wav = "RIFF";
  Put(wav, static_cast<std::uint32_t>(36 + samples.size()), 4);
  wav += "WAVEfmt ";
  Put(wav, 16, 4), Put(wav, 1, 2), Put(wav, 1, 2), Put(wav, 22050, 4), Put(wav, 22050, 4), Put(wav, 1, 2);
  Put(wav, 8, 2);
  wav += "data";
  Put(wav, static_cast<std::uint32_t>(samples.size()), 4);
  wav += samples;
  WriteFile(1000 + n, "wav", wav);
}

PlayedSounds* PlayedSounds::current = nullptr;

PlayedSounds::PlayedSounds() {
  current = this;
  SetSoundPlayer(&Record);
}

PlayedSounds::~PlayedSounds() {
  current = nullptr;
  InstallEditorSeams();
}

bool PlayedSounds::Record(Sound& sound, int) {
  if (current) current->played.push_back(&sound);
  return true;
}

std::vector<int> PlayedSounds::Numbers(const std::vector<int>& known) const {
  std::vector<int> numbers;
  for (Sound* sound : played) {
    int number = -1;
    for (int n : known)
      if (KidResources::GetSound(n)->Get() == sound) number = n;
    numbers.push_back(number);
  }
  return numbers;
}

void EditorTest::SetUp() {
  data = new EditorData;
  Prepare(32, Win95, data->folder.WinPath());
  InstallEditorSeams();
  TheCoreState().reportedPlaces.clear();
  TheCoreState().osApp = nullptr;
  record.instance = reinterpret_cast<HINSTANCE>(0x400000);
  Resources::SetOSApp(&record);
}

void EditorTest::TearDown() {
  delete data;
  TheCoreState().osApp = nullptr;
  GraphicsFixture::TearDown();
}

void EditorProgramTest::SetUp() {
  ProgramFixture::SetUp();
  // The program the fixture runs has no module of its own to load cursors from: the tools' shared
  // cursors are loaded from the program's cursors beforehand, as the real program's first tool does.
  MainWindowRecord program;
  program.instance = reinterpret_cast<HINSTANCE>(0x400000);
  Resources::SetOSApp(&program);
  LoadSharedToolCursors();
  TheCoreState().osApp = nullptr;
  data = new EditorData;
  Prepare(32, Win95, data->folder.WinPath());
  InstallEditorSeams();
  TheCoreState().reportedPlaces.clear();
}

void EditorProgramTest::TearDown() {
  ProgramFixture::TearDown();
  delete data;
}

ProgramCursors::ProgramCursors() : running(Resources::GetOSApp()), program(*running) {
  program.instance = reinterpret_cast<HINSTANCE>(0x400000);
  TheCoreState().osApp = nullptr;
  Resources::SetOSApp(&program);
}

ProgramCursors::~ProgramCursors() {
  TheCoreState().osApp = nullptr;
  Resources::SetOSApp(running);
}

void EditorProgramUnderX::PlayUnderX(const char* title, const std::function<void()>& body,
                                     const std::function<void()>& checks) {
  setenv("SDL_VIDEODRIVER", "x11", 1);
  SetUp();
  std::string error;
  auto sdl = platform::SdlBackend::Open(title, &error);
  if (sdl) {
    platform::SetBackend(std::move(sdl));
    Run([&] {
      body();
      PostQuitMessage(0);
    });
    checks();
  } else {
    ADD_FAILURE() << error;
  }
  TearDown();
  platform::SetBackend(nullptr);
}

void EditorProgramUnderX::LoopWithHand(TIMERPROC hand) {
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, hand);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  KillTimer(nullptr, timer);
}

Point OnScreen(HWND window, Point p) {
  POINT q{p.x, p.y};
  ClientToScreen(window, &q);
  return {q.x, q.y};
}

namespace {

std::string XdotoolMove(HWND window, const Point& p, bool sync) {
  const Point at = OnScreen(window, p);
  return std::string(" mousemove ") + (sync ? "--sync " : "") + "--window %1 " + std::to_string(at.x) + " " +
         std::to_string(at.y);
}

}  // namespace

std::string XdotoolGesture(HWND window, const std::vector<Point>& points) {
  std::string command = XdotoolMove(window, points.front(), true) + " sleep 0.3 mousedown 1";
  for (std::size_t n = 1; n < points.size(); ++n) command += " sleep 0.3" + XdotoolMove(window, points[n], false);
  return command + " sleep 0.3 mouseup 1";
}

std::string XdotoolDrag(const char* title, HWND window, Point activate, const std::vector<Point>& points,
                        const std::string& then) {
  return std::string("(timeout 20 xdotool search --sync --name '^") + title + "$' windowfocus --sync %1" +
         XdotoolMove(window, activate, true) + " click 1 sleep 0.3" + XdotoolGesture(window, points) + then +
         " sleep 0.2 mousemove --window %1 780 580) >/dev/null 2>&1 &";
}

}  // namespace editor_test
