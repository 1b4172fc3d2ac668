// The targets of links: a frame of the same page named by a label (also a movie's frame mark and a
// return frame of the playback history), or another page named by its file.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/FileReference.h"
#include "core/String.h"

class CJump : public Persistent, public SmartImplementation {
  SMART_CLASS(CJump)
 public:
  static const PersistentType persistentType;

  CJump() = default;
  CJump(const CJump& other) = default;
  CJump& operator=(const CJump& other) = default;

  // A bare jump has nothing to store: reading or writing one is a notice.
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
};

class CJumpFrame : public CJump {
  SMART_CLASS(CJumpFrame)
 public:
  static const PersistentType persistentType;

  CJumpFrame() = default;
  CJumpFrame(const CJumpFrame& other) = default;
  CJumpFrame& operator=(const CJumpFrame& other) = default;
  // The label and the frame; blocks of older files stored neither.
  explicit CJumpFrame(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  std::int16_t GetFrame() const { return frame; }
  // A negative frame stores 0.
  void SetFrame(std::int16_t newFrame) { frame = newFrame < 0 ? 0 : newFrame; }
  // The label itself: callers may change it in place.
  String& GetLabel() { return label; }
  const String& GetLabel() const { return label; }

 private:
  String label;
  std::int16_t frame = 0;
};

class CJumpMovie : public CJump {
  SMART_CLASS(CJumpMovie)
 public:
  static const PersistentType persistentType;

  // The jump keeps a copy of the reference.
  explicit CJumpMovie(const FileReference& target);
  // Copies share the file reference.
  CJumpMovie(const CJumpMovie& other) = default;
  CJumpMovie& operator=(const CJumpMovie& other) = default;
  explicit CJumpMovie(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // The target page file. A jump without one asks the user once for a page document; after a cancel it
  // holds an empty reference.
  FileReference* GetFile();
  // Makes sure the file can be found, asking the user to look for a missing one: true when the user
  // gave up looking.
  bool Locate();

 private:
  SmartRef<FileReference> file;
};
