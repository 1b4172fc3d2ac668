// The drag of a sprite's corner on the stage: the grabbed side follows the pointer while the opposite
// corner stays put, never closer than 4 pixels to it (the sprite never flips); with Shift the frame keeps
// its proportions and snaps back to its starting size within 15 pixels of it; a text is re-laid into the
// new box instead of being stretched. Everything else is the move's: records, outlines, writing, undo.
#pragma once

#include "editor/stage/CMoveTask.h"

class CScaleTask : public CMoveTask {
  SMART_ABSTRACT(CScaleTask)
 public:
  // The modifier bits a scale reads besides Shift: the editor's mouse events never carry them, so the
  // corner is always fixed and a text is always re-laid.
  enum : std::int32_t { kModifierFreeCorner = 2, kModifierStretchText = 8 };

  CScaleTask(CHAPane* pane, DisplayDevice* device, std::int16_t spriteIndex, bool recordFrames);
  CScaleTask(const CScaleTask& other) = default;
  Smart* Clone() const override { return new CScaleTask(*this); }
  bool CanCopyFrom(Smart* source) override;
  void CopyFrom(Smart* source) override;

  void Begin(Point& anchor, std::int32_t modifiers) override;
  void End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;
  void Undo() override;

  // The box the drag gives: `from` (around the fixed point) stretched so that the grabbed sides reach
  // the pointer, applied to `box` (around its place).
  static Rect ScaleRect(std::int32_t dirX, std::int32_t dirY, const Point& pointer, const Point& fixed,
                        const Point& place, const Rect& from, const Rect& box);

  bool IsTextBox() const { return scaleFlags & kTextBox; }

 protected:
  void ApplyToFrame(CSprite* target, std::int16_t f, const Rect& from, const Rect& to) override;
  void FitToRect(CSprite* target, std::int16_t f, const Rect& to) override;
  void DrawMoved(DisplayPort& port, const Rect& oldRect, const Rect& newRect) override;
  void MoveBy(const Point& point, std::int32_t modifiers) override;
  Area PrepareFrame(const Rect& given) override;
  void Constrain(Point& point, const Point& anchor, std::int32_t modifiers) override;
  void CaptureImage() override;

 private:
  static constexpr std::uint8_t kTextBox = 1;
  static constexpr std::uint8_t kBegun = 2;
  static constexpr std::uint8_t kFixedCorner = 4;

  Rect frameRect;
  std::uint8_t scaleFlags = 0;
  std::int32_t dirX = 1;
  std::int32_t dirY = -1;
  Point savedOrigin;
  std::int16_t savedFrame = 0;
  Rect startBox;
  Rect beginRect;
  Point fixedPoint;
};
