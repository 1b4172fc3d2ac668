#include "editor/pixels/PaintTools.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Resources.h"
#include "editor/CDropperTool.h"
#include "editor/KidResources.h"
#include "graphics/Area.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/Gradient.h"
#include "graphics/Paint.h"
#include "graphics/Transform.h"
#include "ui/shell/Cursor.h"

SMART_DEFINE_ABSTRACT(CPenTool, "CPenTool", CTool)
SMART_DEFINE_ABSTRACT(CBrushTool, "CBrushTool", CPenTool)
SMART_DEFINE_ABSTRACT(CEraserTool, "CEraserTool", CPenTool)
SMART_DEFINE_ABSTRACT(CPencilTool, "CPencilTool", CPenTool)

std::int16_t CBucketTool::gradientKind = 1;

CPenTool::CPenTool(std::int32_t id, SoundResource* sound) : CTool(id, sound, true, nullptr) {}

CBrushTool::CBrushTool(CDropperTool* paintState)
    : CPenTool(102, KidResources::GetSound(31)), paintState(paintState) {
  if (!paintState) AssertFailed("~dropper != NULL", __FILE__, __LINE__);
  CBrushTool::SetChoice(0, 6);
}

CBrushTool::CBrushTool(const CBrushTool& source) : CPenTool(source.GetId(), nullptr) {
  CBrushTool::CopyFrom(const_cast<CBrushTool*>(&source));
}

bool CBrushTool::CanCopyFrom(Smart* source) { return CastSmart<CBrushTool>(source) != nullptr; }

void CBrushTool::CopyFrom(Smart* source) {
  auto* castPtr = CastSmart<CBrushTool>(source);
  if (!castPtr) AssertFailed("castPtr", __FILE__, __LINE__);
  if (castPtr == this) return;
  CopyToolFields(*castPtr);
  paintState = castPtr->paintState;
  sizeIndex = castPtr->sizeIndex;
  brushImages = castPtr->brushImages;
  brushRects = castPtr->brushRects;
  cachedPaint = castPtr->cachedPaint;
  cachedBrush = castPtr->cachedBrush;
}

Smart* CBrushTool::Clone() const { return new CBrushTool(*this); }

void CBrushTool::SetChoice(std::int16_t, std::int16_t n) {
  sizeIndex = std::clamp<std::int16_t>(n, 1, kBrushCount);
  ChooseCursor();
}

void CBrushTool::ChooseCursor() {
  SmartRef<Cursor> cursor(stockResources.GetCursor(std::min(99 + sizeIndex, 119)));
  SetCursor(~cursor);
}

SmartRef<BitMap> CBrushTool::BrushImage() {
  const int slot = sizeIndex - 1;
  if (!brushImages[slot]) {
    SmartRef<BitMap> image;
    Point hotSpot;
    CHECK_NOT_NULL(GetCursor())->MakeImage(&image, &hotSpot);
    std::int32_t white = 0;
    if (!image->GetColorTable()->IndexOf(standardColors[0], &white)) white = 0;
    const Point crop = TrimBitMap(&image, static_cast<std::uint32_t>(white));
    if (!image) AssertFailed("~brush != NULL", __FILE__, __LINE__);
    Rect rect = image->GetBounds();
    rect.Offset(crop.x - hotSpot.x, crop.y - hotSpot.y);
    brushImages[slot] = image;
    brushRects[slot] = rect;
  }
  return brushImages[slot];
}

Rect CBrushTool::GetPenRect() {
  BrushImage();
  return brushRects[sizeIndex - 1];
}

void CBrushTool::Stamp(DisplayPort& port, BitMap& brush, Paint& paint, std::int32_t x, std::int32_t y) {
  const Rect rect = brushRects[sizeIndex - 1];
  PortState moved(port, Translation(x + rect.left, y + rect.top));
  port.DrawMasked(brush, paint);
}

void CBrushTool::StampAt(DisplayPort& port, std::int32_t x, std::int32_t y) {
  SmartRef<BitMap> brush = BrushImage();
  SmartRef<Paint> paint = paintState->MakePaint(true);
  Stamp(port, *brush, *paint, x, y);
}

void CBrushTool::PrepareStroke() {
  cachedPaint = paintState->MakePaint(true);
  cachedBrush = BrushImage();
  gRefillMaskedPaint = 1;
}

void CBrushTool::StampCached(DisplayPort& port, std::int32_t x, std::int32_t y) {
  if (!cachedPaint) cachedPaint = paintState->MakePaint(true);
  if (!cachedBrush) cachedBrush = BrushImage();
  Stamp(port, *cachedBrush, *cachedPaint, x, y);
  gRefillMaskedPaint = 0;
}

void CBrushTool::ReleaseStroke() {
  cachedPaint = nullptr;
  cachedBrush = nullptr;
  gRefillMaskedPaint = 1;
}

void CBrushTool::ClearBrushImages() {
  for (SmartRef<BitMap>& image : brushImages) image = nullptr;
}

void CBrushTool::DrawSample(DisplayPort& port, const Rect& cell) {
  const Rect r = GetPenRect();
  Rect centred = r;
  centred.CenterOn(cell);
  StampAt(port, centred.left - r.left, centred.top - r.top);
}

namespace {

constexpr std::array<Point, 20> kEraserExtents = {{{4, 4},  {8, 8},  {12, 12}, {16, 16}, {20, 20}, {24, 24}, {32, 32},
                                                   {16, 16}, {8, 4},  {12, 4},  {16, 4},  {20, 4},  {24, 4},  {32, 4},
                                                   {4, 8},  {4, 12}, {4, 16},  {4, 20},  {4, 24},  {4, 32}}};

}  // namespace

CEraserTool::CEraserTool() : CPenTool(109, KidResources::GetSound(32)) {}

CEraserTool::CEraserTool(const CEraserTool& source) : CPenTool(source.GetId(), nullptr) {
  CEraserTool::CopyFrom(const_cast<CEraserTool*>(&source));
}

bool CEraserTool::CanCopyFrom(Smart* source) { return CastSmart<CEraserTool>(source) != nullptr; }

void CEraserTool::CopyFrom(Smart* source) {
  auto* castPtr = CastSmart<CEraserTool>(source);
  if (!castPtr) AssertFailed("castPtr", __FILE__, __LINE__);
  if (castPtr == this) return;
  CopyToolFields(*castPtr);
  sizeIndex = castPtr->sizeIndex;
}

Smart* CEraserTool::Clone() const { return new CEraserTool(*this); }

void CEraserTool::SetChoice(std::int16_t, std::int16_t index) {
  if (index >= 1 && index <= 20) sizeIndex = index;
}

Point CEraserTool::GetExtent() const { return kEraserExtents[static_cast<std::size_t>(sizeIndex - 1)]; }

Rect CEraserTool::GetPenRect() {
  NOT_IMPLEMENTED();
  return Rect::emptyRect;
}

void CEraserTool::DrawSample(DisplayPort& port, const Rect& cell) {
  const Point extent = GetExtent();
  Rect rect(0, 0, extent.x, extent.y);
  rect.CenterOn(cell);
  port.DrawRect(rect, standardColors[1], standardColors[1], 1);
}

CPencilTool::CPencilTool() : CPenTool(104, nullptr) {}

CBucketTool::CBucketTool() : CTool(103, KidResources::GetSound(33), false, nullptr), proxyRegion(new Area) {
  gradientKind = 1;
}

CBucketTool::~CBucketTool() = default;

void CBucketTool::DrawSample(DisplayPort& port, const Rect& rect) {
  if (!proxyRegion) AssertFailed("~proxyRgn != NULL", __FILE__, __LINE__);
  DrawGradientKind(port, rect, gPaintForeground, gPaintSecondColor, gradientKind);
}
