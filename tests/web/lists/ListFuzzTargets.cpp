#include "ListFuzzTargets.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/Exception.h"
#include "web/lists/LinkList.h"
#include "web/lists/ProviderFile.h"

namespace list_testing {

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "list fuzz: %s\n", what);
  std::abort();
}

std::size_t EntryCount(std::string_view text) {
  LinkLists lists;
  ParseLinkText(text, lists, nullptr);
  return static_cast<std::size_t>(lists.linkNames.NumItems());
}

// A rewrite raises only for an entry no line can hold; the text then stays as it was.
std::string Rewritten(std::string_view text, const LinkLists& lists, std::int32_t deleted) {
  bool nothingLeft = false;
  try {
    return RewriteLinkText(text, String("liste"), lists, deleted, &nothingLeft);
  } catch (Exception* exception) {
    SmartRef<Exception> held(exception);
    gLastException = nullptr;
  }
  return std::string(text);
}

}  // namespace

bool ReadUntrustedLists(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<ProviderEntry> providers;
  const bool goodProviders = ParseProviderText(text, &providers);

  LinkLists lists;
  const String base("liste");
  const bool goodLinks = ParseLinkText(text, lists, &base);
  const std::size_t entries = static_cast<std::size_t>(lists.linkNames.NumItems());
  if (Rewritten(text, lists, 0) != text) Broken("a rewrite without a change changed the text");
  if (entries > 0) {
    // The entries read before a bad line stay, but the bad line and all after it are the file's own.
    const std::string afterDeletion = Rewritten(text, lists, 1);
    if (EntryCount(afterDeletion) != entries - 1) Broken("a deletion did not remove exactly one entry");
    const String changed("Nom chang\xe9");
    lists.linkNames.Put(new String(changed), 1);
    // An entry grown past what a line holds is refused, and the text stays as it was.
    if (LinkEntryProblem(changed, *CastSmart<String>(lists.linkURLs.At(1))) != nullptr) return goodProviders || goodLinks;
    const std::string afterChange = Rewritten(text, lists, 0);
    LinkLists reread;
    ParseLinkText(afterChange, reread, nullptr);
    if (static_cast<std::size_t>(reread.linkNames.NumItems()) != entries) Broken("a change lost or added an entry");
    if (TextOf(*CastSmart<String>(reread.linkNames.At(1))) != "Nom chang\xe9") Broken("a change did not take");
  }
  return goodProviders || goodLinks;
}

}  // namespace list_testing
