#include "ui/shell/Clipboard.h"

#include <cstring>
#include <exception>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/String.h"
#include "graphics/formats/BMPFile.h"
#include "graphics/bitmaps/BitMap.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "platform/user/Clipboard.h"

SmartRef<Smart> gKeptScrap;
UINT gPrivateFormat = 0;

namespace {

constexpr UINT kSharedBlock = GMEM_DDESHARE | GMEM_MOVEABLE;

// A global block holding the bytes, for the clipboard to own once it is given.
HGLOBAL NewBlock(const void* bytes, std::size_t size) {
  HGLOBAL block = CHECK_NOT_NULL(GlobalAlloc(kSharedBlock, size));
  void* data = CHECK_NOT_NULL(GlobalLock(block));
  std::memcpy(data, bytes, size);
  GlobalUnlock(block);
  return block;
}

}  // namespace

namespace {
constexpr SourceName kSource("CLIPBRD");
}  // namespace

SMART_COPY_CHECK_AT(Clipboard, kSource.Line(84));
SMART_DEFINE(Clipboard, "Clipboard", &Clipboard::Create, nullptr, SmartImplementation)

ClipboardOpener::ClipboardOpener() { CHECK_CALL(OpenClipboard(gMainWindow)); }

ClipboardOpener::~ClipboardOpener() noexcept(false) {
  ClearBenignError({ERROR_INVALID_PARAMETER});
  const BOOL closed = CloseClipboard();
  // A failure met while another is being unwound gives way to it.
  if (std::uncaught_exceptions() == 0) CHECK_CALL(closed);
}

Clipboard::~Clipboard() = default;

void Clipboard::SetScrap(Smart* object) {
  if (object == ~content) return;
  content = object;
  link = kAttached;
  flags &= static_cast<std::uint8_t>(~kStale);
}

Smart* Clipboard::GetScrap() {
  if (IsStale()) Import();
  return ~content;
}

void Clipboard::Clear() {
  if (!content) return;
  content = nullptr;
  link = kAttached;
  flags &= static_cast<std::uint8_t>(~kStale);
}

bool Clipboard::AddScrapTo(List& list) {
  Smart* scrap = GetScrap();
  if (scrap == nullptr) return false;
  if (const ListData* elements = CastSmart<ListData>(scrap)) return list->InsertConverted(*elements, 0);
  return list->InsertItemConverted(0, scrap);
}

void Clipboard::Swap(Clipboard& other) {
  std::swap(content, other.content);
  std::swap(link, other.link);
  const std::uint8_t stale = flags & kStale;
  flags = static_cast<std::uint8_t>((flags & ~kStale) | (other.flags & kStale));
  other.flags = static_cast<std::uint8_t>((other.flags & ~kStale) | stale);
}

void Clipboard::MarkSynced(bool keepLink) {
  if (!keepLink) link = kAttached;
  flags &= static_cast<std::uint8_t>(~kStale);
}

void Clipboard::SetActive(bool active) {
  if (IsDetached()) return;
  if (active) {
    flags |= kStale;
  } else if (!IsStale()) {
    Export();
  }
}

// The program's formats replace what the system clipboard held: another program must not paste an older
// text after the user copied something else here.
void Clipboard::Export() {
  if (IsDetached()) return;
  if (content) {
    if (gPrivateFormat == 0) gPrivateFormat = CHECK_NON_ZERO(RegisterClipboardFormatA("QuilloryClip"));
    ClipboardOpener opener;
    CHECK_CALL(EmptyClipboard());
    if (const String* text = CastSmart<String>(~content)) {
      const std::string bytes = TextOf(*text);
      CHECK_NOT_NULL(SetClipboardData(CF_TEXT, NewBlock(bytes.c_str(), bytes.size() + 1)));
    }
    gKeptScrap = content;
    // Only a token: the object itself never leaves the program.
    const void* token = ~content;
    CHECK_NOT_NULL(SetClipboardData(gPrivateFormat, NewBlock(&token, 4)));
  }
  MarkSynced(true);
}

void Clipboard::Import() {
  if (IsDetached()) return;
  Clear();
  if (!content) ImportSystem();
  MarkSynced(true);
}

void Clipboard::ImportSystem() {
  ClipboardOpener opener;
  if (gPrivateFormat != 0 && IsClipboardFormatAvailable(gPrivateFormat)) {
    SetScrap(~gKeptScrap);
    return;
  }
  if (IsClipboardFormatAvailable(CF_TEXT)) {
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
      if (const auto* text = static_cast<const char*>(GlobalLock(block))) {
        // The block may lack its terminator: the text ends at the block's end.
        const std::string bytes(text, strnlen(text, GlobalSize(block)));
        GlobalUnlock(block);
        SetScrap(SmartRef<String>(new String(bytes.c_str())).operator~());
        return;
      }
    }
  }
  if (IsClipboardFormatAvailable(CF_DIB)) {
    if (HANDLE dib = GetClipboardData(CF_DIB)) {
      SetScrap(SmartRef<BitMap>(NewBitMapFromDIB(dib)).operator~());
      return;
    }
  }
  if (IsClipboardFormatAvailable(CF_BITMAP)) {
    if (HANDLE bitmap = GetClipboardData(CF_BITMAP)) {
      SetScrap(SmartRef<BitMap>(new BitMap(static_cast<HBITMAP>(bitmap), 0, false, 0)).operator~());
    }
  }
}
