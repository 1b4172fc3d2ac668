// The application's clipboard against the system clipboard of the headless screen (what other programs
// see and put there), and the undoable clipboard tasks on a view's selection, driven through the menus.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "ui/MenuTestSupport.h"
#include "core/Text1252.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/Picture.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/System.h"
#include "platform/user/Clipboard.h"
#include "support/Raised.h"
#include "support/graphics/GraphicsFixture.h"
#include "ui/shell/ClipTask.h"
#include "ui/shell/Clipboard.h"
#include "ui/text/StyledText.h"
#include "ui/views/Window.h"

namespace {

class ClipboardTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    auto made = std::make_unique<platform::HeadlessBackend>();
    system = made.get();
    platform::SetBackend(std::move(made));
  }
  void TearDown() override {
    gKeptScrap = nullptr;
    gPrivateFormat = 0;
    platform::SetBackend(nullptr);
    GraphicsFixture::TearDown();
  }
  // The system clipboard's text, as another program would paste it (empty when it holds none).
  std::string SystemText() {
    std::string text;
    return system->SystemClipboardText(&text) ? text : std::string();
  }
  // Another program puts a 2 x 1 picture (red, then blue) on the clipboard as a packed DIB.
  static void PutPictureFromElsewhere() {
    BYTE dib[40 + 8] = {};
    const std::uint32_t header[] = {40, 2, 1};
    std::memcpy(dib, header, sizeof header);
    dib[12] = 1;
    dib[14] = 24;
    const BYTE row[8] = {0, 0, 0xFF, 0xFF, 0, 0, 0, 0};  // blue-green-red order, padded to 4 bytes
    std::memcpy(dib + 40, row, sizeof row);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof dib);
    std::memcpy(GlobalLock(block), dib, sizeof dib);
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_DIB, block);
    CloseClipboard();
  }

  // Another program puts a 3 x 2 device bitmap on the clipboard, black but for a green bottom-right pixel.
  static void PutBitmapFromElsewhere() {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 3, 2);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const RECT all{0, 0, 3, 2};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetPixel(dc, 2, 1, RGB(0, 255, 0));
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, bitmap);
    CloseClipboard();
  }

  platform::HeadlessBackend* system = nullptr;
};

}  // namespace

// Text, styled or not, goes out as plain text when the program is left, and comes back as the very same
// object.
TEST_F(ClipboardTest, TextGoesOutToOtherProgramsAndComesBackAsTheSameObject) {
  const String words("Été\r\nà Noël"_cp);
  const SmartRef<String> texts[] = {new String(words), new StyledText(words, nullptr)};
  for (const SmartRef<String>& text : texts) {
    SCOPED_TRACE(text->GetClassInfo()->GetName());
    SmartRef<Clipboard> clipboard(new Clipboard());
    EXPECT_TRUE(clipboard->IsStale());
    clipboard->SetScrap(~text);
    EXPECT_FALSE(clipboard->IsStale());
    clipboard->SetActive(false);
    EXPECT_EQ(SystemText(), "Été\nà Noël") << "UTF-8 with the system's line ends";
    EXPECT_NE(gPrivateFormat, 0u);
    clipboard->SetActive(true);
    EXPECT_TRUE(clipboard->IsStale());
    EXPECT_EQ(clipboard->GetScrap(), static_cast<Smart*>(~text));
    EXPECT_FALSE(clipboard->IsStale());
  }
}

// Pictures leave only the private token: the text another program had put there goes, so that nobody
// pastes an older text than what the user copied last.
TEST_F(ClipboardTest, APictureGoesOutAsTheTokenOnlyAndComesBackAsTheSameObject) {
  system->SetSystemClipboardText("plus ancien");
  SmartRef<Clipboard> clipboard(new Clipboard());
  SmartRef<Picture> picture(new Picture());
  clipboard->SetScrap(~picture);
  clipboard->SetActive(false);
  EXPECT_EQ(SystemText(), "");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_TRUE(IsClipboardFormatAvailable(gPrivateFormat));
  CloseClipboard();
  clipboard->SetActive(true);
  EXPECT_EQ(clipboard->GetScrap(), static_cast<Smart*>(~picture));
}

// What another program put there while this one was inactive replaces the content at its first use.
TEST_F(ClipboardTest, WhatOtherProgramsPutThereIsImportedAtTheFirstUseAfterActivation) {
  SmartRef<Clipboard> clipboard(new Clipboard());
  clipboard->SetScrap(SmartRef<String>(new String("à moi"_cp)).operator~());
  clipboard->SetActive(false);

  system->SetSystemClipboardText("d'ailleurs\nsur deux lignes");
  clipboard->SetActive(true);
  const String* text = CastSmart<String>(clipboard->GetScrap());
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(*text, String("d'ailleurs\r\nsur deux lignes"));

  clipboard->SetActive(false);
  PutPictureFromElsewhere();
  clipboard->SetActive(true);
  BitMap* bitmap = CastSmart<BitMap>(clipboard->GetScrap());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->GetBounds(), Rect(0, 0, 2, 1));
  const Color left = bitmap->GetPixelColor(bitmap->GetPixelValue(0, 0));
  EXPECT_EQ(left.red >> 8, 0xFF);
  EXPECT_EQ(left.blue >> 8, 0);

  clipboard->SetActive(false);
  PutBitmapFromElsewhere();
  clipboard->SetActive(true);
  bitmap = CastSmart<BitMap>(clipboard->GetScrap());
  ASSERT_NE(bitmap, nullptr) << "a device bitmap comes in as well";
  EXPECT_EQ(bitmap->GetBounds(), Rect(0, 0, 3, 2));
  EXPECT_EQ(bitmap->GetPixelColor(bitmap->GetPixelValue(2, 1)).green >> 8, 0xFF);
  EXPECT_EQ(bitmap->GetPixelColor(bitmap->GetPixelValue(0, 0)).green >> 8, 0);

  clipboard->SetActive(false);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  clipboard->SetActive(true);
  EXPECT_EQ(clipboard->GetScrap(), nullptr) << "nothing importable";
}

// A clipboard that was never used since the program became active has nothing newer to give: leaving
// the program again leaves the system clipboard alone.
TEST_F(ClipboardTest, AStaleClipboardExportsNothing) {
  SmartRef<Clipboard> clipboard(new Clipboard());
  clipboard->SetScrap(SmartRef<String>(new String("gardé")).operator~());
  clipboard->SetActive(false);
  clipboard->SetActive(true);
  system->SetSystemClipboardText("d'un autre programme");
  clipboard->SetActive(false);
  EXPECT_EQ(SystemText(), "d'un autre programme");
}

TEST_F(ClipboardTest, ContentGoesIntoListsConvertedOrNotAtAll) {
  SmartRef<Clipboard> clipboard(new Clipboard());
  List strings(&String::classInfo);
  strings.AppendRef(SmartRef<String>(new String("dernier")));
  EXPECT_FALSE(clipboard->AddScrapTo(strings)) << "nothing to add (the system clipboard is empty)";

  clipboard->SetScrap(SmartRef<String>(new String("un")).operator~());
  EXPECT_TRUE(clipboard->AddScrapTo(strings));
  ASSERT_EQ(strings.NumItems(), 2);
  EXPECT_EQ(*CastSmart<String>(strings.At(1)), String("un")) << "at the front";

  SmartRef<ListData> several(new ListData(&String::classInfo));
  several->Append(SmartRef<String>(new String("a")).operator~());
  several->Append(SmartRef<String>(new String("b")).operator~());
  clipboard->SetScrap(~several);
  EXPECT_TRUE(clipboard->AddScrapTo(strings));
  ASSERT_EQ(strings.NumItems(), 4);
  EXPECT_EQ(*CastSmart<String>(strings.At(1)), String("a"));
  EXPECT_EQ(*CastSmart<String>(strings.At(2)), String("b"));

  List pictures(&Picture::classInfo);
  EXPECT_FALSE(clipboard->AddScrapTo(pictures));
  EXPECT_EQ(pictures.NumItems(), 0);
}

// Copies share the content; a swap exchanges content and state.
TEST_F(ClipboardTest, CopiesShareAndSwapsExchange) {
  SmartRef<String> text(new String("x"));
  SmartRef<Clipboard> first(new Clipboard()), second(new Clipboard());
  first->SetScrap(~text);
  SmartRef<Clipboard> copy(CastSmart<Clipboard>(first->Clone()));
  EXPECT_EQ(copy->GetScrap(), static_cast<Smart*>(~text));
  first->Swap(*second);
  EXPECT_TRUE(first->IsStale());
  EXPECT_FALSE(second->IsStale());
  EXPECT_EQ(second->GetScrap(), static_cast<Smart*>(~text));
  second->Clear();
  EXPECT_EQ(second->GetScrap(), nullptr);
  EXPECT_EQ(text->GetReferenceCount(), 2) << "held by the test and the copy";
  SmartRef<Picture> picture(new Picture());
  const SmartRef<Exception> raised = Raised([&] { first->CopyFrom(~picture); });
  EXPECT_EQ(RaisedText(raised), "castPtr");
  EXPECT_EQ(RaisedPlace(raised), "CLIPBRD:84");
}

namespace {

// A line of text with a selection [start, end), copied, cleared and pasted as a text view would.
class Snippet : public View {
 public:
  Snippet(View* parent, std::string text) : View(parent, Rect(0, 0, 100, 20), kAnchorTopLeft, true, false), text(std::move(text)) {}

  void Select(std::size_t from, std::size_t to) {
    start = from;
    end = to;
  }
  std::string Selected() const { return text.substr(start, end - start); }
  void Copy(Clipboard* clipboard) override { clipboard->SetScrap(SmartRef<String>(new String(Selected().c_str())).operator~()); }
  void Clear() override {
    text.erase(start, end - start);
    end = start;
  }
  // The pasted text replaces nothing and becomes the selection.
  void Paste(Clipboard* clipboard, std::int32_t first, std::int32_t, std::int32_t) override {
    firstArguments.push_back(first);
    const String* pasted = CastSmart<String>(clipboard->GetScrap());
    if (pasted == nullptr) return;
    const std::string added = TextOf(*pasted);
    text.insert(start, added);
    end = start + added.size();
  }
  bool CanEdit(int) override { return true; }

  std::string text;
  std::size_t start = 0, end = 0;
  std::vector<std::int32_t> firstArguments;
};

class ClipTasks : public MenuProgram {
 protected:
  void AddMenus(MenuBar& bar) override {
    edit = new Menu("Edition", 0);
    edit->AppendItem("Annuler", 'Z', SmartRef<GenericSignal>(new WindowUndoCommand()).operator~());
    edit->AppendSeparator();
    edit->AppendItem("Couper", 'X', SmartRef<GenericSignal>(new AppClipCommand(kClipCut)).operator~());
    edit->AppendItem("Copier", 'C', SmartRef<GenericSignal>(new AppClipCommand(kClipCopy)).operator~());
    edit->AppendItem("Coller", 'V', SmartRef<GenericSignal>(new AppClipCommand(kClipPaste)).operator~());
    edit->AppendItem("Effacer", 'E', SmartRef<GenericSignal>(new AppClipCommand(kClipClear)).operator~());
    bar.AddMenu(~edit);
  }
  void TearDown() override {
    edit = nullptr;
    gUndoMenu = nullptr;
    gKeptScrap = nullptr;
    gPrivateFormat = 0;
    MenuProgram::TearDown();
  }
  std::string UndoText() {
    char text[64] = {};
    GetMenuStringA(edit->GetNativeMenu(), 0, text, sizeof text, MF_BYPOSITION);
    return text;
  }
  std::string ClipText() {
    const String* text = CastSmart<String>(app->GetClipboard()->GetScrap());
    return text ? TextOf(*text) : "(none)";
  }
  bool PasteEnabled() {
    app->UpdateMenus();
    return (GetMenuState(edit->GetNativeMenu(), 4, MF_BYPOSITION) & MF_GRAYED) == 0;
  }

  SmartRef<Menu> edit;
};

}  // namespace

// Cut, copy, paste and clear from their shortcuts, each undone and redone with the undo item, whose text
// says what it will do next.
TEST_F(ClipTasks, ClipboardCommandsAreUndoneAndRedoneFromTheMenus) {
  InWindow([&](ControlWindow& window) {
    Window::SetUndoMenu(~edit);
    SmartRef<Snippet> snippet(new Snippet(&window, "Bonjour le monde"));
    window.AddSubview(~snippet);
    window.SetTarget(~snippet);
    // Nothing from elsewhere on the clipboard: nothing to paste.
    EXPECT_FALSE(PasteEnabled());

    snippet->Select(8, 11);  // "le "
    CtrlKey('X');
    EXPECT_EQ(snippet->text, "Bonjour monde");
    EXPECT_EQ(ClipText(), "le ");
    EXPECT_TRUE(PasteEnabled());
    EXPECT_EQ(UndoText(), "Annuler cntl+Z");
    CtrlKey('Z');
    EXPECT_EQ(snippet->text, "Bonjour le monde") << "the cut material is back where it was";
    EXPECT_EQ(ClipText(), "(none)") << "and the clipboard as it was before";
    EXPECT_EQ(UndoText(), "Refaire cntl+Z");
    CtrlKey('Z');
    EXPECT_EQ(snippet->text, "Bonjour monde") << "redone";
    EXPECT_EQ(ClipText(), "le ");
    EXPECT_EQ(UndoText(), "Annuler cntl+Z");

    // Paste at the front, undone: exactly the pasted text goes.
    snippet->Select(0, 0);
    CtrlKey('V');
    EXPECT_EQ(snippet->text, "le Bonjour monde");
    CtrlKey('Z');
    EXPECT_EQ(snippet->text, "Bonjour monde");
    EXPECT_EQ(ClipText(), "le ") << "pasting leaves the clipboard alone";

    // Copy only swaps the clipboards: undoing it gives the previous content back.
    snippet->Select(0, 7);
    CtrlKey('C');
    EXPECT_EQ(ClipText(), "Bonjour");
    EXPECT_EQ(snippet->text, "Bonjour monde");
    CtrlKey('Z');
    EXPECT_EQ(ClipText(), "le ");

    // Clear, undone: the cleared text is pasted back, with 1 as the paste's first argument.
    snippet->firstArguments.clear();
    snippet->Select(7, 13);
    CtrlKey('E');
    EXPECT_EQ(snippet->text, "Bonjour");
    EXPECT_EQ(ClipText(), "le ") << "clearing leaves the clipboard alone";
    CtrlKey('Z');
    EXPECT_EQ(snippet->text, "Bonjour monde");
    EXPECT_EQ(snippet->firstArguments, std::vector<std::int32_t>{1});
    Window::SetUndoMenu(nullptr);
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

// Pasting over a selection replaces it and leaves the clipboard as it was; undoing takes exactly the
// pasted text away and puts the replaced text back where it was, and redoing replaces it again.
TEST_F(ClipTasks, PasteReplacingSwapsTheSelectionForTheClipboardAndUndoesBothWays) {
  InWindow([&](ControlWindow& window) {
    SmartRef<Snippet> snippet(new Snippet(&window, "Bonjour le monde"));
    window.AddSubview(~snippet);
    window.SetTarget(~snippet);
    app->GetClipboard()->SetScrap(SmartRef<String>(new String("tout ")).operator~());
    snippet->Select(8, 11);  // "le "
    app->DoClipCommand(kClipPasteReplace);
    EXPECT_EQ(snippet->text, "Bonjour tout monde");
    EXPECT_EQ(ClipText(), "tout ");
    window.UndoRedo();
    EXPECT_EQ(snippet->text, "Bonjour le monde");
    EXPECT_EQ(snippet->firstArguments.back(), 1) << "the replaced text is pasted back with 1";
    EXPECT_EQ(ClipText(), "tout ");
    window.UndoRedo();
    EXPECT_EQ(snippet->text, "Bonjour tout monde");
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

// The program's own clipboard and the system's meet at activation: text copied here reaches other
// programs when the user goes to them, and what they copy arrives here when the user comes back.
TEST_F(ClipTasks, TheApplicationExportsOnDeactivationAndImportsAfterActivation) {
  InWindow([&](ControlWindow& window) {
    SmartRef<Snippet> snippet(new Snippet(&window, "Salut"));
    window.AddSubview(~snippet);
    window.SetTarget(~snippet);
    snippet->Select(0, 5);
    CtrlKey('C');
    SmartRef<Smart> copied(app->GetClipboard()->GetScrap());
    app->SetActive(false);
    std::string outside;
    ASSERT_TRUE(platform::CurrentBackend().SystemClipboardText(&outside));
    EXPECT_EQ(outside, "Salut");
    app->SetActive(true);
    EXPECT_EQ(app->GetClipboard()->GetScrap(), ~copied) << "the same object, through the private format";

    app->SetActive(false);
    platform::CurrentBackend().SetSystemClipboardText("Écrit ailleurs");
    app->SetActive(true);
    snippet->Select(5, 5);
    CtrlKey('V');
    EXPECT_EQ(snippet->text, "Salut\xC9" "crit ailleurs");
  });
}
