#include "engine/links/CFrameIndex.h"

#include <algorithm>
#include <vector>

#include "core/Format.h"
#include "engine/EngineNotices.h"
#include "engine/Storage.h"

SMART_DEFINE(CFrameIndex, "CFrameIndex", &CreateDefault<CFrameIndex>, nullptr, Persistent, SmartImplementation)

const PersistentType CFrameIndex::persistentType(&CFrameIndex::classInfo, MakeVersion(2), MakeVersion(2),
                                                 &CFrameIndex::ReadNew);

namespace {
[[maybe_unused]] const bool gFrameIndexRegistered = (RegisterGenericType(12, &CFrameIndex::persistentType), true);
}  // namespace

CFrameIndex::CFrameIndex(const CFrameIndex& other)
    : Smart(), Persistent(other), SmartImplementation(other),
      marks(other.marks->CloneRange(1, other.marks.NumItems())) {}

// Only marks are kept, in frame order, whatever the file holds: every lookup relies on both.
CFrameIndex::CFrameIndex(ArchiveBlock& block) {
  const SmartRef<ListData> stored = ReadListData(block);
  if (!stored) return;
  std::vector<CJumpFrame*> found;
  for (std::int32_t i = 1; i <= stored->NumItems(); ++i)
    if (CJumpFrame* mark = CastSmart<CJumpFrame>(stored->At(i))) found.push_back(mark);
  std::stable_sort(found.begin(), found.end(),
                   [](const CJumpFrame* a, const CJumpFrame* b) { return a->GetFrame() < b->GetFrame(); });
  for (CJumpFrame* mark : found) marks.Append(mark);
}

Persistent* CFrameIndex::ReadNew(Archive* archive) { return ReadFromBlock<CFrameIndex>(archive, &persistentType); }

void CFrameIndex::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WritePersistent(block, ~marks.GetData());
}

CJumpFrame* CFrameIndex::GetMark(std::int32_t i) const { return CastSmart<CJumpFrame>(marks.At(i)); }

bool CFrameIndex::IsMark(const CJump* jump) const {
  return jump != nullptr && marks.IndexOf(static_cast<const Smart*>(jump)) != 0;
}

CJumpFrame* CFrameIndex::FindMark(std::int16_t frame, bool create) {
  if (frame < 0) frame = 0;
  std::int32_t i = marks.NumItems();
  for (; i >= 1; --i) {
    CJumpFrame* mark = GetMark(i);
    if (mark->GetFrame() == frame) return mark;
    if (mark->GetFrame() < frame) break;
  }
  if (!create) return nullptr;
  const SmartRef<CJumpFrame> made = new CJumpFrame();
  made->SetFrame(frame);
  marks.Insert(~made, i);
  return ~made;
}

String* CFrameIndex::GetLabelAtFrame(std::int16_t frame) {
  CJumpFrame* mark = FindMark(frame, false);
  return mark ? &mark->GetLabel() : nullptr;
}

std::int16_t CFrameIndex::FindLabel(const String& label) const {
  for (std::int32_t i = 1; i <= marks.NumItems(); ++i)
    if (GetMark(i)->GetLabel() == label) return GetMark(i)->GetFrame();
  return kNoFrame;
}

std::int16_t CFrameIndex::ResolveJump(SmartRef<CJump>* jump) {
  CJumpFrame* wanted = CastSmart<CJumpFrame>(~*jump);
  if (wanted && IsMark(wanted)) return wanted->GetFrame();
  if (wanted) {
    for (std::int32_t i = 1; i <= marks.NumItems(); ++i) {
      CJumpFrame* mark = GetMark(i);
      if (mark->GetLabel() == wanted->GetLabel()) {
        *jump = mark;
        return mark->GetFrame();
      }
    }
  }
  PostEngineNotice(kNoticeMarkNotFound);
  return kNoFrame;
}

void CFrameIndex::RebindJump(CFrameIndex*, SmartRef<CJump>* jump) {
  const CJumpFrame* wanted = CastSmart<CJumpFrame>(~*jump);
  if (wanted == nullptr || IsMark(wanted)) return;
  const std::int16_t frame = FindLabel(wanted->GetLabel());
  if (frame != kNoFrame) *jump = FindMark(frame, false);
}

void CFrameIndex::ShiftMarks(std::int16_t at, std::int16_t count) {
  for (std::int32_t i = 1; i <= marks.NumItems(); ++i) {
    CJumpFrame* mark = GetMark(i);
    if (static_cast<std::uint16_t>(mark->GetFrame()) >= static_cast<std::uint16_t>(at))
      mark->SetFrame(static_cast<std::int16_t>(mark->GetFrame() + count));
  }
}

void CFrameIndex::DeleteMarks(std::int16_t at, std::int16_t count) {
  const std::int32_t end = std::int32_t{at} + count;
  for (std::int32_t i = marks.NumItems(); i >= 1; --i) {
    CJumpFrame* mark = GetMark(i);
    if (mark->GetFrame() >= end)
      mark->SetFrame(static_cast<std::int16_t>(mark->GetFrame() - count));
    else if (mark->GetFrame() >= at)
      marks->Remove(i, 1);
  }
}

// The other's marks go in from its last to its first, each after the last mark not beyond it: marks on
// one frame keep their order, the other's after this index's own.
void CFrameIndex::InsertMarks(const CFrameIndex& other, std::int16_t offset) {
  std::int32_t place = marks.NumItems();
  for (std::int32_t i = other.marks.NumItems(); i >= 1; --i) {
    const SmartRef<CJumpFrame> copy = CastSmart<CJumpFrame>(other.GetMark(i)->Clone());
    copy->SetFrame(static_cast<std::int16_t>(copy->GetFrame() + offset));
    while (place >= 1 && GetMark(place)->GetFrame() > copy->GetFrame()) --place;
    marks.Insert(~copy, place);
  }
}

void CFrameIndex::AppendCopy(const CJumpFrame& mark, std::int16_t offset) {
  const SmartRef<CJumpFrame> copy = CastSmart<CJumpFrame>(mark.Clone());
  copy->SetFrame(static_cast<std::int16_t>(copy->GetFrame() + offset));
  marks.Append(~copy);
}
