// The class numbering of documents, class by class. The test support of each library lists one object of
// every class that library registers in the generic type index (tests/support/GenericTypeRows.cpp for
// core, tests/support/<library>/GenericTypeRows.cpp above it), and each suite saves and reads back every
// row it links: its own library's and those of the libraries below. A class registered without a row
// fails the check, and so does a row whose class is not registered where documents expect it.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "core/Smart.h"

struct GenericTypeRow {
  std::int32_t index;  // the class index documents record the object under
  SmartRef<Smart> (*make)();
  // False for classes without a reader, which are only ever stored inside their owner's block: a document
  // holding one as an object of its own refuses it with the program's error.
  bool readsBack = true;
};

// Adds rows to this test program's table: one object at namespace scope per library.
class GenericTypeRows {
 public:
  GenericTypeRows(std::initializer_list<GenericTypeRow> rows);
};

// For every row: saves its object as a document, expects the object table to record it under the row's
// index and the object-file fuzzer's corpus to hold that document as a seed, reads it back as an object of the same class and expects saving that to give the same bytes (or,
// for a class without a reader, expects the read to be refused).
// Then expects a row for every class the generic type index holds.
void ExpectEveryGenericTypeRoundTrips();
