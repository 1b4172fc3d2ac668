// Copying pixels between surfaces with colour conversion, stretching and raster operations (internal).
#pragma once

#include <vector>

#include "platform/gdi/raster/Raster.h"

namespace platform::gdi {

struct BlitSource {
  const Surface* surface = nullptr;
  // Colour pixels of this colour become 1 (white) in a monochrome device bitmap, all others 0.
  COLORREF background = RGB(255, 255, 255);
};

struct BlitTarget {
  Surface* surface = nullptr;
  const std::vector<RECT>* clip = nullptr;  // surface coordinates; null: the whole surface
  // A monochrome device bitmap's 0 pixels take the text colour and its 1 pixels the background colour.
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF background = RGB(255, 255, 255);
  Paint pattern;
  int stretchMode = COLORONCOLOR;
};

// Copies the source rectangle onto the destination rectangle (both normalised, in surface coordinates),
// stretching when their sizes differ and mirroring on the axes flagged.
void Blit(const BlitTarget& target, RECT dest, const BlitSource& source, RECT src, bool flipX, bool flipY, BYTE rop);

// A DIB described by a header and its colour table, read in place.
struct DibView {
  Surface surface;  // does not own its pixels
  bool Parse(const BITMAPINFO* info, UINT usage, const void* bits, const DeviceContext* dc);
  // Bytes of pixels the DIB needs.
  std::uint64_t ByteSize() const;
};

// The colour table at the end of a DIB header, whatever the header's size.
const BYTE* ColorTableOf(const BITMAPINFO* info);

}  // namespace platform::gdi
