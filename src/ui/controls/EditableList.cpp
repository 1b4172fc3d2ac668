#include "ui/controls/EditableList.h"

#include "ui/controls/ListView.h"

namespace {
constexpr SourceName kSource("EDITLIST");
}  // namespace

SMART_COPY_CHECK_AT(EditableList, kSource.Line(20));
SMART_DEFINE(EditableList, "EditableList", nullptr, nullptr, Editable)

EditableList::EditableList(const List& list, const String& title, Editable* titleContainer, std::int32_t selected)
    : list(list), title(title), titleContainer(titleContainer) {
  if (selected != 0) selection.Insert(&selected, 0, 1);
}

EditableList::EditableList(const EditableList& other)
    : Smart(),
      Editable(other),
      SmartImplementation(other),
      list(other.list),
      title(other.title),
      titleContainer(other.titleContainer),
      selection(other.selection) {}

EditableList& EditableList::operator=(const EditableList& other) {
  list = other.list;
  title = other.title;
  titleContainer = other.titleContainer;
  selection = other.selection;
  return *this;
}

void EditableList::MakeEditor(Rect* bounds, View* parent, const Rect&) {
  SmartRef<ListView> view = ListView::CreateInView(parent, list, ~titleContainer, selection, true);
  view->GetBounds(bounds);
}
