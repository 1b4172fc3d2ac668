#include "engine/app/EngineAppTestSupport.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "core/File.h"
#include "core/ObjectFile.h"
#include "engine/page/CShow.h"

#include "core/Resources.h"
#include "engine/EngineState.h"
#include "engine/Seams.h"
#include "graphics/formats/ImageResource.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "engine/player/PlayerHooks.h"
#include "platform/kernel/System.h"
#include "platform/user/Input.h"
#include "platform/user/Window.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"
#include "ui/views/DocWindow.h"

namespace engine_test {

namespace {

// A plain play pane that becomes the application's active pane with its window, as the stage pane does.
class ActivatingPane : public CPanePlay {
 public:
  ActivatingPane(View* parent, CPlayer* player) : CPanePlay(parent, SmartRef<CPlayer>(player)) {}
  void Activate(bool active) override {
    CPanePlay::Activate(active);
    if (!gCHAApp) return;
    if (active) {
      gCHAApp->SetActivePane(this);
    } else {
      gCHAApp->ClearActivePane(this);
    }
  }
};

SmartRef<CPanePlay> MakeActivatingPane(View* container, CPlayer* player) {
  return SmartRef<CPanePlay>(new ActivatingPane(container, player));
}

void Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  ADD_FAILURE() << "the program did not stop by itself";
  PostQuitMessage(-1);
}

}  // namespace

void TestEngineApp::NewDocument() {
  if (onNewDocument) {
    onNewDocument();
    return;
  }
  CHAApp::NewDocument();
}

void EngineAppTest::SetUp() {
  ProgramFixture::SetUp();
  InstallEngineSeams();
  SetStagePaneMaker(&MakeActivatingPane);
  ResetEngineState();
  platform::SetAvailableMemoryForTesting(100000000);
  info.name = "Essai";
  info.version = "1.0";
  record.info = &info;
}

void EngineAppTest::TearDown() {
  // Sounds opened as pages cache the stock sound picture; it must go with the screen it was made for.
  stockResources.GetImageResource(1)->Purge();
  engineApp = nullptr;
  gCHAApp = nullptr;
  SetStagePaneMaker(nullptr);
  ProgramFixture::TearDown();
  platform::SetAvailableMemoryForTesting(std::nullopt);
  ResetEngineState();
}

void EngineAppTest::InEngineProgram(std::function<void()> body) {
  // A program that ends before its new document would leave the body's checks unrun.
  EXPECT_TRUE(RunEngineProgram(std::move(body))) << "the program ended before the body ran";
}

bool EngineAppTest::RunEngineProgram(std::function<void()> body) {
  bool ran = false;
  makeApp = [this, body, &ran] {
    if (prepareRecord) prepareRecord(record);
    auto* made = new TestEngineApp(record);
    SmartRef<App> held(made);
    engineApp = made;
    gCHAApp = SmartRef<CHAApp>(made);
    made->onNewDocument = [body, &ran] {
      ran = true;
      body();
      PostQuitMessage(0);
    };
    return held;
  };
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 20000, &Watchdog);
  FrameworkWinMain(nullptr, nullptr, nullptr, 0, &ProgramFixture::Factory);
  KillTimer(nullptr, watchdog);
  return ran;
}

SmartRef<FileReference> EngineAppTest::FileWith(const std::string& name, const std::string& bytes) {
  return SmartRef<FileReference>(new FileReference(folder.Write(name, bytes).c_str()));
}

SmartRef<FileReference> EngineAppTest::FixtureFile(const std::string& name, const std::string& fixture) {
  return FileWith(name, FixtureBytes(fixture));
}

DocWindow* EngineAppTest::OpenAsMenuDoes(FileReference& file) {
  gApplication->OpenFile(SmartRef<FileReference>(new FileReference(file)), false, false);
  return CastSmart<DocWindow>(~gApplication->FrontWindow());
}

void EngineAppTest::ClickPane(CPanePlay& pane, DocWindow& window, Point at) {
  POINT p{pane.GetBounds().left + at.x, pane.GetBounds().top + at.y};
  ClientToScreen(window.GetFrame()->GetHandle(), &p);
  for (int i = window.IsActive() ? 1 : 0; i < 2; ++i) {
    platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, true);
    platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, false);
    Pump();
  }
}

CPanePlay* PlayPaneOf(DocWindow* window) {
  if (window == nullptr) return nullptr;
  std::vector<View*> pending{window};
  while (!pending.empty()) {
    View* view = pending.back();
    pending.pop_back();
    if (auto* pane = CastSmart<CPanePlay>(view)) return pane;
    for (std::int32_t i = 1; i <= view->GetSubviews().NumItems(); ++i)
      pending.push_back(CastSmart<View>(view->GetSubviews().At(i)));
  }
  return nullptr;
}

SmartRef<FileReference> SavePageFile(TempFolder& folder, CShow& page, const std::string& name) {
  SmartRef<FileReference> reference(new FileReference(folder.Write(name).c_str()));
  const SmartRef<File> file(new File(~reference, kFileModeWrite));
  const SmartRef<ObjectFile> objects(new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~file)));
  objects->Write(SmartRef<Smart>(&page));
  return reference;
}

std::string FixtureBytes(const std::string& relative) {
  std::ifstream in(std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/" + relative, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace engine_test
