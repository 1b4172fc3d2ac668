// The size text needs in an edit control: the lines the control has laid out, each measured in the
// style's font with room for the caret. Measuring wrapped text (MeasureWrappedText, declared with the
// display port) lays the text out in a hidden control of the kind.
#pragma once

#include <string_view>

#include "core/Geometry.h"
#include "graphics/DisplayPort.h"
#include "platform/kernel/WinTypes.h"

// The width of the widest line and the height of all lines of the control's text, each line measured
// with one "I" after it (an empty line still has a line's height, and every line the caret's room); (0, 0)
// for an empty text. `text` is the control's own text.
Point MeasureEditText(HWND control, std::string_view text, const PortTextStyle& style);
