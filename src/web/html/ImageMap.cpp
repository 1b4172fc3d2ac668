#include "web/html/ImageMap.h"

#include <string>
#include <vector>

#include "core/File.h"
#include "core/Progress.h"
#include "core/Stream.h"
#include "engine/Storage.h"
#include "graphics/formats/JPEGFile.h"
#include "web/html/LinkHREF.h"

SMART_DEFINE(ImageMap, "ImageMap", nullptr, nullptr, htmlElement)

const PersistentType ImageMap::persistentType(&ImageMap::classInfo, MakeVersion(1), MakeVersion(1), &ImageMap::ReadNew);

static_assert(sizeof(Rect) == 16, "a stored rectangle is four 32-bit values");

ImageMap::ImageMap(SmartRef<Image> picture) : picture(std::move(picture)), links(&LinkHREF::classInfo) {}

ImageMap::ImageMap(ArchiveBlock& block) : links(&LinkHREF::classInfo) {
  if (block.IsSkipping()) return;
  picture = CastSmart<Image>(block.GetArchive()->ReadObject());
  {
    ArchiveBlock arrayBlock(block, &GenericArray::persistentType);
    rectangles = GenericArray(sizeof(Rect), arrayBlock);
  }
  if (SmartRef<ListData> stored = ReadListData(block)) links = List(stored);
}

Persistent* ImageMap::ReadNew(Archive* archive) { return ReadFromBlock<ImageMap>(archive, &persistentType); }

void ImageMap::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  if (block.IsSkipping()) return;
  WritePersistent(block, ~picture);
  {
    ArchiveBlock arrayBlock(block, &GenericArray::persistentType);
    rectangles.WriteBody(arrayBlock);
  }
  WritePersistent(block, ~links.GetData());
}

void ImageMap::AddLink(Rect rectangle, LinkHREF* link) {
  rectangles.Insert(&rectangle, rectangles.NumItems(), 1);
  links.Append(link);
}

void ImageMap::Emit(SmartRef<FileReference> folder, const String& baseName, List files, Stream& out) {
  Progress progress(2, "Compilation de pages");
  progress.SetCaption("Compilation de JPEG");
  std::string name;
  SmartRef<File> file = CreateNumberedFile(*folder, baseName, *JPEGFile::fileType, files, &name);
  SmartRef<JPEGFile> scribe = new JPEGFile(~file);
  scribe->Write(SmartRef<Smart>(~picture));
  file->SetLength(file->GetPosition());
  file->Close();
  progress.SetCaption("Compilation du fichier HTML");

  WriteHTML(out, "<IMG BORDER=0 SRC = \"");
  WriteEscapedHTML(out, name.data(), name.size());
  WriteHTML(out, "\" ALT = \"");
  WriteEscapedHTML(out, name.data(), name.size());
  WriteHTML(out, "\" USEMAP = \"#");
  WriteEscapedHTML(out, baseName);
  WriteHTML(out, "\">");
  WriteHTML(out, gHTMLLineEnd);
  WriteMap(folder, baseName, files, out);
}

namespace {

// " HREF=" and the target in double quotes.
void WriteHrefPart(Stream& out, const std::string& href) {
  WriteHTML(out, " HREF=\"");
  WriteEscapedHTML(out, href.data(), href.size());
  WriteHTML(out, "\"");
}

// What the link's element writes, in memory: a page link's address, or the file a sound link wrote.
std::string EmittedHref(LinkHREF& link, SmartRef<FileReference> folder, const String& baseName, List files) {
  SmartRef<MemoryStream> href = new MemoryStream();
  link.Emit(folder, baseName, files, *href);
  return std::string(reinterpret_cast<const char*>(href->GetMemory().GetData()), href->GetLength());
}

}  // namespace

void ImageMap::WriteMap(SmartRef<FileReference> folder, const String& baseName, List files, Stream& out) {
  WriteHTML(out, "<MAP NAME = \"");
  WriteEscapedHTML(out, baseName);
  WriteHTML(out, "\">");
  WriteHTML(out, gHTMLLineEnd);

  SmartRef<MemoryStream> bar = new MemoryStream();
  std::vector<std::string> captions;
  const std::int32_t count = rectangles.NumItems();
  Progress progress(static_cast<std::uint32_t>(count), "Compilation de liens");
  for (std::int32_t i = 1; i <= count; ++i) {
    progress.Step();
    auto* link = CastSmart<LinkHREF>(i <= links.NumItems() ? links.At(i) : nullptr);
    if (link == nullptr) continue;
    // A link that leads nowhere would be an area that does nothing, and a bar entry that reloads the page.
    const std::string href = EmittedHref(*link, folder, baseName, files);
    if (href.empty()) continue;
    const Rect r = *static_cast<const Rect*>(rectangles.At(i));
    const std::string coords = std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                               std::to_string(r.right) + "," + std::to_string(r.bottom);
    WriteHTML(out, "<AREA SHAPE=\"RECT\" COORDS=\"");
    WriteHTML(out, coords.c_str());
    WriteHTML(out, "\"");
    WriteHrefPart(out, href);
    WriteHTML(out, ">");
    WriteHTML(out, gHTMLLineEnd);

    // Every sound is "Son": those entries stay apart, while other captions appear once.
    const std::string caption = TextOf(link->GetCaption());
    if (caption != "Son") {
      bool seen = false;
      for (const std::string& earlier : captions) seen = seen || earlier == caption;
      if (seen) continue;
    }
    captions.push_back(caption);
    if (captions.size() > 1) WriteHTML(*bar, " | ");
    WriteHTML(*bar, "<A");
    WriteHrefPart(*bar, href);
    WriteHTML(*bar, ">");
    WriteEscapedHTML(*bar, caption.data(), caption.size());
    WriteHTML(*bar, "</A>");
  }

  WriteHTML(out, "</MAP>");
  WriteHTML(out, gHTMLLineEnd);
  if (captions.empty()) return;
  WriteHTML(out, "<HR>");
  WriteHTML(out, gHTMLLineEnd);
  WriteHTML(out, "<CENTER> [ ");
  out.Write(bar->GetMemory().GetData(), bar->GetLength());
  WriteHTML(out, " ] </CENTER>");
  WriteHTML(out, gHTMLLineEnd);
}
