// What core keeps for the whole run beyond its objects, in one record, so that a test can start from the
// state a run starts with (ResetCoreState) and set what it needs in it directly.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>

struct MainWindowRecord;

struct CoreState {
  // Block allocations above this many bytes fail, as they would on a full machine; 0: no limit.
  std::uint32_t allocationLimit = 0;
  // The random generator, seeded from the clock at its first use.
  bool randomSeeded = false;
  std::uint32_t randomState = 0;
  // Whether the program's folder has been read from the current folder yet.
  bool applicationFolderRead = false;
  // The places (source file, line) whose "Not implemented." notice has been shown: each shows once.
  std::set<std::pair<std::string, int>> reportedPlaces;
  // The application's record (Resources::osApp), given once when the application is made.
  const MainWindowRecord* osApp = nullptr;
};

CoreState& TheCoreState();
// The record as a run starts. For tests: the program never calls it.
void ResetCoreState();
