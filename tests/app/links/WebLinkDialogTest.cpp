// The web-link dialog on a stage pane: the addresses it makes, the links it puts on the selected
// sprites, its protocol pop-up, the saved links it opens and the button pictures of the e-mail tool.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/links/LinkChooserDialog.h"
#include "app/links/LinkDialogsTestSupport.h"
#include "app/links/LinkListEditor.h"
#include "app/links/WebLinkDialog.h"
#include "app/page/AppPages.h"
#include "core/Exception.h"
#include "core/File.h"
#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/EditorTestSupport.h"
#include "editor/stage/CHAPane.h"
#include "engine/links/CLink.h"
#include "engine/page/SolidPicture.h"
#include "engine/sprites/CSprite.h"
#include "graphics/formats/BMPFile.h"
#include "platform/dialogs/CommonDialogs.h"
#include "ui/Seams.h"
#include "ui/ViewTestSupport.h"
#include "ui/controls/GraphicButton.h"
#include "ui/controls/ListView.h"
#include "ui/controls/PopupControl.h"
#include "ui/shell/App.h"
#include "ui/shell/Clipboard.h"
#include "ui/text/TextView.h"
#include "web/html/LinkHREF.h"

namespace fs = std::filesystem;

namespace {

// Opens the windows the pane opens, as the application does, and counts the changes it is told of.
class PaneSink : public AppCommandSink {
 public:
  void Changed(void*) override { ++changes; }
  void AddUndoable(Task*) override {}
  void WindowOpened(Window* window) override { gApplication->AddWindow(window, true); }
  void WindowClosed(Window* window) override { gApplication->WindowClosed(window); }
  void DoCommand(GenericSignal*) override {}
  int changes = 0;
};

std::string HrefAt(CSprite& sprite) {
  CLink* link = sprite.GetLinkAtFrame(0);
  if (link == nullptr) return "-";
  auto* href = CastSmart<LinkHREF>(link->GetStoredHref());
  return href ? TextOf(href->GetHref()) : "?";
}

void PutLink(CSprite& sprite, const char* href) {
  SmartRef<CLink> link(new CLink);
  link->SetHref(SmartRef<Persistent>(new LinkHREF(String(href))));
  sprite.SetLink(0, 1, ~link);
}

std::string PopupText(WebLinkDialog& dialog) {
  String text;
  static_cast<PopupControl*>(dialog.GetProtocolPopup())->GetItemText(&text);
  return TextOf(text);
}

class WebLinkDialogTest : public editor_test::EditorProgramTest {
 protected:
  void SetUp() override {
    EditorProgramTest::SetUp();
    SetInternetHooks({});
    gLinkProtocol[0] = '\0';
  }
  void TearDown() override {
    gProtocolMenu = nullptr;
    linkButtonPicture = nullptr;
    EditorProgramTest::TearDown();
  }

  // Inside the program: a page of three sprites (the third from frame 1 on) in a window, edited by its
  // stage pane.
  void OnPage(const std::function<void()>& body) {
    InProgram([&] {
      window.notifier->AddSink(&sink);
      window.MakeFront();
      page = app_test::MakePage(200, 150, 3);
      CMovieGroup& group = app_test::GroupOf(*page);
      for (int n = 0; n < 2; ++n) {
        sprites.push_back(
            app_test::AddSpriteAt(group, *engine_test::SolidPicture(20, 20, 7 + n), 3, {20 + 40 * n, 20}));
      }
      Rect frame;
      page->MakeEditor(&frame, ~window.root, window.root->GetBounds());
      const List& views = window.root->GetSubviews();
      pane = CastSmart<CHAPane>(views.At(views.NumItems()));
      ASSERT_TRUE(pane);
      body();
      window.root->RemoveSubview(~pane);
      pane = nullptr;
      page = nullptr;
    });
  }
  void Select(std::initializer_list<int> indexes) {
    for (int n : indexes) pane->SetSpriteSelected(sprites[n], true);
  }
  // What the OK button does with the address typed.
  std::string Apply(int kind, const char* protocol, const char* typed) {
    SmartRef<WebLinkDialog> dialog(new WebLinkDialog(kind, ~pane, nullptr));
    if (protocol) std::strcpy(gLinkProtocol, protocol);
    dialog->GetURLField()->SetText(String(typed));
    dialog->ApplyLink();
    EXPECT_TRUE(dialog->IsClosed());
    return HrefAt(*sprites[0]);
  }

  TestWindow window{200, 150};
  PaneSink sink;
  SmartRef<CShow> page;
  SmartRef<CHAPane> pane;
  std::vector<CSprite*> sprites;
};

TEST_F(WebLinkDialogTest, TheAddressTakesItsProtocolAsTheChildChoseIt) {
  struct Case {
    int kind;
    const char* protocol;  // null: as the dialog left it
    const char* typed;
    const char* href;
  } cases[] = {
      // Opened on a sprite without a link, the dialog chooses HTTP.
      {0, nullptr, "x.example.org", "http://x.example.org"},
      {0, "http:", "x.example.org", "http://x.example.org"},
      {0, "http:", "//x.example.org", "http://x.example.org"},
      {0, "http:", "/x", "http:/x"},
      {0, "http:", "a/x", "http:/a/x"},
      {0, "http:", "a", "http://a"},
      {0, "https:", "x.example.org", "https://x.example.org"},
      {0, "ftp:", "x.example.org", "ftp://x.example.org"},
      {0, "", "http://x.example.org/jeux", "http://x.example.org/jeux"},
      {0, "http:", "http://x.example.org", "http://http://x.example.org"},
      // Left by an e-mail dialog: no web address is ever made a mail address.
      {0, "mailto:", "x.example.org", "x.example.org"},
      {1, nullptr, "zoe@example.org", "mailto:zoe@example.org"},
      {1, nullptr, "mailto:zoe@example.org", "mailto:mailto:zoe@example.org"},
  };
  OnPage([&] {
    Select({0});
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.protocol ? c.protocol : "(dialog's)") + " " + c.typed);
      EXPECT_EQ(Apply(c.kind, c.protocol, c.typed), c.href);
    }
    EXPECT_EQ(HrefAt(*sprites[1]), "-") << "only selected sprites get the link";
  });
}

TEST_F(WebLinkDialogTest, OpeningShowsTheOneSelectedSpritesAddressWithoutItsProtocol) {
  struct Case {
    const char* name;
    std::vector<int> selected;
    int kind;
    const char* field;
    const char* popup;
    const char* protocol;
  } cases[] = {
      {"one sprite, an https link", {0}, 0, "//a.example.org", "HTTPS", "https:"},
      {"one sprite without a link", {1}, 0, "", "HTTP", "http:"},
      {"two sprites", {0, 1}, 0, "", "HTTP", "http:"},
      {"an e-mail dialog leaves a web address whole", {0}, 1, "https://a.example.org", nullptr, "http:"},
  };
  OnPage([&] {
    PutLink(*sprites[0], "https://a.example.org");
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      for (CSprite* sprite : sprites) pane->SetSpriteSelected(sprite, false);
      for (int n : c.selected) pane->SetSpriteSelected(sprites[n], true);
      gLinkProtocol[0] = '\0';
      SmartRef<WebLinkDialog> dialog(new WebLinkDialog(c.kind, ~pane, nullptr));
      EXPECT_EQ(TextOf(dialog->GetURLText()), c.field);
      if (c.popup) {
        EXPECT_EQ(PopupText(*dialog), c.popup);
      }
      EXPECT_EQ(dialog->GetProtocolPopup() != nullptr, c.kind == 0);
      if (c.kind == 0) {
        EXPECT_STREQ(gLinkProtocol, c.protocol);
      }
    }
    PutLink(*sprites[1], "mailto:zoe@example.org");
    for (CSprite* sprite : sprites) pane->SetSpriteSelected(sprite, false);
    Select({1});
    SmartRef<WebLinkDialog> mail(new WebLinkDialog(1, ~pane, nullptr));
    EXPECT_EQ(TextOf(mail->GetURLText()), "zoe@example.org");
    EXPECT_STREQ(gLinkProtocol, "mailto:") << "the e-mail dialog leaves its protocol";
  });
}

TEST_F(WebLinkDialogTest, TheMenuCommandMarksThePageOnlyWhenAccepted) {
  OnPage([&] {
    PutLink(*sprites[0], "http://a.example.org");
    PutLink(*sprites[1], "http://b.example.org");
    WebLinkCommand command(0, nullptr);
    EXPECT_EQ(command.GetSignalStatus(~pane), kCommandDisabled) << "nothing selected";
    EXPECT_EQ(command.GetSignalStatus(~window.root), kCommandDisabled) << "not a stage pane";
    EXPECT_THROW(command.Send(~pane), Exception*);
    Select({0, 1});
    ASSERT_EQ(command.GetSignalStatus(~pane), kCommandEnabled);
    {
      ModalScript script{Fill({"z.example.org"}), Escape()};
      command.Send(~pane);
      EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(sink.changes, 0) << "Cancel leaves the page unmarked";
    EXPECT_EQ(HrefAt(*sprites[0]), "http://a.example.org");
    {
      // The field opens empty for two sprites; OK with it empty takes their links away.
      ModalScript script{Enter()};
      command.Send(~pane);
      EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(sink.changes, 1);
    EXPECT_EQ(HrefAt(*sprites[0]), "-");
    EXPECT_EQ(HrefAt(*sprites[1]), "-");
    {
      ModalScript script{Fill({"c.example.org"}), Enter()};
      command.Send(~pane);
    }
    EXPECT_EQ(HrefAt(*sprites[0]), "http://c.example.org");
    EXPECT_EQ(HrefAt(*sprites[1]), "http://c.example.org");
    EXPECT_EQ(sprites[0]->GetLinkAtFrame(1), nullptr) << "the link is on frame 0 only";
  });
}

TEST_F(WebLinkDialogTest, TheSavedLinksFillTheField) {
  OnPage([&] {
    Select({0});
    SmartRef<WebLinkDialog> dialog(new WebLinkDialog(0, ~pane, nullptr));
    dialog->GetURLField()->SetText(String("//parc.example.org"));
    {
      ModalScript script{Fill({"Parc"}), Enter()};
      dialog->OpenLinkChooser(true);
      EXPECT_TRUE(script.Done());
    }
    const fs::path saved = data->folder.Path() / "LNWEB" / "utilisateur.txt";
    ASSERT_TRUE(fs::exists(saved)) << "the folder is made beside the program";
    EXPECT_EQ(data->folder.Read("LNWEB/utilisateur.txt"), "Parc\t//parc.example.org\r\n");
    EXPECT_EQ(gPendingLinkURL, nullptr);

    data->folder.Write("LNWEB/jeux.txt", "Dames\tdames.example.org\r\n");
    dialog->GetURLField()->SetText(String(""));
    {
      ModalScript script{[](Dialog& chooser) {
                           auto* list = CastSmart<LinkChooserDialog>(&chooser);
                           ASSERT_NE(list, nullptr);
                           const List& names = list->GetLists().linkNames;
                           for (std::int32_t n = 1; n <= names.NumItems(); ++n) {
                             if (TextOf(*CastSmart<String>(names.At(n))) == "Dames")
                               list->GetListView()->SetSelection(n);
                           }
                         },
                         Enter()};
      dialog->OpenLinkChooser(false);
      EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(TextOf(dialog->GetURLText()), "dames.example.org");
    {
      ModalScript script{Escape()};
      dialog->OpenLinkChooser(false);
    }
    EXPECT_EQ(TextOf(dialog->GetURLText()), "dames.example.org") << "a cancelled chooser changes nothing";
    std::string first;
    {
      ModalScript script{[&first](Dialog& editor) {
                           auto* list = CastSmart<LinkListEditor>(&editor);
                           ASSERT_NE(list, nullptr);
                           list->GetListView()->SetSelection(1);
                           first = TextOf(*list->GetSelectedURL());
                         },
                         Enter()};
      dialog->OpenLinkEditor();
    }
    EXPECT_EQ(TextOf(dialog->GetURLText()), first) << "the entry chosen in the editor";
  });
}

TEST_F(WebLinkDialogTest, TheLinkButtonToolTakesTheChosenPictureAndTheAddress) {
  data->WritePicture(712, 30, 20, 0xFF0000);
  OnPage([&] {
    SmartRef<CTool> tool(new CTool(21, nullptr, false, nullptr));
    WebLinkCommand command(1, ~tool);
    EXPECT_EQ(command.GetSignalStatus(~pane), kCommandEnabled) << "no selection is needed with a tool";
    SmartRef<WebLinkDialog> dialog(new WebLinkDialog(1, ~pane, ~tool));
    ToggleButton* first = dialog->GetPictureButton(1);
    ToggleButton* second = dialog->GetPictureButton(2);
    ASSERT_TRUE(first && second);
    first->SetState(kToggleOn);
    dialog->ChooseButtonPicture(1);
    ASSERT_TRUE(dialog->GetChosenPicture());
    second->SetState(kToggleOn);
    dialog->ChooseButtonPicture(2);
    EXPECT_EQ(first->GetState(), kToggleOff) << "one picture at a time";
    second->SetState(kToggleOff);
    dialog->ChooseButtonPicture(2);
    EXPECT_FALSE(dialog->GetChosenPicture()) << "clicked again: no picture";
    first->SetState(kToggleOn);
    dialog->ChooseButtonPicture(1);
    const SmartRef<Image> chosen = dialog->GetChosenPicture();

    dialog->GetURLField()->SetText(String("zoe@example.org"));
    dialog->ApplyLink();
    EXPECT_EQ(linkButtonPicture, chosen);
    auto* href = CastSmart<LinkHREF>(gApplication->GetClipboard()->GetScrap());
    ASSERT_NE(href, nullptr);
    EXPECT_EQ(TextOf(href->GetHref()), "mailto:zoe@example.org");
    EXPECT_EQ(HrefAt(*sprites[0]), "-") << "no sprite gets the link";

    SmartRef<WebLinkDialog> empty(new WebLinkDialog(1, ~pane, ~tool));
    empty->ApplyLink();
    EXPECT_TRUE(empty->IsClosed());
    EXPECT_EQ(linkButtonPicture, nullptr);
  });
}

// The program reads BMP files, as the web-page application does.
class PictureReadingApp : public TestApp {
 public:
  using TestApp::TestApp;
  SmartRef<Scribe> MakeScribe(FileReference& file, int mode) override {
    if (!BMPFile::fileType->Matches(&file)) return TestApp::MakeScribe(file, mode);
    SmartRef<File> opened(new File(&file, mode));
    return SmartRef<Scribe>(new BMPFile(~opened));
  }
};

TEST_F(WebLinkDialogTest, AnImportedPictureIsChosenOnlyWhenItReads) {
  makeApp = [this] {
    AppInfo info;
    info.name = "Essai";
    info.version = "1.0";
    auto* made = new PictureReadingApp(info);
    app = made;
    return SmartRef<App>(made);
  };
  const std::string good =
      data->folder.Write("bouton.bmp", editor_test::BmpBytes(8, 6, [](int, int) { return 0x00FF00u; }));
  const std::string bad = data->folder.Write("faux.bmp", "pas une image");
  OnPage([&] {
    SmartRef<CTool> tool(new CTool(21, nullptr, false, nullptr));
    SmartRef<WebLinkDialog> dialog(new WebLinkDialog(1, ~pane, ~tool));
    dialog->GetPictureButton(1)->SetState(kToggleOn);
    dialog->ChooseButtonPicture(1);
    const SmartRef<Image> builtIn = dialog->GetChosenPicture();
    struct Case {
      const char* name;
      std::optional<std::string> chosen;  // the Open dialog's answer
      const char* alert;
      bool picked;
    } cases[] = {
        {"cancelled", std::nullopt, nullptr, false},
        {"not a picture", bad, "Image import exception", false},
        {"a picture", good, nullptr, true},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      alerts.Clear();
      platform::SetFileChooser([&](platform::FileDialogKind, const OPENFILENAMEA&) { return c.chosen; });
      dialog->ChooseButtonPicture(0);
      platform::SetFileChooser({});
      std::vector<std::string> shown;
      for (const auto& alert : alerts.Alerts()) shown.push_back(alert.text);
      EXPECT_EQ(shown, c.alert ? std::vector<std::string>{c.alert} : std::vector<std::string>{});
      EXPECT_EQ(dialog->GetPictureButton(1)->GetState(), c.picked ? kToggleOff : kToggleOn);
      if (c.picked) {
        ASSERT_TRUE(dialog->GetChosenPicture());
        EXPECT_NE(dialog->GetChosenPicture(), builtIn);
        Rect bounds;
        dialog->GetChosenPicture()->GetBounds(&bounds);
        EXPECT_EQ(bounds.Size(), (Point{8, 6}));
      } else {
        EXPECT_EQ(dialog->GetChosenPicture(), builtIn) << "the picture chosen before stays";
      }
    }
  });
}

}  // namespace
