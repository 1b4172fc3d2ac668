// One hyperlink of a published page: where it leads (as an HREF holds it) and what the page's bar of text
// links shows for it; and the link whose target is a sound, published as a WAVE file beside the page.
#pragma once

#include "core/Sound.h"
#include "web/html/htmlElement.h"

class LinkHREF : public htmlElement {
  SMART_CLASS(LinkHREF)
 public:
  static const PersistentType persistentType;

  LinkHREF() = default;
  LinkHREF(const String& href, const String& caption) : href(href), caption(caption) {}
  // A link to the project page of that name: its page file, captioned with the name as the child wrote it.
  LinkHREF(int unused, const String& pageName);
  // A link to a web or e-mail address, captioned with the address's last word.
  explicit LinkHREF(const String& url);
  LinkHREF(const LinkHREF& other) = default;
  LinkHREF& operator=(const LinkHREF& other) = default;
  // Blocks before 1.2 have no caption: it is made from the href.
  explicit LinkHREF(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // The href itself, unescaped: the caller puts it where it belongs.
  void Emit(SmartRef<FileReference> folder, const String& baseName, List files, Stream& out) override;
  String GetCaption() const { return caption; }
  const String& GetHref() const { return href; }

 protected:
  // The link's own fields, inside the block of the class that holds it.
  void ReadFields(ArchiveBlock& block);
  void WriteFields(ArchiveBlock& block);

 private:
  String href;
  String caption;
};

class SoundLink : public LinkHREF {
  SMART_CLASS(SoundLink)
 public:
  static const PersistentType persistentType;

  // Captioned "Son"; its href is the WAVE file it writes.
  explicit SoundLink(SmartRef<Sound> sound);
  SoundLink(const SoundLink& other) = default;
  SoundLink& operator=(const SoundLink& other) = default;
  explicit SoundLink(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // Writes the sound as the next free WAVE file of the base name in the folder, and that file's name.
  // A link without a sound to write writes neither.
  void Emit(SmartRef<FileReference> folder, const String& baseName, List files, Stream& out) override;
  Sound* GetSound() const { return ~sound; }

 private:
  SmartRef<Sound> sound;
};

// The last word of the text cut at ':', '/' and ' ': "jeux" for an address ending "/jeux/", the address
// alone for "mailto:" and an address; empty for a text of separators only.
String LastURLToken(const String& text);

