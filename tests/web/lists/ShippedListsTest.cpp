// The list files the program ships in its data folders read through the program's own readers.
#include <gtest/gtest.h>

#include "ListFixture.h"
#include "support/graphics/GraphicsFixture.h"
#include "web/lists/ProviderFile.h"

namespace {

using ShippedLists = GraphicsFixture;  // the program's folder is the repository's data/

TEST_F(ShippedLists, ReadWithoutAQuestionAndHoldTheirExamples) {
  AlertRecorder alerts;
  LinkLists web;
  ReadLinks(*LinkFolder(kWebLinks), web, true);
  EXPECT_EQ(EntriesOf(web), (Entries{{"Site d'exemple", "www.example.org"},
                                     {"Page de d\xe9monstration", "www.example.org/demo.html"}}));
  EXPECT_EQ(TextsOf(web.linkFiles), (std::vector<std::string>{"exemples", "exemples"}));
  LinkLists mail;
  ReadLinks(*LinkFolder(kEmailLinks), mail, false);
  EXPECT_EQ(EntriesOf(mail), (Entries{{"Adresse d'exemple", "bonjour@example.org"}}));

  const std::vector<ProviderEntry> providers = ReadProviders(*ProviderFolder());
  ASSERT_EQ(providers.size(), 1u);
  EXPECT_EQ(TextOf(providers[0].name), "Exemple");
  EXPECT_EQ(TextOf(providers[0].ftpHost), "ftp.exemple.invalid");
  EXPECT_EQ(TextOf(SubstituteAccount(providers[0].serverPathTemplate, String("lea"))), "/sites/lea");
  EXPECT_EQ(TextOf(SubstituteAccount(providers[0].webPathTemplate, String("lea"))), "http://www.exemple.invalid/~lea");
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace
