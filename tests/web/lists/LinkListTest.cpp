#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ListFixture.h"
#include "core/Text1252.h"
#include "platform/kernel/Files.h"
#include "support/Raised.h"
#include "web/lists/ListText.h"

namespace {

using namespace std::string_literals;

struct ParseRow {
  const char* label;
  std::string text;
  bool good;
  Entries entries;
};

TEST(LinkListText, ParsesEntriesAndFindsBadTexts) {
  const std::string longName(3000, 'n');
  const ParseRow rows[] = {
      {"empty", "", false, {}},
      {"only line ends", "\r\n\r\n", false, {}},
      {"begins with an empty line", "\r\n\r\na\tb\r\n", false, {}},
      {"comments and short lines", "// liens\r\nab\r\nx\r\n", true, {}},
      {"two TABs in a row", "nom\t\twww.example.org\r\n", true, {{"nom", "www.example.org"}}},
      {"TABs around", "\tnom\twww.example.org\t\r\n", true, {{"nom", "www.example.org"}}},
      {"name and TAB", "nom\t\r\n", false, {}},
      {"TAB and URL", "\twww.example.org\r\n", false, {}},
      {"TABs only", "\t\t\t\r\n", false, {}},
      {"three pieces", "a\tb\tc\r\n", false, {}},
      {"lone CR", "a\tb\rc\td", true, {{"a", "b"}, {"c", "d"}}},
      {"LF only", "a\tb\nc\td\n", true, {{"a", "b"}, {"c", "d"}}},
      {"no last line end", "a\tb\r\nc\td", true, {{"a", "b"}, {"c", "d"}}},
      {"leading line end", "\r\na\tb\r\n", true, {{"a", "b"}}},
      {"empty line ends the list", "a\tb\r\nc\td\r\ne\tf\r\n\r\ng\th\r\nbad line\r\n", true,
       {{"a", "b"}, {"c", "d"}, {"e", "f"}}},
      {"bad line in the middle", "a\tb\r\nmauvaise ligne\r\nc\td\r\n", false, {{"a", "b"}}},
      {"Windows-1252 bytes", "Caf\xe9\twww.example.org/\xe9t\xe9\r\n", true, {{"Caf\xe9", "www.example.org/\xe9t\xe9"}}},
      {"NUL bytes", "a\0b\tc\r\n"s, true, {{"a\0b"s, "c"}}},
      {"overlong line", longName + "\tu\r\n", true, {{longName, "u"}}},
  };
  for (const ParseRow& row : rows) {
    SCOPED_TRACE(row.label);
    LinkLists lists;
    const String base("liens");
    EXPECT_EQ(ParseLinkText(row.text, lists, &base), row.good);
    EXPECT_EQ(EntriesOf(lists), row.entries);
    EXPECT_EQ(TextsOf(lists.linkFiles), std::vector<std::string>(row.entries.size(), "liens"));
  }
}

TEST(LinkListText, RefusesEntriesNoLineCanHold) {
  const std::string fits(2000 - 1 - 2 - 1, 'u');
  struct Row {
    const char* label;
    std::string name, url;
    bool refused;
  } rows[] = {
      {"plain", "nom", "www.example.org", false},
      {"TAB in the name", "n\tom", "www.example.org", true},
      {"CR in the URL", "nom", "www.example.org\r", true},
      {"LF in the URL", "nom", "www.\nexample.org", true},
      {"empty name", "", "www.example.org", true},
      {"empty URL", "nom", "", true},
      {"name read back as a comment", "//nom", "www.example.org", true},
      {"NUL byte, stored as it is", "n", std::string("www.\0example.org", 16), false},
      {"line of exactly 2000 bytes", "n", fits, false},
      {"line of 2001 bytes", "n", fits + "u", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(LinkEntryProblem(listtext::StringOf(row.name), listtext::StringOf(row.url)) != nullptr, row.refused);
  }
}

using LinkFolders = ListFixture;

TEST_F(LinkFolders, AreMadeBesideTheProgramByKind) {
  const std::pair<int, const char*> kinds[] = {{kWebLinks, "LNWEB"}, {kEmailLinks, "LNEMAIL"}, {7, "LNEMAIL"}};
  for (const auto& [kind, name] : kinds) {
    SmartRef<FileReference> linkFolder = LinkFolder(kind);
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / name)) << name;
    EXPECT_TRUE(linkFolder->IsFolder());
  }
}

TEST_F(LinkFolders, ReadEveryListFileAndOfferBadOnesForDeletion) {
  SmartRef<FileReference> web = LinkFolder(kWebLinks);
  folder.Write("LNWEB/a.txt", "Un\twww.example.org/1\r\n");
  folder.Write("LNWEB/b.txt", "Deux\twww.example.org/2\r\nmauvaise\r\nTrois\twww.example.org/3\r\n");
  folder.Write("LNWEB/c.txt", "");
  folder.Write("LNWEB/notes.doc", "pas une liste");
  alerts.Answer({IDOK, IDCANCEL});
  LinkLists lists;
  ReadLinks(*web, lists, true);

  EXPECT_EQ(EntriesOf(lists), (Entries{{"Un", "www.example.org/1"}, {"Deux", "www.example.org/2"}}));
  EXPECT_EQ(TextsOf(lists.linkFiles), (std::vector<std::string>{"a", "b"}));
  ASSERT_EQ(alerts.Alerts().size(), 2u);
  EXPECT_EQ(alerts.Alerts()[0].text, "Mauvais fichier Config - b.txt\nClique sur OK pour la supprimer.");
  EXPECT_EQ(alerts.Alerts()[1].text, "Mauvais fichier Config - c.txt\nClique sur OK pour la supprimer.");
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "LNWEB/b.txt")) << "OK deletes";
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "LNWEB/c.txt")) << "Cancel keeps";
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "LNWEB/notes.doc"));
}

TEST_F(LinkFolders, AFolderNamedLikeAListIsNotRead) {
  SmartRef<FileReference> web = LinkFolder(kWebLinks);
  folder.MakeFolder("LNWEB/dossier.txt");
  folder.Write("LNWEB/liens.txt", "Un\twww.example.org\r\n");
  LinkLists lists;
  ReadLinks(*web, lists, false);
  EXPECT_EQ(EntriesOf(lists), (Entries{{"Un", "www.example.org"}}));
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(LinkFolders, AFileThatCannotBeOpenedIsReportedAndTheOthersRead) {
  SmartRef<FileReference> web = LinkFolder(kWebLinks);
  folder.Write("LNWEB/a.txt", "Un\twww.example.org/1\r\n");
  const std::string held = folder.Write("LNWEB/b.txt", "Deux\twww.example.org/2\r\n");
  folder.Write("LNWEB/c.txt", "Trois\twww.example.org/3\r\n");
  // Another program holds it without sharing.
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  LinkLists lists;
  ReadLinks(*web, lists, false);
  CloseHandle(holder);
  EXPECT_EQ(EntriesOf(lists), (Entries{{"Un", "www.example.org/1"}, {"Trois", "www.example.org/3"}}));
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, "Impossible de lire le fichier b.txt");
  EXPECT_EQ(folder.Read("LNWEB/b.txt"), "Deux\twww.example.org/2\r\n");
}

TEST_F(LinkFolders, ATooLargeFileIsBadAndNotRead) {
  SmartRef<FileReference> web = LinkFolder(kWebLinks);
  std::string huge = "a\tb\r\n";
  huge.resize(listtext::kMaxListFileSize + 1, 'x');
  folder.Write("LNWEB/huge.txt", huge);
  alerts.Answer({IDCANCEL});
  LinkLists lists;
  ReadLinks(*web, lists, false);
  EXPECT_EQ(lists.linkNames.NumItems(), 0);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "LNWEB/huge.txt"));
}

TEST_F(LinkFolders, AppendingWritesCRLFLinesToTheChildsFile) {
  SmartRef<FileReference> web = LinkFolder(kWebLinks);
  LinkLists lists;
  AppendLink(*web, String("Caf\xe9"), String("www.example.org"), lists);
  EXPECT_EQ(folder.Read("LNWEB/utilisateur.txt"), "Caf\xe9\twww.example.org\r\n");
  AppendLink(*web, String("Deux"), String("www.example.org/2"), lists);
  EXPECT_EQ(folder.Read("LNWEB/utilisateur.txt"), "Caf\xe9\twww.example.org\r\nDeux\twww.example.org/2\r\n");
  EXPECT_EQ(EntriesOf(lists), (Entries{{"Caf\xe9", "www.example.org"}, {"Deux", "www.example.org/2"}}));
}

TEST_F(LinkFolders, AppendingEndsALastLineThatLacksItsLineEnd) {
  SmartRef<FileReference> mail = LinkFolder(kEmailLinks);
  for (const std::string& before : {"Un\ta@example.org"s, "Un\ta@example.org\n"s}) {
    folder.Write("LNEMAIL/utilisateur.txt", before);
    LinkLists lists;
    AppendLink(*mail, String("Deux"), String("b@example.org"), lists);
    const std::string after = folder.Read("LNEMAIL/utilisateur.txt");
    EXPECT_EQ(after, before + (before.back() == '\n' ? "" : "\r\n") + "Deux\tb@example.org\r\n");
    LinkLists read;
    EXPECT_TRUE(ParseLinkText(after, read, nullptr));
    EXPECT_EQ(read.linkNames.NumItems(), 2);
  }
}

TEST_F(LinkFolders, AnEntryNoLineCanHoldIsRefusedAndNothingChanges) {
  SmartRef<FileReference> web = LinkFolder(kWebLinks);
  folder.Write("LNWEB/utilisateur.txt", "Un\twww.example.org\r\n");
  LinkLists lists;
  const SmartRef<Exception> raised = Raised([&] { AppendLink(*web, String("a\tb"), String("www.example.org"), lists); });
  EXPECT_EQ(RaisedText(raised), "Le nom et l'adresse du lien ne peuvent contenir ni tabulation ni retour à la ligne."_cp);
  EXPECT_EQ(folder.Read("LNWEB/utilisateur.txt"), "Un\twww.example.org\r\n");
  EXPECT_EQ(lists.linkNames.NumItems(), 0);
}

// Reads the folder for the editor, changes or deletes an entry and rewrites its file.
class LinkRewrite : public ListFixture {
 protected:
  LinkLists ReadAll() {
    LinkLists lists;
    ReadLinks(*LinkFolder(kWebLinks), lists, true);
    return lists;
  }
  void Change(LinkLists& lists, std::int32_t index, const char* name, const char* url) {
    lists.linkNames.Put(new String(name), index);
    lists.linkURLs.Put(new String(url), index);
  }
};

TEST_F(LinkRewrite, AChangeReplacesOnlyItsLineAndKeepsEveryOther) {
  const std::string before =
      "// mes liens\r\nab\r\nUn\t\twww.example.org/1\nDeux\twww.example.org/2\r\n\r\n// apr\xe8s\r\nmauvaise\r\n";
  folder.Write("LNWEB/liens.txt", before);
  folder.Write("LNWEB/autres.txt", "Autre\twww.example.org/autre\r\n");
  LinkLists lists = ReadAll();
  ASSERT_EQ(TextsOf(lists.linkFiles), (std::vector<std::string>{"autres", "liens", "liens"}));
  Change(lists, 3, "Deux bis", "www.example.org/deux");
  RewriteLinkFile(*LinkFolder(kWebLinks), String("liens"), lists, 0);
  EXPECT_EQ(folder.Read("LNWEB/liens.txt"),
            "// mes liens\r\nab\r\nUn\t\twww.example.org/1\nDeux bis\twww.example.org/deux\r\n\r\n// apr\xe8s\r\nmauvaise\r\n");
  EXPECT_EQ(folder.Read("LNWEB/autres.txt"), "Autre\twww.example.org/autre\r\n");
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path() / "LNWEB"))
    EXPECT_EQ(entry.path().filename().string().find('~'), std::string::npos) << "no replacement left behind";
  EXPECT_EQ(EntriesOf(ReadAll()), (Entries{{"Autre", "www.example.org/autre"},
                                           {"Un", "www.example.org/1"},
                                           {"Deux bis", "www.example.org/deux"}}));
}

TEST_F(LinkRewrite, ADeletionDropsItsLineAndTheLastOneRemovesTheFile) {
  folder.Write("LNWEB/utilisateur.txt", "Un\twww.example.org/1\r\nDeux\twww.example.org/2\r\nTrois\twww.example.org/3");
  LinkLists lists = ReadAll();
  RewriteLinkFile(*LinkFolder(kWebLinks), String("utilisateur"), lists, 2);
  EXPECT_EQ(folder.Read("LNWEB/utilisateur.txt"), "Un\twww.example.org/1\r\nTrois\twww.example.org/3");

  folder.Write("LNWEB/utilisateur.txt", "Seul\twww.example.org\r\n");
  lists = ReadAll();
  RewriteLinkFile(*LinkFolder(kWebLinks), String("utilisateur"), lists, 1);
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "LNWEB/utilisateur.txt"));
}

TEST_F(LinkRewrite, DeletingTheOnlyLineBeforeTheEmptyOneLeavesNoUnreadLinesAlive) {
  for (const std::string lead : {"", "\r\n"}) {
    folder.Write("LNWEB/liens.txt", lead + "Seul\twww.example.org\r\n\r\nJamais lu\twww.example.org/2\r\n");
    LinkLists lists = ReadAll();
    ASSERT_EQ(lists.linkNames.NumItems(), 1);
    RewriteLinkFile(*LinkFolder(kWebLinks), String("liens"), lists, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "LNWEB/liens.txt"));
  }
}

TEST_F(LinkRewrite, ADeletionJoinsNoLineEndsIntoAnother) {
  // A lone CR, the entry, then an empty line of a lone LF: removing the entry with its own line end would
  // make CR LF of the two, and the unread line after the empty one would become an entry.
  folder.Write("LNWEB/liens.txt", "// c\rUn\twww.example.org\n\nJamais lu\twww.example.org/2\r\n");
  LinkLists lists = ReadAll();
  ASSERT_EQ(lists.linkNames.NumItems(), 1);
  RewriteLinkFile(*LinkFolder(kWebLinks), String("liens"), lists, 1);
  EXPECT_EQ(folder.Read("LNWEB/liens.txt"), "// c\n\nJamais lu\twww.example.org/2\r\n");
  EXPECT_EQ(ReadAll().linkNames.NumItems(), 0);
}

TEST_F(LinkRewrite, ADeletionKeepsAFileThatStillHoldsComments) {
  folder.Write("LNWEB/liens.txt", "// garde-moi\r\nSeul\twww.example.org\r\n");
  LinkLists lists = ReadAll();
  RewriteLinkFile(*LinkFolder(kWebLinks), String("liens"), lists, 1);
  EXPECT_EQ(folder.Read("LNWEB/liens.txt"), "// garde-moi\r\n");
}

TEST_F(LinkRewrite, EntriesTheFileLostSinceReadingAreWrittenBack) {
  folder.Write("LNWEB/liens.txt", "Un\twww.example.org/1\r\nDeux\twww.example.org/2\r\n");
  LinkLists lists = ReadAll();
  folder.Write("LNWEB/liens.txt", "Un\twww.example.org/1");
  Change(lists, 1, "Premier", "www.example.org/1");
  RewriteLinkFile(*LinkFolder(kWebLinks), String("liens"), lists, 0);
  EXPECT_EQ(folder.Read("LNWEB/liens.txt"), "Premier\twww.example.org/1\r\nDeux\twww.example.org/2\r\n");
}

TEST_F(LinkRewrite, AChangeNoLineCanHoldLeavesTheFileAsItWas) {
  const std::string before = "Un\twww.example.org/1\r\n";
  folder.Write("LNWEB/liens.txt", before);
  LinkLists lists = ReadAll();
  Change(lists, 1, "Un", "www.example.org/\r\nDeux\twww.example.org/2");
  EXPECT_TRUE(Raised([&] { RewriteLinkFile(*LinkFolder(kWebLinks), String("liens"), lists, 0); }));
  EXPECT_EQ(folder.Read("LNWEB/liens.txt"), before);
}

}  // namespace
