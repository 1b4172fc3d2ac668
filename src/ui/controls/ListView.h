// A pane that shows the elements of a list as a column of framed rows, one element's title per row. The
// pane scrolls by whole rows with a vertical scroll bar, selects a row with the mouse, and in an editable
// list opens an element in a document window on a double click and copies, pastes and clears elements.
// It watches its list, so that changes made elsewhere show at once.
#pragma once

#include <cstdint>

#include "core/GenericArray.h"
#include "core/ListData.h"
#include "core/ModelObserver.h"
#include "core/ObjectReference.h"
#include "ui/controls/Controllable.h"
#include "ui/views/View.h"

class ListView : public View, public ModelObserver, public Controllable {
  SMART_ABSTRACT(ListView)
 public:
  static constexpr std::int32_t kRowHeight = 24;
  // The narrowest a list pane wants to be.
  static constexpr std::int32_t kMinimumWidth = 150;

  // The pane starts with nothing selected; the selection array (1-based indexes) is kept for the owner.
  ListView(View* parent, const Rect& frame, const List& list, Editable* titleContainer,
           const GenericArray& selection, bool editable);
  ~ListView() override;
  SMART_NOT_COPYABLE

  // A list pane filling the parent but for the scroll bar's strip on the right, with its bar.
  static SmartRef<ListView> CreateInView(View* parent, const List& list, Editable* titleContainer,
                                         const GenericArray& selection, bool editable);

  void DrawContent(DisplayPort& port, const Area& area) override;
  // A click selects the row under it (none below the last row); a double click on the selected row of an
  // editable list opens that element in a document window.
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  // The selected element itself goes to the clipboard.
  void Copy(Clipboard* clipboard) override;
  // A copy of the clipboard's content goes in front of the selected element, or at the end when none is
  // selected, and is selected; nothing when it cannot be converted to the list's element class.
  void Paste(Clipboard* clipboard, std::int32_t first, std::int32_t second, std::int32_t third) override;
  // Removes the selected element; the one after it is selected then, none when it was the last.
  void Clear() override;
  // Inverts the selected row's inside; a second call takes it away.
  void Highlight() override;
  void Activate(bool active) override;
  // {150, 48, the widest title or 150, a row for every element}.
  void GetSizeRange(Rect* range) override;

  // The list changed: the pane redraws, the scroll bar reads it again, and a selection or a top row that
  // no longer exists is dropped.
  void Changed(const ListChange* change) override;

  // Command 0 is the vertical axis: positions 1 to the number of elements, the top row's element.
  void GetRange(std::int32_t command, std::int32_t* min, std::int32_t* max) override;
  std::int32_t GetPageSize(std::int32_t command) override;
  void SetValue(std::int32_t command, std::int32_t value) override;
  std::int32_t GetValue(std::int32_t command) override;

  void SetSelection(std::int32_t index);
  std::int32_t GetSelection() const { return selection; }
  std::int32_t GetFirstVisible() const { return firstVisible; }
  // The element under the point (only its height counts), or 0 where there is none.
  std::int32_t IndexAtPoint(std::int32_t x, std::int32_t y) const;
  void CheckSelection() const;
  bool IsEditable() const { return flags & kEditable; }
  const List& GetList() const { return list; }
  const GenericArray& GetSavedSelection() const { return savedSelection; }
  SmartRef<Editable> GetTitleContainer() const { return titleContainer; }

  // The row's frame and the inside that the selection inverts, for row k from the top.
  Rect RowBox(std::int32_t row) const;
  Rect HighlightRect(std::int32_t row) const;

 private:
  static constexpr std::uint8_t kEditable = 1;

  void InvertSelection(DisplayPort& port);
  void ToggleOnScreen();
  Rect SelectionHighlight() const;

  List list;
  SmartRef<Editable> titleContainer;
  GenericArray savedSelection;
  std::int32_t selection = 0;
  std::int32_t firstVisible = 0;
  std::uint8_t flags;
};

// One element of a list, as the document window opened from a list row edits it.
class ListItemReference : public ObjectReference {
 public:
  ListItemReference(const List& list, std::int32_t index) : list(list), index(index) {}

  // The element when it is editable; null out of range.
  Smart* GetObject() override;
  bool ObjectExists() override;
  bool CanReplaceObject() override { return true; }
  // The object, converted to the list's element class, goes in at the element's place and the element
  // moves one place down; nothing when it cannot be converted or the element is gone.
  void ReplaceObject(SmartRef<Smart> object) override;
  bool AcceptsObject(SmartRef<Smart> object) override { return bool(object); }

  std::int32_t GetIndex() const { return index; }

 private:
  List list;
  std::int32_t index;
};
