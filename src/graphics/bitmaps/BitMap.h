// The program's pixel image: stage backgrounds, sprite frames, brushes, decoded picture files and every
// off-screen surface. A bitmap owns one drawing-layer back end (OSBitMap), shares a colour table that gives
// its depth and colours, and may have a transparent pixel value (the chroma key).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "core/Archive.h"
#include "core/Geometry.h"
#include "core/Smart.h"
#include "graphics/Color.h"
#include "graphics/Image.h"

class ColorTable;
class DisplayPort;
class OSBitMap;
class OffScreen;
class Paint;
class Stream;

class BitMap : public Image {
  SMART_CLASS(BitMap)
 public:
  static const PersistentType persistentType;

  // A blank bitmap. With useKey, the key colour is looked up in the table; a colour the table does not
  // hold turns keying off.
  BitMap(std::int32_t width, std::int32_t height, ColorTable* table, std::optional<Color> keyColor = std::nullopt,
         bool useKey = false);
  // A copy of a drawing-layer bitmap's pixels; the handle stays its owner's.
  BitMap(HBITMAP bitmap, std::int32_t reserved, bool useKey, std::int32_t key);
  // Decodes a BMP file from the stream (BMPFile.cpp); with useKey, the key index is the chroma key.
  BitMap(Stream* stream, bool useKey, std::int32_t key);
  BitMap(const BitMap& other);
  BitMap& operator=(const BitMap& other);
  explicit BitMap(ArchiveBlock& block);
  ~BitMap() override;
  static Persistent* ReadNew(Archive* archive);

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  std::size_t GetMemorySize() const override;
  void GetBounds(Rect* bounds) const override;
  using Image::Draw;
  using Image::GetBounds;
  // Mode 1 opaque; otherwise keyed when the bitmap uses its key.
  void Draw(DisplayPort& port, int mode) override;
  ColorTable* GetColorTable() const override;
  // The pixels of one colour as an area: the back ends give none, so this is empty.
  virtual Area* GetColorArea(const Color& color);
  virtual void SetChromaKey(std::int32_t value);
  virtual std::int32_t GetChromaKey() const { return chromaKey; }
  virtual bool GetUseChromaKey() const { return useChromaKey; }
  virtual void SetUseChromaKey(bool use) { useChromaKey = use; }

  // On a display of 15 bits or fewer, an 8-bit bitmap is remapped to the standard 8-bit table.
  void MatchDisplayPalette();
  std::int16_t GetBitDepth() const;
  OSBitMap* GetBackEnd() const { return backEnd.get(); }
  bool Lock();
  void Unlock();
  std::int16_t GetLockCount() const { return lockCount; }
  HDC GetDC();
  void ReleaseDC(HDC dc);
  std::uint32_t GetPixelValue(std::int32_t x, std::int32_t y);
  Color GetPixelColor(std::uint32_t value) const;
  // The top-left 8x8 pixels as a pattern: a bit is set where the pixel is not 0.
  Pattern GetPattern();

  void DrawKeyed(DisplayPort& port, std::int32_t key);
  void DrawOpaque(DisplayPort& port);
  void CopyTo(DisplayPort& port, const Rect& source, bool keyed, std::int32_t key);
  // Paints the port with the paint where this one-bit bitmap is 0; 1 pixels leave the port as it was.
  void DrawMasked(DisplayPort& port, Paint& paint);
  // Copies the source's pixels (over the mask's bounds) into the destination rectangle where the mask is
  // 0, without colour mapping.
  static void MaskedCopy(BitMap& dest, BitMap& source, BitMap& mask, const Rect& destRect);

 private:
  BitMap() = default;
  // The back end is of the table's depth unless a depth is given: a bitmap made from a system bitmap
  // keeps that bitmap's depth under the standard table of another depth.
  void CreateOSBitMap(std::int32_t width, std::int32_t height, ColorTable* table, std::int16_t depth = 0);
  void CopyPixelsOf(const BitMap& other);
  void KeyedPixelCopy(OffScreen& into, const Rect& from, const Rect& to, std::int32_t key);
  void MappedCopy(BitMap& dest, Rect from, Rect to, std::int32_t key);

  // Owned here, so that a constructor that fails after making it (a damaged stored bitmap) gives it back.
  std::unique_ptr<OSBitMap> backEnd;
  std::int16_t lockCount = 1;
  std::int32_t reserved = 0;
  SmartRef<ColorTable> colorTable;
  SmartRef<Smart> reservedRef;
  std::int32_t chromaKey = 0;
  bool useChromaKey = false;
  SmartRef<OffScreen> maskScratch;
};

// When 1, keyed copies into off-screen surfaces go through the drawing layer's keyed draw; the brush
// stroke sets it to 0 so that its copies take the pixel path.
extern std::uint8_t gKeyedCopyThroughGDI;
// When 1, DrawMasked fills its scratch surface with the paint before copying; when 0 it skips the fill
// once (the scratch already holds the paint) and sets it back to 1.
extern std::uint8_t gRefillMaskedPaint;

// A new bitmap of the image drawn at that size (proportions kept) on white.
BitMap* ImageToBitMapSized(Image& image, std::int32_t width, std::int32_t height);
BitMap* ImageToBitMap(Image& image);
// The class conversion from any Image to a BitMap.
bool ConvertImageToBitMap(SmartRef<Smart>* slot);
// Crops the bitmap to the box of pixels that differ from the background value and answers the box's
// top-left; a bitmap that is all background is cleared from the reference.
Point TrimBitMap(SmartRef<BitMap>* bitmap, std::uint32_t background);
