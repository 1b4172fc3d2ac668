// Colour tables: what the pixel values of a bitmap or a display mean. A table of depth 8 or less holds
// one colour per pixel value and a drawing palette made from them; a deeper (direct) table holds none,
// its pixel values packing red, green and blue themselves.
//
// Direct pixel values, at every direct depth, are red in the highest field, then green, then blue in
// the lowest: (red << 2n) | (green << n) | blue, with n = 5 at depth 16 and 8 above. That is the value
// of a 16- or 32-bit pixel read as a little-endian word, and of a 24-bit pixel's three bytes (blue,
// green, red in memory) read as a little-endian number, so a key or a colour looked up here names the
// same colour that the pixels hold.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/GenericArray.h"
#include "core/Smart.h"
#include "graphics/Color.h"
#include "platform/gdi/GdiTypes.h"

class ColorTable : public Persistent, public SmartImplementation {
  SMART_CLASS(ColorTable)
 public:
  static const PersistentType persistentType;

  // A direct table of depth 24 (the default instance of the class).
  ColorTable();
  explicit ColorTable(ArchiveBlock& block);
  // A copy of the colours; depth for their count (24 when there are none).
  explicit ColorTable(const GenericArray& colors);
  // The table of a drawing palette, which it takes over and deletes with itself; null gives a direct
  // table of depth 24.
  explicit ColorTable(HPALETTE palette);
  // A copy has the same colours and depth and a palette of its own, so that each table deletes only
  // the palette it made.
  ColorTable(const ColorTable& other);
  ColorTable& operator=(const ColorTable& other);
  ~ColorTable() override;

  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // The colour of a pixel value (0-based).
  Color GetColor(std::int32_t index) const;
  // The pixel value holding the colour: at depth 8 or less the first entry that is the same colour (the
  // last entry is looked at first), at direct depths the packed value.
  bool IndexOf(const Color& color, std::int32_t* index) const;
  // The entry closest in red, green and blue (the earlier on ties); 255 for a palette table without
  // entries.
  std::int32_t NearestIndex(const Color& color) const;
  std::int16_t GetDepth() const { return depth; }
  std::int32_t GetCount() const { return entries.NumItems(); }
  HPALETTE GetPalette() const { return palette; }

  // The shared table of the screen at a depth: 1 gives black and white, 2 to 15 the program's 256
  // colours, 16 and more the direct table of depth 24. Shared tables live for the whole run.
  static ColorTable* GetStandard(std::int16_t depth);
  // The shared table of a palette, made the first time that palette is asked for.
  static ColorTable* GetShared(HPALETTE palette);
  // The drawing palette of the screen at a depth: null from 16 bits on, black and white at 1 bit, the
  // program's 256-colour palette otherwise. Made on first use, kept for the whole run. Making the
  // 256-colour palette refuses displays that cannot show 256 colours (the process ends) and raises
  // "Call failed." when the palette file is not one.
  static HPALETTE GetOSPalette(std::int16_t depth);
  // The program's 256-colour palette, which windows and bitmaps select and realise.
  static HPALETTE GetAppPalette();
  // A second palette of the same 256 colours, for copies of bitmaps on limited systems.
  static HPALETTE GetSecondAppPalette();

 private:
  void BuildPalette();
  void CopyPaletteOf(const ColorTable& other);
  void DeletePalette();
  // The shared tables and the screen's palettes go; ResetGraphicsState is the one caller.
  static void ForgetStandardTables();
  friend void ResetGraphicsState();

  GenericArray entries{sizeof(Color), 0};
  std::int16_t depth = 24;
  HPALETTE palette = nullptr;
};

// The smallest of 1, 2, 4, 8, 16, ... bits that gives at least n colours (1 for 0 colours).
std::int16_t DepthForColorCount(std::int64_t n);
// 2 to the depth (0 for a depth no table can have).
std::int64_t ColorCountForDepth(std::int16_t depth);
