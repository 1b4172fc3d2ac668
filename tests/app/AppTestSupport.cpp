#include "app/AppTestSupport.h"

#include <sys/stat.h>
#include <utime.h>

#include <filesystem>

#include "app/DromelApp.h"
#include "app/DromelResources.h"
#include "app/Seams.h"
#include "app/Welcome.h"
#include "ui/controls/PopupControl.h"
#include "core/Format.h"
#include "core/ObjectFile.h"
#include "core/Stream.h"
#include "editor/CBorderSize.h"
#include "editor/CDropperTool.h"
#include "editor/CToolsDir.h"
#include "editor/PaintToolsWindow.h"
#include "engine/EngineOptions.h"
#include "engine/EngineState.h"
#include "engine/memory/CMemory.h"
#include "engine/movie/CMovie.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "graphics/formats/ImageResource.h"
#include "platform/kernel/System.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "sound/SoundChannel.h"
#include "ui/text/TextView.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/WindowFrame.h"

namespace app_test {

namespace {

std::vector<Step>* gScript = nullptr;
std::size_t gNext = 0;
int gRunning = 0;

// Each tick runs the next step once its condition holds. A step that opens a modal dialog lets the
// following steps run from inside the dialog's loop; any other message pumping while a step runs (the
// progress of a long read) waits for the step to end.
void Drive(HWND, UINT, UINT_PTR, DWORD) {
  if (gScript == nullptr) return;
  if (gRunning > 0 && !(gApplication && gApplication->IsFrontModal())) return;
  if (gNext == gScript->size()) {
    gScript = nullptr;
    PostQuitMessage(0);
    return;
  }
  Step& step = (*gScript)[gNext];
  if (step.ready && !step.ready()) return;
  ++gNext;
  struct Running {
    Running() { ++gRunning; }
    ~Running() { --gRunning; }
  } running;
  if (step.act) step.act();
}

void Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  ADD_FAILURE() << "the program did not get through its script (stopped before step " << gNext << ")";
  gScript = nullptr;
  PostQuitMessage(-1);
}

std::string PageBytes(CShow& page) {
  const SmartRef<MemoryStream> stream = new MemoryStream();
  const SmartRef<ObjectFile> file = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~stream));
  file->Write(SmartRef<Smart>(&page));
  return std::string(reinterpret_cast<const char*>(stream->GetMemory().GetData()), stream->GetLength());
}

std::string PageBytes(std::int32_t width) {
  SmartRef<CMovieGroup> group(new CMovieGroup(Rect(0, 0, width, 360)));
  SmartRef<CShow> page(new CShow(~group, false));
  return PageBytes(*page);
}

}  // namespace

std::uint32_t PalettePageColor(int page) { return 0x305070 + 0x200000 * static_cast<std::uint32_t>(page); }

std::vector<int> WritePaletteData(editor_test::EditorData& data) {
  // The pages' looks: page 0 is pictures 501 and 502, page p > 0 pictures 501 + 10p and 502 + 10p.
  std::vector<int> pictures;
  for (int page = 0; page < 5; ++page) {
    for (int pressed = 0; pressed < 2; ++pressed) {
      const int n = 501 + 10 * page + pressed;
      pictures.push_back(n);
      gAppResources.GetImageResource(n)->Purge();
      const std::uint32_t rgb = pressed ? 0xF0F0F0 : PalettePageColor(page);
      data.WriteFile(1000 + n, "bmp", editor_test::BmpBytes(430, 50, [rgb](int, int) { return rgb; }));
    }
  }
  // The clear button of the command row.
  for (int n : {2030, 2031, 2032}) data.WritePicture(n, 20, 20, 0x808080);
  // The click sound, the palette's own sound, the clear button's, and the tools' use and hint sounds.
  for (int n : {0, 3, 4, 13, 20, 41, 43}) data.WriteSound(n);
  return pictures;
}

void ForgetAppPictures(const std::vector<int>& pictures) {
  for (int n : pictures) gAppResources.GetImageResource(n)->Purge();
}

void DromelAppTest::SetUp() {
  EditorProgramTest::SetUp();
  InstallAppSeams();
  ResetEngineState();
  platform::SetAvailableMemoryForTesting(100000000);
  // What the paint-tools window and its tools load, as the authoring application's tests give it.
  for (int n : {1, 2, 3, 14, 20, 22, 23, 31, 32, 33, 34, 35, 36, 40, 42, 60, 61}) data->WriteSound(n);
  data->WritePicture(30, 50, 75, 0x203040);
  data->WritePicture(31, 50, 75, 0x0000C0);
  data->WritePicture(24, 230, 60, 0xC0C0C0);
  data->WritePicture(20, 210, 25, 0xE0E0E0);
  data->WritePicture(21, 210, 25, 0x404040);
  for (int n : {2020, 2021, 2022}) data->WritePicture(n, 20, 70, 0xF0E0C0);
  // The application's own: the welcome, the start column and its title, the name dialog and its buttons.
  WriteAppPicture(420, 400, 300, 0x80C0FF);
  WriteAppPicture(551, 133, 390, 0xFFE080);
  WriteAppPicture(552, 133, 390, 0xC0A040);
  WriteAppPicture(553, 133, 40, 0x40A040);
  WriteAppPicture(800, 300, 80, 0xFFFFFF);
  for (int n : {702, 703, 704, 705}) WriteAppPicture(n, 60, 30, 0x808080);
  const std::vector<int> palette = WritePaletteData(*data);
  appPictures.insert(appPictures.end(), palette.begin(), palette.end());
  data->folder.MakeFolder("Projets");
  // The clip-art folder, which the "Catégorie" menu lists when the application is made.
  data->folder.MakeFolder("Vignette");
}

void DromelAppTest::TearDown() {
  ForgetProgram();
  ForgetAppPictures(appPictures);
  gEngineOptions = 4;
  platform::SetClockForTesting(nullptr);
  EditorProgramTest::TearDown();
  platform::SetAvailableMemoryForTesting(std::nullopt);
}

void DromelAppTest::ForgetProgram() { dromelapp_testing::Reset(); }

int DromelAppTest::RunDromel(std::vector<Step> script) {
  makeApp = [this] {
    if (onCreate) onCreate();
    return CreateDromelApp();
  };
  gScript = &script;
  gNext = 0;
  gRunning = 0;
  const UINT_PTR driver = SetTimer(nullptr, 0, 20, &Drive);
  const UINT_PTR watchdog = SetTimer(nullptr, 0, static_cast<UINT>(scriptTimeLimitMs), &Watchdog);
  const int code = FrameworkWinMain(reinterpret_cast<HINSTANCE>(0x400000), nullptr, nullptr, 0,
                                    &ProgramFixture::Factory);
  KillTimer(nullptr, watchdog);
  KillTimer(nullptr, driver);
  // A program that ends on its own before the script is through would leave the script's checks unrun.
  if (gScript != nullptr) ADD_FAILURE() << "the program ended before its script (stopped before step " << gNext << ")";
  gScript = nullptr;
  return code;
}

void DromelAppTest::WriteAppPicture(int n, int width, int height, std::uint32_t rgb) {
  appPictures.push_back(n);
  gAppResources.GetImageResource(n)->Purge();
  data->WriteFile(1000 + n, "bmp", editor_test::BmpBytes(width, height, [rgb](int, int) { return rgb; }));
}

void DromelAppTest::MakeProject(const std::string& project,
                                const std::vector<std::pair<std::string, long>>& pages) {
  data->folder.MakeFolder("Projets/" + project);
  std::int32_t width = 100;
  for (const auto& [name, seconds] : pages) {
    const std::string relative = "Projets/" + project + "/" + name + ".zod";
    data->folder.Write(relative, PageBytes(width++));
    const utimbuf times{seconds, seconds};
    utime((data->folder.Path() / relative).c_str(), &times);
  }
}

void DromelAppTest::WriteProjectPage(const std::string& project, const std::string& name, CShow& page) {
  data->folder.Write("Projets/" + project + "/" + name + ".zod", PageBytes(page));
}

std::string DromelAppTest::ProjectsPath(const std::string& child) const {
  return (data->folder.Path() / "Projets" / child).string();
}

bool DromelAppTest::Exists(const std::string& relative) const {
  return std::filesystem::exists(data->folder.Path() / relative);
}

Window* DromelAppTest::Front() { return gApplication ? ~gApplication->FrontWindow() : nullptr; }
bool DromelAppTest::StartupOver() { return gStartupDone && !gStartupInProgress && !FrontIsWelcome(); }
bool DromelAppTest::FrontIsWelcome() { return CastSmart<WelcomeDialog>(Front()) != nullptr; }
bool DromelAppTest::FrontIsNameDialog() { return CastSmart<ProjectNameDialog>(Front()) != nullptr; }

void DromelAppTest::EnterName(const std::string& name) {
  auto* dialog = CastSmart<ProjectNameDialog>(Front());
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(dialog->GetNameField(), nullptr);
  dialog->GetNameField()->SetText(String(name.c_str()));
  dialog->Accept();
}

void DromelAppTest::ChooseProject(const std::string& name) {
  auto* welcome = CastSmart<WelcomeDialog>(Front());
  ASSERT_NE(welcome, nullptr);
  ASSERT_NE(welcome->GetProjectPopup(), nullptr);
  ASSERT_TRUE(welcome->GetProjectPopup()->SelectByTitle(String(name.c_str()))) << name;
  welcome->Accept();
}

void DromelAppTest::CancelFront() {
  auto* dialog = CastSmart<Dialog>(Front());
  ASSERT_NE(dialog, nullptr);
  dialog->Cancel();
}

void DromelAppTest::AcceptFront() {
  auto* dialog = CastSmart<Dialog>(Front());
  ASSERT_NE(dialog, nullptr);
  dialog->Accept();
}

void DromelAppTest::ClickAt(Window& window, Point p) {
  POINT screen{p.x, p.y};
  ClientToScreen(window.GetFrame()->GetHandle(), &screen);
  platform::InjectMouseMove(screen.x, screen.y);
  platform::InjectMouseButton(screen.x, screen.y, platform::MouseButton::Left, true);
  platform::InjectMouseButton(screen.x, screen.y, platform::MouseButton::Left, false);
}

}  // namespace app_test
