// Picture files at the page sizes: the program's JPEG export against the JPEG library called directly on
// the same rows, and its BMP, GIF and JPEG decoding against the reference decoders of netpbm and
// libjpeg-turbo (bmptopnm, giftopnm, djpeg) on the same files, each pair side by side in one run.
#include <benchmark/benchmark.h>

#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "core/Stream.h"
#include "graphics/formats/BMPDecoder.h"
#include "graphics/formats/GIFDecoder.h"
#include "graphics/formats/JPEGCodec.h"

namespace {

// A page: a sky gradient, flat panels and a noisy photograph, so that the coder meets every kind of block.
PixelBuffer MakePage(int width) {
  const int height = bench::PageHeight(width);
  PixelBuffer page(width, height, 24);
  std::mt19937 random(760570);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = page.Row(y);
    for (int x = 0; x < width; ++x, row += 3) {
      if (x > width * 21 / 38 && y > height * 20 / 57 && y < height * 50 / 57) {
        const int v = (x * y / 7) & 255;
        row[0] = static_cast<std::uint8_t>(v ^ (random() & 31));
        row[1] = static_cast<std::uint8_t>((v + y) ^ (random() & 31));
        row[2] = static_cast<std::uint8_t>((x + random() % 17) & 255);
      } else if (x > width / 19 && x < width / 2 && y > height * 24 / 57 && y < height * 48 / 57) {
        row[0] = 40, row[1] = 180, row[2] = 240;
      } else {
        row[0] = static_cast<std::uint8_t>(255 - y * 200 / height), row[1] = 200,
        row[2] = static_cast<std::uint8_t>(y * 255 / height);
      }
    }
  }
  return page;
}

const PixelBuffer& Page(int width) {
  static std::map<int, PixelBuffer> pages;
  auto found = pages.find(width);
  if (found == pages.end()) found = pages.emplace(width, MakePage(width)).first;
  return found->second;
}

// The page as files made by the standard tools, once per size and run.
std::filesystem::path File(int width, const char* extension) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillory-bench-pictures";
  const std::string base = (folder / ("page-" + std::to_string(width))).string();
  static std::map<int, bool> made;
  if (!made[width]) {
    made[width] = true;
    std::filesystem::create_directories(folder);
    const PixelBuffer& page = Page(width);
    std::ofstream ppm(base + ".ppm", std::ios::binary);
    ppm << "P6\n" << page.width << ' ' << page.height << "\n255\n";
    for (int y = 0; y < page.height; ++y) {
      const std::uint8_t* row = page.Row(y);
      for (int x = 0; x < page.width; ++x) ppm << row[3 * x + 2] << row[3 * x + 1] << row[3 * x];
    }
    ppm.close();
    const bool ok = bench::RunProgram({"ppmtobmp", "-bpp", "24", base + ".ppm"}, (base + ".bmp").c_str()) == 0 &&
                    bench::RunProgram({"pnmquant", "256", base + ".ppm"}, (base + "-256.ppm").c_str()) == 0 &&
                    bench::RunProgram({"ppmtogif", base + "-256.ppm"}, (base + ".gif").c_str()) == 0 &&
                    bench::RunProgram({"cjpeg", "-quality", "90", base + ".ppm"}, (base + ".jpg").c_str()) == 0;
    if (!ok) std::fprintf(stderr, "netpbm or libjpeg-turbo-progs is missing: scripts/install-deps installs them\n");
  }
  return base + "." + extension;
}

void JpegExportProgram(benchmark::State& state, int width) {
  const PixelBufferSource source(Page(width));
  for (auto _ : state) {
    SmartRef<MemoryStream> stream = new MemoryStream(1 << 18);
    CompressToJPEG(source, *stream);
    benchmark::DoNotOptimize(stream->GetLength());
  }
}

// The library on its own: memory destination, the same settings, the page's rows as red, green, blue.
void JpegExportLibraryDirect(benchmark::State& state, int width) {
  const PixelBuffer& page = Page(width);
  const int height = page.height;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c) rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c] = page.Row(y)[3 * x + 2 - c];
  for (auto _ : state) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width), info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3, info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
      JSAMPROW row = &rgb[static_cast<std::size_t>(info.next_scanline) * width * 3];
      jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    benchmark::DoNotOptimize(size);
    std::free(out);
  }
}

// Decoding a file already in memory. The file is read once, outside the timing, and one decode runs
// before it, so that the figure is the decoder's work on warm memory: not reading the disk, and not the
// system handing out fresh pages for the first buffers.
template <PixelBuffer (*Decode)(Stream&)>
void Import(benchmark::State& state, int width, const char* extension) {
  const std::filesystem::path file = File(width, extension);
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  SmartRef<MemoryStream> stream = new MemoryStream();
  stream->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  stream->Seek(0, kSeekFromStart);
  benchmark::DoNotOptimize(Decode(*stream).pixels.data());
  for (auto _ : state) {
    stream->Seek(0, kSeekFromStart);
    benchmark::DoNotOptimize(Decode(*stream).pixels.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

PixelBuffer DecodeBMPFile(Stream& stream) { return DecodeBMP(stream); }

// A reference decoder: a whole process run that reads the file and writes the pixels to /dev/null.
void ReferenceDecoder(benchmark::State& state, int width, const char* tool, const char* extension) {
  bench::TimePeer(state, {tool, File(width, extension).string()});
}

[[maybe_unused]] const bool gRegistered = [] {
  bench::RegisterPairs("JpegExport", "libjpeg", JpegExportProgram, JpegExportLibraryDirect);
  bench::RegisterPairs(
      "Import/bmp", "bmptopnm", [](benchmark::State& s, int w) { Import<&DecodeBMPFile>(s, w, "bmp"); },
      [](benchmark::State& s, int w) { ReferenceDecoder(s, w, "bmptopnm", "bmp"); });
  bench::RegisterPairs(
      "Import/gif", "giftopnm", [](benchmark::State& s, int w) { Import<&DecodeGIF>(s, w, "gif"); },
      [](benchmark::State& s, int w) { ReferenceDecoder(s, w, "giftopnm", "gif"); });
  bench::RegisterPairs(
      "Import/jpeg", "djpeg", [](benchmark::State& s, int w) { Import<&DecompressJPEG>(s, w, "jpg"); },
      [](benchmark::State& s, int w) { ReferenceDecoder(s, w, "djpeg", "jpg"); });
  return true;
}();

}  // namespace
