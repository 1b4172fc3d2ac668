#include "core/ListData.h"

#include <cstring>

#include "core/Exception.h"
#include "core/Stream.h"

SMART_DEFINE(ListData, "ListData", &ListData::MakeEmpty, nullptr, Persistent, SmartImplementation)

const PersistentType ListData::persistentType(&ListData::classInfo, MakeVersion(1), MakeVersion(1),
                                              &ListData::ReadNew);

namespace {
[[noreturn]] void RangeError(int line) { ThrowError("Range error", __FILE__, line); }
}  // namespace

ListData::ListData() : elementClass(&SmartImplementation::classInfo) {}

ListData::ListData(const ClassInfo* elementClass) : elementClass(elementClass) {}

ListData::ListData(const ListData& source)
    : Smart(), Persistent(source), SmartImplementation(source), elementClass(source.elementClass) {
  const std::int32_t num = source.NumItems();
  if (!CanCopy(source, 1, num, true)) AssertFailed("CanCopy(source,1,num,convertOnCopy)", __FILE__, __LINE__);
  pointers.Assign(source.pointers);
  ReferenceItems(1, num, true);
}

ListData::ListData(ArchiveBlock& block) : elementClass(&Smart::classInfo) {
  if (!block.IsSkipping()) {
    const ClassInfo* stored = block.GetArchive()->ReadClass();
    if (stored) elementClass = stored;
  }
  Stream* stream = block.GetStream();
  const std::int32_t count = stream->ReadLong();
  CheckStoredCount(stream, count, 4);
  pointers.Insert(nullptr, 0, count);
  for (std::int32_t n = 1; n <= count; ++n) {
    Persistent* element = block.GetArchive()->ReadObject();
    SetItem(n, element ? static_cast<Smart*>(element) : nullptr);
  }
  ReferenceItems(1, count, false);
}

ListData::~ListData() { ReleaseItems(1, NumItems()); }

Smart* ListData::MakeEmpty() { return new ListData(); }

Persistent* ListData::ReadNew(Archive* archive) {
  return ReadFromBlock<ListData>(archive, &persistentType);
}

void ListData::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteBody(block);
}

void ListData::WriteBody(ArchiveBlock& block) {
  Archive* archive = block.GetArchive();
  archive->WriteClass(elementClass);
  const std::int32_t count = NumItems();
  block.GetStream()->WriteLong(count);
  for (std::int32_t n = 1; n <= count; ++n) archive->WriteObject(CastSmart<Persistent>(Item(n)));
  block.Close();
}

Smart* ListData::Item(std::int32_t n) const {
  Smart* element;
  std::memcpy(&element, pointers.ItemAddress(n), sizeof element);
  return element;
}

void ListData::SetItem(std::int32_t n, Smart* element) { std::memcpy(pointers.ItemAddress(n), &element, sizeof element); }

void ListData::ReleaseItems(std::int32_t from, std::int32_t n) {
  if (n == 0) return;
  if (from <= 0) AssertFailed("from > 0", __FILE__, __LINE__);
  if (NumItems() < from + n - 1) AssertFailed("numPointers >= num-1", __FILE__, __LINE__);
  for (std::int32_t i = from; i < from + n; ++i) {
    Smart* element = Item(i);
    SetItem(i, nullptr);
    ReleaseSmart(element);
  }
}

void ListData::ReferenceItems(std::int32_t from, std::int32_t n, bool convert) {
  if (n == 0) return;
  if (from <= 0) AssertFailed("from > 0", __FILE__, __LINE__);
  if (NumItems() < from + n - 1) AssertFailed("numPointers >= num-1", __FILE__, __LINE__);
  for (std::int32_t i = from; i < from + n; ++i) {
    Smart* element = Item(i);
    if (element == nullptr) continue;
    if (convert) {
      SmartRef<Smart> slot = element;
      if (Convert(&slot, true)) element = ~slot;
      SetItem(i, element);
    }
    element->Reference();
  }
}

// A null element is always copyable: lists hold nulls where objects could not be read or were never put.
bool ListData::CanCopy(const ListData& source, std::int32_t from, std::int32_t n, bool convert) const {
  for (std::int32_t i = from; i < from + n; ++i) {
    Smart* element = source.Item(i);
    if (element != nullptr && !CanConvert(element, convert)) return false;
  }
  return true;
}

void ListData::Assign(const ListData& source) {
  if (&source == this) return;
  const std::int32_t oldCount = NumItems();
  const std::int32_t num = source.NumItems();
  if (!CanCopy(source, 1, num, true)) AssertFailed("CanCopy(source,1,num,convertOnCopy)", __FILE__, __LINE__);
  // The old elements are released only once the new ones are held, so that an element in both lists (or
  // one that keeps the source alive) survives the assignment.
  GenericArray old(pointers);
  pointers.Assign(source.pointers);
  ReferenceItems(1, num, true);
  for (std::int32_t n = 1; n <= old.NumItems(); ++n) {
    Smart* element;
    std::memcpy(&element, old.ItemAddress(n), sizeof element);
    ReleaseSmart(element);
  }
  Notify(1, oldCount, num - oldCount);
}

Smart* ListData::At(std::int32_t n) const { return (n >= 1 && n <= NumItems()) ? Item(n) : nullptr; }

std::int32_t ListData::IndexOf(const Smart* element) const {
  for (std::int32_t n = 1; n <= NumItems(); ++n)
    if (Item(n) == element) return n;
  return 0;
}

void ListData::Put(Smart* element, std::int32_t from, std::int32_t n) {
  if (n == 0) return;
  CheckRange(from, n);
  // The new references come first: putting back an element that only this list holds must not free it.
  if (element)
    for (std::int32_t i = 0; i < n; ++i) element->Reference();
  for (std::int32_t i = from; i < from + n; ++i) {
    Smart* old = Item(i);
    SetItem(i, element);
    ReleaseSmart(old);
  }
  Notify(from, n, 0);
}

void ListData::Insert(Smart* element, std::int32_t after, std::int32_t n) {
  if (n == 0) return;
  pointers.InsertCopies(&element, after, n);
  ReferenceItems(after + 1, n, false);
  Notify(after + 1, 0, n);
}

void ListData::InsertList(const ListData& list, std::int32_t after) {
  const std::int32_t n = list.NumItems();
  if (n == 0) return;
  // The other list may be this one: its pointers are taken before anything moves.
  GenericArray incoming(list.pointers);
  pointers.Insert(incoming.ItemAddress(1), after, n);
  ReferenceItems(after + 1, n, false);
  Notify(after + 1, 0, n);
}

void ListData::Remove(std::int32_t from, std::int32_t n) {
  if (n == 0) return;
  CheckRange(from, n);
  // Released after the pointers are gone, so that an element's destruction sees a consistent list.
  GenericArray removed(sizeof(Smart*), 0);
  removed.Insert(pointers.ItemAddress(from), 0, n);
  pointers.Delete(from, n);
  for (std::int32_t i = 1; i <= n; ++i) {
    Smart* element;
    std::memcpy(&element, removed.ItemAddress(i), sizeof element);
    ReleaseSmart(element);
  }
  Notify(from, n, -n);
}

void ListData::RemoveAll() {
  const std::int32_t count = NumItems();
  if (count) Remove(1, count);
  else Notify(1, 0, 0);
}

void ListData::RemoveItem(Smart* element) {
  const std::int32_t n = IndexOf(element);
  if (n) Remove(n, 1);
}

void ListData::CheckIndex(std::int32_t n) const {
  if (n < 1 || n > NumItems()) RangeError(__LINE__);
}

void ListData::CheckRange(std::int32_t from, std::int32_t n) const {
  const std::int64_t last = std::int64_t{from} + n - 1;
  if (from < 1 || from > NumItems() || last < 1 || last > NumItems()) RangeError(__LINE__);
}

SmartRef<ListData> ListData::CopyRange(std::int32_t start, std::int32_t n) const {
  SmartRef<ListData> copy = new ListData(elementClass);
  if (n == 0) return copy;
  CheckRange(start, n);
  copy->pointers.Insert(pointers.ItemAddress(start), 0, n);
  copy->ReferenceItems(1, n, false);
  return copy;
}

SmartRef<ListData> ListData::CloneRange(std::int32_t start, std::int32_t n) const {
  SmartRef<ListData> copy = new ListData(elementClass);
  if (n == 0) return copy;
  CheckRange(start, n);
  for (std::int32_t i = start; i < start + n; ++i) {
    Smart* element = Item(i);
    copy->Append(element ? element->Clone() : nullptr);
  }
  return copy;
}

bool ListData::AcceptsItem(Smart* object) const {
  return object != nullptr && object->GetClassInfo()->IsKindOf(elementClass);
}

bool ListData::CanConvert(Smart* element, bool allow) const {
  if (element == nullptr) return false;
  SmartRef<Smart> slot = element;
  return elementClass->CanConvert(&slot, allow, 4);
}

bool ListData::Convert(SmartRef<Smart>* slot, bool allow) const { return elementClass->Convert(slot, allow, 4); }

bool ListData::InsertConverted(const ListData& list, std::int32_t position) {
  const std::int32_t n = list.NumItems();
  for (std::int32_t i = 1; i <= n; ++i)
    if (!CanConvert(list.Item(i), true)) return false;
  for (std::int32_t i = 1; i <= n; ++i) InsertItemConverted(position + i - 1, list.Item(i));
  return true;
}

bool ListData::InsertItemConverted(std::int32_t position, Smart* element) {
  SmartRef<Smart> slot = element;
  if (!Convert(&slot, true)) return false;
  Insert(~slot, position, 1);
  return true;
}

void ListData::ToggleObserver(ModelObserver* observer) { observers.Toggle(observer); }

void ListData::Notify(std::int32_t position, std::int32_t replaced, std::int32_t delta) {
  observers.Notify(position, replaced, delta);
}

void List::Put(Smart* element, std::int32_t from, std::int32_t n) {
  const std::int32_t last = from + n - 1;
  if (last > data->NumItems()) data->Insert(nullptr, data->NumItems(), last - data->NumItems());
  data->Put(element, from, n);
}
