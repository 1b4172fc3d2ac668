// The drag of sprites on the stage. The pressed sprite follows the pointer, drawn from an image captured
// once per frame, and the other selected sprites follow as outlines; the release writes the new placement
// into every frame concerned. With record mode the page's frames advance with time while the child drags:
// each frame left is kept as a record (a clone of the task hung on `next`), so that one drag lays the
// sprite's positions over a run of frames, and one undo takes the whole run back.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "core/ListData.h"
#include "editor/pixels/CMouseTask.h"
#include "engine/sprites/CSprite.h"
#include "platform/kernel/WinTypes.h"

class Area;
class CHAPane;
class CMovieGroup;
class CStamp;
class DisplayDevice;
class DisplayPort;

class CMoveTask : public CMouseTask {
  SMART_ABSTRACT(CMoveTask)
 public:
  enum : std::int32_t { kMoveCode = 1, kScaleCode = 2 };

  // The pressed sprite is the group's sprite at the index; the device is the pane's, which the task
  // draws through the pane instead.
  CMoveTask(CHAPane* pane, DisplayDevice* device, std::int16_t spriteIndex, bool recordFrames,
            std::int32_t code = kMoveCode);
  // Every field, the chain of records included; not the captured image.
  CMoveTask(const CMoveTask& other);
  ~CMoveTask() override;
  Smart* Clone() const override { return new CMoveTask(*this); }
  bool CanCopyFrom(Smart* source) override;
  void CopyFrom(Smart* source) override;

  // The sprites moved together: the stage pane's selection.
  void SetSprites(const List& list);

  void Begin(Point& anchor, std::int32_t modifiers) override;
  void Continue(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;
  void End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;

  void Do() override;
  void Undo() override;
  void Redo() override;

  CHAPane* GetStagePane() const { return ~pane; }
  CSprite* GetSprite() const { return ~sprite; }
  std::int16_t GetFrame() const { return frame; }
  std::int16_t GetFrameCount() const { return frameCount; }
  CMoveTask* GetNext() const { return ~next; }
  const Rect& GetRect() const { return rect; }
  const Rect& GetStartRect() const { return startRect; }

 protected:
  virtual void ApplyToFrame(CSprite* target, std::int16_t f, const Rect& from, const Rect& to);
  virtual void FitToRect(CSprite* target, std::int16_t f, const Rect& to);
  virtual void ApplyToSprite(CSprite* target);
  virtual void DrawMoved(DisplayPort& port, const Rect& oldRect, const Rect& newRect);
  virtual void RestoreBackground(DisplayPort& port, const Rect& oldRect, const Rect& newRect);
  virtual void MoveBy(const Point& point, std::int32_t modifiers);
  // Enters `frame`: its placement, image and the page under the sprite; answers the area to repaint.
  virtual Area PrepareFrame(const Rect& given);
  virtual void DrawOutlines(DisplayPort& port);
  virtual void Constrain(Point& point, const Point& anchor, std::int32_t modifiers);
  virtual void CaptureImage();
  virtual void RefreshArea(const Area& area);

  // The frame the drag is on after this pointer event; may grow the page.
  std::int16_t NextFrame();
  // Writes every record into the sprites, the oldest frame first.
  void ApplyChain();
  // Undoes every record of the chain, the newest first.
  void UndoChain();
  bool RecordsFrames() const { return flags & kRecordFrames; }
  // Whether the sprite's movie draws keyed or opaque rather than as it is.
  static bool HasDisplayMode(CMovie* movie);

  Rect startRect;
  Rect rect;
  Point position;
  SmartRef<CHAPane> pane;
  SmartRef<CMovieGroup> movie;
  SmartRef<CSprite> sprite;
  std::int16_t frame = 0;
  SmartRef<CMoveTask> next;
  std::uint8_t flags = 0;
  std::int16_t frameCount = 1;
  DWORD lastTick = 0;
  List sprites{&CSprite::classInfo};
  SmartRef<CStamp> capturedImage;

  static constexpr std::uint8_t kRecordFrames = 1;
  static constexpr std::uint8_t kVisibleAtStart = 2;
};
