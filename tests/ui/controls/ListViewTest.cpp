// List panes in a real window of the running program on the headless screen: rows and the selection as
// composed on the screen, clicks and double clicks injected at the screen, the scroll bar, changes to the
// shared list made elsewhere, and the list item references that windows opened from a row edit.
#include <gtest/gtest.h>

#include <string>

#include "ui/ControlTestSupport.h"
#include "ui/ViewTestSupport.h"
#include "core/ObjectFile.h"
#include "platform/user/KeyState.h"
#include "core/String.h"
#include "support/Raised.h"
#include "ui/shell/App.h"
#include "ui/shell/Clipboard.h"
#include "ui/views/DocWindow.h"
#include "ui/controls/ListView.h"
#include "ui/controls/ScrollBar.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

List Titles(int count) {
  List list(&String::classInfo);
  for (int n = 1; n <= count; ++n) list.AppendRef(SmartRef<String>(new String(("ligne " + std::to_string(n)).c_str())));
  return list;
}

std::string TitleAt(const List& list, std::int32_t n) {
  auto* text = CastSmart<String>(list.At(n));
  if (!text) return "?";
  std::string out(static_cast<std::size_t>(text->Length()), '\0');
  text->CopyTo(out.data(), text->Length() + 1);
  return out;
}

GenericArray Selecting(std::int32_t index) {
  GenericArray selection(sizeof(std::int32_t), 0);
  if (index != 0) selection.Insert(&index, 0, 1);
  return selection;
}

std::string WindowTitle(HWND window) {
  char text[128] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Logic of the pane that needs no screen: a pane over an off-screen surface, with a row selected.
struct PaneOnSurface {
  PaneOnSurface(const List& list, std::int32_t height, bool editable = true, std::int32_t selected = 0)
      : window(300, 300),
        pane(new ListView(~window.root, Rect(0, 10, 200, 10 + height), list, nullptr, Selecting(0), editable)) {
    window.root->AddSubview(~pane);
    if (selected != 0) pane->SetSelection(selected);
  }
  TestWindow window;
  SmartRef<ListView> pane;
};

// A pane of 200 x 96 (four whole rows) at (10, 10) of a window of the running program, with its scroll
// bar to its right.
class ListViews : public ControlsInWindow {
 protected:
  static constexpr std::int32_t kLeft = 10;
  static constexpr std::int32_t kTop = 10;

  void WithPane(const List& list, bool editable, const std::function<void(ControlWindow&, ListView&, ScrollBar&)>& body,
                Editable* titleContainer = nullptr) {
    InWindow([&](ControlWindow& window) {
      SmartRef<View> container(new View(&window, Rect(kLeft, kTop, kLeft + 215, kTop + 96), kAnchorAll, true, false));
      window.AddSubview(~container);
      SmartRef<ListView> pane =
          ListView::CreateInView(~container, list, titleContainer, Selecting(0), editable);
      ScrollBar* bar = nullptr;
      const List& children = container->GetSubviews();
      for (std::int32_t n = 1; n <= children.NumItems(); ++n)
        if (auto* found = CastSmart<ScrollBar>(children.At(n))) bar = found;
      ASSERT_NE(bar, nullptr);
      handle = window.GetFrame()->GetHandle();
      Pump();
      // A failure raised by the program fails the test; the message loop would only report it.
      EXPECT_EQ(RaisedText(Raised([&] { body(window, *pane, *bar); })), "(nothing raised)");
    });
  }

  // A point inside row k of the pane, right of any title, where the selection's inversion shows.
  POINT InsideRow(std::int32_t row) const { return OnScreen(handle, kLeft + 190, kTop + 24 * row + 20); }
  // A point on the left edge of row k's frame.
  POINT RowEdge(std::int32_t row) const { return OnScreen(handle, kLeft + 2, kTop + 24 * row + 12); }
  void ClickRow(std::int32_t row) { Click(OnScreen(handle, kLeft + 100, kTop + 24 * row + 12)); }
  // The rows whose inside is inverted, as a string of 0 and 1 for the four rows of the page.
  std::string InvertedRows() {
    std::string rows;
    for (std::int32_t row = 0; row < 4; ++row) rows += ScreenPixel(InsideRow(row)) == kBlack ? '1' : '0';
    return rows;
  }
  // Whether anything dark lies in the left half of row k's inside: the title's glyphs.
  bool TitleShows(std::int32_t row) {
    const auto& screen = platform::ComposeScreen();
    const auto width = static_cast<std::size_t>(platform::GetScreenSize().cx);
    for (std::int32_t y = kTop + 24 * row + 4; y < kTop + 24 * row + 22; ++y)
      for (std::int32_t x = kLeft + 4; x < kLeft + 100; ++x) {
        const POINT p = OnScreen(handle, x, y);
        if ((screen[static_cast<std::size_t>(p.y) * width + static_cast<std::size_t>(p.x)] & 0xFFFFFF) != kWhite)
          return true;
      }
    return false;
  }

  HWND handle = nullptr;
};

}  // namespace

TEST(ListViewModel, RangePageAndIndexFollowTheListAndTheRowsOfTwentyFourPixels) {
  struct Case {
    int count;
    std::int32_t height, firstValue;
    std::int32_t min, max, page, indexAtTop, indexAtY60;
  } cases[] = {
      {0, 100, 1, 0, 0, 4, 0, 0},    // an empty list: nothing to scroll, no element anywhere
      {5, 100, 1, 1, 5, 4, 1, 3},    // a page of four whole rows out of 100 pixels
      {5, 95, 1, 1, 5, 3, 1, 3},
      {5, 100, 3, 1, 5, 4, 3, 5},    // scrolled: element 3 is in the top row
      {5, 100, 4, 1, 5, 4, 4, 0},    // below the last element
  };
  for (const Case& c : cases) {
    PaneOnSurface on(Titles(c.count), c.height);
    on.pane->SetValue(0, c.firstValue);
    std::int32_t min = -1, max = -1;
    on.pane->GetRange(0, &min, &max);
    EXPECT_EQ(min, c.min) << c.count;
    EXPECT_EQ(max, c.max) << c.count;
    EXPECT_EQ(on.pane->GetPageSize(0), c.page) << c.height;
    EXPECT_EQ(on.pane->GetValue(0), c.firstValue);
    EXPECT_EQ(on.pane->IndexAtPoint(0, 10), c.indexAtTop) << c.count << " from " << c.firstValue;
    EXPECT_EQ(on.pane->IndexAtPoint(500, 60), c.indexAtY60) << c.count << " from " << c.firstValue;
    EXPECT_EQ(on.pane->IndexAtPoint(0, -100), 0) << "far above the pane";
    // The other axis has nothing.
    on.pane->GetRange(1, &min, &max);
    EXPECT_EQ(max, 0);
    EXPECT_EQ(on.pane->GetPageSize(1), 0);
    EXPECT_EQ(on.pane->GetValue(1), 0);
  }
}

TEST(ListViewModel, AValueOfZeroOrForAnotherAxisLeavesTheTopRow) {
  PaneOnSurface on(Titles(8), 100);
  on.pane->SetValue(0, 3);
  on.pane->SetValue(0, 0);
  on.pane->SetValue(1, 6);
  EXPECT_EQ(on.pane->GetFirstVisible(), 2);
}

TEST(ListViewModel, TheSizeRangeIsAtLeast150WideAndARowForEveryElement) {
  PaneOnSurface small(Titles(3), 100);
  Rect range;
  small.pane->GetSizeRange(&range);
  EXPECT_EQ(range, Rect(150, 48, 150, 72));

  List wide = Titles(2);
  SmartRef<String> longTitle(new String("un titre de ligne beaucoup plus long que la colonne"));
  wide.Append(~longTitle);
  PaneOnSurface large(wide, 100);
  Point size{0, 0};
  longTitle->Measure(size, 0);
  ASSERT_GT(size.x, 150);
  large.pane->GetSizeRange(&range);
  EXPECT_EQ(range, Rect(150, 48, size.x, 72));
}

TEST(ListViewModel, ThePaneStartsWithNothingSelectedAndKeepsTheSelectionItWasGiven) {
  for (const std::int32_t given : {0, 3, 6}) {
    const GenericArray selection = Selecting(given);
    TestWindow window(300, 300);
    SmartRef<ListView> pane(new ListView(~window.root, Rect(0, 0, 200, 100), Titles(5), nullptr, selection, false));
    EXPECT_EQ(pane->GetSelection(), 0) << given;
    EXPECT_TRUE(pane->GetSavedSelection().Equals(selection)) << given;
  }
}

TEST(ListViewModel, ThePaneWatchesItsListOnlyWhileItLives) {
  List list = Titles(3);
  {
    PaneOnSurface on(list, 100, true, 3);
    list->Remove(3, 1);
    EXPECT_EQ(on.pane->GetSelection(), 0) << "the selected element went away";
  }
  // A change after the pane is gone reaches no one.
  list->Remove(1, 2);
  EXPECT_EQ(list.NumItems(), 0);
}

TEST(ListViewModel, ClearingRemovesTheSelectedElementAndSelectsTheOneAfterIt) {
  struct Case {
    bool editable;
    std::int32_t selected;
    std::int32_t selectedAfter;
    const char* remaining;
  } cases[] = {
      {true, 2, 2, "1345"},   // the former third is selected
      {true, 5, 0, "1234"},   // the last one: nothing is selected
      {true, 0, 0, "12345"},  // nothing selected, nothing cleared
      {false, 2, 2, "12345"}, // not editable
  };
  for (const Case& c : cases) {
    List list = Titles(5);
    PaneOnSurface on(list, 100, c.editable, c.selected);
    on.pane->Clear();
    std::string remaining;
    for (std::int32_t n = 1; n <= list.NumItems(); ++n) remaining += TitleAt(list, n).back();
    EXPECT_EQ(remaining, c.remaining) << c.selected;
    EXPECT_EQ(on.pane->GetSelection(), c.selectedAfter) << c.selected;
  }
}

// The edit menu offers no clipboard command on a pane, whatever it holds; the Delete key and the
// application's clipboard commands still reach it (see below).
TEST(ListViewModel, TheEditMenuOffersNothingOnAPane) {
  PaneOnSurface on(Titles(3), 100, true, 2);
  for (const int operation : {kEditCut, kEditCopy, kEditPaste, kEditClear}) EXPECT_FALSE(on.pane->CanEdit(operation));
}

TEST(ListViewModel, ASelectionOutsideTheListIsRefused) {
  PaneOnSurface on(Titles(3), 100, true, 1);
  EXPECT_EQ(RaisedText(Raised([&] { on.pane->SetSelection(4); })), "index <= num");
  EXPECT_EQ(on.pane->GetSelection(), 1);
}

TEST(ListViewModel, CopyingPutsTheSelectedElementItselfOnTheClipboard) {
  List list = Titles(3);
  for (const bool editable : {true, false}) {
    PaneOnSurface on(list, 100, editable, 2);
    SmartRef<Clipboard> clipboard(new Clipboard);
    on.pane->Copy(~clipboard);
    EXPECT_EQ(clipboard->GetScrap(), list.At(2)) << editable;
  }
  // Without a selection the clipboard keeps what it holds.
  PaneOnSurface none(list, 100, true, 0);
  SmartRef<Clipboard> clipboard(new Clipboard);
  SmartRef<String> kept(new String("garde"));
  clipboard->SetScrap(~kept);
  none.pane->Copy(~clipboard);
  EXPECT_EQ(clipboard->GetScrap(), static_cast<Smart*>(~kept));
  // An element that cannot be edited is nothing to copy.
  List arrays(&Smart::classInfo);
  arrays.AppendRef(SmartRef<GenericArray>(new GenericArray(4, 0)));
  PaneOnSurface other(arrays, 100, true, 1);
  other.pane->Copy(~clipboard);
  EXPECT_EQ(clipboard->GetScrap(), nullptr);
}

TEST(ListViewModel, PastingInsertsACopyInFrontOfTheSelectionOrAtTheEndAndSelectsIt) {
  struct Case {
    bool editable;
    std::int32_t selected;
    bool convertible;
    const char* after;
    std::int32_t selectedAfter;
  } cases[] = {
      {true, 2, true, "1x2345", 2},
      {true, 0, true, "12345x", 6},
      {true, 5, true, "1234x5", 5},
      {false, 2, true, "12345", 2},   // not editable
      {true, 2, false, "12345", 2},   // not a text: the list of texts cannot take it
  };
  for (const Case& c : cases) {
    List list = Titles(5);
    PaneOnSurface on(list, 100, c.editable, c.selected);
    SmartRef<Clipboard> clipboard(new Clipboard);
    SmartRef<String> text(new String("x"));
    SmartRef<GenericArray> array(new GenericArray(4, 0));
    clipboard->SetScrap(c.convertible ? static_cast<Smart*>(~text) : static_cast<Smart*>(~array));
    on.pane->Paste(~clipboard, 0, 0, 0);
    std::string order;
    for (std::int32_t n = 1; n <= list.NumItems(); ++n) order += TitleAt(list, n).back();
    EXPECT_EQ(order, c.after) << c.selected;
    EXPECT_EQ(on.pane->GetSelection(), c.selectedAfter) << c.selected;
    // The list takes a copy: the clipboard's object may be pasted again, or edited, on its own.
    for (std::int32_t n = 1; n <= list.NumItems(); ++n) EXPECT_NE(list.At(n), static_cast<Smart*>(~text));
  }
}

TEST(ListItemReferences, ReachOneElementOfTheSharedList) {
  List list = Titles(3);
  struct Case {
    std::int32_t index;
    bool exists;
  } cases[] = {{0, false}, {1, true}, {3, true}, {4, false}, {-2, false}};
  for (const Case& c : cases) {
    SmartRef<ListItemReference> item(new ListItemReference(list, c.index));
    EXPECT_EQ(item->ObjectExists(), c.exists) << c.index;
    EXPECT_EQ(item->GetObject(), c.exists ? list.At(c.index) : nullptr) << c.index;
  }
  SmartRef<ListItemReference> item(new ListItemReference(list, 2));
  EXPECT_TRUE(item->AcceptsObject(SmartRef<Smart>(new String("x"))));
  EXPECT_FALSE(item->AcceptsObject(nullptr));
}

TEST(ListItemReferences, AnElementThatIsNotEditableIsNoObjectToEdit) {
  List list(&Smart::classInfo);
  list.AppendRef(SmartRef<GenericArray>(new GenericArray(4, 0)));
  SmartRef<ListItemReference> item(new ListItemReference(list, 1));
  EXPECT_TRUE(item->ObjectExists());
  EXPECT_EQ(item->GetObject(), nullptr);
}

TEST(ListItemReferences, ReplacingPutsTheNewObjectAtTheElementsPlaceAndMovesItDown) {
  List list = Titles(3);
  Smart* old = list.At(2);
  SmartRef<ListItemReference> item(new ListItemReference(list, 2));
  SmartRef<String> replacement(new String("remplac\xE9" "e"));
  item->ReplaceObject(SmartRef<Smart>(~replacement));
  ASSERT_EQ(list.NumItems(), 4);
  EXPECT_EQ(list.At(2), static_cast<Smart*>(~replacement));
  EXPECT_EQ(list.At(3), old);
  EXPECT_EQ(item->GetObject(), static_cast<Smart*>(~replacement));

  // An object of another class, nothing, or an element that is gone leave the list as it is.
  item->ReplaceObject(SmartRef<Smart>(new GenericArray(4, 0)));
  item->ReplaceObject(nullptr);
  SmartRef<ListItemReference> gone(new ListItemReference(list, 5));
  gone->ReplaceObject(SmartRef<Smart>(new String("x")));
  EXPECT_EQ(list.NumItems(), 4);
}

TEST_F(ListViews, RowsAreFramedWithTheirTitlesAndTheBarTakesTheRestOfTheParent) {
  List list = Titles(3);
  WithPane(list, false, [&](ControlWindow&, ListView& pane, ScrollBar& bar) {
    EXPECT_EQ(pane.GetBounds(), Rect(kLeft, kTop, kLeft + 200, kTop + 96));
    EXPECT_EQ(~bar.GetTarget(), static_cast<Controllable*>(&pane));
    EXPECT_TRUE(bar.IsVertical());
    EXPECT_EQ(bar.GetPageSize(), 4);
    for (std::int32_t row = 0; row < 3; ++row) {
      EXPECT_EQ(ScreenPixel(RowEdge(row)), kBlack) << row;
      EXPECT_TRUE(TitleShows(row)) << row;
    }
    // Below the last element the pane is empty.
    EXPECT_EQ(ScreenPixel(RowEdge(3)), kWhite);
    EXPECT_FALSE(TitleShows(3));
    EXPECT_EQ(InvertedRows(), "0000");
  });
}

TEST_F(ListViews, AClickSelectsTheRowUnderItAndAClickBelowTheRowsSelectsNothing) {
  WithPane(Titles(3), false, [&](ControlWindow&, ListView& pane, ScrollBar&) {
    struct Step {
      std::int32_t row, selected;
      const char* inverted;
    } steps[] = {
        {1, 2, "0100"},
        {0, 1, "1000"},
        {0, 1, "1000"},  // once more on the selected row: still selected, still highlighted once
        {3, 0, "0000"},  // below the last row
    };
    for (const Step& step : steps) {
      ClickRow(step.row);
      EXPECT_EQ(pane.GetSelection(), step.selected) << step.row;
      EXPECT_EQ(InvertedRows(), step.inverted) << step.row;
    }
  });
}

TEST_F(ListViews, TheSelectionShowsOnlyWhileThePaneIsActiveAndSurvivesARepaintMeanwhile) {
  WithPane(Titles(3), false, [&](ControlWindow& window, ListView& pane, ScrollBar&) {
    ClickRow(2);
    ASSERT_EQ(InvertedRows(), "0010");
    // Another pane of the window takes the target: the selection's highlight goes.
    SmartRef<View> other(new View(&window, Rect(250, 10, 300, 60), kAnchorTopLeft, true, false));
    window.AddSubview(~other);
    EXPECT_FALSE(pane.IsActive());
    EXPECT_EQ(InvertedRows(), "0000");
    // The window repaints while the pane is inactive, then the pane is clicked again.
    window.Invalidate(false);
    Pump();
    EXPECT_EQ(InvertedRows(), "0000");
    ClickRow(3);
    EXPECT_TRUE(pane.IsActive());
    EXPECT_EQ(pane.GetSelection(), 0);
    EXPECT_EQ(InvertedRows(), "0000");
    ClickRow(1);
    EXPECT_EQ(InvertedRows(), "0100");
  });
}

TEST_F(ListViews, TheScrollBarMovesTheRowsAndTheSelectionWithThem) {
  List list = Titles(10);
  WithPane(list, false, [&](ControlWindow&, ListView& pane, ScrollBar& bar) {
    ClickRow(2);
    ASSERT_EQ(pane.GetSelection(), 3);
    HWND native = bar.GetOSControl()->window;
    RECT r;
    GetClientRect(native, &r);
    Click(OnScreen(native, r.right / 2, r.bottom - 4));  // the down arrow
    EXPECT_EQ(pane.GetFirstVisible(), 1);
    EXPECT_EQ(InvertedRows(), "0100");
    Click(OnScreen(native, r.right / 2, r.bottom - 4));
    Click(OnScreen(native, r.right / 2, r.bottom - 4));
    EXPECT_EQ(pane.GetFirstVisible(), 3);
    EXPECT_EQ(InvertedRows(), "0000") << "the selected row is above the page";
    // A click now selects by what the rows show.
    ClickRow(0);
    EXPECT_EQ(pane.GetSelection(), 4);
    EXPECT_EQ(InvertedRows(), "1000");
    Click(OnScreen(native, r.right / 2, r.bottom - 24));  // the track: a page down
    EXPECT_EQ(pane.GetFirstVisible(), 7);
    EXPECT_EQ(ScreenPixel(RowEdge(2)), kBlack) << "element 10";
    EXPECT_EQ(ScreenPixel(RowEdge(3)), kWhite);
  });
}

TEST_F(ListViews, ElementsAddedAndRemovedElsewhereShowAtOnce) {
  List list = Titles(1);
  WithPane(list, false, [&](ControlWindow&, ListView& pane, ScrollBar& bar) {
    HWND native = bar.GetOSControl()->window;
    EXPECT_FALSE(IsWindowVisible(native)) << "one element leaves nothing to scroll";
    EXPECT_EQ(ScreenPixel(RowEdge(1)), kWhite);

    list.Append(new String("ajout\xE9" "e"));
    list.Append(new String("encore"));
    Pump();
    EXPECT_EQ(ScreenPixel(RowEdge(1)), kBlack);
    EXPECT_EQ(ScreenPixel(RowEdge(2)), kBlack);
    EXPECT_TRUE(IsWindowVisible(native));
    std::int32_t min = 0, max = 0;
    bar.GetRange(&min, &max);
    EXPECT_EQ(max, 3);

    // The selected last element is removed by someone else: the selection goes with it.
    ClickRow(2);
    ASSERT_EQ(pane.GetSelection(), 3);
    list->Remove(2, 2);
    Pump();
    EXPECT_EQ(pane.GetSelection(), 0);
    EXPECT_EQ(ScreenPixel(RowEdge(1)), kWhite);
    EXPECT_EQ(InvertedRows(), "0000");
    EXPECT_FALSE(IsWindowVisible(native));
  });
}

TEST_F(ListViews, AListThatShrinksAboveThePageShowsItsLastElement) {
  List list = Titles(10);
  WithPane(list, false, [&](ControlWindow&, ListView& pane, ScrollBar& bar) {
    bar.SetValue(8);
    ASSERT_EQ(pane.GetFirstVisible(), 7);
    list->Remove(4, 6);
    Pump();
    EXPECT_EQ(pane.GetFirstVisible(), 3);
    EXPECT_EQ(ScreenPixel(RowEdge(0)), kBlack);
    EXPECT_EQ(ScreenPixel(RowEdge(1)), kWhite);
  });
}

TEST_F(ListViews, ADoubleClickOnTheSelectedRowOfAnEditableListOpensItsElement) {
  SmartRef<String> containerTitle(new String("Liens"));
  for (const bool editable : {true, false}) {
    List list = Titles(3);
    WithPane(
        list, editable,
        [&](ControlWindow& window, ListView& pane, ScrollBar&) {
          ClickRow(1);
          ClickRow(1);
          EXPECT_EQ(pane.GetSelection(), 2);
          SmartRef<Window> front = app->FrontWindow();
          if (!editable) {
            EXPECT_EQ(~front, static_cast<Window*>(&window)) << "a list that is not editable only selects";
            return;
          }
          auto* opened = CastSmart<DocWindow>(~front);
          ASSERT_NE(opened, nullptr);
          EXPECT_EQ(WindowTitle(opened->GetFrame()->GetHandle()), "Liens ligne 2");
          opened->Close();
          Pump();
        },
        ~containerTitle);
  }
}

TEST_F(ListViews, TheDeleteKeyClearsTheSelectedElementAndUndoPutsItBack) {
  List list = Titles(4);
  WithPane(list, true, [&](ControlWindow& window, ListView& pane, ScrollBar&) {
    ClickRow(1);
    EXPECT_FALSE(app->CanDoClipCommand(kClipClear)) << "the menu does not offer it";
    platform::InjectKey(VK_DELETE, true, true);
    platform::InjectKey(VK_DELETE, false, true);
    Pump();
    ASSERT_EQ(list.NumItems(), 3);
    EXPECT_EQ(TitleAt(list, 2), "ligne 3");
    EXPECT_EQ(pane.GetSelection(), 2);
    EXPECT_EQ(InvertedRows(), "0100");
    EXPECT_EQ(ScreenPixel(RowEdge(3)), kWhite) << "three rows left";

    window.UndoRedo();
    Pump();
    ASSERT_EQ(list.NumItems(), 4);
    EXPECT_EQ(TitleAt(list, 2), "ligne 2");
    EXPECT_EQ(ScreenPixel(RowEdge(3)), kBlack);
  });
}

TEST_F(ListViews, CutAndPasteMoveAnElementThroughTheApplicationsClipboard) {
  List list = Titles(4);
  WithPane(list, true, [&](ControlWindow&, ListView& pane, ScrollBar&) {
    ClickRow(0);
    app->DoClipCommand(kClipCut);
    ASSERT_EQ(list.NumItems(), 3);
    EXPECT_EQ(TitleAt(list, 1), "ligne 2");
    EXPECT_FALSE(app->CanDoClipCommand(kClipPaste)) << "the menu does not offer it";
    ClickRow(2);
    app->DoClipCommand(kClipPaste);
    Pump();
    ASSERT_EQ(list.NumItems(), 4);
    EXPECT_EQ(TitleAt(list, 3), "ligne 1");
    EXPECT_EQ(TitleAt(list, 4), "ligne 4");
    EXPECT_EQ(pane.GetSelection(), 3);
    EXPECT_EQ(InvertedRows(), "0010");
  });
}
