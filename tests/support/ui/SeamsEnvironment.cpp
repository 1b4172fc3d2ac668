// Every suite that links the window system's library runs with its seams installed, as the program does
// from start-up on; the suites above add their own install in their fixtures.
#include <gtest/gtest.h>

#include "ui/Seams.h"

namespace {

class UiSeamsEnvironment : public testing::Environment {
 public:
  void SetUp() override { InstallUiSeams(); }
};

[[maybe_unused]] testing::Environment* const gUiSeams = testing::AddGlobalTestEnvironment(new UiSeamsEnvironment);

}  // namespace
