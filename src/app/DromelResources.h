// The application's own numbered material: its texts (string-table ids from 1000), its pictures (the
// numbered files of "Data" from 1000) and the looks of its button groups.
#pragma once

#include "core/Resources.h"
#include "core/Smart.h"

class BitMap;
class Exception;
class PaletteLook;
class String;

// Entry n is text or picture 1000 + n.
extern Resources gAppResources;

// Text 1000 + n, with "%1" to "%4" replaced by the substitutions given (none: the text as it stands).
void GetResourceText(String& out, int n, const char* text1 = nullptr, const char* text2 = nullptr,
                     const char* text3 = nullptr, const char* text4 = nullptr);
// Text 1000 + n as it stands.
String ResourceText(int n);

// The application's button groups: 400 to 404 the pages of the page editor's palette, 405 the start
// column. A new look on every call; another id fails the assertion.
SmartRef<PaletteLook> ButtonLook(int id);

// Whether the picture is there with at least one pixel.
bool HasPixels(const SmartRef<BitMap>& picture);

// Whether the exception is the child's cancel (raised as a plain Exception pointer, so that a catch by its
// own class would never see it).
bool IsUserCancel(Exception* exception);
