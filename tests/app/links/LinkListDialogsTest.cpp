// The chooser of saved links, its add form and the list editor, run modally in
// the program on the headless screen, with the folder's files checked byte for
// byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/links/LinkChooserDialog.h"
#include "app/links/LinkDialogsTestSupport.h"
#include "app/links/LinkListEditor.h"
#include "core/Exception.h"
#include "core/Text1252.h"
#include "platform/user/MessageBox.h"
#include "platform/user/Window.h"
#include "support/ScreenPixels.h"
#include "support/graphics/GoldenPicture.h"
#include "ui/controls/ListView.h"
#include "ui/text/TextView.h"
#include "ui/views/WindowFrame.h"
#include "web/lists/LinkList.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Texts(const List &list) {
  std::vector<std::string> texts;
  for (std::int32_t n = 1; n <= list.NumItems(); ++n) texts.push_back(TextOf(*CastSmart<String>(list.At(n))));
  return texts;
}

std::string FieldText(TextView *field) {
  String text;
  field->GetText(&text);
  return TextOf(text);
}

template <class D>
void RunModal(D &dialog) {
  dialog.ResetFlags();
  dialog.Open(true);
  while (dialog.Poll()) {
  }
}

class LinkChooserTest : public LinkDialogFixture {};

TEST_F(LinkChooserTest, ListsTheFolderAndAChosenEntryShowsItsAddress) {
  folder.Write("jeux.txt",
               "// des "
               "jeux\r\nPuzzle\tpuzzle.example.org\r\nDames\t//dames.example.org\r\n");
  folder.Write("utilisateur.txt", "Mamie\tmamie.example.org\r\n");
  // A bad file the child keeps: what came before its bad line is listed all the
  // same.
  folder.Write("zut.txt",
               "Avant\tavant.example.org\r\nrien qu'un "
               "morceau\r\nApres\tapres.example.org\r\n");
  InProgram([&] {
    alerts.Answer({IDCANCEL});
    SmartRef<LinkChooserDialog> chooser(new LinkChooserDialog(~Folder()));
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_EQ(alerts.Alerts()[0].text, "Mauvais fichier Config - zut.txt\nClique sur OK pour la supprimer.");
    const std::vector<std::string> names = Texts(chooser->GetLists().linkNames);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(Texts(chooser->GetListView()->GetList()), names) << "the pane shows the names";
    EXPECT_EQ(chooser->GetSelectedURL(), nullptr);

    const std::int32_t chosen =
        static_cast<std::int32_t>(std::find(names.begin(), names.end(), "Dames") - names.begin() + 1);
    chooser->GetListView()->SetSelection(chosen);
    ASSERT_TRUE(chooser->GetSelectedURL());
    EXPECT_EQ(TextOf(*chooser->GetSelectedURL()), "//dames.example.org");
    EXPECT_EQ(FieldText(chooser->GetURLField()), "//dames.example.org");
    chooser->GetListView()->SetSelection(0);
    EXPECT_EQ(TextOf(*chooser->GetSelectedURL()), "//dames.example.org") << "no row changes nothing";

    ModalScript script{Enter()};
    RunModal(*chooser);
    EXPECT_FALSE(chooser->WasCancelled());
    EXPECT_TRUE(script.Done());
  });
  EXPECT_TRUE(fs::exists(folder.Path() / "zut.txt")) << "Cancel keeps the bad file";
}

TEST_F(LinkChooserTest, AnEmptyFolderGivesAnEmptyListAndNoChoice) {
  InProgram([&] {
    SmartRef<LinkChooserDialog> chooser(new LinkChooserDialog(~Folder()));
    EXPECT_EQ(chooser->GetListView()->GetList().NumItems(), 0);
    ModalScript script{Enter()};
    RunModal(*chooser);
    EXPECT_FALSE(chooser->WasCancelled());
    EXPECT_EQ(chooser->GetSelectedURL(), nullptr);
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

// The add form, driven step by step: what the child types, what comes up, what
// ends in utilisateur.txt.
TEST_F(LinkChooserTest, TheAddFormSavesOnlyAnEntryALineCanHold) {
  const std::string tooLong(1990, 'x');
  struct Case {
    const char *name;
    std::string pending;  // the web-link dialog's address, "-" for no dialog
    std::vector<ModalScript::Step> steps;
    std::vector<std::string> alerts;
    bool saved;
    std::string file;  // utilisateur.txt afterwards ("-": none)
    std::string pendingAfter;
  } cases[] = {
      {"name and address", "-", {Fill({"Zoo", "zoo.example.org"}), Enter()}, {}, true, "Zoo\tzoo.example.org\r\n", ""},
      {"the dialog's address is edited in place",
       "//parc.example.org",
       {Fill({"Parc"}), Enter()},
       {},
       true,
       "Parc\t//parc.example.org\r\n",
       "//parc.example.org"},
      {"no name: the form comes back with the address kept",
       "//a.example.org",
       {Enter(), Fill({"A"}), Enter()},
       {"Tu dois taper un nom de lien"},
       true,
       "A\t//a.example.org\r\n",
       "//a.example.org"},
      {"no address",
       "-",
       {Fill({"B"}), Enter(), Fill({"", "b.example.org"}), Enter()},
       {"Tu dois taper un lien URL"},
       true,
       "B\tb.example.org\r\n",
       ""},
      {"a TAB in the address is refused and nothing is written",
       "a\tb",
       {Fill({"C"}), Enter(), Escape()},
       {"Le nom et l'adresse du lien ne peuvent contenir ni tabulation ni retour à la ligne."_cp},
       false,
       "-",
       "a\tb"},
      {"an entry longer than a line is refused",
       tooLong,
       {Fill({"Long name"}), Enter(), Escape()},
       {"Ce lien est trop long : le nom et l'adresse ensemble ne peuvent dépasser 1997 caractères."_cp},
       false,
       "-",
       tooLong},
      {"cancelled after typing: the typing stays in the dialog's address",
       "",
       {Fill({"D", "d.example.org"}), Escape()},
       {},
       false,
       "-",
       "d.example.org"},
  };
  InProgram([&] {
    for (const Case &c : cases) {
      SCOPED_TRACE(c.name);
      fs::remove(folder.Path() / "utilisateur.txt");
      alerts.Clear();
      if (c.pending != "-") gPendingLinkURL = new String(c.pending.c_str());
      SmartRef<LinkChooserDialog> chooser(new LinkChooserDialog(~Folder()));
      bool saved = false;
      {
        ModalScript script{};
        for (const auto &step : c.steps) script.Add(step);
        saved = chooser->AddLink();
        EXPECT_TRUE(script.Done());
      }
      EXPECT_EQ(saved, c.saved);
      EXPECT_EQ(Texts(chooser->GetLists().linkNames).size(), c.saved ? 1u : 0u);
      if (gPendingLinkURL) {
        EXPECT_EQ(TextOf(*gPendingLinkURL), c.pendingAfter);
      }
      gPendingLinkURL = nullptr;
      std::vector<std::string> shown;
      for (const auto &alert : alerts.Alerts()) shown.push_back(alert.text);
      EXPECT_EQ(shown, c.alerts);
      if (c.file == "-") {
        EXPECT_FALSE(fs::exists(folder.Path() / "utilisateur.txt"));
      } else {
        EXPECT_EQ(folder.Read("utilisateur.txt"), c.file);
      }
    }
  });
}

TEST_F(LinkChooserTest, AddingAppendsToTheChildsFileAfterALastLineWithoutItsEnd) {
  folder.Write("utilisateur.txt", "Zoo\tzoo.example.org");
  InProgram([&] {
    SmartRef<LinkChooserDialog> chooser(new LinkChooserDialog(~Folder()));
    ModalScript script{Fill({"Zoo", "zoo.example.org"}), Enter()};
    EXPECT_TRUE(chooser->AddLink());
    EXPECT_EQ(Texts(chooser->GetLists().linkNames), (std::vector<std::string>{"Zoo", "Zoo"}))
        << "a name that is there already makes a second entry";
  });
  EXPECT_EQ(folder.Read("utilisateur.txt"), "Zoo\tzoo.example.org\r\nZoo\tzoo.example.org\r\n");
}

// The form back after a refusal, as the child sees it: the entry as typed, for the child to mend.
TEST_F(LinkChooserTest, ARefusedEntryComesBackInTheForm) {
  InProgram([&] {
    gPendingLinkURL = new String("//zoo.example.org");
    SmartRef<LinkChooserDialog> chooser(new LinkChooserDialog(~Folder()));
    ModalScript script{Fill({"// Zoo"}), Enter(),
                       [](Dialog &form) {
                         form.Refresh();
                         const HWND handle = form.GetFrame()->GetHandle();
                         RECT client;
                         GetClientRect(handle, &client);
                         POINT origin{0, 0};
                         ClientToScreen(handle, &origin);
                         ExpectGolden(
                             ScreenPicture({origin.x, origin.y, origin.x + client.right, origin.y + client.bottom}),
                             "app/link-form-refused.ppm");
                         EXPECT_EQ(FieldTexts(form), (std::vector<std::string>{"// Zoo", "//zoo.example.org"}));
                       },
                       Escape()};
    EXPECT_FALSE(chooser->AddLink());
    EXPECT_TRUE(script.Done());
    gPendingLinkURL = nullptr;
  });
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_FALSE(fs::exists(folder.Path() / "utilisateur.txt"));
}

class LinkListEditorTest : public LinkDialogFixture {
 protected:
  // Two files; the listing order is the folder's, so each test finds its
  // entries by name.
  void WriteLists() {
    folder.Write("produit.txt",
                 "// liste du "
                 "produit\r\nUn\tun.example.org\r\nDeux\tdeux.example.org\r\n"
                 "Trois\ttrois.example.org\r\n\r\napres la fin\r\n");
    folder.Write("utilisateur.txt", "Seul\tseul.example.org\r\n");
  }
  static std::int32_t IndexOf(LinkListEditor &editor, const std::string &name) {
    const std::vector<std::string> names = Texts(editor.GetLists().linkNames);
    const auto found = std::find(names.begin(), names.end(), name);
    EXPECT_NE(found, names.end()) << name;
    return static_cast<std::int32_t>(found - names.begin() + 1);
  }
};

TEST_F(LinkListEditorTest, ChangingAnEntryRewritesItsFileKeepingTheOtherLinesAndTheChoice) {
  WriteLists();
  InProgram([&] {
    SmartRef<LinkListEditor> editor(new LinkListEditor(~Folder()));
    const std::int32_t deux = IndexOf(*editor, "Deux");
    editor->GetListView()->SetSelection(deux);
    EXPECT_EQ(editor->GetSelectedIndex(), deux);
    EXPECT_EQ(FieldText(editor->GetURLField()), "deux.example.org");
    {
      ModalScript script{[](Dialog &form) {
                           EXPECT_EQ(FieldTexts(form), (std::vector<std::string>{"Deux", "deux.example.org"}));
                         },
                         Fill({"Deux bis", "deux.example.org/bis"}), Enter()};
      editor->ChangeLink();
      EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(editor->GetSelectedIndex(), deux) << "the changed entry stays chosen";
    EXPECT_EQ(TextOf(*editor->GetSelectedName()), "Deux bis");
    EXPECT_EQ(FieldText(editor->GetURLField()), "deux.example.org/bis");
    EXPECT_EQ(editor->GetListView()->GetSelection(), 0) << "the rebuilt pane highlights nothing";
    EXPECT_EQ(editor->GetListView()->GetFirstVisible() + 1, 1) << "four entries: the first row is entry 1";
    ModalScript script{Enter()};
    RunModal(*editor);
    EXPECT_FALSE(editor->WasCancelled());
    EXPECT_EQ(TextOf(*editor->GetSelectedURL()), "deux.example.org/bis");
  });
  EXPECT_EQ(folder.Read("produit.txt"),
            "// liste du produit\r\nUn\tun.example.org\r\nDeux "
            "bis\tdeux.example.org/bis\r\n"
            "Trois\ttrois.example.org\r\n\r\napres la fin\r\n");
  EXPECT_EQ(folder.Read("utilisateur.txt"), "Seul\tseul.example.org\r\n");
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(LinkListEditorTest, AChangeTheFormRefusesWritesNothing) {
  WriteLists();
  const std::string before = folder.Read("produit.txt");
  InProgram([&] {
    SmartRef<LinkListEditor> editor(new LinkListEditor(~Folder()));
    editor->GetListView()->SetSelection(IndexOf(*editor, "Un"));
    ModalScript script{Fill({"// pas un nom"}), Enter(), Escape()};
    editor->ChangeLink();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(TextOf(*editor->GetSelectedName()), "Un");
  });
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, "Le nom du lien ne peut pas commencer par //.");
  EXPECT_EQ(folder.Read("produit.txt"), before);
}

TEST_F(LinkListEditorTest, DeletingAsksThenRewritesOrRemovesTheFile) {
  struct Case {
    const char *name;
    const char *entry;
    int answer;
    const char *file;
    const char *bytes;  // null: the file is gone
  } cases[] = {
      {"cancel keeps everything", "Deux", IDCANCEL, "produit.txt",
       "// liste du "
       "produit\r\nUn\tun.example.org\r\nDeux\tdeux.example."
       "org\r\nTrois\ttrois.example.org\r\n\r\n"
       "apres la fin\r\n"},
      {"OK takes the entry out, the rest in order", "Deux", IDOK, "produit.txt",
       "// liste du "
       "produit\r\nUn\tun.example.org\r\nTrois\ttrois.example.org\r\n\r\napres "
       "la fin\r\n"},
      {"the last entry of a file removes the file", "Seul", IDOK, "utilisateur.txt", nullptr},
  };
  InProgram([&] {
    for (const Case &c : cases) {
      SCOPED_TRACE(c.name);
      WriteLists();
      alerts.Clear();
      {
        SmartRef<LinkListEditor> editor(new LinkListEditor(~Folder()));
        const std::int32_t count = editor->GetLists().linkNames.NumItems();
        editor->GetListView()->SetSelection(IndexOf(*editor, c.entry));
        alerts.Answer({c.answer});
        editor->DeleteLink();
        const bool deleted = c.answer == IDOK;
        EXPECT_EQ(editor->GetLists().linkNames.NumItems(), deleted ? count - 1 : count);
        EXPECT_EQ(editor->GetLists().linkFiles.NumItems(), editor->GetLists().linkNames.NumItems());
        EXPECT_EQ(editor->GetSelectedIndex(), deleted ? 0 : IndexOf(*editor, c.entry));
        if (deleted) {
          EXPECT_EQ(editor->GetSelectedURL(), nullptr);
          EXPECT_EQ(FieldText(editor->GetURLField()), "");
        }
        ModalScript script{Enter()};
        RunModal(*editor);
        EXPECT_EQ(editor->GetSelectedURL() == nullptr, deleted) << "after a deletion nothing is chosen";
      }
      ASSERT_EQ(alerts.Alerts().size(), 1u);
      EXPECT_EQ(alerts.Alerts()[0].text, std::string("Supprimer ") + c.entry + " (" +
                                             (std::string(c.entry) == "Seul" ? "seul" : "deux") + ".example.org) ?");
      if (c.bytes == nullptr) {
        EXPECT_FALSE(fs::exists(folder.Path() / c.file));
      } else {
        EXPECT_EQ(folder.Read(c.file), c.bytes);
      }
    }
  });
}

TEST_F(LinkListEditorTest, WithoutAChoiceTheButtonsDoNothing) {
  WriteLists();
  InProgram([&] {
    SmartRef<LinkListEditor> editor(new LinkListEditor(~Folder()));
    editor->ChangeLink();
    editor->DeleteLink();
    editor->GetListView()->SetSelection(1);
    editor->GetListView()->SetSelection(0);
    EXPECT_EQ(editor->GetSelectedIndex(), 0);
    editor->DeleteLink();
    EXPECT_EQ(editor->GetLists().linkNames.NumItems(), 4);
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(LinkListEditorTest, AfterAChangeALongListShowsTheFourthEntryFromTheEnd) {
  std::string text;
  for (int n = 1; n <= 9; ++n) text += "Lien " + std::to_string(n) + "\tlien" + std::to_string(n) + ".example.org\r\n";
  folder.Write("utilisateur.txt", text);
  InProgram([&] {
    SmartRef<LinkListEditor> editor(new LinkListEditor(~Folder()));
    editor->GetListView()->SetSelection(2);
    ModalScript script{Fill({"Lien deux"}), Enter()};
    editor->ChangeLink();
    EXPECT_EQ(editor->GetListView()->GetFirstVisible() + 1, 6) << "n - 3 with n = 9";
    alerts.Answer({IDOK});
    editor->DeleteLink();
    EXPECT_EQ(editor->GetListView()->GetFirstVisible() + 1, 5) << "n - 3 with n = 8";
  });
}

}  // namespace
