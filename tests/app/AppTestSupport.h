// The web-page application run for real on the headless screen, over a program folder of the test's own
// (a small "Data" of stand-in pictures and sounds, and "Projets"), driven by a script: each step waits
// until its condition holds (a dialog in front, say), then acts; the program quits after the last step.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/EditorTestSupport.h"

class CShow;
class Window;

namespace app_test {

// What a page window's tool palette loads: its five pages of buttons (each page in a colour of its own,
// page p in PalettePageColor(p)), the clear button, its sounds and its tools' sounds. Answers the
// application pictures written, which the application's set forgets after the test (ForgetAppPictures).
std::vector<int> WritePaletteData(editor_test::EditorData& data);
std::uint32_t PalettePageColor(int page);
void ForgetAppPictures(const std::vector<int>& pictures);

struct Step {
  std::function<bool()> ready;
  std::function<void()> act;
};

class DromelAppTest : public editor_test::EditorProgramTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the program through the steps; answers its exit code. Once the steps are done it quits.
  int RunDromel(std::vector<Step> script);
  // The application and every global it set are let go, as at the end of a run of the program.
  void ForgetProgram();

  // Picture n of the application's set (file 1000 + n), in one colour.
  void WriteAppPicture(int n, int width, int height, std::uint32_t rgb);
  // A project folder with pages "<name>.zod" whose modification times are the given seconds since the
  // epoch; an empty page document each, written by the program's own classes.
  void MakeProject(const std::string& project, const std::vector<std::pair<std::string, long>>& pages);
  // The page, written by the program's own classes, as "<name>.zod" of the project (in UTF-8 on disk).
  void WriteProjectPage(const std::string& project, const std::string& name, CShow& page);
  std::string ProjectsPath(const std::string& child = "") const;
  bool Exists(const std::string& relative) const;

  // Steps and conditions.
  // The start-up has run to its end: the welcome dialog and its loop are gone.
  static bool StartupOver();
  static bool FrontIsWelcome();
  static bool FrontIsNameDialog();
  static Window* Front();
  // Types the text into the name dialog's field, as a paste would (past the field's filter), and accepts.
  static void EnterName(const std::string& name);
  static void ChooseProject(const std::string& name);
  static void CancelFront();
  static void AcceptFront();
  // A click of the left button at the point of the window (its own coordinates), through the window
  // system; the message loop handles it.
  static void ClickAt(Window& window, Point p);

  std::vector<int> appPictures;
  // How long the program may take over its script before the test fails.
  int scriptTimeLimitMs = 20000;
  // Called just before the application is made.
  std::function<void()> onCreate;
};

}  // namespace app_test
