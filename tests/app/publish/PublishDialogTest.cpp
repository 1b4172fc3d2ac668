// The publish dialog run modally in the program on the headless screen, as the publishing runs it, over a
// program folder of the test's own: keys typed into its fields, clicks on its reveal button, and what ends
// in the user record.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/links/LinkDialogsTestSupport.h"
#include "app/publish/PublishDialog.h"
#include "app/publish/PublisherHosting.h"
#include "app/publish/RevealButton.h"
#include "core/CoreState.h"
#include "core/Text1252.h"
#include "platform/kernel/Files.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Window.h"
#include "support/Raised.h"
#include "support/ScreenPixels.h"
#include "ui/controls/PopupControl.h"
#include "ui/menus/Menu.h"
#include "ui/text/TextView.h"
#include "ui/views/WindowFrame.h"
#include "web/users/DromelUserInfo.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kProviders =
    "1\r\n"
    "// nom|hote|chemin|web\r\n"
    "Exemple|ftp.example.org|/sites/%1/%1|http://www.example.org/~%1\r\n"
    "Autre|ftp.other.example.net|/home/%1|http://other.example.net/%1\r\n";

std::string Text(const String& text) { return TextOf(text); }

std::string FieldText(TextView* field) {
  String text;
  field->GetText(&text);
  return TextOf(text);
}

std::string PopupText(PublishDialog& dialog) {
  String text;
  dialog.GetProviderPopup()->GetItemText(&text);
  return TextOf(text);
}

SmartRef<DromelUserInfo> Record(const char* service, const char* account, const char* password) {
  SmartRef<DromelUserInfo> record(new DromelUserInfo);
  record->service->Set(service);
  record->account->Set(account);
  record->password->Set(password);
  return record;
}

PublishDialog& AsPublish(Dialog& front) {
  return *static_cast<PublishDialog*>(CastSmart(&front, &PublishDialog::classInfo));
}

POINT OnScreen(Dialog& dialog, Point p) {
  POINT s{p.x, p.y};
  ClientToScreen(dialog.GetFrame()->GetHandle(), &s);
  return s;
}

void Click(Dialog& dialog, View& view) {
  const POINT p = OnScreen(dialog, view.GetBounds().Center());
  platform::InjectMouseMove(p.x, p.y);
  platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, true);
  platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, false);
}

// Steps of the script: characters typed at the focused field, the next field, a click.
ModalScript::Step Type(const char* text) {
  return [text](Dialog&) { platform::InjectText(text); };
}
ModalScript::Step Tab() {
  return [](Dialog&) {
    platform::InjectKey(VK_TAB, true);
    platform::InjectKey(VK_TAB, false);
  };
}
ModalScript::Step ClickReveal() {
  return [](Dialog& front) { Click(front, *AsPublish(front).GetRevealButton()); };
}
ModalScript::Step Check(std::function<void(PublishDialog&)> check) {
  return [check](Dialog& front) { check(AsPublish(front)); };
}

class PublishDialogTest : public LinkDialogFixture {
 protected:
  void TearDown() override {
    SetPublisherHosting({});
    gPublisherAccount = false;
    LinkDialogFixture::TearDown();
  }

  // Inside the program, once it has started: the test's folder is the program's, with its "Data".
  void InProgramFolder(const std::function<void()>& body) {
    folder.MakeFolder("Data");
    InProgram([&] {
      ASSERT_TRUE(SetCurrentDirectoryA(folder.WinPath().c_str()));
      TheCoreState().applicationFolderRead = false;
      body();
    });
  }

  // As the publishing runs it: opened activated, the provider choice applied, polled until it closes.
  // The steps run while it polls; answers whether it was accepted.
  bool Run(DromelUserInfo& record, std::initializer_list<ModalScript::Step> steps,
           const std::function<void(PublishDialog&)>& opened = {}) {
    SmartRef<PublishDialog> dialog(new PublishDialog(&record));
    dialog->Open(true);
    dialog->ApplyProviderChoice();
    if (opened) opened(*dialog);
    ModalScript script{};
    for (const auto& step : steps) script.Add(step);
    while (dialog->Poll()) {
    }
    EXPECT_TRUE(script.Done()) << "the dialog closed before the script's end";
    return !dialog->WasCancelled();
  }

  std::vector<std::string> AlertTexts() const {
    std::vector<std::string> texts;
    for (const auto& alert : alerts.Alerts()) texts.push_back(alert.text);
    return texts;
  }
};

TEST_F(PublishDialogTest, TheRecordsProviderFillsHostAndPathsAndTheAccountFollowsIntoBoth) {
  folder.Write("FDA/fournisseurs.txt", kProviders);
  SmartRef<DromelUserInfo> record = Record("Exemple", "lea", "secret");
  record->ftpHost->Set("ftp.before.example");
  record->serverPath->Set("/before");
  InProgramFolder([&] {
    EXPECT_TRUE(Run(*record,
                    {Check([](PublishDialog& d) {
                       EXPECT_FALSE(d.IsCustom());
                       EXPECT_EQ(PopupText(d), "Exemple");
                       EXPECT_EQ(FieldText(d.GetServerPathField()), "/sites/lea/lea");
                       EXPECT_FALSE(d.GetFTPHostField()->IsEditing()) << "a provider's host is not typed";
                       EXPECT_TRUE(d.GetPasswordField()->IsTarget());
                     }),
                     Tab(), Type("z"),
                     Check([](PublishDialog& d) {
                       EXPECT_EQ(FieldText(d.GetAccountField()), "z") << "the account field takes the keys";
                       EXPECT_EQ(FieldText(d.GetServerPathField()), "/sites/z/z") << "after each key";
                     }),
                     Type("oe"), Enter()}));
  });
  EXPECT_EQ(Text(*record->service), "Exemple");
  EXPECT_EQ(Text(*record->ftpHost), "ftp.example.org");
  EXPECT_EQ(Text(*record->account), "zoe");
  EXPECT_EQ(Text(*record->serverPath), "/sites/zoe/zoe");
  EXPECT_EQ(Text(*record->webPage), "http://www.example.org/~zoe");
  EXPECT_EQ(Text(*record->password), "secret");
  EXPECT_TRUE(alerts.Alerts().empty());
}

// "Personnaliser" hands the host and paths to the child: they start from the last provider's, and the
// account no longer rewrites them.
TEST_F(PublishDialogTest, PersonnaliserStopsTheAccountFromRewritingThePaths) {
  folder.Write("FDA/fournisseurs.txt", kProviders);
  SmartRef<DromelUserInfo> record = Record("Autre", "lea", "secret");
  InProgramFolder([&] {
    EXPECT_TRUE(Run(*record,
                    {Check([](PublishDialog& d) {
                       EXPECT_EQ(FieldText(d.GetServerPathField()), "/home/lea");
                       ASSERT_TRUE(d.GetProviderPopup()->SelectByTitle(String("Personnaliser")));
                       d.ApplyProviderChoice();
                       EXPECT_TRUE(d.IsCustom());
                       EXPECT_TRUE(d.GetPasswordField()->IsTarget()) << "no keys for the hidden host field";
                       EXPECT_TRUE(d.GetFTPHostField()->IsEditing());
                       EXPECT_TRUE(d.GetServerPathField()->IsEditing());
                       EXPECT_TRUE(d.GetWebPathField()->IsEditing());
                     }),
                     Tab(), Type("zoe"),
                     Check([](PublishDialog& d) {
                       EXPECT_EQ(FieldText(d.GetAccountField()), "zoe");
                       EXPECT_EQ(FieldText(d.GetServerPathField()), "/home/lea");
                       // A provider chosen again takes the paths back.
                       ASSERT_TRUE(d.GetProviderPopup()->SelectByTitle(String("Exemple")));
                       d.ApplyProviderChoice();
                       EXPECT_FALSE(d.IsCustom());
                       EXPECT_EQ(FieldText(d.GetServerPathField()), "/sites/zoe/zoe");
                       ASSERT_TRUE(d.GetProviderPopup()->SelectByTitle(String("Personnaliser")));
                       d.ApplyProviderChoice();
                     }),
                     Tab(), Type("max"), Enter()}));
  });
  EXPECT_EQ(Text(*record->service), "Exemple") << "Personnaliser keeps the last provider's name";
  EXPECT_EQ(Text(*record->account), "max");
  EXPECT_EQ(Text(*record->ftpHost), "ftp.example.org");
  EXPECT_EQ(Text(*record->serverPath), "/sites/zoe/zoe");
  EXPECT_EQ(Text(*record->webPage), "http://www.example.org/~zoe");
}

// The provider pop-up from the folder: "Personnaliser" alone without lists; a separator and every entry
// of every list with them, a bad list's entries before its bad line among them.
TEST_F(PublishDialogTest, TheProviderMenuComesFromTheListsOfFDA) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<std::string> items;  // "-" a separator
    std::vector<std::string> alerts;
  } cases[] = {
      {"no folder: it is made", {}, {"Personnaliser"}, {}},
      {"no text file", {{"notes.doc", kProviders}}, {"Personnaliser"}, {}},
      {"one list", {{"a.txt", kProviders}}, {"Personnaliser", "-", "Exemple", "Autre"}, {}},
      {"a bad list, kept",
       {{"b.txt", "1\r\nAvant|h|s|w\r\nMal|h|s\r\nApres|h|s|w\r\n"}},
       {"Personnaliser", "-", "Avant"},
       {"Mauvais fichier Config - b.txt\nClique sur OK pour la supprimer."}},
      {"a list with no provider", {{"c.txt", "1"}}, {"Personnaliser", "-"}, {}},
  };
  InProgramFolder([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      fs::remove_all(folder.Path() / "FDA");
      for (const auto& [name, bytes] : c.files) folder.Write("FDA/" + name, bytes);
      alerts.Clear();
      alerts.Answer({IDCANCEL});
      SmartRef<DromelUserInfo> record = Record("Inconnu", "", "");
      SmartRef<PublishDialog> dialog(new PublishDialog(~record));
      EXPECT_TRUE(fs::is_directory(folder.Path() / "FDA"));
      std::vector<std::string> items;
      const Menu& shown = *dialog->GetProviderMenu();
      for (std::int32_t i = 1; i <= shown.CountEntries(); ++i) {
        const MenuItem* item = shown.ItemAt(i);
        items.push_back(item ? TextOf(item->GetText()) : "-");
      }
      EXPECT_EQ(items, c.items);
      EXPECT_EQ(AlertTexts(), c.alerts);
      // Every item's command is the publish dialog's alone.
      for (std::int32_t i = 1; i <= shown.CountEntries(); ++i) {
        const MenuItem* item = shown.ItemAt(i);
        if (item == nullptr) continue;
        GenericSignal* command = item->GetCommand();
        EXPECT_EQ(command->GetSignalStatus(~dialog), kCommandEnabled);
        EXPECT_EQ(command->GetSignalStatus(app), kCommandDisabled);
        EXPECT_EQ(RaisedText(Raised([&] { command->Send(nullptr); })), "GetSignalStatus(watcher) != disabled");
      }
      EXPECT_TRUE(dialog->IsCustom()) << "a service no list names";
      EXPECT_EQ(PopupText(*dialog), "Personnaliser");
      for (const auto& [name, bytes] : c.files) EXPECT_TRUE(fs::exists(folder.Path() / "FDA" / name));
    }
  });
}

TEST_F(PublishDialogTest, TheRevealButtonWidensTheWindowForTheAdvancedPartAndGivesItsSizeBack) {
  folder.Write("FDA/fournisseurs.txt", kProviders);
  SmartRef<DromelUserInfo> record = Record("", "lea", "secret");
  Rect closedBounds;
  InProgramFolder([&] {
    EXPECT_TRUE(Run(
        *record,
        {Check([&](PublishDialog& d) {
           closedBounds = d.GetBounds();
           EXPECT_TRUE(d.GetAdvancedPart()->IsHidden());
           EXPECT_EQ(d.GetAdvancedPart()->GetBounds().left, closedBounds.right) << "beside the content";
           EXPECT_EQ(d.GetAdvancedPart()->GetBounds().Width(), 210);
           // Pointing right: the triangle's left edge stands 3 pixels in.
           d.Refresh();
           const Rect b = d.GetRevealButton()->GetBounds();
           EXPECT_EQ(ScreenPixel(OnScreen(d, Point(b.left + 4, b.top + 2))), 0x000000u);
           EXPECT_NE(ScreenPixel(OnScreen(d, Point(b.left + 1, b.top + 4))), 0x000000u);
         }),
         ClickReveal(),
         Check([&](PublishDialog& d) {
           EXPECT_TRUE(d.GetAdvancedPart()->IsVisible());
           EXPECT_EQ(d.GetBounds().Width(), closedBounds.Width() + 210);
           EXPECT_GE(d.GetBounds().Height(), closedBounds.Height());
           EXPECT_TRUE(d.GetFTPHostField()->IsVisible());
           EXPECT_TRUE(d.IsCustom()) << "an empty service is no provider";
           EXPECT_TRUE(d.GetFTPHostField()->IsTarget()) << "the host typed by hand is the child's to type";
           // Pointing down: along its top, 3 pixels down.
           d.Refresh();
           const Rect b = d.GetRevealButton()->GetBounds();
           EXPECT_EQ(ScreenPixel(OnScreen(d, Point(b.left + 1, b.top + 4))), 0x000000u);
           EXPECT_NE(ScreenPixel(OnScreen(d, Point(b.left + 4, b.top + 1))), 0x000000u);
         }),
         Type("ftp.example.com"),
         [](Dialog& front) { Click(front, *AsPublish(front).GetServerPathField()); }, Type("/www"), ClickReveal(),
         Check([&](PublishDialog& d) {
           EXPECT_TRUE(d.GetAdvancedPart()->IsHidden());
           EXPECT_EQ(d.GetBounds(), closedBounds);
           EXPECT_TRUE(d.GetPasswordField()->IsTarget());
         }),
         Enter()}));
  });
  EXPECT_EQ(Text(*record->ftpHost), "ftp.example.com");
  EXPECT_EQ(Text(*record->serverPath), "/www") << "a click gives an advanced field the keys";
}

// "Publier" without a password: the alert, and the dialog waits for one.
TEST_F(PublishDialogTest, AnEmptyPasswordKeepsTheDialogOpen) {
  SmartRef<DromelUserInfo> record = Record("", "lea", "");
  record->ftpHost->Set("ftp.example.org");
  InProgramFolder([&] {
    EXPECT_TRUE(Run(*record, {Enter(), Check([](PublishDialog& d) {
                                EXPECT_FALSE(d.IsClosed());
                                EXPECT_TRUE(d.GetPasswordField()->IsTarget());
                              }),
                              Type("motdepasse"), Enter()}));
  });
  EXPECT_EQ(AlertTexts(), (std::vector<std::string>{"Désigner un mot de passe dans le champ approprié."_cp}));
  EXPECT_EQ(Text(*record->password), "motdepasse");
  EXPECT_FALSE(gPublisherAccount);
}

// The publisher's own host is a setting of the deployment: with none, no host is the publisher's (not even
// an empty one), and the child's password counts.
TEST_F(PublishDialogTest, OnlyTheDeploymentsOwnHostTakesItsPassword) {
  struct Case {
    const char* name;
    PublisherHosting hosting;
    const char* host;
    bool publisher;
  } cases[] = {
      {"no deployment, empty host", {}, "", false},
      {"no deployment", {}, "ftp.example.org", false},
      {"the deployment's host", {"ftp.publisher.example", "compte", "pw"}, "ftp.publisher.example", true},
      {"letter case counts", {"ftp.publisher.example", "compte", "pw"}, "FTP.publisher.example", false},
  };
  InProgramFolder([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      SetPublisherHosting(c.hosting);
      gPublisherAccount = !c.publisher;
      alerts.Clear();
      SmartRef<DromelUserInfo> record = Record("", "lea", "");
      record->ftpHost->Set(c.host);
      // Refused, the dialog is cancelled.
      const bool accepted =
          c.publisher ? Run(*record, {Enter()}) : Run(*record, {Enter(), [](Dialog& d) { d.Cancel(); }});
      EXPECT_EQ(accepted, c.publisher);
      EXPECT_EQ(gPublisherAccount, c.publisher);
      EXPECT_EQ(alerts.Alerts().size(), c.publisher ? 0u : 1u);
      EXPECT_EQ(Text(*record->password), c.publisher ? "pw" : "");
    }
  });
}

// A password typed and then cancelled is never stored: the record has it back as it was; what else was
// typed stays.
TEST_F(PublishDialogTest, CancelPutsThePasswordBack) {
  InProgramFolder([&] {
    for (const bool escape : {true, false}) {
      SCOPED_TRACE(escape ? "Esc" : "Annuler");
      SmartRef<DromelUserInfo> record = Record("", "lea", "ancien");
      EXPECT_FALSE(Run(*record, {Type("nouveau"), Check([](PublishDialog& d) {
                                   EXPECT_NE(FieldText(d.GetPasswordField()), "ancien") << "typed into the field";
                                 }),
                                 Tab(), Type("max"),
                                 escape ? Escape() : ModalScript::Step([](Dialog& d) { d.Cancel(); })}));
      EXPECT_EQ(Text(*record->password), "ancien");
      EXPECT_EQ(Text(*record->account), "max");
    }
  });
}

TEST_F(PublishDialogTest, TheDataTextOpensTheDialogOrElseText1027) {
  struct Case {
    const char* name;
    const char* file;  // Data/2000.txt: null none, "/" a folder of that name
    std::string shown;
  } cases[] = {
      {"the data text", "Choisis.\nPuis publie.", "Choisis.\nPuis publie."},
      {"no data text", nullptr,
       "Sélectionne ton fournisseur d'accès à Internet.\nS'il n'est pas dans la liste, appuie sur 'Aide'."_cp},
      {"a folder in its place", "/",
       "Sélectionne ton fournisseur d'accès à Internet.\nS'il n'est pas dans la liste, appuie sur 'Aide'."_cp},
  };
  InProgramFolder([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      fs::remove_all(folder.Path() / "Data");
      folder.MakeFolder("Data");
      if (c.file != nullptr && std::string(c.file) == "/") {
        folder.MakeFolder("Data/2000.txt");
      } else if (c.file != nullptr) {
        folder.Write("Data/2000.txt", c.file);
      }
      SmartRef<DromelUserInfo> record = Record("", "", "");
      SmartRef<PublishDialog> dialog(new PublishDialog(~record));
      EXPECT_EQ(FieldText(dialog->GetIntroField()), c.shown);
    }
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace
