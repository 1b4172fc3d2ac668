#include "web/html/LinkHREF.h"

#include <string>

#include "core/Exception.h"
#include "core/File.h"
#include "core/Format.h"
#include "core/Progress.h"
#include "core/Stream.h"
#include "engine/Storage.h"
#include "web/internet/InternetSession.h"

SMART_DEFINE(LinkHREF, "LinkHREF", &CreateDefault<LinkHREF>, nullptr, htmlElement)
SMART_DEFINE(SoundLink, "SoundLink", nullptr, nullptr, LinkHREF)

// Version 1.2 adds the caption.
const PersistentType LinkHREF::persistentType(&LinkHREF::classInfo, MakeVersion(1), MakeVersion(1, 2),
                                              &LinkHREF::ReadNew);
const PersistentType SoundLink::persistentType(&SoundLink::classInfo, MakeVersion(1), MakeVersion(1),
                                               &SoundLink::ReadNew);

namespace {
[[maybe_unused]] const bool gLinkHREFRegistered = (RegisterGenericType(36, &LinkHREF::persistentType), true);

bool IsURLSeparator(char c) { return c == ':' || c == '/' || c == ' '; }
}  // namespace

LinkHREF::LinkHREF(int, const String& pageName) : href(SanitizeHTMLName(pageName)), caption(pageName) {
  href.Append(*InternetSession::PageExtension());
}

LinkHREF::LinkHREF(const String& url) : href(url), caption(LastURLToken(url)) {}

LinkHREF::LinkHREF(ArchiveBlock& block) { ReadFields(block); }

Persistent* LinkHREF::ReadNew(Archive* archive) { return ReadFromBlock<LinkHREF>(archive, &persistentType); }

void LinkHREF::ReadFields(ArchiveBlock& block) {
  // A block this program cannot read, while the file around it is read, is a damaged link: leaving it
  // empty would publish a page that silently lost it.
  if (block.IsSkipping()) {
    if (!block.IsInert()) ThrowDamagedFile(__FILE__, __LINE__);
    return;
  }
  {
    ArchiveBlock hrefBlock(block, &String::persistentType);
    href = String(hrefBlock);
  }
  if (block.GetVersion() >= MakeVersion(1, 2)) {
    ArchiveBlock captionBlock(block, &String::persistentType);
    caption = String(captionBlock);
  } else {
    caption = LastURLToken(href);
  }
}

void LinkHREF::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteFields(block);
}

void LinkHREF::WriteFields(ArchiveBlock& block) {
  if (block.IsSkipping()) return;
  href.Write(block.GetArchive());
  caption.Write(block.GetArchive());
}

void LinkHREF::Emit(SmartRef<FileReference>, const String&, List, Stream& out) { out << href; }

SoundLink::SoundLink(SmartRef<Sound> sound) : LinkHREF(String(), String("Son")), sound(std::move(sound)) {}

SoundLink::SoundLink(ArchiveBlock& block) {
  if (block.IsSkipping()) return;
  {
    ArchiveBlock linkBlock(block, &LinkHREF::persistentType);
    ReadFields(linkBlock);
  }
  sound = CastSmart<Sound>(block.GetArchive()->ReadObject());
}

Persistent* SoundLink::ReadNew(Archive* archive) { return ReadFromBlock<SoundLink>(archive, &persistentType); }

void SoundLink::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  if (block.IsSkipping()) return;
  {
    ArchiveBlock linkBlock(block, &LinkHREF::persistentType);
    WriteFields(linkBlock);
  }
  WritePersistent(block, ~sound);
}

namespace {

// The sound's WAVE bytes. A sound played from its file holds none in memory: the file is read for them.
SmartRef<Sound> SoundToPublish(Sound* sound) {
  if (sound == nullptr || !sound->IsEmpty()) return sound;
  FileReference* file = sound->GetFileReference();
  if (file == nullptr || !file->HasPath()) return nullptr;
  SmartRef<File> stream = new File(file, kFileModeRead);
  if (!stream->IsOpen()) return nullptr;
  const int format = file->IsOfType(*AIFFFile::fileType) ? Sound::aiff : Sound::wave;
  return new Sound(*stream, format, false);
}

void WriteWAVE(Stream& out, Sound& sound) {
  SmartRef<WAVEFile> scribe = new WAVEFile(&out);
  scribe->Write(SmartRef<Smart>(&sound));
}

}  // namespace

void SoundLink::Emit(SmartRef<FileReference> folder, const String& baseName, List files, Stream& out) {
  Progress progress(2, "Compilation de pages");
  progress.SetCaption("Compilation de fichier son");
  const SmartRef<Sound> published = SoundToPublish(~sound);
  if (!published || published->IsEmpty()) return;
  std::string name;
  SmartRef<File> file = CreateNumberedFile(*folder, baseName, *WAVEFile::fileType, files, &name);
  WriteWAVE(*file, *published);
  file->SetLength(file->GetPosition());
  file->Close();
  progress.SetCaption("Compilation du fichier HTML");
  out.Write(name.data(), static_cast<std::uint32_t>(name.size()));
}

String LastURLToken(const String& text) {
  const std::string bytes = TextOf(text);
  std::size_t end = bytes.size();
  while (end > 0 && IsURLSeparator(bytes[end - 1])) --end;
  std::size_t start = end;
  while (start > 0 && !IsURLSeparator(bytes[start - 1])) --start;
  String token;
  token.Insert(bytes.data() + start, 0, static_cast<std::int32_t>(end - start));
  return token;
}
