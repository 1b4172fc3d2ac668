// The smallest file format: a whole file read into one String or written from one.
#pragma once

#include "core/File.h"
#include "core/FileType.h"
#include "core/ObjectFile.h"

class TextFile : public File, public Scribe {
  SMART_ABSTRACT(TextFile)
 public:
  TextFile(FileReference* reference, int mode) : File(reference, mode) {}

  SMART_NOT_COPYABLE

  using File::Read;
  using File::Write;
  // Replaces the whole file by the String's characters; anything else, or a file opened for reading
  // only, writes nothing.
  void Write(SmartRef<Smart> object) override;
  // A new String holding the whole file.
  void Read(SmartRef<Smart>* object) override;
  bool IsWritable() override { return File::IsWritable(); }
  bool ReadsKindOf(const ClassInfo* info) override;

  // "Fichier de texte", 'TEXT', extension txt.
  static SmartRef<FileType> fileType;
};
