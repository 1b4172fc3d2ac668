// Bitmaps at the page sizes: the pixel cursor at every depth, the mapping of a photograph to the program's
// 256 colours (beside the same job by netpbm's pnmremap, in the same run), and the paint bucket's flood
// fill on a blank and a maze canvas.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "BenchSupport.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/FloodFiller.h"
#include "graphics/OffScreen.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "platform/gdi/Gdi.h"

namespace {

// A 32-bit bitmap needs a system bitmap: the tables' direct depth is 24.
SmartRef<BitMap> PageAt(std::int16_t depth, int width) {
  bench::UseProgramFolder();
  const int height = bench::PageHeight(width);
  if (depth != 16 && depth != 32) return new BitMap(width, height, ColorTable::GetStandard(depth));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(depth), BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  SmartRef<BitMap> made(new BitMap(section, 0, false, 0));
  DeleteObject(section);
  return made;
}

void BM_PixelCursorWalk(benchmark::State& state) {
  const auto depth = static_cast<std::int16_t>(state.range(0));
  const auto width = static_cast<int>(state.range(1));
  SmartRef<BitMap> page = PageAt(depth, width);
  std::uint32_t sum = 0;
  for (auto _ : state) {
    PixelCursor cursor(~page, page->GetBounds(), true);
    for (; cursor.HasRow(); cursor.NextPixel()) {
      const std::uint32_t value = cursor.GetPixel();
      sum += value;
      cursor.SetPixel(value + 1);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * width * bench::PageHeight(width));
}
BENCHMARK(BM_PixelCursorWalk)
    ->ArgsProduct({{1, 4, 8, 16, 24, 32}, {std::begin(bench::kPageWidths), std::end(bench::kPageWidths)}})
    ->ArgNames({"depth", "width"})
    ->Unit(benchmark::kMillisecond);

// Smooth colour fields with grain: a few hundred thousand distinct colours, as in a photograph.
std::uint32_t PhotoPixel(int x, int y, std::mt19937& noise) {
  std::uniform_int_distribution<int> grain(-10, 10);
  const auto channel = [&](double v) { return static_cast<std::uint32_t>(std::clamp(v + grain(noise), 0.0, 255.0)); };
  const double r = 128 + 110 * std::sin(x / 83.0 + y / 151.0);
  const double g = 128 + 100 * std::sin(x / 127.0 - y / 67.0 + 1.0);
  const double b = 128 + 120 * std::cos((x + y) / 97.0);
  return channel(r) << 16 | channel(g) << 8 | channel(b);
}

SmartRef<BitMap> Photo(int width) {
  SmartRef<BitMap> photo = PageAt(24, width);
  std::mt19937 noise(7);
  PixelCursor cursor(~photo, photo->GetBounds(), true);
  for (; cursor.HasRow(); cursor.NextPixel())
    cursor.SetPixel(PhotoPixel(cursor.GetPosition().x, cursor.GetPosition().y, noise));
  return photo;
}

// The keyed pixel path maps every pixel but the key (a value no pixel has) to the nearest palette colour.
void MapPhotoTo256Colours(benchmark::State& state, int width) {
  SmartRef<BitMap> photo = Photo(width);
  SmartRef<OffScreen> page(new OffScreen(width, bench::PageHeight(width), 8, Color(0), true));
  gKeyedCopyThroughGDI = 0;
  for (auto _ : state) {
    DisplayPort port(~page, photo->GetBounds());
    photo->DrawKeyed(port, -1);
  }
  gKeyedCopyThroughGDI = 1;
  state.SetItemsProcessed(state.iterations() * width * bench::PageHeight(width));
}

// The same picture and palette through `pnmremap -nofloyd`: a whole program run.
void PnmRemapSamePhoto(benchmark::State& state, int width) {
  SmartRef<BitMap> photo = Photo(width);
  const int height = bench::PageHeight(width);
  const std::string picture = "/tmp/quillory-bench-photo-" + std::to_string(width) + ".ppm";
  const std::string palette = "/tmp/quillory-bench-palette.ppm";
  {
    std::ofstream out(picture, std::ios::binary);
    out << "P6\n" << width << " " << height << "\n255\n";
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const std::uint32_t v = photo->GetPixelValue(x, y);
        out.put(static_cast<char>(v >> 16)).put(static_cast<char>(v >> 8)).put(static_cast<char>(v));
      }
    PALETTEENTRY entries[256];
    GetPaletteEntries(ColorTable::GetAppPalette(), 0, 256, entries);
    std::ofstream map(palette, std::ios::binary);
    map << "P6\n256 1\n255\n";
    for (const PALETTEENTRY& e : entries)
      map.put(static_cast<char>(e.peRed)).put(static_cast<char>(e.peGreen)).put(static_cast<char>(e.peBlue));
  }
  bench::TimePeer(state, {"pnmremap", "-quiet", "-nofloyd", "-mapfile=" + palette, picture});
  std::remove(picture.c_str());
  std::remove(palette.c_str());
}

[[maybe_unused]] const bool gMappingRegistered =
    (bench::RegisterPairs("MapPhotoTo256Colours", "pnmremap", MapPhotoTo256Colours, PnmRemapSamePhoto), true);

// The paint bucket's fill: the region of the seed's value around a corner of a blank page, or of a maze of
// one-pixel walls with two-pixel corridors, and the copy of a pattern into it. The fill alternates
// between two values, so that every fill covers the same pixels.
void BM_FloodFill(benchmark::State& state) {
  const bool maze = state.range(0) == 1;
  const auto width = static_cast<int>(state.range(1));
  SmartRef<BitMap> page = PageAt(8, width);
  {
    PixelCursor cursor(~page, page->GetBounds(), true);
    for (; cursor.HasRow(); cursor.NextPixel()) {
      const Point at = cursor.GetPosition();
      const bool wall = maze && ((at.y % 3 == 2 && (at.y / 3 % 2 == 0 ? at.x < width - 3 : at.x > 2)));
      cursor.SetPixel(wall ? 0 : 255);
    }
  }
  const Rect region = FloodFiller(~page, {0, 0}).GetBounds();
  SmartRef<BitMap> patterns[2];
  for (const int n : {0, 1}) {
    patterns[n] = new BitMap(region.Width(), region.Height(), page->GetColorTable());
    PixelCursor cursor(~patterns[n], patterns[n]->GetBounds(), true);
    for (; cursor.HasRow(); cursor.NextPixel()) cursor.SetPixel(n == 0 ? 7 : 255);
  }
  std::int64_t pixels = 0;
  int next = 0;
  for (auto _ : state) {
    FloodFiller filler(~page, {0, 0});
    filler.Fill(*page, *patterns[next]);
    next = 1 - next;
  }
  {
    PixelCursor cursor(~page, page->GetBounds(), true);
    for (; cursor.HasRow(); cursor.NextPixel()) pixels += cursor.GetPixel() != 0;
  }
  state.counters["pixels"] = static_cast<double>(pixels);
}
BENCHMARK(BM_FloodFill)
    ->ArgsProduct({{0, 1}, {std::begin(bench::kPageWidths), std::end(bench::kPageWidths)}})
    ->ArgNames({"maze", "width"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
