// Flood fill: runs grown along rows from the seed and handed on to the rows above and below (a scanline
// seed fill with an explicit stack of runs, so that no canvas is too large for it), 4-connected.
#include <algorithm>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/raster/Raster.h"
#include "platform/kernel/Errors.h"

using namespace platform::gdi;

namespace {

// Fills from the seed within the window (inclusive bounds). The policy answers whether a pixel of a row is
// still to fill and fills runs; once filled, a pixel no longer counts as to fill.
template <typename Policy>
void SeedFill(Policy& policy, const RECT& window, int seedX, int seedY) {
  struct Segment {
    int y;   // the row to explore
    int x1;  // the run [x1, x2] of row y - dy that was filled
    int x2;
    int dy;
  };
  std::vector<Segment> stack;
  const int top = window.top, bottom = window.bottom - 1, left = window.left, right = window.right - 1;
  auto push = [&](int filledRow, int x1, int x2, int dy) {
    int next = filledRow + dy;
    if (next >= top && next <= bottom) stack.push_back(Segment{next, x1, x2, dy});
  };
  // The seed row is explored first, going up as if the pixel below the seed had been filled; its runs
  // lean back down beside the seed, and the pixel below the seed is explored on its own.
  if (seedY + 1 <= bottom) stack.push_back(Segment{seedY + 1, seedX, seedX, 1});
  stack.push_back(Segment{seedY, seedX, seedX, -1});
  while (!stack.empty()) {
    Segment s = stack.back();
    stack.pop_back();
    auto row = policy.Row(s.y);
    int x = s.x1;
    while (x <= s.x2) {
      if (!row.In(x)) {
        ++x;
        continue;
      }
      int l = x == s.x1 ? row.ExtendLeft(x, left) : x;
      int r = row.ExtendRight(x, right);
      policy.Fill(row, s.y, l, r);
      push(s.y, l, r, s.dy);
      if (l < s.x1) push(s.y, l, s.x1 - 1, -s.dy);
      if (r > s.x2) push(s.y, s.x2 + 1, r, -s.dy);
      x = r + 2;
    }
  }
}

// The common case of the paint tools: a solid colour over pixels of one other colour in a rectangular
// clip. Filled pixels change value, which is what stops the fill.
template <typename Pixel>
struct DirectFill {
  Surface& surface;
  std::uint32_t target;
  Pixel value;
  struct RowAccess {
    Pixel* p;
    std::uint32_t target;
    bool In(int x) const { return (p[x] & 0xFFFFFF) == target; }
    // Blank areas are the usual case: four pixels are compared at a time.
    int ExtendRight(int x, int right) const {
      while (x + 4 <= right && (((p[x + 1] ^ target) | (p[x + 2] ^ target) | (p[x + 3] ^ target) | (p[x + 4] ^ target)) &
                                0xFFFFFF) == 0) {
        x += 4;
      }
      while (x < right && In(x + 1)) ++x;
      return x;
    }
    int ExtendLeft(int x, int left) const {
      while (x - 4 >= left && (((p[x - 1] ^ target) | (p[x - 2] ^ target) | (p[x - 3] ^ target) | (p[x - 4] ^ target)) &
                               0xFFFFFF) == 0) {
        x -= 4;
      }
      while (x > left && In(x - 1)) --x;
      return x;
    }
  };
  RowAccess Row(int y) { return RowAccess{reinterpret_cast<Pixel*>(surface.Row(y)), target}; }
  void Fill(RowAccess row, int, int l, int r) { std::fill(row.p + l, row.p + r + 1, value); }
};

// Everything else: a map of the pixels already taken (and of the clip), the runs kept and painted after.
struct MappedFill {
  enum : BYTE { kOutside = 0, kOpen = 1, kTaken = 2 };
  const Surface& surface;
  RECT box;
  std::uint32_t target;
  bool surfaceMode;
  std::vector<BYTE> state;
  struct Run {
    int y, x0, x1;  // x1 exclusive
  };
  std::vector<Run> runs;

  MappedFill(const Surface& s, const std::vector<RECT>& clip, RECT bounds, std::uint32_t t, bool surfaceKind)
      : surface(s), box(bounds), target(t), surfaceMode(surfaceKind),
        state(static_cast<std::size_t>(bounds.right - bounds.left) * (bounds.bottom - bounds.top),
              clip.size() == 1 ? kOpen : kOutside) {
    if (clip.size() == 1) return;
    for (const RECT& r : clip) {
      for (int y = r.top; y < r.bottom; ++y) std::fill_n(Cells(y) + (r.left - box.left), r.right - r.left, kOpen);
    }
  }
  BYTE* Cells(int y) { return state.data() + static_cast<std::size_t>(y - box.top) * (box.right - box.left); }

  struct RowAccess {
    const BYTE* pixels;
    BYTE* cells;
    int left;
    int bpp;
    std::uint32_t target;
    bool surfaceMode;
    bool In(int x) const {
      return cells[x - left] == kOpen && ((ReadPixel(pixels, x, bpp) == target) == surfaceMode);
    }
    int ExtendRight(int x, int right) const {
      while (x < right && In(x + 1)) ++x;
      return x;
    }
    int ExtendLeft(int x, int leftmost) const {
      while (x > leftmost && In(x - 1)) --x;
      return x;
    }
  };
  RowAccess Row(int y) { return RowAccess{surface.Row(y), Cells(y), box.left, surface.bpp, target, surfaceMode}; }
  void Fill(RowAccess row, int y, int l, int r) {
    std::fill(row.cells + (l - box.left), row.cells + (r + 1 - box.left), kTaken);
    runs.push_back(Run{y, l, r + 1});
  }
};

}  // namespace

BOOL ExtFloodFill(HDC handle, int x, int y, COLORREF color, UINT kind) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return FALSE;
  if (kind != FLOODFILLBORDER && kind != FLOODFILLSURFACE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!InDrawingRange({x, y})) return FALSE;
  Surface& surface = *dc->surface;
  const std::vector<RECT>& clip = dc->Clip();
  int sx = x + dc->origin.x, sy = y + dc->origin.y;
  bool inClip = std::any_of(clip.begin(), clip.end(), [&](const RECT& r) {
    return sx >= r.left && sx < r.right && sy >= r.top && sy < r.bottom;
  });
  if (!inClip) return FALSE;
  std::uint32_t target = ValueOnSurface(*dc, color);
  bool surfaceMode = kind == FLOODFILLSURFACE;
  if ((surface.Get(sx, sy) == target) != surfaceMode) return FALSE;

  Paint paint = BrushPaint(*dc, *dc->brush);
  BYTE rop = 0xF0;
  ResolveConstantRop(surface, rop, paint);
  if (paint.none) return TRUE;
  if (surfaceMode && paint.solid && paint.value != target && clip.size() == 1 && (surface.bpp == 32 || surface.bpp == 8)) {
    if (surface.bpp == 32) {
      DirectFill<std::uint32_t> fill{surface, target, paint.value};
      SeedFill(fill, clip.front(), sx, sy);
    } else {
      DirectFill<BYTE> fill{surface, target, static_cast<BYTE>(paint.value)};
      SeedFill(fill, clip.front(), sx, sy);
    }
    return TRUE;
  }
  RECT box = dc->ClipBox();
  MappedFill fill(surface, clip, box, target, surfaceMode);
  SeedFill(fill, box, sx, sy);
  for (const auto& run : fill.runs) FillSpan(surface, run.y, run.x0, run.x1, paint, rop);
  return TRUE;
}

BOOL FloodFill(HDC dc, int x, int y, COLORREF border) { return ExtFloodFill(dc, x, y, border, FLOODFILLBORDER); }
