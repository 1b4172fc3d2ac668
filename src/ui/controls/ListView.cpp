#include "ui/controls/ListView.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/ObjectFile.h"
#include "core/String.h"
#include "graphics/Area.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "ui/views/DocWindow.h"
#include "ui/controls/ScrollBar.h"
#include "ui/views/Window.h"

namespace {
constexpr SourceName kSource("LISTVIEW");
}  // namespace

SMART_DEFINE_ABSTRACT(ListView, "ListView", View, Controllable)

namespace {

constexpr std::int32_t kBlack = 1;

}  // namespace

ListView::ListView(View* parent, const Rect& frame, const List& list, Editable* titleContainer,
                   const GenericArray& selection, bool editable)
    : View(parent, frame, kAnchorAll, true, false),
      list(list),
      titleContainer(titleContainer),
      savedSelection(selection),
      flags(editable ? kEditable : 0) {
  this->list->ToggleObserver(this);
  CheckSelection();
}

ListView::~ListView() { list->ToggleObserver(this); }

SmartRef<ListView> ListView::CreateInView(View* parent, const List& list, Editable* titleContainer,
                                          const GenericArray& selection, bool editable) {
  const Rect frame = ScrollBar::FrameRect(CHECK_NOT_NULL(parent)->GetBounds(), true, false);
  SmartRef<ListView> view(new ListView(parent, frame, list, titleContainer, selection, editable));
  parent->AddSubview(~view);
  ScrollBar::AttachToView(parent, ~view, true, false);
  return view;
}

Rect ListView::RowBox(std::int32_t row) const {
  const Rect b = GetBounds();
  return Rect(b.left + 2, b.top + kRowHeight * row + 2, b.right - 2, b.top + kRowHeight * (row + 1));
}

Rect ListView::HighlightRect(std::int32_t row) const {
  const Rect b = GetBounds();
  return Rect(b.left + 3, b.top + kRowHeight * row + 3, b.right - 3, b.top + kRowHeight * (row + 1) - 1);
}

void ListView::DrawContent(DisplayPort& port, const Area&) {
  const Rect bounds = GetBounds();
  const std::int32_t count = list.NumItems();
  for (std::int32_t row = 0; firstVisible + 1 + row <= count; ++row) {
    const Rect box = RowBox(row);
    if (box.top >= bounds.bottom) break;
    auto* element = CastSmart<Editable>(list.At(firstVisible + 1 + row));
    String* title = element ? element->GetTitle() : nullptr;
    if (title) title->Draw(port, box, Color(kBlack));
    port.DrawRect(box, Color(kTransparentColor), Color(kBlack), 1);
  }
  // Through the painting port, so that a partial repaint inverts only what it has just drawn; only an
  // active pane shows its selection (see Activate).
  if (IsActive()) InvertSelection(port);
}

Rect ListView::SelectionHighlight() const {
  if (selection == 0) return Rect::emptyRect;
  const Rect rect = HighlightRect(selection - 1 - firstVisible).Intersect(GetBounds());
  return rect.IsEmpty() ? Rect::emptyRect : rect;
}

void ListView::InvertSelection(DisplayPort& port) {
  const Rect rect = SelectionHighlight();
  if (!rect.IsEmpty()) port.InvertRect(rect);
}

void ListView::Highlight() {
  // An inactive pane shows no selection, so there is nothing to toggle.
  if (IsActive()) ToggleOnScreen();
}

// Called with the active flag already at its new value, so the toggle is unconditional: becoming active
// shows the selection, becoming inactive takes it away.
void ListView::Activate(bool) { ToggleOnScreen(); }

void ListView::ToggleOnScreen() {
  if (!IsVisible()) return;
  const Rect rect = SelectionHighlight();
  if (rect.IsEmpty()) return;
  DisplayPort port(GetDevice(), rect);
  port.InvertRect(rect);
  // A pane drawing off-screen shows the change on the window at once as well.
  DisplayDevice* windowFrame = GetWindowFrame();
  if (port.GetDevice() != windowFrame) {
    DisplayPort onWindow(windowFrame, rect);
    onWindow.InvertRect(rect);
  }
}

bool ListView::MouseDown(std::int32_t x, std::int32_t y, std::int32_t, std::int32_t clicks, View* window) {
  const std::int32_t index = IndexAtPoint(x, y);
  if (IsEditable() && clicks == 2 && index == selection && index != 0) {
    SmartRef<ListItemReference> item(new ListItemReference(list, selection));
    SmartRef<DocWindow> opened(new DocWindow(~item, ~titleContainer, CastSmart<DocWindow>(window), nullptr, true));
    OpenWindow(~opened);
    return true;
  }
  SetSelection(index);
  CheckSelection();
  return true;
}

void ListView::SetSelection(std::int32_t index) {
  if (index < 0 || index > list.NumItems()) AssertFailed("index <= num", __FILE__, __LINE__);
  Highlight();
  selection = index;
  Highlight();
  NotifyRange(selection, 1, 1);
  SmartRef<ViewCommand> command(new ViewCommand(new Area(GetBounds())));
  SendCommand(~command);
}

void ListView::Clear() {
  if (!IsEditable() || selection == 0) return;
  const std::int32_t removed = selection;
  if (selection >= list.NumItems()) selection = 0;
  list->Remove(removed, 1);
  NotifyRange(selection, 1, 1);
}

std::int32_t ListView::IndexAtPoint(std::int32_t, std::int32_t y) const {
  const std::int32_t index = firstVisible + 1 + (y - GetBounds().top) / kRowHeight;
  return index < 1 || index > list.NumItems() ? 0 : index;
}

void ListView::CheckSelection() const {
  if (!(selection <= list.NumItems())) AssertFailed("selection <= num", kSource.Line(454));
}

void ListView::Changed(const ListChange*) {
  // The list is shared: another pane or the program may remove the selected element or the rows shown.
  // The selection is then dropped rather than left naming an element that is not there, and the top row
  // comes back to the last element.
  const std::int32_t count = list.NumItems();
  if (selection > count) selection = 0;
  if (firstVisible >= count) firstVisible = std::max(0, count - 1);
  Invalidate(true);
  NotifyObservers();
  CheckSelection();
}

void ListView::GetRange(std::int32_t command, std::int32_t* min, std::int32_t* max) {
  const std::int32_t count = list.NumItems();
  const bool rows = command == 0 && count > 0;
  *min = rows ? 1 : 0;
  *max = rows ? count : 0;
}

std::int32_t ListView::GetPageSize(std::int32_t command) {
  if (command != 0) return 0;
  const Rect bounds = GetBounds();
  return (bounds.bottom - bounds.top) / kRowHeight;
}

void ListView::SetValue(std::int32_t command, std::int32_t value) {
  if (command != 0 || value <= 0) return;
  if (firstVisible == value - 1) return;
  firstVisible = value - 1;
  Invalidate(false);
}

std::int32_t ListView::GetValue(std::int32_t command) { return command == 0 ? firstVisible + 1 : 0; }

void ListView::GetSizeRange(Rect* range) {
  std::int32_t widest = kMinimumWidth;
  const std::int32_t count = list.NumItems();
  for (std::int32_t n = 1; n <= count; ++n) {
    auto* element = CastSmart<Editable>(list.At(n));
    String* title = element ? element->GetTitle() : nullptr;
    if (!title) continue;
    Point size{0, 0};
    title->Measure(size, 0);
    widest = std::max(widest, size.x);
  }
  *range = Rect(kMinimumWidth, 48, widest, kRowHeight * count);
}

Smart* ListItemReference::GetObject() {
  if (!ObjectExists()) return nullptr;
  return CastSmart<Editable>(list.At(index)) ? list.At(index) : nullptr;
}

bool ListItemReference::ObjectExists() { return index >= 1 && index <= list.NumItems(); }

void ListItemReference::ReplaceObject(SmartRef<Smart> object) {
  if (!object || !ObjectExists()) return;
  list->InsertItemConverted(index - 1, ~object);
}
