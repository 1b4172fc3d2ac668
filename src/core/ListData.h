// Persistent 1-based lists of counted object references with an element class, and the list handle.
#pragma once

#include <cstdint>
#include <utility>

#include "core/Archive.h"
#include "core/GenericArray.h"
#include "core/ModelObserver.h"

class ListData : public Persistent, public SmartImplementation {
  SMART_CLASS(ListData)
 public:
  static const PersistentType persistentType;

  ListData();
  explicit ListData(const ClassInfo* elementClass);
  ListData(const ListData& source);
  explicit ListData(ArchiveBlock& block);
  ListData& operator=(const ListData& source) {
    Assign(source);
    return *this;
  }
  ~ListData() override;

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  void WriteBody(ArchiveBlock& block);
  virtual void ReleaseItems(std::int32_t from, std::int32_t n);
  virtual void ReferenceItems(std::int32_t from, std::int32_t n, bool convert);
  virtual bool CanCopy(const ListData& source, std::int32_t from, std::int32_t n, bool convert) const;

  static Smart* MakeEmpty();
  static Persistent* ReadNew(Archive* archive);

  void Assign(const ListData& source);
  std::int32_t NumItems() const { return pointers.NumItems(); }
  Smart* At(std::int32_t n) const;
  std::int32_t IndexOf(const Smart* element) const;
  void Put(Smart* element, std::int32_t from, std::int32_t n);
  void Insert(Smart* element, std::int32_t after, std::int32_t n);
  void InsertList(const ListData& list, std::int32_t after);
  void Append(Smart* element) { Insert(element, NumItems(), 1); }
  void Remove(std::int32_t from, std::int32_t n);
  void RemoveAll();
  void RemoveItem(Smart* element);
  void CheckIndex(std::int32_t n) const;
  void CheckRange(std::int32_t from, std::int32_t n) const;
  SmartRef<ListData> CopyRange(std::int32_t start, std::int32_t n) const;
  SmartRef<ListData> CloneRange(std::int32_t start, std::int32_t n) const;
  bool AcceptsItem(Smart* object) const;
  bool CanConvert(Smart* element, bool allow) const;
  bool Convert(SmartRef<Smart>* slot, bool allow) const;
  bool InsertConverted(const ListData& list, std::int32_t position);
  bool InsertItemConverted(std::int32_t position, Smart* element);
  void ToggleObserver(ModelObserver* observer);
  const ClassInfo* GetElementClass() const { return elementClass; }

 private:
  Smart* Item(std::int32_t n) const;
  void SetItem(std::int32_t n, Smart* element);
  void Notify(std::int32_t position, std::int32_t replaced, std::int32_t delta);

  const ClassInfo* elementClass;
  GenericArray pointers{sizeof(Smart*), 0};
  ObserverList observers;
};

// The handle through which lists are used: copying a handle shares the list.
class List {
 public:
  explicit List(const ClassInfo* elementClass) : data(new ListData(elementClass)) {}
  explicit List(SmartRef<ListData> list) : data(std::move(list)) {}
  List(const List& other) = default;
  List& operator=(const List& other) = default;

  ListData* operator->() const { return ~data; }
  ListData& operator*() const { return *data; }
  const SmartRef<ListData>& GetData() const { return data; }

  std::int32_t NumItems() const { return data->NumItems(); }
  std::int32_t IndexOf(const Smart* element) const { return data->IndexOf(element); }
  Smart* At(std::int32_t n) const { return data->At(n); }
  void Insert(Smart* element, std::int32_t after, std::int32_t n = 1) { data->Insert(element, after, n); }
  void Append(Smart* element) { data->Append(element); }
  void AppendList(const List& other) { data->InsertList(*other.data, data->NumItems()); }
  // Positions past the end are first filled with null entries.
  void Put(Smart* element, std::int32_t from, std::int32_t n = 1);
  // Appends the object and lets go of the caller's reference.
  template <class T>
  void AppendRef(SmartRef<T> object) {
    data->Append(~object ? static_cast<Smart*>(~object) : nullptr);
  }

 private:
  SmartRef<ListData> data;
};
