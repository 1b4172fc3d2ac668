// The window system's own look: the grey faces, light and shadow edges, dotted focus rectangles and greyed
// text of frames and controls (internal to the window system).
#pragma once

#include "platform/gdi/Gdi.h"

namespace platform::user {

constexpr COLORREF kFace = 0x00C0C0C0;
constexpr COLORREF kHighlight = 0x00FFFFFF;
constexpr COLORREF kShadow = 0x00808080;
constexpr COLORREF kDark = 0x00000000;

void Fill(HDC dc, RECT r, COLORREF colour);
// A one-pixel ring: the top and left sides in one colour, the bottom and right in another.
void Ring(HDC dc, RECT r, COLORREF topLeft, COLORREF bottomRight);
RECT Inset(RECT r, int by);
// The two rings of a button standing out of its face, or of a well sunk into it.
void RaisedEdge(HDC dc, RECT r);
void SunkenEdge(HDC dc, RECT r);
// Every other pixel of the rectangle's outline inverted: drawing it twice takes it away.
void FocusRect(HDC dc, RECT r);
// Text in one colour, or greyed as unavailable things are: shadow grey over a white relief.
void DrawLabel(HDC dc, const char* text, int length, RECT r, UINT format, bool enabled);

// Brushes the system keeps for the whole run: the face colour, and the light checked track of scroll bars.
HBRUSH FaceBrush();
HBRUSH TrackBrush();

// The brush a control paints its background with, and the colours of its text, as its parent chooses them
// with the WM_CTLCOLOR message given (the system's when the parent answers none).
HBRUSH ControlColours(HWND control, HDC dc, UINT message);

}  // namespace platform::user
