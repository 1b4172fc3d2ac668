// The objects that become sprites where a sprite is wanted (a list of sprites being pasted into, for one):
// a sound becomes a sprite of the sound picture that plays it, a movie a sprite showing it, and a web
// address a link button leading to it.
#include "core/Resources.h"
#include "core/Sound.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/links/CLink.h"
#include "engine/media/CResource.h"
#include "engine/sprites/CSprite.h"
#include "graphics/formats/ImageResource.h"
#include "graphics/Image.h"

SmartRef<Image> linkButtonPicture;

namespace {

constexpr SourceName kSource("CSprite");

// Stock pictures: the one shown for sounds, and the default link button.
constexpr int kSoundPicture = 1;
constexpr int kLinkButtonPicture = 4;

// The web address class is the web library's, so its entry has no source until that library names it;
// till then the list ends before it.
constexpr std::size_t kAddressEntry = 2;
ClassConversion kSpriteConversions[] = {
    {&Sound::classInfo, &CSprite::FromSound, nullptr},
    {&CMovie::classInfo, &CSprite::FromMovie, nullptr},
    {nullptr, &CSprite::FromLinkHREF, nullptr},
    {nullptr, nullptr, nullptr},
};

// A sprite at frame 0 over a one-frame picture movie of the picture, at the picture's place.
SmartRef<CSprite> PictureSprite(Smart* picture) {
  const SmartRef<CResource> resource = new CResource(SmartRef<Smart>(picture));
  const SmartRef<CMovie> movie = new CMoviePic(~resource);
  return new CSprite(0, movie, movie->GetBounds());
}

}  // namespace

SMART_COPY_CHECK_AT(CSprite, kSource.Line(132));
SMART_DEFINE(CSprite, "CSprite", nullptr, kSpriteConversions, Persistent, SmartImplementation)

void CSprite::SetAddressClass(const ClassInfo* addressClass) { kSpriteConversions[kAddressEntry].source = addressClass; }

bool CSprite::FromMovie(SmartRef<Smart>* slot) {
  CMovie* shown = CastSmart<CMovie>(~*slot);
  if (shown == nullptr) return false;
  *slot = SmartRef<Smart>(new CSprite(0, shown, shown->GetBounds()));
  return true;
}

bool CSprite::FromSound(SmartRef<Smart>* slot) {
  auto* sound = CastSmart<Sound>(~*slot);
  if (sound == nullptr) return false;
  const SmartRef<BitMap> picture = stockResources.GetImageResource(kSoundPicture)->Get();
  const SmartRef<CSprite> sprite = PictureSprite(~picture);
  sprite->SetSound(0, 1, sound);
  *slot = sprite;
  return true;
}

bool CSprite::FromLinkHREF(SmartRef<Smart>* slot) {
  const ClassInfo* addressClass = kSpriteConversions[kAddressEntry].source;
  auto* address = CastSmart<Persistent>(~*slot);
  if (addressClass == nullptr || CastSmart(address, addressClass) == nullptr) return false;
  *slot = MakeLinkSprite(address);
  return true;
}

SmartRef<CSprite> CSprite::MakeLinkSprite(Persistent* address) {
  SmartRef<Smart> picture = linkButtonPicture;
  if (!picture) picture = stockResources.GetImageResource(kLinkButtonPicture)->Get();
  const SmartRef<CSprite> sprite = PictureSprite(~picture);
  const SmartRef<CLink> link = new CLink();
  link->SetHref(address);
  sprite->SetLink(0, 1, ~link);
  return sprite;
}
