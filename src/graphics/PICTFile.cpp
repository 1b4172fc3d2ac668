#include "graphics/PICTFile.h"

#include "core/Exception.h"
#include "core/File.h"
#include "core/Memory.h"
#include "core/Stream.h"

namespace {
std::int16_t BigEndian16(const unsigned char* p) { return static_cast<std::int16_t>(p[0] << 8 | p[1]); }
}  // namespace

Rect ReadPICTData(Stream& stream, Memory& data) {
  stream.Seek(0, kSeekFromStart);
  const std::uint32_t length = stream.GetLength();
  if (length < kPICTFileHeaderSize + kPICTPictureHeaderSize) ThrowError("Fichier PICT trop court.", __FILE__, __LINE__);
  stream.Seek(kPICTFileHeaderSize, kSeekFromStart);
  data.SetSize(length - kPICTFileHeaderSize);
  data.Lock();
  stream.Read(data.GetData(), data.GetSize());
  data.Unlock();
  // A file's system position then agrees with what was consumed.
  if (auto* file = CastSmart<File>(&stream)) file->Flush();
  const unsigned char* header = data.GetData();
  return Rect(BigEndian16(header + 4), BigEndian16(header + 2), BigEndian16(header + 8), BigEndian16(header + 6));
}
