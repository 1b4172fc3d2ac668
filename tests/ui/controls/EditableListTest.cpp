// Editable lists: their copies, their titles, and the list pane they build, opened in document windows
// of the running program on the headless screen.
#include <gtest/gtest.h>

#include <string>

#include "ui/ControlTestSupport.h"
#include "core/ObjectFile.h"
#include "core/String.h"
#include "support/Raised.h"
#include "ui/shell/App.h"
#include "ui/views/DocWindow.h"
#include "ui/controls/EditableList.h"
#include "ui/controls/ListView.h"

namespace {

constexpr std::uint32_t kBlack = 0x000000;

List Titles(int count) {
  List list(&String::classInfo);
  for (int n = 1; n <= count; ++n) list.AppendRef(SmartRef<String>(new String(("lien " + std::to_string(n)).c_str())));
  return list;
}

std::string Text(const String* text) {
  if (!text) return "(null)";
  std::string out(static_cast<std::size_t>(text->Length()), '\0');
  text->CopyTo(out.data(), text->Length() + 1);
  return out;
}

std::string WindowTitle(const Window& window) {
  char text[128] = {};
  GetWindowTextA(window.GetFrame()->GetHandle(), text, sizeof text);
  return text;
}

std::vector<std::int32_t> Indexes(const GenericArray& array) {
  std::vector<std::int32_t> out;
  for (std::int32_t n = 1; n <= array.NumItems(); ++n) out.push_back(*static_cast<const std::int32_t*>(array.At(n)));
  return out;
}

// The list pane inside a document window's content view.
ListView* PaneOf(DocWindow& window) {
  const List& children = window.GetContentView()->GetSubviews();
  for (std::int32_t n = 1; n <= children.NumItems(); ++n)
    if (auto* pane = CastSmart<ListView>(children.At(n))) return pane;
  return nullptr;
}

SmartRef<ObjectReference> Refer(SmartImplementation* object) {
  return SmartRef<ObjectReference>(new SimpleReference(SmartRef<Smart>(object)));
}

class EditableLists : public ControlsInWindow {
 protected:
  // The body runs inside the program; a failure raised by the program fails the test.
  void InProgram(const std::function<void()>& body) {
    Run([&] {
      EXPECT_EQ(RaisedText(Raised(body)), "(nothing raised)");
      PostQuitMessage(0);
    });
  }

  // A document window over the editable list, opened at (20, 30) of the main window, 300 x 200.
  SmartRef<DocWindow> Open(EditableList* list, Editable* titleContainer, bool buffered = false) {
    SmartRef<DocWindow> window(new DocWindow(~Refer(list), titleContainer, nullptr, nullptr, buffered));
    window->SetGlobalBounds(Rect(20, 30, 320, 230));
    window->Open(true);
    Pump();
    return window;
  }
  // Whether the inside of row k of the window's list pane is inverted on the screen.
  bool RowInverted(DocWindow& window, std::int32_t row) {
    const Rect pane = PaneOf(window)->GetBounds();
    return ScreenPixel(OnScreen(window.GetFrame()->GetHandle(), pane.right - 10, pane.top + 24 * row + 20)) == kBlack;
  }
  void ClickRow(DocWindow& window, std::int32_t row) {
    const Rect pane = PaneOf(window)->GetBounds();
    Click(OnScreen(window.GetFrame()->GetHandle(), pane.left + 60, pane.top + 24 * row + 12));
  }
};

}  // namespace

TEST(EditableListObject, KeepsItsTitleAndTheSelectionItWasGiven) {
  SmartRef<String> site(new String("Mon site"));
  struct Case {
    std::int32_t selected;
    std::vector<std::int32_t> selection;
  } cases[] = {{0, {}}, {3, {3}}};
  for (const Case& c : cases) {
    SmartRef<EditableList> list(new EditableList(Titles(4), String("Liens"), ~site, c.selected));
    EXPECT_EQ(Indexes(list->GetSelection()), c.selection);
    EXPECT_EQ(Text(list->GetTitle()), "Liens");
    EXPECT_EQ(list->DefaultSize(), Point(100, 100));
    SmartRef<String> full;
    list->ComposeTitle(&full, ~site);
    EXPECT_EQ(Text(~full), "Mon site Liens");
    list->GetFullTitle(&full);
    EXPECT_EQ(Text(~full), "Liens");
  }
}

TEST(EditableListObject, CopiesShareTheListAndCopyTheRest) {
  SmartRef<String> site(new String("Mon site"));
  List entries = Titles(2);
  SmartRef<EditableList> original(new EditableList(entries, String("Liens"), ~site, 2));
  SmartRef<EditableList> copy(CastSmart<EditableList>(original->Clone()));
  EXPECT_EQ(~copy->GetList().GetData(), ~entries.GetData());
  EXPECT_EQ(~copy->GetTitleContainer(), static_cast<Editable*>(~site));
  EXPECT_NE(copy->GetTitle(), original->GetTitle());
  EXPECT_EQ(Text(copy->GetTitle()), "Liens");
  EXPECT_EQ(Indexes(copy->GetSelection()), std::vector<std::int32_t>{2});

  SmartRef<EditableList> other(new EditableList(Titles(1), String("Autres"), nullptr, 0));
  other->CopyFrom(~original);
  EXPECT_EQ(~other->GetList().GetData(), ~entries.GetData());
  EXPECT_EQ(Text(other->GetTitle()), "Liens");
  EXPECT_EQ(Indexes(other->GetSelection()), std::vector<std::int32_t>{2});

  SmartRef<String> notAList(new String("x"));
  const SmartRef<Exception> raised = Raised([&] { other->CopyFrom(~notAList); });
  EXPECT_EQ(RaisedText(raised), "castPtr");
  EXPECT_EQ(RaisedPlace(raised), "EDITLIST:20");
  EXPECT_FALSE(other->CanCopyFrom(~notAList));
}

// The pane keeps the list's selection for its owner but starts with nothing selected.
TEST_F(EditableLists, OpensInADocumentWindowTitledAfterItsContainer) {
  InProgram([&] {
    SmartRef<String> site(new String("Mon site"));
    SmartRef<EditableList> links(new EditableList(Titles(4), String("Liens"), nullptr, 3));
    // A buffered window shows a new selection at once too, not only at its next repaint.
    for (const bool buffered : {false, true}) {
      SmartRef<DocWindow> window = Open(~links, ~site, buffered);
      EXPECT_EQ(WindowTitle(*window), "Mon site Liens");
      ListView* pane = PaneOf(*window);
      ASSERT_NE(pane, nullptr);
      EXPECT_TRUE(pane->IsEditable());
      // The pane fills the content view but for the scroll bar's strip.
      Rect content = window->GetContentView()->GetBounds();
      content.right -= 15;
      EXPECT_EQ(pane->GetBounds(), content);
      EXPECT_EQ(pane->GetSelection(), 0);
      EXPECT_EQ(Indexes(pane->GetSavedSelection()), std::vector<std::int32_t>{3});
      EXPECT_TRUE(pane->IsActive());
      EXPECT_FALSE(RowInverted(*window, 2)) << buffered;
      ClickRow(*window, 2);
      EXPECT_TRUE(RowInverted(*window, 2)) << buffered;
      ClickRow(*window, 1);
      EXPECT_TRUE(RowInverted(*window, 1)) << buffered;
      EXPECT_FALSE(RowInverted(*window, 2)) << buffered;
      window->Close();
      Pump();
    }
  });
}

TEST_F(EditableLists, TwoWindowsOnOneListKeepTheirOwnSelectionAndShowEveryChange) {
  InProgram([&] {
    List entries = Titles(4);
    SmartRef<EditableList> links(new EditableList(entries, String("Liens"), nullptr, 2));
    SmartRef<DocWindow> first = Open(~links, nullptr);
    SmartRef<DocWindow> second = Open(~links, nullptr);
    ListView* firstPane = PaneOf(*first);
    ListView* secondPane = PaneOf(*second);
    ASSERT_TRUE(firstPane && secondPane);

    firstPane->SetSelection(2);
    ClickRow(*second, 3);
    EXPECT_EQ(secondPane->GetSelection(), 4);
    EXPECT_EQ(firstPane->GetSelection(), 2) << "each pane has its own selection";
    EXPECT_EQ(Indexes(links->GetSelection()), std::vector<std::int32_t>{2});

    // The second window clears its selected last entry: the first one, active now, shows the shorter list.
    secondPane->Clear();
    EXPECT_EQ(entries.NumItems(), 3);
    EXPECT_EQ(secondPane->GetSelection(), 0);
    EXPECT_TRUE(second->IsModified());
    app->ActivateWindow(~first);
    Pump();
    std::int32_t min = 0, max = 0;
    firstPane->GetRange(0, &min, &max);
    EXPECT_EQ(max, 3);
    EXPECT_TRUE(RowInverted(*first, 1));
    const Rect pane = firstPane->GetBounds();
    const POINT fourthRowEdge = OnScreen(first->GetFrame()->GetHandle(), pane.left + 2, pane.top + 24 * 3 + 12);
    EXPECT_NE(ScreenPixel(fourthRowEdge), kBlack) << "the fourth row is gone from the first window too";
    second->Close();
    first->Close();
    Pump();
  });
}

TEST_F(EditableLists, AnEntryOpenedFromTheListIsTitledAfterTheListsContainer) {
  InProgram([&] {
    SmartRef<String> site(new String("Mon site"));
    SmartRef<EditableList> links(new EditableList(Titles(3), String("Liens"), ~site, 0));
    SmartRef<DocWindow> window = Open(~links, nullptr);
    ClickRow(*window, 0);
    ClickRow(*window, 0);
    auto* opened = CastSmart<DocWindow>(~app->FrontWindow());
    ASSERT_NE(opened, nullptr);
    ASSERT_NE(opened, ~window);
    EXPECT_EQ(WindowTitle(*opened), "Mon site lien 1");
    opened->Close();
    window->Close();
    Pump();
  });
}
