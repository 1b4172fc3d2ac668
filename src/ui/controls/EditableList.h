// Any list edited like a document: the list with a title, shown in a list pane that it builds itself. It
// remembers which entries are selected and which object's title leads the titles of windows opened from
// its rows.
#pragma once

#include <cstdint>

#include "core/GenericArray.h"
#include "core/ListData.h"
#include "core/ObjectReference.h"
#include "core/String.h"

class EditableList : public Editable, public SmartImplementation {
  SMART_CLASS(EditableList)
 public:
  // A selection of 0 selects nothing. The list is shared, not copied.
  EditableList(const List& list, const String& title, Editable* titleContainer, std::int32_t selected);
  EditableList(const EditableList& other);
  EditableList& operator=(const EditableList& other);

  // An editable list pane over the list, filling the parent; the frame is not used.
  void MakeEditor(Rect* bounds, View* parent, const Rect& frame) override;
  String* GetTitle() override { return &title; }

  const List& GetList() const { return list; }
  SmartRef<Editable> GetTitleContainer() const { return titleContainer; }
  const GenericArray& GetSelection() const { return selection; }

 private:
  List list;
  String title;
  SmartRef<Editable> titleContainer;
  GenericArray selection{sizeof(std::int32_t), 0};
};
