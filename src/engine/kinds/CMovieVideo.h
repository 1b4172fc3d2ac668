// The movie kind kept for video clips, and the track that would play one. This program plays no video:
// pages that hold video movies read, write and play, their frames show a placeholder or nothing, and the
// user is told once that video is missing.
#pragma once

#include <array>
#include <cstdint>

#include "engine/movie/CMovie.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Image.h"
#include "sound/Track.h"

class Video : public Track, public ImageChannel, public SmartImplementation {
  SMART_CLASS(Video)
 public:
  Video(DisplayDevice* device, Smart* frameObject);
  Video(const Video& other);
  Video& operator=(const Video& other);

  void DrawInto(DisplayPort& port, const Rect& rect);
  bool IsFrameReady();
  bool DrawOffScreen(const Rect& rect);
  SmartRef<Smart> GetCurrentFrameObject();

  bool Play(bool argument) override;
  // Never: play lists drop a video at their next prune.
  bool IsPlaying() override;
  void Stop() override;
  void SubtractCovered(DisplayDevice* device, Area& area) override;
  void Draw(DisplayPort& port, const Area& area) override;
  void GetBounds(Rect* bounds) const override;
};

class CMovieVideo : public CMovie {
  SMART_CLASS(CMovieVideo)
 public:
  static const PersistentType persistentType;

  // One frame over the bounds. No command makes one: video movies come from files and copies.
  explicit CMovieVideo(const Rect& rect) : CMovie(rect) {}
  CMovieVideo(const CMovieVideo& other);
  CMovieVideo& operator=(const CMovieVideo& other);
  CMovieVideo(CMovieVideo& source, std::int16_t start, std::int16_t count, bool cut);
  explicit CMovieVideo(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  bool DrawFrame(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background) override;
  bool CanDrawDirect(CXform*) override { return true; }
  bool HasStableImages() override { return false; }
  bool DrawFrameTransformed(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background) override;
  bool FramesDiffer(std::int16_t, std::int16_t) override { return false; }
  bool PrepareFrame(std::int16_t frame) override;
  // The frame's sound, then the video.
  void CollectTracks(std::int16_t frame, CTrackList& list, std::uint32_t key) override;
  bool CheckFrame(CXform* xform, std::int16_t frame, Smart* object, std::int32_t a, std::int32_t b) override;
  SmartRef<Smart> GetFrameObject(std::int16_t frame) override;
  SmartRef<CMovie> ExtractFrames(std::int16_t start, std::int16_t count, bool cut) override;

  // The clip's track, made on first need; null while the no-video flag is set.
  Video* GetVideo();
  void SetNoVideo(bool flag) { noVideo = flag; }

 private:
  SmartRef<Smart> frameObject;
  SmartRef<Video> video;
  SmartRef<DisplayDevice> device;
  std::array<std::int32_t, 4> values{};
  bool noVideo = false;
};
