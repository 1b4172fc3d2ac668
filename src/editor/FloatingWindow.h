// The editor's tool windows ("Outils"): the child shows and hides them rather than opening and closing
// them, so their palettes and choices live on.
#pragma once

#include "ui/views/Window.h"

class FloatingWindow : public Window {
 public:
  // Sized by the subclass.
  explicit FloatingWindow(int frameKind);
  SMART_NOT_COPYABLE

  // Hides the window; it stays for the next toggle.
  void Close() override;
  // With the flag, a shown window is hidden and a hidden one shown; without it nothing changes. Answers
  // whether the window is visible.
  virtual bool Toggle(bool flag);
  bool IsShown() const { return shown; }

 private:
  bool shown = true;
};
