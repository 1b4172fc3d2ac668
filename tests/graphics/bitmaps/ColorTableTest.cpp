#include <fstream>
#include <iterator>
#include <set>

#include "support/graphics/GraphicsFixture.h"
#include "core/Alert.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/OffScreen.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Paint.h"
#include "support/Raised.h"
#include "support/TempFolder.h"
#include "graphics/SystemVersion.h"

namespace {

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string PaletteFileBytes() { return ReadFileBytes(QUILLORY_SOURCE_DIR "/data/Data/standard.pal"); }

GenericArray Colors(std::initializer_list<Color> colors) {
  GenericArray array(sizeof(Color), 0);
  for (const Color& c : colors) array.Insert(&c, array.NumItems(), 1);
  return array;
}

GenericArray Greys(int count) {
  GenericArray array(sizeof(Color), 0);
  for (int i = 0; i < count; ++i) {
    const Color c = Color::FromRGB8(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i));
    array.Insert(&c, array.NumItems(), 1);
  }
  return array;
}

std::vector<PALETTEENTRY> EntriesOf(HPALETTE palette) {
  std::vector<PALETTEENTRY> entries(GetPaletteEntries(palette, 0, 0, nullptr));
  GetPaletteEntries(palette, 0, static_cast<UINT>(entries.size()), entries.data());
  return entries;
}

TEST(DepthForColorCount, SmallestDepthOfTheSequence) {
  const std::pair<std::int64_t, int> cases[] = {{0, 1},  {1, 1},   {2, 1},   {3, 2},   {4, 2},     {5, 4},
                                                {16, 4}, {17, 8},  {256, 8}, {257, 16}, {65536, 16}, {65537, 32}};
  for (auto [count, depth] : cases) EXPECT_EQ(DepthForColorCount(count), depth) << count << " colours";
  EXPECT_EQ(ColorCountForDepth(1), 2);
  EXPECT_EQ(ColorCountForDepth(8), 256);
}

using ColorTableTest = GraphicsFixture;

TEST_F(ColorTableTest, StandardTablesAreSharedPerPalette) {
  ColorTable* eight = ColorTable::GetStandard(8);
  EXPECT_EQ(ColorTable::GetStandard(4), eight);
  EXPECT_EQ(ColorTable::GetStandard(2), eight);
  EXPECT_EQ(eight->GetDepth(), 8);
  EXPECT_EQ(eight->GetCount(), 256);
  EXPECT_EQ(eight->GetPalette(), ColorTable::GetAppPalette());
  ColorTable* direct = ColorTable::GetStandard(24);
  EXPECT_EQ(ColorTable::GetStandard(16), direct);
  EXPECT_EQ(ColorTable::GetStandard(32), direct);
  EXPECT_EQ(direct->GetDepth(), 24);
  EXPECT_EQ(direct->GetCount(), 0);
  EXPECT_EQ(direct->GetPalette(), nullptr);
  ColorTable* mono = ColorTable::GetStandard(1);
  EXPECT_EQ(mono->GetDepth(), 1);
  ASSERT_EQ(mono->GetCount(), 2);
  EXPECT_EQ(mono->GetColor(0), Color(1));
  EXPECT_EQ(mono->GetColor(1), Color(0));
  EXPECT_NE(ColorTable::GetSecondAppPalette(), ColorTable::GetAppPalette());
  EXPECT_EQ(EntriesOf(ColorTable::GetSecondAppPalette()).size(), 256u);
}

// The palette file's colours at 10 to 245, the display's own colours around them.
void ExpectApplicationPalette(const std::vector<PALETTEENTRY>& expectedStatics) {
  const std::string file = PaletteFileBytes();
  ASSERT_EQ(file.size(), 1082u);
  const std::vector<PALETTEENTRY> entries = EntriesOf(ColorTable::GetAppPalette());
  ASSERT_EQ(entries.size(), 256u);
  for (int i = 0; i < 256; ++i) {
    const PALETTEENTRY& e = entries[static_cast<std::size_t>(i)];
    if (i >= 10 && i < 246) {
      const auto* quad = reinterpret_cast<const std::uint8_t*>(file.data()) + 54 + 4 * i;
      EXPECT_EQ(e.peRed, quad[2]) << i;
      EXPECT_EQ(e.peGreen, quad[1]) << i;
      EXPECT_EQ(e.peBlue, quad[0]) << i;
      EXPECT_EQ(e.peFlags, PC_NOCOLLAPSE) << i;
    } else {
      const PALETTEENTRY& s = expectedStatics[static_cast<std::size_t>(i < 10 ? i : i - 236)];
      EXPECT_EQ(RGB(e.peRed, e.peGreen, e.peBlue), RGB(s.peRed, s.peGreen, s.peBlue)) << i;
      EXPECT_EQ(e.peFlags, 0) << i;
    }
  }
}

TEST_F(ColorTableTest, ApplicationPaletteOnATrueColourDisplay) {
  ExpectApplicationPalette({{0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
                            {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
                            {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
                            {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
                            {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0}});
  // The shared table shows the same colours.
  ColorTable* table = ColorTable::GetStandard(8);
  EXPECT_EQ(table->GetColor(7), Color::FromRGB8(192, 192, 192));
  EXPECT_EQ(table->GetColor(255), Color::FromRGB8(255, 255, 255));
}

// A colour the palette held twice would have two indexes: the drawing layer paints the first, while a
// chroma key names the last (IndexOf looks there first), so a surface's white background would never
// match the white key chosen for it.
TEST_F(ColorTableTest, DrawnColoursAreTheIndexesTheTableNames) {
  const std::vector<PALETTEENTRY> entries = EntriesOf(ColorTable::GetAppPalette());
  std::set<COLORREF> seen;
  for (const PALETTEENTRY& e : entries)
    EXPECT_TRUE(seen.insert(RGB(e.peRed, e.peGreen, e.peBlue)).second)
        << "colour " << int(e.peRed) << "," << int(e.peGreen) << "," << int(e.peBlue) << " twice";
  // The standard colours the palette holds: white, black, two greys and the saturated ones.
  for (int standard : {0, 1, 3, 4, 7, 8, 9, 10, 12}) {
    SCOPED_TRACE(testing::Message() << "standard colour " << standard);
    SmartRef<OffScreen> surface(new OffScreen(2, 2, 8, Color(standard), true));
    SmartRef<BitMap> keyed(new BitMap(2, 2, surface->GetColorTable(), Color(standard), true));
    ASSERT_TRUE(keyed->GetUseChromaKey());
    EXPECT_EQ(static_cast<std::uint32_t>(keyed->GetChromaKey()), surface->GetBitMap()->GetPixelValue(1, 1));
  }
}

TEST_F(ColorTableTest, ApplicationPaletteOnAPaletteDisplayKeepsTheSystemColours) {
  Prepare(8, Win31Only);
  std::vector<PALETTEENTRY> system(256);
  HDC screen = GetDC(nullptr);
  ASSERT_EQ(GetSystemPaletteEntries(screen, 0, 256, system.data()), 256u);
  ReleaseDC(nullptr, screen);
  std::vector<PALETTEENTRY> statics(system.begin(), system.begin() + 10);
  statics.insert(statics.end(), system.begin() + 246, system.end());
  ExpectApplicationPalette(statics);
}

TEST_F(ColorTableTest, BadPaletteFilesAreRefusedEachTimeTheyAreAsked) {
  const std::string good = PaletteFileBytes();
  std::string notBmp = good;
  notBmp[0] = 'X';
  std::string badInfo = good;
  badInfo[14] = 41;
  for (const std::string& bytes : {notBmp, badInfo}) {
    TempFolder folder;
    folder.Write("Data/standard.pal", bytes);
    Prepare(32, Win95, folder.Path().string());
    for (int attempt = 0; attempt < 2; ++attempt) {
      EXPECT_EQ(RaisedText(Raised([] { ColorTable::GetStandard(8); })), "Call failed.");
    }
    // The black and white table does not need the file.
    EXPECT_EQ(ColorTable::GetStandard(1)->GetCount(), 2);
  }
  for (const std::string& bytes : {good.substr(0, 1000), std::string()}) {
    TempFolder folder;
    folder.Write("Data/standard.pal", bytes);
    Prepare(32, Win95, folder.Path().string());
    EXPECT_TRUE(Raised([] { ColorTable::GetAppPalette(); })) << "a file shorter than 1078 bytes";
  }
  TempFolder empty;
  empty.MakeFolder("Data");
  Prepare(32, Win95, empty.Path().string());
  EXPECT_TRUE(Raised([] { ColorTable::GetAppPalette(); })) << "no palette file";
}

using ColorTableDeathTest = GraphicsFixture;

TEST_F(ColorTableDeathTest, LimitedSystemsRefuseDisplaysOtherThan256Colours) {
  Prepare(32, Win31Only);
  EXPECT_EXIT(
      {
        InitAlerts();
        ColorTable::GetStandard(8);
      },
      ::testing::ExitedWithCode(0), "exactement 256 couleurs");
}

TEST_F(ColorTableDeathTest, DisplaysOfFewerThan256ColoursAreRefused) {
  Prepare(4, Win95);  // a 16-colour palette display
  EXPECT_EXIT(
      {
        InitAlerts();
        ColorTable::GetStandard(8);
      },
      ::testing::ExitedWithCode(0), "au moins 256 couleurs");
}

TEST(ColorTable, IndexOfLooksAtTheLastEntryFirst) {
  const Color white = Color::FromRGB8(255, 255, 255);
  ColorTable table(Colors({white, Color(1), Color(7), white}));
  std::int32_t index = -1;
  ASSERT_TRUE(table.IndexOf(Color(0), &index));
  EXPECT_EQ(index, 3);
  ASSERT_TRUE(table.IndexOf(Color(7), &index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(table.IndexOf(Color(9), &index));
  EXPECT_FALSE(table.IndexOf(Color(13), &index)) << "the transparent colour differs from white in its flag";
}

TEST(ColorTable, NearestIndex) {
  ColorTable table(Colors({Color(0x1000, 0, 0, 0), Color(0x3000, 0, 0, 0), Color(0x2000, 0, 0, 0xFFFF),
                           Color(0x2000, 0, 0, 0)}));
  EXPECT_EQ(table.NearestIndex(Color(0x2000, 0, 0, 0)), 2) << "an exact match, whatever its flag, ends the search";
  EXPECT_EQ(table.NearestIndex(Color(0x0800, 0, 0, 0)), 0);
  EXPECT_EQ(table.NearestIndex(Color(0x1800, 0, 0, 0)), 0) << "ties keep the earlier entry";
  EXPECT_EQ(table.NearestIndex(Color(0x3100, 0x100, 0, 0)), 1);
  ColorTable direct(static_cast<HPALETTE>(nullptr));
  EXPECT_EQ(direct.GetDepth(), 24);
  EXPECT_EQ(direct.NearestIndex(Color(7)), 0xFF0000) << "a direct table answers the packed value";
}

// A palette table without entries (here: the table of a palette that no longer exists) answers defined
// values rather than reading past its entries.
TEST(ColorTable, EmptyPaletteTableAnswersDefinedValues) {
  PALETTEENTRY entry{};
  LOGPALETTE logical{0x300, 1, {entry}};
  HPALETTE gone = CreatePalette(&logical);
  DeleteObject(gone);
  ColorTable empty(gone);
  EXPECT_EQ(empty.GetCount(), 0);
  EXPECT_EQ(empty.GetDepth(), 1);
  EXPECT_EQ(empty.NearestIndex(Color(7)), 255);
  std::int32_t index = 7;
  EXPECT_FALSE(empty.IndexOf(Color(7), &index));
  EXPECT_EQ(index, 7);
  EXPECT_EQ(RaisedText(Raised([&] { empty.GetColor(0); })), "Range error");
}

// Direct values are red high, blue low: a 24-bit pixel's bytes (blue, green, red in memory) read as a
// little-endian number, and a 16- or 32-bit pixel's word.
TEST(ColorTable, DirectValuesMatchThePixelsOfTheBitmaps) {
  ColorTable table(static_cast<HPALETTE>(nullptr));
  const Color colour = Color::FromRGB8(0x12, 0x34, 0x56);
  std::int32_t index = 0;
  ASSERT_TRUE(table.IndexOf(colour, &index));
  EXPECT_EQ(index, 0x123456);
  EXPECT_TRUE(table.GetColor(index).SameAs8Bit(colour));
  EXPECT_EQ(table.GetColor(0x123456), Color(0x1200, 0x3400, 0x5600, 0));

  for (int bits : {24, 32}) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 1, 1, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    SetPixel(dc, 0, 0, RGB(0x12, 0x34, 0x56));
    const auto* bytes = static_cast<const std::uint8_t*>(pixels);
    const std::int32_t value = bytes[0] | bytes[1] << 8 | bytes[2] << 16;
    EXPECT_EQ(value, index) << bits << "-bit pixel";
    EXPECT_TRUE(table.GetColor(value).SameAs8Bit(colour));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
  }
}

TEST(ColorTable, CopiesOwnTheirPalettes) {
  const std::size_t before = platform::CountGdiObjects();
  {
    SmartRef<ColorTable> original(new ColorTable(Greys(16)));
    EXPECT_EQ(original->GetDepth(), 4);
    SmartRef<ColorTable> copy(CastSmart<ColorTable>(original->Clone()));
    ASSERT_NE(copy->GetPalette(), nullptr);
    EXPECT_NE(copy->GetPalette(), original->GetPalette());
    HPALETTE kept = copy->GetPalette();
    original = nullptr;
    EXPECT_EQ(GetObjectType(kept), OBJ_PAL) << "the copy's palette outlives the original";
    EXPECT_EQ(EntriesOf(kept).size(), 16u);
    EXPECT_EQ(copy->GetColor(15), Color::FromRGB8(15, 15, 15));
    ColorTable assigned;
    assigned.CopyFrom(~copy);
    EXPECT_NE(assigned.GetPalette(), kept);
    EXPECT_EQ(assigned.GetCount(), 16);
  }
  EXPECT_EQ(platform::CountGdiObjects(), before) << "every palette deleted once";
}

// An archive over a memory stream that reads blocks as written by the given version.
class VersionArchive : public BitBucketArchive {
 public:
  VersionArchive(Stream* stream, Version readAs) : stream(stream), readAs(readAs) {}
  void ReadWriteVersion(Version* version, std::int32_t, Version current) override {
    *version = stream->GetPosition() == 0 && reading ? readAs : current;
  }
  Stream* GetStream() override { return stream; }
  bool reading = false;

 private:
  Stream* stream;
  Version readAs;
};

SmartRef<ColorTable> ReadTable(const std::string& bytes, Version version) {
  MemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  stream.Seek(0, kSeekFromStart);
  SmartRef<VersionArchive> archive(new VersionArchive(&stream, version));
  archive->reading = true;
  ArchiveBlock block(~archive, &ColorTable::persistentType);
  return new ColorTable(block);
}

std::string TableBytes(const GenericArray& colors, bool withDepth, std::int16_t depth) {
  MemoryStream stream;
  stream.WriteLong(colors.NumItems());
  for (int i = 1; i <= colors.NumItems(); ++i) {
    const auto* c = static_cast<const Color*>(colors.At(i));
    stream.WriteShort(static_cast<std::int16_t>(c->red)).WriteShort(static_cast<std::int16_t>(c->green));
    stream.WriteShort(static_cast<std::int16_t>(c->blue)).WriteShort(static_cast<std::int16_t>(c->flag));
  }
  if (withDepth) stream.WriteShort(depth);
  return std::string(reinterpret_cast<const char*>(stream.GetMemory().GetData()), stream.GetLength());
}

TEST(ColorTable, StoredTables) {
  // Written by this program: count, colours, depth.
  ColorTable table(Greys(16));
  MemoryStream stream;
  SmartRef<VersionArchive> archive(new VersionArchive(&stream, 0));
  table.Write(~archive);
  const std::string written(reinterpret_cast<const char*>(stream.GetMemory().GetData()), stream.GetLength());
  EXPECT_EQ(written, TableBytes(Greys(16), true, 4));

  SmartRef<ColorTable> current = ReadTable(TableBytes(Greys(256), true, 8), MakeVersion(1, 2));
  EXPECT_EQ(current->GetDepth(), 8);
  EXPECT_EQ(current->GetColor(200), Color::FromRGB8(200, 200, 200));
  ASSERT_NE(current->GetPalette(), nullptr);
  EXPECT_EQ(EntriesOf(current->GetPalette())[200].peRed, 200);

  SmartRef<ColorTable> old = ReadTable(TableBytes(Greys(16), false, 0), MakeVersion(1, 0));
  EXPECT_EQ(old->GetDepth(), 4) << "a 1.0 block takes its depth from its count";
  EXPECT_EQ(old->GetCount(), 16);

  SmartRef<ColorTable> direct = ReadTable(TableBytes(Greys(0), true, 16), MakeVersion(1, 2));
  EXPECT_EQ(direct->GetDepth(), 16);
  EXPECT_EQ(direct->GetPalette(), nullptr);
  std::int32_t index = 0;
  direct->IndexOf(Color(0xFFFF, 0, 0x0800, 0), &index);
  EXPECT_EQ(index, 0x7C01) << "5-bit fields at depth 16";
  EXPECT_EQ(direct->GetColor(0x7C01), Color(0xF800, 0, 0x0800, 0));

  EXPECT_EQ(RaisedText(Raised([] { ReadTable(TableBytes(Greys(16), true, 8), MakeVersion(1, 2)); })),
            "Range error")
      << "too few colours for the depth's palette";
  const std::string damaged = "Ce fichier est corrompu"_cp;
  EXPECT_EQ(RaisedText(Raised([] {
              ReadTable(TableBytes(Greys(0), false, 0).replace(0, 4, "\xFF\xFF\xFF\x7F", 4), MakeVersion(1, 0));
            })).rfind(damaged, 0),
            0u)
      << "a count the block does not hold";
  for (std::int16_t depth : {0, 3, -8, 12, 100}) {
    EXPECT_EQ(RaisedText(Raised([&] { ReadTable(TableBytes(Greys(16), true, depth), MakeVersion(1, 2)); })).rfind(damaged, 0), 0u)
        << "a stored depth of " << depth;
  }
}

}  // namespace
