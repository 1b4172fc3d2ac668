#include <gtest/gtest.h>

#include <string>

#include "core/FrameworkStrings.h"
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
  GetNumberedString(text, 202, "Data", nullptr, nullptr, nullptr);
  EXPECT_EQ(std::string(text), "Impossible de trouver le dossier \"Data\". \nEssaie de réinstaller le programme."_cp);
  GetNumberedString(text, 190, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(std::string(text), "Veux-tu enregistrer  \"%1\" avant de le fermer ?") << "unformatted without texts";
  EXPECT_EQ(RaisedText(Raised([&] { GetNumberedString(text, 4999, "x", nullptr, nullptr, nullptr); })),
            "Ressource de chaîne manquante 4999"_cp);
}

}  // namespace
