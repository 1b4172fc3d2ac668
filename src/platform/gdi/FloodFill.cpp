// Flood fill: runs of pixels grown row by row from the seed, 4-connected, with an explicit stack.
#include <algorithm>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Raster.h"
#include "platform/kernel/Errors.h"

using namespace platform::gdi;

namespace {

enum : BYTE { kOutside = 0, kOpen = 1, kFilled = 2 };

struct Run {
  int y;
  int x0;
  int x1;  // exclusive
};

// Finds every pixel connected to the seed (in surface coordinates) that passes `fillable` and lies in the
// clip; returns the runs, or nothing when the seed itself is not fillable.
template <typename Fillable>
std::vector<Run> FindRuns(DeviceContext& dc, int sx, int sy, Fillable fillable) {
  const std::vector<RECT>& clip = dc.Clip();
  std::vector<Run> runs;
  if (clip.empty()) return runs;
  RECT box{clip.front().left, clip.front().top, clip.front().right, clip.back().bottom};
  for (const RECT& r : clip) {
    box.left = std::min(box.left, r.left);
    box.right = std::max(box.right, r.right);
  }
  const int width = box.right - box.left, height = box.bottom - box.top;
  std::vector<BYTE> state(static_cast<std::size_t>(width) * height, clip.size() == 1 ? kOpen : kOutside);
  if (clip.size() > 1) {
    for (const RECT& r : clip) {
      for (int y = r.top; y < r.bottom; ++y) {
        std::fill_n(state.begin() + static_cast<std::ptrdiff_t>(y - box.top) * width + (r.left - box.left), r.right - r.left,
                    kOpen);
      }
    }
  }
  auto cell = [&](int x, int y) -> BYTE& { return state[static_cast<std::size_t>(y - box.top) * width + (x - box.left)]; };
  if (sx < box.left || sx >= box.right || sy < box.top || sy >= box.bottom || cell(sx, sy) != kOpen) return runs;
  const BYTE* seedRow = dc.surface->Row(sy);
  if (!fillable(seedRow, sx)) return runs;

  std::vector<POINT> stack{POINT{sx, sy}};
  while (!stack.empty()) {
    POINT p = stack.back();
    stack.pop_back();
    const BYTE* row = dc.surface->Row(p.y);
    // Cells of a row are indexed from the clip box's left edge.
    BYTE* cells = &cell(box.left, p.y);
    const int left = box.left;
    if (cells[p.x - left] != kOpen || !fillable(row, p.x)) continue;
    int x0 = p.x, x1 = p.x + 1;
    while (x0 > box.left && cells[x0 - 1 - left] == kOpen && fillable(row, x0 - 1)) --x0;
    while (x1 < box.right && cells[x1 - left] == kOpen && fillable(row, x1)) ++x1;
    std::fill(cells + (x0 - left), cells + (x1 - left), kFilled);
    runs.push_back(Run{p.y, x0, x1});
    for (int ny : {p.y - 1, p.y + 1}) {
      if (ny < box.top || ny >= box.bottom) continue;
      const BYTE* next = dc.surface->Row(ny);
      const BYTE* nextCells = &cell(box.left, ny);
      bool inRun = false;
      for (int x = x0; x < x1; ++x) {
        bool open = nextCells[x - left] == kOpen && fillable(next, x);
        if (open && !inRun) stack.push_back(POINT{x, ny});
        inRun = open;
      }
    }
  }
  return runs;
}

template <typename Match>
std::vector<Run> FindRunsByDepth(DeviceContext& dc, int sx, int sy, std::uint32_t target, Match match) {
  switch (dc.surface->bpp) {
    case 8:
      return FindRuns(dc, sx, sy, [&](const BYTE* row, int x) { return match(row[x] == target); });
    case 32:
      return FindRuns(dc, sx, sy, [&](const BYTE* row, int x) {
        return match((reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF) == target);
      });
    default: {
      int bpp = dc.surface->bpp;
      return FindRuns(dc, sx, sy, [&](const BYTE* row, int x) { return match(ReadPixel(row, x, bpp) == target); });
    }
  }
}

}  // namespace

BOOL ExtFloodFill(HDC handle, int x, int y, COLORREF color, UINT kind) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return FALSE;
  if (kind != FLOODFILLBORDER && kind != FLOODFILLSURFACE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::uint32_t target = ValueOnSurface(*dc, color);
  int sx = x + dc->origin.x, sy = y + dc->origin.y;
  std::vector<Run> runs = kind == FLOODFILLSURFACE
                              ? FindRunsByDepth(*dc, sx, sy, target, [](bool same) { return same; })
                              : FindRunsByDepth(*dc, sx, sy, target, [](bool same) { return !same; });
  if (runs.empty()) return FALSE;
  Paint paint = BrushPaint(*dc, *dc->brush);
  if (paint.none) return TRUE;
  BYTE rop = 0xF0;
  ResolveConstantRop(*dc->surface, rop, paint);
  for (const Run& run : runs) FillSpan(*dc->surface, run.y, run.x0, run.x1, paint, rop);
  return TRUE;
}

BOOL FloodFill(HDC dc, int x, int y, COLORREF border) { return ExtFloodFill(dc, x, y, border, FLOODFILLBORDER); }
