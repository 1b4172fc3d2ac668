// Pictures of the composed screen, and their comparison with golden pictures checked in under
// tests/fixtures (QUILLORY_UPDATE_GOLDEN=1 writes them again after a deliberate change).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/user/Screen.h"
#include "platform/user/Window.h"
#include "support/Netpbm.h"
#include "support/ScreenPixels.h"

// The composed screen's pixels under a window, frame included.
inline ColourPicture ShotOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return ScreenPicture(r);
}

// `path` is relative to tests/fixtures; a picture that differs is written beside the build for a look.
inline void ExpectGolden(const std::string& path, const ColourPicture& picture) {
  const std::string golden = std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/" + path;
  if (const char* update = std::getenv("QUILLORY_UPDATE_GOLDEN"); update != nullptr && *update == '1') {
    ASSERT_TRUE(WritePpm(golden, picture));
  }
  const auto expected = ReadPpm(golden);
  ASSERT_TRUE(expected) << golden;
  if (!(*expected == picture)) {
    std::string name = path;
    for (char& c : name) c = c == '/' ? '-' : c;
    const std::string actual = std::string(QUILLORY_BINARY_DIR) + "/" + name;
    WritePpm(actual, picture);
    ADD_FAILURE() << "the picture differs from " << golden << "; it is in " << actual;
  }
}
