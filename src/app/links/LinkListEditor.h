// The editor of a link folder's saved links: the child picks an entry, changes
// its name and address or deletes it, and the file that holds it is written
// again.
#pragma once

#include <cstdint>

#include "app/links/LinkDialogSupport.h"
#include "core/FileReference.h"
#include "web/lists/LinkList.h"

class TextView;

class LinkListEditor : public Dialog, public ControllableObserver {
  SMART_ABSTRACT(LinkListEditor)
 public:
  // Reads the whole folder (a file that is not a list is offered for deletion
  // first), then lays the dialog out and centres it, with nothing chosen.
  explicit LinkListEditor(FileReference *folder);
  ~LinkListEditor() override;

  // Entry i becomes the chosen one and its address shows; 0 chooses none.
  void OnSelect(std::int32_t index);
  // The change form over copies of the chosen entry; a saved change rewrites
  // the entry's file and keeps the entry chosen. Nothing without a chosen
  // entry.
  void ChangeLink();
  // After the child's OK, the chosen entry leaves its file (a file left empty
  // is removed) and the lists. Nothing without a chosen entry.
  void DeleteLink();

  void RangeChanged(const Range *range) override;
  void TargetChanged(void *) override {}

  SmartRef<String> GetSelectedURL() const { return selectedURL; }
  SmartRef<String> GetSelectedName() const { return selectedName; }
  std::int32_t GetSelectedIndex() const { return selectedIndex; }
  const LinkLists &GetLists() const { return lists; }
  ListView *GetListView() const { return pane.GetListView(); }
  TextView *GetURLField() const { return ~urlField; }

 private:
  void Layout();
  bool HasChoice() const { return selectedIndex != 0 && selectedName && selectedURL; }
  String &EntryText(const List &list, std::int32_t index) const { return *CastSmart<String>(list.At(index)); }

  SmartRef<String> selectedName;
  SmartRef<String> selectedURL;
  std::int32_t selectedIndex = 0;
  LinkLists lists;
  SmartRef<TextView> urlField;
  SmartRef<FileReference> folder;
  LinkListPane pane;
};
