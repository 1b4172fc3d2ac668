// The program as a user meets it: started as its own process from a folder laid out as scripts/run lays
// it out, on the X display of an Xvfb child (support/XvfbChild.h), driven by xdotool and seen through
// screenshots of its window. Points and regions are in the program's screen (the SDL window's pixels),
// whatever the window's place on the X screen. Every wait has a bound.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/Netpbm.h"

namespace app_test {

struct Region {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;
};

// Lays out the program's folder as scripts/run does (the script's own step), with the program under test.
bool LayOutProgramFolder(const std::filesystem::path& folder);

// A picture file (BMP, PNG, JPEG, ...) read through ImageMagick; empty when it cannot be read.
ColourPicture ReadPicture(const std::filesystem::path& file);
// The same, scaled to the size (each pixel the mean of what it covers), as a thumbnail or a stretched
// background stands for the file.
ColourPicture ReadPicture(const std::filesystem::path& file, int width, int height);

// The pixels of the region of a picture (clipped to it).
ColourPicture Crop(const ColourPicture& picture, Region region);
// How many pixels of the region differ between two pictures of the same size.
int DifferingPixels(const ColourPicture& a, const ColourPicture& b, Region region);
// How many pixels of the region have that colour.
int PixelsOfColour(const ColourPicture& picture, Region region, std::uint32_t colour);

// Where the picture shows in the screenshot: the first place where its top row appears exactly and at
// least `fraction` of all its pixels match. None when it shows nowhere.
std::optional<ScreenPoint> FindPicture(const ColourPicture& shot, const ColourPicture& picture, double fraction = 1.0);

// The share of the picture's pixels, those of the colour `transparent` left out, that the screenshot
// shows exactly with the picture's top-left corner at `at` (0 where it does not fit).
double ShownShare(const ColourPicture& shot, const ColourPicture& picture, ScreenPoint at,
                  std::uint32_t transparent = 0x1000000);
// How unlike the picture the screenshot is with the picture's top-left corner at `at`: the mean
// difference of the colour channels, 0 (the same) to 255 (also where the picture does not fit).
double Unlikeness(const ColourPicture& shot, const ColourPicture& picture, ScreenPoint at);
// Where in the region the picture shows best, when its unlikeness there is at most `tolerance`: for
// pictures drawn by other means than the file's (a thumbnail, a picture stretched to a page).
std::optional<ScreenPoint> FindLikeness(const ColourPicture& shot, const ColourPicture& picture, Region within,
                                        double tolerance);

// Where a block of that size shows in one colour only (its top left corner), or none.
std::optional<ScreenPoint> FindBlock(const ColourPicture& shot, int width, int height, std::uint32_t colour);

// Horizontal lines of one colour in the region, as long as `minLength` to `maxLength` pixels: the left
// end of each (the top edges of text fields, of pop-ups), from the top down and left to right.
std::vector<ScreenPoint> HorizontalLines(const ColourPicture& shot, Region region, std::uint32_t colour, int minLength,
                                         int maxLength);

// Ink runs along a row band: the horizontal extents [first, last] of dark pixels in the band, runs closer
// than `gap` joined. Runs holding a coloured pixel (an icon, not text) are left out.
std::vector<std::pair<int, int>> TextRuns(const ColourPicture& shot, Region band, int gap);
// Lines of text down a column band: the vertical extents of rows holding dark pixels, with separator
// lines (rows dark over most of the band) left out.
std::vector<std::pair<int, int>> TextLines(const ColourPicture& shot, Region band);

class RunningProgram {
 public:
  // Starts the program in the folder (laid out already); its error output goes to a log there.
  explicit RunningProgram(const std::filesystem::path& folder);
  // A program still running is killed.
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // Waits for its window, titled "Quillory", and gives it the keyboard.
  bool FindWindow(int milliseconds);
  // The window's pixels now.
  ColourPicture Shot() const;
  // Takes shots until one passes the check or the time is over; answers whether one did, with the last
  // shot in `last`.
  bool WaitForShot(const std::function<bool(const ColourPicture&)>& check, int milliseconds, ColourPicture* last) const;

  void Click(ScreenPoint at) const;
  // The left button pressed at a point, the mouse moved with it held, and let go: a drag step by step,
  // for a test that waits for each step to show, as a careful hand does.
  void Press(ScreenPoint at) const;
  void MoveTo(ScreenPoint at) const;
  void Release() const;
  void Type(const std::string& text) const;
  // X key names as xdotool takes them ("Return", "ctrl+q").
  void Key(const std::string& keys) const;

  // Opens the menu bar's title number `title` (0 the first title), chooses its text line number `item`
  // (0 the first, -1 the last; separators not counted) and answers whether both were found. A menu holding
  // `expectedLines` lines of text is checked for that count first (0: not checked).
  bool ChooseMenuItem(int title, int item, int expectedLines = 0) const;

  // Waits for the program to end; answers its exit status, or -1 when it crashed or was still running.
  int WaitForExit(int milliseconds);
  // Asks it to end (SIGTERM) and waits as WaitForExit does.
  int Terminate(int milliseconds);
  // The alerts it has shown so far: the lines of its error output that are alerts ("[caption] text").
  std::vector<std::string> Alerts() const;
  std::string Log() const;
  const std::filesystem::path& Folder() const { return folder; }

 private:
  bool Xdotool(const std::string& arguments) const;

  std::filesystem::path folder;
  std::filesystem::path log;
  pid_t pid = -1;
  std::string window;
};

}  // namespace app_test
