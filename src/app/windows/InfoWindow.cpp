// The information window: the information picture, closed by a click on it or Esc.
#include "app/windows/InfoWindow.h"

#include "app/DromelApp.h"
#include "app/DromelResources.h"
#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Utilities.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/ImageResource.h"
#include "ui/controls/GraphicButton.h"
#include "ui/dialogs/Dialog.h"
#include "ui/shell/DebugMessage.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/WindowFrame.h"

std::uint8_t gInfoWindowOpen = 0;

namespace {

constexpr int kInfoPicture = 421;
constexpr int kShiftKey = 1;
constexpr int kControlKey = 4;

// The flag goes down however the window ends, so that a failure never keeps the window from opening
// again.
class InfoWindowOpen {
 public:
  InfoWindowOpen() { gInfoWindowOpen = 1; }
  ~InfoWindowOpen() { gInfoWindowOpen = 0; }
  InfoWindowOpen(const InfoWindowOpen&) = delete;
  InfoWindowOpen& operator=(const InfoWindowOpen&) = delete;
};

}  // namespace

void DromelApp::ShowAbout() {
  if (gInfoWindowOpen) return;
  const InfoWindowOpen open;
  SmartRef<Dialog> dialog(new Dialog(kFrameModalPlain));
  try {
    const SmartRef<BitMap> picture = gAppResources.GetImageResource(kInfoPicture)->Get();
    Rect bounds;
    picture->GetBounds(&bounds);
    bounds.Offset(-bounds.left, -bounds.top);
    dialog->AddSubview(new GraphicButton(~dialog, bounds, ~picture, new DialogOKSignal, ~dialog));
    dialog->FitSize(true);
    LFWDecorator::Get().Place(*dialog, LFWDecorator::kCentre, LFWDecorator::kCentre);
    AddWindow(~dialog, true);
    while (dialog->Poll()) {
    }
  } catch (Exception* failure) {
    const SmartRef<Exception> reported(failure);
    reported->Report(kAlertStop);
    if (!dialog->IsClosed()) dialog->Close();
  }
  int keys = 0;
  GetModifierKeys(&keys);
  if ((keys & (kShiftKey | kControlKey)) == (kShiftKey | kControlKey)) RunDebugParametersDialog();
}
