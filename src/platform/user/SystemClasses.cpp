#include "platform/user/SystemClasses.h"

#include <strings.h>

#include <vector>

#include "platform/user/Cursor.h"

namespace platform::user {

namespace {

std::shared_ptr<WindowClass> MakeClass(const char* name, WNDPROC procedure, UINT style, LPCSTR cursor = IDC_ARROW) {
  auto c = std::make_shared<WindowClass>();
  c->name = name;
  c->info.style = style;
  c->info.lpfnWndProc = procedure;
  c->info.hCursor = LoadCursorA(nullptr, cursor);
  return c;
}

}  // namespace

std::shared_ptr<WindowClass> FindSystemClass(LPCSTR name) {
  // Atoms name only the program's own classes.
  if (name == nullptr || reinterpret_cast<std::uintptr_t>(name) < 0x10000) return nullptr;
  // Made once and kept for the run, like the system's own classes, whatever becomes of the program's.
  static const std::vector<std::shared_ptr<WindowClass>> classes{
      MakeClass("BUTTON", &ButtonProcedure, CS_DBLCLKS),
      MakeClass("SCROLLBAR", &ScrollBarProcedure, CS_DBLCLKS),
      MakeClass("EDIT", &EditProcedure, CS_DBLCLKS, IDC_IBEAM),
  };
  for (const auto& c : classes) {
    if (strcasecmp(c->name.c_str(), name) == 0) return c;
  }
  return nullptr;
}

}  // namespace platform::user
