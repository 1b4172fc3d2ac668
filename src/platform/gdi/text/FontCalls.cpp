#include <strings.h>

#include <algorithm>
#include <cstring>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/text/FontFiles.h"
#include "platform/gdi/text/FontObjects.h"
#include "platform/kernel/Errors.h"

namespace platform::text {
namespace {

std::unique_ptr<gdi::FontObject> NewFontObject(const LOGFONTA& description) {
  auto font = RasterFont::Create(description);
  if (!font) return nullptr;
  auto object = std::make_unique<gdi::FontObject>();
  object->font = std::move(font);
  return object;
}

}  // namespace

std::unique_ptr<gdi::FontObject> SystemFont() {
  LOGFONTA description{};
  description.lfHeight = 16;
  description.lfWeight = FW_BOLD;
  std::strcpy(description.lfFaceName, "Arial");
  return NewFontObject(description);
}

}  // namespace platform::text

using namespace platform::text;

HFONT CreateFontIndirectA(const LOGFONTA* font) {
  if (!font) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto object = NewFontObject(*font);
  if (!object) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  return static_cast<HFONT>(platform::gdi::Register(std::move(object)));
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
