// Folder previews: the thumbnails of a folder's files, kept in an object file "_preview.pre" inside the
// folder itself, so that they survive between runs and travel with the folder. The thumbnails are made by
// the callers; a preview stores what it is given, with the file's modification date at that moment.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/FileReference.h"
#include "core/GenericArray.h"
#include "core/ListData.h"
#include "core/String.h"
#include "core/Time.h"
#include "graphics/Image.h"

class FileType;
class ObjectFile;
class TypeIndex;

// The thumbnail of one file: the file's name with its extension, the picture (may be null), and the
// file's modification date when the picture was given.
class PreviewItem : public Persistent, public SmartImplementation {
  SMART_CLASS(PreviewItem)
 public:
  static const PersistentType persistentType;

  PreviewItem(FileReference& file, Image* image);
  PreviewItem(const PreviewItem& other) = default;
  PreviewItem& operator=(const PreviewItem& other) = default;
  explicit PreviewItem(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  const SmartRef<String>& GetName() const { return name; }
  const SmartRef<Image>& GetImage() const { return image; }
  const SmartRef<Time>& GetTime() const { return time; }
  void SetImage(Image* newImage) { image = newImage; }
  void SetTime(Time* newTime) { time = newTime; }

 private:
  SmartRef<String> name;
  SmartRef<Image> image;
  SmartRef<Time> time;
};

// The names of a saved preview's items and the object number of each one's item in the file.
class PreviewIndex : public Persistent, public SmartImplementation {
  SMART_CLASS(PreviewIndex)
 public:
  static const PersistentType persistentType;

  PreviewIndex() = default;
  PreviewIndex(const PreviewIndex& other) = default;
  PreviewIndex& operator=(const PreviewIndex& other) = default;
  explicit PreviewIndex(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  void Add(String* name, std::int32_t number);
  // The number of the first entry whose name has the same bytes, or 0.
  std::int32_t Find(const String& name) const;
  std::int32_t NumNames() const { return names.NumItems(); }

 private:
  List names{&String::classInfo};
  GenericArray numbers{4, 0};
};

class Preview : public Persistent, public SmartImplementation {
  SMART_CLASS(Preview)
 public:
  static const PersistentType persistentType;

  // The folder's store, its file created empty when missing. A file that cannot be read (empty, damaged,
  // of another kind) gives an empty store, which the next Update writes over.
  static SmartRef<Preview> Open(FileReference& folder);
  // The class numbering of preview files.
  static SmartRef<TypeIndex> GetFormat();
  // "Folder previews", with the extension pre.
  static const FileType& GetFileType();

  // With an index, the items are loaded from the object file one by one as they are asked for.
  Preview(FileReference& folder, PreviewIndex* index, ObjectFile* objectFile);
  Preview(const Preview& other) = default;
  Preview& operator=(const Preview& other) = default;
  // A stored preview: its folder is that of the file being read; it has no index and no object file.
  explicit Preview(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  virtual SmartRef<Image> GetItemImage(FileReference& file);
  // The file's thumbnail becomes the image, dated with the file's modification date. In a store read
  // from its file, a new file's thumbnail is found only after the next Update.
  virtual void UpdateItem(FileReference& file, Image* image);
  virtual void SetItemTime(FileReference& file, const Time& time);
  // Whether the file has a thumbnail; with checkDate, also whether the file is unchanged since.
  virtual bool IsItemCurrent(FileReference& file, bool checkDate);
  virtual SmartRef<FileReference> GetFolder() const { return folder; }
  // Rewrites the store's file with every item, numbered in list order, and an index of them as its root.
  virtual void Update();
  virtual void NotImplemented();
  // The item of the file's name (compared byte for byte), or null.
  virtual SmartRef<PreviewItem> FindItem(FileReference& file);
  // Items not yet loaded count too.
  virtual std::int32_t GetItemCount() const { return items.NumItems(); }

 private:
  void LoadAllItems();

  SmartRef<FileReference> folder;
  List items{&PreviewItem::classInfo};
  SmartRef<PreviewIndex> index;
  SmartRef<ObjectFile> objectFile;
};

// Brings the preview's file up to date.
void UpdatePreview(Preview* preview);
