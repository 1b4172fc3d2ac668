#include "core/TextFile.h"

#include "core/Text1252.h"

SMART_DEFINE_ABSTRACT(TextFile, "TextFile", File)

SmartRef<FileType> TextFile::fileType(new FileType("Fichier de texte", FourCharCode("TEXT"), FourCharCode("txt ")));
