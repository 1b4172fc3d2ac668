// The saved links of one link folder, listed under a picture for the child to
// pick one; and the form that saves the address typed in the web-link dialog
// under a name.
#pragma once

#include <cstdint>

#include "app/links/LinkDialogSupport.h"
#include "core/FileReference.h"
#include "web/lists/LinkList.h"

class TextView;

// Set only while the add form runs for a web-link dialog: that dialog's own
// address, which the form's address field then edits in place.
extern SmartRef<String> gPendingLinkURL;

class LinkChooserDialog : public Dialog, public ControllableObserver {
  SMART_ABSTRACT(LinkChooserDialog)
 public:
  // Reads the whole folder (a file that is not a list is offered for deletion
  // first), then lays the dialog out and centres it.
  explicit LinkChooserDialog(FileReference *folder);
  ~LinkChooserDialog() override;

  // Entry i of the list becomes the chosen one and its address shows; 0 changes
  // nothing.
  void OnSelect(std::int32_t index);
  // The add form, without the chooser being shown; true when an entry was
  // saved. An entry that cannot be written raises the file's failure.
  bool AddLink();

  void RangeChanged(const Range *range) override;
  void TargetChanged(void *) override {}

  // The chosen entry's address, or null.
  SmartRef<String> GetSelectedURL() const { return selectedURL; }
  const LinkLists &GetLists() const { return lists; }
  ListView *GetListView() const { return pane.GetListView(); }
  TextView *GetURLField() const { return ~urlField; }

 private:
  void Layout();

  SmartRef<String> selectedURL;
  LinkLists lists;
  SmartRef<TextView> urlField;
  SmartRef<FileReference> folder;
  LinkListPane pane;
};
