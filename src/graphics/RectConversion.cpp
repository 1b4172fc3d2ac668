#include "graphics/RectConversion.h"

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
Rect FromRECT(const RECT& r) { return Rect(r.left, r.top, r.right, r.bottom); }
POINT ToPOINT(const Point& p) { return POINT{p.x, p.y}; }
void CopyPoint(const Point& from, POINT* to) { *to = ToPOINT(from); }
