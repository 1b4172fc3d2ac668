// The edit of one frame of a resource movie in place on the stage: the kind makes the editing pane, the
// movie keeps it until the edit ends and then stores what the pane gives back over the frames it was
// opened for.
#include "engine/Seams.h"
#include "engine/geometry/CXform.h"
#include "engine/kinds/CMovieRes.h"
#include "engine/kinds/FrameEditing.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/media/CResource.h"
#include "ui/views/View.h"

namespace {
FrameEditor* AsEditor(View* view) { return dynamic_cast<FrameEditor*>(view); }
}  // namespace

void CMovieRes::BeginEdit(std::int16_t frame, std::int16_t start, std::int16_t count, std::int16_t limit, View* host,
                          DisplayDevice* device, const Rect& placement, CXform* xform, bool useUnchanged,
                          bool withBorder, bool lock) {
  EndEdit(nullptr, false);
  editStart = start;
  editCount = count;
  editLimit = limit;
  editFrame = frame < GetFrameCount() ? frame : static_cast<std::int16_t>(GetFrameCount() - 1);

  Rect rect;
  GetFrameBounds(&rect, editFrame);
  if (useUnchanged || rect.IsEmpty() || !IsRealXform(xform) || !xform->HasDestination()) {
    rect = placement;
  } else {
    rect = MapFrameRect(rect, xform);
    rect.Offset(placement.left - rect.left, placement.top - rect.top);
  }
  // A new object has no frame yet: its editor's corner is the movie's corner, as before any paint.
  Rect frameBounds;
  GetFrameBounds(&frameBounds, editFrame);
  editShifted = !useUnchanged && !frameBounds.IsEmpty();
  editShift = editShifted ? Point{rect.left - frameBounds.left, rect.top - frameBounds.top} : Point::origin;
  const bool picture = IsMember<CMoviePic>(this);
  const Rect area = picture ? host->GetBounds() : rect;

  SmartRef<View> border;
  const auto makeBorder = GetFrameEditHooks().makeBorderView;
  if (withBorder && !picture && makeBorder) border = makeBorder(host, rect);
  View* parent = border ? ~border : host;
  SmartRef<View> made = EditFrame(useUnchanged ? nullptr : GetResource(editFrame), parent, device, area, rect,
                                  editFrame, xform);
  FrameEditor* pane = AsEditor(~made);
  if (pane == nullptr) {
    if (made) parent->RemoveSubview(~made);
    if (border && host) host->RemoveSubview(~border);
    return;
  }
  editParent = host;
  editor = made;
  if (lock) pane->Lock();
  editHost = border ? border : editor;
  editHost->Invalidate(false);
}

bool CMovieRes::EndEdit(Rect* out, bool store) {
  if (!editor) return false;
  const SmartRef<View> pane = editor;
  const bool framed = editHost != editor;
  Rect bounds = GetBounds();
  Rect rect = pane->GetBounds();
  // The editor answers relative to its own corner, moved to the corner given in: give it where its corner
  // lies in the movie, so that a pane wider than the frame (a picture's covers the whole host) does not
  // count the frame's place on the host once more.
  const Point offset = editShifted ? editShift : Point{rect.left - bounds.left, rect.top - bounds.top};
  bounds.Offset(rect.left - offset.x - bounds.left, rect.top - offset.y - bounds.top);
  SmartRef<Smart> edited;
  bool stored = false;
  if (AsEditor(~pane)->GetEditResult(&bounds, &edited, store)) {
    SetBounds(bounds);
    SetFrames(editStart, editCount, ~edited, !framed, editLimit);
    rect = bounds;
    stored = true;
  }
  if (out) {
    *out = rect;
    out->Offset(offset.x, offset.y);
  }
  editHost->Invalidate(false);
  DropEditViews();
  Changed(this, Rect::emptyRect, -1);
  return stored;
}

void CMovieRes::DropEditViews() {
  // The edit host (the border, or the pane itself) is the one view the edit put in the host.
  if (editParent && editHost) editParent->RemoveSubview(~editHost);
  editParent = nullptr;
  editHost = nullptr;
  editor = nullptr;
}
