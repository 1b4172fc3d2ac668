// The engine's classes of the document numbering (see support/GenericTypeRows.h).
#include "support/GenericTypeRows.h"

#include "core/FileReference.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "engine/geometry/CXform.h"
#include "engine/geometry/PathPoint.h"
#include "engine/links/CFrameIndex.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/kinds/CMovieVideo.h"
#include "engine/links/CLink.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "engine/movie/CMovie.h"
#include "engine/page/CDelta.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/sprites/CSprite.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"

namespace {

SmartRef<Smart> MakeResource() {
  SmartRef<CResource> resource = new CResource(SmartRef<Smart>(new String("Bonjour")));
  resource->SetBounds(1, 2, 60, 20);
  return resource;
}

SmartRef<Smart> MakePathPoint() {
  SmartRef<PathPoint> point = new PathPoint();
  point->offset = Point(12, -3);
  point->xform = new CXform({0, 0, 10, 10}, {100, 100, 120, 130});
  return point;
}

// The movie part alone, as each kind's block holds it.
class MoviePart : public CMovie {
 public:
  MoviePart() : CMovie({0, 0, 40, 30}) {}
  SmartRef<CMovie> ExtractFrames(std::int16_t, std::int16_t, bool) override { return nullptr; }
};

SmartRef<Smart> MakeMoviePart() {
  SmartRef<CMovie> movie = new MoviePart();
  movie->InsertFrames(1, 1, true, false);
  movie->GetFrameIndex()->FindMark(1, true)->GetLabel().Set("fin");
  return movie;
}

// The resource part alone, as the picture and text movies' blocks hold it.
class ResourcePart : public CMovieRes {
 public:
  ResourcePart() : CMovieRes(CastSmart<CResource>(~MakeResource()), {0, 0, 60, 20}) {}
  SmartRef<CMovie> ExtractFrames(std::int16_t, std::int16_t, bool) override { return nullptr; }
};

SmartRef<Smart> MakePictureMovie() {
  SmartRef<BitMap> picture = new BitMap(6, 4, ColorTable::GetStandard(8));
  SmartRef<CResource> resource = new CResource(SmartRef<Smart>(~picture));
  SmartRef<CMovie> movie = new CMoviePic(~resource);
  movie->InsertFrames(1, 2, false, false);
  return movie;
}

// Its box is the text's own measure, which reading takes again.
SmartRef<Smart> MakeTextMovie() {
  SmartRef<String> text = new String("Bonjour");
  Point size;
  text->Measure(size, 80);
  SmartRef<CResource> resource = new CResource(SmartRef<Smart>(~text));
  resource->SetBounds(0, 0, 80, size.y);
  return SmartRef<Smart>(new CMovieText(~resource, {0, 0, 80, size.y}));
}

// No movie kind the numbering holds reads back yet, so the sprite is one read from a block this program
// cannot read: no movie and no frames, only what it is given afterwards.
SmartRef<Smart> MakeSprite() {
  SmartRef<CSprite> sprite = new CSprite(gNullArchiveBlock());
  sprite->SetName(new String("lutin"));
  sprite->SetStartFrame(4);
  sprite->ToggleBackgroundFlag(true);
  return sprite;
}

SmartRef<Smart> MakeFrameJump() {
  SmartRef<CJumpFrame> jump = new CJumpFrame();
  jump->GetLabel().Set("début"_cp);
  jump->SetFrame(4);
  return jump;
}

SmartRef<Smart> MakeFrameIndex() {
  SmartRef<CFrameIndex> index = new CFrameIndex();
  index->FindMark(0, true)->GetLabel().Set("un");
  index->FindMark(3, true)->GetLabel().Set("deux");
  return index;
}

SmartRef<Smart> MakeLink() {
  SmartRef<CLink> link = new CLink();
  link->SetJump(new CJumpMovie(FileReference()));
  link->SetKind(CLink::kPageWithReturn);
  link->SetMode(1);
  return link;
}

// A group of two frames showing a picture.
SmartRef<Smart> MakeGroup() {
  SmartRef<CMovieGroup> group = new CMovieGroup(Rect{0, 0, 80, 60});
  const SmartRef<CMovie> picture = CastSmart<CMovie>(~MakePictureMovie());
  group->AddMovieAsSprite(0, 2, ~picture);
  return group;
}

SmartRef<Smart> MakePage() {
  SmartRef<CShow> page = new CShow(CastSmart<CMovieGroup>(~MakeGroup()), false);
  page->SetFrameRate(7);
  return page;
}

const GenericTypeRows engineRows{
    {4, &MakeGroup},
    {8, &MakePage},
    {18, [] { return SmartRef<Smart>(new CDelta(*CastSmart<CShow>(~MakePage()))); }},
    {3, &MakeSprite},
    {7, &MakeMoviePart, false},
    {9, &MakeFrameJump},
    {10, [] { return SmartRef<Smart>(new CJumpMovie(FileReference())); }},
    {12, &MakeFrameIndex},
    {15, &MakeLink},
    {22, [] { return SmartRef<Smart>(new CJump()); }},
    {14, &MakeResource},
    {16, [] { return SmartRef<Smart>(new CXform({0, 0, 100, 50}, {10, 10, 210, 110})); }},
    {20, [] {
       return SmartRef<Smart>(new CStamp(SmartRef<BitMap>(new BitMap(4, 3, ColorTable::GetStandard(8))), Color(0)));
     }},
    {24, &MakePathPoint},
    {5, &MakePictureMovie},
    {13, &MakeTextMovie},
    {21, [] { return SmartRef<Smart>(new CMovieVideo({0, 0, 40, 30})); }},
    {23, [] { return SmartRef<Smart>(new ResourcePart()); }, false},
};

}  // namespace
