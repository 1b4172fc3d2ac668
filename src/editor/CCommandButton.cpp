#include "editor/CCommandButton.h"

#include "core/Resources.h"
#include "core/Sound.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/ImageResource.h"

SMART_DEFINE_ABSTRACT(CCommandButton, "CCommandButton", GraphicButton)

namespace {

// A missing picture fails here, before the button exists.
SmartRef<BitMap> Load(ImageResource* picture) { return SmartRef<ImageResource>(picture)->Get(); }

Rect FrameOfSize(const Rect& frame, ImageResource* picture) {
  const Point size = SmartRef<ImageResource>(picture)->GetSize();
  return Rect(frame.left, frame.top, frame.left + size.x, frame.top + size.y);
}

}  // namespace

CCommandButton::CCommandButton(View* parent, const Rect& frame, GenericSignal* signal, ImageResource* normal,
                               ImageResource* pressed, ImageResource* third, SoundResource* clickSound)
    : GraphicPushButton(parent, FrameOfSize(frame, normal), ~Load(normal), signal, nullptr, ~Load(pressed),
                        ~Load(third)),
      clickSound(clickSound) {}

CCommandButton::~CCommandButton() = default;

bool CCommandButton::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks,
                               View* window) {
  if (GetState() != kToggleOff) return false;
  SmartRef<CCommandButton> keep(this);
  if (!TrackPress()) return false;
  if (clickSound) PlaySound(clickSound->Get());
  return Fire(x, y, modifiers, clicks, window);
}
