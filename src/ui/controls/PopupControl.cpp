#include "ui/controls/PopupControl.h"

#include <array>
#include <cstdint>
#include <span>

#include "core/Exception.h"
#include "core/Resources.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/Color.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/Transform.h"
#include "platform/user/BitmapResource.h"
#include "ui/text/TextStyle.h"

namespace {

// The marker beside a pop-up control's choice, the program's picture 190: a black arrow pointing down on
// white, 16 by 24, one bit a pixel.
constexpr int kMarkerWidth = 16;
constexpr int kMarkerHeight = 24;
constexpr int kMarkerRowBytes = 4;
constexpr std::size_t kMarkerSize = 40 + 8 + kMarkerRowBytes * kMarkerHeight;

constexpr void Put32(std::array<BYTE, kMarkerSize>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<BYTE>(value >> (8 * i));
}

constexpr std::array<BYTE, kMarkerSize> MakeMarker() {
  std::array<BYTE, kMarkerSize> bytes{};
  Put32(bytes, 0, 40);
  Put32(bytes, 4, kMarkerWidth);
  Put32(bytes, 8, kMarkerHeight);
  bytes[12] = 1;  // planes
  bytes[14] = 1;  // bits a pixel
  Put32(bytes, 20, kMarkerRowBytes * kMarkerHeight);
  Put32(bytes, 32, 2);
  Put32(bytes, 44, 0x00FFFFFF);  // colour 0 black, colour 1 white
  for (int y = 0; y < kMarkerHeight; ++y) {
    // The arrow: rows 10 to 14 from the top, narrowing by one pixel each side.
    const int half = 14 - y;
    std::uint16_t row = 0xFFFF;
    for (int x = 0; x < kMarkerWidth; ++x) {
      const bool black = y >= 10 && y <= 14 && x >= 7 - half && x <= 7 + half;
      if (black) row = static_cast<std::uint16_t>(row & ~(0x8000 >> x));
    }
    const std::size_t at = 48 + static_cast<std::size_t>((kMarkerHeight - 1 - y) * kMarkerRowBytes);
    bytes[at] = static_cast<BYTE>(row >> 8);
    bytes[at + 1] = static_cast<BYTE>(row);
  }
  return bytes;
}

constexpr std::array<BYTE, kMarkerSize> kMarker = MakeMarker();
constexpr platform::BitmapResource kMarkerResource[] = {{190, std::span<const BYTE>(kMarker)}};
[[maybe_unused]] const bool gMarkerRegistered = (platform::RegisterBitmapResources(kMarkerResource), true);

// Loaded on first use and kept for the rest of the run, past the drawing layer's own end.
BitMap& Marker() {
  static BitMap* marker = nullptr;
  if (marker == nullptr) {
    marker = CHECK_NOT_NULL(gDocumentMessages.GetImageData(0));
    marker->MakePermanent();
  }
  return *marker;
}

}  // namespace

// The chosen item's text in black over white, the marker at the right, a black frame around.
void Control::DrawPopUp(DisplayPort& port) {
  const Rect frame = GetBounds();
  port.DrawRect(frame, standardColors[0], standardColors[kTransparentColor]);
  String text;
  if (const MenuItem* item = menu->ItemAt(GetValue())) item->GetText(&text);
  Rect inside = frame;
  inside.Inset(1);
  const SmartRef<TextStyle> style = MakeDefaultTextStyle(standardColors[1], standardColors[kTransparentColor]);
  const TextLock lock(text);
  port.DrawText(inside, lock.Length() > 0 ? lock.Chars() : "", lock.Length(), *style);
  BitMap& marker = Marker();
  const Rect bounds = marker.GetBounds();
  const std::int32_t left = frame.right - (bounds.right - bounds.left) - 4;
  {
    const SmartRef<Transform> move(new Translation(left - bounds.left, frame.top - bounds.top));
    PortState state(port, *move);
    marker.Draw(port, 1);
  }
  port.DrawRect(frame, standardColors[kTransparentColor], standardColors[1]);
}

PopupControl::PopupControl(View* parent, const Rect& frame, Menu* menu)
    : Control(parent, frame, kAnchorTopLeft, menu, nullptr, 0), popupMenu(menu) {}

PopupControl::~PopupControl() = default;

bool PopupControl::SelectByTitle(const String& text) {
  const std::int32_t index = popupMenu->IndexOfEntry(text);
  if (index == 0) return false;
  SetValue(index);
  return true;
}

void PopupControl::GetItemText(String* out) const {
  const std::int32_t value = GetValue();
  if (const MenuItem* item = popupMenu->ItemAt(value)) {
    item->GetText(out);
  } else if (const Menu* sub = popupMenu->SubMenuAt(value)) {
    *out = sub->GetTitle();
  } else {
    out->Clear();
  }
}
