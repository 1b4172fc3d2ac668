// The clipboard: opening rules, data owned by the clipboard, formats kept side by side, registered
// formats, pictures offered in both forms, and text exchanged with the system clipboard that other
// programs share (the headless back end's stands in for it).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "core/Text1252.h"
#include "platform/screen/HeadlessBackend.h"
#include "platform/backend/SdlBackend.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "platform/user/Clipboard.h"
#include "support/WindowFixture.h"
#include "support/XvfbChild.h"

namespace {

class Clipboard : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    auto headless = std::make_unique<platform::HeadlessBackend>();
    system = headless.get();
    platform::SetBackend(std::move(headless));
    window = MakeTop({0, 0, 100, 100});
  }

  static HGLOBAL Block(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes.size() + 1);
    std::memcpy(GlobalLock(block), bytes.c_str(), bytes.size() + 1);
    GlobalUnlock(block);
    return block;
  }
  static bool Alive(HGLOBAL block) {
    if (GlobalLock(block) == nullptr) return false;
    GlobalUnlock(block);
    return true;
  }
  // The text of CF_TEXT as the program reads it, or nothing.
  static std::optional<std::string> Text() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      text = static_cast<const char*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  }
  std::string SystemText() {
    std::string text;
    return system->SystemClipboardText(&text) ? text : "<none>";
  }

  platform::HeadlessBackend* system = nullptr;
  HWND window = nullptr;
};

TEST_F(Clipboard, CallsOnAClipboardThatIsNotOpenFailAndOnlyOneWindowHoldsItOpen) {
  HGLOBAL block = Block("x");
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_EQ(EnumClipboardFormats(0), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  EXPECT_FALSE(CloseClipboard());

  HWND other = MakeTop({200, 0, 300, 100});
  ASSERT_TRUE(OpenClipboard(window));
  EXPECT_TRUE(OpenClipboard(window));
  EXPECT_EQ(GetOpenClipboardWindow(), window);
  EXPECT_FALSE(OpenClipboard(other));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(OpenClipboard(nullptr));
  ASSERT_TRUE(CloseClipboard());
  EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(0x4444)));
  // A window that goes away while it holds the clipboard open lets it go.
  ASSERT_TRUE(OpenClipboard(other));
  DestroyWindow(other);
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
  EXPECT_TRUE(OpenClipboard(window));
  CloseClipboard();
  GlobalFree(block);
}

TEST_F(Clipboard, DataBelongsToTheClipboardWhichFreesItWhenReplacedOrEmptied) {
  const UINT mine = RegisterClipboardFormatA("QuilloryClip");
  HGLOBAL first = Block("un"), second = Block("deux"), token = Block("tok"), kept = Block("private");
  HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
  ASSERT_TRUE(OpenClipboard(window));
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_EQ(GetClipboardOwner(), window);
  EXPECT_EQ(SetClipboardData(CF_TEXT, first), first);
  EXPECT_EQ(SetClipboardData(CF_TEXT, first), first);  // the same data again stays
  EXPECT_TRUE(Alive(first));
  EXPECT_EQ(SetClipboardData(CF_TEXT, second), second);
  EXPECT_FALSE(Alive(first));
  EXPECT_EQ(SetClipboardData(mine, token), token);
  EXPECT_EQ(SetClipboardData(CF_BITMAP, bitmap), bitmap);
  EXPECT_EQ(SetClipboardData(CF_PRIVATEFIRST, kept), kept);
  EXPECT_EQ(GetClipboardData(CF_TEXT), second);
  EXPECT_EQ(GetClipboardData(mine), token);
  // Data that is not what the format needs, or none, is refused.
  EXPECT_EQ(SetClipboardData(CF_TEXT, reinterpret_cast<HANDLE>(bitmap)), nullptr);
  EXPECT_EQ(SetClipboardData(CF_BITMAP, second), nullptr);
  EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
  EXPECT_EQ(SetClipboardData(0, second), nullptr);
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_FALSE(Alive(second));
  EXPECT_FALSE(Alive(token));
  EXPECT_EQ(GetObjectType(bitmap), 0u);
  EXPECT_TRUE(Alive(kept));  // the private range is its owner's to free
  CloseClipboard();
  GlobalFree(kept);
}

TEST_F(Clipboard, FormatsAreAddedBesideThoseThereAndListedInTheOrderSet) {
  const UINT mine = RegisterClipboardFormatA("QuilloryClip");
  ASSERT_TRUE(OpenClipboard(window));
  EmptyClipboard();
  SetClipboardData(CF_TEXT, Block("texte"));
  CloseClipboard();
  // Without emptying, as the program exports its private token after the text.
  ASSERT_TRUE(OpenClipboard(window));
  SetClipboardData(mine, Block("tok"));
  std::vector<UINT> listed;
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) listed.push_back(f);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(listed, (std::vector<UINT>{CF_TEXT, mine}));
  EXPECT_EQ(EnumClipboardFormats(CF_DIB), 0u);
  CloseClipboard();
  EXPECT_EQ(CountClipboardFormats(), 2);
  EXPECT_TRUE(IsClipboardFormatAvailable(mine));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
  EXPECT_FALSE(IsClipboardFormatAvailable(0));
  EXPECT_EQ(Text(), "texte");
}

TEST_F(Clipboard, RegisteredFormatsAreNumberedOncePerNameWhateverItsCase) {
  const UINT a = RegisterClipboardFormatA("QuilloryClip");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormatA("quilloryclip"), a);
  const UINT b = RegisterClipboardFormatA("Autre");
  EXPECT_NE(b, a);
  EXPECT_GE(b, 0xC000u);
  char name[8];
  EXPECT_EQ(GetClipboardFormatNameA(a, name, sizeof name), 7);
  EXPECT_STREQ(name, "Quillor");
  EXPECT_EQ(GetClipboardFormatNameA(CF_TEXT, name, sizeof name), 0);
  EXPECT_EQ(RegisterClipboardFormatA(""), 0u);
  EXPECT_EQ(RegisterClipboardFormatA(nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(Clipboard, OwnershipEndsWithTheOwner) {
  HWND owner = MakeTop({200, 0, 300, 100});
  OpenClipboard(owner);
  EmptyClipboard();
  SetClipboardData(CF_TEXT, Block("a"));
  CloseClipboard();
  EXPECT_EQ(GetClipboardOwner(), owner);
  DestroyWindow(owner);
  EXPECT_EQ(GetClipboardOwner(), nullptr);
  EXPECT_EQ(Text(), "a");  // the data stays
}

// Text crosses to the system clipboard and back: Windows-1252 and CR LF here, UTF-8 and LF there.
TEST_F(Clipboard, TextGoesToTheSystemClipboardAsUtf8WithItsLineEnds) {
  struct Case {
    std::string here;
    std::string there;
  };
  const Case cases[] = {
      {"Mes pages d'été\r\nà bientôt"_cp, "Mes pages d'été\nà bientôt"},
      {"Prix : 5 \x80, \x93guillemets\x94", "Prix : 5 €, “guillemets”"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.there);
    const std::string before = SystemText();
    ASSERT_TRUE(OpenClipboard(window));
    SetClipboardData(CF_TEXT, Block(c.here));
    EXPECT_EQ(SystemText(), before);  // not before closing
    CloseClipboard();
    EXPECT_EQ(SystemText(), c.there);
    EXPECT_EQ(Text(), c.here);
  }
}

TEST_F(Clipboard, TextAnotherProgramCopiesReplacesWhatTheProgramHadPut) {
  const UINT mine = RegisterClipboardFormatA("QuilloryClip");
  ASSERT_TRUE(OpenClipboard(window));
  EmptyClipboard();
  SetClipboardData(CF_TEXT, Block("du programme"));
  HGLOBAL token = Block("tok");
  SetClipboardData(mine, token);
  CloseClipboard();
  // Nothing changed elsewhere: the program finds its own formats.
  EXPECT_TRUE(IsClipboardFormatAvailable(mine));

  struct Case {
    std::string there;
    std::string here;
  };
  const Case cases[] = {
      {"Noël\nligne 2", "No\xEBl\r\nligne 2"},
      {"déjà\r\nvu", "d\xE9j\xE0\r\nvu"},  // lines already ending in CR LF stay so
      {"日本 ok", "?? ok"},                // characters the code page lacks
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.there);
    system->SetSystemClipboardText(c.there);
    EXPECT_FALSE(IsClipboardFormatAvailable(mine));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    EXPECT_EQ(Text(), c.here);
  }
  EXPECT_FALSE(Alive(token));
  // Another program that empties the system clipboard leaves nothing here either.
  system->SetSystemClipboardText("");
  EXPECT_EQ(CountClipboardFormats(), 0);
}

TEST_F(Clipboard, APrivateFormatAloneLeavesTheSystemTextAsItWas) {
  system->SetSystemClipboardText("d'ailleurs");
  const UINT mine = RegisterClipboardFormatA("QuilloryClip");
  ASSERT_TRUE(OpenClipboard(window));
  SetClipboardData(mine, Block("tok"));
  CloseClipboard();
  EXPECT_EQ(SystemText(), "d'ailleurs");
  EXPECT_EQ(Text(), "d'ailleurs");
  EXPECT_TRUE(IsClipboardFormatAvailable(mine));
  // Emptying with nothing put back empties the system clipboard's text too.
  OpenClipboard(window);
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(SystemText(), "");
}

// A 3 x 2 picture, as a device bitmap and as a packed 24-bit DIB (rows bottom first).
constexpr COLORREF kPixels[2][3] = {{0x000000FF, 0x0000FF00, 0x00FF0000}, {0x00FFFFFF, 0x00000000, 0x00808080}};

HBITMAP MakeBitmap() {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 3, 2);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) SetPixel(dc, x, y, kPixels[y][x]);
  SelectObject(dc, previous);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

COLORREF PixelOfDib(HGLOBAL dib, int x, int y) {
  const auto* bytes = static_cast<const BYTE*>(GlobalLock(dib));
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes, sizeof header);
  const int stride = ((header.biWidth * 24 + 31) / 32) * 4;
  const BYTE* p = bytes + header.biSize + (header.biHeight - 1 - y) * stride + x * 3;
  const COLORREF colour = RGB(p[2], p[1], p[0]);
  GlobalUnlock(dib);
  return colour;
}

COLORREF PixelOfBitmap(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  const COLORREF colour = GetPixel(dc, x, y);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return colour;
}

TEST_F(Clipboard, APictureIsOfferedAsADibAndAsABitmapWhicheverWasGiven) {
  ASSERT_TRUE(OpenClipboard(window));
  SetClipboardData(CF_BITMAP, MakeBitmap());
  CloseClipboard();
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
  ASSERT_TRUE(OpenClipboard(window));
  HGLOBAL dib = GetClipboardData(CF_DIB);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(GetClipboardData(CF_DIB), dib);  // made once, then kept
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelOfDib(dib, x, y), kPixels[y][x]) << x << "," << y;
  // The DIB, given on its own, comes back as a bitmap with the same pixels.
  const SIZE_T size = GlobalSize(dib);
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(copy), GlobalLock(dib), size);
  GlobalUnlock(copy);
  GlobalUnlock(dib);
  EmptyClipboard();
  EXPECT_FALSE(Alive(dib));
  SetClipboardData(CF_DIB, copy);
  auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  ASSERT_NE(bitmap, nullptr);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelOfBitmap(bitmap, x, y), kPixels[y][x]) << x << "," << y;
  // A new DIB makes the bitmap made from the old one go.
  SetClipboardData(CF_DIB, Block(std::string(sizeof(BITMAPINFOHEADER), '\0')));
  EXPECT_EQ(GetObjectType(bitmap), 0u);
  CloseClipboard();
}

TEST_F(Clipboard, ADamagedDibFromAnotherProgramGivesNoBitmap) {
  struct Case {
    const char* fault;
    LONG width, height;
    WORD bits;
    DWORD headerSize, coloursUsed;
    std::size_t rowBytes;  // bytes given after the header
  };
  const Case cases[] = {
      {"rows missing", 4, 4, 24, 40, 0, 12 * 3},
      {"width of zero", 0, 4, 24, 40, 0, 64},
      {"header larger than the block", 4, 1, 24, 4000, 0, 16},
      {"colour table beyond the block", 2, 1, 8, 40, 0x40000000, 16},
      {"rows beyond any size", 0x7FFFFFFF, 0x7FFFFFFF, 32, 40, 0, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    BITMAPINFOHEADER header{};
    header.biSize = c.headerSize;
    header.biWidth = c.width;
    header.biHeight = c.height;
    header.biPlanes = 1;
    header.biBitCount = c.bits;
    header.biClrUsed = c.coloursUsed;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(c.rowBytes, '\x7F');
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    SetClipboardData(CF_DIB, Block(bytes));
    EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
    CloseClipboard();
  }
}

}  // namespace

namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Under a real X server (started by the test below), another program, xclip, reads the text this program
// copied, and this program pastes the text xclip copied.
void ClipboardUnderX() {
  setenv("SDL_VIDEODRIVER", "x11", 1);
  platform::ResetWindowSystemForTesting();
  std::string error;
  auto sdl = platform::SdlBackend::Open("Quillory clipboard", &error);
  ASSERT_TRUE(sdl) << error;
  platform::SetBackend(std::move(sdl));
  const std::string out = (std::filesystem::temp_directory_path() / ("quillory-xclip-" + std::to_string(getpid()))).string();
  std::filesystem::remove(out);
  // The program keeps answering the X server while xclip asks for the text, as its message loop does.
  auto pumpUntil = [](const std::function<bool()>& done) {
    MSG msg;
    for (int waited = 0; waited < 15000 && !done(); waited += 20) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      Sleep(20);
    }
  };

  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const std::string copied = "Mes pages d'été\r\nà bientôt : 5 €"_cp;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, copied.size() + 1);
  std::memcpy(GlobalLock(block), copied.c_str(), copied.size() + 1);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
  const std::string read = "timeout 20 xclip -o -selection clipboard > '" + out + ".part' && mv '" + out + ".part' '" + out + "' &";
  ASSERT_EQ(std::system(read.c_str()), 0);
  pumpUntil([&] { return std::filesystem::exists(out); });
  EXPECT_EQ(ReadWhole(out), "Mes pages d'été\nà bientôt : 5 €");

  ASSERT_EQ(std::system("printf 'No\\303\\253l\\nfin' | timeout 60 xclip -selection clipboard -i"), 0);
  std::string pasted;
  pumpUntil([&] {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(nullptr)) return false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      pasted = static_cast<const char*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
    return pasted.rfind("No", 0) == 0;
  });
  EXPECT_EQ(pasted, "No\xEBl\r\nfin");
  std::filesystem::remove(out);
  platform::SetBackend(nullptr);
}

const bool gChildRegistered = RegisterXvfbChild("ClipboardUnderX", &ClipboardUnderX);

TEST(ClipboardUnderX, TextCrossesToAndFromAnotherProgram) {
  const int status = RunXvfbChild("ClipboardUnderX", "640x480x24", "xclip");
  if (status == -1) GTEST_SKIP() << "xvfb-run or xclip is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace
