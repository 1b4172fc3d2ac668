// A fixture for the list files: the program's folder in a temporary folder of the test's own, and alerts
// recorded and answered by the test.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/String.h"
#include "support/AlertRecorder.h"
#include "support/TempFolder.h"
#include "support/graphics/GraphicsFixture.h"
#include "web/lists/LinkList.h"

class ListFixture : public GraphicsFixture {
 protected:
  void SetUp() override { Prepare(32, Win95, folder.Path().string()); }

  TempFolder folder;
  AlertRecorder alerts;
};

using Entries = std::vector<std::pair<std::string, std::string>>;

// The (name, URL) pairs of the lists, as bytes.
Entries EntriesOf(const LinkLists& lists);
// Every text of a list of Strings, as bytes.
std::vector<std::string> TextsOf(const List& list);
