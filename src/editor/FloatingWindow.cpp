#include "editor/FloatingWindow.h"

#include "core/String.h"

namespace {

const String& Title() {
  static const String title("Outils");
  return title;
}

}  // namespace

FloatingWindow::FloatingWindow(int frameKind) : Window(&Title(), frameKind, false, false, 0, 0) {}

void FloatingWindow::Close() {
  if (shown) Toggle(true);
}

bool FloatingWindow::Toggle(bool flag) {
  if (flag) {
    shown = !shown;
    Show(shown);
  }
  return IsVisible();
}
