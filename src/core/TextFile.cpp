#include "core/TextFile.h"

#include "core/String.h"

SMART_DEFINE_ABSTRACT(TextFile, "TextFile", File, Scribe)

SmartRef<FileType> TextFile::fileType(new FileType("Fichier de texte", FourCharCode("TEXT"), FourCharCode("txt ")));

void TextFile::Write(SmartRef<Smart> object) {
  const String* text = CastSmart<String>(~object);
  if (!IsWritable() || text == nullptr) return;
  Seek(0, kSeekFromStart);
  {
    TextLock lock(*text);
    File::Write(lock.Chars(), static_cast<std::uint32_t>(lock.Length()));
  }
  SetLength(GetPosition());
  Seek(0, kSeekFromStart);
}

void TextFile::Read(SmartRef<Smart>* object) {
  Seek(0, kSeekFromStart);
  const std::uint32_t length = GetLength();
  SmartRef<String> text(new String());
  if (length > 0) {
    // A block of the program's own: a file too large for memory is its error, not a crash.
    Memory bytes(length);
    File::Read(bytes.GetData(), length);
    text->Insert(reinterpret_cast<const char*>(bytes.GetData()), 0, static_cast<std::int32_t>(length));
  }
  *object = SmartRef<Smart>(~text);
}

bool TextFile::ReadsKindOf(const ClassInfo* info) { return String::classInfo.IsKindOf(info); }
