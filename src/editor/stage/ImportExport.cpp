#include "editor/stage/ImportExport.h"

#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/Scribe.h"
#include "core/Sound.h"
#include "core/SourcePlace.h"
#include "core/String.h"
#include "editor/stage/CHAPane.h"
#include "engine/movie/CMovie.h"
#include "engine/sprites/CSprite.h"
#include "ui/shell/App.h"
#include "ui/shell/ClipTask.h"
#include "ui/shell/Clipboard.h"

bool gPendingImport = false;

namespace {
constexpr SourceName kSource("ORVANEL/AUTHOR/ImportExport");

// The paste of a page background: its own undo and redo, and no other paste's, see the background mark.
class BackgroundPasteTask final : public ClipTask {
 public:
  using ClipTask::ClipTask;
  void Undo() override {
    const Marked marked;
    ClipTask::Undo();
  }
  void Redo() override {
    const Marked marked;
    ClipTask::Redo();
  }

 private:
  struct Marked {
    Marked() { gBackgroundImport = true; }
    ~Marked() { gBackgroundImport = false; }
    Marked(const Marked&) = delete;
    Marked& operator=(const Marked&) = delete;
  };
};
}  // namespace

void ImportClipTask(Clipboard* clipboard, CHAPane* pane, const Point& point, bool background) {
  if (clipboard == nullptr || pane == nullptr) return;
  const bool centred = point == Point(0, 0);
  const std::int32_t mode = centred ? 3 : 2;
  const SmartRef<ClipTask> task = background
                                      ? new BackgroundPasteTask(clipboard, pane, kClipPaste, mode, point.x, point.y)
                                      : new ClipTask(clipboard, pane, kClipPaste, mode, point.x, point.y);
  task->Do();
  // A paste that added nothing has nothing to undo; undoing it would clear whatever is selected then.
  if (pane->GetSelectionList().NumItems() != 0) pane->PostUndoable(~task);
  gPendingImport = false;
}

bool ImportSound(App* application, FileReference& file, const String* name, bool transparent) {
  const SmartRef<Scribe> scribe = application->MakeScribe(file, kFileModeRead);
  SmartRef<Smart> object;
  CHECK_NOT_NULL(~scribe)->Read(&object);
  if (auto* sound = CastSmart<Sound>(~object)) {
    application->GetClipboard()->SetScrap(sound);
    return true;
  }
  if (!object || !ConvertSmart(&object, &CMovie::classInfo)) AssertFailed("data != NULL", kSource.Line(290));
  const SmartRef<CMovie> movie(CastSmart<CMovie>(~object));
  if (!movie) AssertFailed("data != NULL", kSource.Line(290));
  if (movie->ToggleMode1(false) != transparent) movie->ToggleMode1(true);
  const SmartRef<CSprite> sprite = new CSprite(0, movie, Rect());
  SmartRef<String> title;
  if (name != nullptr && name->Length() != 0) {
    title = new String(*name);
  } else {
    title = new String;
    file.GetBaseNameAndType(*title);
  }
  sprite->SetName(title);
  List list(&CSprite::classInfo);
  list.Append(~sprite);
  application->GetClipboard()->SetScrap(~list.GetData());
  return true;
}

void ExportFrames(CHAPane*, std::int16_t*, std::int16_t*) { ReportError("Not implemented.", kSource.Line(197)); }

void ExportPlayer(CPlayer*) { ReportError("Not implemented.", kSource.Line(190)); }

void ImportIntoStagePane(View* view, FileReference& file, const String& name) {
  auto* pane = CastSmart<CHAPane>(view);
  if (pane == nullptr || !gApplication) return;
  const SmartRef<CHAPane> kept(pane);
  ImportSound(~gApplication, file, &name, true);
  pane->SelectSpriteAt(-1);
  ImportClipTask(~gApplication->GetClipboard(), pane, Point(0, 0));
}
