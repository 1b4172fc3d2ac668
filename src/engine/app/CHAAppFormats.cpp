// The files the engine application reads: pictures, sounds and texts besides its own object files, and
// the thumbnails of all of them.
#include "core/Exception.h"
#include "core/File.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "core/TextFile.h"
#include "engine/app/CHAApp.h"
#include "engine/movie/CMovie.h"
#include "graphics/Image.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/BMPFile.h"
#include "graphics/formats/GIFFile.h"
#include "graphics/formats/JPEGFile.h"
#include "graphics/formats/PICTFile.h"

namespace {

template <typename Reader>
SmartRef<Scribe> OverFile(FileReference& file, int mode) {
  SmartRef<File> opened(new File(&file, mode));
  return SmartRef<Scribe>(new Reader(~opened));
}

}  // namespace

SmartRef<Scribe> CHAApp::MakeScribe(FileReference& file, int mode) {
  // The first type whose extension the file has gives the reader.
  if (BMPFile::fileType->Matches(&file)) return OverFile<BMPFile>(file, mode);
  if (WAVEFile::fileType->Matches(&file)) return OverFile<WAVEFile>(file, mode);
  if (AIFFFile::GetFileType().Matches(&file)) return OverFile<AIFFFile>(file, mode);
  if (PICTFile::fileType->Matches(&file)) return OverFile<PICTFile>(file, mode);
  if (JPEGFile::fileType->Matches(&file)) return OverFile<JPEGFile>(file, mode);
  if (GIFFile::fileType->Matches(&file)) return OverFile<GIFFile>(file, mode);
  if (TextFile::fileType->Matches(&file)) return SmartRef<Scribe>(new TextFile(&file, mode));
  return App::MakeScribe(file, mode);
}

List CHAApp::ReaderFileTypes() {
  List types(&FileType::classInfo);
  // Copies: the readers' types are shared objects that no list may count. PICT and AIFF files open but
  // are not offered.
  for (FileType* type : {~BMPFile::fileType, ~JPEGFile::fileType, ~GIFFile::fileType, ~WAVEFile::fileType,
                         ~TextFile::fileType}) {
    types.AppendRef(SmartRef<FileType>(new FileType(*type)));
  }
  return types;
}

List CHAApp::GetFileTypes(int mode) {
  List types = ReaderFileTypes();
  List own = App::GetFileTypes(mode);
  for (std::int32_t i = 1; i <= own.NumItems(); ++i) types.AppendRef(SmartRef<Smart>(own.At(i)));
  return types;
}

SmartRef<Smart> CHAApp::BuildPreview(FileReference& file, std::int32_t width, std::int32_t height) {
  SmartRef<Scribe> scribe = MakeScribe(file, kFileModeRead);
  if (!scribe) return nullptr;
  SmartRef<Smart> picture;
  if (scribe->ReadsKindOf(&Sound::classInfo)) {
    picture = SmartRef<Smart>(stockResources.GetImageData(1));
  } else {
    scribe->ReadPreview(&picture, Point{width, height}, 0);
  }
  if (!picture) {
    SmartRef<Smart> object;
    scribe->Read(&object);
    if (object && ConvertSmart(&object, &Image::classInfo)) {
      picture = object;
    } else if (object && ConvertSmart(&object, &CMovie::classInfo)) {
      picture = SmartRef<Smart>(~CastSmart<CMovie>(~object)->MakeImage());
    }
  }
  Image* image = CastSmart<Image>(~picture);
  if (image == nullptr) return nullptr;
  if (width <= 0 || height <= 0) return picture;
  return SmartRef<Smart>(ImageToBitMapSized(*image, width, height));
}

SmartRef<Smart> CHAApp::MakePreview(FileReference& file, std::int32_t width, std::int32_t height) {
  try {
    return BuildPreview(file, width, height);
  } catch (Exception* exception) {
    // A file that cannot be read has no thumbnail; the browser shows it without one.
    SmartRef<Exception> dropped(exception);
    return nullptr;
  }
}
