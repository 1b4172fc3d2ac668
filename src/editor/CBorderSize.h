// The border-size chooser: the seven-button palette of the tools window, the border-size tool (id 3, the
// stage's selection tool and the first current tool), and the border around an editor opened in place.
#pragma once

#include <cstdint>

#include "editor/CTool.h"
#include "editor/CToolPalette.h"

class CBorderSizeTool : public CTool {
 public:
  CBorderSizeTool() : CTool(3, nullptr, false, nullptr) {}
};

class CBorderSizePalette : public CToolPalette {
 public:
  CBorderSizePalette(View* parent, std::int16_t first);
};

// Frames an editor opened in place with a margin of 5 pixels; its own drawing and mouse handling are
// not done yet.
class CBorderSizeView : public View {
 public:
  CBorderSizeView(View* parent, const Rect& content);

  void DrawContent(DisplayPort& port, const Area& area) override;
  // The content rectangle it was made for; its whole frame when that is 10 pixels or less either way.
  void GetContentBounds(Rect* bounds) const override;
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  bool MouseMoved(std::int32_t x, std::int32_t y, std::int32_t modifiers) override;
};

// The border the engine puts around an editor opened in place.
SmartRef<View> MakeBorderView(View* host, const Rect& rect);
