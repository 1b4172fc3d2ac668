#include "graphics/formats/PICTFile.h"

#include "core/Exception.h"
#include "core/File.h"
#include "core/Memory.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/Picture.h"

namespace {

std::int16_t BigEndian16(const unsigned char* p) { return static_cast<std::int16_t>(p[0] << 8 | p[1]); }

// The reader's refusal of a file whose contents fail one of its checks.
void Refuse(const char* file, int line) { ThrowError("Fichier PICT endommagé."_cp, file, line); }

Rect ReadContents(Stream& stream, Memory& data) {
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

}  // namespace

Rect ReadPICTData(Stream& stream, Memory& data) {
  return ReadFileContents(&Refuse, [&] { return ReadContents(stream, data); });
}

SMART_DEFINE(PICTFile, "PICTFile", nullptr, nullptr, ImageScribe)

SmartRef<FileType> PICTFile::fileType(new FileType("Image PICT", FourCharCode("PICT"), 0));

void PICTFile::Write(SmartRef<Smart> object) {
  if (CastSmart<Picture>(~object)) NOT_IMPLEMENTED();
}

// A damaged header can give an empty or huge frame: refused before any bitmap is made of it.
void PICTFile::Read(SmartRef<Smart>* object) {
  SmartRef<Picture> picture = new Picture(*stream);
  const Rect frame = picture->GetBounds();
  CheckPictureSize(frame.Width(), frame.Height());
  *object = ImageToBitMap(*picture);
}

void PICTFile::ReadPreview(SmartRef<Smart>* preview, Point size, int) {
  SmartRef<Picture> picture = new Picture(*stream);
  const Rect frame = picture->GetBounds();
  CheckPictureSize(frame.Width(), frame.Height());
  CheckPictureSize(size.x, size.y);
  *preview = ImageToBitMapSized(*picture, size.x, size.y);
}
