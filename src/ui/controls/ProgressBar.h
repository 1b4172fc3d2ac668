// The bar of the progress dialog: a black frame filled from the left in grey as far as the work done.
#pragma once

#include <cstdint>

#include "ui/views/View.h"

class ProgressBar : public View {
  SMART_ABSTRACT(ProgressBar)
 public:
  ProgressBar(View* parent, const Rect& frame);

  // Answers whether the filled width changed; done never counts above total.
  bool SetProgress(std::uint32_t done, std::uint32_t total);
  // Empties the bar.
  void Reset();
  void DrawContent(DisplayPort& port, const Area& area) override;

  std::int32_t GetFilledWidth() const { return filledWidth; }

 private:
  std::uint32_t total = 0;
  std::uint32_t done = 0;
  std::int32_t barWidth;
  std::int32_t filledWidth = 0;
};
