// Frames drawn around windows (internal to the window system).
#pragma once

#include "platform/user/WindowTree.h"

namespace platform::user {

// Marks frames for drawing, draws those marked, and the hit test of frame parts.
void MarkFrame(WindowData& window);
void MarkFramesIn(WindowData& window, const RectList& area);
void PaintFrames();
LRESULT FramePaint(HWND window);  // WM_NCPAINT as the system does it
int HitTest(const WindowData& window, POINT screen);
// Caption drags and the close box (Input.cpp): the layer tracks the mouse itself until the button is up.
void BeginFrameTracking(HWND window, int hit, POINT screen);

}  // namespace platform::user
