// A list pane's clipboard operations: elements go to the clipboard as they are, and come back as copies.
#include "core/ObjectReference.h"
#include "ui/shell/Clipboard.h"
#include "ui/controls/ListView.h"

void ListView::Copy(Clipboard* clipboard) {
  if (selection == 0) return;
  Smart* element = list.At(selection);
  clipboard->SetScrap(CastSmart<Editable>(element) ? element : nullptr);
}

void ListView::Paste(Clipboard* clipboard, std::int32_t, std::int32_t, std::int32_t) {
  if (!IsEditable()) return;
  const std::int32_t position = selection != 0 ? selection : list.NumItems() + 1;
  // A copy goes into the list: the same object twice in a list would make editing one entry edit the
  // other, and the clipboard could give it to yet another list.
  SmartRef<Smart> pasted = clipboard->GetScrap();
  if (pasted) {
    // A class without a copy of its own clones into a bare base object, which is no copy at all.
    SmartRef<Smart> copy = pasted->Clone();
    if (copy && copy->GetClassInfo() == pasted->GetClassInfo()) pasted = copy;
  }
  if (!list->InsertItemConverted(position - 1, ~pasted)) return;
  selection = position;
  NotifyRange(position, 1, 1);
}
