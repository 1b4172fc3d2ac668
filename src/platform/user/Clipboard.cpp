// The clipboard's formats and data, registered formats, and the exchange of its text with the system
// clipboard of the screen. Another program that changes the system clipboard's text takes the clipboard:
// what this program had put there goes, and the new text arrives as CF_TEXT.
#include "platform/user/Clipboard.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "platform/screen/Backend.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Codepage.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "platform/user/BitmapResource.h"
#include "platform/user/Paint.h"
#include "platform/user/ClipboardInternals.h"
#include "platform/user/Window.h"

namespace platform::user {

namespace {

constexpr UINT kFirstRegistered = 0xC000;
constexpr UINT kLastRegistered = 0xFFFF;

struct Entry {
  UINT format;
  HANDLE data;
  bool made = false;  // made from the picture in its other form, on demand
};

struct ClipboardState {
  std::vector<Entry> entries;  // in the order they were set
  bool open = false;
  HWND openBy = nullptr;
  HWND owner = nullptr;
  bool textChanged = false;  // since it was opened: the system clipboard's text is to change on closing
  std::string seenText;      // the system clipboard's text as last read or written, UTF-8
  std::vector<std::string> registered;  // names of formats kFirstRegistered, kFirstRegistered + 1, ...
};

ClipboardState& State() {
  static ClipboardState state;
  return state;
}

bool IsDrawingObjectFormat(UINT format) {
  return format == CF_BITMAP || format == CF_PALETTE || (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
}

void Free(const Entry& entry) {
  if (entry.format >= CF_PRIVATEFIRST && entry.format <= CF_PRIVATELAST) return;
  if (IsDrawingObjectFormat(entry.format)) {
    DeleteObject(entry.data);
  } else {
    GlobalFree(entry.data);
  }
}

void FreeAll() {
  for (const Entry& entry : State().entries) Free(entry);
  State().entries.clear();
}

Entry* Stored(UINT format) {
  for (Entry& entry : State().entries) {
    if (entry.format == format) return &entry;
  }
  return nullptr;
}

void Store(UINT format, HANDLE data) {
  if (Entry* entry = Stored(format)) {
    if (entry->data != data) Free(*entry);
    entry->data = data;
    return;
  }
  State().entries.push_back(Entry{format, data});
}

// Formats offered without being stored: a picture goes as a device bitmap and as a DIB whichever was given.
UINT SynthesisedFrom(UINT format) {
  if (format == CF_DIB) return CF_BITMAP;
  if (format == CF_BITMAP) return CF_DIB;
  return 0;
}

std::vector<UINT> Offered() {
  std::vector<UINT> formats;
  for (const Entry& entry : State().entries) formats.push_back(entry.format);
  for (const Entry& entry : State().entries) {
    const UINT other = SynthesisedFrom(entry.format);
    if (other != 0 && std::find(formats.begin(), formats.end(), other) == formats.end()) formats.push_back(other);
  }
  return formats;
}

bool RequireOpen() {
  if (!State().open) SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
  return State().open;
}

// The bytes of a global block, read without keeping it locked.
std::string BlockText(HGLOBAL block) {
  const auto* bytes = static_cast<const char*>(GlobalLock(block));
  if (bytes == nullptr) return {};
  const std::size_t size = GlobalSize(block);
  std::string text(bytes, strnlen(bytes, size));
  GlobalUnlock(block);
  return text;
}

HGLOBAL TextBlock(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (block == nullptr) return nullptr;
  auto* bytes = static_cast<char*>(GlobalLock(block));
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
}

// Lines end in CR LF here and in LF on the system clipboard.
std::string ToSystemText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return Cp1252ToUtf8(out);
}

std::string FromSystemText(const std::string& utf8) {
  const std::string text = Utf8ToCp1252(utf8);
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// Takes in what another program put on the system clipboard since this program last looked.
void TakeSystemChanges() {
  ClipboardState& s = State();
  std::string text;
  if (!CurrentBackend().SystemClipboardText(&text)) text.clear();
  if (text == s.seenText) return;
  s.seenText = text;
  FreeAll();
  s.owner = nullptr;
  if (text.empty()) return;
  if (HGLOBAL block = TextBlock(FromSystemText(text))) s.entries.push_back(Entry{CF_TEXT, block});
}

void GiveTextToSystem() {
  ClipboardState& s = State();
  const Entry* text = Stored(CF_TEXT);
  s.seenText = text != nullptr ? ToSystemText(BlockText(text->data)) : std::string();
  CurrentBackend().SetSystemClipboardText(s.seenText);
}

// A packed DIB of a device bitmap, 24 bits a pixel.
HGLOBAL DibOfBitmap(HBITMAP bitmap) {
  BITMAP info{};
  if (GetObjectA(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) return nullptr;
  const std::size_t stride = ((static_cast<std::size_t>(info.bmWidth) * 24 + 31) / 32) * 4;
  const std::size_t bytes = sizeof(BITMAPINFOHEADER) + stride * static_cast<std::size_t>(info.bmHeight);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (block == nullptr) return nullptr;
  auto* packed = static_cast<BYTE*>(GlobalLock(block));
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = info.bmWidth;
  header.biHeight = info.bmHeight;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(stride * static_cast<std::size_t>(info.bmHeight));
  std::memcpy(packed, &header, sizeof header);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), packed + sizeof header,
                             reinterpret_cast<BITMAPINFO*>(packed), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  GlobalUnlock(block);
  if (rows != info.bmHeight) {
    GlobalFree(block);
    return nullptr;
  }
  return block;
}

HBITMAP BitmapOfDib(HGLOBAL block) {
  const auto* packed = static_cast<const BYTE*>(GlobalLock(block));
  if (packed == nullptr) return nullptr;
  HBITMAP bitmap = BitmapFromPackedDIB(std::span<const BYTE>(packed, GlobalSize(block)));
  GlobalUnlock(block);
  return bitmap;
}

bool IsData(UINT format, HANDLE data) {
  if (IsDrawingObjectFormat(format)) return GetObjectType(data) != 0;
  if (GlobalLock(data) == nullptr) return false;
  GlobalUnlock(data);
  return true;
}

}  // namespace

void ForgetClipboardWindow(HWND window) {
  ClipboardState& s = State();
  if (s.owner == window) s.owner = nullptr;
  if (s.open && s.openBy == window) CloseClipboard();
}

void ResetClipboard() {
  FreeAll();
  State() = ClipboardState{};
}

}  // namespace platform::user

using namespace platform::user;

BOOL OpenClipboard(HWND window) {
  ClipboardState& s = State();
  if (window != nullptr && !IsWindow(window)) return FALSE;
  if (s.open) {
    if (s.openBy == window) return TRUE;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  TakeSystemChanges();
  s.open = true;
  s.openBy = window;
  s.textChanged = false;
  return TRUE;
}

BOOL CloseClipboard() {
  if (!RequireOpen()) return FALSE;
  ClipboardState& s = State();
  s.open = false;
  s.openBy = nullptr;
  if (s.textChanged) GiveTextToSystem();
  s.textChanged = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  if (!RequireOpen()) return FALSE;
  FreeAll();
  State().owner = State().openBy;
  State().textChanged = true;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  if (!RequireOpen()) return nullptr;
  if (format == 0 || data == nullptr || !IsData(format, data)) {
    SetLastError(format == 0 || data == nullptr ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // A picture given again in one form makes the other form made from the old one stale.
  if (const UINT other = SynthesisedFrom(format)) {
    if (Entry* old = Stored(other); old != nullptr && old->made) {
      Free(*old);
      std::erase_if(State().entries, [other](const Entry& e) { return e.format == other; });
    }
  }
  Store(format, data);
  Stored(format)->made = false;
  if (format == CF_TEXT) State().textChanged = true;
  return data;
}

HANDLE GetClipboardData(UINT format) {
  if (!RequireOpen()) return nullptr;
  if (const Entry* entry = Stored(format)) return entry->data;
  const UINT from = SynthesisedFrom(format);
  const Entry* source = from != 0 ? Stored(from) : nullptr;
  if (source == nullptr) return nullptr;
  HANDLE made = format == CF_DIB ? static_cast<HANDLE>(DibOfBitmap(static_cast<HBITMAP>(source->data)))
                                 : static_cast<HANDLE>(BitmapOfDib(source->data));
  if (made != nullptr) State().entries.push_back(Entry{format, made, true});
  return made;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  if (!State().open) TakeSystemChanges();
  const std::vector<UINT> formats = Offered();
  return format != 0 && std::find(formats.begin(), formats.end(), format) != formats.end() ? TRUE : FALSE;
}

UINT EnumClipboardFormats(UINT format) {
  if (!RequireOpen()) return 0;
  const std::vector<UINT> formats = Offered();
  SetLastError(ERROR_SUCCESS);
  if (format == 0) return formats.empty() ? 0 : formats.front();
  const auto at = std::find(formats.begin(), formats.end(), format);
  return at == formats.end() || at + 1 == formats.end() ? 0 : *(at + 1);
}

int CountClipboardFormats() {
  if (!State().open) TakeSystemChanges();
  return static_cast<int>(Offered().size());
}

UINT RegisterClipboardFormatA(LPCSTR name) {
  if (name == nullptr || *name == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::vector<std::string>& names = State().registered;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (strcasecmp(names[i].c_str(), name) == 0) return kFirstRegistered + static_cast<UINT>(i);
  }
  if (names.size() > kLastRegistered - kFirstRegistered) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  names.emplace_back(name);
  return kFirstRegistered + static_cast<UINT>(names.size() - 1);
}

int GetClipboardFormatNameA(UINT format, LPSTR buffer, int size) {
  const std::vector<std::string>& names = State().registered;
  if (format < kFirstRegistered || format - kFirstRegistered >= names.size() || buffer == nullptr || size <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string& name = names[format - kFirstRegistered];
  const std::size_t count = std::min<std::size_t>(name.size(), static_cast<std::size_t>(size) - 1);
  std::memcpy(buffer, name.data(), count);
  buffer[count] = '\0';
  return static_cast<int>(count);
}

HWND GetClipboardOwner() { return State().owner; }
HWND GetOpenClipboardWindow() { return State().open ? State().openBy : nullptr; }
