// Picture files on a 760x570 page, the size of every published page: the program's JPEG export against
// the JPEG library called directly on the same rows, and its BMP, GIF and JPEG import against the
// reference decoders of netpbm and libjpeg-turbo (bmptopnm, giftopnm, djpeg) on the same files.
#include <benchmark/benchmark.h>

#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/Stream.h"
#include "graphics/BMPDecoder.h"
#include "graphics/GIFDecoder.h"
#include "graphics/JPEGCodec.h"

namespace {

constexpr int kWidth = 760;
constexpr int kHeight = 570;

// A page: a sky gradient, flat panels and a noisy photograph, so that the coder meets every kind of block.
PixelBuffer MakePage() {
  PixelBuffer page(kWidth, kHeight, 24);
  std::mt19937 random(760570);
  for (int y = 0; y < kHeight; ++y) {
    std::uint8_t* row = page.Row(y);
    for (int x = 0; x < kWidth; ++x, row += 3) {
      if (x > 420 && y > 200 && y < 500) {
        const int v = (x * y / 7) & 255;
        row[0] = static_cast<std::uint8_t>(v ^ (random() & 31));
        row[1] = static_cast<std::uint8_t>((v + y) ^ (random() & 31));
        row[2] = static_cast<std::uint8_t>((x + random() % 17) & 255);
      } else if (x > 40 && x < 380 && y > 240 && y < 480) {
        row[0] = 40, row[1] = 180, row[2] = 240;
      } else {
        row[0] = static_cast<std::uint8_t>(255 - y * 200 / kHeight), row[1] = 200, row[2] = static_cast<std::uint8_t>(y * 255 / kHeight);
      }
    }
  }
  return page;
}

const PixelBuffer& Page() {
  static const PixelBuffer page = MakePage();
  return page;
}

// The same page as files made by the standard tools, once per run.
const std::filesystem::path& Files() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path path = std::filesystem::temp_directory_path() / "quillory-bench-pictures";
    std::filesystem::create_directories(path);
    std::ofstream ppm(path / "page.ppm", std::ios::binary);
    ppm << "P6\n" << kWidth << ' ' << kHeight << "\n255\n";
    for (int y = 0; y < kHeight; ++y) {
      const std::uint8_t* row = Page().Row(y);
      for (int x = 0; x < kWidth; ++x) ppm << row[3 * x + 2] << row[3 * x + 1] << row[3 * x];
    }
    ppm.close();
    const std::string p = path.string();
    const std::string commands = "cd " + p + " && ppmtobmp -bpp 24 page.ppm > page.bmp 2>/dev/null && pnmquant 256 page.ppm 2>/dev/null | ppmtogif > page.gif 2>/dev/null && cjpeg -quality 90 page.ppm > page.jpg";
    if (std::system(commands.c_str()) != 0) std::fprintf(stderr, "could not make the files with %s\n", commands.c_str());
    return path;
  }();
  return folder;
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(std::filesystem::file_size(path), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

void JpegExportProgram(benchmark::State& state) {
  const PixelBufferSource source(Page());
  for (auto _ : state) {
    SmartRef<MemoryStream> stream = new MemoryStream(1 << 18);
    CompressToJPEG(source, *stream);
    benchmark::DoNotOptimize(stream->GetLength());
  }
}
BENCHMARK(JpegExportProgram)->Unit(benchmark::kMillisecond);

// The library on its own: memory destination, the same settings, the page's rows as red, green, blue.
void JpegExportLibraryDirect(benchmark::State& state) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int c = 0; c < 3; ++c) rgb[(static_cast<std::size_t>(y) * kWidth + x) * 3 + c] = Page().Row(y)[3 * x + 2 - c];
  for (auto _ : state) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = kWidth, info.image_height = kHeight, info.input_components = 3, info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
      JSAMPROW row = &rgb[static_cast<std::size_t>(info.next_scanline) * kWidth * 3];
      jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    benchmark::DoNotOptimize(size);
    std::free(out);
  }
}
BENCHMARK(JpegExportLibraryDirect)->Unit(benchmark::kMillisecond);

// Import: the file read from disk and decoded, as the reference tools do.
void Import(benchmark::State& state, PixelBuffer (*decode)(Stream&), const char* name) {
  const std::filesystem::path file = Files() / name;
  for (auto _ : state) {
    const std::string bytes = ReadWhole(file);
    SmartRef<MemoryStream> stream = new MemoryStream();
    stream->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    stream->Seek(0, kSeekFromStart);
    benchmark::DoNotOptimize(decode(*stream).pixels.data());
  }
}
PixelBuffer DecodeBMPFile(Stream& stream) { return DecodeBMP(stream); }
BENCHMARK_CAPTURE(Import, bmp, &DecodeBMPFile, "page.bmp")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, gif, &DecodeGIF, "page.gif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import, jpeg, &DecompressJPEG, "page.jpg")->Unit(benchmark::kMillisecond);

// The reference decoders, each a process of its own writing to /dev/null.
void ReferenceDecoder(benchmark::State& state, const char* tool, const char* name) {
  const std::string command = std::string(tool) + " " + (Files() / name).string() + " > /dev/null 2>&1";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError(command.c_str());
}
BENCHMARK_CAPTURE(ReferenceDecoder, bmptopnm, "bmptopnm", "page.bmp")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReferenceDecoder, giftopnm, "giftopnm", "page.gif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReferenceDecoder, djpeg, "djpeg", "page.jpg")->Unit(benchmark::kMillisecond);

}  // namespace
