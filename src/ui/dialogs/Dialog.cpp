#include "ui/dialogs/Dialog.h"

#include <algorithm>

#include "core/Alert.h"
#include "core/Exception.h"
#include "platform/user/Window.h"
#include "ui/text/TextView.h"
#include "ui/shell/MessagePump.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/WindowFrame.h"

SMART_DEFINE_ABSTRACT(Dialog, "Dialog", Window)
SMART_DEFINE_ABSTRACT(RevealDialog, "RevealDialog", Dialog)

namespace {
constexpr SourceName kHeader("Dialog");
}  // namespace

namespace {
const ClassInfo* const kPickerParents[] = {&Dialog::classInfo, nullptr};
const ClassInfo* const kTypePickerParents[] = {&gPickerClassInfo, nullptr};
}  // namespace

// Nothing is ever made of these classes: no cast function, no factory.
const ClassInfo gPickerClassInfo = {"Picker", kPickerParents, nullptr, nullptr, nullptr, sizeof(Dialog)};
const ClassInfo gTypePickerClassInfo = {"TypePicker", kTypePickerParents, nullptr, nullptr, nullptr,
                                        sizeof(Dialog)};

Dialog::Dialog(int frameKind)
    : Window(nullptr, frameKind, false, false, Window::kDefaultWidth, Window::kDefaultHeight) {}

bool Dialog::KeyDown(std::int32_t key, std::int32_t modifiers) {
  switch (key) {
    case 27:
      Cancel();
      return true;
    case 3:
      Accept();
      return true;
    case 9:
      FocusNextField();
      return true;
    default:
      break;
  }
  if (View::KeyDown(key, modifiers)) return true;
  if (key != 13) return false;
  Accept();
  return true;
}

void Dialog::Close() {
  flags |= kClosed;
  Window::Close();
}

bool Dialog::Poll() {
  // Keeps the dialog alive through its own closing, which releases the application's reference.
  SmartRef<Dialog> keep(this);
  Refresh();
  if (!ProcessModalEvents(GetFrame()->GetHandle())) Cancel();
  return !IsClosed();
}

void Dialog::Cancel() {
  flags |= kCancelled;
  Close();
}

void Dialog::Accept() { Close(); }

void Dialog::FitToContent(bool usePreferred) {
  FitSize(usePreferred);
  const Point size = GetBounds().Size();
  SetSize(size.x + 10, size.y + 10);
}

void RevealDialog::ToggleReveal(View* part) {
  if (!part->IsHidden()) {
    part->Show(false);
    SetSize(savedWidth, savedHeight);
    return;
  }
  const Rect bounds = GetBounds();
  savedWidth = bounds.Width();
  savedHeight = bounds.Height();
  const Rect united = bounds.Union(part->GetBounds());
  part->Show(true);
  SetSize(united.Width(), united.Height());
  KeepInScreenArea();
}

void RevealDialog::KeepInScreenArea() {
  // Grown where it stood, the window may run past the screen area's edge, out of the child's reach: it
  // moves back in, its top-left corner kept in view when it is larger than the area.
  RECT outer;
  if (!GetWindowRect(GetFrame()->GetHandle(), &outer)) return;
  POINT corners[2] = {{outer.left, outer.top}, {outer.right, outer.bottom}};
  for (POINT& corner : corners) ScreenToClient(gMainWindow, &corner);
  const Rect area = LFWDecorator::Get().GetArea();
  const std::int32_t dx = std::max(std::min(0, area.right - corners[1].x), area.left - corners[0].x);
  const std::int32_t dy = std::max(std::min(0, area.bottom - corners[1].y), area.top - corners[0].y);
  if (dx == 0 && dy == 0) return;
  Rect moved = GetFrame()->GetGlobalBounds();
  moved.Offset(dx, dy);
  SetGlobalBounds(moved);
}

void Dialog::CollectTextFields(List* fields) const {
  const List& views = GetSubviews();
  for (std::int32_t n = 1; n <= views.NumItems(); ++n) {
    auto* field = CastSmart<TextView>(views.At(n));
    if (field != nullptr && field->IsEditing() && field->IsVisible()) fields->Append(field);
  }
}

void Dialog::FocusNextField() {
  List fields(&TextView::classInfo);
  CollectTextFields(&fields);
  const std::int32_t count = fields.NumItems();
  if (count == 0) return;
  SmartRef<View> current = GetTarget();
  const std::int32_t index = current ? fields.IndexOf(~current) : 0;
  const std::int32_t next = index != 0 && index < count ? index + 1 : 1;
  auto* field = CastSmart<TextView>(fields.At(next));
  SetTarget(field);
  field->SelectAll();
}

int DialogSignal::GetSignalStatus(Smart* watcher) {
  return CastSmart<Dialog>(watcher) ? kCommandEnabled : kCommandDisabled;
}

void DialogCancelSignal::Send(Smart* watcher) {
  RequireEnabled(watcher, kHeader.Line(87));
  CastSmart<Dialog>(watcher)->Cancel();
}

void DialogOKSignal::Send(Smart* watcher) {
  RequireEnabled(watcher, kHeader.Line(95));
  CastSmart<Dialog>(watcher)->Accept();
}
