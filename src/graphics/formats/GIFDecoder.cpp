#include "graphics/formats/GIFDecoder.h"

#include <jerror.h>

#include <algorithm>
#include <cstring>

#include "core/Exception.h"
#include "core/Progress.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "graphics/formats/JpegSupport.h"

namespace {

// The reader's messages, after the library's own.
enum GifMessage {
  kGifFirst = 1000,
  kGifOutputConfused = 1001,
  kGifBadCodeSize = 1002,
  kGifNotColor = 1003,
  kGifNoImage = 1004,
  kGifNotGif = 1005,
  kGifTraceImage = 1006,
  kGifTraceBadVersion = 1007,
  kGifTraceExtension = 1008,
  kGifTraceNonSquare = 1009,
  kGifCorrupt = 1010,
  kGifBogusChar = 1011,
  kGifImageEnded = 1012,
  kGifNoMoreBits = 1013,
  kGifLast = 1019,
};

const char* const kGifMessages[] = {
    nullptr,
    "GIF output got confused",
    "Bogus GIF codesize %d",
    "La sortie GIF doit être en nuances de gris ou RGB"_cp,
    "Too few images in GIF file",
    "Not a GIF file",
    "%ux%ux%d GIF image",
    "Warning: unexpected GIF version number '%c%c%c'",
    "Ignoring GIF extension block of type 0x%02x",
    "Caution: nonsquare pixels in input",
    "Données corrompues dans fichier GIF"_cp,
    "Bogus char 0x%02x in GIF file, ignoring",
    "Fin prématurée d'image GIF"_cp,
    "Ran out of GIF bits",
    "Targa support was not compiled",
    "Color map file is invalid or of unsupported format",
    "Output file format cannot handle %d colormap entries",
    "ungetc failed",
    "Unrecognized input file format",
    "Format de sortie de fichier non pris en charge",
};
static_assert(std::size(kGifMessages) == kGifLast - kGifFirst + 1);

constexpr int kMaxLZWBits = 12;
constexpr int kLZWTableSize = 1 << kMaxLZWBits;

struct GifSource;
using RowOperation = void (*)(j_compress_ptr, GifSource*);

// All of it lives in the compression object's image pool and goes with the object.
struct GifSource {
  Stream* stream;
  RowOperation getPixelRows;
  JSAMPARRAY buffer;  // one row of width x 3 bytes
  JDIMENSION width, height;
  std::uint8_t colorMap[256][3];
  int colorMapLength;

  // Code buffer: the last two bytes of the previous sub-block, then the current one.
  std::uint8_t codeBuffer[256 + 4];
  int lastByte, lastBit, currentBit;
  bool outOfBlocks;

  int inputCodeSize, clearCode, endCode, codeSize, limitCode, maxCode;
  int firstCode, oldCode;
  std::uint16_t* symbolHead;
  std::uint8_t* symbolTail;
  std::uint8_t* symbolStack;
  std::uint8_t* stackPointer;
  bool firstTime;
  bool ended;  // the end code came: every pixel after it has index 0

  bool interlaced;
  JSAMPARRAY interlacedImage;
  JDIMENSION currentRow, pass2Offset, pass3Offset, pass4Offset;
};

j_common_ptr Common(j_compress_ptr info) { return reinterpret_cast<j_common_ptr>(info); }

// Up to n bytes, fewer where the stream ends.
std::uint32_t ReadUpTo(GifSource* source, void* buffer, std::uint32_t n) {
  const std::uint32_t length = source->stream->GetLength(), position = source->stream->GetPosition();
  n = position < length ? std::min(n, length - position) : 0;
  source->stream->Read(buffer, n);
  return n;
}

void ReadExactly(j_compress_ptr info, GifSource* source, void* buffer, std::uint32_t n) {
  if (ReadUpTo(source, buffer, n) != n) ERREXIT(info, JERR_INPUT_EOF);
}

// A sub-block into the buffer; its length, 0 for the terminator.
int GetDataBlock(j_compress_ptr info, GifSource* source, std::uint8_t* buffer) {
  const int count = source->stream->ReadByte();
  if (count > 0) ReadExactly(info, source, buffer, static_cast<std::uint32_t>(count));
  return count;
}

void SkipDataBlocks(j_compress_ptr info, GifSource* source) {
  std::uint8_t block[256];
  while (GetDataBlock(info, source, block) > 0) {
  }
}

void ReInitLZW(GifSource* source) {
  source->codeSize = source->inputCodeSize + 1;
  source->limitCode = source->clearCode << 1;
  source->maxCode = source->clearCode + 2;
  source->stackPointer = source->symbolStack;
}

void InitLZW(GifSource* source) {
  source->lastByte = 2;
  source->lastBit = 0;
  source->currentBit = 0;
  source->outOfBlocks = false;
  source->clearCode = 1 << source->inputCodeSize;
  source->endCode = source->clearCode + 1;
  source->firstTime = true;
  source->ended = false;
  ReInitLZW(source);
}

int GetCode(j_compress_ptr info, GifSource* source) {
  while (source->currentBit + source->codeSize > source->lastBit) {
    if (source->outOfBlocks) {
      WARNMS(info, kGifNoMoreBits);
      return source->endCode;
    }
    source->codeBuffer[0] = source->codeBuffer[source->lastByte - 2];
    source->codeBuffer[1] = source->codeBuffer[source->lastByte - 1];
    const int count = GetDataBlock(info, source, source->codeBuffer + 2);
    if (count == 0) {
      source->outOfBlocks = true;
      WARNMS(info, kGifNoMoreBits);
      return source->endCode;
    }
    source->currentBit = source->currentBit - source->lastBit + 16;
    source->lastByte = 2 + count;
    source->lastBit = source->lastByte * 8;
  }
  const int offset = source->currentBit >> 3;
  std::uint32_t accumulator = source->codeBuffer[offset + 2];
  accumulator = (accumulator << 8) | source->codeBuffer[offset + 1];
  accumulator = (accumulator << 8) | source->codeBuffer[offset];
  accumulator >>= source->currentBit & 7;
  source->currentBit += source->codeSize;
  return static_cast<int>(accumulator & ((1u << source->codeSize) - 1));
}

// The next pixel's colour index. Code sizes above 8 can give values past the 256 colours: they are
// damaged data, and become 0 like other damage.
int LZWReadByte(j_compress_ptr info, GifSource* source) {
  if (source->ended) return 0;
  int code;
  if (source->firstTime) {
    source->firstTime = false;
    code = source->clearCode;
  } else {
    if (source->stackPointer > source->symbolStack) return *--source->stackPointer;
    code = GetCode(info, source);
  }
  if (code == source->clearCode) {
    ReInitLZW(source);
    do {
      code = GetCode(info, source);
    } while (code == source->clearCode);
    if (code > source->clearCode || code > 255) {
      WARNMS(info, kGifCorrupt);
      code = 0;
    }
    source->firstCode = source->oldCode = code;
    return code;
  }
  if (code == source->endCode) {
    if (!source->outOfBlocks) {
      SkipDataBlocks(info, source);
      source->outOfBlocks = true;
    }
    WARNMS(info, kGifImageEnded);
    source->ended = true;
    return 0;
  }
  int inCode = code;
  if (code >= source->maxCode) {
    if (code > source->maxCode) {
      WARNMS(info, kGifCorrupt);
      inCode = 0;
    }
    *source->stackPointer++ = static_cast<std::uint8_t>(source->firstCode);
    code = source->oldCode;
  }
  // Every entry's head is an older code, so the chain ends within the table's size.
  while (code >= source->clearCode) {
    *source->stackPointer++ = source->symbolTail[code];
    code = source->symbolHead[code];
  }
  if (code > 255) {
    WARNMS(info, kGifCorrupt);
    code = 0;
  }
  source->firstCode = code;
  if (source->maxCode < kLZWTableSize) {
    source->symbolHead[source->maxCode] = static_cast<std::uint16_t>(source->oldCode);
    source->symbolTail[source->maxCode] = static_cast<std::uint8_t>(source->firstCode);
    ++source->maxCode;
    if (source->maxCode >= source->limitCode && source->codeSize < kMaxLZWBits) {
      ++source->codeSize;
      source->limitCode <<= 1;
    }
  }
  source->oldCode = inCode;
  return source->firstCode;
}

void ExpandRow(GifSource* source, const std::uint8_t* indexes) {
  JSAMPLE* out = source->buffer[0];
  for (JDIMENSION x = 0; x < source->width; ++x, out += 3) std::memcpy(out, source->colorMap[indexes[x]], 3);
}

void GetPixelRows(j_compress_ptr info, GifSource* source) {
  JSAMPLE* out = source->buffer[0];
  JDIMENSION x = 0;
  for (; x < source->width && !source->ended; ++x, out += 3) std::memcpy(out, source->colorMap[LZWReadByte(info, source)], 3);
  // After the end, without a call per pixel: the first pixel is set and then copied in doubling runs,
  // so that a huge picture cut short costs little more than its memory.
  if (x == source->width) return;
  std::memcpy(out, source->colorMap[0], 3);
  for (std::size_t done = 3, total = 3 * static_cast<std::size_t>(source->width - x); done < total; done *= 2)
    std::memcpy(out + done, out, std::min(done, total - done));
}

void GetInterlacedRow(j_compress_ptr, GifSource* source) {
  const JDIMENSION r = source->currentRow++;
  JDIMENSION stored;
  switch (r & 7) {
    case 0: stored = r >> 3; break;
    case 4: stored = (r >> 3) + source->pass2Offset; break;
    case 2:
    case 6: stored = (r >> 2) + source->pass3Offset; break;
    default: stored = (r >> 1) + source->pass4Offset; break;
  }
  ExpandRow(source, source->interlacedImage[stored]);
}

// Interlaced rows come in four passes: the whole image is decoded first, then answered in display order.
void LoadInterlacedImage(j_compress_ptr info, GifSource* source) {
  jpeg_progress_mgr* progress = info->progress;
  for (JDIMENSION row = 0; row < source->height; ++row) {
    if (progress != nullptr) {
      progress->pass_counter = static_cast<long>(row);
      progress->pass_limit = static_cast<long>(source->height);
      (*progress->progress_monitor)(Common(info));
    }
    JSAMPLE* out = source->interlacedImage[row];
    JDIMENSION x = 0;
    for (; x < source->width && !source->ended; ++x) out[x] = static_cast<JSAMPLE>(LZWReadByte(info, source));
    std::memset(out + x, 0, source->width - x);
  }
  if (progress != nullptr) reinterpret_cast<JpegProgressRecord*>(progress)->completedExtraPasses++;
  source->pass2Offset = (source->height + 7) / 8;
  source->pass3Offset = source->pass2Offset + (source->height + 3) / 8;
  source->pass4Offset = source->pass3Offset + (source->height + 1) / 4;
  source->currentRow = 0;
  source->getPixelRows = GetInterlacedRow;
  GetInterlacedRow(info, source);
}

// Files without any colour map are mostly black-and-white drawings: entry 0 is black and entry 1 white;
// the others are greys, so that every index has a colour.
void SetDefaultColorMap(GifSource* source) {
  for (int i = 0; i < 256; ++i) std::memset(source->colorMap[i], i, 3);
  std::memset(source->colorMap[1], 255, 3);
}

void ReadColorMap(j_compress_ptr info, GifSource* source, int entries) {
  ReadExactly(info, source, source->colorMap, static_cast<std::uint32_t>(entries) * 3);
  source->colorMapLength = std::max(source->colorMapLength, entries);
}

void StartInputGif(j_compress_ptr info, GifSource* source) {
  SetDefaultColorMap(source);
  std::uint8_t header[10];
  if (ReadUpTo(source, header, 6) != 6 || std::memcmp(header, "GIF", 3) != 0) ERREXIT(info, kGifNotGif);
  if (std::memcmp(header + 3, "87a", 3) != 0 && std::memcmp(header + 3, "89a", 3) != 0)
    TRACEMS3(info, 1, kGifTraceBadVersion, header[3], header[4], header[5]);

  ReadExactly(info, source, header, 7);
  if (header[6] != 0 && header[6] != 49) TRACEMS(info, 1, kGifTraceNonSquare);
  if (header[4] & 0x80) ReadColorMap(info, source, 2 << (header[4] & 7));

  for (;;) {
    const std::uint8_t c = source->stream->ReadByte();
    if (c == ';') ERREXIT(info, kGifNoImage);
    if (c == ',') break;
    if (c == '!') {
      const std::uint8_t label = source->stream->ReadByte();
      TRACEMS1(info, 1, kGifTraceExtension, label);
      SkipDataBlocks(info, source);
    } else {
      WARNMS1(info, kGifBogusChar, c);
    }
  }

  ReadExactly(info, source, header, 9);
  source->width = header[4] | header[5] << 8;
  source->height = header[6] | header[7] << 8;
  source->interlaced = (header[8] & 0x40) != 0;
  if (header[8] & 0x80) ReadColorMap(info, source, 2 << (header[8] & 7));
  // Checked before anything of the picture's size is allocated.
  CheckPictureSize(source->width, source->height);

  source->inputCodeSize = source->stream->ReadByte();
  if (source->inputCodeSize < 2 || source->inputCodeSize > 11) ERREXIT1(info, kGifBadCodeSize, source->inputCodeSize);

  const auto alloc = [info](std::size_t bytes) { return (*info->mem->alloc_small)(Common(info), JPOOL_IMAGE, bytes); };
  source->symbolHead = static_cast<std::uint16_t*>(alloc(kLZWTableSize * sizeof(std::uint16_t)));
  source->symbolTail = static_cast<std::uint8_t*>(alloc(kLZWTableSize));
  source->symbolStack = static_cast<std::uint8_t*>(alloc(kLZWTableSize));
  std::memset(source->symbolHead, 0, kLZWTableSize * sizeof(std::uint16_t));
  std::memset(source->symbolTail, 0, kLZWTableSize);
  std::memset(source->codeBuffer, 0, sizeof source->codeBuffer);
  InitLZW(source);

  if (source->interlaced) {
    source->interlacedImage = (*info->mem->alloc_sarray)(Common(info), JPOOL_IMAGE, source->width, source->height);
    if (info->progress != nullptr) reinterpret_cast<JpegProgressRecord*>(info->progress)->totalExtraPasses++;
    source->getPixelRows = LoadInterlacedImage;
  } else {
    source->getPixelRows = GetPixelRows;
  }
  source->buffer = (*info->mem->alloc_sarray)(Common(info), JPOOL_IMAGE, source->width * 3, 1);
  info->in_color_space = JCS_RGB;
  info->input_components = 3;
  info->data_precision = 8;
  info->image_width = source->width;
  info->image_height = source->height;
  TRACEMS3(info, 1, kGifTraceImage, source->width, source->height, source->colorMapLength);
}

GifSource* InitGifSource(j_compress_ptr info) {
  return static_cast<GifSource*>((*info->mem->alloc_small)(Common(info), JPOOL_IMAGE, sizeof(GifSource)));
}

}  // namespace

namespace {

// The reader's refusal of a file whose contents fail one of its checks.
void Refuse(const char* file, int line) { ThrowError("Données corrompues dans fichier GIF"_cp, file, line); }

PixelBuffer DecodeContents(Stream& stream) {
  JpegCompressor compressor;
  JpegErrorManager& errors = compressor.errors;
  errors.addon_message_table = kGifMessages;
  errors.first_addon_message = kGifFirst;
  errors.last_addon_message = kGifLast;
  jpeg_compress_struct* info = &compressor.info;
  Stream* input = &stream;
  GifSource* source = nullptr;
  if (!JpegTry(errors, [info, input, &source] {
        jpeg_create_compress(info);
        info->in_color_space = JCS_RGB;
        jpeg_set_defaults(info);
        source = InitGifSource(info);
        source->stream = input;
        StartInputGif(info, source);
        jpeg_default_colorspace(info);
      }))
    RaiseJpegError(errors);

  PixelBuffer picture(static_cast<std::int32_t>(source->width), static_cast<std::int32_t>(source->height), 24);
  Progress progress(source->height, "Conversion GIF");
  Progress* steps = &progress;
  PixelBuffer* target = &picture;
  if (!JpegTry(errors, [info, source, steps, target] {
        for (JDIMENSION row = 0; row < source->height; ++row) {
          JpegCallback(Common(info), [steps] { steps->Step(); });
          source->getPixelRows(info, source);
          SwapRedBlue(source->buffer[0], target->Row(static_cast<std::int32_t>(row)), static_cast<std::int32_t>(source->width));
        }
      }))
    RaiseJpegError(errors);
  return picture;
}

}  // namespace

PixelBuffer DecodeGIF(Stream& stream) {
  return ReadFileContents(&Refuse, [&] { return DecodeContents(stream); });
}
