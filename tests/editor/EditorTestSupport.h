// What the editor's suites share: the program's folder in a fresh temporary folder with the editor's seams
// installed, stand-in pictures and sounds of the editor's set written into its "Data", and a record of the
// sounds played.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/Sound.h"
#include "platform/user/Timer.h"
#include "support/TempFolder.h"
#include "support/graphics/GraphicsFixture.h"
#include "support/ui/ProgramFixture.h"
#include "ui/shell/WinMain.h"
#include "ui/views/Window.h"
#include "ui/views/WindowNotifier.h"

namespace editor_test {

// The program's folder of one test, with the editor's pictures and sounds the test writes.
class EditorData {
 public:
  EditorData();
  // The set's cached copies of the test's pictures go with it, and the paints go back to their first
  // values.
  ~EditorData();
  EditorData(const EditorData&) = delete;
  EditorData& operator=(const EditorData&) = delete;

  // Picture n of the editor's set ("Data/<1000 + n>.bmp"): 24 bits, each pixel 0xRRGGBB as the function
  // answers.
  void WritePicture(int n, int width, int height, const std::function<std::uint32_t(int x, int y)>& rgb);
  // Picture n in one colour.
  void WritePicture(int n, int width, int height, std::uint32_t rgb) {
    WritePicture(n, width, height, [rgb](int, int) { return rgb; });
  }
  // Sound n of the editor's set: a short 8-bit mono WAVE.
  void WriteSound(int n);
  void WriteFile(int id, const std::string& extension, const std::string& bytes);

  TempFolder folder;

 private:
  std::set<int> pictures;
};

// Sounds go to this record instead of the sound card while it lives.
class PlayedSounds {
 public:
  PlayedSounds();
  ~PlayedSounds();
  PlayedSounds(const PlayedSounds&) = delete;
  PlayedSounds& operator=(const PlayedSounds&) = delete;

  // The editor's sound numbers played, in order, looked for among those given (-1 for any other sound).
  std::vector<int> Numbers(const std::vector<int>& known) const;
  void Clear() { played.clear(); }

 private:
  static bool Record(Sound& sound, int argument);
  static PlayedSounds* current;
  std::vector<Sound*> played;
};

class EditorTest : public GraphicsFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  EditorData* data = nullptr;
  MainWindowRecord record;
};

// The program running, over a folder of the test's own.
class EditorProgramTest : public ProgramFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  EditorData* data = nullptr;
};

// While it lives, the program's cursors (the brush's shapes among them), which a test program has none
// of, come from the program's module.
class ProgramCursors {
 public:
  ProgramCursors();
  ~ProgramCursors();
  ProgramCursors(const ProgramCursors&) = delete;
  ProgramCursors& operator=(const ProgramCursors&) = delete;

 private:
  const MainWindowRecord* running;
  MainWindowRecord program;
};

// The program running on the real X display of an Xvfb child (support/XvfbChild.h), in an SDL window.
class EditorProgramUnderX : public EditorProgramTest {
 public:
  void TestBody() override {}

 protected:
  // Runs the body in the program in a window of that title, then the checks while the test's records
  // (alerts, the folder) are still there, and leaves the display.
  void PlayUnderX(const char* title, const std::function<void()>& body, const std::function<void()>& checks);
  // A message loop of the body's own, with the hand called every 100 ms, until the hand posts the quit.
  static void LoopWithHand(TIMERPROC hand);
};

// The screen point of a point in the window's client area, where xdotool moves the real pointer.
Point OnScreen(HWND window, Point p);

// The xdotool command line, run in the background, that finds the window of that title, clicks at
// `activate` (the first click on a window only activates it), makes the gesture below through the points,
// runs the xdotool commands `then` (more gestures, keys), and takes the pointer off to (780, 580) where no
// screenshot looks.
std::string XdotoolDrag(const char* title, HWND window, Point activate, const std::vector<Point>& points,
                        const std::string& then = "");
// The xdotool commands of one gesture in the window found as %1: a press at the first point, moves through
// the others 0.3 s apart, and the release.
std::string XdotoolGesture(HWND window, const std::vector<Point>& points);

// Takes the window's undoable actions onto its undo list, as a page window does; a plain window under X
// has nobody else to do it.
class UndoList : public AppCommandSink {
 public:
  explicit UndoList(Window* window) : window(window) {}
  void Changed(void*) override {}
  void AddUndoable(Task* task) override { window->AddUndoable(task); }
  void WindowOpened(Window*) override {}
  void WindowClosed(Window*) override {}
  void DoCommand(GenericSignal*) override {}

 private:
  Window* window;
};

// A 24-bit BMP file of the pixels.
std::string BmpBytes(int width, int height, const std::function<std::uint32_t(int x, int y)>& rgb);

}  // namespace editor_test
