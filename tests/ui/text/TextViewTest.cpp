#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "ui/TextEditing.h"
#include "platform/user/Edit.h"
#include "ui/shell/Clipboard.h"
#include "ui/menus/Menu.h"
#include "ui/controls/ScrollBar.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextCommands.h"

namespace {

using TextViews = TextEditing;

// Records the changes a String tells of.
class Watcher : public ModelObserver {
 public:
  void Changed(const StringChange* change) override { changes.push_back(change ? *change : StringChange{}); }
  std::vector<StringChange> changes;
};

// Counts the "content changed" notices a window's sinks get.
class ChangeSink : public AppCommandSink {
 public:
  void Changed(void*) override { ++changes; }
  void AddUndoable(Task*) override {}
  void WindowOpened(Window*) override {}
  void WindowClosed(Window*) override {}
  void DoCommand(GenericSignal*) override {}
  int changes = 0;
};

HWND FieldOf(const TextView& view) { return view.GetEditControl()->GetOSControl()->window; }

TEST_F(TextViews, TypingEditsTheStringAndTellsItsObservers) {
  InWindow([&](ControlWindow& window) {
    SmartRef<String> text(new String("x"));
    Watcher watcher;
    text->ToggleObserver(&watcher);
    SmartRef<TextView> view = EditedView(window, ~text, Rect(10, 10, 200, 80));
    Pump();
    ASSERT_EQ(GetFocus(), FieldOf(*view));
    Type("\xC9t\xE9");
    EXPECT_EQ(TextOf(*text), "\xC9t\xE9") << "the first character replaces the whole text, selected at the start";
    EXPECT_GE(watcher.changes.size(), 3u) << "told after every key";
    EXPECT_TRUE(view->HasChanged());

    Press(VK_BACK);
    EXPECT_EQ(TextOf(*text), "\xC9t");
    Press(VK_HOME, true);
    Press(VK_DELETE, true);
    EXPECT_EQ(TextOf(*text), "t") << "Delete removes the character after the caret";
    Press(VK_END, true);
    Press(VK_DELETE, true);
    EXPECT_EQ(TextOf(*text), "t") << "at the end Delete removes nothing";
    Press(VK_BACK);
    Press(VK_BACK);
    EXPECT_EQ(TextOf(*text), "");
    text->ToggleObserver(&watcher);
  });
}

// With a selection, Delete and Backspace are the application's Clear command: an undoable clipboard task
// whose undo pastes the characters back and selects them.
TEST_F(TextViews, ASelectionIsClearedAsAnUndoableCommand) {
  InWindow([&](ControlWindow& window) {
    for (int key : {VK_DELETE, VK_BACK}) {
      SmartRef<String> text(new String("abcdef"));
      SmartRef<TextView> view = EditedView(window, ~text, Rect(10, 10, 200, 80));
      view->GetEditControl()->SetSelection(1, 4);
      Pump();
      Press(key, key == VK_DELETE);
      EXPECT_EQ(TextOf(*text), "aef") << key;
      window.UndoRedo();
      EXPECT_EQ(TextOf(*text), "abcdef");
      Pump();
      EXPECT_EQ(Selection(*view->GetEditControl()), std::make_pair(1, 4));
      window.RemoveSubview(~view);
    }
  });
}

TEST_F(TextViews, ReturnIsTypedOnlyIntoAMultiLineView) {
  InWindow([&](ControlWindow& window) {
    for (bool multiLine : {true, false}) {
      SmartRef<String> text(new String(""));
      SmartRef<TextView> view = EditedView(window, ~text, Rect(10, 10, 200, 80), false, multiLine);
      Pump();
      app->keys.clear();
      Type("a");
      Press(VK_RETURN);
      Type("b");
      EXPECT_EQ(TextOf(*text), multiLine ? "a\r\nb" : "ab");
      EXPECT_EQ(app->keys, multiLine ? std::vector<int>{} : std::vector<int>{13})
          << "a single-line view leaves Return to the window and the application";
      window.RemoveSubview(~view);
    }
  });
}

TEST_F(TextViews, TheFilterRefusesCharactersAndLimitsTheLength) {
  InWindow([&](ControlWindow& window) {
    // A space first: at most 32 characters.
    const SmartRef<String> set(new String(" abcdefghijklmnopqrstuvwxyz0123456789.,-!? "));
    struct Case {
      bool allows;
      const char* typed;
      const char* kept;
    } cases[] = {
        {true, "ab#c d\x80", "abc d"},
        {true, "0123456789012345678901234567890123", "01234567890123456789012345678901"},
        {false, "ab#c d\x80", "#\x80"},
    };
    for (const Case& c : cases) {
      SmartRef<String> text(new String(""));
      SmartRef<TextView> view = EditedView(window, ~text, Rect(10, 10, 300, 80));
      view->SetFilter(set, c.allows);
      Pump();
      Type(c.typed);
      Press(VK_RETURN);
      EXPECT_EQ(TextOf(*text), std::string(c.kept) + "\r\n") << c.typed << ": Return is never filtered";
      window.RemoveSubview(~view);
    }
  });
}

TEST_F(TextViews, AGrowingViewFollowsItsLinesBothWaysAndAnotherKeepsItsFrame) {
  InWindow([&](ControlWindow& window) {
    for (bool grows : {true, false}) {
      const Rect frame(10, 10, 200, 40);
      SmartRef<String> text(new String(""));
      SmartRef<TextView> view = EditedView(window, ~text, frame, grows);
      Pump();
      Type("un");
      const std::int32_t oneLine = view->GetBounds().Height();
      for (int n = 0; n < 4; ++n) {
        Press(VK_RETURN);
        Type("ligne");
      }
      const std::int32_t fiveLines = view->GetBounds().Height();
      view->SetText(String("court"));
      const std::int32_t shortAgain = view->GetBounds().Height();
      if (grows) {
        EXPECT_GT(fiveLines, oneLine);
        EXPECT_EQ(shortAgain, oneLine) << "the view shrinks again";
        EXPECT_EQ(view->GetBounds().Width(), frame.Width());
        RECT field;
        GetWindowRect(FieldOf(*view), &field);
        EXPECT_EQ(field.bottom - field.top, view->GetBounds().Height() - 2) << "the field stays one pixel inside";
      } else {
        EXPECT_EQ(view->GetBounds(), frame);
        EXPECT_EQ(fiveLines, frame.Height());
      }
      window.RemoveSubview(~view);
    }
  });
}

TEST_F(TextViews, DeactivatingHandsTheTextOverAndTellsTheWindowsSinks) {
  InWindow([&](ControlWindow& window) {
    ChangeSink sink;
    window.AddSink(&sink);
    SmartRef<String> text(new String(""));
    SmartRef<TextView> view = EditedView(window, ~text, Rect(10, 10, 200, 80));
    Pump();
    Type("abc");
    // Typed straight into the field, as a paste of the system would: the String does not know it yet.
    SendMessageA(FieldOf(*view), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("de"));
    EXPECT_EQ(TextOf(*text), "abc");
    const int before = sink.changes;
    window.SetParentActive(false);
    EXPECT_EQ(TextOf(*text), "abcde");
    EXPECT_EQ(sink.changes, before + 1);

    // Changed from outside while inactive: the field is loaded again.
    text->Set("dehors");
    EXPECT_EQ(NativeText(FieldOf(*view)), "dehors");
    window.SetParentActive(true);
    Pump();
    EXPECT_EQ(GetFocus(), FieldOf(*view));
    Type("!");
    EXPECT_EQ(TextOf(*text), "!dehors") << "activation loaded the field again";
    window.RemoveSink(&sink);
  });
}

TEST_F(TextViews, StoppingEditingKeepsTheTextAndTheViewDrawsItItself) {
  InWindow([&](ControlWindow& window) {
    SmartRef<String> text(new String(""));
    SmartRef<TextView> view = EditedView(window, ~text, Rect(10, 10, 200, 80));
    Pump();
    Type("Zoo");
    HWND field = FieldOf(*view);
    view->SetEditable(false, false);
    EXPECT_FALSE(view->IsEditing());
    EXPECT_FALSE(IsWindow(field));
    EXPECT_EQ(TextOf(*text), "Zoo");
    EXPECT_FALSE(view->AcceptsTarget());
    EXPECT_EQ(view->GetTextStyle(), nullptr);

    Rect range;
    view->GetSizeRange(&range);
    EXPECT_EQ(range.left, 0);
    EXPECT_EQ(range.right, TextView::kNeededWidth) << "a short text still asks for the smallest size";
    EXPECT_EQ(range.bottom, TextView::kNeededHeight);
    std::string words;
    for (int n = 0; n < 40; ++n) words += "mots ";
    text->Set(words.c_str());
    view->GetSizeRange(&range);
    EXPECT_GT(range.right, 200) << "the width of the text unwrapped";
    EXPECT_GT(range.bottom, TextView::kNeededHeight) << "the height of the text wrapped to the view";
  });
}

// Counts the pixels of the composed screen that are not white on a rectangle's one-pixel edge and inside
// it, in a window's client coordinates.
struct DarkCount {
  int edge = 0;
  int inside = 0;
};

DarkCount CountDark(HWND window, const Rect& area) {
  const auto& screen = platform::ComposeScreen();
  const auto width = static_cast<std::size_t>(platform::GetScreenSize().cx);
  DarkCount count;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      POINT p{x, y};
      ClientToScreen(window, &p);
      if ((screen[static_cast<std::size_t>(p.y) * width + static_cast<std::size_t>(p.x)] & 0xFFFFFF) == 0xFFFFFF)
        continue;
      const bool onEdge = x == area.left || y == area.top || x == area.right - 1 || y == area.bottom - 1;
      ++(onEdge ? count.edge : count.inside);
    }
  }
  return count;
}

TEST_F(TextViews, AnEditedViewIsOutlinedAroundItsFieldAndAShownOneDrawsItsText) {
  InWindow([&](ControlWindow& window) {
    HWND frame = window.GetFrame()->GetHandle();
    SmartRef<String> text(new String("Texte"));
    const Rect bounds(10, 10, 200, 60);
    SmartRef<TextView> view = EditedView(window, ~text, bounds);
    window.Refresh();
    Pump();
    const DarkCount edited = CountDark(frame, bounds);
    EXPECT_EQ(edited.edge, 2 * (bounds.Width() + bounds.Height()) - 4) << "one black pixel all round";
    EXPECT_GT(edited.inside, 20) << "the field shows the text, selected";

    view->SetEditable(false, false);
    window.Refresh();
    Pump();
    const DarkCount shown = CountDark(frame, bounds);
    EXPECT_LT(shown.edge, 10) << "the outline goes with the field (the text may touch the edge)";
    EXPECT_GT(shown.inside, 20) << "the view draws the text";
  });
}

TEST_F(TextViews, AStyledTextIsEditedInItsOwnStyleWhichTheFieldShares) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TextStyle> style(new TextStyle(kDefaultFontId, 24, kAlignRight, standardColors[1],
                                            standardColors[kTransparentColor]));
    SmartRef<StyledText> text(new StyledText(String("titre"), SmartRef<Smart>(~style)));
    SmartRef<TextStyle> own = text->GetStyle();
    SmartRef<TextView> view = EditedView(window, ~text, Rect(10, 10, 200, 80));
    Pump();
    EXPECT_EQ(view->GetTextStyle(), own) << "one style object for the text and the field";
    EXPECT_EQ(StyleOf(FieldOf(*view)) & (ES_CENTER | ES_RIGHT), static_cast<DWORD>(ES_RIGHT));
    EXPECT_EQ(own->GetBackColor(), standardColors[0]);
    view->SetEditable(false, false);
    EXPECT_EQ(text->GetStyle()->GetBackColor(), standardColors[0]) << "the text keeps the white background";
  });
}

// Every item of a menu and of its sub-menus, depth first.
void EachItem(Menu& menu, const std::function<void(MenuItem&)>& visit) {
  for (std::int32_t i = 1; i <= menu.CountEntries(); ++i) {
    if (MenuItem* item = menu.ItemAt(i)) {
      visit(*item);
    } else if (Menu* sub = menu.SubMenuAt(i)) {
      EachItem(*sub, visit);
    }
  }
}

std::vector<std::string> ItemTexts(const Menu& menu) {
  std::vector<std::string> texts;
  for (std::int32_t i = 1; i <= menu.CountEntries(); ++i) {
    if (const MenuItem* item = menu.ItemAt(i)) {
      texts.push_back(TextOf(item->GetText()) + (item->GetShortcut() ? std::string("/") + item->GetShortcut() : ""));
    }
  }
  return texts;
}

TEST_F(TextViews, TheTextMenuListsFacesSizesStylesAndAlignments) {
  InWindow([&](ControlWindow&) {
    SmartRef<Menu> menu = TextView::MakeTextMenu();
    EXPECT_EQ(TextOf(menu->GetTitle()), "Texte");
    ASSERT_EQ(menu->CountEntries(), 4);
    std::vector<std::string> titles;
    for (std::int32_t i = 1; i <= 4; ++i) titles.push_back(TextOf(CHECK_NOT_NULL(menu->SubMenuAt(i))->GetTitle()));
    EXPECT_EQ(titles, (std::vector<std::string>{"Police", "Taille", "Style", "Alignement"}));
    EXPECT_GT(menu->SubMenuAt(1)->CountEntries(), 0) << "the installed families";
    EXPECT_EQ(ItemTexts(*menu->SubMenuAt(2)),
              (std::vector<std::string>{"9", "10", "12", "14", "18", "24", "36", "48", "60", "72", "96"}));
    EXPECT_EQ(ItemTexts(*menu->SubMenuAt(3)),
              (std::vector<std::string>{"Standard", "Gras/B", "Italique/I", "Soulign\xE9/U"}));
    EXPECT_EQ(ItemTexts(*menu->SubMenuAt(4)),
              (std::vector<std::string>{"Cadrer \xE0 gauche", "Cadrer \xE0 droite", "Centrer"}));
  });
}

TEST_F(TextViews, TheTextMenuWorksOnlyInTheEditorsTextPaneAndTicksTheStyleBeingEdited) {
  InWindow([&](ControlWindow& window) {
    SmartRef<String> text(new String(""));
    SmartRef<TextView> view = EditedView(window, ~text, Rect(10, 10, 200, 80), true);
    Pump();
    Type("milieu");
    SmartRef<Menu> menu = TextView::MakeTextMenu();
    int items = 0, disabled = 0;
    EachItem(*menu, [&](MenuItem& item) {
      item.UpdateStatus(*app);
      ++items;
      disabled += (item.GetState() & MenuItem::kDisabled) != 0;
    });
    EXPECT_EQ(disabled, items) << "outside the editor's text pane";

    TextPaneOpen = true;
    std::vector<std::string> ticked;
    EachItem(*menu, [&](MenuItem& item) {
      item.UpdateStatus(*app);
      EXPECT_FALSE(item.GetState() & MenuItem::kDisabled) << TextOf(item.GetText());
      if (item.GetState() & MenuItem::kChecked) ticked.push_back(TextOf(item.GetText()));
    });
    EXPECT_EQ(ticked, (std::vector<std::string>{"Times New Roman", "12", "Standard", "Cadrer \xE0 gauche"}));

    // "Centrer" remakes the field centred, with the text and the focus, and selects all of it.
    HWND before = FieldOf(*view);
    menu->SubMenuAt(4)->ItemAt(3)->Invoke(*app);
    TextPaneOpen = false;
    HWND after = FieldOf(*view);
    EXPECT_NE(after, before);
    EXPECT_EQ(StyleOf(after) & ES_CENTER, static_cast<DWORD>(ES_CENTER));
    EXPECT_EQ(GetFocus(), after);
    EXPECT_EQ(NativeText(after), "milieu");
    Pump();
    EXPECT_EQ(Selection(*view->GetEditControl()), std::make_pair(0, 6));
    Type("x");
    EXPECT_EQ(TextOf(*text), "x");
  });
}

TEST_F(TextViews, CopyTakesTheSelectionInTheFieldsStyleAndPasteInsertsBeforeIt) {
  InWindow([&](ControlWindow& window) {
    SmartRef<String> text(new String("abcdef"));
    SmartRef<TextView> view = EditedView(window, ~text, Rect(10, 10, 200, 80));
    SmartRef<Clipboard> clipboard(new Clipboard);
    TextControl& field = *view->GetEditControl();
    field.SetSelection(3, 3);
    Pump();
    view->Copy(~clipboard);
    auto* copied = CastSmart<StyledText>(clipboard->GetScrap());
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->Length(), 0) << "an empty selection copies an empty text";

    view->GetTextStyle()->SetSize(24);
    field.SetSelection(1, 4);
    Pump();
    view->Copy(~clipboard);
    copied = CastSmart<StyledText>(clipboard->GetScrap());
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(TextOf(*copied), "bcd");
    ASSERT_TRUE(copied->GetStyle());
    EXPECT_NE(copied->GetStyle(), view->GetTextStyle()) << "a copy of the style";
    EXPECT_EQ(copied->GetStyle()->GetSize(), 24);

    clipboard->SetScrap(new String("XY"));
    field.SetSelection(2, 4);
    Pump();
    view->Paste(~clipboard, 0, 0, 0);
    EXPECT_EQ(TextOf(*text), "abXYcdef") << "the selected characters stay";
    Pump();
    EXPECT_EQ(Selection(field), std::make_pair(2, 4));
    EXPECT_TRUE(view->HasChanged());

    clipboard->SetScrap(new TextStyle(kDefaultFontId, 12, kAlignLeft, standardColors[1], standardColors[0]));
    view->Paste(~clipboard, 0, 0, 0);
    EXPECT_EQ(TextOf(*text), "abXYcdef") << "what is not text is not pasted";
  });
}

TEST_F(TextViews, ClearAndTheEditMenuFollowTheSelection) {
  InWindow([&](ControlWindow& window) {
    SmartRef<String> text(new String("abcdefg"));
    SmartRef<TextView> view = EditedView(window, ~text, Rect(10, 10, 200, 80));
    Pump();
    EXPECT_TRUE(view->CanEdit(kEditCopy)) << "everything is selected";
    view->GetEditControl()->SetSelection(2, 5);
    Pump();
    view->Clear();
    EXPECT_EQ(TextOf(*text), "abfg");
    Pump();
    EXPECT_FALSE(view->HasSelection());
    EXPECT_FALSE(view->CanEdit(kEditCopy));
    EXPECT_FALSE(view->CanEdit(kEditClear));
    EXPECT_TRUE(view->CanEdit(kEditPaste));
  });
}

TEST_F(TextViews, AStringBuildsItsEditorOnlyWhileSomethingHoldsIt) {
  InWindow([&](ControlWindow& window) {
    const Rect container = window.GetBounds();
    String loose("libre");
    Rect bounds;
    loose.MakeEditor(&bounds, &window, container);
    EXPECT_EQ(bounds, Rect::emptyRect);
    EXPECT_EQ(window.GetSubviews().NumItems(), 0);

    SmartRef<String> held(new String("tenu"));
    held->MakeEditor(&bounds, &window, Rect(0, 0, 10, 10));
    EXPECT_EQ(bounds, container);
    const List& made = window.GetSubviews();
    ASSERT_EQ(made.NumItems(), 3) << "the text view and its two bars";
    auto* view = CastSmart<TextView>(made.At(1));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsEditing());
    EXPECT_EQ(view->GetBounds(), ScrollBar::FrameRect(container, true, true));
    EXPECT_EQ(view->GetAnchoring(), kAnchorAll);
    EXPECT_NE(CastSmart<ScrollBar>(made.At(2)), nullptr);
    EXPECT_NE(CastSmart<ScrollBar>(made.At(3)), nullptr);
    EXPECT_EQ(NativeText(FieldOf(*view)), "tenu");
    // The bars ask the view for its page size and range, which text views do not answer (each place
    // reports that once a run).
    for (const RecordedAlert& alert : alerts.Alerts()) EXPECT_EQ(alert.text.rfind("Not implemented.", 0), 0u);
    window.RemoveAllSubviews();
  });
}

// The field stands inside its view wherever the view has been moved or stretched to, also after a new
// alignment has made it again; a fitted field keeps the view's left, top and width and takes its text's
// height.
TEST_F(TextViews, AFieldRemadeOrFittedStaysInsideAViewThatWasResized) {
  InWindow([&](ControlWindow& window) {
    for (bool grows : {false, true}) {
      SmartRef<String> text(new String("Bonjour"));
      SmartRef<TextView> view = EditedView(window, ~text, Rect(10, 10, 200, 40), grows);
      Pump();
      view->ResizeBy(5, 4, 60, 30);
      view->FitHeight();
      // Left, top and width of the field, and of the view less its one-pixel border.
      const auto field = [&] {
        RECT rect;
        GetWindowRect(FieldOf(*view), &rect);
        POINT topLeft{rect.left, rect.top};
        ScreenToClient(GetParent(FieldOf(*view)), &topLeft);
        return std::make_tuple(topLeft.x, topLeft.y, rect.right - rect.left);
      };
      const auto inside = [&] {
        const Rect bounds = view->GetBounds();
        return std::make_tuple(bounds.left + 1, bounds.top + 1, bounds.Width() - 2);
      };
      ASSERT_EQ(field(), inside());
      SmartRef<TextStyle> style = view->GetTextStyle();
      style->SetAlignment(kAlignCenter);
      view->SetTextStyle(style);
      ASSERT_EQ(StyleOf(FieldOf(*view)) & ES_CENTER, static_cast<DWORD>(ES_CENTER));
      EXPECT_EQ(field(), inside()) << (grows ? "growing" : "fixed") << ", remade";
      style->SetSize(24);
      view->SetTextStyle(style);
      EXPECT_EQ(field(), inside()) << (grows ? "growing" : "fixed") << ", new size";
      window.RemoveSubview(~view);
    }
  });
}

}  // namespace
