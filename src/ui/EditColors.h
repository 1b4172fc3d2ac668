// The colours of the program's edit controls: each names its text style in a window property, and its
// parent window answers the control's colour request from that style.
#pragma once

#include "platform/kernel/WinTypes.h"

// The window property of an edit control that holds its TextStyle (not counted).
inline constexpr const char* kTextStyleProperty = "TextStyle";

// The answer to an edit control's WM_CTLCOLOREDIT: the application palette selected into its context, the
// style's text colour set there, and the brush of the style's background: the hollow stock brush for a
// transparent one, null for a control without a style. The brush stays usable until the next call asks
// for another colour.
HBRUSH EditControlBrush(HWND control, HDC dc);
