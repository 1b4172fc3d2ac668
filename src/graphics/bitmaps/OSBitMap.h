// The pixels of a bitmap live in a drawing-layer object behind one interface, with three back ends: a
// device-dependent bitmap (DDBitMap), a packed DIB in plain memory (DIBitMap) and a DIB section
// (DIBSection). The base class gives every back end its DIB header, keyed drawing, 8-bit pixel copies,
// palette remapping and access to the pixel memory; NewOSBitMap picks the back end the system suits.
#pragma once

#include <cstdint>
#include <memory>

#include "core/Geometry.h"
#include "core/Smart.h"
#include "graphics/Color.h"
#include "platform/gdi/GdiTypes.h"

class OSBitMap : public SmartImplementation {
  SMART_ABSTRACT(OSBitMap)
 public:
  ~OSBitMap() override;

  // Draws the source rectangle of the pixels stretched onto the destination rectangle of the context.
  virtual void StretchTo(HDC dc, HPALETTE palette, const Rect& from, const Rect& to) = 0;
  // Draws the pixels, leaving the context's pixels under pixels of the key value as they were.
  virtual void DrawKeyed(HDC dc, HPALETTE palette, const Rect& from, const Rect& to, std::int32_t key);
  // Copies the 8-bit pixels of `from` (at the origin) onto `to` of another 8-bit back end, all but those
  // of the key value; the part of `to` outside the destination is left out.
  virtual void CopyPixelsTo(OSBitMap* into, const Rect& from, const Rect& to, std::int32_t key);
  // Copies the 8-bit pixels onto the destination rectangle where the one-bit mask is 0; nothing when the
  // rectangle does not lie wholly inside the destination.
  virtual void MaskedCopyTo(OSBitMap* dest, const Rect& destRect, OSBitMap* mask);
  // A brush of the pixels, which the caller deletes.
  virtual HBRUSH CreatePatternBrush() = 0;
  // A context with the bitmap selected, until ReleaseDC.
  virtual HDC GetDC() = 0;
  virtual void ReleaseDC(HDC dc) = 0;
  // Bytes per row at a depth (0: the back end's own).
  virtual std::int32_t GetRowBytes(std::int16_t forDepth = 0) const;
  // A copy of the bitmap's pixels; the handle stays its owner's.
  virtual void InitFromHandle(HBITMAP bitmap, HPALETTE palette);
  virtual void Create(std::int32_t width, std::int32_t height, std::int16_t depth, HPALETTE palette);
  virtual void Fill(const Color& color);
  // The pixel memory, and whether it is a copy (then UnlockBits frees it, after writing it back when asked).
  virtual void* LockBits(bool* isCopy);
  virtual void UnlockBits(bool writeBack, void* bits, bool isCopy);
  // Whether memory rows run from the top of the picture down.
  virtual bool IsTopDown() const { return false; }
  virtual void SetCacheBits(bool) {}
  virtual HRGN GetColorRegion(const Color& color);
  virtual HBITMAP CreateHandle() = 0;
  virtual void SetBits(const void* buffer, std::int32_t size) = 0;
  virtual void GetBits(void* buffer, std::int32_t size) const = 0;
  // Rewrites the pixels to the nearest colours of the palette, whose colours the header then carries.
  virtual void RemapToPalette(HPALETTE palette, void* bits);
  void Validate() override;

  bool IsInitialized() const { return depth > 0; }
  HBITMAP GetHandle() const { return handle; }
  std::int32_t GetWidth() const { return width; }
  std::int32_t GetHeight() const { return height; }
  std::int16_t GetBitDepth() const { return depth; }
  Rect GetBounds() const { return {0, 0, width, height}; }
  std::int32_t GetByteSize() const;
  // The header with its colour table; one made from the program's palette when there is none yet.
  const BITMAPINFO* GetDIBHeader();
  void SetDIBHeader(HPALETTE palette);

 protected:
  OSBitMap() = default;
  // A copy starts empty: each back end makes its own drawing object and copies the pixels into it (see
  // CopyContentsOf), so that no two back ends delete one handle.
  OSBitMap(const OSBitMap& other) : Smart(), SmartImplementation(other) {}
  OSBitMap& operator=(const OSBitMap&) = delete;
  // Makes this (empty) back end a copy of the other's size, header and pixels.
  void CopyContentsOf(const OSBitMap& other);
  // Deletes the handle and the header and leaves the back end empty; failures are reported.
  void ReleaseBase();
  // The row of the picture's y in the pixel memory.
  std::uint8_t* RowAddress(void* bits, std::int32_t y, std::int32_t rowBytes) const;

  HBITMAP handle = nullptr;
  std::unique_ptr<std::uint64_t[]> dibHeader;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int16_t depth = 0;

 private:
  std::unique_ptr<std::uint64_t[]> BuildDIBHeader(HPALETTE palette) const;
};

// A new, empty back end for the depth: a DIB section on a full system; on a limited one a device bitmap
// up to 8 bits and a packed DIB above.
OSBitMap* NewOSBitMap(std::int16_t depth);
// A back end holding a copy of the bitmap's pixels.
OSBitMap* NewOSBitMap(HBITMAP bitmap, HPALETTE palette, std::int16_t depth);

// Rewrites the pixels of a DIB (uncompressed 8- or 4-bit, or RLE8) from its colour table's indexes to
// the nearest indexes of the palette. `size` bounds the pixel bytes.
void RemapDIBToPalette(const BITMAPINFO* header, HPALETTE palette, void* pixels, std::int32_t size);

// The class record of a back end, with its default factory and its copies: a copy (CopyFrom, Clone) gets
// a drawing object of its own holding the same pixels. The class has a Release of its own that frees what
// it adds to the base.
#define OSBITMAP_DEFINE(Class, Name)                                                                      \
  static const ClassInfo* const Class##_parents[] = {&OSBitMap::classInfo, nullptr};                      \
  const ClassInfo Class::classInfo = {Name,    Class##_parents, &SmartBaseOf<Class>, &CreateDefault<Class>, \
                                      nullptr, sizeof(Class)};                                            \
  void* Class::CastTo(const ClassInfo* info) { return smart_detail::CastThrough<Class, OSBitMap>(this, info); } \
  bool Class::CanCopyFrom(Smart* source) { return CastSmart(source, &Class::classInfo) != nullptr; }      \
  void Class::CopyFrom(Smart* source) {                                                                   \
    auto* castPtr = static_cast<Class*>(CastSmart(source, &Class::classInfo));                            \
    if (!castPtr) AssertFailed("castPtr", __FILE__, __LINE__);                                            \
    if (castPtr == this) return;                                                                          \
    Release();                                                                                            \
    ReleaseBase();                                                                                        \
    CopyContentsOf(*castPtr);                                                                             \
  }                                                                                                       \
  Smart* Class::Clone() const { return new Class(*this); }                                                \
  Class::Class(const Class& other) : Smart(), OSBitMap(other) { CopyContentsOf(other); }
