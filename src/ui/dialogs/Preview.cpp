#include "ui/dialogs/Preview.h"

#include <algorithm>
#include <cstring>

#include "core/Exception.h"
#include "core/File.h"
#include "core/FileType.h"
#include "core/Format.h"
#include "core/ObjectFile.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/formats/Picture.h"

namespace {
constexpr SourceName kSource("PREVIEW");
}  // namespace

SMART_COPY_CHECK_AT(PreviewItem, kSource.Line(88));
SMART_DEFINE(PreviewItem, "PreviewItem", nullptr, nullptr, Persistent, SmartImplementation)
SMART_COPY_CHECK_AT(PreviewIndex, kSource.Line(54));
SMART_DEFINE(PreviewIndex, "PreviewIndex", nullptr, nullptr, Persistent, SmartImplementation)
SMART_COPY_CHECK_AT(Preview, kSource.Line(136));
SMART_DEFINE(Preview, "Preview", nullptr, nullptr, Persistent, SmartImplementation)

const PersistentType PreviewItem::persistentType(&PreviewItem::classInfo, MakeVersion(1), MakeVersion(1),
                                                 &PreviewItem::ReadNew);
const PersistentType PreviewIndex::persistentType(&PreviewIndex::classInfo, MakeVersion(1), MakeVersion(1),
                                                  &PreviewIndex::ReadNew);
const PersistentType Preview::persistentType(&Preview::classInfo, MakeVersion(1), MakeVersion(3), &Preview::ReadNew);

// ---- PreviewItem ----

PreviewItem::PreviewItem(FileReference& file, Image* image)
    : name(file.GetNameString()), image(image), time(file.GetModificationDate()) {}

// Objects of another class than expected (a damaged file) are left out rather than misused.
PreviewItem::PreviewItem(ArchiveBlock& block) {
  Archive* archive = block.GetArchive();
  name = CastSmart<String>(archive->ReadObject());
  image = CastSmart<Image>(archive->ReadObject());
  time = CastSmart<Time>(archive->ReadObject());
}

Persistent* PreviewItem::ReadNew(Archive* archive) { return ReadFromBlock<PreviewItem>(archive, &persistentType); }

void PreviewItem::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  Archive* out = block.GetArchive();
  out->WriteObject(~name);
  out->WriteObject(~image);
  out->WriteObject(~time);
}

// ---- PreviewIndex ----

PreviewIndex::PreviewIndex(ArchiveBlock& block) {
  if (auto* stored = CastSmart<ListData>(block.GetArchive()->ReadObject())) names = List(SmartRef<ListData>(stored));
  ArchiveBlock arrayBlock(block, &GenericArray::persistentType);
  numbers = GenericArray(4, arrayBlock);
  arrayBlock.Close();
}

Persistent* PreviewIndex::ReadNew(Archive* archive) { return ReadFromBlock<PreviewIndex>(archive, &persistentType); }

void PreviewIndex::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  block.GetArchive()->WriteObject(~names.GetData());
  ArchiveBlock arrayBlock(block, &GenericArray::persistentType);
  numbers.WriteBody(arrayBlock);
}

void PreviewIndex::Add(String* name, std::int32_t number) {
  names.Append(name);
  numbers.Insert(&number, numbers.NumItems(), 1);
}

std::int32_t PreviewIndex::Find(const String& name) const {
  // A stored index may hold fewer numbers than names, or entries that are no names.
  const std::int32_t n = std::min(names.NumItems(), numbers.NumItems());
  for (std::int32_t k = 1; k <= n; ++k) {
    const String* entry = CastSmart<String>(names.At(k));
    if (entry == nullptr || *entry != name) continue;
    std::int32_t number;
    std::memcpy(&number, numbers.At(k), sizeof number);
    return number;
  }
  return 0;
}

// ---- Preview ----

const FileType& Preview::GetFileType() {
  static const FileType& type = *NewPermanent<FileType>("Folder previews", FourCharCode("pre "), FourCharCode("pre "));
  return type;
}

SmartRef<TypeIndex> Preview::GetFormat() {
  SmartRef<TypeIndex> format(new TypeIndex(&GetFileType(), MakeVersion(1), "PreviewFile"));
  for (const PersistentType* type :
       {&Preview::persistentType, &PreviewItem::persistentType, &BitMap::persistentType, &Image::persistentType,
        &String::persistentType, &ColorTable::persistentType, &ListData::persistentType,
        &GenericArray::persistentType, &Picture::persistentType, &TimeData::persistentType, &Time::persistentType,
        &PreviewIndex::persistentType})
    format->AddType(type);
  return format;
}

SmartRef<Preview> Preview::Open(FileReference& folder) {
  const String name("_preview");
  SmartRef<FileReference> reference(
      new FileReference(GetFileType(), *FileCreatorType::defaultCreator, folder, name, true));
  SmartRef<File> file(new File(~reference, kFileModeRead | kFileModeWrite));
  CHECK_CALL(file->IsOpen());
  SmartRef<ObjectFile> objectFile(new ObjectFile(GetFormat(), SmartRef<Stream>(~file)));
  SmartRef<PreviewIndex> index;
  try {
    SmartRef<Smart> root;
    objectFile->Read(&root);
    index = CastSmart<PreviewIndex>(~root);
  } catch (Exception*) {
    // The store is a cache: what cannot be read is made again, and the next save replaces the file.
    gLastException = nullptr;
    ClearLastError();
  }
  return SmartRef<Preview>(new Preview(folder, ~index, ~objectFile));
}

Preview::Preview(FileReference& folder, PreviewIndex* index, ObjectFile* objectFile)
    : folder(new FileReference(folder)), index(index), objectFile(objectFile) {
  if (index && index->NumNames() > 0) items.Put(nullptr, 1, index->NumNames());
}

Preview::Preview(ArchiveBlock& block) : folder(GetArchiveFolder(block)) {
  if (auto* stored = CastSmart<ListData>(block.GetArchive()->ReadObject())) items = List(SmartRef<ListData>(stored));
}

Persistent* Preview::ReadNew(Archive* archive) { return ReadFromBlock<Preview>(archive, &persistentType); }

void Preview::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  block.GetArchive()->WriteObject(~items.GetData());
}

SmartRef<PreviewItem> Preview::FindItem(FileReference& file) {
  const SmartRef<String> name(file.GetNameString());
  if (index) {
    const std::int32_t n = index->Find(*name);
    if (n == 0) return nullptr;
    if (n < 0 || n > items.NumItems()) ThrowDamagedFile(__FILE__, __LINE__);
    if (auto* loaded = CastSmart<PreviewItem>(items.At(n))) return loaded;
    ASSERT(objectFile);
    SmartRef<PreviewItem> item(CastSmart<PreviewItem>(objectFile->IndexToObject(n)));
    items.Put(~item, n);
    return item;
  }
  for (std::int32_t k = 1; k <= items.NumItems(); ++k) {
    auto* item = CastSmart<PreviewItem>(items.At(k));
    if (item && item->GetName() && *item->GetName() == *name) return item;
  }
  return nullptr;
}

SmartRef<Image> Preview::GetItemImage(FileReference& file) {
  const SmartRef<PreviewItem> item = FindItem(file);
  return item ? item->GetImage() : nullptr;
}

void Preview::UpdateItem(FileReference& file, Image* image) {
  if (const SmartRef<PreviewItem> item = FindItem(file)) {
    item->SetImage(image);
    item->SetTime(file.GetModificationDate());
    return;
  }
  items.Append(new PreviewItem(file, image));
}

void Preview::SetItemTime(FileReference& file, const Time& time) {
  const SmartRef<PreviewItem> previewItem = FindItem(file);
  if (!previewItem) AssertFailed("previewItem.Valid()", kSource.Line(313));
  previewItem->SetTime(new Time(time));
}

bool Preview::IsItemCurrent(FileReference& file, bool checkDate) {
  const SmartRef<PreviewItem> item = FindItem(file);
  if (!item) return false;
  if (!checkDate) return true;
  const SmartRef<Time> modified(file.GetModificationDate());
  return item->GetTime() && *item->GetTime() == *modified;
}

void Preview::NotImplemented() { ReportError("Not implemented.", kSource.Line(287)); }

// Items the file no longer yields (damaged, or of another class) are dropped: a thumbnail is made again
// when it is missing, whereas a store that cannot be loaded whole could never be saved again.
void Preview::LoadAllItems() {
  for (std::int32_t n = items.NumItems(); n >= 1; --n) {
    if (items.At(n) != nullptr) continue;
    SmartRef<PreviewItem> item;
    try {
      item = CastSmart<PreviewItem>(objectFile->IndexToObject(n));
    } catch (Exception*) {
      gLastException = nullptr;
      ClearLastError();
    }
    if (item && item->GetName()) {
      items.Put(~item, n);
    } else {
      items->Remove(n, 1);
      // The index's numbers no longer match the list; every item is loaded, so names find them.
      index = nullptr;
    }
  }
}

void Preview::Update() {
  ASSERT(objectFile);
  LoadAllItems();
  SmartRef<PreviewIndex> saved(new PreviewIndex());
  // Items are numbered 1 to n in list order, so that entry i of the list stands for object i of the file;
  // the index, numbered after them, is the root.
  objectFile->Save([&] {
    for (std::int32_t n = 1; n <= items.NumItems(); ++n) {
      auto* item = CastSmart<PreviewItem>(items.At(n));
      saved->Add(~item->GetName(), objectFile->ObjectToIndex(item));
    }
    return objectFile->ObjectToIndex(~saved);
  });
  index = saved;
}

void UpdatePreview(Preview* preview) { CHECK_NOT_NULL(preview)->Update(); }
