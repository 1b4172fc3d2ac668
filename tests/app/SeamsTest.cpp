#include <gtest/gtest.h>

#include "app/Seams.h"
#include "editor/Seams.h"
#include "engine/Seams.h"
#include "ui/Seams.h"

namespace {

// The program's one install must leave every library below it as the editor and the web library want it:
// the editor's frame panes and tools, the web library's sockets and link addresses.
TEST(AppSeamsTest, InstallFillsTheSeamsOfBothLibrariesBelow) {
  InstallAppSeams();
  InstallAppSeams();  // again, as a second fixture would: nothing changes
  EXPECT_NE(GetFrameEditHooks().makePixelPane, nullptr);
  EXPECT_NE(GetFrameEditHooks().makeTextPane, nullptr);
  EXPECT_NE(GetToolHooks().getTool, nullptr);
  EXPECT_NE(GetAppEditorHooks().isStagePane, nullptr);
  EXPECT_NE(GetInternetHooks().startup, nullptr);
  EXPECT_NE(GetInternetHooks().socketEvent, nullptr);
  EXPECT_NE(GetWebAddressHooks().addressClass, nullptr);
  EXPECT_NE(GetWebAddressHooks().makePageAddress, nullptr);
  EXPECT_NE(GetWindowClosingHook(), nullptr);
  EXPECT_NE(GetPageWindowHooks().makePageTool, nullptr);
}

}  // namespace
