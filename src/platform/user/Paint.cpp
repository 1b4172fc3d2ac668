#include "platform/user/Paint.h"

#include <set>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Objects.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Message.h"
#include "platform/user/WindowSurface.h"
#include "platform/user/WindowTree.h"
#include "platform/user/FrameInternals.h"
#include "platform/user/PaintInternals.h"
#include "platform/user/QueueInternals.h"

using namespace platform::user;
using platform::RectList;

namespace platform::user {

namespace {

bool FindPaint(WindowData& w, HWND filter, HWND* found) {
  if (!(w.style & WS_VISIBLE)) return false;
  if (&w != &Desktop() && !w.update.Empty() && MatchesWindowFilter(w.handle, filter)) {
    *found = w.handle;
    return true;
  }
  for (WindowData* child : w.children) {
    if (FindPaint(*child, filter, found)) return true;
  }
  return false;
}

void UpdateNow(HWND handle, bool children) {
  WindowData* w = Find(handle);
  if (w == nullptr) return;
  if (!w->update.Empty() && IsShownChain(*w)) {
    SendMessageA(handle, WM_PAINT, 0, 0);
    w = Find(handle);
    if (w == nullptr) return;
  }
  if (!children) return;
  std::vector<HWND> list;
  for (WindowData* child : w->children) list.push_back(child->handle);
  for (HWND child : list) UpdateNow(child, true);
}

// The contexts handed out by GetDC and BeginPaint, so that ReleaseDC ends only those.
std::set<HDC>& WindowContexts() {
  static std::set<HDC> contexts;
  return contexts;
}

HRGN RegionOf(const RectList& area) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (const RECT& r : area.Rects()) {
    HRGN part = CreateRectRgnIndirect(&r);
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
  }
  return region;
}

}  // namespace

// A context drawing into the window's part of its top-level surface, limited to the given pixels.
HDC OpenDrawContext(const platform::DrawTarget& target) {
  if (target.surface == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  // A window with no pixels yet (no size, or more than the drawing layer holds) still has a context, as
  // every window does; it draws nowhere.
  const bool pixels = target.surface->bitmap != nullptr;
  const HDC dc = CreateSurfaceDC(pixels ? target.surface->bitmap
                                        : static_cast<HBITMAP>(platform::gdi::StockBitmap()->handle));
  if (dc == nullptr) return nullptr;
  SetDCOrigin(dc, target.origin);
  HRGN clip = RegionOf(pixels ? target.clip : RectList());
  SetDCSystemClip(dc, clip);
  DeleteObject(clip);
  WindowContexts().insert(dc);
  return dc;
}

namespace {

// The area a region names, or nothing with false when it is not a region.
bool AreaOf(HRGN region, RectList* area) {
  RECT box;
  if (GetRgnBox(region, &box) == RGN_ERROR) return false;
  area->Clear();
  for (const RECT& r : platform::GetRegionRects(region)) area->Add(r);
  return true;
}

}  // namespace

bool FindPaintWindow(HWND filter, HWND* window) { return FindPaint(Desktop(), filter, window); }

LRESULT EraseBackground(HWND window, HDC dc) {
  WindowData* w = Find(window);
  if (w == nullptr || dc == nullptr || !w->windowClass) return 0;
  const HBRUSH brush = w->windowClass->info.hbrBackground;
  if (brush == nullptr) return 0;
  const RECT client = ClientRectInParent(*w);
  const RECT all{0, 0, client.right - client.left, client.bottom - client.top};
  return FillRect(dc, &all, brush) ? 1 : 0;
}

}  // namespace platform::user

BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags) {
  WindowData* w = window ? Find(window) : &Desktop();
  if (w == nullptr) return FALSE;
  RectList area(rect != nullptr ? *rect : kEverywhere);
  if (region != nullptr && !AreaOf(region, &area)) return FALSE;
  const bool children = (flags & RDW_ALLCHILDREN)   ? true
                        : (flags & RDW_NOCHILDREN) ? false
                                                   : !(w->style & WS_CLIPCHILDREN);
  if (flags & RDW_INVALIDATE) InvalidateTree(*w, area, (flags & RDW_ERASE) != 0, children);
  if (flags & RDW_VALIDATE) ValidateTree(*w, area, children);
  if (flags & RDW_UPDATENOW) UpdateNow(w->handle, children);
  return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  return RedrawWindow(window, rect, nullptr, RDW_INVALIDATE | (erase ? static_cast<UINT>(RDW_ERASE) : 0u));
}

BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase) {
  return RedrawWindow(window, nullptr, region, RDW_INVALIDATE | (erase ? static_cast<UINT>(RDW_ERASE) : 0u));
}

BOOL ValidateRect(HWND window, const RECT* rect) {
  return RedrawWindow(window, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND window, HRGN region) {
  return RedrawWindow(window, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL UpdateWindow(HWND window) {
  if (Find(window) == nullptr) return FALSE;
  PaintFrames();
  UpdateNow(window, true);
  return TRUE;
}

BOOL GetUpdateRect(HWND window, RECT* rect, BOOL erase) {
  WindowData* w = Find(window);
  if (w == nullptr) return FALSE;
  if (rect != nullptr) *rect = w->update.Bounds();
  if (w->update.Empty()) return FALSE;
  if (erase && w->eraseNeeded) {
    const HDC dc = GetDC(window);
    w->eraseNeeded = SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    ReleaseDC(window, dc);
  }
  return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  WindowData* w = Find(window);
  if (w == nullptr || paint == nullptr) {
    if (paint == nullptr) SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  RectList area = w->update;
  area.Intersect(VisibleArea(*w, true));
  const bool erase = w->eraseNeeded;
  w->update.Clear();
  w->eraseNeeded = false;
  platform::DrawTarget target = platform::WindowDrawTarget(window, true);
  area.Offset(target.origin.x, target.origin.y);
  target.clip.Intersect(area);
  area.Offset(-target.origin.x, -target.origin.y);
  const HDC dc = OpenDrawContext(target);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->rcPaint = area.Bounds();
  if (erase) paint->fErase = SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 ? TRUE : FALSE;
  return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (paint == nullptr) return FALSE;
  return ReleaseDC(window, paint->hdc) ? TRUE : FALSE;
}

HDC GetDC(HWND window) {
  if (window == nullptr) window = Desktop().handle;  // the screen
  if (Find(window) == nullptr) return nullptr;
  return OpenDrawContext(platform::WindowDrawTarget(window, true));
}

// A window already destroyed has no context left to give back: the call fails, as EndPaint then does, and
// the context stays taken.
int ReleaseDC(HWND window, HDC dc) {
  if (window != nullptr && Find(window) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (WindowContexts().erase(dc) == 0) return 0;
  DeleteDC(dc);
  platform::NoteScreenChanged();
  return 1;
}

int GetUpdateRgn(HWND window, HRGN region, BOOL erase) {
  WindowData* w = Find(window);
  if (w == nullptr) return RGN_ERROR;
  RECT box;
  if (GetRgnBox(region, &box) == RGN_ERROR) return RGN_ERROR;
  HRGN update = RegionOf(w->update);
  CombineRgn(region, update, nullptr, RGN_COPY);
  DeleteObject(update);
  if (erase) GetUpdateRect(window, nullptr, TRUE);
  return w->update.Empty() ? NULLREGION : w->update.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
