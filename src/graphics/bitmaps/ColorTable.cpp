#include "graphics/bitmaps/ColorTable.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/File.h"
#include "core/FileReference.h"
#include "core/FileType.h"
#include "core/Format.h"
#include "core/ListData.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/System.h"
#include "platform/user/Paint.h"
#include "graphics/SystemVersion.h"

SMART_DEFINE(ColorTable, "ColorTable", &CreateDefault<ColorTable>, nullptr, Persistent, SmartImplementation)

const PersistentType ColorTable::persistentType(&ColorTable::classInfo, MakeVersion(1, 0), MakeVersion(1, 2),
                                                &ColorTable::ReadNew);

namespace {

[[maybe_unused]] const bool gColorTableRegistered = (RegisterGenericType(32, &ColorTable::persistentType), true);

}  // namespace

namespace {

constexpr Version kVersionWithDepth = MakeVersion(1, 2);

// The screen's palettes, made on first use and kept for the run.
HPALETTE gMonochromePalette = nullptr;
HPALETTE gSystemPalette = nullptr;
HPALETTE gSecondSystemPalette = nullptr;

// The shared tables, beside the palettes they were made from, in the same order.
std::vector<HPALETTE>& OSTables() {
  static std::vector<HPALETTE> tables;
  return tables;
}
List& SharedTables() {
  static List* tables = new List(&ColorTable::classInfo);
  return *tables;
}

// A LOGPALETTE with room for its entries.
class PaletteBlock {
 public:
  explicit PaletteBlock(int count) : bytes(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<std::size_t>(count)) {
    Get()->palVersion = 0x300;
    Get()->palNumEntries = static_cast<WORD>(count);
  }
  LOGPALETTE* Get() { return reinterpret_cast<LOGPALETTE*>(bytes.data()); }
  PALETTEENTRY& operator[](int i) { return Get()->palPalEntry[i]; }

 private:
  std::vector<std::uint64_t> bytes;  // 8-byte aligned
  static_assert(sizeof(LOGPALETTE) <= sizeof(std::uint64_t));
};

HPALETTE MakePalette(PaletteBlock& block) { return CHECK_NOT_NULL(CreatePalette(block.Get())); }

// The 20 colours a palette display keeps for itself, first ten and last ten.
constexpr std::array<PALETTEENTRY, 20> kStaticColors = {{
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
    {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
    {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
    {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
}};

[[noreturn]] void RefuseDisplay(const char* text) {
  Alert(kAlertStop, kButtonsOK, text);
  ExitProcess(0);
}

// The palette file: a BMP whose 256-entry colour table holds the program's colours at 10 to 245.
void ReadPaletteFile(PaletteBlock& entries) {
  static const FileType paletteType("Palette de couleurs", 0, FourCharCode("pal "));
  SmartRef<FileReference> application(FileReference::ApplicationFolder());
  SmartRef<FileReference> data(new FileReference(*application, "Data", false));
  SmartRef<FileReference> reference(
      new FileReference(paletteType, *FileCreatorType::defaultCreator, *data, "standard", false));
  SmartRef<File> file(new File(~reference, kFileModeRead));
  std::uint8_t fileHeader[14];
  file->Read(fileHeader, sizeof fileHeader);
  CHECK_CALL(fileHeader[0] == 'B' && fileHeader[1] == 'M');
  std::uint8_t infoHeader[40];
  file->Read(infoHeader, sizeof infoHeader);
  const std::uint32_t infoSize = infoHeader[0] | infoHeader[1] << 8 | infoHeader[2] << 16 |
                                 static_cast<std::uint32_t>(infoHeader[3]) << 24;
  CHECK_CALL(infoSize == 40);
  std::array<RGBQUAD, 256> quads;
  file->Read(quads.data(), sizeof quads);
  for (int i = 10; i < 246; ++i) {
    const RGBQUAD& q = quads[static_cast<std::size_t>(i)];
    entries[i] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, PC_NOCOLLAPSE};
  }
}

void MakeSystemPalette() {
  PaletteBlock entries(256);
  HDC screen = CHECK_NOT_NULL(GetDC(nullptr));
  const int bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
  if (IsLimitedWindows() && bitsPerPixel != 8) {
    ReleaseDC(nullptr, screen);
    RefuseDisplay("L'affichage doit être réglé sur exactement 256 couleurs !\nConsultez le manuel de votre moniteur  "_cp);
  }
  UINT count = GetSystemPaletteEntries(screen, 0, 256, &entries[0]);
  ReleaseDC(nullptr, screen);
  if (count == 0) {
    // Not a palette display: the static colours stand in for the system's own.
    for (int i = 0; i < 10; ++i) {
      entries[i] = kStaticColors[static_cast<std::size_t>(i)];
      entries[246 + i] = kStaticColors[static_cast<std::size_t>(10 + i)];
    }
    count = 256;
  }
  if (count < 256) RefuseDisplay("L'affichage doit être réglé sur au moins 256 couleurs !"_cp);
  entries.Get()->palNumEntries = static_cast<WORD>(count);
  for (int i = 0; i < 256; ++i) entries[i].peFlags = 0;
  ReadPaletteFile(entries);
  gSystemPalette = MakePalette(entries);
  if (gSecondSystemPalette) DeleteObject(gSecondSystemPalette);
  gSecondSystemPalette = MakePalette(entries);
}

void MakeMonochromePalette() {
  PaletteBlock entries(2);
  entries[0] = PALETTEENTRY{0, 0, 0, 0};
  entries[1] = PALETTEENTRY{255, 255, 255, 0};
  gMonochromePalette = MakePalette(entries);
}

std::int32_t Distance(const Color& a, const Color& b) {
  return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
}

}  // namespace

std::int16_t DepthForColorCount(std::int64_t n) {
  std::int16_t depth = 1;
  while (depth < 32 && (std::int64_t{1} << depth) < n) depth = static_cast<std::int16_t>(depth * 2);
  return depth;
}

std::int64_t ColorCountForDepth(std::int16_t depth) { return depth < 0 || depth > 62 ? 0 : std::int64_t{1} << depth; }

ColorTable::ColorTable() = default;

ColorTable::ColorTable(ArchiveBlock& block) : entries(sizeof(Color), 0) {
  Stream* stream = block.GetStream();
  const std::int32_t count = stream->ReadLong();
  CheckStoredCount(stream, count, sizeof(Color));
  entries.InsertCopies(&standardColors[1], 0, count);
  for (std::int32_t i = 1; i <= count; ++i) static_cast<Color*>(entries.At(i))->Read(block);
  depth = block.GetVersion() >= kVersionWithDepth ? stream->ReadShort() : DepthForColorCount(count);
  if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
    ThrowDamagedFile(__FILE__, __LINE__);
  BuildPalette();
}

ColorTable::ColorTable(const GenericArray& colors) : entries(colors) {
  depth = colors.NumItems() == 0 ? 24 : DepthForColorCount(colors.NumItems());
  BuildPalette();
}

ColorTable::ColorTable(HPALETTE handle) {
  if (!handle) return;
  std::array<PALETTEENTRY, 256> read{};
  const UINT count = GetPaletteEntries(handle, 0, 256, read.data());
  for (UINT i = 0; i < count; ++i) {
    const Color color = Color::FromRGB8(read[i].peRed, read[i].peGreen, read[i].peBlue, 0);
    entries.Insert(&color, entries.NumItems(), 1);
  }
  depth = DepthForColorCount(count);
  palette = handle;
}

ColorTable::ColorTable(const ColorTable& other)
    : Smart(), Persistent(other), SmartImplementation(other), entries(other.entries), depth(other.depth) {
  CopyPaletteOf(other);
}

ColorTable& ColorTable::operator=(const ColorTable& other) {
  if (this == &other) return *this;
  entries = other.entries;
  depth = other.depth;
  DeletePalette();
  CopyPaletteOf(other);
  return *this;
}

ColorTable::~ColorTable() { DeletePalette(); }

void ColorTable::DeletePalette() {
  if (palette) DeleteObject(palette);
  palette = nullptr;
}

// The copy's palette has the source palette's own entries (which may be more or fewer than the table
// holds), so that both draw alike.
void ColorTable::CopyPaletteOf(const ColorTable& other) {
  if (!other.palette) return;
  const UINT count = GetPaletteEntries(other.palette, 0, 0, nullptr);
  CHECK_NON_ZERO(count);
  PaletteBlock block(static_cast<int>(count));
  GetPaletteEntries(other.palette, 0, count, &block[0]);
  palette = MakePalette(block);
}

Persistent* ColorTable::ReadNew(Archive* archive) { return ReadFromBlock<ColorTable>(archive, &persistentType); }

void ColorTable::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  Stream* stream = block.GetStream();
  const std::int32_t count = entries.NumItems();
  stream->WriteLong(count);
  for (std::int32_t i = 1; i <= count; ++i) static_cast<const Color*>(entries.At(i))->Write(block);
  stream->WriteShort(depth);
}

void ColorTable::BuildPalette() {
  if (depth > 15) return;
  const int count = static_cast<int>(ColorCountForDepth(depth));
  PaletteBlock block(count);
  for (int i = 0; i < count; ++i) {
    const Color& color = *static_cast<const Color*>(entries.At(i + 1));
    block[i] = PALETTEENTRY{static_cast<BYTE>(color.red >> 8), static_cast<BYTE>(color.green >> 8),
                            static_cast<BYTE>(color.blue >> 8), 0};
  }
  palette = MakePalette(block);
}

Color ColorTable::GetColor(std::int32_t index) const {
  if (depth <= 8) return *static_cast<const Color*>(entries.At(index + 1));
  const int n = depth == 16 ? 5 : 8;
  const std::uint32_t mask = (1u << n) - 1;
  const auto value = static_cast<std::uint32_t>(index);
  auto channel = [&](int field) { return static_cast<std::uint16_t>(((value >> (field * n)) & mask) << (16 - n)); };
  return Color(channel(2), channel(1), channel(0), 0);
}

bool ColorTable::IndexOf(const Color& color, std::int32_t* index) const {
  if (depth > 8) {
    const int n = depth == 16 ? 5 : 8;
    *index = static_cast<std::int32_t>((static_cast<std::uint32_t>(color.red >> (16 - n)) << (2 * n)) |
                                       (static_cast<std::uint32_t>(color.green >> (16 - n)) << n) |
                                       static_cast<std::uint32_t>(color.blue >> (16 - n)));
    return true;
  }
  const std::int32_t count = entries.NumItems();
  if (count == 0) return false;
  if (static_cast<const Color*>(entries.At(count))->SameAs8Bit(color)) {
    *index = count - 1;
    return true;
  }
  for (std::int32_t i = 1; i <= count; ++i) {
    if (static_cast<const Color*>(entries.At(i))->SameAs8Bit(color)) {
      *index = i - 1;
      return true;
    }
  }
  return false;
}

std::int32_t ColorTable::NearestIndex(const Color& color) const {
  if (depth > 8) {
    std::int32_t index = 0;
    IndexOf(color, &index);
    return index;
  }
  const std::int32_t count = entries.NumItems();
  if (count == 0) return 255;
  std::int32_t best = 0;
  std::int32_t bestDistance = Distance(*static_cast<const Color*>(entries.At(1)), color);
  for (std::int32_t i = 1; i <= count && bestDistance != 0; ++i) {
    const std::int32_t distance = Distance(*static_cast<const Color*>(entries.At(i)), color);
    if (distance < bestDistance) {
      best = i - 1;
      bestDistance = distance;
    }
  }
  return best;
}

ColorTable* ColorTable::GetStandard(std::int16_t depth) { return GetShared(GetOSPalette(depth)); }

ColorTable* ColorTable::GetShared(HPALETTE handle) {
  std::vector<HPALETTE>& handles = OSTables();
  List& tables = SharedTables();
  const auto numStored = static_cast<std::int32_t>(handles.size());
  ASSERT(numStored == tables.NumItems());
  for (std::int32_t i = 0; i < numStored; ++i) {
    if (handles[static_cast<std::size_t>(i)] == handle) return CastSmart<ColorTable>(tables.At(i + 1));
  }
  SmartRef<ColorTable> made(new ColorTable(handle));
  handles.push_back(handle);
  tables.Append(~made);
  return ~made;
}

HPALETTE ColorTable::GetOSPalette(std::int16_t depth) {
  if (depth >= 16) return nullptr;
  if (!gMonochromePalette) MakeMonochromePalette();
  if (depth == 1) return gMonochromePalette;
  if (!gSystemPalette) MakeSystemPalette();
  return gSystemPalette;
}

HPALETTE ColorTable::GetAppPalette() {
  if (!gSystemPalette) GetStandard(8);
  return gSystemPalette;
}

HPALETTE ColorTable::GetSecondAppPalette() {
  GetAppPalette();
  return gSecondSystemPalette;
}

void ColorTable::ForgetStandardTables() {
  std::vector<HPALETTE>& handles = OSTables();
  // A shared table deletes its palette with itself; palettes no table took are deleted here.
  for (HPALETTE palette : {gMonochromePalette, gSystemPalette}) {
    if (palette && std::find(handles.begin(), handles.end(), palette) == handles.end()) DeleteObject(palette);
  }
  if (gSecondSystemPalette) DeleteObject(gSecondSystemPalette);
  gMonochromePalette = gSystemPalette = gSecondSystemPalette = nullptr;
  handles.clear();
  SharedTables()->RemoveAll();
}
