// What the page compiler's tests share: an output folder ("HTML") of a fresh temporary project, pictures
// and sounds to publish, and a page compiled there and read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/FileReference.h"
#include "core/Progress.h"
#include "core/Sound.h"
#include "graphics/bitmaps/BitMap.h"
#include "support/TempFolder.h"
#include "support/graphics/GraphicsFixture.h"
#include "web/html/htmlElement.h"

namespace web_test {

// A picture whose pixel (x, y) is the colour 0xRRGGBB the function gives.
SmartRef<BitMap> MakePicture(int width, int height, const std::function<std::uint32_t(int, int)>& colour);
// A sound made by sox, checked in under tests/fixtures/sounds.
SmartRef<Sound> FixtureSound(const char* name);
std::string FixtureBytes(const std::string& relative);

// Records what the progress ranges show, and presses "Stop" once a given number of steps have passed.
class ProgressRecorder {
 public:
  ProgressRecorder();
  ~ProgressRecorder();
  std::vector<std::string> captions;  // the first dialog caption, then every caption set
  int stopAfterSteps = -1;            // -1: never
};

class PageTest : public GraphicsFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Compiles the root as the page of that name into the output folder and answers the page file's bytes.
  std::string Compile(htmlElement& root, const char* pageName);
  // The bytes of a file of the output folder.
  std::string Output(const std::string& name) const { return folder.Read("HTML/" + name); }
  bool OutputExists(const std::string& name) const;
  // The names in the output folder, sorted.
  std::vector<std::string> OutputNames() const;

  TempFolder folder;
  SmartRef<FileReference> output;
  // The files of the last compilation.
  List files{&FileReference::classInfo};
};

}  // namespace web_test
