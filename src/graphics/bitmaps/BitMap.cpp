#include "graphics/bitmaps/BitMap.h"

#include <memory>
#include <vector>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/Stream.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/bitmaps/OSBitMap.h"
#include "graphics/OffScreen.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "platform/gdi/Gdi.h"

namespace {

const ClassConversion kBitMapConversions[] = {{&Image::classInfo, &ConvertImageToBitMap, nullptr},
                                              {nullptr, nullptr, nullptr}};

constexpr Version kVersionWithChromaKey = MakeVersion(1, 1);

// Bytes a row stores: its pixels without the padding.
std::int64_t StoredRowLength(std::int64_t width, std::int16_t depth) { return (width * depth + 7) / 8; }

// The depth of a stored bitmap's rows. The table decides, but a bitmap made from a system bitmap is
// deeper or shallower than its standard table (32-bit pixels under the 24-bit direct table, 4-bit ones
// under the 8-bit palette): its stored depth is kept when the table can give its values colours.
std::int16_t StoredDepth(std::int16_t stored, const ColorTable& table) {
  const std::int16_t tableDepth = table.GetDepth();
  if (tableDepth > 8) return stored == 16 || stored == 24 || stored == 32 ? stored : tableDepth;
  return (stored == 1 || stored == 4 || stored == 8) && stored <= tableDepth ? stored : tableDepth;
}

}  // namespace

SMART_DEFINE(BitMap, "BitMap", nullptr, kBitMapConversions, Image)

const PersistentType BitMap::persistentType(&BitMap::classInfo, MakeVersion(1, 0), MakeVersion(1, 1), &BitMap::ReadNew);

namespace {

[[maybe_unused]] const bool gBitMapRegistered = (RegisterGenericType(25, &BitMap::persistentType), true);

}  // namespace

BitMap::BitMap(std::int32_t width, std::int32_t height, ColorTable* table, std::optional<Color> keyColor, bool useKey)
    : colorTable(table), useChromaKey(useKey) {
  if (useChromaKey) {
    std::int32_t index = 0;
    if (keyColor && table->IndexOf(*keyColor, &index))
      chromaKey = index;
    else
      useChromaKey = false;
  }
  CreateOSBitMap(width, height, table);
}

BitMap::BitMap(HBITMAP handle, std::int32_t reserved, bool useKey, std::int32_t key)
    : reserved(reserved), chromaKey(key), useChromaKey(useKey) {
  BITMAP info{};
  CHECK_NON_ZERO(GetObject(handle, sizeof(info), &info));
  colorTable = ColorTable::GetStandard(static_cast<std::int16_t>(info.bmBitsPixel));
  backEnd.reset(NewOSBitMap(handle, colorTable->GetPalette(), static_cast<std::int16_t>(info.bmBitsPixel)));
  Unlock();
}

BitMap::BitMap(const BitMap& other)
    : Smart(),
      Image(other),
      reserved(other.reserved),
      colorTable(other.colorTable),
      reservedRef(other.reservedRef),
      chromaKey(other.chromaKey),
      useChromaKey(other.useChromaKey) {
  CopyPixelsOf(other);
  Unlock();
}

// A copy gets a back end of its own holding the same pixels, so that no two bitmaps delete one back end.
BitMap& BitMap::operator=(const BitMap& other) {
  if (this == &other) return *this;
  reserved = other.reserved;
  colorTable = other.colorTable;
  reservedRef = other.reservedRef;
  chromaKey = other.chromaKey;
  useChromaKey = other.useChromaKey;
  maskScratch = other.maskScratch;
  std::unique_ptr<OSBitMap> old = std::move(backEnd);
  try {
    CopyPixelsOf(other);
  } catch (...) {
    backEnd = std::move(old);
    throw;
  }
  return *this;
}

// The pixels are copied as they are: back ends of one depth made by NewOSBitMap share their row layout.
void BitMap::CopyPixelsOf(const BitMap& other) {
  CreateOSBitMap(other.backEnd->GetWidth(), other.backEnd->GetHeight(), ~colorTable, other.GetBitDepth());
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(other.backEnd->GetByteSize()));
  other.backEnd->GetBits(pixels.data(), other.backEnd->GetByteSize());
  backEnd->SetBits(pixels.data(), other.backEnd->GetByteSize());
}

BitMap::BitMap(ArchiveBlock& block) {
  Stream* stream = block.GetStream();
  const std::int16_t storedDepth = stream->ReadShort();
  Rect bounds;
  stream->ReadRect(&bounds);
  SmartRef<Smart> table(block.GetArchive()->ReadObject());
  colorTable = static_cast<ColorTable*>(CastSmart(~table, &ColorTable::classInfo));
  if (block.GetVersion() >= kVersionWithChromaKey) {
    chromaKey = stream->ReadLong();
    useChromaKey = stream->ReadByte() != 0;
  }
  const std::int32_t rowLength = stream->ReadLong();
  // A damaged page must not make a huge bitmap or overflow a row: the rows must be in the stream, each
  // holding at least its pixels and at most what a row of the back end takes.
  if (!colorTable || bounds.Width() <= 0 || bounds.Height() <= 0) ThrowDamagedFile(__FILE__, __LINE__);
  const std::int16_t depth = StoredDepth(storedDepth, *colorTable);
  if (rowLength < StoredRowLength(bounds.Width(), depth)) ThrowDamagedFile(__FILE__, __LINE__);
  CheckStoredCount(stream, bounds.Height(), static_cast<std::uint32_t>(rowLength));
  CreateOSBitMap(bounds.Width(), bounds.Height(), ~colorTable, depth);
  if (rowLength > backEnd->GetRowBytes(0)) ThrowDamagedFile(__FILE__, __LINE__);
  {
    PixelCursor cursor(this, GetBounds(), true);
    for (; cursor.HasRow(); cursor.NextRow()) stream->Read(cursor.GetAddress(), static_cast<std::uint32_t>(rowLength));
  }
  Unlock();
}

Persistent* BitMap::ReadNew(Archive* archive) { return ReadFromBlock<BitMap>(archive, &persistentType); }

BitMap::~BitMap() = default;

void BitMap::CreateOSBitMap(std::int32_t width, std::int32_t height, ColorTable* table, std::int16_t depth) {
  if (depth == 0) depth = table->GetDepth();
  std::unique_ptr<OSBitMap> made(CHECK_NOT_NULL(NewOSBitMap(depth)));
  made->Create(width, height, depth, table->GetPalette());
  backEnd = std::move(made);
}

void BitMap::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  Stream* stream = block.GetStream();
  const Rect bounds = GetBounds();
  stream->WriteShort(GetBitDepth());
  stream->WriteRect(bounds);
  block.GetArchive()->WriteObject(~colorTable);
  stream->WriteLong(chromaKey);
  stream->WriteByte(useChromaKey ? 1 : 0);
  const auto rowLength = static_cast<std::int32_t>(StoredRowLength(bounds.Width(), GetBitDepth()));
  stream->WriteLong(rowLength);
  if (block.IsSkipping()) return;
  PixelCursor cursor(this, bounds, true);
  for (; cursor.HasRow(); cursor.NextRow()) stream->Write(cursor.GetAddress(), static_cast<std::uint32_t>(rowLength));
}

std::size_t BitMap::GetMemorySize() const {
  const Rect bounds = GetBounds();
  return classInfo.size + static_cast<std::size_t>(GetBitDepth()) * static_cast<std::size_t>(bounds.Width()) *
                              static_cast<std::size_t>(bounds.Height()) / 8;
}

void BitMap::GetBounds(Rect* bounds) const { *bounds = backEnd ? backEnd->GetBounds() : Rect(); }

std::int16_t BitMap::GetBitDepth() const { return backEnd->GetBitDepth(); }

ColorTable* BitMap::GetColorTable() const { return ~colorTable; }

Area* BitMap::GetColorArea(const Color& color) {
  if (HRGN region = backEnd->GetColorRegion(color)) return new Area(region);
  return new Area(Area::emptyArea());
}

void BitMap::SetChromaKey(std::int32_t value) {
  ASSERT(useChromaKey == 1);
  chromaKey = value;
}

bool BitMap::Lock() {
  ++lockCount;
  return true;
}

void BitMap::Unlock() {
  if (lockCount > 0) --lockCount;
}

HDC BitMap::GetDC() { return backEnd->GetDC(); }

void BitMap::ReleaseDC(HDC dc) { backEnd->ReleaseDC(dc); }

std::uint32_t BitMap::GetPixelValue(std::int32_t x, std::int32_t y) {
  PixelCursor cursor(this, GetBounds(), true);
  cursor.MoveTo(x, y);
  return cursor.GetPixel();
}

Color BitMap::GetPixelColor(std::uint32_t value) const {
  return colorTable->GetColor(static_cast<std::int32_t>(value));
}

Pattern BitMap::GetPattern() {
  Pattern pattern;
  PixelCursor cursor(this, {0, 0, 8, 8}, true);
  for (int row = 0; cursor.HasRow(); ++row)
    for (int column = 0; column < 8; ++column, cursor.NextPixel())
      if (cursor.GetPixel() != 0)
        pattern.rows[static_cast<std::size_t>(row)] |= static_cast<std::uint8_t>(0x80 >> column);
  return pattern;
}

// ---- Helpers ----

BitMap* ImageToBitMapSized(Image& image, std::int32_t width, std::int32_t height) {
  SmartRef<OffScreen> surface(new OffScreen(image, width, height, Color(0), true));
  SmartRef<BitMap> bitmap = surface->GetBitMap();
  BitMap* made = ~bitmap;
  made->Reference();  // handed to the caller
  bitmap = nullptr;
  surface = nullptr;
  made->Unreference();
  return made;
}

BitMap* ImageToBitMap(Image& image) {
  const Rect bounds = image.GetBounds();
  return ImageToBitMapSized(image, bounds.Width(), bounds.Height());
}

bool ConvertImageToBitMap(SmartRef<Smart>* slot) {
  auto* image = static_cast<Image*>(CastSmart(~*slot, &Image::classInfo));
  if (image == nullptr) return false;
  *slot = ImageToBitMap(*image);
  return true;
}

Point TrimBitMap(SmartRef<BitMap>* reference, std::uint32_t background) {
  BitMap& bitmap = **reference;
  const Rect bounds = bitmap.GetBounds();
  Rect box{bounds.right, bounds.bottom, bounds.left, bounds.top};
  bool found = false;
  {
    PixelCursor cursor(&bitmap, bounds, true);
    for (; cursor.HasRow(); cursor.NextPixel()) {
      if (cursor.GetPixel() == background) continue;
      const Point at = cursor.GetPosition();
      found = true;
      box = {std::min(box.left, at.x), std::min(box.top, at.y), std::max(box.right, at.x + 1),
             std::max(box.bottom, at.y + 1)};
    }
  }
  if (!found) {
    *reference = nullptr;
    return Point::origin;
  }
  if (box == bounds) return Point::origin;
  SmartRef<OffScreen> surface(new OffScreen(box.Width(), box.Height(), bitmap.GetColorTable(), Color(0), true));
  {
    DisplayPort port(~surface, surface->GetBitMap()->GetBounds());
    PortState moved(port, Translation(-box.left, -box.top));
    bitmap.DrawOpaque(port);
  }
  SmartRef<BitMap> trimmed = surface->GetBitMap();
  trimmed->SetUseChromaKey(bitmap.GetUseChromaKey());
  if (bitmap.GetUseChromaKey()) trimmed->SetChromaKey(bitmap.GetChromaKey());
  *reference = trimmed;
  return box.TopLeft();
}
