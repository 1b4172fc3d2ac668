// libFuzzer harness of the object-file reader: every input must read as an object, a null or a reported
// error, never a crash, a leak or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Format.h"
#include "editor/Seams.h"
#include "platform/kernel/Files.h"
#include "support/UntrustedDocument.h"
#include "web/Seams.h"

// Started as the program starts: every library's seams installed, in the program's folder (the
// repository's data/, which holds the palette that pictures are read in).
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string folder = QUILLORY_SOURCE_DIR "/data";
  for (char& c : folder)
    if (c == '/') c = '\\';
  SetCurrentDirectoryA(folder.c_str());
  InstallWebSeams();
  InstallEditorSeams();
  return 0;
}

// Read through the document format's own numbering, as pages are, with every class registered in it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const SmartRef<TypeIndex> documents = GetGenericTypeIndex();
  document_testing::ReadUntrustedDocument(data, size, documents);
  return 0;
}
