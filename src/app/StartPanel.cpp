#include "app/StartPanel.h"

#include "app/menus/MenuCommands.h"
#include "app/DromelApp.h"
#include "app/DromelResources.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/ImageResource.h"
#include "ui/controls/GraphicButton.h"

namespace {
constexpr int kStartLook = 405;
constexpr int kTitlePicture = 553;
}  // namespace

StartButton::StartButton(View* parent) : CToolPalette(parent, ButtonLook(kStartLook), kFirstButton) {}

void StartButton::NotifySelection(std::int16_t number) {
  // The column shows the child's choice even with no page window open to select it back.
  SetSelection(number);
  CToolPalette::NotifySelection(number);
  if (number != kFirstButton) return;
  SmartRef<GenericSignal> start(new DromelAppCommand(&DromelApp::StartButtonPressed, DromelAppCommand::kAnyTime));
  SendCommand(~start);
}

SmartRef<StartButton> BuildStartPanel(View* parent) {
  SmartRef<BitMap> title = gAppResources.GetImageResource(kTitlePicture)->Get();
  Rect titleRect;
  title->GetBounds(&titleRect);
  titleRect.Offset(-titleRect.left, -titleRect.top);
  parent->AddSubview(new GraphicButton(parent, titleRect, ~title, nullptr, nullptr));
  SmartRef<StartButton> column(new StartButton(parent));
  column->SetRepeatSelect(true);
  Rect columnRect = column->GetBounds();
  columnRect.Offset(0, titleRect.Height());
  column->SetBounds(columnRect);
  parent->AddSubview(~column);
  return column;
}
