#include "PictureFuzzTargets.h"

#include <cstdio>
#include <cstdlib>

#include "core/Exception.h"
#include "core/Memory.h"
#include "core/Stream.h"
#include "graphics/formats/BMPDecoder.h"
#include "graphics/formats/GIFDecoder.h"
#include "graphics/formats/JPEGCodec.h"
#include "graphics/formats/PICTFile.h"

namespace picture_testing {

bool ReadUntrusted(PictureFormat format, const std::uint8_t* data, std::size_t size) {
  SmartRef<MemoryStream> stream = new MemoryStream();
  stream->Write(data, static_cast<std::uint32_t>(size));
  stream->Seek(0, kSeekFromStart);
  try {
    switch (format) {
      case PictureFormat::kBMP: DecodeBMP(*stream, true, 3); break;
      case PictureFormat::kGIF: DecodeGIF(*stream); break;
      case PictureFormat::kJPEG: DecompressJPEG(*stream); break;
      case PictureFormat::kPICT: {
        // As the open dialog reads a PICT file: the picture made a bitmap of its frame.
        SmartRef<PICTFile> file = new PICTFile(~stream);
        SmartRef<Smart> picture;
        file->Read(&picture);
        break;
      }
    }
  } catch (Exception* exception) {
    SmartRef<Exception> held(exception);
    gLastException = nullptr;
    // A check on the file's contents must reach the user as the reader's text, never as an assertion.
    if (auto* assertion = dynamic_cast<AssertionException*>(exception)) {
      std::fprintf(stderr, "an assertion reached the user: %s at %s:%d\n", assertion->GetExpression(),
                   assertion->GetFile(), assertion->GetLine());
      std::abort();
    }
    return false;
  }
  return true;
}

}  // namespace picture_testing
