// What the editor's suites share: the program's folder in a fresh temporary folder with the editor's seams
// installed, and stand-in pictures and sounds of the editor's set written into its "Data".
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "support/TempFolder.h"
#include "support/graphics/GraphicsFixture.h"

namespace editor_test {

class EditorTest : public GraphicsFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Picture n of the editor's set ("Data/<1000 + n>.bmp"): 24 bits, each pixel 0xRRGGBB as the function
  // answers. The set's cached copy goes with the test.
  void WritePicture(int n, int width, int height, const std::function<std::uint32_t(int x, int y)>& rgb);
  // Sound n of the editor's set: a short 8-bit mono WAVE.
  void WriteSound(int n);
  void WriteFile(int id, const std::string& extension, const std::string& bytes);

  TempFolder folder;  // the program's folder

 private:
  std::set<int> pictures;
};

// A 24-bit BMP file of the pixels.
std::string BmpBytes(int width, int height, const std::function<std::uint32_t(int x, int y)>& rgb);

}  // namespace editor_test
