// The start panel on the desk: a title picture over a column of five big buttons. The top one starts a
// new page when no page window is open; every page window's tool palette listens to the column and shows
// the page of tool buttons it chooses.
#pragma once

#include <cstdint>

#include "editor/CToolPalette.h"

class StartButton : public CToolPalette {
 public:
  static constexpr std::int16_t kFirstButton = 28;

  explicit StartButton(View* parent);

  // Selects the button, tells the listeners; then the top button sends the start command to the
  // application.
  void NotifySelection(std::int16_t number) override;
};

// Builds the panel in the parent and answers the column.
SmartRef<StartButton> BuildStartPanel(View* parent);
