// Saving a document that lives in a file: the new version is written to a file beside it, and takes the
// document's place only once the whole save has succeeded and is on the disk. A failure, a full disk, a
// Stop or a power cut leaves the document as it was.
#pragma once

#include <string>

#include "core/File.h"
#include "core/ObjectFile.h"

class FileSaveTarget : public SaveTarget {
 public:
  // The document must be open and named by a path.
  explicit FileSaveTarget(File& document);

  SmartRef<Stream> OpenReplacement() override;
  SmartRef<Stream> Commit(SmartRef<Stream> replacement) override;
  void Discard(SmartRef<Stream> replacement) noexcept override;

  // The file the new version is written to, once OpenReplacement made it.
  const std::string& GetReplacementPath() const { return replacementPath; }

 private:
  File& document;
  // The path the document was opened by, and the file it stands for (the same unless it is a link).
  std::string referencePath;
  std::string documentPath;
  std::string replacementPath;
};
