// The view that shows a String (or a StyledText) and lets the child edit it: dialog fields, labels,
// captions and the editor's text panes. Shown, it draws the text itself; edited, it hosts a native edit
// field one pixel inside its frame, and the String follows the field after every key, paste, clear and
// style change, when the view is deactivated, when editing stops and when the text is asked for.
#pragma once

#include <cstdint>

#include "core/ModelObserver.h"
#include "core/String.h"
#include "ui/controls/Controllable.h"
#include "ui/text/TextStyle.h"
#include "ui/views/View.h"

class Menu;
class TextControl;

class TextView : public View, public Controllable, public ModelObserver, public StyleSetter {
  SMART_ABSTRACT(TextView)
 public:
  // Not added to the parent: the caller does that. A growing view's height follows its text; a
  // multi-line one takes Return.
  TextView(View* parent, const Rect& frame, String* text, std::uint8_t anchoring, bool editable, bool grows,
           bool multiLine, bool password);
  ~TextView() override;
  SMART_NOT_COPYABLE

  // The editor of a String: an editable multi-line view in the frame less the scroll-bar strips, added to
  // the parent, with the bars asked for along the parent's edges.
  static TextView* MakeForString(View* parent, String* text, const Rect& frame, bool vertical, bool horizontal,
                                 bool followParent);
  // The "Texte" menu: sub-menus of the installed faces, the sizes, the style bits and the alignments.
  static SmartRef<Menu> MakeTextMenu();
  // The application's text menu, kept until the program ends (null: none).
  static void SetTextMenu(Menu* menu);
  static SmartRef<Menu> GetTextMenu();
  // The smallest size a text view asks for.
  static constexpr std::int32_t kNeededWidth = 50;
  static constexpr std::int32_t kNeededHeight = 24;

  bool IsEditing() const { return bool(editControl); }
  // The edit field while editing, else null.
  TextControl* GetEditControl() const { return ~editControl; }
  void SetEditable(bool editable, bool password);
  // The String takes the edit field's text (nothing for a String nothing holds any more).
  void UpdateFromControl();

  // The String takes the characters (its observers are told) and the view shows them.
  void SetText(const String& characters);
  // A copy of the text, the edit field's latest included.
  void GetText(String* out);
  // Typing restriction: the code of the filter's first character is the maximum length, its other
  // characters the set that alone may be typed (allows) or that may not be typed. Null: no restriction.
  void SetFilter(SmartRef<String> filter, bool allows);
  void SelectAll();
  bool HasSelection() const;
  // A growing view takes the height its text needs, shrinking as well as growing; the width stays.
  void FitHeight();
  // Set whenever the text changed through the view, or from outside while the view was inactive.
  bool HasChanged() const { return flags & kChanged; }
  void ClearChanged() { flags = static_cast<std::uint8_t>(flags & ~kChanged); }

  // The style setter: the edit field takes the style object itself, so a styled text being edited
  // shares its style with the field. Nothing while not editing.
  void SetTextStyle(SmartRef<TextStyle> style) override;
  SmartRef<TextStyle> GetTextStyle() override;

  void DrawContent(DisplayPort& port, const Area& area) override;
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  // Types the key into the edit field unless the filter refuses it; a refused key is swallowed.
  bool KeyDown(std::int32_t key, std::int32_t modifiers) override;
  void Idle() override {}
  // The selected characters, in the field's style, as a StyledText.
  void Copy(Clipboard* clipboard) override;
  // The clipboard's text goes in before the selected characters (which stay) and becomes the selection;
  // content that is not text is not pasted.
  void Paste(Clipboard* clipboard, std::int32_t first, std::int32_t second, std::int32_t third) override;
  void Clear() override;
  // After taking the field's text: paste always, the rest only with a selection.
  bool CanEdit(int operation) override;
  void ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) override;
  void Activate(bool active) override;
  // {0, 0, needed width, needed height}.
  void GetSizeRange(Rect* range) override;

  // Text views do not scroll through their model: each of these reports it and answers 0.
  void GetRange(std::int32_t command, std::int32_t* min, std::int32_t* max) override;
  std::int32_t GetPageSize(std::int32_t command) override;
  void SetValue(std::int32_t command, std::int32_t value) override;
  std::int32_t GetValue(std::int32_t command) override;

  // The String changed.
  void Changed(const StringChange* change) override;

 private:
  static constexpr std::uint8_t kGrows = 1;
  static constexpr std::uint8_t kMultiLine = 2;
  static constexpr std::uint8_t kStyled = 4;
  static constexpr std::uint8_t kChanged = 0x20;

  void CreateEditControl(bool password);
  bool IsKeyAllowed(std::int32_t key) const;
  void RequireLiveText(int line) const;
  Rect ControlFrame() const;

  SmartRef<TextControl> editControl;
  SmartRef<String> text;
  SmartRef<String> filter;
  bool filterAllows = false;
  std::uint8_t flags = 0;
  // While the String takes the field's own text, the field needs no reloading from it.
  bool copyingFromControl = false;
};
