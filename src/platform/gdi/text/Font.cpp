#include "platform/gdi/text/Font.h"

#include <algorithm>
#include <strings.h>

#include <cstring>
#include <unordered_map>

#include "platform/gdi/text/FontFiles.h"
#include "platform/gdi/text/RasterFont.h"
#include "platform/kernel/Errors.h"

namespace platform::text {
namespace {

// A handle is the address of its entry, so handles of fonts never collide with those of other objects.
struct FontHandle {
  std::shared_ptr<RasterFont> font;
};

std::unordered_map<const void*, std::unique_ptr<FontHandle>>& Handles() {
  static std::unordered_map<const void*, std::unique_ptr<FontHandle>> handles;
  return handles;
}

}  // namespace

std::shared_ptr<RasterFont> FontOf(const void* handle) {
  auto it = Handles().find(handle);
  return it == Handles().end() ? nullptr : it->second->font;
}

bool DeleteFont(const void* handle) { return Handles().erase(handle) > 0; }

int GetFontObject(const void* handle, int size, void* buffer) {
  auto font = FontOf(handle);
  if (!font) return 0;
  if (!buffer) return static_cast<int>(sizeof(LOGFONTA));
  const int n = std::min(size, static_cast<int>(sizeof(LOGFONTA)));
  if (n <= 0) return 0;
  std::memcpy(buffer, &font->Description(), static_cast<std::size_t>(n));
  return n;
}

std::size_t CountFonts() { return Handles().size(); }

}  // namespace platform::text

using namespace platform::text;

HFONT CreateFontIndirectA(const LOGFONTA* font) {
  if (!font) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto realised = RasterFont::Create(*font);
  if (!realised) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  auto entry = std::make_unique<FontHandle>(FontHandle{std::move(realised)});
  auto* handle = reinterpret_cast<HFONT>(entry.get());
  Handles().emplace(handle, std::move(entry));
  return handle;
}

int EnumFontFamiliesA(HDC, LPCSTR family, FONTENUMPROCA proc, LPARAM data) {
  if (!proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int answer = 1;
  for (const std::string& name : FontFamilies()) {
    if (family && strcasecmp(family, name.c_str()) != 0) continue;
    LOGFONTA description{};
    description.lfHeight = -16;
    description.lfWeight = FW_NORMAL;
    std::memcpy(description.lfFaceName, name.c_str(), std::min<std::size_t>(name.size(), LF_FACESIZE - 1));
    auto font = RasterFont::Create(description);
    if (!font) continue;
    description.lfPitchAndFamily = static_cast<BYTE>(font->Metrics().tmPitchAndFamily & 0xF0);
    answer = proc(&description, &font->Metrics(), TRUETYPE_FONTTYPE, data);
    if (answer == 0) break;
  }
  return answer;
}
