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
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "core/Stream.h"
#include "graphics/formats/BMPDecoder.h"
#include "graphics/formats/GIFDecoder.h"
#include "graphics/formats/JPEGCodec.h"

namespace {

// The page as files made by the standard tools, once per size and run.
std::filesystem::path File(int width, const char* extension) {
  const std::string ppm = bench::PagePpm(width);
  const std::string base = ppm.substr(0, ppm.size() - 4);
  static std::map<int, bool> made;
  if (!made[width]) {
    made[width] = true;
    const bool ok = bench::RunProgram({"ppmtobmp", "-bpp", "24", base + ".ppm"}, (base + ".bmp").c_str()) == 0 &&
                    bench::RunProgram({"pnmquant", "256", base + ".ppm"}, (base + "-256.ppm").c_str()) == 0 &&
                    bench::RunProgram({"ppmtogif", base + "-256.ppm"}, (base + ".gif").c_str()) == 0 &&
                    bench::RunProgram({"cjpeg", "-quality", "90", base + ".ppm"}, (base + ".jpg").c_str()) == 0;
    if (!ok) std::fprintf(stderr, "netpbm or libjpeg-turbo-progs is missing: scripts/install-deps installs them\n");
  }
  return base + "." + extension;
}

void JpegExportProgram(benchmark::State& state, int width) {
  const PixelBufferSource source(bench::PagePixels(width));
  for (auto _ : state) {
    SmartRef<MemoryStream> stream = new MemoryStream(1 << 18);
    CompressToJPEG(source, *stream);
    benchmark::DoNotOptimize(stream->GetLength());
  }
}

// The library on its own: memory destination, the same settings, the page's rows as red, green, blue.
void JpegExportLibraryDirect(benchmark::State& state, int width) {
  const PixelBuffer& page = bench::PagePixels(width);
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
