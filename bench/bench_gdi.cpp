// The drawing layer's hot paths at the page sizes, with the plain loops they are held up against.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>
#include <vector>

#include "BenchSupport.h"
#include "platform/gdi/Gdi.h"

namespace {

// A memory context over a DIB section of the page's size.
struct Surface {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  BYTE* bits = nullptr;
  std::size_t bytes = 0;

  Surface(int bpp, int width, int height, BYTE tableShift = 0) : width(width), height(height) {
    std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
    info->bmiHeader = BITMAPINFOHEADER{40, width, height, 1, static_cast<WORD>(bpp), BI_RGB, 0, 0, 0, 0, 0};
    for (int i = 0; i < 256; ++i) {
      BYTE v = static_cast<BYTE>(i ^ tableShift);
      info->bmiColors[i] = RGBQUAD{v, static_cast<BYTE>(255 - v), v, 0};
    }
    void* pixels = nullptr;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    previous = SelectObject(dc, bitmap);
    bits = static_cast<BYTE*>(pixels);
    bytes = static_cast<std::size_t>(((width * bpp + 31) & ~31) / 8) * height;
  }
  int width;
  int height;

  ~Surface() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void Clear(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
  }
};

// The page's size from the width argument.
int Width(const benchmark::State& state, int index = 0) { return static_cast<int>(state.range(index)); }
int Height(const benchmark::State& state, int index = 0) { return bench::PageHeight(Width(state, index)); }

void FullSurfaceFill(benchmark::State& state) {
  Surface surface(static_cast<int>(state.range(0)), Width(state, 1), Height(state, 1));
  HBRUSH brush = CreateSolidBrush(RGB(12, 34, 56));
  RECT all{0, 0, surface.width, surface.height};
  for (auto _ : state) {
    FillRect(surface.dc, &all, brush);
    benchmark::ClobberMemory();
  }
  DeleteObject(brush);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * surface.bytes));
}
BENCHMARK(FullSurfaceFill)
    ->ArgsProduct({{8, 32}, {std::begin(bench::kPageWidths), std::end(bench::kPageWidths)}})
    ->ArgNames({"bpp", "width"})
    ->Unit(benchmark::kMicrosecond);

void MemcpyOfAnEightBitPage(benchmark::State& state) {
  std::vector<BYTE> from(static_cast<std::size_t>(Width(state)) * Height(state), 3), to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * from.size()));
}
BENCHMARK(MemcpyOfAnEightBitPage)->Apply(bench::PageSizes)->Unit(benchmark::kMicrosecond);

// Arg 0: identical colour tables (indices copied); 1: different tables (indices mapped).
void Blit8To8(benchmark::State& state) {
  const int width = Width(state, 1), height = Height(state, 1);
  Surface from(8, width, height), to(8, width, height, state.range(0) ? 0x55 : 0);
  std::memset(from.bits, 7, from.bytes);
  for (auto _ : state) {
    BitBlt(to.dc, 0, 0, width, height, from.dc, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * from.bytes));
}
BENCHMARK(Blit8To8)
    ->ArgsProduct({{0, 1}, {std::begin(bench::kPageWidths), std::end(bench::kPageWidths)}})
    ->ArgNames({"mapped", "width"})
    ->Unit(benchmark::kMicrosecond);

void Blit8To32(benchmark::State& state) {
  const int width = Width(state), height = Height(state);
  Surface from(8, width, height), to(32, width, height);
  for (std::size_t i = 0; i < from.bytes; ++i) from.bits[i] = static_cast<BYTE>(i * 7);
  for (auto _ : state) {
    BitBlt(to.dc, 0, 0, width, height, from.dc, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(Blit8To32)->Apply(bench::PageSizes)->Unit(benchmark::kMicrosecond);

// Arg: the stretch mode. A 32-bit page reduced four times, as the page browser's thumbnails are.
void Downscale4x(benchmark::State& state) {
  const int width = Width(state, 1), height = Height(state, 1);
  Surface from(32, width, height), to(32, width / 4, height / 4);
  std::mt19937 random(1);
  for (std::size_t i = 0; i < from.bytes; ++i) from.bits[i] = static_cast<BYTE>(random());
  SetStretchBltMode(to.dc, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    StretchBlt(to.dc, 0, 0, width / 4, height / 4, from.dc, 0, 0, width, height, SRCCOPY);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(Downscale4x)
    ->ArgsProduct({{COLORONCOLOR, HALFTONE}, {std::begin(bench::kPageWidths), std::end(bench::kPageWidths)}})
    ->ArgNames({"mode", "width"})
    ->Unit(benchmark::kMicrosecond);

enum Canvas { kBlank, kScribbled, kSpiral };

void PrepareCanvas(Surface& surface, Canvas kind) {
  const int width = surface.width, height = surface.height;
  surface.Clear(RGB(255, 255, 255));
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(surface.dc, pen);
  if (kind == kScribbled) {
    // Pencil scribbles: short strokes wandering over the page, leaving islands and bays for the fill to
    // work around.
    std::mt19937 random(42);
    for (int stroke = 0; stroke < 60; ++stroke) {
      int x = static_cast<int>(random() % width), y = static_cast<int>(random() % height);
      MoveToEx(surface.dc, x, y, nullptr);
      for (int i = 0; i < 50; ++i) {
        x = std::clamp(x + static_cast<int>(random() % 17) - 8, 0, width - 1);
        y = std::clamp(y + static_cast<int>(random() % 17) - 8, 0, height - 1);
        LineTo(surface.dc, x, y);
      }
    }
  } else if (kind == kSpiral) {
    // Nested frames three pixels apart, each opened at one place, alternately at the top left and the bottom
    // right: a fill from the outer corridor runs half way round every ring to reach the next one.
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    for (int k = 0; 3 * k + 6 < height / 2; ++k) {
      RECT ring{3 * k, 3 * k, width - 3 * k, height - 3 * k};
      FrameRect(surface.dc, &ring, black);
      if (k > 0) {
        SelectObject(surface.dc, GetStockObject(WHITE_BRUSH));
        if (k % 2) PatBlt(surface.dc, ring.left + 1, ring.top, 2, 1, PATCOPY);
        else PatBlt(surface.dc, ring.right - 3, ring.bottom - 1, 2, 1, PATCOPY);
      }
    }
  }
  SelectObject(surface.dc, old);
  DeleteObject(pen);
}

void FloodFillCanvas(benchmark::State& state) {
  Surface surface(32, Width(state, 1), Height(state, 1));
  PrepareCanvas(surface, static_cast<Canvas>(state.range(0)));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), white = CreateSolidBrush(RGB(255, 255, 255));
  bool toRed = true;
  // The seed: in the outer corridor of the spiral; elsewhere the first white pixel right of the centre.
  int seedX = surface.width / 2, seedY = surface.height / 2;
  if (state.range(0) == kSpiral) seedX = seedY = 1;
  while (GetPixel(surface.dc, seedX, seedY) != RGB(255, 255, 255)) ++seedX;
  // How many pixels one fill covers, reported beside the time.
  SelectObject(surface.dc, red);
  ExtFloodFill(surface.dc, seedX, seedY, RGB(255, 255, 255), FLOODFILLSURFACE);
  std::int64_t covered = 0;
  for (std::size_t i = 0; i + 4 <= surface.bytes; i += 4) covered += surface.bits[i + 2] == 255 && surface.bits[i] == 0;
  SelectObject(surface.dc, white);
  ExtFloodFill(surface.dc, seedX, seedY, RGB(255, 0, 0), FLOODFILLSURFACE);
  state.counters["pixels"] = static_cast<double>(covered);
  // Filling alternately with red and back with white covers the same pixels every time.
  for (auto _ : state) {
    SelectObject(surface.dc, toRed ? red : white);
    ExtFloodFill(surface.dc, seedX, seedY, toRed ? RGB(255, 255, 255) : RGB(255, 0, 0), FLOODFILLSURFACE);
    toRed = !toRed;
  }
  SelectObject(surface.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
  DeleteObject(white);
}
BENCHMARK(FloodFillCanvas)
    ->ArgsProduct({{kBlank, kScribbled, kSpiral}, {std::begin(bench::kPageWidths), std::end(bench::kPageWidths)}})
    ->ArgNames({"canvas", "width"})
    ->Unit(benchmark::kMicrosecond);

// The yardstick: a fill that pushes every pixel's four neighbours on a stack.
void PerPixelStackFillOfABlankPage(benchmark::State& state) {
  const int width = Width(state), height = Height(state);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 0xFFFFFF);
  std::uint32_t from = 0xFFFFFF, to = 0xFF0000;
  std::vector<std::pair<int, int>> stack;
  for (auto _ : state) {
    stack.assign(1, {width / 2, height / 2});
    while (!stack.empty()) {
      auto [x, y] = stack.back();
      stack.pop_back();
      if (x < 0 || y < 0 || x >= width || y >= height) continue;
      std::uint32_t& p = pixels[static_cast<std::size_t>(y) * width + x];
      if (p != from) continue;
      p = to;
      stack.push_back({x + 1, y});
      stack.push_back({x - 1, y});
      stack.push_back({x, y + 1});
      stack.push_back({x, y - 1});
    }
    std::swap(from, to);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(PerPixelStackFillOfABlankPage)->Apply(bench::PageSizes)->Unit(benchmark::kMicrosecond);

}  // namespace
