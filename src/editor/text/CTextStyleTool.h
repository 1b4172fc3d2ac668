// The text-style tool (id 4): it owns the style that new texts receive and offers three sets of options,
// the font, the face and the size, each drawn as the sample "abc". A choice changes the tool's style and,
// when a text is being edited on the stage, that text's style at once.
#pragma once

#include <cstdint>

#include "core/PointerArray.h"
#include "editor/CTool.h"
#include "ui/text/TextStyle.h"

// Told after the child chose a font, a face or a size.
class TextStyleListener {
 public:
  virtual void TextStyleChanged() = 0;

 protected:
  ~TextStyleListener() = default;
};

class CTextStyleTool : public CTool {
 public:
  // Option kinds.
  enum : std::int16_t { kFont = 0, kFace = 1, kSize = 2 };

  // The style starts as font 1, 12 points, left-aligned, black on the transparent colour.
  CTextStyleTool();
  SMART_NOT_COPYABLE

  // An index outside the kind's choices changes nothing.
  void SetChoice(std::int16_t kind, std::int16_t index) override;
  // The palettes always mark their first cell.
  std::int16_t GetChoice(std::int16_t kind) override { return CountChoices(kind) > 0 ? 1 : 0; }
  std::int16_t CountChoices(std::int16_t kind) override;
  // "abc" in the tool's style with the option substituted, in the current foreground colour, on a line as
  // tall as its point size centred on the cell; the tool's style itself is left alone.
  void DrawChoice(DisplayPort& port, const Rect& rect, std::int16_t kind, std::int16_t index) override;

  void SetTextColor(const Color& color) { style->SetTextColor(color); }
  SmartRef<TextStyle> GetStyle() const { return style; }
  // Adds the listener, or removes it when it is there.
  void ToggleListener(TextStyleListener* listener) { listeners.Toggle(listener); }
  bool HasListener(TextStyleListener* listener) const { return listeners.Contains(listener); }

  // A copy of the style with option `index` of the kind applied (the index is within the kind's count).
  SmartRef<TextStyle> StyleWithChoice(std::int16_t kind, std::int16_t index) const;

 private:
  SmartRef<TextStyle> style;
  PointerArray<TextStyleListener> listeners;
};
