#include "engine/kinds/CMovieVideo.h"

#include "core/Exception.h"
#include "core/Format.h"
#include "engine/geometry/CXform.h"
#include "engine/tracks/CTrackList.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"

SMART_DEFINE(Video, "Video", nullptr, nullptr, Track, ImageChannel)
SMART_DEFINE(CMovieVideo, "CMovieVideo", nullptr, nullptr, CMovie)

const PersistentType CMovieVideo::persistentType(&CMovieVideo::classInfo, MakeVersion(1), MakeVersion(2),
                                                 &CMovieVideo::ReadNew);

namespace {

[[maybe_unused]] const bool gMovieVideoRegistered = (RegisterGenericType(21, &CMovieVideo::persistentType), true);

// A page with a video asks for it at every frame: the user hears of the missing video once.
void ReportNoVideo() { NOT_IMPLEMENTED(); }

}  // namespace

Video::Video(DisplayDevice* device, Smart*) : ImageChannel(device) { ReportNoVideo(); }

Video::Video(const Video& other) : Smart(), Track(other), ImageChannel(other.GetDevice()), SmartImplementation(other) {}

Video& Video::operator=(const Video& other) {
  SetDevice(other.GetDevice());
  return *this;
}

void Video::DrawInto(DisplayPort&, const Rect&) { ReportNoVideo(); }

bool Video::IsFrameReady() {
  ReportNoVideo();
  return false;
}

bool Video::DrawOffScreen(const Rect&) {
  ReportNoVideo();
  return false;
}

SmartRef<Smart> Video::GetCurrentFrameObject() {
  ReportNoVideo();
  return nullptr;
}

bool Video::Play(bool) {
  ReportNoVideo();
  return false;
}

bool Video::IsPlaying() {
  ReportNoVideo();
  return false;
}

void Video::Stop() { ReportNoVideo(); }

void Video::SubtractCovered(DisplayDevice*, Area&) { ReportNoVideo(); }

void Video::Draw(DisplayPort&, const Area&) { ReportNoVideo(); }

void Video::GetBounds(Rect*) const { ReportNoVideo(); }

CMovieVideo::CMovieVideo(const CMovieVideo& other)
    : Smart(), CMovie(other), device(other.device), values(other.values), noVideo(other.noVideo) {}

CMovieVideo& CMovieVideo::operator=(const CMovieVideo& other) {
  TakeMovieData(other);
  device = other.device;
  values = other.values;
  noVideo = other.noVideo;
  return *this;
}

CMovieVideo::CMovieVideo(CMovieVideo& source, std::int16_t start, std::int16_t count, bool cut)
    : Smart(), CMovie(source, start, count, cut), device(source.device), values(source.values),
      noVideo(source.noVideo) {}

CMovieVideo::CMovieVideo(ArchiveBlock& block) : Smart(), CMovie(block) {}

Persistent* CMovieVideo::ReadNew(Archive* archive) { return ReadFromBlock<CMovieVideo>(archive, &persistentType); }

void CMovieVideo::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteMoviePart(block);
}

Video* CMovieVideo::GetVideo() {
  if (!video && !noVideo) video = new Video(~device, ~frameObject);
  return ~video;
}

bool CMovieVideo::DrawFrame(DisplayPort& port, CXform* xform, std::int16_t frame, const Color&) {
  if (xform == hiddenFrameXform) return true;
  Rect rect;
  GetFrameBounds(&rect, frame);
  rect = MapFrameRect(rect, xform);
  if (Video* clip = GetVideo()) {
    clip->DrawInto(port, rect);
    return true;
  }
  port.DrawRect(rect, standardColors[kTransparentColor], standardColors[1]);
  return false;
}

bool CMovieVideo::DrawFrameTransformed(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background) {
  if (!video || xform == hiddenFrameXform) return CMovie::DrawFrameTransformed(port, xform, frame, background);
  Rect rect;
  GetFrameBounds(&rect, frame);
  rect = MapFrameRect(rect, xform);
  video->GetBounds(&rect);
  video->Draw(port, Area(rect));
  return true;
}

bool CMovieVideo::PrepareFrame(std::int16_t) {
  Video* clip = GetVideo();
  return clip != nullptr && clip->IsFrameReady();
}

void CMovieVideo::CollectTracks(std::int16_t frame, CTrackList& list, std::uint32_t key) {
  CMovie::CollectTracks(frame, list, key);
  // Under the movie's own key the video would replace the frame's sound; one key within it keeps both,
  // and still goes when the movie's tracks and those within them are dropped.
  if (Video* clip = GetVideo()) list.Add(CTrackList::ChildKey(key, 0, 1), clip);
}

bool CMovieVideo::CheckFrame(CXform* xform, std::int16_t frame, Smart*, std::int32_t, std::int32_t) {
  if (!video) return false;
  if (xform == hiddenFrameXform) return true;
  Rect rect;
  GetFrameBounds(&rect, frame);
  return video->DrawOffScreen(MapFrameRect(rect, xform));
}

SmartRef<Smart> CMovieVideo::GetFrameObject(std::int16_t) {
  if (video) frameObject = video->GetCurrentFrameObject();
  return frameObject;
}

SmartRef<CMovie> CMovieVideo::ExtractFrames(std::int16_t start, std::int16_t count, bool cut) {
  return new CMovieVideo(*this, start, count, cut);
}
