// A real browser for the pages the program generates: headless Chromium loads a page file and gives back
// the document it built and what it showed. Every run has a time limit, so a browser that hangs fails the
// test that asked instead of stopping the suite.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/Netpbm.h"

struct BrowserView {
  bool loaded = false;
  std::string error;        // why nothing was loaded
  std::string dom;          // the document as serialised after loading, in UTF-8
  ColourPicture screenshot;  // the viewport, width x height
};

// Loads the page file (with the files beside it) in a viewport of the size. Answers loaded = false, with
// the reason, when Chromium is missing, fails or runs out of time.
BrowserView ViewInBrowser(const std::filesystem::path& page, int width, int height, int timeoutMs = 60000);

// What a script run in the browser answered.
struct BrowserAnswer {
  bool ran = false;
  std::string error;  // why there is no answer
  std::string text;   // the string the script returned, in UTF-8
};

// Runs a check in the browser over the pages of a folder, as a reader's browser sees them (file URLs, so
// that the check may look into them). The script is the body of an async JavaScript function; in it
// `await open(name)` loads the page file of that name (relative to the folder) in a frame and answers its
// document once the page and its pictures have loaded, `await follow(link)` clicks a link of the page in
// the frame and answers the document it leads to, and `frame` is the frame. What the function returns is
// the answer; an exception it raises is the error.
BrowserAnswer RunInBrowser(const std::filesystem::path& folder, const std::string& script, int timeoutMs = 60000);

// Runs a program with its arguments, its output going to the file, and kills it with everything it
// started when it is not done in time. Answers its exit status, or -1.
int RunProgramWithin(const std::vector<std::string>& command, const std::string& output, int timeoutMs);
