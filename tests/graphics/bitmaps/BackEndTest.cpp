#include <functional>
#include <memory>

#include "support/graphics/GraphicsFixture.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/GraphicsState.h"
#include "graphics/bitmaps/DDBitMap.h"
#include "graphics/bitmaps/DIBSection.h"
#include "graphics/bitmaps/DIBitMap.h"
#include "graphics/PatternBrush.h"
#include "platform/gdi/Gdi.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "graphics/SystemVersion.h"
#include "graphics/RectConversion.h"

namespace {

// A palette of 256 entries, entry i of colour f(i).
HPALETTE MakePalette(const std::function<COLORREF(int)>& colour) {
  std::vector<std::uint64_t> block((sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY)) / 8 + 1);
  auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) {
    const COLORREF c = colour(i);
    logical->palPalEntry[i] = PALETTEENTRY{GetRValue(c), GetGValue(c), GetBValue(c), 0};
  }
  return CreatePalette(logical);
}

struct PaletteOwner {
  HPALETTE palette;
  ~PaletteOwner() { DeleteObject(palette); }
};

COLORREF AppColour(int index) {
  PALETTEENTRY e{};
  GetPaletteEntries(ColorTable::GetAppPalette(), static_cast<UINT>(index), 1, &e);
  return RGB(e.peRed, e.peGreen, e.peBlue);
}

enum class Kind { Section, Device, Packed };
const char* Name(Kind kind) { return kind == Kind::Section ? "DIBSection" : kind == Kind::Device ? "DDBitMap" : "DIBitMap"; }

std::unique_ptr<OSBitMap> Make(Kind kind) {
  switch (kind) {
    case Kind::Section: return std::make_unique<DIBSection>();
    case Kind::Device: return std::make_unique<DDBitMap>();
    case Kind::Packed: return std::make_unique<DIBitMap>();
  }
  return nullptr;
}

std::unique_ptr<OSBitMap> Make(Kind kind, int width, int height, int depth = 8, HPALETTE palette = nullptr) {
  std::unique_ptr<OSBitMap> made = Make(kind);
  made->Create(width, height, static_cast<std::int16_t>(depth), palette);
  return made;
}

// ---- The choice of back end ----

using BackEndChoice = GraphicsFixture;

TEST_F(BackEndChoice, FullSystemsTakeSectionsLimitedOnesDeviceBitmapsAndPackedDIBs) {
  TheGraphicsState().winVersion = 0;
  EXPECT_EQ(GetWinVersion(), Win95) << "the drawing layer is a full system";
  EXPECT_FALSE(IsLimitedWindows());
  EXPECT_FALSE(IsWinVersion2Or3());
  struct Case {
    int version;
    int depth;
    const ClassInfo* expected;
  };
  const Case cases[] = {{Win95, 1, &DIBSection::classInfo},    {Win95, 8, &DIBSection::classInfo},
                        {Win95, 24, &DIBSection::classInfo},   {Win31Only, 1, &DDBitMap::classInfo},
                        {Win31Only, 8, &DDBitMap::classInfo},  {Win31Only, 16, &DIBitMap::classInfo},
                        {Win31Only, 32, &DIBitMap::classInfo}};
  for (const Case& c : cases) {
    TheGraphicsState().winVersion = c.version;
    EXPECT_EQ(IsLimitedWindows(), c.version == Win31Only);
    std::unique_ptr<OSBitMap> made(NewOSBitMap(static_cast<std::int16_t>(c.depth)));
    EXPECT_EQ(made->GetClassInfo(), c.expected) << c.version << " at depth " << c.depth;
  }
  for (const ClassInfo* info : {&DIBSection::classInfo, &DDBitMap::classInfo, &DIBitMap::classInfo}) {
    SmartRef<Smart> made(info->factory());
    EXPECT_TRUE(made->IsKindOf(&OSBitMap::classInfo));
  }
}

TEST_F(BackEndChoice, RowBytes) {
  struct Case {
    Kind kind;
    int width;
    int depth;
    int rowBytes;
  };
  const Case cases[] = {{Kind::Section, 1, 1, 4},  {Kind::Section, 1, 8, 4},  {Kind::Section, 1, 24, 4},
                        {Kind::Section, 33, 1, 8}, {Kind::Section, 9, 1, 4},  {Kind::Packed, 9, 1, 4},
                        {Kind::Packed, 3, 24, 12}, {Kind::Device, 9, 1, 2},   {Kind::Device, 1, 8, 2},
                        {Kind::Device, 33, 1, 6},  {Kind::Device, 3, 8, 4}};
  for (const Case& c : cases) {
    std::unique_ptr<OSBitMap> b = Make(c.kind, c.width, 2, c.depth);
    EXPECT_EQ(b->GetRowBytes(), c.rowBytes) << Name(c.kind) << " " << c.width << "x" << c.depth;
    EXPECT_EQ(b->GetByteSize(), 2 * c.rowBytes);
  }
  std::unique_ptr<OSBitMap> b = Make(Kind::Section, 33, 1, 8);
  EXPECT_EQ(b->GetRowBytes(1), 8) << "the row length at another depth";
}

TEST(WindowsConversions, RectanglesAndPoints) {
  const Rect r(1, 2, 3, 4);
  const RECT w = ToRECT(r);
  EXPECT_EQ(w.left, 1);
  EXPECT_EQ(w.bottom, 4);
  EXPECT_EQ(FromRECT(w), r);
  POINT p{};
  CopyPoint(Point(5, -6), &p);
  EXPECT_EQ(p.x, 5);
  EXPECT_EQ(p.y, -6);
}

// ---- Every back end ----

class BackEnd : public GraphicsFixture, public ::testing::WithParamInterface<Kind> {
 protected:
  void SetUp() override {
    // A device bitmap belongs to a limited system, whose display has 256 colours.
    if (GetParam() == Kind::Device) Prepare(8, Win31Only);
    else GraphicsFixture::SetUp();
  }
};

INSTANTIATE_TEST_SUITE_P(All, BackEnd, ::testing::Values(Kind::Section, Kind::Device, Kind::Packed),
                         [](const auto& info) { return std::string(Name(info.param)); });

TEST_P(BackEnd, CreationChecks) {
  std::unique_ptr<OSBitMap> b = Make(GetParam(), 4, 3);
  EXPECT_TRUE(b->IsInitialized());
  EXPECT_EQ(b->GetBounds(), Rect(0, 0, 4, 3));
  EXPECT_EQ(RaisedText(Raised([&] { b->Create(4, 3, 8, nullptr); })), "!IsInitialized()");
  for (auto [w, h] : {std::pair{0, 3}, {4, 0}, {-4, 3}, {4, -3}, {0x7FFFFFFF, 0x7FFFFFFF}}) {
    std::unique_ptr<OSBitMap> bad = Make(GetParam());
    EXPECT_EQ(RaisedText(Raised([&] { bad->Create(w, h, 8, nullptr); })), "Call failed.") << w << "x" << h;
  }
  if (GetParam() == Kind::Device) {
    std::unique_ptr<OSBitMap> deep = Make(GetParam());
    EXPECT_EQ(RaisedText(Raised([&] { deep->Create(4, 3, 24, nullptr); })), "Call failed.");
  }
}

TEST_P(BackEnd, PixelsInAndOut) {
  std::unique_ptr<OSBitMap> b = Make(GetParam(), 5, 3);
  SetPixels(*b, [](int x, int y) { return static_cast<std::uint8_t>(10 * y + x); });
  EXPECT_EQ(PixelAt(*b, 4, 2), 24);
  EXPECT_EQ(PixelAt(*b, 0, 0), 0);
  bool isCopy = false;
  void* bits = b->LockBits(&isCopy);
  EXPECT_EQ(isCopy, GetParam() == Kind::Device);
  const int row = b->IsTopDown() ? 1 : 1;  // the middle row either way
  static_cast<std::uint8_t*>(bits)[row * b->GetRowBytes() + 2] = 99;
  b->UnlockBits(true, bits, isCopy);
  EXPECT_EQ(PixelAt(*b, 2, 1), 99);
  std::vector<std::uint8_t> tooBig(static_cast<std::size_t>(b->GetByteSize() + 4));
  const std::string expected = GetParam() == Kind::Device   ? "Call failed."
                               : GetParam() == Kind::Packed ? "size == (long) GetByteSize()"
                                                            : "(unsigned long)size <= (unsigned long)GetByteSize()";
  EXPECT_EQ(RaisedText(Raised([&] { b->SetBits(tooBig.data(), b->GetByteSize() + 4); })), expected);
}

TEST_P(BackEnd, CopiesHaveTheirOwnHandleAndPixels) {
  std::unique_ptr<OSBitMap> original = Make(GetParam(), 6, 4);
  SetPixels(*original, [](int x, int y) { return static_cast<std::uint8_t>(x * y + 1); });
  const std::size_t before = platform::CountGdiObjects();
  {
    SmartRef<OSBitMap> copy(CastSmart<OSBitMap>(original->Clone()));
    EXPECT_EQ(copy->GetClassInfo(), original->GetClassInfo());
    EXPECT_NE(copy->GetHandle(), original->GetHandle());
    EXPECT_EQ(PixelAt(*copy, 5, 3), 16);
    SetPixels(*copy, [](int, int) { return std::uint8_t{7}; });
    EXPECT_EQ(PixelAt(*original, 5, 3), 16) << "the original keeps its pixels";
    std::unique_ptr<OSBitMap> assigned = Make(GetParam(), 2, 2);
    assigned->CopyFrom(~copy);
    EXPECT_EQ(assigned->GetBounds(), Rect(0, 0, 6, 4));
    EXPECT_EQ(PixelAt(*assigned, 3, 2), 7);
    EXPECT_NE(assigned->GetHandle(), copy->GetHandle());
  }
  EXPECT_EQ(platform::CountGdiObjects(), before) << "each handle deleted once";
}

TEST_P(BackEnd, InitFromHandleCopiesTheBitmapsPixels) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
  } info{{sizeof(BITMAPINFOHEADER), 5, 3, 1, 8, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* pixels = nullptr;
  HBITMAP source =
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0);
  ASSERT_NE(source, nullptr);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) static_cast<std::uint8_t*>(pixels)[(2 - y) * 8 + x] = static_cast<std::uint8_t>(10 * y + x);
  std::unique_ptr<OSBitMap> b = Make(GetParam());
  b->InitFromHandle(source, ColorTable::GetAppPalette());
  EXPECT_EQ(b->GetBounds(), Rect(0, 0, 5, 3));
  EXPECT_EQ(b->GetBitDepth(), 8);
  for (auto [x, y] : {std::pair{0, 0}, {4, 0}, {2, 1}, {4, 2}}) EXPECT_EQ(PixelAt(*b, x, y), 10 * y + x) << x << "," << y;
  EXPECT_EQ(GetObjectType(source), OBJ_BITMAP) << "the handle stays its owner's";
  DeleteObject(source);
  std::unique_ptr<OSBitMap> again = Make(GetParam());
  EXPECT_EQ(RaisedText(Raised([&] { again->InitFromHandle(nullptr, nullptr); })), "system error 6")
      << "the invalid handle's error";
}

// The keyed pixel copy: destination rectangles hanging off each edge copy exactly the overlap, and key
// pixels never change the destination.
TEST_P(BackEnd, KeyedPixelCopies) {
  const Rect targets[] = {{1, 1, 5, 4},   {-2, 1, 2, 4},  {3, 1, 7, 4},   {1, -2, 5, 1},  {1, 2, 5, 5},
                          {-1, -1, 3, 2}, {4, 3, 8, 6},   {-3, -3, 1, 0}, {9, 0, 13, 3}, {0, 0, 4, 3}};
  const std::int32_t key = 5;
  auto sourceValue = [](int x, int y) { return static_cast<std::uint8_t>(x == 1 && y == 1 ? 5 : 20 + 10 * y + x); };
  AlertRecorder alerts;
  for (Kind destKind : {Kind::Section, Kind::Device, Kind::Packed}) {
    for (const Rect& to : targets) {
      std::unique_ptr<OSBitMap> source = Make(GetParam(), 4, 3);
      SetPixels(*source, sourceValue);
      std::unique_ptr<OSBitMap> dest = Make(destKind, 5, 4);
      SetPixels(*dest, [](int, int) { return std::uint8_t{1}; });
      source->CopyPixelsTo(dest.get(), Rect(0, 0, 4, 3), to, key);
      for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
          std::uint8_t expected = 1;
          const int sx = x - to.left;
          const int sy = y - to.top;
          if (GetParam() != Kind::Packed && sx >= 0 && sx < 4 && sy >= 0 && sy < 3 && sourceValue(sx, sy) != key)
            expected = sourceValue(sx, sy);
          ASSERT_EQ(PixelAt(*dest, x, y), expected) << "into " << Name(destKind) << " at (" << to.left << ", " << to.top
                                                    << "), pixel " << x << "," << y;
        }
      }
    }
  }
  if (GetParam() == Kind::Packed) {
    ASSERT_EQ(alerts.Alerts().size(), 1u) << "a notice, shown once";
    EXPECT_NE(alerts.Alerts()[0].text.find("Not implemented."), std::string::npos);
  }
  std::unique_ptr<OSBitMap> source = Make(GetParam(), 4, 3);
  std::unique_ptr<OSBitMap> deep = Make(Kind::Section, 4, 3, 24);
  if (GetParam() != Kind::Packed) {
    EXPECT_EQ(RaisedText(Raised([&] { source->CopyPixelsTo(deep.get(), Rect(0, 0, 4, 3), Rect(0, 0, 4, 3), 0); })),
              "intoBitMap->GetBitDepth() == 8");
    EXPECT_EQ(RaisedText(Raised([&] { source->CopyPixelsTo(source.get(), Rect(1, 0, 4, 3), Rect(0, 0, 3, 3), 0); })),
              "from.TopLeft() == Point::origin");
  }
}

TEST_P(BackEnd, MaskedCopies) {
  std::unique_ptr<OSBitMap> source = Make(GetParam(), 9, 2);
  SetPixels(*source, [](int x, int y) { return static_cast<std::uint8_t>(100 + 10 * y + x); });
  // Mask rows: 1 keeps the destination. Row 0: 0101 0101 | 1...; row 1: all 0.
  std::unique_ptr<OSBitMap> mask = Make(GetParam() == Kind::Device ? Kind::Device : Kind::Section, 9, 2, 1);
  std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(mask->GetByteSize()));
  const int row0 = mask->IsTopDown() ? 0 : 1;
  maskBits[static_cast<std::size_t>(row0 * mask->GetRowBytes())] = 0x55;
  maskBits[static_cast<std::size_t>(row0 * mask->GetRowBytes() + 1)] = 0x80;
  mask->SetBits(maskBits.data(), mask->GetByteSize());
  for (const Rect& to : {Rect(1, 1, 10, 3), Rect(0, 0, 9, 2), Rect(-1, 1, 8, 3), Rect(2, -1, 11, 1), Rect(3, 1, 12, 3),
                         Rect(1, 2, 10, 4)}) {
    std::unique_ptr<OSBitMap> dest = Make(GetParam(), 11, 3);
    SetPixels(*dest, [](int, int) { return std::uint8_t{1}; });
    source->MaskedCopyTo(dest.get(), to, mask.get());
    const bool inside = to.left >= 0 && to.top >= 0 && to.right <= 11 && to.bottom <= 3;
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 11; ++x) {
        const int sx = x - to.left;
        const int sy = y - to.top;
        std::uint8_t expected = 1;
        if (inside && sx >= 0 && sx < 9 && sy >= 0 && sy < 2) {
          const bool keep = sy == 0 && (sx == 8 || sx % 2 == 1);
          if (!keep) expected = static_cast<std::uint8_t>(100 + 10 * sy + sx);
        }
        ASSERT_EQ(PixelAt(*dest, x, y), expected) << "at (" << to.left << ", " << to.top << "), pixel " << x << "," << y;
      }
    }
  }
  std::unique_ptr<OSBitMap> dest = Make(GetParam(), 11, 3);
  EXPECT_EQ(RaisedText(Raised([&] { source->MaskedCopyTo(dest.get(), Rect(0, 0, 8, 2), mask.get()); })),
            "destRect.Size() == sourceSize");
}

// Drawn at its own size and from a part of itself, the bitmap shows its palette's colours.
TEST_P(BackEnd, StretchToShowsThePixelsColours) {
  std::unique_ptr<OSBitMap> b = Make(GetParam(), 4, 3, 8, ColorTable::GetAppPalette());
  auto value = [](int x, int y) { return static_cast<std::uint8_t>(200 + 10 * y + x); };
  SetPixels(*b, value);
  Canvas canvas(20, 20, RGB(0, 0, 0));
  b->StretchTo(canvas.DC(), ColorTable::GetAppPalette(), Rect(0, 0, 4, 3), Rect(2, 2, 6, 5));
  b->StretchTo(canvas.DC(), ColorTable::GetAppPalette(), Rect(1, 1, 3, 3), Rect(10, 10, 12, 12));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.At(2 + x, 2 + y), AppColour(value(x, y))) << x << "," << y;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(canvas.At(10 + x, 10 + y), AppColour(value(1 + x, 1 + y))) << "part " << x << "," << y;
  b->StretchTo(canvas.DC(), ColorTable::GetAppPalette(), Rect(0, 0, 4, 3), Rect(0, 12, 8, 18));
  EXPECT_EQ(canvas.At(7, 17), AppColour(value(3, 2))) << "stretched twice over";
}

TEST_P(BackEnd, RemapToPaletteRewritesPixelsAndHeader) {
  PaletteOwner greys{MakePalette([](int i) { return RGB(i, i, i); })};
  PaletteOwner reversed{MakePalette([](int i) { return RGB(255 - i, 255 - i, 255 - i); })};
  std::unique_ptr<OSBitMap> b = Make(GetParam(), 5, 2, 8, greys.palette);
  SetPixels(*b, [](int x, int y) { return static_cast<std::uint8_t>(x + 5 * y); });
  bool isCopy = false;
  void* bits = b->LockBits(&isCopy);
  b->RemapToPalette(reversed.palette, bits);
  b->UnlockBits(true, bits, isCopy);
  EXPECT_EQ(PixelAt(*b, 0, 0), 255);
  EXPECT_EQ(PixelAt(*b, 4, 1), 246);
  const RGBQUAD& c = b->GetDIBHeader()->bmiColors[1];
  EXPECT_EQ(c.rgbRed, 254) << "the header carries the new palette's colours";
}

TEST_P(BackEnd, PatternBrushesPaintThePixels) {
  std::unique_ptr<OSBitMap> b = Make(GetParam(), 8, 8, 8, ColorTable::GetAppPalette());
  SetPixels(*b, [](int x, int y) { return static_cast<std::uint8_t>(x == y ? 249 : 255); });  // red diagonal on white
  HBRUSH brush = b->CreatePatternBrush();
  ASSERT_NE(brush, nullptr);
  Canvas canvas(16, 16, RGB(0, 0, 0));
  const RECT all{0, 0, 16, 16};
  FillRect(canvas.DC(), &all, brush);
  DeleteObject(brush);
  EXPECT_EQ(canvas.At(3, 3), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(11, 11), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(4, 3), RGB(255, 255, 255));
}

TEST_P(BackEnd, FillAndColorRegion) {
  std::unique_ptr<OSBitMap> b = Make(GetParam(), 3, 2, 8, ColorTable::GetAppPalette());
  AlertRecorder alerts;
  if (GetParam() == Kind::Packed) {
    EXPECT_TRUE(Raised([&] { b->Fill(Color(7)); })) << "a packed DIB has no context";
  } else {
    b->Fill(Color(7));
    EXPECT_EQ(AppColour(PixelAt(*b, 2, 1)), RGB(255, 0, 0));
  }
  EXPECT_EQ(b->GetColorRegion(Color(7)), nullptr) << "after a notice";
}

// ---- Keyed drawing ----

using KeyedDraw = GraphicsFixture;

TEST_F(KeyedDraw, KeyPixelsLeaveTheContextUnchanged) {
  struct Case {
    int version;
    int screenBits;
    int depth;
  };
  const Case cases[] = {{Win95, 32, 8}, {Win95, 8, 8}, {Win31Only, 8, 8}, {Win95, 32, 24}, {Win95, 8, 24}, {Win31Only, 8, 24}};
  const COLORREF background = RGB(0, 51, 102);  // one of the program's colours
  for (const Case& c : cases) {
    Prepare(c.screenBits, c.version);
    std::unique_ptr<OSBitMap> b(NewOSBitMap(static_cast<std::int16_t>(c.depth)));
    b->Create(4, 3, static_cast<std::int16_t>(c.depth), c.depth == 8 ? ColorTable::GetAppPalette() : nullptr);
    const std::int32_t key = c.depth == 8 ? 255 : 0xFFFFFF;
    std::vector<COLORREF> expected;
    if (c.depth == 8) {
      SetPixels(*b, [](int x, int y) { return static_cast<std::uint8_t>((x + y) % 2 ? 255 : 190 + x); });
    } else {
      // Red, and white for the key: bytes blue, green, red, bottom row first.
      std::vector<std::uint8_t> bits(static_cast<std::size_t>(b->GetByteSize()));
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
          std::uint8_t* pixel = &bits[static_cast<std::size_t>((2 - y) * b->GetRowBytes() + 3 * x)];
          pixel[0] = pixel[1] = (x + y) % 2 ? 255 : 0;
          pixel[2] = 255;
        }
      b->SetBits(bits.data(), b->GetByteSize());
    }
    Canvas canvas(10, 10, background);
    b->DrawKeyed(canvas.DC(), c.depth == 8 ? ColorTable::GetAppPalette() : nullptr, Rect(0, 0, 4, 3), Rect(3, 4, 7, 7), key);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4; ++x) {
        const bool isKey = (x + y) % 2 == 1;
        COLORREF want = c.depth == 8 ? AppColour(190 + x) : RGB(255, 0, 0);
        if (isKey) want = background;
        EXPECT_EQ(canvas.At(3 + x, 4 + y), want) << c.version << "/" << c.screenBits << "/" << c.depth << " pixel " << x << "," << y;
      }
    }
    EXPECT_EQ(canvas.At(2, 4), background);
    EXPECT_EQ(canvas.At(7, 6), background);

    // A part of the bitmap lands where the whole draw puts it, and nothing else is touched.
    Canvas part(10, 10, background);
    b->DrawKeyed(part.DC(), c.depth == 8 ? ColorTable::GetAppPalette() : nullptr, Rect(1, 1, 4, 3), Rect(4, 5, 7, 7), key);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) {
        const bool inside = x >= 4 && x < 7 && y >= 5 && y < 7;
        EXPECT_EQ(part.At(x, y), inside ? canvas.At(x, y) : background)
            << c.version << "/" << c.screenBits << "/" << c.depth << " part pixel " << x << "," << y;
      }
  }
}

// ---- Device bitmaps ----

using DeviceBitmap = GraphicsFixture;

TEST_F(DeviceBitmap, ContextsDoNotNestAndCachedBitsAreKept) {
  Prepare(8, Win31Only);
  DDBitMap b;
  b.Create(9, 2, 1, nullptr);
  EXPECT_EQ(b.GetRowBytes(), 2);
  HDC dc = b.GetDC();
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(RaisedText(Raised([&] { b.GetDC(); })), "Call failed.");
  b.ReleaseDC(dc);
  EXPECT_EQ(RaisedText(Raised([&] { b.ReleaseDC(dc); })), "Call failed.") << "released once";
  dc = b.GetDC();
  b.ReleaseDC(dc);

  b.SetCacheBits(true);
  bool isCopy = false;
  void* first = b.LockBits(&isCopy);
  void* second = b.LockBits(&isCopy);
  EXPECT_EQ(first, second);
  static_cast<std::uint8_t*>(first)[0] = 0x80;
  b.UnlockBits(true, first, isCopy);
  std::uint8_t other[4] = {};
  EXPECT_EQ(RaisedText(Raised([&] { b.UnlockBits(false, other, true); })), "Call failed.");
  b.SetCacheBits(false);
  std::uint8_t written[4] = {};
  b.GetBits(written, 4);
  EXPECT_EQ(written[0], 0x80) << "the cached copy was written back";
  void* fresh = b.LockBits(&isCopy);
  EXPECT_NE(fresh, nullptr);
  b.UnlockBits(false, fresh, isCopy);
}

TEST_F(DeviceBitmap, DrawRotatedOntoAParallelogram) {
  Prepare(8, Win31Only);
  DDBitMap b;
  b.Create(4, 3, 8, ColorTable::GetAppPalette());
  SetPixels(b, [](int x, int y) { return static_cast<std::uint8_t>(200 + 10 * y + x); });
  Canvas canvas(20, 20, RGB(0, 0, 0));
  // A quarter turn: the top row goes down the left of the parallelogram.
  const POINT points[3] = {{10, 5}, {10, 9}, {7, 5}};
  b.DrawRotated(canvas.DC(), nullptr, Rect(0, 0, 4, 3), points);
  int drawn = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) drawn += canvas.At(x, y) != RGB(0, 0, 0);
  EXPECT_EQ(drawn, 12) << "every pixel lands once";
}

// ---- Sections ----

using Section = GraphicsFixture;

TEST_F(Section, StretchModeChangesOnlyWhileStretching) {
  DIBSection b;
  b.Create(4, 3, 8, nullptr);
  Canvas canvas(10, 10, RGB(0, 0, 0));
  SetStretchBltMode(canvas.DC(), BLACKONWHITE);
  b.StretchTo(canvas.DC(), nullptr, Rect(0, 0, 4, 3), Rect(0, 0, 4, 3));
  EXPECT_EQ(GetStretchBltMode(canvas.DC()), BLACKONWHITE);
  b.StretchTo(canvas.DC(), nullptr, Rect(0, 0, 4, 3), Rect(0, 0, 8, 6));
  EXPECT_EQ(GetStretchBltMode(canvas.DC()), BLACKONWHITE) << "restored after stretching";
}

// ---- Pattern brushes ----

TEST(PatternBrush, RowsOfTheSparsePattern) {
  PatternBrushMaker maker;
  CopyPatternBytes(Pattern(2), maker);
  HBRUSH brush = maker.MakePatternBrush();
  ASSERT_NE(brush, nullptr);
  Canvas canvas(8, 8, RGB(0, 0, 255));
  SetTextColor(canvas.DC(), RGB(0, 0, 0));
  SetBkColor(canvas.DC(), RGB(255, 255, 255));
  const RECT all{0, 0, 8, 8};
  FillRect(canvas.DC(), &all, brush);
  DeleteObject(brush);
  // Set bits take the background colour: rows 11 (bits 4 and 0) and 44 (bits 6 and 2).
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const int bit = 7 - x;
      const bool set = y % 2 == 0 ? (bit == 4 || bit == 0) : (bit == 6 || bit == 2);
      EXPECT_EQ(canvas.At(x, y), set ? RGB(255, 255, 255) : RGB(0, 0, 0)) << x << "," << y;
    }
  }
  const std::uint8_t seven[7] = {};
  EXPECT_EQ(RaisedText(Raised([&] { maker.Fill(seven, 7); })), "Call failed.");
}

// ---- Remapping DIB pixels ----

struct SmallDIB {
  BITMAPINFOHEADER header;
  RGBQUAD colors[4];
};

TEST(RemapDIBToPalette, UncompressedAndRLE8) {
  // The palette holds the DIB's four colours in reverse order.
  LOGPALETTE* logical = nullptr;
  std::vector<std::uint64_t> block(8);
  logical = reinterpret_cast<LOGPALETTE*>(block.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = 4;
  const PALETTEENTRY entries[4] = {{255, 255, 255, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
  for (int i = 0; i < 4; ++i) logical->palPalEntry[i] = entries[i];
  HPALETTE palette = CreatePalette(logical);
  SmallDIB dib{{sizeof(BITMAPINFOHEADER), 8, 1, 1, 8, BI_RGB, 0, 0, 0, 4, 0},
               {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {255, 255, 255, 0}}};
  const auto* info = reinterpret_cast<const BITMAPINFO*>(&dib);

  std::vector<std::uint8_t> plain = {0, 1, 2, 3, 3, 2, 1, 0};
  RemapDIBToPalette(info, palette, plain.data(), 8);
  EXPECT_EQ(plain, (std::vector<std::uint8_t>{3, 2, 1, 0, 0, 1, 2, 3}));

  dib.header.biBitCount = 4;
  std::vector<std::uint8_t> nibbles = {0x01, 0x23};
  RemapDIBToPalette(info, palette, nibbles.data(), 2);
  EXPECT_EQ(nibbles, (std::vector<std::uint8_t>{0x32, 0x10}));

  dib.header.biBitCount = 8;
  dib.header.biCompression = BI_RLE8;
  std::vector<std::uint8_t> rle = {
      2, 1,                  // a run of colour 1
      0, 3, 0, 1, 2, 7,      // three literal values and one pad byte
      0, 2, 1, 3,            // a move: two bytes that are not colours
      0, 0,                  // end of line
      0, 4, 0, 1, 2, 3,      // four literal values, no pad
      0, 1,                  // end of bitmap
      1, 0};                 // after the end
  RemapDIBToPalette(info, palette, rle.data(), static_cast<std::int32_t>(rle.size()));
  EXPECT_EQ(rle, (std::vector<std::uint8_t>{2, 2, 0, 3, 3, 2, 1, 7, 0, 2, 1, 3, 0, 0, 0, 4, 3, 2, 1, 0, 0, 1, 1, 0}));

  // A literal run longer than the data stops at its end.
  std::vector<std::uint8_t> cut = {0, 200, 0, 1};
  RemapDIBToPalette(info, palette, cut.data(), 4);
  EXPECT_EQ(cut, (std::vector<std::uint8_t>{0, 200, 3, 2}));

  dib.header.biCompression = BI_RLE4;
  std::vector<std::uint8_t> rle4 = {2, 0x01, 0, 1};
  RemapDIBToPalette(info, palette, rle4.data(), 4);
  EXPECT_EQ(rle4, (std::vector<std::uint8_t>{2, 0x01, 0, 1})) << "RLE4 is left as it is";

  dib.header.biCompression = BI_RGB;
  std::vector<std::uint8_t> untouched = {0, 1};
  RemapDIBToPalette(info, nullptr, untouched.data(), 2);
  RemapDIBToPalette(nullptr, palette, untouched.data(), 2);
  EXPECT_EQ(untouched, (std::vector<std::uint8_t>{0, 1}));
  DeleteObject(palette);
}

}  // namespace
