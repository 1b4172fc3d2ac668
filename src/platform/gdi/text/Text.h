// Fonts and text of the drawing interface. Text is the program's Windows-1252 bytes; characters are drawn
// in one-bit ink (no antialiasing) in the context's text colour, over a cell-sized box of its background
// colour when the background mode is OPAQUE, within the context's clip. Text is always horizontal, from
// the top-left corner of its first character cell.
#pragma once

#include "platform/gdi/text/FontTypes.h"

// A font of the face named (a face the system has, or the stand-in of one the program expects), at the
// height, weight, slant and underline asked for. Null, with ERROR_INVALID_PARAMETER, without a description;
// null, with ERROR_FILE_NOT_FOUND, when not a single font can be loaded.
HFONT CreateFontIndirectA(const LOGFONTA* font);

// Calls `proc` once per font family (with `family` null) or for the named family only, in the order the
// system keeps them; answers the last value `proc` returned (0 stopped the enumeration), or 1 when there
// was nothing to enumerate. Families depend on the display, not on the context: `dc` is not used.
int EnumFontFamiliesA(HDC dc, LPCSTR family, FONTENUMPROCA proc, LPARAM data);

// Metrics of the context's font.
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
// The advance width of `count` characters and the font's height; characters are measured, not broken.
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, SIZE* size);
BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int count, SIZE* size);

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);

// Draws text in a rectangle: lines break at CR, LF and CR LF and, with DT_WORDBREAK, at blanks to fit the
// rectangle's width (a longer word overflows); each line is aligned left, centred (DT_CENTER) or right
// (DT_RIGHT) in the rectangle, from its top down. Drawing is clipped to the rectangle unless DT_NOCLIP.
// DT_CALCRECT draws nothing and sets the rectangle's right to its left plus the widest line and its bottom
// to its top plus the lines' height. A count of -1 means a NUL-terminated text. '&' is an ordinary
// character: no mnemonic prefixes are drawn, as if DT_NOPREFIX were always given. Answers the height of the
// text, 0 on failure.
int DrawTextA(HDC dc, LPCSTR text, int count, RECT* rect, UINT format);
