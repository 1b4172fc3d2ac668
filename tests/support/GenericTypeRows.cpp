#include "support/GenericTypeRows.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/FileReference.h"
#include "core/Format.h"
#include "core/GenericArray.h"
#include "core/ListData.h"
#include "core/Sound.h"
#include "core/Stream.h"
#include "core/String.h"
#include "core/Time.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"
#include "support/FuzzCorpus.h"
#include "support/Raised.h"

using namespace document_testing;

namespace {

std::vector<GenericTypeRow>& Table() {
  static std::vector<GenericTypeRow> rows;
  return rows;
}

SmartRef<Smart> MakeList() {
  SmartRef<ListData> list = new ListData(&String::classInfo);
  for (const char* text : {"un", "deux"}) {
    const SmartRef<String> element = new String(text);
    list->Append(~element);
  }
  return list;
}

SmartRef<Smart> MakeArray() {
  SmartRef<GenericArray> array = new GenericArray(4, 0);
  const std::int32_t values[] = {7, -1, 0x12345678};
  array->Insert(values, 0, 3);
  return array;
}

SmartRef<Smart> MakeSound() {
  MemoryStream wave;
  wave.Write("RIFF\x04\0\0\0WAVE", 12);
  return new Sound(wave, Sound::wave, true);
}

const GenericTypeRows coreRows{
    {1, [] { return SmartRef<Smart>(new String("Bonjour")); }},
    {27, [] { return SmartRef<Smart>(new FileReference()); }},
    {28, &MakeArray, false},
    {30, &MakeList},
    {33, &MakeSound},
    {37, [] { return SmartRef<Smart>(new Time(3, 5, 1999)); }},
};

// The object-file fuzzer starts from one document of every class: "class-07-CMovie".
std::string SeedName(std::int32_t index, const std::string& className) {
  return std::string("class-") + (index < 10 ? "0" : "") + std::to_string(index) + "-" + className;
}

// The saved document again, numbered with only the classes it names (its objects' and those it refers
// to, such as a list's element class), as a file of a program that had fewer classes: the same bytes
// whatever else this test program links, so that every suite agrees on them.
std::string SeedDocument(const SmartRef<Smart>& object, const std::string& saved) {
  const SmartRef<TypeIndex> documents = GetGenericTypeIndex();
  std::set<std::int32_t> named;
  for (std::int32_t n = 1; n <= ObjectCount(saved); ++n) named.insert(ObjectClassIndex(saved, n));
  for (;;) {
    SmartRef<TypeIndex> numbering =
        new TypeIndex(documents->GetFileType(), documents->GetVersion(), TextOf(documents->GetName()).c_str());
    for (std::int32_t n = 1; n <= documents->NumTypes(); ++n) {
      if (named.count(n) != 0) numbering->AddType(documents->GetType(n));
      else numbering->AddEmptySlots(1);
    }
    std::string seed;
    const SmartRef<Exception> failure = Raised([&] { seed = SaveDocument(object, numbering); });
    if (!failure) return seed;
    // A class the document refers to without holding an object of it.
    const auto* missing = dynamic_cast<const ClassNotInFormat*>(~failure);
    std::int32_t slot = 0;
    for (std::int32_t n = 1; missing && slot == 0 && n <= documents->NumTypes(); ++n) {
      const PersistentType* type = documents->GetType(n);
      if (type != nullptr && std::string(type->classInfo->GetName()) == missing->GetClassName()) slot = n;
    }
    if (slot == 0 || !named.insert(slot).second) {
      ADD_FAILURE() << "the seed cannot be numbered: " << RaisedText(failure);
      return saved;
    }
  }
}

}  // namespace

GenericTypeRows::GenericTypeRows(std::initializer_list<GenericTypeRow> rows) {
  Table().insert(Table().end(), rows);
}

void ExpectEveryGenericTypeRoundTrips() {
  // Classes the program cannot archive yet report it and go on; that is no failure here.
  AlertRecorder alerts;
  std::set<const PersistentType*> covered;
  for (const GenericTypeRow& row : Table()) {
    SmartRef<Smart> object;
    if (const SmartRef<Exception> failure = Raised([&] { object = row.make(); }); !object) {
      ADD_FAILURE() << "making the object of class index " << row.index << " raised " << RaisedText(failure);
      continue;
    }
    const std::string name = object->GetClassInfo()->GetName();
    SCOPED_TRACE(name + " at class index " + std::to_string(row.index));
    const Persistent* persistent = CastSmart<Persistent>(~object);
    if (persistent == nullptr) {
      ADD_FAILURE() << "the object does not answer its Persistent part";
      continue;
    }
    covered.insert(persistent->GetPersistentType());
    std::string saved;
    if (const SmartRef<Exception> failure = Raised([&] { saved = SaveDocument(object); })) {
      ADD_FAILURE() << "saving raised " << RaisedText(failure);
      continue;
    }
    EXPECT_EQ(ObjectClassIndex(saved, 1), row.index);
    const std::string seed = SeedDocument(object, saved);
    ExpectCorpusSeed("objectfile", SeedName(row.index, name), seed);
    alerts.Clear();
    SmartRef<ObjectFile> file;
    SmartRef<Smart> read;
    const SmartRef<Exception> failure = Raised([&] { read = ReadDocument(saved, &file); });
    if (failure) {
      ADD_FAILURE() << "reading raised " << RaisedText(failure);
      continue;
    }
    if (!row.readsBack) {
      EXPECT_FALSE(read);
      EXPECT_TRUE(!alerts.Alerts().empty() &&
                  alerts.Alerts().back().text.find("Can't create object of that class!") != std::string::npos);
      continue;
    }
    if (!read) {
      ADD_FAILURE() << "the object reads back as nothing";
      continue;
    }
    EXPECT_EQ(read->GetClassInfo(), object->GetClassInfo());
    std::string again;
    const SmartRef<Exception> resaving = Raised([&] { again = SaveDocument(read); });
    EXPECT_EQ(resaving, nullptr) << "saving what was read raised " << RaisedText(resaving);
    EXPECT_EQ(again, saved) << "the object reads back otherwise";
    std::string fromSeed;
    const SmartRef<Exception> seedFailure = Raised([&] { fromSeed = SaveDocument(ReadDocument(seed, &file)); });
    EXPECT_EQ(seedFailure, nullptr) << "the seed raised " << RaisedText(seedFailure);
    EXPECT_EQ(fromSeed, saved) << "the seed reads back otherwise";
  }
  SmartRef<TypeIndex> index = GetGenericTypeIndex();
  for (std::int32_t n = 1; n <= index->NumTypes(); ++n) {
    const PersistentType* type = index->GetType(n);
    if (type != nullptr && covered.count(type) == 0)
      ADD_FAILURE() << "no row saves a " << type->classInfo->GetName() << " (class index " << n << ")";
  }
}
