#include "PictureFuzzTargets.h"

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
        Memory picture;
        ReadPICTData(*stream, picture);
        break;
      }
    }
  } catch (Exception* exception) {
    SmartRef<Exception> held(exception);
    gLastException = nullptr;
    return false;
  }
  return true;
}

}  // namespace picture_testing
