// The colours and strokes the window system draws its own parts with: frames, captions and menus.
#pragma once

#include "platform/kernel/WinTypes.h"

namespace platform::user::look {

constexpr COLORREF kFace = 0x00C0C0C0;
constexpr COLORREF kHighlight = 0x00FFFFFF;
constexpr COLORREF kShadow = 0x00808080;
constexpr COLORREF kDark = 0x00000000;

void Fill(HDC dc, RECT r, COLORREF colour);
// A one-pixel ring: the top and left sides in one colour, the bottom and right in another.
void Ring(HDC dc, RECT r, COLORREF topLeft, COLORREF bottomRight);

}  // namespace platform::user::look
