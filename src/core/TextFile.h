// The smallest file format: a whole file read into one text or written from one.
#pragma once

#include "core/File.h"
#include "core/FileType.h"

class TextFile : public File {
  SMART_ABSTRACT(TextFile)
 public:
  TextFile(FileReference* reference, int mode) : File(reference, mode) {}

  // "Fichier de texte", 'TEXT', extension txt.
  static SmartRef<FileType> fileType;
};
