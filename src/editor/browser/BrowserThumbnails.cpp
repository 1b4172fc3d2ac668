// The browser's thumbnails, drawn by its strips chore one item per job: a stored preview of the right
// size, or a new one made by the application and stored back; a file that cannot be pictured because it
// is damaged is offered for deletion.
#include <algorithm>
#include <new>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Progress.h"
#include "core/Resources.h"
#include "core/SourcePlace.h"
#include "editor/browser/CBrowser.h"
#include "editor/browser/CChoreStrips.h"
#include "engine/app/CHAApp.h"
#include "engine/movie/CMovie.h"
#include "graphics/Area.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Transform.h"
#include "graphics/bitmaps/BitMap.h"
#include "platform/kernel/Errors.h"
#include "ui/views/Window.h"

SMART_DEFINE_ABSTRACT(SolidImage, "SolidImage", Image)

bool SolidImage::CanCopyFrom(Smart* source) { return CastSmart(source, &classInfo) != nullptr; }

void SolidImage::CopyFrom(Smart* source) {
  auto* castPtr = static_cast<SolidImage*>(CastSmart(source, &classInfo));
  if (!castPtr) AssertFailed("castPtr", SourceName("ORVANEL/AUTHOR/CBrowser").Line(539));
  rect = castPtr->rect;
  color = castPtr->color;
}

Smart* SolidImage::Clone() const { return new SolidImage(*this); }

void SolidImage::Draw(DisplayPort& port, int) {
  port.DrawRect(rect, color, standardColors[kTransparentColor], 1);
}

namespace {

// Progress dialogs stay away while previews are read or made, whatever the job's way out.
class ProgressOff {
 public:
  ProgressOff() { Progress::Enable(false); }
  ~ProgressOff() { Progress::Enable(true); }
  ProgressOff(const ProgressOff&) = delete;
  ProgressOff& operator=(const ProgressOff&) = delete;
};

// What making a thumbnail came to.
enum class Outcome { kPicture, kDamaged, kUnavailable };

// A failure of the system (the file in use or gone, memory short, a read error) says nothing about the
// file's contents: such a file is never offered for deletion. A reader's refusal, or a read past the end
// of the file, says the file is damaged.
bool IsTransient(Exception* exception) {
  auto* system = dynamic_cast<Win32ErrorException*>(exception);
  return system != nullptr && system->GetCode() != ERROR_HANDLE_EOF;
}

Outcome TryThumbnail(FileReference& file, std::int32_t width, std::int32_t height, SmartRef<Image>* picture) {
  try {
    *picture = MakeThumbnail(file, width, height);
    return *picture ? Outcome::kPicture : Outcome::kDamaged;
  } catch (Exception* exception) {
    SmartRef<Exception> caught(exception);
    if (dynamic_cast<UserCancelException*>(exception) != nullptr) return Outcome::kUnavailable;
    return IsTransient(exception) ? Outcome::kUnavailable : Outcome::kDamaged;
  } catch (const std::bad_alloc&) {
    return Outcome::kUnavailable;
  }
}

// The picture stretched over a new bitmap of that size on white: both proportions follow the size.
SmartRef<Image> Stretched(Image& picture, std::int32_t width, std::int32_t height) {
  ColorTable* table = picture.GetColorTable();
  SmartRef<OffScreen> surface(table ? new OffScreen(width, height, table, Color(0), true)
                                    : new OffScreen(width, height, 32, Color(0), true));
  {
    DisplayPort port(~surface, Rect(0, 0, width, height));
    PortState stretched(port, ScaleTrans(picture.GetBounds(), Rect(0, 0, width, height)));
    picture.Draw(port, kDrawTransparent);
  }
  return SmartRef<Image>(~surface->GetBitMap());
}

}  // namespace

SmartRef<Image> MakeThumbnail(FileReference& file, std::int32_t width, std::int32_t height) {
  gMakeImageWholeBounds = gBrowserWholePage ? 1 : 0;
  SmartRef<Image> picture;
  if (auto* app = ~gCHAApp) {
    SmartRef<Smart> made = app->BuildPreview(file, 0, 0);
    picture = CastSmart<Image>(~made);
  }
  gMakeImageWholeBounds = 0;
  if (!picture) return nullptr;
  const Point size = picture->GetBounds().Size();
  if ((size.x != width || size.y != height) && (size.x > width || size.y > height)) {
    picture = Stretched(*picture, std::min(size.x, width), std::min(size.y, height));
  }
  return picture;
}

SmartRef<Image> ReadStoredPreview(FileReference& file) {
  try {
    return file.GetPreview();
  } catch (Exception* exception) {
    SmartRef<Exception> ignored(exception);
    return nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void KeepPreview(FileReference& file, Image* picture) {
  try {
    file.SetPreview(picture);
  } catch (Exception* exception) {
    // A folder that cannot keep previews only costs the thumbnail being made again next time.
    SmartRef<Exception> ignored(exception);
  }
}

SmartRef<SolidImage> MakeBlankThumbnail(std::int32_t width, std::int32_t height) {
  return SmartRef<SolidImage>(new SolidImage(Rect(0, 0, width, height), standardColors[0]));
}

bool CBrowser::ThumbnailJob(View* owner, std::int32_t job, const Rect&) {
  auto* browser = CastSmart<CBrowser>(owner);
  if (browser == nullptr) return true;
  return browser->RenderThumbnail(job);
}

bool CBrowser::RenderThumbnail(std::int32_t index) {
  const Rect cell = CellRect(index);
  if (!cell.Overlaps(GetBounds())) return false;
  SmartRef<FileReference> file(FileAt(index));
  if (!file) return false;
  SmartRef<Image> preview;
  {
    ProgressOff quiet;
    preview = ReadStoredPreview(*file);
    if (!preview || preview->GetBounds().Size() != Point{thumbWidth, thumbHeight}) {
      // Emptied while the thumbnail is made: a job for the same item that runs meanwhile (a tick during
      // an alert) finds nothing to do.
      files.Put(nullptr, index);
      SmartRef<Image> picture;
      const Outcome outcome = TryThumbnail(*file, thumbWidth, thumbHeight, &picture);
      if (outcome == Outcome::kPicture) {
        files.Put(~file, index);
        KeepPreview(*file, ~picture);
        preview = picture;
      } else if (outcome == Outcome::kDamaged) {
        if (OfferDeletion(index, *file)) return true;
        files.Put(~file, index);
        preview = MakeBlankThumbnail(thumbWidth, thumbHeight);
      } else {
        files.Put(~file, index);
        preview = MakeBlankThumbnail(thumbWidth, thumbHeight);
      }
    }
  }
  if (!preview) return false;
  // The item may have moved or gone while an alert was up.
  if (FileAt(index) != ~file) return false;
  DrawPreview(*preview, CellRect(index));
  return false;
}

bool CBrowser::OfferDeletion(std::int32_t index, FileReference& file) {
  String name;
  file.GetName(name);
  char text[256];
  GetStockString(text, 4, TextOf(name).c_str());
  if (Alert(kAlertExclamation, kButtonsOKCancel, text) != kAlertAnswerOK) return false;
  try {
    SmartRef<FileReference> parent(file.GetParent());
    CHECK_NOT_NULL(~parent)->DeleteChild(name);
  } catch (Exception* exception) {
    SmartRef<Exception> failed(exception);
    GetStockString(text, 5);
    Alert(kAlertExclamation, kButtonsOK, text);
    return false;
  }
  RemoveItem(index);
  return true;
}

void CBrowser::RemoveItem(std::int32_t index) {
  files->Remove(index, 1);
  Invalidate(false);
}

void CBrowser::DrawPreview(Image& preview, const Rect& cell) {
  SmartRef<DisplayDevice> device = GetBufferOrDevice();
  {
    DisplayPort port(~device, GetBounds());
    const Point size = preview.GetBounds().Size();
    const Rect bounds = preview.GetBounds();
    if (size == cell.Size()) {
      Translation move(cell.left - bounds.left, cell.top - bounds.top);
      PortState state(port, move);
      preview.Draw(port, kDrawTransparent);
    } else if (size.x > cell.Width() || size.y > cell.Height()) {
      port.DrawRect(cell, standardColors[0], standardColors[0], 1);
      ScaleTrans scale(bounds, cell, true);
      PortState state(port, scale);
      preview.Draw(port, kDrawTransparent);
    } else {
      port.DrawRect(cell, standardColors[0], standardColors[0], 1);
      const std::int32_t dx = std::max(0, (cell.Width() - size.x) / 2);
      const std::int32_t dy = std::max(0, (cell.Height() - size.y) / 2);
      Translation move(cell.left + dx - bounds.left, cell.top + dy - bounds.top);
      PortState state(port, move);
      preview.Draw(port, kDrawTransparent);
    }
  }
  SmartRef<ViewCommand> command(new ViewCommand(new Area(cell)));
  // An unbuffered browser drew straight onto its window: there is nothing to copy.
  if (command->GetSignalStatus(this) == kCommandEnabled) command->Send(this);
}
