// The drawing context: a short-lived object built around one drawing job on a display device. It holds
// the device's DC, a clip (in device coordinates) and an optional transform that every coordinate goes
// through, and draws shapes, frames, inversions, text and bitmaps with paints.
#pragma once

#include <cstdint>

#include "core/GenericArray.h"
#include "core/Geometry.h"
#include "core/Smart.h"
#include "graphics/Area.h"
#include "graphics/Color.h"
#include "graphics/Transform.h"
#include "platform/kernel/WinTypes.h"

class BitMap;
class DisplayDevice;
class Paint;

// What text drawing needs of a text style: the font and colours it draws with and its alignment
// (0 left, 1 centre, 2 right). The transparent background colour means no background.
class PortTextStyle {
 public:
  virtual ~PortTextStyle() = default;
  virtual HFONT GetFont() const = 0;
  virtual Color GetTextColor() const = 0;
  virtual Color GetBackColor() const = 0;
  virtual std::int32_t GetAlignment() const = 0;
};

// How a port opens its device: plain drawing, or the painting of the device's update area.
enum : int { kPortDraws = 0, kPortPaintsUpdate = 1 };

class DisplayPort : public SmartImplementation {
  SMART_ABSTRACT(DisplayPort)
 public:
  // Opens the device for drawing (kPortPaintsUpdate paints an update, kPortDraws is plain drawing), clipped to
  // the rectangle.
  DisplayPort(DisplayDevice* device, const Rect& rect, int mode = kPortDraws);
  ~DisplayPort() override;
  DisplayPort(const DisplayPort&) = delete;
  DisplayPort& operator=(const DisplayPort&) = delete;
  // A port cannot be copied; these report it and go on.
  bool CanCopyFrom(Smart* source) override;
  void CopyFrom(Smart* source) override;
  Smart* Clone() const override;

  DisplayDevice* GetDevice() const { return device; }
  HDC GetDC() const { return dc; }
  const Color& GetBackground() const;
  bool IsDrawing() const;
  // Takes the device's invalid area as the update area, erases the visible part of it when the device
  // erases, and marks the device valid.
  void BeginUpdate(const Area& visible, Area* update);

  Rect MapRect(const Rect& rect) const { return transform ? transform->TransformRect(rect) : rect; }
  Point MapPoint(const Point& point) const { return transform ? transform->TransformPoint(point) : point; }
  Transform* GetTransform() const { return ~transform; }
  void SetTransform(Transform* newTransform) { transform = newTransform; }
  // The new transform applies first, then the one in place.
  void ConcatTransform(const Transform& first);
  Area* GetClip() const { return ~clip; }
  void SetClip(Area* newClip);
  void ApplyClip();
  // Narrows the clip to the area (mapped through the transform when it is an axis transform).
  void ClipTo(const Area& area);

  void InvertRect(const Rect& rect);
  // Inverts a frame `thickness` pixels wide inside the rectangle.
  void InvertFrame(const Rect& rect, std::int32_t thickness);
  void DrawRect(const Rect& rect, Paint& fill, Paint& line, int width = 1);
  void DrawRect(const Rect& rect, const Color& fill, const Color& line, int width = 1);
  void DrawBevel(const Rect& rect, Paint& first, Paint& second, int width = 1);
  void DrawBevel(const Rect& rect, const Color& first, const Color& second, int width = 1);
  void DrawArea(const Area& area, Paint& fill, Paint& line);
  void EraseArea(const Area& area);
  // A GenericArray of Points.
  void DrawPolygon(const GenericArray& points, Paint& fill, Paint& line, int width = 1);
  void DrawLine(const Point& from, const Point& to, Paint& line, int width = 1);
  void DrawEllipse(const Rect& rect, Paint& fill, Paint& line, int width = 1);
  void DrawRoundRect(const Rect& rect, std::int32_t cornerWidth, std::int32_t cornerHeight, Paint& fill, Paint& line,
                     int width = 1);
  void DrawText(const Rect& rect, const char* text, std::int32_t length, const PortTextStyle& style);
  // Erases the rectangle, then draws the text in it in the default text style and the colour, with no
  // background.
  void DrawTextBox(const char* text, std::int32_t length, const Rect& rect, const Color& color);
  // Paints the one-bit bitmap's 0 pixels with the paint.
  void DrawMasked(BitMap& mask, Paint& paint);
  // Mac pictures are not drawn: reported, nothing drawn.
  void DrawPicture(const void* picture);
  // Fills the region of the seed's colour around the seed (through the transform) with a gradient.
  void GradientFill(const Color& first, const Color& second, std::int32_t seedX, std::int32_t seedY, std::int16_t kind);

 private:
  HDC dc = nullptr;
  DisplayDevice* device;
  SmartRef<Transform> transform;
  SmartRef<Area> clip;
};

// The size text takes in the style wrapped to the width, as an edit control lays it out: the width
// itself, or with width 0 (unwrapped) that of the longest line; the height of all lines.
Point MeasureWrappedText(const char* text, std::int32_t length, const PortTextStyle& style, std::int32_t width);

// Lays a 50% white screen over the rectangle.
void DimRect(DisplayPort& port, const Rect& rect);
// Bits per pixel of the screen.
std::int16_t GetScreenBitDepth();
// The frame of Mac picture data is not read: stores the screen depth when asked, reports it and answers
// the empty rectangle.
Rect GetPictureFrame(const void* picture, std::int16_t* depth);
