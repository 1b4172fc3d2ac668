// What a click on a browser cell does, by the tool the browser was opened for: open the page, link to
// it, copy its hot link, import the file as a clip, a background or the frame's sound, or delete the page.
#include <string>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Format.h"
#include "core/Resources.h"
#include "core/Scribe.h"
#include "core/Sound.h"
#include "core/SourcePlace.h"
#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/KidResources.h"
#include "editor/browser/BrowserPanes.h"
#include "editor/browser/CBrowser.h"
#include "engine/app/CHAApp.h"
#include "engine/movie/CMovie.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/sprites/CSprite.h"
#include "editor/stage/CHAPane.h"
#include "editor/stage/ImportExport.h"
#include "sound/SoundDialog.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Transform.h"
#include "graphics/bitmaps/BitMap.h"
#include "ui/shell/App.h"
#include "ui/shell/Clipboard.h"

namespace {

constexpr SourceName kSource("ORVANEL/AUTHOR/CBrowser");

// A missing click sound is reported; the click still does its work.
void PlayClick(int n) {
  try {
    if (SoundResource* sound = KidResources::GetSound(n)) PlaySound(sound->Get());
  } catch (Exception* exception) {
    SmartRef<Exception> reported(exception);
    reported->Report(kAlertExclamation);
  }
}

CHAPane* ActivePane(CHAApp& app) { return dynamic_cast<CHAPane*>(app.GetActivePane()); }

// The sound step of a sound import: a sound file plays as it arrives; a picture plays the sound it
// carries, or the child records one for it. False when the picture ends without a sound. The point, the
// page's top-right corner 4 pixels in, becomes the top-left corner at which the sprite lies inside the
// page there (a paste places the sprite's top-left corner on the point).
bool HearOrRecord(Clipboard& clipboard, Point* point) {
  auto* soundFile = CastSmart<Sound>(clipboard.GetScrap());
  if (soundFile) PlaySound(soundFile);
  List content(&CSprite::classInfo);
  if (!clipboard.AddScrapTo(content) || content.NumItems() != 1) return soundFile != nullptr;
  auto* sprite = CastSmart<CSprite>(content.At(1));
  CMovie* movie = sprite ? sprite->GetMovie() : nullptr;
  if (movie == nullptr) return soundFile != nullptr;
  if (soundFile) {
    // The sprite a sound becomes is what the paste will make of it.
  } else if (Sound* sound = movie->GetSound(0)) {
    sound->Play(0);
  } else {
    SmartRef<Sound> recorded = RecordSound();
    if (!recorded) return false;
    movie->SetSound(0, 1, ~recorded);
    clipboard.SetScrap(~content.GetData());
  }
  Rect rect;
  Point position;
  sprite->GetFrameGeometry(0, &rect, &position);
  point->x -= rect.Width();
  return true;
}

void MakeToolCurrent(CTool* tool) {
  if (gToolsDirectory) gToolsDirectory->SetCurrentTool(tool);
  if (tool) tool->SetActive(true);
}

}  // namespace

void CBrowser::NotifyOwner() {
  if (auto* pane = dynamic_cast<ToolPalettePane*>(~owner)) pane->ChooseTool(0);
}

bool CBrowser::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) {
  const std::int16_t i = HitTest(x, y);
  if (i == 0) return View::MouseDown(x, y, modifiers, clicks, window);
  SmartRef<FileReference> file(FileAt(i));
  auto* app = CastSmart<CHAApp>(~gApplication);
  if (app == nullptr) AssertFailed("CAST_TEST(app,CHAApp,gApplication)", kSource.Line(376));
  // The tool may be dropped by what the click makes current or closes: it is kept for the whole click.
  SmartRef<CTool> clicked(tool);
  switch (GetToolId()) {
    case kBrowseOpen:
    case kBrowseOpenReadOnly:
      PlayClick(12);
      OpenEntry(~file, *app, GetToolId() == kBrowseOpenReadOnly);
      NotifyOwner();
      break;
    case kBrowseSound:
      ImportEntry(~file, *app, false, true);
      NotifyOwner();
      break;
    case kBrowseLink:
      PlayClick(5);
      // A link that could not be made leaves the tool as it was: the next stage click must not place
      // whatever the clipboard held before.
      if (LinkToPage(~file, *app, thumbWidth, thumbHeight)) MakeToolCurrent(~clicked);
      NotifyOwner();
      break;
    case kBrowseClip:
      PlayClick(5);
      if (ImportEntry(~file, *app, false, false)) MakeToolCurrent(~clicked);
      NotifyOwner();
      break;
    case kBrowseBackground:
      PlayClick(0);
      ImportEntry(~file, *app, true, false);
      NotifyOwner();
      break;
    case kBrowseHotLink:
      PlayClick(5);
      CopyHotLink(~file, *app);
      MakeToolCurrent(~clicked);
      NotifyOwner();
      break;
    case kBrowseDeletePage:
      if (file) DeletePage(i, *file);
      break;
    default:
      return View::MouseDown(x, y, modifiers, clicks, window);
  }
  return true;
}

void CBrowser::DeletePage(std::int32_t index, FileReference& file) {
  String base;
  file.GetBaseNameAndType(base);
  const std::string question = "Es-tu sûr(e) de vouloir supprimer "_cp + TextOf(base) + "?";
  if (Alert(kAlertExclamation, kButtonsOKCancel, question.c_str()) != kAlertAnswerOK) return;
  try {
    String name;
    file.GetName(name);
    SmartRef<FileReference> parent(file.GetParent());
    CHECK_NOT_NULL(~parent)->DeleteChild(name);
  } catch (Exception* exception) {
    SmartRef<Exception> failed(exception);
    Alert(kAlertExclamation, kButtonsOK, "La page n'a pu être supprimée (elle est peut-être ouverte)"_cp);
    return;
  }
  RemoveItem(index);
  gPageDeleted = true;
}

SmartRef<FileReference> CBrowser::EntryFile(FileReference* file, CHAApp& app) {
  if (file) return SmartRef<FileReference>(file);
  SmartRef<CShow> page(new CShow(new CMovieGroup(defaultMovieBounds), false));
  SmartRef<FileReference> chosen = app.ChooseFile(2);
  if (!chosen || chosen->GetPathText() == nullptr) return nullptr;
  SmartRef<Scribe> scribe = app.MakeScribe(*chosen, 3);
  CHECK_NOT_NULL(~scribe)->Write(SmartRef<Smart>(~page));
  return chosen;
}

void CBrowser::OpenEntry(FileReference* file, CHAApp& app, bool readOnly) {
  SmartRef<FileReference> entry = EntryFile(file, app);
  // A new page whose save dialog was cancelled opens nothing.
  if (!entry) return;
  app.OpenFile(entry, false, readOnly);
}

void CBrowser::CopyHotLink(FileReference* file, CHAApp& app) {
  if (file == nullptr) return;
  SmartRef<Scribe> scribe = app.MakeScribe(*file, 1);
  if (!scribe) return;
  SmartRef<Smart> object;
  scribe->Read(&object);
  auto* page = CastSmart<CShow>(~object);
  auto* group = page ? CastSmart<CMovieGroup>(page->GetMovieGroup()) : nullptr;
  if (group == nullptr) return;
  for (std::int16_t n = static_cast<std::int16_t>(group->GetSpriteCount() - 1); n >= 0; --n) {
    CSprite* sprite = group->GetSprite(n);
    if (sprite == nullptr || sprite->GetLinkAtFrame(0) == nullptr) continue;
    List content(&CSprite::classInfo);
    content.Append(sprite);
    app.GetClipboard()->SetScrap(~content.GetData());
    return;
  }
  ThrowError("No hotlinks in that file.", kSource.Line(501));
}

bool CBrowser::LinkToPage(FileReference* file, CHAApp& app, std::int32_t width, std::int32_t height) {
  CHAPane* pane = ActivePane(app);
  if (pane == nullptr) return false;
  SmartRef<FileReference> page(file);
  SmartRef<Image> thumbnail;
  if (file == nullptr) {
    // A new page: a cancelled save dialog leaves no file, which the pane's link copy ignores.
    page = EntryFile(nullptr, app);
    if (!page) return false;
    thumbnail = MakeBlankThumbnail(width, height);
  } else {
    thumbnail = ReadStoredPreview(*file);
    if (!thumbnail) {
      thumbnail = MakeThumbnail(*file, width, height);
      if (thumbnail) KeepPreview(*file, ~thumbnail);
    }
  }
  if (!thumbnail) {
    char text[256];
    GetStockString(text, 3);
    Alert(kAlertExclamation, kButtonsOK, text);
    return false;
  }
  SmartRef<BitMap> picture = MakeLinkPicture(*thumbnail, width, height);
  if (!picture) return false;
  pane->CopyPageLink(~page, ~picture, &app);
  return true;
}

bool CBrowser::ImportEntry(FileReference* file, CHAApp& app, bool background, bool sound) {
  if (file == nullptr) return false;
  const SmartRef<String> name = background ? new String("__Background") : sound ? new String("__Sound") : nullptr;
  CHAPane* pane = ActivePane(app);
  CMovieGroup* group = pane ? pane->GetGroup() : nullptr;
  if ((background || sound) && group == nullptr) return false;
  if (!ImportSound(&app, *file, ~name, !background)) return false;
  Clipboard& clipboard = *app.GetClipboard();
  Point point;
  if (sound) {
    const Rect bounds = group->GetBounds();
    point = Point{bounds.right - 4, bounds.top + 4};
    sound = HearOrRecord(clipboard, &point);
  }
  if (background) point = Point{-1, -1};
  if (background || sound) {
    std::int16_t first = 0;
    std::int16_t last = 0;
    pane->GetFrameRange(&first, &last, false);
    pane->SetFrameRange(first, background ? static_cast<std::int16_t>(group->GetFrameCount() - 1) : first);
    pane->GetFrameRange(&first, &last, false);
    for (std::int16_t n = static_cast<std::int16_t>(group->GetSpriteCount() - 1); n >= 0; --n) {
      CSprite* sprite = group->GetSprite(n);
      const SmartRef<String> spriteName = sprite ? sprite->GetName() : nullptr;
      if (spriteName == nullptr || spriteName->Length() == 0 || !(*spriteName == *name)) continue;
      if (sound && !sprite->IsVisibleInRange(first, 1)) continue;
      sprite->HideFrames(first, static_cast<std::int16_t>(last - first + 1));
    }
  }
  if (pane) pane->SelectSpriteAt(-1, false);
  if (!background && !sound) return true;
  // The background mark goes with the paste's task, so that a later paste's undo is not taken for it.
  ImportClipTask(&clipboard, pane, point, background);
  if (background) FitBackground(pane);
  return true;
}

SmartRef<BitMap> MakeLinkPicture(Image& thumbnail, std::int32_t width, std::int32_t height) {
  SmartRef<OffScreen> surface(new OffScreen(width + 3, height + 3, 8, standardColors[0], true));
  {
    Rect inside(0, 0, width + 3, height + 3);
    DisplayPort port(~surface, inside);
    DrawSwatchFrame(port, inside);
    PortState clipped(port, inside);
    const Rect bounds = thumbnail.GetBounds();
    PortState fitted(port, ScaleTrans(bounds, inside, true));
    thumbnail.Draw(port, kDrawTransparent);
  }
  return surface->GetBitMap();
}

void FitBackground(CHAPane* pane) {
  CMovieGroup* group = pane ? pane->GetGroup() : nullptr;
  if (group == nullptr) return;
  const Rect bounds = group->GetBounds();
  CSprite* background = group->FindSpriteByName(String("__Background"));
  if (background == nullptr) return;
  if (!background->ToggleBackgroundFlag(false)) background->ToggleBackgroundFlag(true);
  CMovie* movie = background->GetMovie();
  const Rect b = movie->GetBounds();
  movie->SetBounds(Rect(b.left, b.top, b.left + bounds.Width(), b.top + bounds.Height()));
  if (movie->GetMode() & CMovie::kModeKeyed) movie->ToggleMode1(true);
  group->SendBackward(background, -1);
  pane->SelectSprite(nullptr);
}
