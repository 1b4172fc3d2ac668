// Every call graphics makes into the libraries above it, in one list. Each seam is filled by one install
// call of the library that provides it (InstallUiSeams) and keeps a plain default until then, so that the
// graphics tests link without those libraries.
#pragma once

#include <cstdint>

#include "core/Smart.h"

class DisplayPort;
class OperationLog;
struct Color;
struct Rect;

// Text styles belong to the window system, which installs the drawing of text in the framework's default
// style (font 1, 12 points, left-aligned, no background) in a colour; until then such text is not drawn.
using DefaultStyleTextDrawer = void (*)(DisplayPort& port, const Rect& rect, const char* text, std::int32_t length,
                                        const Color& color);
void SetDefaultStyleTextDrawer(DefaultStyleTextDrawer drawer);
DefaultStyleTextDrawer GetDefaultStyleTextDrawer();

// The log window of long drawing operations belongs to the window system too. Null (the default) opens
// logs that write nothing.
using OperationLogOpener = SmartRef<OperationLog> (*)();
void SetOperationLogOpener(OperationLogOpener opener);
OperationLogOpener GetOperationLogOpener();
