// A text style of the display port's own kind, for drawing and measuring text below the window system:
// 14-pixel Arial (drawn without smoothing) and two colours.
#pragma once

#include <cstring>

#include "graphics/DisplayPort.h"
#include "platform/gdi/Gdi.h"

class Look : public PortTextStyle {
 public:
  Look(const Color& text, const Color& back, std::int32_t alignment) : text(text), back(back), alignment(alignment) {
    LOGFONTA description{};
    description.lfHeight = -14;
    description.lfQuality = DRAFT_QUALITY;
    std::strcpy(description.lfFaceName, "Arial");
    font = CreateFontIndirectA(&description);
  }
  ~Look() override { DeleteObject(font); }
  Look(const Look&) = delete;
  Look& operator=(const Look&) = delete;
  HFONT GetFont() const override { return font; }
  Color GetTextColor() const override { return text; }
  Color GetBackColor() const override { return back; }
  std::int32_t GetAlignment() const override { return alignment; }

 private:
  HFONT font;
  Color text, back;
  std::int32_t alignment;
};
