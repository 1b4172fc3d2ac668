#include "ui/text/TextView.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Text1252.h"
#include "ui/shell/Clipboard.h"
#include "ui/menus/Menu.h"
#include "ui/controls/ScrollBar.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextCommands.h"
#include "ui/text/TextControl.h"

namespace {
constexpr SourceName kSource("TEXTVIEW");
}  // namespace

SMART_DEFINE_ABSTRACT(TextView, "TextView", View, Controllable, StyleSetter)

namespace {

constexpr std::int32_t kWholeText = 0x7FFF;

// Never destroyed: a menu released while the program's statics go would reach for a menu bar and a
// window system that may be gone already. The process's end frees it.
SmartRef<Menu>& TextMenu() {
  static auto* menu = new SmartRef<Menu>;
  return *menu;
}

constexpr std::int16_t kMenuSizes[] = {9, 10, 12, 14, 18, 24, 36, 48, 60, 72, 96};

struct StyleItem {
  const char* text;
  char shortcut;
  std::int32_t value;
};
constexpr StyleItem kStyleItems[] = {
    {"Standard"_cp, 0, kPlainStyle},
    {"Gras"_cp, 'B', kBoldStyle},
    {"Italique"_cp, 'I', kItalicStyle},
    {"Souligné"_cp, 'U', kUnderlineStyle},
};
constexpr StyleItem kAlignmentItems[] = {
    {"Cadrer à gauche"_cp, 0, kAlignLeft},
    {"Cadrer à droite"_cp, 0, kAlignRight},
    {"Centrer"_cp, 0, kAlignCenter},
};

}  // namespace

TextView::TextView(View* parent, const Rect& frame, String* shown, std::uint8_t anchoring, bool editable, bool grows,
                   bool multiLine, bool password)
    : View(parent, frame, anchoring, editable, true), text(CHECK_NOT_NULL(shown)) {
  flags = static_cast<std::uint8_t>((grows ? kGrows : 0) | (multiLine ? kMultiLine : 0) |
                                    (CastSmart<StyledText>(shown) ? kStyled : 0));
  SetEditable(editable, password);
  text->ToggleObserver(this);
}

TextView::~TextView() {
  text->ToggleObserver(this);
  SetEditable(false, false);
}

TextView* TextView::MakeForString(View* parent, String* text, const Rect& frame, bool vertical, bool horizontal,
                                  bool followParent) {
  SmartRef<TextView> view(new TextView(parent, ScrollBar::FrameRect(frame, vertical, horizontal), text,
                                       followParent ? kAnchorAll : kAnchorAll & ~kAnchorBottom, true, false, true,
                                       false));
  parent->AddSubview(~view);
  ScrollBar::AttachToView(parent, ~view, vertical, horizontal);
  return ~view;
}

SmartRef<Menu> TextView::MakeTextMenu() {
  SmartRef<Menu> menu(new Menu("Texte"_cp, 0));
  menu->AppendSubMenu(~Menu::MakeFontMenu("Police"_cp, &TextStyleCommand::MakeFontCommand));
  SmartRef<Menu> sizes(new Menu("Taille"_cp, 0));
  for (std::int16_t size : kMenuSizes) sizes->AppendItem(String(static_cast<int>(size)), 0, new SizeCommand(size));
  menu->AppendSubMenu(~sizes);
  SmartRef<Menu> styles(new Menu("Style"_cp, 0));
  for (const StyleItem& item : kStyleItems)
    styles->AppendItem(item.text, item.shortcut, new StyleBitsCommand(item.value));
  menu->AppendSubMenu(~styles);
  SmartRef<Menu> alignments(new Menu("Alignement"_cp, 0));
  for (const StyleItem& item : kAlignmentItems)
    alignments->AppendItem(item.text, item.shortcut, new AlignmentCommand(item.value));
  menu->AppendSubMenu(~alignments);
  return menu;
}

void TextView::SetTextMenu(Menu* menu) { TextMenu() = menu; }

SmartRef<Menu> TextView::GetTextMenu() { return TextMenu(); }

void TextView::SetEditable(bool editable, bool password) {
  if (editable == IsEditing()) return;
  if (editable) {
    CreateEditControl(password);
    // A styled text without a style of its own is edited in the field's plain one.
    if (flags & kStyled) {
      if (SmartRef<TextStyle> own = CastSmart<StyledText>(~text)->GetStyle()) SetTextStyle(own);
    }
    Invalidate(false);
    SetAcceptsTarget(true);
  } else {
    UpdateFromControl();
    editControl = nullptr;
    // The outline of the field goes, and the view draws the text itself.
    Invalidate(false);
    SetAcceptsTarget(false);
  }
}

Rect TextView::ControlFrame() const {
  Rect inside = GetBounds();
  inside.Inset(1);
  return inside;
}

void TextView::CreateEditControl(bool password) {
  editControl = new TextControl(this, ControlFrame(), *text, nullptr, password);
  editControl->SetSelection(0, kWholeText);
}

void TextView::UpdateFromControl() {
  if (!editControl || text->IsUnreferenced()) return;
  struct Copying {
    explicit Copying(bool& flag) : flag(flag) { flag = true; }
    ~Copying() { flag = false; }
    bool& flag;
  } copying(copyingFromControl);
  editControl->GetText(*text);
}

void TextView::RequireLiveText(int line) const {
  if (text->IsUnreferenced()) AssertFailed("!string->Garbage()", kSource.Line(line));
}

void TextView::SetText(const String& characters) {
  *text = characters;
  if (editControl) {
    RequireLiveText(758);
    editControl->SetText(*text);
  } else {
    Invalidate(false);
  }
  FitHeight();
}

void TextView::GetText(String* out) {
  UpdateFromControl();
  *out = *text;
}

void TextView::SetFilter(SmartRef<String> given, bool allows) {
  filter = std::move(given);
  filterAllows = allows;
}

void TextView::SelectAll() {
  if (editControl) editControl->SetSelection(0, kWholeText);
}

bool TextView::HasSelection() const {
  if (!editControl) return false;
  std::int32_t start = 0, end = 0;
  editControl->GetSelection(&start, &end);
  return start < end;
}

void TextView::FitHeight() {
  UpdateFromControl();
  if (!(flags & kGrows)) return;
  Rect range;
  GetSizeRange(&range);
  Rect fitted = GetBounds();
  fitted.bottom = fitted.top + range.bottom;
  if (fitted != GetBounds()) SetBounds(fitted);
}

void TextView::SetTextStyle(SmartRef<TextStyle> style) {
  if (!editControl) return;
  editControl->SetStyle(std::move(style), flags & kGrows);
  editControl->SetSelection(0, kWholeText);
  FitHeight();
}

SmartRef<TextStyle> TextView::GetTextStyle() { return editControl ? editControl->GetStyle() : nullptr; }

void TextView::DrawContent(DisplayPort& port, const Area&) {
  if (editControl) {
    // The native field paints the text; the view only outlines it.
    port.DrawRect(GetBounds(), standardColors[kTransparentColor], standardColors[1]);
  } else {
    text->Draw(port, GetBounds(), standardColors[1]);
  }
}

bool TextView::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) {
  if (editControl) {
    editControl->MouseDown(x, y, modifiers, clicks, window);
    return true;
  }
  return View::MouseDown(x, y, modifiers, clicks, window);
}

bool TextView::IsKeyAllowed(std::int32_t key) const {
  if (!filter || key < 32 || key > 255) return true;
  const std::string set = TextOf(*filter);
  if (set.empty()) return true;
  const bool inSet = set.find(static_cast<char>(key), 1) != std::string::npos;
  if (inSet != filterAllows) return false;
  return text->Length() < static_cast<unsigned char>(set[0]);
}

bool TextView::KeyDown(std::int32_t key, std::int32_t modifiers) {
  // Only a view being edited is the target; another has nothing to type into.
  if (!editControl) return false;
  if (key == 3) return false;  // the keypad's Enter is the dialog's
  if (key == 13 && !(flags & kMultiLine)) return false;
  if (key == 8 && HasSelection()) return false;  // the application makes it the Clear command
  if (IsKeyAllowed(key)) {
    editControl->KeyDown(key, modifiers);
    flags |= kChanged;
  }
  FitHeight();
  return true;
}

void TextView::Copy(Clipboard* clipboard) {
  std::int32_t start = 0, end = 0;
  if (editControl) editControl->GetSelection(&start, &end);
  SmartRef<String> current(new String);
  GetText(~current);
  const std::string characters = TextOf(*current);
  end = std::clamp(end, 0, static_cast<std::int32_t>(characters.size()));
  start = std::clamp(start, 0, end);
  const SmartRef<Smart> style(GetTextStyle());
  SmartRef<StyledText> copied(new StyledText(characters.data() + start, end - start, style));
  clipboard->SetScrap(~copied);
}

void TextView::Paste(Clipboard* clipboard, std::int32_t, std::int32_t, std::int32_t) {
  SmartRef<Smart> scrap(clipboard->GetScrap());
  if (!scrap || !ConvertSmart(&scrap, &String::classInfo)) return;
  const std::string pasted = TextOf(*CastSmart<String>(~scrap));
  std::int32_t start = 0, end = 0;
  if (editControl) editControl->GetSelection(&start, &end);
  SmartRef<String> current(new String);
  GetText(~current);
  std::string characters = TextOf(*current);
  start = std::clamp(start, 0, static_cast<std::int32_t>(characters.size()));
  characters.insert(static_cast<std::size_t>(start), pasted);
  SmartRef<String> combined(new String);
  combined->Insert(characters.data(), 0, static_cast<std::int32_t>(characters.size()));
  SetText(*combined);
  if (editControl) editControl->SetSelection(start, start + static_cast<std::int32_t>(pasted.size()));
  flags |= kChanged;
  FitHeight();
}

void TextView::Clear() {
  if (!editControl) return;
  editControl->Clear();
  flags |= kChanged;
  FitHeight();
}

bool TextView::CanEdit(int operation) {
  UpdateFromControl();
  return operation == kEditPaste || HasSelection();
}

void TextView::ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) {
  View::ResizeBy(dLeft, dTop, dRight, dBottom);
  if (editControl) editControl->SetBounds(ControlFrame());
  Invalidate(false);
  NotifyObservers();
}

void TextView::Activate(bool active) {
  if (!editControl) return;
  if (active) {
    RequireLiveText(547);
    editControl->SetText(*text);
  } else {
    UpdateFromControl();
    NotifyChanged();
  }
  editControl->Activate(active);
  if (active) FitHeight();
}

void TextView::GetSizeRange(Rect* range) {
  std::int32_t width = 0, height = 0;
  if (editControl) {
    const Point measured = editControl->MeasureText();
    width = std::max(kNeededWidth, measured.x + 2);
    height = std::max(kNeededHeight, measured.y + 2);
  } else {
    Point unwrapped, wrapped;
    text->Measure(unwrapped, 0);
    text->Measure(wrapped, GetBounds().Width());
    width = std::max(kNeededWidth, unwrapped.x);
    height = std::max(kNeededHeight, wrapped.y);
  }
  *range = Rect(0, 0, width, height);
}

void TextView::GetRange(std::int32_t, std::int32_t* min, std::int32_t* max) {
  ReportError("Not implemented.", kSource.Line(1161));
  *min = 0;
  *max = 0;
}

std::int32_t TextView::GetPageSize(std::int32_t) {
  ReportError("Not implemented.", kSource.Line(1185));
  return 0;
}

void TextView::SetValue(std::int32_t, std::int32_t) { ReportError("Not implemented.", kSource.Line(1218)); }

std::int32_t TextView::GetValue(std::int32_t) {
  ReportError("Not implemented.", kSource.Line(1252));
  return 0;
}

void TextView::Changed(const StringChange*) {
  if (!IsActive()) {
    flags |= kChanged;
    if (editControl && !copyingFromControl) editControl->SetText(*text);
    Invalidate(false);
  } else if (!editControl) {
    Invalidate(false);
  }
}
