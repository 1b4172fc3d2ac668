#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ListFixture.h"
#include "support/Raised.h"
#include "web/lists/ProviderFile.h"

namespace {

using namespace std::string_literals;

// name, host, server path, web path
using Provider = std::vector<std::string>;

std::vector<Provider> ProvidersOf(const std::vector<ProviderEntry>& entries) {
  std::vector<Provider> providers;
  for (const ProviderEntry& entry : entries)
    providers.push_back({TextOf(entry.name), TextOf(entry.ftpHost), TextOf(entry.serverPathTemplate),
                         TextOf(entry.webPathTemplate)});
  return providers;
}

TEST(ProviderText, ParsesEntriesAndFindsBadFiles) {
  const Provider p = {"P", "ftp.example.org", "/s/%1", "http://example.org/~%1"};
  const std::string line = "P|ftp.example.org|/s/%1|http://example.org/~%1";
  struct Row {
    const char* label;
    std::string text;
    bool good;
    std::vector<Provider> providers;
  } rows[] = {
      {"empty", "", false, {}},
      {"only a line end", "\r\n", false, {}},
      {"comment, short line and one entry", "1\r\n// c\r\nab\r\n" + line + "\r\n", true, {p}},
      {"number only", "1", true, {}},
      {"first line 0", "0\r\n" + line, false, {}},
      {"first line a word", "abc\r\n" + line, false, {}},
      {"blank, number, words", " 12 fournisseurs\r\n" + line, true, {p}},
      {"negative number", "-5\r\n" + line, true, {p}},
      {"signed zero", "+0\r\n" + line, false, {}},
      {"digits after the fifteenth", "000000000000000" "1\r\n" + line, false, {}},
      {"three pieces after ||", "1\r\nA|h|s|w\r\nB||h|s\r\nC|h|s|w\r\n", false, {{"A", "h", "s", "w"}}},
      {"blanks stay", "1\r\nP | h | s | w", true, {{"P ", " h ", " s ", " w"}}},
      {"pieces after the fourth", "1\r\nP|h|s|w|x|y", true, {{"P", "h", "s", "w"}}},
      {"empty line ends the file", "1\r\nA|h|s|w\r\nB|h|s|w\r\n\r\nC|h|s|w\r\nmauvais\r\n", true,
       {{"A", "h", "s", "w"}, {"B", "h", "s", "w"}}},
      {"LF only", "1\nA|h|s|w\nB|h|s|w\n", true, {{"A", "h", "s", "w"}, {"B", "h", "s", "w"}}},
      {"lone CR", "1\rA|h|s|w", true, {{"A", "h", "s", "w"}}},
      {"Windows-1252 bytes", "1\r\nFournisseur \xe9t\xe9|h|s|w\r\n", true, {{"Fournisseur \xe9t\xe9", "h", "s", "w"}}},
      {"binary", "1\r\n\0\xff|\x01|\x02|\x03\r\n"s, true, {{"\0\xff"s, "\x01", "\x02", "\x03"}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    std::vector<ProviderEntry> entries;
    EXPECT_EQ(ParseProviderText(row.text, &entries), row.good);
    EXPECT_EQ(ProvidersOf(entries), row.providers);
  }
}

TEST(ProviderText, SubstitutesTheAccountForEveryMark) {
  struct Row {
    const char* pathTemplate;
    const char* account;
    const char* result;
  } rows[] = {
      {"/sites/%1/pages/%1", "lea", "/sites/lea/pages/lea"},
      {"/sites/%1", "", "/sites/"},
      {"/sites/%1", "%1", "/sites/%1"},
      {"%%11", "x", "%x1"},
      {"/sans", "lea", "/sans"},
      {"", "lea", ""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(TextOf(SubstituteAccount(String(row.pathTemplate), String(row.account))), row.result) << row.pathTemplate;
}

using ProviderFolders = ListFixture;

TEST_F(ProviderFolders, AMissingFolderIsMadeAndGivesNoProvider) {
  SmartRef<FileReference> providers = ProviderFolder();
  EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "FDA"));
  EXPECT_TRUE(ReadProviders(*providers).empty());
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(ProviderFolders, BadFilesAreOfferedForDeletionAndTheirFirstEntriesKept) {
  SmartRef<FileReference> providers = ProviderFolder();
  folder.Write("FDA/a.txt", "1\r\nA|h|s|w\r\nmauvais\r\nB|h|s|w\r\n");
  folder.Write("FDA/b.txt", "0\r\nC|h|s|w\r\n");
  folder.Write("FDA/c.txt", "2\r\nD|h|s|w\r\n");
  folder.Write("FDA/lisez-moi.doc", "0");
  alerts.Answer({IDCANCEL, IDOK});
  EXPECT_EQ(ProvidersOf(ReadProviders(*providers)), (std::vector<Provider>{{"A", "h", "s", "w"}, {"D", "h", "s", "w"}}));
  ASSERT_EQ(alerts.Alerts().size(), 2u);
  EXPECT_EQ(alerts.Alerts()[0].text, "Mauvais fichier Config - a.txt\nClique sur OK pour la supprimer.");
  EXPECT_EQ(alerts.Alerts()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(alerts.Alerts()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OKCANCEL));
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "FDA/a.txt"));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "FDA/b.txt"));
}

TEST_F(ProviderFolders, AFileGoneSinceTheListingGivesTheProgramsError) {
  SmartRef<FileReference> providers = ProviderFolder();
  SmartRef<FileReference> file(new FileReference(folder.WinPath("FDA\\parti.txt").c_str()));
  std::vector<ProviderEntry> entries;
  EXPECT_EQ(RaisedText(Raised([&] { ReadProviderFile(*file, &entries); })), "Impossible de lire le fichier parti.txt");
}

}  // namespace
