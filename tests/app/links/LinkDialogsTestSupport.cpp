#include "app/links/LinkDialogsTestSupport.h"

#include <gtest/gtest.h>

#include "core/FileReference.h"
#include "ui/Seams.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Timer.h"
#include "ui/text/TextView.h"

namespace {

ModalScript *gScript = nullptr;

Dialog *FrontDialog() {
  SmartRef<Window> front = Window::FrontWindow(nullptr, false);
  return static_cast<Dialog *>(CastSmart(~front, &Dialog::classInfo));
}

void Press(int key) {
  platform::InjectKey(key, true);
  platform::InjectKey(key, false);
}

}  // namespace

ModalScript::ModalScript(std::initializer_list<Step> steps) : steps(steps) {
  gScript = this;
  timer = SetTimer(nullptr, 0, 20, &Tick);
}

ModalScript::~ModalScript() {
  KillTimer(nullptr, timer);
  gScript = nullptr;
}

void ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (gScript == nullptr || gScript->steps.empty()) return;
  Dialog *front = FrontDialog();
  if (front == nullptr || front->IsClosed()) return;
  Step step = std::move(gScript->steps.front());
  gScript->steps.pop_front();
  step(*front);
}

ModalScript::Step Fill(std::initializer_list<const char *> texts) {
  std::vector<std::string> wanted(texts.begin(), texts.end());
  return [wanted](Dialog &dialog) {
    List fields(&TextView::classInfo);
    dialog.CollectTextFields(&fields);
    ASSERT_GE(fields.NumItems(), static_cast<std::int32_t>(wanted.size()));
    for (std::size_t n = 0; n < wanted.size(); ++n) {
      if (wanted[n].empty()) continue;
      CastSmart<TextView>(fields.At(static_cast<std::int32_t>(n) + 1))->SetText(String(wanted[n].c_str()));
    }
  };
}

ModalScript::Step Enter() {
  return [](Dialog &) { Press(VK_RETURN); };
}

ModalScript::Step Escape() {
  return [](Dialog &) { Press(VK_ESCAPE); };
}

std::vector<std::string> FieldTexts(Dialog &dialog) {
  List fields(&TextView::classInfo);
  dialog.CollectTextFields(&fields);
  std::vector<std::string> texts;
  for (std::int32_t n = 1; n <= fields.NumItems(); ++n) {
    String text;
    CastSmart<TextView>(fields.At(n))->GetText(&text);
    texts.push_back(TextOf(text));
  }
  return texts;
}

void LinkDialogFixture::SetUp() {
  ProgramFixture::SetUp();
  // The test program opens no sockets: the web library's socket hooks, left by a suite that installed the
  // application's seams, would close what was never started.
  SetInternetHooks({});
}

SmartRef<FileReference> LinkDialogFixture::Folder() const { return new FileReference(folder.WinPath().c_str()); }
