#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/ui/ProgramFixture.h"
#include "core/Text1252.h"
#include "support/Raised.h"
#include "support/TempFolder.h"
#include "ui/shell/Tool.h"

namespace {

const FileType kDocumentType("Document d'essai", 0x45535344, 0x65737320);

// An application whose documents are object files holding one String. It records what it is asked to
// open instead of opening windows, which need the running program.
class DocumentApp : public TestApp {
 public:
  explicit DocumentApp(const AppInfo& info, SmartRef<TypeIndex> index) : TestApp(info, std::move(index)) {}
  void OpenDocument(SmartRef<Smart>* window, SmartRef<Smart> data, SmartRef<Scribe> scribe) override {
    opened.push_back({data, scribe});
    if (window) *window = nullptr;
  }
  struct Opened {
    SmartRef<Smart> data;
    SmartRef<Scribe> scribe;
  };
  std::vector<Opened> opened;
};

SmartRef<TypeIndex> DocumentIndex() {
  SmartRef<TypeIndex> index(new TypeIndex(&kDocumentType, MakeVersion(1), "Essai"));
  index->AddType(&String::persistentType);
  index->AddType(&GenericArray::persistentType);
  return index;
}

// A command whose status the test sets, and which counts its sends.
class CountedCommand : public AppMenuCommand {
 public:
  int status = kCommandEnabled;
  int sent = 0;

 protected:
  int GetStatus(App&) override { return status; }
  void Perform(App&) override { ++sent; }
};

}  // namespace

class AppTest : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    gApplication = CreateApplication(&ProgramFixture::Factory, nullptr);
    ASSERT_TRUE(gApplication);
  }
};

TEST_F(AppTest, IsRunningFollowsTheApplicationsLife) {
  EXPECT_TRUE(IsApplicationRunning());
  DestroyApplication();
  EXPECT_FALSE(IsApplicationRunning());
  // The entry points that need no application do nothing without one; the others raise.
  QuitApplication(2);
  ShowAboutEvent();
  AppActivatedEvent(1);
  EXPECT_FALSE(WindowActivatedEvent(nullptr));
  EXPECT_EQ(RaisedText(Raised([] { KeyEvent('a', 0); })), "data != NULL");
  EXPECT_EQ(RaisedText(Raised([] { MenuCommand(0x101, nullptr); })), "data != NULL");
}

TEST_F(AppTest, QuittingClearsRunningForGood) {
  EXPECT_TRUE(gApplication->Quit(2));
  EXPECT_TRUE(gAppQuitting);
  EXPECT_FALSE(IsApplicationRunning());
}

TEST_F(AppTest, TheAboutBoxShowsNameAndVersion) {
  ShowAboutEvent();
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, "Essai 1.0");
}

TEST_F(AppTest, BackspaceClearsAndOtherKeysAreNotTaken) {
  EXPECT_TRUE(gApplication->HandleKey(8, 0));
  EXPECT_FALSE(gApplication->HandleKey('a', 0));
  EXPECT_FALSE(gApplication->HandleKey(28, 0));
}

TEST_F(AppTest, WithoutADocumentFormatNoFileIsChosenOrOpened) {
  for (int mode : {0, 1, 2, 3}) EXPECT_FALSE(gApplication->ChooseFile(mode)) << mode;
  FileReference anywhere("C:\\nulle\\part.ess");
  EXPECT_FALSE(gApplication->MakeScribe(anywhere, kFileModeRead));
}

TEST_F(AppTest, CommandsGoToTheApplicationWhenItAcceptsThem) {
  SmartRef<CountedCommand> command(new CountedCommand);
  EXPECT_EQ(gApplication->GetCommandStatus(~command), kCommandEnabled);
  gApplication->DoCommand(~command);
  EXPECT_EQ(command->sent, 1);

  command->status = kCommandChecked;
  EXPECT_EQ(gApplication->GetCommandStatus(~command), kCommandChecked);

  command->status = kCommandDisabled;
  EXPECT_FALSE(gApplication->HasCommandHandler(~command));
  EXPECT_EQ(gApplication->GetCommandStatus(~command), kCommandDisabled);
  gApplication->DoCommandIfHandled(~command);
  EXPECT_EQ(command->sent, 1);
  EXPECT_EQ(RaisedText(Raised([&] { gApplication->DoCommand(~command); })), "Sélection incorrecte..."_cp);
  EXPECT_EQ(RaisedText(Raised([&] { command->Send(static_cast<SmartImplementation*>(~gApplication)); })),
            "GetSignalStatus(watcher) != disabled");
  EXPECT_EQ(command->sent, 1);
  EXPECT_FALSE(gApplication->FindCommandHandler(nullptr));
}

// The tool buttons' command: it makes its tool the application's, and is refused by anything else.
TEST_F(AppTest, AnAppCommandMakesItsToolTheApplicationsTool) {
  SmartRef<Tool> tool(new Tool);
  SmartRef<AppCommand> command(new AppCommand(~tool));
  Smart* app = static_cast<SmartImplementation*>(~gApplication);
  SmartRef<SmartImplementation> other(new SmartImplementation);
  EXPECT_EQ(command->GetSignalStatus(app), kCommandEnabled);
  EXPECT_EQ(command->GetSignalStatus(~other), kCommandDisabled);
  EXPECT_EQ(command->GetSignalStatus(nullptr), kCommandDisabled);
  const SmartRef<Tool> before = gApplication->GetTool();
  const SmartRef<Exception> refused = Raised([&] { command->Send(~other); });
  EXPECT_EQ(RaisedText(refused), "GetSignalStatus(watcher) != disabled");
  EXPECT_EQ(RaisedPlace(refused), "App:330");
  EXPECT_EQ(gApplication->GetTool(), before);
  gApplication->DoCommand(~command);
  EXPECT_EQ(gApplication->GetTool(), tool);
}

TEST_F(AppTest, PasteIsDisabledWhileTheClipboardIsEmptyAndTheRestIsEnabledWithoutAWindow) {
  Smart* watcher = static_cast<SmartImplementation*>(~gApplication);
  for (int operation : {kClipCut, kClipCopy, kClipPaste, kClipPasteReplace, kClipClear}) {
    SmartRef<AppClipCommand> command(new AppClipCommand(operation));
    EXPECT_EQ(command->GetSignalStatus(watcher), operation == kClipPaste ? kCommandDisabled : kCommandEnabled)
        << operation;
    EXPECT_EQ(command->GetSignalStatus(nullptr), kCommandDisabled);
  }
  SmartRef<AppClipCommand> cut(new AppClipCommand(kClipCut));
  gApplication->DoCommand(~cut);  // nothing to cut without a window, and nothing fails
}

class AppDocumentTest : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    makeApp = [this] {
      AppInfo info;
      info.name = "Essai";
      auto* made = new DocumentApp(info, DocumentIndex());
      documentApp = made;
      return SmartRef<App>(made);
    };
    gApplication = CreateApplication(&ProgramFixture::Factory, nullptr);
    ASSERT_TRUE(gApplication);
  }
  // A document file holding the text.
  SmartRef<FileReference> WriteDocument(const char* text) {
    SmartRef<FileReference> file(new FileReference(folder.Write("doc.ess").c_str()));
    SmartRef<Scribe> scribe = gApplication->MakeScribe(*file, kFileModeRead | kFileModeWrite);
    EXPECT_TRUE(scribe);
    scribe->Write(SmartRef<Smart>(static_cast<SmartImplementation*>(new String(text))));
    return file;
  }
  TempFolder folder;
  DocumentApp* documentApp = nullptr;
};

TEST_F(AppDocumentTest, AReadOnlyDocumentOpensWithoutTheScribeThatWouldSaveIt) {
  SmartRef<FileReference> file = WriteDocument("bonjour");
  for (bool readOnly : {true, false}) {
    documentApp->opened.clear();
    gApplication->OpenFile(file, false, readOnly);
    ASSERT_EQ(documentApp->opened.size(), 1u);
    auto* text = CastSmart<String>(~documentApp->opened[0].data);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(TextOf(*text), "bonjour");
    EXPECT_EQ(bool(documentApp->opened[0].scribe), !readOnly);
  }
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(AppDocumentTest, OpeningToReplaceIsReportedAsNotImplementedAndStillOpens) {
  SmartRef<FileReference> file = WriteDocument("bonjour");
  gApplication->OpenFile(file, true, false);
  EXPECT_EQ(documentApp->opened.size(), 1u);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_THAT(alerts.Alerts()[0].text, testing::StartsWith("Not implemented."));
}

TEST_F(AppDocumentTest, TheDocumentFormatGivesTheOpenDialogItsType) {
  List types = gApplication->GetFileTypes(0);
  ASSERT_EQ(types.NumItems(), 1);
  EXPECT_EQ(CastSmart<FileType>(types.At(1))->GetExtensionCode(), kDocumentType.GetExtensionCode());
}
