// Fonts of the drawing interface: creating them from a description and enumerating the families there are.
#pragma once

#include <memory>

#include "platform/gdi/text/FontTypes.h"

// A font of the face named (a face the system has, or the stand-in of one the program expects), at the
// height, weight, slant and underline asked for. Null, with ERROR_INVALID_PARAMETER, without a description;
// null, with ERROR_FILE_NOT_FOUND, when not a single font can be loaded.
HFONT CreateFontIndirectA(const LOGFONTA* font);

// Calls `proc` once per font family (with `family` null) or for the named family only, in the order the
// system keeps them; answers the last value `proc` returned (0 stopped the enumeration), or 1 when there
// was nothing to enumerate. Families depend on the display, not on the context: `dc` is not used.
int EnumFontFamiliesA(HDC dc, LPCSTR family, FONTENUMPROCA proc, LPARAM data);

namespace platform::text {

class RasterFont;

// The font behind a live font handle, or null. Contexts that select a font keep it, so that deleting the
// handle while it is selected leaves them drawing with it.
std::shared_ptr<RasterFont> FontOf(const void* handle);
// Ends a font handle (the drawing interface's DeleteObject); false when it is no live font.
bool DeleteFont(const void* handle);
// GetObjectA of a font: the description, or its size when `buffer` is null; 0 when it is no live font.
int GetFontObject(const void* handle, int size, void* buffer);
// Live font handles, for tests that look for leaks.
std::size_t CountFonts();

}  // namespace platform::text
