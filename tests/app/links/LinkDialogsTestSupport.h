// What the suites of the link dialogs share: a script of steps that runs while
// a modal dialog polls (a timer takes one step at a time), and the link folder
// in a temporary folder.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "support/ui/ProgramFixture.h"
#include "ui/dialogs/Dialog.h"

class ModalScript {
 public:
  using Step = std::function<void(Dialog &front)>;
  // The steps run one per tick on the front-most dialog while some dialog
  // polls; a tick that finds no dialog in front waits for the next.
  explicit ModalScript(std::initializer_list<Step> steps);
  ~ModalScript();
  ModalScript(const ModalScript &) = delete;
  ModalScript &operator=(const ModalScript &) = delete;

  void Add(Step step) { steps.push_back(std::move(step)); }
  bool Done() const { return steps.empty(); }

 private:
  static void Tick(HWND, UINT, UINT_PTR, DWORD);
  std::deque<Step> steps;
  UINT_PTR timer = 0;
};

// Steps: the front dialog's text fields (in subview order) take the texts, an
// empty one a field left as it is; Enter; Esc.
ModalScript::Step Fill(std::initializer_list<const char *> texts);
ModalScript::Step Enter();
ModalScript::Step Escape();

// The front dialog's text fields, as bytes.
std::vector<std::string> FieldTexts(Dialog &dialog);

class LinkDialogFixture : public ProgramFixture {
 protected:
  void SetUp() override;
  SmartRef<FileReference> Folder() const;

  TempFolder folder;
};
