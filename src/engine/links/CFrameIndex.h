// The named marks of a movie's frames, kept in frame order. Frame links find their target frame here by
// label, so that a jump still reaches its frame after frames are inserted or deleted.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/ListData.h"
#include "engine/links/CJump.h"

class CFrameIndex : public Persistent, public SmartImplementation {
  SMART_CLASS(CFrameIndex)
 public:
  static const PersistentType persistentType;
  static constexpr std::int16_t kNoFrame = -1;  // 0xFFFF

  CFrameIndex() = default;
  // A clone holds clones of the marks; CopyFrom shares the other index's marks.
  CFrameIndex(const CFrameIndex& other);
  CFrameIndex& operator=(const CFrameIndex& other) = default;
  explicit CFrameIndex(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  std::int32_t NumMarks() const { return marks.NumItems(); }
  // The i-th mark (1-based), null when there is none.
  CJumpFrame* GetMark(std::int32_t i) const;
  // The mark on the frame; with the create flag a missing one is made, unnamed, in its place in the order.
  CJumpFrame* FindMark(std::int16_t frame, bool create);
  String* GetLabelAtFrame(std::int16_t frame);
  // The frame of the first mark with the label, or kNoFrame.
  std::int16_t FindLabel(const String& label) const;
  // The frame the jump leads to: its own frame when it is one of these marks, else that of the first mark
  // of its label, which then takes the jump's place. kNoFrame (and an engine notice) when none matches.
  std::int16_t ResolveJump(SmartRef<CJump>* jump);
  // A jump copied from another movie comes to this index's mark of the same label, when there is one.
  void RebindJump(CFrameIndex* other, SmartRef<CJump>* jump);

  // The marks follow their frames when frames are inserted, deleted or pasted.
  void ShiftMarks(std::int16_t at, std::int16_t count);
  void DeleteMarks(std::int16_t at, std::int16_t count);
  void InsertMarks(const CFrameIndex& other, std::int16_t offset);
  // Appends a clone of the mark moved by the offset (for copying a range of frames, which keeps the order).
  void AppendCopy(const CJumpFrame& mark, std::int16_t offset);

 private:
  bool IsMark(const CJump* jump) const;

  List marks{&CJumpFrame::classInfo};
};
