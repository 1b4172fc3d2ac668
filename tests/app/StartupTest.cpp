#include <gtest/gtest.h>

#include <filesystem>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "app/DromelResources.h"
#include "editor/KidResources.h"
#include "editor/overview/COverview.h"
#include "engine/EngineOptions.h"
#include "app/StartPanel.h"
#include "app/Welcome.h"
#include "core/Text1252.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "ui/menus/Menu.h"
#include "ui/views/DocWindow.h"
#include "ui/views/LFWDecorator.h"

namespace app_test {
namespace {

using StartupTest = DromelAppTest;

TEST_F(StartupTest, FactorySetsTheOptionsAndEveryApplicationPointer) {
  Window* desk = nullptr;
  gOverviewScale = 3;
  RunDromel({{&FrontIsWelcome, [&] {
                EXPECT_EQ(gEngineOptions, 0x0Cu);
                EXPECT_EQ(gOverviewScale, 8);
                EXPECT_EQ(~gTumbletApp, static_cast<CTumbletApp*>(~gDromelApp));
                EXPECT_EQ(~gCHAApp, static_cast<CHAApp*>(~gDromelApp));
                EXPECT_EQ(~gApplication, static_cast<App*>(~gDromelApp));
                desk = ~gDeskWindow;
                ASSERT_NE(desk, nullptr);
                EXPECT_FALSE(desk->IsVisible()) << "the desk waits for the start-up";
                // Windows placed later stand 5 pixels to the right of the desk.
                EXPECT_EQ(LFWDecorator::Get().GetArea().left, desk->GetPosition().x + desk->GetBounds().Width() + 5);
                EXPECT_EQ(gDromelApp->GetStartPanel()->GetSelection(), StartButton::kFirstButton);
                EXPECT_EQ(gDromelApp->GetAppInfo().name, String("Quillory"));
                EXPECT_EQ(gDromelApp->GetAppInfo().version, String("v1.1C16"));
                CancelFront();
              }}});
  EXPECT_TRUE(alerts.Alerts().empty());
}

// Without the splash picture the welcome comes at once; cancelling it leaves the program running with its
// menus, without desk or project, and the start-up never comes back: the next new document is a page.
TEST_F(StartupTest, CancelledWelcomeLeavesTheMainWindowAndNeverRunsAgain) {
  RunDromel({{&FrontIsWelcome, [] { CancelFront(); }},
             {&StartupOver,
              [] {
                EXPECT_EQ(Front(), nullptr);
                EXPECT_FALSE(gDeskWindow->IsVisible());
                EXPECT_EQ(gDromelApp->GetProjectName(), nullptr);
                EXPECT_EQ(gProjectLockFile, nullptr);
                EXPECT_TRUE(gDromelApp->GetMenuBar()->GetMenus().NumItems() >= 1);
                gDromelApp->NewDocument();
              }},
             {nullptr, [] {
                EXPECT_FALSE(FrontIsWelcome()) << "the start-up ran a second time";
                EXPECT_NE(CastSmart<DocWindow>(Front()), nullptr) << "a new page";
              }}});
  EXPECT_TRUE(alerts.Alerts().empty());
}

// The splash holds at least five seconds on the program's clock, however fast that clock runs.
TEST_F(StartupTest, SplashHoldsFiveSecondsBeforeTheWelcome) {
  WriteAppPicture(422, 200, 100, 0xFF8040);
  DWORD now = 1000;
  platform::SetClockForTesting([&now] { return now += 50; });
  DWORD started = 0;
  DWORD welcomeShown = 0;
  onCreate = [&] { started = now; };
  RunDromel({{&FrontIsWelcome, [&] {
                welcomeShown = now;
                CancelFront();
              }}});
  EXPECT_GE(welcomeShown - started, 5000u);
}

TEST_F(StartupTest, WithoutDataOneAlertNamesTheMissingFolder) {
  EXPECT_TRUE(CheckProgramFolder());
  EXPECT_TRUE(alerts.Alerts().empty());
  std::filesystem::remove_all(data->folder.Path() / "Data");
  EXPECT_FALSE(CheckProgramFolder());
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_NE(alerts.Alerts()[0].text.find("\"Data\""), std::string::npos) << alerts.Alerts()[0].text;
  EXPECT_EQ(GetLastError(), 0u) << "no error left for the next check to report";
}

// A missing projects folder is reported once, by its name, and made; the welcome then comes.
TEST_F(StartupTest, AMissingProjectsFolderIsReportedAndMade) {
  std::filesystem::remove_all(data->folder.Path() / "Projets");
  bool welcomed = false;
  RunDromel({{&FrontIsWelcome, [&] {
                welcomed = true;
                CancelFront();
              }}});
  EXPECT_TRUE(welcomed);
  EXPECT_TRUE(std::filesystem::is_directory(data->folder.Path() / "Projets"));
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_NE(alerts.Alerts()[0].text.find("\"Projets\""), std::string::npos) << alerts.Alerts()[0].text;
}

TEST_F(StartupTest, ButtonLooksAndTheirFailure) {
  struct Row {
    int id;
    std::int16_t rows, columns, width, height;
  };
  for (const Row& row : {Row{400, 1, 5, 86, 50}, Row{404, 1, 5, 86, 50}, Row{405, 5, 1, 133, 78}}) {
    SmartRef<PaletteLook> look = ButtonLook(row.id);
    EXPECT_EQ(look->rows, row.rows) << row.id;
    EXPECT_EQ(look->columns, row.columns) << row.id;
    EXPECT_EQ(look->cellWidth, row.width) << row.id;
    EXPECT_EQ(look->cellHeight, row.height) << row.id;
    EXPECT_EQ(look->disabledImage, nullptr);
  }
  EXPECT_NE(ButtonLook(405), ButtonLook(405)) << "a new look on every call";
  for (int id : {399, 406}) {
    try {
      ButtonLook(id);
      ADD_FAILURE() << id;
    } catch (Exception* failure) {
      SmartRef<Exception> held(failure);
    }
  }
}

}  // namespace
}  // namespace app_test
