#include <gtest/gtest.h>

#include "graphics/BitMapTestSupport.h"
#include "support/graphics/GraphicsFixture.h"
#include "support/graphics/SurfaceDevice.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Paint.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "platform/gdi/Gdi.h"
#include "support/Raised.h"
#include "graphics/SystemVersion.h"

namespace {

constexpr std::uint32_t kKey = 0;
// A 4x4 sprite: its diagonal is the key, the rest distinct palette indexes.
std::uint32_t SpriteValue(int x, int y) { return x == y ? kKey : static_cast<std::uint32_t>(40 + x + 4 * y); }

struct Switch {
  explicit Switch(std::uint8_t value) : saved(gKeyedCopyThroughGDI) { gKeyedCopyThroughGDI = value; }
  ~Switch() { gKeyedCopyThroughGDI = saved; }
  std::uint8_t saved;
};

class BitMapCopyTest : public GraphicsFixture {};

TEST_F(BitMapCopyTest, KeyedCopiesLeaveKeyPixelsAndClipAtEveryEdge) {
  const Point offsets[] = {{2, 2}, {-2, 1}, {1, -2}, {6, 3}, {3, 6}, {-3, -3}, {7, 7}};
  // Full systems keep pixels in DIB sections, limited ones (on a 256-colour screen) in device bitmaps.
  for (int version : {Win95, Win31Only}) {
    Prepare(version == Win95 ? 32 : 8, version);
    SmartRef<BitMap> sprite(new BitMap(4, 4, ColorTable::GetStandard(8)));
    SetAll(*sprite, SpriteValue);
    for (std::uint8_t throughGDI : {1, 0}) {
      Switch path(throughGDI);
      for (const Point& at : offsets) {
        SCOPED_TRACE(testing::Message() << "GDI " << int(throughGDI) << " at " << at.x << "," << at.y);
        SmartRef<OffScreen> surface(new OffScreen(8, 8, 8, Color(0), true));
        SmartRef<BitMap> dest = surface->GetBitMap();
        SetAll(*dest, [](int x, int y) { return static_cast<std::uint32_t>(100 + x + 8 * y); });
        {
          DisplayPort port(~surface, {0, 0, 8, 8});
          PortState moved(port, Translation(at.x, at.y));
          sprite->DrawKeyed(port, kKey);
        }
        for (int y = 0; y < 8; ++y)
          for (int x = 0; x < 8; ++x) {
            const int sx = x - at.x, sy = y - at.y;
            const bool covered = sx >= 0 && sx < 4 && sy >= 0 && sy < 4 && SpriteValue(sx, sy) != kKey;
            ASSERT_EQ(dest->GetPixelValue(x, y), covered ? SpriteValue(sx, sy) : 100u + x + 8 * y) << x << "," << y;
          }
      }
    }
  }
}

// The value of standard colour c (0 white, 1 black) in a bitmap's own pixels.
std::uint32_t ValueOf(BitMap& bitmap, int c) {
  const std::int16_t depth = bitmap.GetBitDepth();
  if (depth >= 16) return c == 1 ? 0 : depth == 16 ? 0x7FFFu : 0xFFFFFFu;
  std::int32_t index = 0;
  bitmap.GetColorTable()->IndexOf(Color(c), &index);
  return static_cast<std::uint32_t>(index);
}

TEST_F(BitMapCopyTest, KeyPixelsNeverChangeTheDestinationAtAnyDepth) {
  // A black 4x4 sprite whose diagonal is white, the key; drawn inside and hanging off each edge.
  const Point offsets[] = {{2, 2}, {-2, 1}, {1, -2}, {6, 3}, {3, 6}, {-3, -3}};
  enum Dest { kWindow, kOffScreen8, kOffScreen32 };
  for (int version : {Win95, Win31Only}) {
    Prepare(version == Win95 ? 32 : 8, version);
    for (std::int16_t depth : {1, 4, 8, 16, 24, 32}) {
      SmartRef<BitMap> sprite = MakeBitMap(4, 4, depth);
      const std::uint32_t key = ValueOf(*sprite, 0);
      const std::uint32_t ink = ValueOf(*sprite, 1);
      SetAll(*sprite, [&](int x, int y) { return x == y ? key : ink; });
      for (Dest kind : {kWindow, kOffScreen8, kOffScreen32}) {
        // Limited systems have no context for deep bitmaps: their surfaces are 8-bit at most.
        if (version == Win31Only && kind == kOffScreen32) continue;
        for (std::uint8_t throughGDI : {1, 0}) {
          if (kind == kWindow && throughGDI == 0) continue;  // the switch is about off-screens only
          Switch path(throughGDI);
          for (const Point& at : offsets) {
            SCOPED_TRACE(testing::Message() << "version " << version << " depth " << depth << " into " << kind << " GDI "
                                            << int(throughGDI) << " at " << at.x << "," << at.y);
            auto covered = [&](int x, int y) {
              const int sx = x - at.x, sy = y - at.y;
              return sx >= 0 && sx < 4 && sy >= 0 && sy < 4 && sx != sy;
            };
            if (kind == kWindow) {
              SmartRef<SurfaceDevice> window(new SurfaceDevice(8, 8));
              window->Fill(0xFF0000);
              {
                DisplayPort port(~window, {0, 0, 8, 8});
                PortState moved(port, Translation(at.x, at.y));
                sprite->DrawKeyed(port, static_cast<std::int32_t>(key));
              }
              for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) ASSERT_EQ(window->Pixel(x, y), covered(x, y) ? 0u : 0xFF0000u) << x << "," << y;
              continue;
            }
            const std::int16_t destDepth = kind == kOffScreen8 ? 8 : 32;
            SmartRef<OffScreen> surface(new OffScreen(8, 8, destDepth, Color(0), true));
            SmartRef<BitMap> dest = surface->GetBitMap();
            auto background = [destDepth](int x, int y) {
              return destDepth == 8 ? 100u + x + 8 * y : 0x804020u + (x << 16) + (y << 8);
            };
            SetAll(*dest, background);
            const std::uint32_t black = ValueOf(*dest, 1);
            {
              DisplayPort port(~surface, {0, 0, 8, 8});
              PortState moved(port, Translation(at.x, at.y));
              sprite->DrawKeyed(port, static_cast<std::int32_t>(key));
            }
            for (int y = 0; y < 8; ++y)
              for (int x = 0; x < 8; ++x)
                ASSERT_EQ(dest->GetPixelValue(x, y), covered(x, y) ? black : background(x, y)) << x << "," << y;
          }
        }
      }
    }
  }
}

TEST_F(BitMapCopyTest, KeyedEightBitIntoTwentyFourBitWritesPaletteColours) {
  SmartRef<BitMap> sprite(new BitMap(4, 4, ColorTable::GetStandard(8)));
  SetAll(*sprite, SpriteValue);
  PALETTEENTRY entries[256];
  GetPaletteEntries(ColorTable::GetAppPalette(), 0, 256, entries);
  for (std::uint8_t throughGDI : {1, 0}) {
    Switch path(throughGDI);
    SmartRef<OffScreen> surface(new OffScreen(6, 6, 24, Color(0), true));
    SmartRef<BitMap> dest = surface->GetBitMap();
    {
      DisplayPort port(~surface, {0, 0, 6, 6});
      PortState moved(port, Translation(3, 3));
      sprite->DrawKeyed(port, kKey);
    }
    EXPECT_EQ(dest->GetPixelValue(3, 3), 0xFFFFFFu) << "a key pixel";
    const PALETTEENTRY& e = entries[SpriteValue(1, 0)];
    EXPECT_EQ(dest->GetPixelValue(4, 3), std::uint32_t{e.peRed} << 16 | std::uint32_t{e.peGreen} << 8 | e.peBlue);
    EXPECT_EQ(dest->GetPixelValue(2, 2), 0xFFFFFFu);
  }
}

TEST_F(BitMapCopyTest, AKeyNamesTheSourcePixelsBeforeAnyConversion) {
  // Two 24-bit colours that map to one palette index: only the keyed one stays out.
  SmartRef<BitMap> sprite(new BitMap(2, 1, ColorTable::GetStandard(24)));
  SetAll(*sprite, [](int x, int) { return x == 0 ? 0xFE0000u : 0xFF0000u; });
  Switch path(0);
  SmartRef<OffScreen> surface(new OffScreen(2, 1, 8, Color(0), true));
  SmartRef<BitMap> dest = surface->GetBitMap();
  const std::uint32_t white = dest->GetPixelValue(0, 0);
  {
    DisplayPort port(~surface, {0, 0, 2, 1});
    sprite->DrawKeyed(port, 0xFF0000);
  }
  EXPECT_EQ(dest->GetPixelValue(1, 0), white) << "the key pixel";
  EXPECT_EQ(dest->GetPixelValue(0, 0), GetNearestPaletteIndex(ColorTable::GetAppPalette(), RGB(0xFE, 0, 0)));
}

TEST_F(BitMapCopyTest, ScaledKeyedDrawsCopyEveryPixel) {
  SmartRef<BitMap> sprite(new BitMap(2, 2, ColorTable::GetStandard(8)));
  SetAll(*sprite, [](int x, int y) { return x == y ? kKey : 50u; });
  SmartRef<OffScreen> surface(new OffScreen(4, 4, 8, Color(0), true));
  {
    DisplayPort port(~surface, {0, 0, 4, 4});
    PortState scaled(port, ScaleTrans({0, 0, 2, 2}, {0, 0, 4, 4}));
    sprite->DrawKeyed(port, kKey);
  }
  EXPECT_EQ(surface->GetBitMap()->GetPixelValue(0, 0), kKey);
  EXPECT_EQ(surface->GetBitMap()->GetPixelValue(3, 0), 50u);
}

TEST_F(BitMapCopyTest, DrawModeHonoursTheBitmapsKey) {
  SmartRef<BitMap> sprite(new BitMap(2, 1, ColorTable::GetStandard(8), Color(0), true));
  const std::uint32_t key = static_cast<std::uint32_t>(sprite->GetChromaKey());
  SetAll(*sprite, [key](int x, int) { return x == 0 ? key : 7u; });
  for (int mode : {kDrawTransparent, kDrawOpaque}) {
    SmartRef<OffScreen> surface(new OffScreen(2, 1, 8, Color(1), true));
    const std::uint32_t black = surface->GetBitMap()->GetPixelValue(0, 0);
    {
      DisplayPort port(~surface, {0, 0, 2, 1});
      sprite->Draw(port, mode);
    }
    EXPECT_EQ(surface->GetBitMap()->GetPixelValue(0, 0), mode == kDrawOpaque ? key : black);
    EXPECT_EQ(surface->GetBitMap()->GetPixelValue(1, 0), 7u);
  }
}

// A round one-bit dab: 0 inside (painted), 1 outside.
SmartRef<BitMap> Dab() {
  SmartRef<BitMap> mask(new BitMap(5, 5, ColorTable::GetStandard(1)));
  SetAll(*mask, [](int x, int y) { return (x - 2) * (x - 2) + (y - 2) * (y - 2) <= 4 ? 0u : 1u; });
  return mask;
}

TEST_F(BitMapCopyTest, MaskedDabsPaintTheirVisiblePartAtEveryEdgeAndDepth) {
  const Point offsets[] = {{1, 1}, {-2, 3}, {3, -2}, {6, 2}, {2, 6}, {-4, -4}};
  // Limited systems have no context for deep bitmaps: their surfaces are 8-bit at most.
  for (int version : {Win95, Win31Only}) {
    Prepare(version == Win95 ? 32 : 8, version);
    SmartRef<BitMap> dab = Dab();
    for (std::int16_t depth : {4, 8, 24}) {
      if (version == Win31Only && depth == 24) continue;
      for (const Point& at : offsets) {
        SCOPED_TRACE(testing::Message() << "depth " << depth << " at " << at.x << "," << at.y);
        SmartRef<ColorTable> table = depth == 4 ? Greys16() : SmartRef<ColorTable>(ColorTable::GetStandard(depth));
        SmartRef<OffScreen> surface(new OffScreen(8, 8, ~table, Color(0), true));
        SmartRef<BitMap> dest = surface->GetBitMap();
        const std::uint32_t white = dest->GetPixelValue(0, 0);
        {
          DisplayPort port(~surface, {0, 0, 8, 8});
          PortState moved(port, Translation(at.x, at.y));
          ColorPaint black(Color(1));
          port.DrawMasked(*dab, black);
        }
        std::int32_t black = 0;
        ColorTable* destTable = dest->GetColorTable();
        destTable->IndexOf(Color(1), &black);
        for (int y = 0; y < 8; ++y)
          for (int x = 0; x < 8; ++x) {
            const int mx = x - at.x, my = y - at.y;
            const bool painted =
                mx >= 0 && mx < 5 && my >= 0 && my < 5 && (mx - 2) * (mx - 2) + (my - 2) * (my - 2) <= 4;
            ASSERT_EQ(dest->GetPixelValue(x, y), painted ? static_cast<std::uint32_t>(black) : white) << x << "," << y;
          }
      }
    }
  }
}

TEST_F(BitMapCopyTest, AMaskedDrawOntoAWindowLeavesWhatTheMaskLeavesOut) {
  // Limited systems (on a 256-colour screen) have contexts for 8-bit surfaces only.
  for (int version : {Win95, Win31Only}) {
    SCOPED_TRACE(testing::Message() << "version " << version);
    Prepare(version == Win95 ? 32 : 8, version);
    SmartRef<BitMap> dab = Dab();
    SmartRef<SurfaceDevice> window(new SurfaceDevice(7, 7));
    window->Fill(0x0000FF);
    {
      DisplayPort port(~window, {0, 0, 7, 7});
      PortState moved(port, Translation(1, 1));
      ColorPaint red(Color(7));
      port.DrawMasked(*dab, red);
    }
    EXPECT_EQ(window->Picture({{0x0000FF, 'b'}, {0xFF0000, 'r'}}),
              "bbbbbbb\n"
              "bbbrbbb\n"
              "bbrrrbb\n"
              "brrrrrb\n"
              "bbrrrbb\n"
              "bbbrbbb\n"
              "bbbbbbb\n");
  }
}

TEST_F(BitMapCopyTest, MaskedPatternsLineUpWithThePortsPattern) {
  SmartRef<BitMap> mask(new BitMap(4, 4, ColorTable::GetStandard(1)));
  SetAll(*mask, [](int, int) { return 0u; });
  SmartRef<OffScreen> surface(new OffScreen(8, 8, 8, Color(0), true));
  PatternPaint checks(Color(1), Color(0), Pattern(3));
  {
    DisplayPort port(~surface, {0, 0, 8, 8});
    PortState moved(port, Translation(3, 2));
    port.DrawMasked(*mask, checks);
  }
  SmartRef<OffScreen> direct(new OffScreen(8, 8, 8, Color(0), true));
  {
    DisplayPort port(~direct, {0, 0, 8, 8});
    port.DrawRect({3, 2, 8, 7}, checks, *noPaint);
  }
  for (int y = 2; y < 6; ++y)
    for (int x = 3; x < 7; ++x)
      EXPECT_EQ(surface->GetBitMap()->GetPixelValue(x, y), direct->GetBitMap()->GetPixelValue(x, y)) << x << "," << y;
}

TEST_F(BitMapCopyTest, MaskedCopyChecksItsSizesAndDepths) {
  SmartRef<BitMap> a(new BitMap(4, 4, ColorTable::GetStandard(8)));
  SmartRef<BitMap> b(new BitMap(4, 4, ColorTable::GetStandard(8)));
  SmartRef<BitMap> c(new BitMap(4, 4, ColorTable::GetStandard(24)));
  SmartRef<BitMap> mask = Dab();
  EXPECT_EQ(RaisedText(Raised([&] {
              BitMap::MaskedCopy(*a, *b, *mask, {0, 0, 4, 4});
            })),
            "destRect.Size() == maskRect.Size()");
  EXPECT_EQ(RaisedText(Raised([&] {
              BitMap::MaskedCopy(*a, *c, *mask, {0, 0, 5, 5});
            })),
            "dest.GetBitDepth() == source.GetBitDepth()");
}

}  // namespace
