#include "graphics/formats/JPEGCodec.h"

#include <jerror.h>

#include <cstring>

#include "core/Exception.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "graphics/formats/JpegSupport.h"

namespace {

constexpr int kQuality = 90;

// The compressor's source of rows, top first, in the red, green, blue order the library takes. Rows are
// asked of the pixels one at a time: gathering the whole picture first would copy every pixel once more
// and cost a quarter of the export's time.
struct BitMapSource {
  const JpegPixelSource* pixels;
  JSAMPARRAY buffer;  // one row
  JDIMENSION sourceRow;
};

BitMapSource* InitBitMapSource(j_compress_ptr info, const JpegPixelSource* pixels, JDIMENSION width, JDIMENSION height) {
  const auto common = reinterpret_cast<j_common_ptr>(info);
  auto* source = static_cast<BitMapSource*>((*info->mem->alloc_small)(common, JPOOL_IMAGE, sizeof(BitMapSource)));
  source->pixels = pixels;
  source->buffer = (*info->mem->alloc_sarray)(common, JPOOL_IMAGE, width * 3, 1);
  source->sourceRow = 0;
  info->image_width = width;
  info->image_height = height;
  info->input_components = 3;
  info->in_color_space = JCS_RGB;
  info->data_precision = 8;
  info->density_unit = 2;
  info->X_density = 0;
  info->Y_density = 0;
  return source;
}

void GetPixelRows(j_compress_ptr info, BitMapSource* source) {
  JSAMPROW row = source->buffer[0];
  const auto y = static_cast<std::int32_t>(source->sourceRow++);
  JpegCallback(reinterpret_cast<j_common_ptr>(info), [source, row, y] { source->pixels->GetRowRGB(y, row); });
}

// Output rows of a decoded picture, in blue, green, red order. CMYK files made by Adobe programs store
// their inks inverted (the usual case); others store them plainly.
void StoreJPEGRow(const jpeg_decompress_struct& info, const JSAMPLE* in, std::uint8_t* out) {
  const JDIMENSION width = info.output_width;
  if (info.out_color_space == JCS_CMYK) {
    const bool inverted = info.saw_Adobe_marker;
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
      const unsigned c = inverted ? in[0] : 255 - in[0], m = inverted ? in[1] : 255 - in[1];
      const unsigned y = inverted ? in[2] : 255 - in[2], k = inverted ? in[3] : 255 - in[3];
      out[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
      out[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
      out[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
    }
    return;
  }
  SwapRedBlue(in, out, static_cast<std::int32_t>(width));
}

}  // namespace

void PixelBufferSource::GetRowRGB(std::int32_t y, std::uint8_t* rgb) const {
  const std::uint8_t* in = picture.Row(y);
  if (picture.depth == 24) {
    SwapRedBlue(in, rgb, picture.width);
    return;
  }
  const Color* colors = picture.colors.data();
  for (std::int32_t x = 0; x < picture.width; ++x, rgb += 3) {
    const Color& color = colors[in[x]];
    rgb[0] = static_cast<std::uint8_t>(color.red >> 8);
    rgb[1] = static_cast<std::uint8_t>(color.green >> 8);
    rgb[2] = static_cast<std::uint8_t>(color.blue >> 8);
  }
}

void CompressToJPEG(const JpegPixelSource& pixels, Stream& stream) {
  CheckPictureSize(pixels.GetWidth(), pixels.GetHeight());
  JpegCompressor compressor;
  jpeg_compress_struct* info = &compressor.info;
  if (!JpegTry(compressor.errors, [info] {
        jpeg_create_compress(info);
        info->in_color_space = JCS_RGB;
        jpeg_set_defaults(info);
        jpeg_set_quality(info, kQuality, TRUE);
      }))
    RaiseJpegError(compressor.errors);

  JpegProgressRecord record;
  JpegProgressScope progress(compressor.Common(), &record);
  const JpegPixelSource* source = &pixels;
  Stream* destination = &stream;
  if (!JpegTry(compressor.errors, [info, source, destination] {
        BitMapSource* rows = InitBitMapSource(info, source, static_cast<JDIMENSION>(source->GetWidth()),
                                              static_cast<JDIMENSION>(source->GetHeight()));
        jpeg_default_colorspace(info);
        SetJpegStreamDestination(info, destination);
        jpeg_start_compress(info, TRUE);
        while (info->next_scanline < info->image_height) {
          GetPixelRows(info, rows);
          jpeg_write_scanlines(info, rows->buffer, 1);
        }
        jpeg_finish_compress(info);
      }))
    RaiseJpegError(compressor.errors);
}

namespace {

// The reader's refusal of a file whose contents fail one of its checks.
void Refuse(const char* file, int line) { ThrowError("Fichier JPEG endommagé."_cp, file, line); }

PixelBuffer DecompressContents(Stream& stream) {
  JpegDecompressor decompressor;
  jpeg_decompress_struct* info = &decompressor.info;
  Stream* source = &stream;
  if (!JpegTry(decompressor.errors, [info, source] {
        jpeg_create_decompress(info);
        SetJpegStreamSource(info, source);
        jpeg_read_header(info, TRUE);
      }))
    RaiseJpegError(decompressor.errors);

  // Greyscale files are widened to RGB by the library; CMYK ones come out as inks, turned to RGB here.
  const bool inks = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = inks ? JCS_CMYK : JCS_RGB;
  PixelBuffer picture(static_cast<std::int32_t>(info->image_width), static_cast<std::int32_t>(info->image_height), 24);

  JpegProgressRecord record;
  JpegProgressScope progress(decompressor.Common(), &record);
  PixelBuffer* target = &picture;
  if (!JpegTry(decompressor.errors, [info, target] {
        jpeg_start_decompress(info);
        // The row buffer is sized for what the library delivers, whatever the file holds.
        const JDIMENSION rowBytes = (info->output_width * static_cast<JDIMENSION>(info->output_components) + 3) & ~3u;
        JSAMPARRAY row = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE, rowBytes, 1);
        if (info->output_width != static_cast<JDIMENSION>(target->width) ||
            info->output_components != (info->out_color_space == JCS_CMYK ? 4 : 3))
          ERREXIT(info, JERR_CONVERSION_NOTIMPL);
        while (info->output_scanline < info->output_height) {
          const JDIMENSION y = info->output_scanline;
          jpeg_read_scanlines(info, row, 1);
          StoreJPEGRow(*info, row[0], target->Row(static_cast<std::int32_t>(y)));
        }
        jpeg_finish_decompress(info);
      }))
    RaiseJpegError(decompressor.errors);
  return picture;
}

}  // namespace

PixelBuffer DecompressJPEG(Stream& stream) {
  return ReadFileContents(&Refuse, [&] { return DecompressContents(stream); });
}
