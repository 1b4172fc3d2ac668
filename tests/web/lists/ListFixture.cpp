#include "ListFixture.h"

std::vector<std::string> TextsOf(const List& list) {
  std::vector<std::string> texts;
  for (std::int32_t i = 1; i <= list.NumItems(); ++i) texts.push_back(TextOf(*CastSmart<String>(list.At(i))));
  return texts;
}

Entries EntriesOf(const LinkLists& lists) {
  const std::vector<std::string> names = TextsOf(lists.linkNames);
  const std::vector<std::string> urls = TextsOf(lists.linkURLs);
  Entries entries;
  for (std::size_t i = 0; i < names.size() && i < urls.size(); ++i) entries.emplace_back(names[i], urls[i]);
  return entries;
}
