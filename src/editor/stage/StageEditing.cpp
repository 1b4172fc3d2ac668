// Painting and typing on the page itself: the stage pane opens the frame editor of a picture or text
// movie over the page, and stores what it gives back as a new sprite or into the edited one. Also the
// stretch of a range of frames to a new length.
#include <algorithm>

#include "core/Exception.h"
#include "core/Progress.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/stage/CHAPane.h"
#include "editor/text/CTextStyleTool.h"
#include "engine/EngineNotices.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/media/CResource.h"
#include "engine/page/CMovieGroup.h"
#include "ui/shell/App.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextCommands.h"
#include "ui/views/Window.h"

namespace {

// The style a new text starts with: the text-style tool's, as the child last chose it.
SmartRef<TextStyle> CurrentTextStyle() {
  auto* tool = dynamic_cast<CTextStyleTool*>(~gTextStyleTool);
  return tool ? tool->GetStyle() : nullptr;
}

CSprite* FirstSelected(const List& selection) {
  return selection.NumItems() == 0 ? nullptr : CastSmart<CSprite>(selection.At(1));
}

}  // namespace

void CHAPane::EditResourceMovie(CSprite* sprite, const Rect& rect, bool picture, bool text, bool wholePane) {
  if (sprite == nullptr && rect.IsEmpty() && IsEditingInPlace()) return;
  FinishEditing(false);
  HandleNumberCommand(kPlayStopped, nullptr);
  if (sprite == nullptr && rect.IsEmpty()) sprite = FirstSelected(selection);
  if (sprite != nullptr) {
    CMovie* movie = sprite->GetMovie();
    if ((picture && !IsMember<CMoviePic>(movie)) || (text && !IsMember<CMovieText>(movie)) ||
        !sprite->IsVisibleInRange(currentFrame, 1)) {
      sprite = nullptr;
    } else {
      SetSpriteSelected(nullptr, false);
      SetSpriteSelected(sprite, true);
    }
  }
  if (sprite == nullptr) {
    Rect placement = rect;
    if (placement.IsEmpty()) {
      if (!wholePane) return;
      placement = GetBounds();
    }
    // The edit makes a new object only over an empty selection: a sprite left selected (a text under a
    // picture stroke, a group) would otherwise be refitted to, or cleared by, the new picture.
    if (selection.NumItems() != 0) {
      SetSpriteSelected(nullptr, false);
      TellRangeListeners(this);
      UpdateSelectionState();
    }
    SmartRef<CMovieRes> movie;
    if (text) {
      const SmartRef<CTool> tool = gToolsDirectory ? gToolsDirectory->GetCurrentTool() : nullptr;
      CHECK_NOT_NULL(~tool)->SetActive(true);
      const SmartRef<StyledText> typed = new StyledText(String(), SmartRef<Smart>(~CurrentTextStyle()));
      const SmartRef<CResource> resource = new CResource(SmartRef<Smart>(~typed));
      movie = new CMovieText(~resource, placement);
    } else {
      movie = new CMoviePic(nullptr);
    }
    OpenEditor(~movie, 0, 0, 1, 0, placement, nullptr, !text, true);
    StartEditing(~movie);
    return;
  }
  auto* movie = CastSmart<CMovieRes>(sprite->GetMovie());
  if (movie == nullptr) AssertFailed("CAST_TEST(editor,CMovieRes,movie)", __FILE__, __LINE__);
  const std::int16_t image = sprite->GetImageIndex(currentFrame);
  std::int16_t first, last;
  GetFrameRange(&first, &last, false);
  auto start = static_cast<std::int16_t>(first - sprite->GetStartFrame());
  auto count = static_cast<std::int16_t>(std::max(last - first + 1, 1));
  if (!movie->CanSetFrames(start, count, nullptr)) {
    start = image;
    count = 1;
  }
  RedrawHandles();
  Rect placement;
  sprite->GetFrameGeometry(currentFrame, &placement, nullptr);
  if (IsMember<CMovieText>(movie)) placement.Inset(-2);
  const SmartRef<CXform> xform = sprite->GetXformAtFrame(currentFrame);
  OpenEditor(movie, image, start, count, sprite->GetFrameCount(), placement, ~xform, false, false);
  StartEditing(movie);
}

void CHAPane::OpenEditor(CMovieRes* movie, std::int16_t frame, std::int16_t start, std::int16_t count,
                         std::int16_t limit, const Rect& placement, CXform* xform, bool useUnchanged, bool lock) {
  // The press the window makes of the new text field's focus must not start another edit under this one.
  struct Opening {
    explicit Opening(bool& flag) : flag(flag) { flag = true; }
    ~Opening() { flag = false; }
    Opening(const Opening&) = delete;
    Opening& operator=(const Opening&) = delete;
    bool& flag;
  } opening(openingEditor);
  movie->BeginEdit(frame, start, count, limit, this, ~GetBufferOrDevice(), placement, xform, useUnchanged, true, lock);
}

void CHAPane::StartEditing(CMovieRes* movie) {
  // A movie whose kind has no editor (or before the editor installed its panes) is not edited.
  View* made = movie->GetEditor();
  if (made == nullptr) return;
  editedMovie = movie;
  editor = made;
  editor->Invalidate(false);
  TellPaneListeners();
  ContentChanged(nullptr);
}

void CHAPane::FinishEditing(bool quiet) {
  if (!IsEditingInPlace()) return;
  CMovieGroup* group = GetGroup();
  if (group == nullptr) return;
  const SmartRef<CMovieRes> movie = std::move(editedMovie);
  editedMovie = nullptr;
  const SmartRef<View> pane = std::move(editor);
  editor = nullptr;
  std::int16_t first, last;
  GetFrameRange(&first, &last, false);
  const bool isNew = selection.NumItems() == 0;
  Rect placed;
  if (movie->EndEdit(&placed, isNew)) {
    if (isNew && !placed.IsEmpty()) {
      const SmartRef<CSprite> sprite = new CSprite(first, movie, placed);
      sprite->SetFrameCount(static_cast<std::int16_t>(std::max(last - first, 0) + 1));
      if (placed == GetBounds()) {
        sprite->SetName(new String("Fonds"_cp));
        // A picture over the whole page is its background: nothing shows through it.
        if (movie->ToggleMode1(false)) movie->ToggleMode1(true);
      }
      const std::int16_t index = group->MergeSprite(~sprite);
      SetSpriteSelected(nullptr, false);
      SetSpriteSelected(group->GetSprite(index), true);
    } else if (!isNew) {
      if (placed.IsEmpty()) Clear();
      else FirstSelected(selection)->RefitFrames(currentFrame, placed, first, static_cast<std::int16_t>(last - first + 1));
    }
  }
  // The edit's views left the pane with the edit (the engine takes them out); only the pane is let go.
  RemoveSubview(~pane);
  if (IsMember<CMovieText>(~movie)) TextPaneOpen = false;
  if (gApplication)
    if (const SmartRef<Window> front = gApplication->FrontWindow()) front->ClearUndo();
  if (!quiet) TellFrameListeners();
  TellPaneListeners();
  ContentChanged(nullptr);
}

void CHAPane::SetEditingKind(int kind, bool wholePane) {
  if (kind == kEditsNothing) {
    FinishEditing(false);
    return;
  }
  EditResourceMovie(nullptr, Rect(), kind == kEditsPicture, kind == kEditsText, wholePane);
}

void CHAPane::StretchMotion(std::int16_t first, std::int16_t oldLength, std::int16_t newLength) {
  if (first < 0 || oldLength < 1 || newLength < 1 || oldLength == newLength) return;
  CMovieGroup* group = GetGroup();
  if (group == nullptr) return;
  char caption[64];
  PlaceholderString()->CopyTo(caption, sizeof caption);
  Progress progress(2, caption);
  progress.SetCaption("Stretch");
  group->AdjustLength(first, oldLength, newLength);
  progress.SetCaption("Interpolate");
  // Motion is not interpolated: the frames the stretch made repeat their neighbours.
  if (newLength > oldLength) group->EmptyOperation(nullptr);
  SetFrameRange(first, static_cast<std::int16_t>(first + newLength - 1));
  ContentChanged(nullptr);
}
