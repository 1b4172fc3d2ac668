#include "engine/kinds/CMovieText.h"

#include "core/Format.h"
#include "core/String.h"
#include "engine/Seams.h"
#include "engine/geometry/CXform.h"
#include "engine/kinds/FrameEditing.h"
#include "engine/media/CResource.h"
#include "engine/sprites/CSprite.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextStyle.h"
#include "ui/views/View.h"

SMART_DEFINE(CMovieText, "CMovieText", nullptr, nullptr, CMovieRes)

const PersistentType CMovieText::persistentType(&CMovieText::classInfo, MakeVersion(1), MakeVersion(2),
                                                &CMovieText::ReadNew);

namespace {
[[maybe_unused]] const bool gMovieTextRegistered = (RegisterGenericType(13, &CMovieText::persistentType), true);
// Text sprites merge by taking over each other's texts.
[[maybe_unused]] const bool gMovieTextMerges = (AddImageMergingKind(&CMovieText::classInfo), true);
}  // namespace

CMovieText& CMovieText::operator=(const CMovieText& other) {
  TakeResourceData(other);
  return *this;
}

CMovieText::CMovieText(ArchiveBlock& block) : Smart(), CMovieRes(block) {
  String* text = GetText(0);
  if (text == nullptr) return;
  Rect box;
  GetFrameBounds(&box, 0);
  Point size;
  text->Measure(size, box.Width());
  if (size == box.Size()) return;
  CResource* resource = GetResource(0);
  const Rect stored = resource->GetBounds();
  resource->SetBounds(stored.left, stored.top, stored.left + size.x, stored.top + size.y);
}

Persistent* CMovieText::ReadNew(Archive* archive) { return ReadFromBlock<CMovieText>(archive, &persistentType); }

void CMovieText::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteResourcePart(block);
}

String* CMovieText::GetText(std::int16_t frame) const {
  CResource* resource = GetResource(frame);
  return resource ? CastSmart<String>(resource->GetObject()) : nullptr;
}

bool CMovieText::DrawFrame(DisplayPort& port, CXform* xform, std::int16_t frame, const Color&) {
  if (xform == hiddenFrameXform) return true;
  Rect rect;
  GetFrameBounds(&rect, frame);
  rect = MapFrameRect(rect, xform);
  port.EraseArea(Area(rect));
  if (String* text = GetText(frame)) text->Draw(port, rect, standardColors[1]);
  return true;
}

SmartRef<CMovie> CMovieText::ExtractFrames(std::int16_t start, std::int16_t count, bool cut) {
  return new CMovieText(*this, start, count, cut);
}

SmartRef<View> CMovieText::EditFrame(CResource* resource, View* parent, DisplayDevice*, const Rect&,
                                     const Rect& frameRect, std::int16_t, CXform*) {
  String* text = resource ? CastSmart<String>(resource->GetObject()) : nullptr;
  if (text == nullptr || GetFrameEditHooks().makeTextPane == nullptr) return nullptr;
  // The pane edits a copy: the frame keeps its text until the edit is stored.
  SmartRef<StyledText> edited;
  if (auto* styled = CastSmart<StyledText>(text)) {
    edited = new StyledText(*styled);
  } else {
    const SmartRef<Smart> style =
        new TextStyle(1, 12, 0, standardColors[1], standardColors[kTransparentColor]);
    edited = new StyledText(*text, style);
  }
  return GetFrameEditHooks().makeTextPane(parent, frameRect, ~edited);
}

Point CMovieText::GetAnchor(const Rect& rect) { return rect.TopLeft(); }

void CMovieText::UpdateFrameBounds(Rect rect, std::int16_t frame) {
  if (frame < 0 || frame >= GetFrameCount()) return;
  CResource* resource = GetResource(frame);
  if (resource == nullptr) return;
  const Point point = GetFramePoint(frame);
  rect.Offset(-point.x, -point.y);
  const Rect bounds = resource->GetBounds();
  if (rect == bounds) return;
  if (rect.Width() == bounds.Width()) {
    rect.bottom = rect.top + bounds.Height();
  } else {
    String* text = GetText(frame);
    if (text == nullptr) return;
    Point size;
    text->Measure(size, rect.Width());
    rect.bottom = rect.top + size.y;
  }
  resource->SetBounds(rect.left, rect.top, rect.right, rect.bottom);
}

std::int16_t CMovieText::QueryFrameText(std::int16_t frame) {
  if (frame < 0 || frame >= GetFrameCount()) return 0;
  auto* styled = CastSmart<StyledText>(GetText(frame));
  if (styled == nullptr) return 0;
  return static_cast<std::int16_t>(styled->NotImplemented(GetBounds()));
}
