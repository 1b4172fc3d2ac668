#include <gtest/gtest.h>

#include <string>

#include "core/CoreState.h"
#include "core/Resources.h"
#include "core/Text1252.h"
#include "support/Raised.h"

namespace {

TEST(Text1252, LiteralsBecomeWindows1252Bytes) {
  EXPECT_EQ(std::string("Été à l'école"_cp), "\xC9t\xE9 \xE0 l'\xE9" "cole");
  EXPECT_EQ(std::string("œuvre – 5 €"_cp), "\x9Cuvre \x96 5 \x80");
  EXPECT_EQ(std::string(""_cp), "");
  static_assert("é"_cp[0] == '\xE9' && "é"_cp[1] == '\0');
}

TEST(FrameworkStrings, FormattedAndPlainTexts) {
  char text[256];
  GetFrameworkString(text, 3);
  EXPECT_EQ(std::string(text), "Fichier de données standard manquant. Réinstaller le programme."_cp);
  GetFrameworkString(text, 0, "a", "b", nullptr, "d");
  EXPECT_STREQ(text, "a b  d");
  GetStockString(text, 2, "Data");
  EXPECT_EQ(std::string(text), "Impossible de trouver le dossier \"Data\". \nEssaie de réinstaller le programme."_cp);
  gDocumentMessages.GetString(text, 0);
  EXPECT_EQ(std::string(text), "Veux-tu enregistrer  \"%1\" avant de le fermer ?") << "unformatted without texts";
  static Resources engineTexts(400, 499);
  EXPECT_EQ(RaisedText(Raised([&] { engineTexts.GetString(text, 99, "x"); })), "Ressource de chaîne manquante 499"_cp);
  // The last id of a set is in it; one more, or a negative index, is not.
  EXPECT_FALSE(Raised([&] { gDocumentMessages.GetString(text, 9); })) << "199 is the set's last id";
  for (int index : {10, -1, 0x10000})
    EXPECT_EQ(RaisedText(Raised([&] { gDocumentMessages.GetString(text, index); })),
              "Resource id not in this set of resources.");
}

}  // namespace

namespace {

TEST(Resources, StandardCursorsOfTheSystemSet) {
  EXPECT_EQ(gSystemCursors.GetFirst() + StandardCursorIndex(0), 32512);  // IDC_ARROW
  EXPECT_EQ(gSystemCursors.GetFirst() + StandardCursorIndex(1), 32514);  // IDC_WAIT
  EXPECT_EQ(gSystemCursors.GetFirst() + StandardCursorIndex(2), 32513);  // IDC_IBEAM
  EXPECT_EQ(StandardCursorIndex(129), 129);
  EXPECT_EQ(gSystemCursors.GetCount(), 65162 - 32512);
}

TEST(Resources, TheApplicationRecordIsSetOnceAndReadOnlyAfterwards) {
  TheCoreState().osApp = nullptr;
  EXPECT_EQ(RaisedText(Raised([] { Resources::GetOSApp(); })), "Resources::osApp != NULL");
  // The record belongs to the entry point; the resource sets only keep where it is.
  static const int records[2] = {};
  const auto* first = reinterpret_cast<const MainWindowRecord*>(&records[0]);
  Resources::SetOSApp(first);
  EXPECT_EQ(RaisedText(Raised([] { Resources::SetOSApp(reinterpret_cast<const MainWindowRecord*>(&records[1])); })),
            "Resources::osApp == NULL");
  EXPECT_EQ(Resources::GetOSApp(), first);
  TheCoreState().osApp = nullptr;
}

TEST(StringTable, TextsAreStoredExactlyAsWritten) {
  struct Case {
    int id;
    const char* text;
  };
  const Case cases[] = {
      {194, "Erreur de lecture de la version %1 %2.  %3 trop d'octets lus."},
      {195, "Erreur de lecture de la version %1 %2. %3 trop d'octets lus."},
      {1000, "Projets"},
      {1019, "<BODY BGCOLOR=\"#ffffff\"><CENTER>"},
      {1021, "</ADDRESS> <HR></BODY>"},
      {1028, "Ton ordinateur n'est pas connecté à Internet. Quillory va publier tes pages dans un dossier  \"HTML\" "
             "sur ton ordinateur, où tu pourras tester ton site à l'aide d'un explorateur."},
      {1061, "Caractères invalides dans ce nom ! N'utilise que des caractères alphanumériques (a-z, 0-9, A-Z).\n "
             "Ne pas utiliser de  '/', '\\', '*', '|', '.', d'espace ou autres caractères spéciaux."},
  };
  static Resources everything(0, 9999);
  for (const auto& c : cases) {
    char text[256];
    everything.GetString(text, c.id);
    EXPECT_EQ(std::string(text), platform::Utf8ToCp1252(c.text)) << c.id;
  }
}

}  // namespace
