// What the dialogs of saved links share: their pictures, the pane that lists
// the saved links, the form that takes a link's name and address, and the
// command of their buttons.
#pragma once

#include <cstdint>

#include "core/ListData.h"
#include "core/SourcePlace.h"
#include "core/String.h"
#include "graphics/bitmaps/BitMap.h"
#include "ui/controls/Controllable.h"
#include "ui/dialogs/Dialog.h"

class ListView;
class View;

// Where the link dialogs' assertions and file failures are reported from.
inline constexpr SourceName kLinkDialogSource("DROMEL/WebLinkDialog");

// Picture n of the application's numbered pictures (the "Data" file 1000 + n),
// or null when it is not there: a dialog then lays itself out without it rather
// than not opening at all.
SmartRef<BitMap> LinkDialogPicture(int n);
// The picture's width and height, or the fallback for a missing one.
Point PictureSize(const SmartRef<BitMap> &picture, Point fallback);

// The dialog fits its content, 10 pixels taller, and is centred.
void FitAndCentre(Dialog& dialog);

// A button of the link dialogs: enabled on a dialog, and calls one member of
// the dialog it is sent to. The dialog's class is checked by the action itself.
class WebLinkDialogCommand : public DialogSignal {
 public:
  using Action = void (*)(Dialog &dialog);
  WebLinkDialogCommand(Action action, int assertionLine) : action(action), assertionLine(assertionLine) {}
  void Send(Smart *watcher) override;

 private:
  Action action;
  int assertionLine;
};

// The list of saved links in a dialog: a frame holding the list pane over the
// names, titled "Liens", whose selections the observer hears of (command 1, the
// selected index first).
class LinkListPane {
 public:
  // The frame is in the dialog's coordinates.
  void Build(Dialog &dialog, ControllableObserver &observer, const List &names, const Rect &frame);
  // After the names changed: a new pane in the old one's place with nothing
  // selected, scrolled so that its first row is the fourth entry from the end.
  void Rebuild(Dialog &dialog, ControllableObserver &observer, const List &names);

  ListView *GetListView() const { return ~listView; }
  View *GetContainer() const { return ~container; }

 private:
  SmartRef<View> container;
  SmartRef<ListView> listView;
};

// Runs the form that takes a link's name and address over the two Strings
// (counted: the fields hold them), which it edits in place, until the child
// cancels it (false) or gives an entry a list line can hold (true). A form
// given no name or no address, or an entry no line can hold, is refused with an
// alert and comes back as it was.
bool RunLinkEntryForm(const SmartRef<String> &name, const SmartRef<String> &url, const String &okText);
