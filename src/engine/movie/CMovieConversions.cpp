// The objects that become movies where a movie is wanted: a picture becomes a one-frame picture movie, a
// sound a one-frame movie of the sound picture playing it, a text a one-frame text movie of its own size,
// a page its own movie. A movie goes back to a picture as the picture of its frame 0.
#include "core/Resources.h"
#include "core/Sound.h"
#include "core/String.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/media/CResource.h"
#include "engine/movie/CMovie.h"
#include "engine/page/CShow.h"
#include "graphics/Image.h"
#include "graphics/formats/ImageResource.h"
#include "graphics/bitmaps/BitMap.h"

namespace {

// The stock picture shown for sounds.
constexpr int kSoundPicture = 1;

bool FromImage(SmartRef<Smart>* slot) {
  if (CastSmart<Image>(~*slot) == nullptr) return false;
  const SmartRef<CResource> resource = new CResource(*slot);
  *slot = new CMoviePic(~resource);
  return true;
}

// Back from a movie: the picture of its frame 0.
bool ToImage(SmartRef<Smart>* slot) {
  auto* movie = CastSmart<CMovie>(~*slot);
  if (movie == nullptr) return false;
  const SmartRef<BitMap> picture = movie->MakeImage();
  *slot = picture;
  return true;
}

bool FromSound(SmartRef<Smart>* slot) {
  auto* sound = CastSmart<Sound>(~*slot);
  if (sound == nullptr) return false;
  const SmartRef<BitMap> picture = stockResources.GetImageResource(kSoundPicture)->Get();
  const SmartRef<CResource> resource = new CResource(SmartRef<Smart>(~picture));
  const SmartRef<CMovie> movie = new CMoviePic(~resource);
  movie->SetSound(0, 1, sound);
  *slot = movie;
  return true;
}

bool FromString(SmartRef<Smart>* slot) {
  auto* text = CastSmart<String>(~*slot);
  if (text == nullptr) return false;
  Point size;
  text->Measure(size, 0);
  const SmartRef<CResource> resource = new CResource(*slot);
  *slot = new CMovieText(~resource, {0, 0, size.x, size.y});
  return true;
}

bool FromShow(SmartRef<Smart>* slot) {
  auto* page = CastSmart<CShow>(~*slot);
  if (page == nullptr) return false;
  *slot = SmartRef<Smart>(page->GetMovieGroup());
  return true;
}

const ClassConversion kMovieConversions[] = {{&Image::classInfo, &FromImage, &ToImage},
                                             {&Sound::classInfo, &FromSound, nullptr},
                                             {&String::classInfo, &FromString, nullptr},
                                             {&CShow::classInfo, &FromShow, nullptr},
                                             {nullptr, nullptr, nullptr}};

const ClassInfo* const CMovie_parents[] = {&Persistent::classInfo, &SmartImplementation::classInfo, nullptr};

}  // namespace

const ClassInfo CMovie::classInfo = {"CMovie", CMovie_parents, &SmartBaseOf<CMovie>, nullptr, kMovieConversions,
                                     sizeof(CMovie)};

void* CMovie::CastTo(const ClassInfo* info) {
  return smart_detail::CastThrough<CMovie, Persistent, SmartImplementation>(this, info);
}

SmartRef<CShow> CMovie::MakeShow() { return new CShow(this, false); }
