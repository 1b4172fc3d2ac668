#include "app/page/DromelScribe.h"

#include "app/DromelResources.h"
#include "core/Exception.h"
#include "core/Progress.h"
#include "core/Resources.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "core/Time.h"
#include "engine/geometry/CXform.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/sprites/CSprite.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/JPEGFile.h"
#include "ui/views/DocWindow.h"
#include "web/html/ImageMap.h"
#include "web/html/LinkHREF.h"
#include "web/html/PageCompiler.h"
#include "web/html/htmlElement.h"

std::uint8_t gHtmlCompileActive = 0;

SMART_DEFINE(DromelScribe, "DromelScribe", nullptr, nullptr, Scribe, SmartImplementation)

namespace {

enum : int { kOutputFolderText = 5, kBodyOpeningText = 19, kBodyClosingText = 21 };

constexpr const char* kCompileCaption = "Créations de fichiers HTML..."_cp;

}  // namespace

DromelScribe::DromelScribe(Scribe* inner, FileReference* file)
    : innerScribe(inner), pageFile(CHECK_NOT_NULL(file)) {
  projectFolder = pageFile->GetParent();
  outputFolder = new FileReference(*projectFolder, ResourceText(kOutputFolderText), true);
}

void DromelScribe::Read(SmartRef<Smart>* object) { innerScribe->Read(object); }
bool DromelScribe::IsWritable() { return innerScribe->IsWritable(); }
bool DromelScribe::ReadsKindOf(const ClassInfo* info) { return innerScribe->ReadsKindOf(info); }

void DromelScribe::GetPageName(String& name) const { pageFile->GetBaseNameAndType(name); }

void DromelScribe::Write(SmartRef<Smart> object) {
  innerScribe->Write(object);
  try {
    // The folder's thumbnail of the page shows what the page was: it is made again when next asked.
    pageFile->SetPreview(nullptr);
  } catch (Exception* failure) {
    SmartRef<Exception> dropped(failure);
    gLastException = nullptr;
  }
  if (!gHtmlCompileActive) return;
  Progress progress(2, kCompileCaption);
  progress.Step();
  Compile(~object, progress);
}

void DromelScribe::CompileIfOutOfDate(SmartRef<Smart> object) {
  Progress progress(2, kCompileCaption);
  progress.Step();
  FileTypeList types;
  types.Append(~JPEGFile::fileType);
  types.Append(~gHTMLFileType);
  const List listing = outputFolder->ListFiles(types, false);
  String pageName;
  GetPageName(pageName);
  const String webName = SanitizeHTMLName(pageName);
  const SmartRef<Time> pageDate(pageFile->GetModificationDate());
  int fresh = 0;
  for (std::int32_t i = 1; i <= listing.NumItems(); ++i) {
    auto* file = CastSmart<FileReference>(listing.At(i));
    if (file == nullptr) continue;
    String name;
    file->GetBaseNameAndType(name);
    if (!(name == webName)) continue;
    const SmartRef<Time> webDate(file->GetModificationDate());
    // Dates go to the second: a web file of the page file's very second may have been written before a
    // save in that second, so only a later one counts as made from the page as it stands.
    if (!(*pageDate < *webDate)) break;
    ++fresh;
  }
  if (fresh >= 2) {
    progress.Step();
    return;
  }
  Compile(~object, progress);
}

void DromelScribe::Compile(Smart* object, Progress& progress) {
  SmartRef<htmlElement> tree;
  if (auto* page = CastSmart<CShow>(object); page != nullptr && page->GetMovieGroup() != nullptr) {
    const SmartRef<ImageMap> map = BuildPageImageMap(*page->GetMovieGroup(), ~projectFolder, ~outputFolder);
    tree = WrapPageBody(~map);
  }
  String pageName;
  GetPageName(pageName);
  List files(&FileReference::classInfo);
  progress.Step();
  RemoveStaleHTMLFiles(pageName, outputFolder);
  if (tree) CompileHTMLPage(*tree, pageName, outputFolder, files);
}

SmartRef<ImageMap> DromelScribe::BuildPageImageMap(CMovie& group, FileReference* project, FileReference* output) {
  const Rect bounds = group.GetBounds();
  Rect content;
  group.GetFrameBounds(&content, 0);
  Rect area = content.IsEmpty() ? bounds : content.Intersect(bounds);
  if (area.IsEmpty()) {
    // Whatever frame 0 shows lies off the page: the page is published as the blank page it looks like,
    // rather than as a picture of no pixels that no JPEG can hold.
    area = bounds;
    gMakeImageWholeBounds = 1;
  }
  const SmartRef<BitMap> picture = group.MakeImage();
  SmartRef<ImageMap> map = new ImageMap(SmartRef<Image>(~picture));
  auto* movieGroup = CastSmart<CMovieGroup>(&group);
  if (movieGroup == nullptr) return map;
  Rect target = picture->GetBounds();
  target.Offset(-target.left, -target.top);
  SmartRef<CXform> xform = new CXform(area, target);
  const std::int16_t count = movieGroup->GetSpriteCount();
  for (std::int16_t i = 0; i < count; ++i) {
    if (CSprite* sprite = movieGroup->GetSprite(i)) AddSpriteLink(*map, *xform, *sprite, 0, project, output);
  }
  return map;
}

void DromelScribe::AddSpriteLink(ImageMap& map, CXform& xform, CSprite& sprite, std::int16_t frame,
                                 FileReference*, FileReference*) {
  if (!sprite.IsVisibleInRange(frame, 1)) return;
  SmartRef<LinkHREF> href;
  if (CLink* link = sprite.GetLinkAtFrame(frame)) {
    try {
      href = CastSmart<LinkHREF>(~link->GetHref());
    } catch (Exception* failure) {
      // Raised exceptions travel as Exception*, so the cancel is told apart by its class. The child gave up
      // finding the linked page: only this link is left out.
      if (!IsUserCancel(failure)) throw;
      SmartRef<Exception> dropped(failure);
      gLastException = nullptr;
    }
  }
  if (Sound* sound = sprite.GetSoundAtFrame(frame)) href = new SoundLink(SmartRef<Sound>(sound));
  if (!href) return;
  Rect place;
  sprite.GetFrameGeometry(frame, &place, nullptr);
  map.AddLink(xform.MapRect(place), ~href);
}

SmartRef<htmlElement> DromelScribe::WrapPageBody(htmlElement* element) {
  List parts(&htmlElement::classInfo);
  parts.AppendRef(SmartRef<Smart>(new RawHTML(ResourceText(kBodyOpeningText))));
  parts.AppendRef(SmartRef<Smart>(element));
  parts.AppendRef(SmartRef<Smart>(new RawHTML(ResourceText(kBodyClosingText))));
  return new htmlWrapper(parts);
}

DromelScribe* PageScribeOf(Window* window) {
  auto* document = CastSmart<DocWindow>(window);
  return document ? CastSmart<DromelScribe>(~document->GetScribe()) : nullptr;
}
