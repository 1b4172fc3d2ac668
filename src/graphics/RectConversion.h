// The program's rectangles and points as the system's RECT and POINT, and back.
#pragma once

#include "core/Geometry.h"
#include "platform/kernel/WinTypes.h"

RECT ToRECT(const Rect& r);
Rect FromRECT(const RECT& r);
POINT ToPOINT(const Point& p);
void CopyPoint(const Point& from, POINT* to);
