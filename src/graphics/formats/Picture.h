// Macintosh pictures: the raw data of a PICT file, kept and copied (and offered to the clipboard as
// 'PICT') but never interpreted on this system, so that drawing one reports "Not implemented.".
#pragma once

#include <cstdint>

#include "core/Memory.h"
#include "core/SystemScrap.h"
#include "graphics/Image.h"

class Stream;

class Picture : public Image, public SystemScrap {
  SMART_CLASS(Picture)
 public:
  static const PersistentType persistentType;

  Picture() = default;
  // Reads a PICT file: the data after its 512-byte header, the frame from the picture's own header.
  explicit Picture(Stream& stream);
  Picture(const Picture& other);
  Picture& operator=(const Picture& other);
  static Persistent* ReadNew(Archive* archive);

  // Archiving pictures is not provided: reports "Not implemented." inside an empty block.
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  using Image::Draw;
  using Image::GetBounds;
  void Draw(DisplayPort& port, int mode) override;
  void GetBounds(Rect* bounds) const override { *bounds = frame; }
  ColorTable* GetColorTable() const override;
  std::size_t GetMemorySize() const override { return sizeof(Picture) + data.GetSize(); }

  SmartRef<GenericArray> GetScrapTypes() override;
  Memory* GetScrapData(std::uint32_t) override { return &data; }

  const Memory& GetData() const { return data; }
  Memory& GetData() { return data; }
  std::int16_t GetDepth() const { return depth; }

 private:
  Rect frame;
  Memory data;
  std::int16_t depth = 0;
};
