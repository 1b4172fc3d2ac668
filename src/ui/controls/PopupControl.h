// The framework's drop-down choice: a pop-up control showing the chosen item of a menu. Clicking it opens
// the menu where it was clicked; choosing an item performs that item's command, as the menu bar would,
// and makes it the control's value.
#pragma once

#include "ui/controls/Control.h"

class PopupControl : public Control {
 public:
  // The control keeps to the top-left of its parent; the menu must be a pop-up menu (its popup word is
  // the current choice, 1 to begin with).
  PopupControl(View* parent, const Rect& frame, Menu* menu);
  ~PopupControl() override;

  // Chooses the first entry whose item text or sub-menu title is the text, byte for byte; false, leaving
  // the choice as it was, when there is none.
  bool SelectByTitle(const String& text);
  // The chosen item's text; a sub-menu's title, or nothing for a separator.
  void GetItemText(String* out) const;

 private:
  SmartRef<Menu> popupMenu;
};
