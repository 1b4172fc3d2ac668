// Publishing a project in the running program, over a project of the test's own, to real FTP servers on
// port 21 of a private network: the warning and the publish dialog answered as the child would, what
// lands on the server, and every way it can fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "app/DromelResources.h"
#include "app/publish/PublishDialog.h"
#include "app/publish/PublisherHosting.h"
#include "core/Progress.h"
#include "core/Seams.h"
#include "core/Text1252.h"
#include "platform/kernel/Files.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "support/web/Servers.h"
#include "ui/shell/App.h"
#include "ui/text/TextView.h"
#include "web/internet/TCPStream.h"
#include "web/users/DromelUserInfo.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;
using web_test::FtpServer;
using web_test::FtpServerKind;

constexpr long kPageTime = 1000000000;
constexpr const char* kProject = "Site";
constexpr const char* kWebPath = "http://exemple.invalid/~lea";
const std::string kNothingToPublish = "Aucun fichier à publier."_cp;
const std::string kCompileFailed =
    "La compilation des fichiers HTML a échoué ! Réenregistrer toutes les pages de ce projet."_cp;
// A wait on the network that never ends is cut after this long.
constexpr DWORD kTimeLimit = 3000;

std::string AppText(int n, const char* insert = nullptr) {
  String text;
  GetResourceText(text, n, insert);
  return TextOf(text);
}

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The files of a folder (sub-folders left out), by name.
std::vector<std::string> FileNames(const fs::path& folder) {
  std::vector<std::string> names;
  if (!fs::exists(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Every caption the ranges set, and whether "Stop" is pressed: once a caption names the stop file, the
// display answers as the progress dialog does after a click on "Stop".
struct ProgressLog {
  std::vector<std::string> opened;
  std::vector<std::string> captions;
  std::string stopAt;
  bool stopped = false;
};
ProgressLog* gLog = nullptr;

class LoggedDisplay : public SilentProgressDisplay {
 public:
  void SetCaption(const String& text) override {
    gLog->captions.push_back(TextOf(text));
    if (!gLog->stopAt.empty() && gLog->captions.back() == gLog->stopAt) gLog->stopped = true;
  }
  bool WasCancelled() override { return gLog->stopped; }
};

SmartRef<ProgressDisplay> MakeLoggedDisplay(const char* caption) {
  gLog->opened.emplace_back(caption);
  return new LoggedDisplay;
}

PublishDialog* FrontDialog() {
  return gApplication ? CastSmart<PublishDialog>(~gApplication->FrontWindow()) : nullptr;
}
bool FrontIsPublishDialog() { return FrontDialog() != nullptr; }
PublishDialog& FrontPublishDialog() { return *FrontDialog(); }

std::string FieldText(TextView* field) {
  String text;
  field->GetText(&text);
  return TextOf(text);
}

// What the record holds before the publishing.
struct Settings {
  std::string host = "127.0.0.1";
  std::string serverPath;
  std::string account;
  std::string password;
  std::string webPage = kWebPath;
};

class ProjectPublishTest : public DromelAppTest {
 protected:
  void SetUp() override {
    DromelAppTest::SetUp();
    std::string why;
    if (!web_test::EnterPrivateNetwork(&why)) GTEST_SKIP() << why;
    TCPStream::SetTimeLimit(kTimeLimit);
  }
  void TearDown() override {
    TCPStream::SetTimeLimit(60000);
    if (gLog != nullptr) SetProgressDisplayMaker(previousMaker);
    gLog = nullptr;
    SetPublisherHosting({});
    gPublisherAccount = false;
    server.Stop();
    DromelAppTest::TearDown();
  }

  bool StartServer(FtpServerKind kind) {
    std::string why;
    const bool started = server.Start(kind, data->folder.Path() / "serveur", &why);
    EXPECT_TRUE(started) << why;
    return started;
  }
  // The server's own account, in its upload folder.
  Settings ServerSettings() const {
    Settings settings;
    settings.serverPath = "/" + server.WritableFolder();
    settings.account = server.Account();
    settings.password = server.Password();
    return settings;
  }

 public:
  fs::path Project(const std::string& name) const { return fs::path(ProjectsPath(kProject)) / name; }
  fs::path Html(const std::string& name = "") const { return Project("HTML") / name; }
  fs::path Uploaded(const std::string& name = "") const { return server.Files() / kProject / name; }

 protected:

  // One publishing of the open project: the settings stored in the user-information file first, the
  // warning answered so, the dialog steps run from inside the publish dialog's loop, and `after` once
  // the publishing has ended. `before` changes the project just before.
  struct Publishing {
    Settings settings;
    int warningAnswer = IDOK;
    std::vector<Step> dialog;
    std::function<void()> before;
    std::function<void()> after;
  };

  // Opens the project once and publishes it each way in turn, in one run of the program.
  void PublishInTurn(const std::vector<Publishing>& publishings) {
    std::size_t ended = 0;
    std::vector<Step> script = {{&FrontIsWelcome, [] { ChooseProject(kProject); }},
                                {&StartupOver, [&] {
                                   previousMaker = GetProgressDisplayMaker();
                                   gLog = &log;
                                   SetProgressDisplayMaker(&MakeLoggedDisplay);
                                 }}};
    for (std::size_t k = 0; k < publishings.size(); ++k) {
      const Publishing& p = publishings[k];
      script.push_back({[&ended, k] { return ended == k; }, [&, k] {
                          StoreSettings(p.settings);
                          if (p.before) p.before();
                          alerts.Clear();
                          log.captions.clear();
                          alerts.Answer({p.warningAnswer});
                          gDromelApp->Publish();
                          if (p.after) p.after();
                          ended = k + 1;
                        }});
      script.insert(script.end(), p.dialog.begin(), p.dialog.end());
    }
    script.push_back({[&] { return ended == publishings.size(); }, nullptr});
    EXPECT_EQ(RunDromel(script), 0);
    EXPECT_EQ(ended, publishings.size()) << "publishings that ended";
  }

  static void StoreSettings(const Settings& settings) {
    const SmartRef<DromelUserInfo> record = gDromelApp->GetUserInfo();
    record->ftpHost->Set(settings.host.c_str());
    record->serverPath->Set(settings.serverPath.c_str());
    record->account->Set(settings.account.c_str());
    record->password->Set(settings.password.c_str());
    record->webPage->Set(settings.webPage.c_str());
    record->contactFirstName->Set("Léa"_cp);
    record->contactLastName->Set("Martin");
    record->contactSchool->Set("École des Tilleuls"_cp);
    record->contactCity->Set("Lyon");
    record->contactEmail->Set("lea@exemple.invalid");
    gDromelApp->SaveUserInfo(~record);
  }

  static Step AcceptDialog() {
    return {&FrontIsPublishDialog, [] { FrontPublishDialog().Accept(); }};
  }
  // "OK" on the warning, "Publier" in the dialog.
  static Publishing Accepted(const Settings& settings) {
    return {settings, IDOK, {AcceptDialog()}, nullptr, nullptr};
  }

  std::vector<std::string> AlertTexts() const {
    std::vector<std::string> texts;
    for (const RecordedAlert& alert : alerts.Alerts()) texts.push_back(alert.text);
    return texts;
  }

  FtpServer server;
  ProgressLog log;
  ProgressDisplayMaker previousMaker = nullptr;
};

// The author's details as the publishing writes them.
const std::string kWebText =
    "Informations sur l'utilisateur\r\nPrénom:Léa\r\nNom:Martin\r\nÉcole:École des Tilleuls\r\nAdresse:\r\n"
    "Ville:Lyon\r\nPays:\r\nCode postal:\r\nEmail:lea@exemple.invalid\r\n\r\n"_cp;

class PublishToServer : public ProjectPublishTest, public ::testing::WithParamInterface<FtpServerKind> {};

// Every file of "HTML" lands in <server path>/<project>/, last name first (letters compared without
// regard to case), sub-folders passed over; the author's details are written beside the pages, over a
// longer older file, and stay on the computer.
TEST_P(PublishToServer, EveryFileGoesLastNameFirstAndTheAuthorsDetailsStayHere) {
  MakeProject(kProject, {{"index", kPageTime}, {"b", kPageTime}, {"c", kPageTime}});
  data->folder.Write("Projets/Site/HTML/Zeta.txt", "à la main"_cp);
  data->folder.Write("Projets/Site/HTML/perso.txt", "mes notes");
  data->folder.Write("Projets/Site/HTML/images/fond.jpg", "pas envoyé");
  data->folder.Write("Projets/Site/HTML/webtext.txt", std::string(600, 'x'));
  if (!StartServer(GetParam())) return;
  PublishInTurn({Accepted(ServerSettings())});

  const std::vector<std::string> sent = {"Zeta.txt", "perso.txt", "index.jpg", "index.htm",
                                         "c.jpg",    "c.htm",     "b.jpg",     "b.htm"};
  ASSERT_TRUE(server.WaitForStored(sent.size(), 5000)) << Contents(server.LogPath());
  std::vector<std::string> stored;
  for (const std::string& name : sent) stored.push_back(std::string(kProject) + "/" + name);
  EXPECT_EQ(server.StoredFiles(), stored);
  std::vector<std::string> local = FileNames(Html());
  local.erase(std::remove(local.begin(), local.end(), "webtext.txt"), local.end());
  EXPECT_EQ(FileNames(Uploaded()), local);
  for (const std::string& name : local) EXPECT_EQ(Contents(Uploaded(name)), Contents(Html(name))) << name;
  EXPECT_FALSE(fs::exists(Uploaded("images"))) << "a sub-folder is passed over";
  EXPECT_EQ(Contents(Html("webtext.txt")), kWebText);

  const std::string where = std::string(kWebPath) + "/" + kProject;
  EXPECT_EQ(AlertTexts(), (std::vector<std::string>{AppText(26), AppText(25, where.c_str())}));
  EXPECT_EQ(alerts.Alerts()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(alerts.Alerts()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OKCANCEL));

  // The ranges and their captions: the compilation's, then the publishing's with the session's steps
  // and one caption a file, in the order sent.
  const auto compiled = std::find(log.opened.begin(), log.opened.end(), "Compilation des fichiers HTML");
  EXPECT_NE(compiled, log.opened.end());
  EXPECT_EQ(std::find(compiled, log.opened.end(), "Publication"), log.opened.end() - 1) << "the last range opened";
  std::vector<std::string> expected = {"Getting files", "Connexion en cours..."_cp, "Establishing Authority",
                                       "Définition du répertoire"_cp};
  expected.insert(expected.end(), sent.begin(), sent.end());
  const auto from = std::find(log.captions.begin(), log.captions.end(), "Getting files");
  EXPECT_EQ(std::vector<std::string>(from, log.captions.end()), expected);
}

INSTANTIATE_TEST_SUITE_P(Servers, PublishToServer,
                         ::testing::Values(FtpServerKind::kPyftpdlib, FtpServerKind::kVsftpd),
                         [](const auto& info) { return web_test::FtpServerName(info.param); });

// Published again into the folder it made the first time, with a web path too long for the closing
// message, which keeps what fits of it.
TEST_F(ProjectPublishTest, PublishingAgainSendsIntoTheSameFolderAndALongWebPathIsCut) {
  MakeProject(kProject, {{"index", kPageTime}});
  if (!StartServer(FtpServerKind::kPyftpdlib)) return;
  Settings settings = ServerSettings();
  Settings longer = settings;
  longer.webPage = "http://exemple.invalid/" + std::string(300, 'a');
  PublishInTurn({Accepted(settings), Accepted(longer)});
  ASSERT_TRUE(server.WaitForStored(4, 5000));
  EXPECT_EQ(FileNames(Uploaded()), (std::vector<std::string>{"index.htm", "index.jpg"}));
  ASSERT_EQ(alerts.Alerts().size(), 2u);
  const std::string& message = alerts.Alerts()[1].text;
  EXPECT_EQ(message.size(), 255u);
  const std::string opening = AppText(25, "%");
  EXPECT_EQ(message.substr(0, opening.find('%')), opening.substr(0, opening.find('%')));
  EXPECT_NE(message.find("http://exemple.invalid/aaaa"), std::string::npos);
}

// Ways the publishing ends without a success, run in turn on one project with pages "index" and "b"
// against pyftpdlib: what the child is told, that nothing is sent, whether the author's details were
// written, and that the pages stay in "HTML" on this computer, where the child can try the site.
enum class Peer { kServer, kNone, kSilent };
struct FailureCase {
  const char* name;
  Peer peer;
  std::function<void(Settings&)> settings;
  // Changes the project in the program, just before the publishing.
  std::function<void(ProjectPublishTest&)> before;
  int warningAnswer;
  bool dialog;  // the publish dialog is accepted
  std::vector<std::string> alerts;
  bool webText;
};

class PublishFailures : public ProjectPublishTest {
 protected:
  // Cases that leave port 21 to another peer come last.
  void RunCases(const std::vector<FailureCase>& cases) {
    MakeProject(kProject, {{"index", kPageTime}, {"b", kPageTime}});
    if (!StartServer(FtpServerKind::kPyftpdlib)) return;
    web_test::ChildProcess silent;
    std::chrono::steady_clock::time_point started;
    std::vector<Publishing> publishings;
    for (const FailureCase& c : cases) {
      Settings settings = ServerSettings();
      if (c.settings) c.settings(settings);
      Publishing p{settings, c.warningAnswer, {}, nullptr, nullptr};
      if (c.dialog) p.dialog.push_back(AcceptDialog());
      p.before = [&, this] {
        // Each case starts from a project that compiles, without the details of an earlier case.
        fs::remove(Project("m.zod"));
        fs::create_directories(Html());
        fs::remove(Html("webtext.txt"));
        if (c.peer != Peer::kServer) server.Stop();
        if (c.peer == Peer::kSilent) {
          silent.Start({web_test::kPython, web_test::ServerScript("hostile_ftp.py"), "silent", "21",
                        data->folder.Path().string()},
                       (data->folder.Path() / "silent.log").string());
          EXPECT_TRUE(web_test::WaitForListening(21, 8000));
        }
        if (c.before) c.before(*this);
        started = std::chrono::steady_clock::now();
      };
      p.after = [&, this] {
        SCOPED_TRACE(c.name);
        // Far below the sixty seconds a stream waits by default: the test's own bound held.
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(4 * kTimeLimit))
            << "ended within the sockets' bounds";
        EXPECT_EQ(AlertTexts(), c.alerts);
        EXPECT_TRUE(server.StoredFiles().empty());
        EXPECT_FALSE(fs::exists(Uploaded()));
        EXPECT_EQ(fs::exists(Html("webtext.txt")), c.webText);
        if (c.dialog) {
          EXPECT_EQ(FileNames(Html()),
                    (std::vector<std::string>{"b.htm", "b.jpg", "index.htm", "index.jpg", "webtext.txt"}));
        }
      };
      publishings.push_back(std::move(p));
    }
    PublishInTurn(publishings);
    silent.Stop();
  }
};

TEST_F(PublishFailures, StoppedBeforeTheServerNothingIsSentAndNoDetailsWritten) {
  RunCases({
      {"no HTML folder", Peer::kServer, nullptr, [](ProjectPublishTest& t) { fs::remove_all(t.Html()); }, IDOK,
       false, {kNothingToPublish}, false},
      {"a damaged page", Peer::kServer, nullptr,
       [](ProjectPublishTest& t) { std::ofstream(t.Project("m.zod"), std::ios::binary) << "ceci n'est pas une page"; },
       IDOK, false, {kCompileFailed}, false},
      {"Cancel on the warning", Peer::kServer, nullptr, nullptr, IDCANCEL, false, {AppText(26)}, false},
  });
}

TEST_F(PublishFailures, AServerThatRefusesOrIsNotThereIsToldAndThePagesStayHere) {
  RunCases({
      {"a wrong password", Peer::kServer, [](Settings& s) { s.password = "faux"; }, nullptr, IDOK, true,
       {AppText(26), "530 Authentication failed.\r\n"}, true},
      {"no server", Peer::kNone, nullptr, nullptr, IDOK, true,
       {AppText(26), "Échec : de connexion vers le serveur à distance"_cp, AppText(28)}, true},
      {"a server that never answers", Peer::kSilent, nullptr, nullptr, IDOK, true,
       {AppText(26), "Erreur de transfert de fichier.", AppText(28)}, true},
  });
}

// "Annuler" in the publish dialog sends nothing and writes no details; what the child typed is kept for
// the next time, except the password typed there.
TEST_F(ProjectPublishTest, CancelInTheDialogKeepsTheSettingsButNotTheTypedPassword) {
  MakeProject(kProject, {{"index", kPageTime}});
  if (!StartServer(FtpServerKind::kPyftpdlib)) return;
  Settings settings = ServerSettings();
  settings.password = "ancien";
  std::string savedAccount;
  std::string savedPassword;
  PublishInTurn(
      {{settings,
        IDOK,
        {{&FrontIsPublishDialog, [] { platform::InjectText("nouveau"); }},
         {[] { return FrontIsPublishDialog() && FieldText(FrontPublishDialog().GetPasswordField()) != "ancien"; },
          [] {
            platform::InjectKey(VK_TAB, true);
            platform::InjectKey(VK_TAB, false);
          }},
         {[] { return FrontIsPublishDialog() && FrontPublishDialog().GetAccountField()->IsTarget(); },
          [] { platform::InjectText("max"); }},
         {[] { return FrontIsPublishDialog() && FieldText(FrontPublishDialog().GetAccountField()) == "max"; },
          [] { FrontPublishDialog().Cancel(); }}},
        nullptr,
        [&] {
          const SmartRef<DromelUserInfo> saved = gDromelApp->GetUserInfo();
          savedAccount = TextOf(*saved->account);
          savedPassword = TextOf(*saved->password);
        }}});
  EXPECT_EQ(savedAccount, "max");
  EXPECT_EQ(savedPassword, "ancien");
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{AppText(26)});
  EXPECT_TRUE(server.StoredFiles().empty());
  EXPECT_FALSE(fs::exists(Html("webtext.txt")));
}

// A deployment that names the publisher's hosting: a project sent there goes under the hosting's own
// account, whatever the child typed, the closing message says the publisher has it, and nothing of the
// hosting's account reaches the child's user-information file.
TEST_F(ProjectPublishTest, ThePublishersHostingPublishesUnderItsOwnAccount) {
  MakeProject(kProject, {{"index", kPageTime}});
  if (!StartServer(FtpServerKind::kPyftpdlib)) return;
  SetPublisherHosting({String("127.0.0.1"), String(server.Account().c_str()), String(server.Password().c_str())});
  Settings settings = ServerSettings();
  settings.account = "lea";
  settings.password = "secret";
  std::string savedAccount;
  std::string savedPassword;
  Publishing p = Accepted(settings);
  p.after = [&] {
    const SmartRef<DromelUserInfo> saved = gDromelApp->GetUserInfo();
    savedAccount = TextOf(*saved->account);
    savedPassword = TextOf(*saved->password);
  };
  PublishInTurn({p});
  EXPECT_EQ(AlertTexts(), (std::vector<std::string>{AppText(26), AppText(36)}));
  EXPECT_EQ(FileNames(Uploaded()), (std::vector<std::string>{"index.htm", "index.jpg"}));
  EXPECT_EQ(savedAccount, "lea");
  EXPECT_EQ(savedPassword, "secret");
}

// "Stop" during the transfer ends without a word; what was sent stays on the server.
TEST_F(ProjectPublishTest, StopDuringTheTransferEndsSilentlyAndWhatWasSentStays) {
  MakeProject(kProject, {{"index", kPageTime}, {"b", kPageTime}});
  if (!StartServer(FtpServerKind::kPyftpdlib)) return;
  log.stopAt = "index.htm";
  PublishInTurn({Accepted(ServerSettings())});
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{AppText(26)});
  EXPECT_EQ(server.StoredFiles(), std::vector<std::string>{"Site/index.jpg"});
  EXPECT_EQ(FileNames(Uploaded()), std::vector<std::string>{"index.jpg"});
  EXPECT_EQ(Contents(Uploaded("index.jpg")), Contents(Html("index.jpg")));
}

// The defaults that fill an empty record before the dialog opens: the "Data" texts 1000 to 1002 when
// they are there, "compte" and "mot de passe" otherwise.
TEST_F(ProjectPublishTest, EmptySettingsAreFilledFromTheDefaultsBeforeTheDialogOpens) {
  struct Case {
    const char* name;
    const char* destination;  // Data/1000.txt, or none
    const char* account;      // Data/1001.txt, or none
    const char* password;     // Data/1002.txt, or none
    const char* host;         // the record's before
    // What the dialog opens with.
    std::string wantHost, wantPath, wantAccount, wantPassword;
  };
  const std::vector<Case> cases = {
      {"a destination", "ftp:/h.exemple.invalid/users/me/public_html", nullptr, nullptr, "", "h.exemple.invalid",
       "/users/me/public_html", "compte", "mot de passe"},
      {"no path after the host", "ftp:/h.exemple.invalid", nullptr, nullptr, "", "", "", "compte", "mot de passe"},
      {"a host already", "ftp:/h.exemple.invalid/x", nullptr, nullptr, "ftp.garde.invalid", "ftp.garde.invalid", "",
       "compte", "mot de passe"},
      {"an account and a password", nullptr, "lea", "s3cret", "", "", "", "lea", "s3cret"},
  };
  // What the dialog showed for each case.
  struct Shown {
    std::string host, path, account, password, service;
    bool cancelled = false;
  };
  std::vector<Shown> shown(cases.size());
  MakeProject(kProject, {{"index", kPageTime}});
  std::vector<Step> script = {{&FrontIsWelcome, [] { ChooseProject(kProject); }}, {&StartupOver, nullptr}};
  std::size_t ended = 0;
  SmartRef<DromelUserInfo> record;
  for (std::size_t k = 0; k < cases.size(); ++k) {
    const Case& c = cases[k];
    script.push_back({[&ended, k] { return ended == k; }, [&, k] {
                        for (int n : {1000, 1001, 1002})
                          fs::remove(data->folder.Path() / "Data" / (std::to_string(n) + ".txt"));
                        if (c.destination) data->WriteFile(1000, "txt", c.destination);
                        if (c.account) data->WriteFile(1001, "txt", c.account);
                        if (c.password) data->WriteFile(1002, "txt", c.password);
                        record = new DromelUserInfo;
                        record->service->Set("Ancien");
                        record->ftpHost->Set(c.host);
                        shown[k].cancelled = !gDromelApp->ParseDestination(~record);
                        ended = k + 1;
                      }});
    // Runs from inside the dialog's loop.
    script.push_back({&FrontIsPublishDialog, [&, k] {
                        PublishDialog& d = FrontPublishDialog();
                        shown[k] = {FieldText(d.GetFTPHostField()), FieldText(d.GetServerPathField()),
                                    FieldText(d.GetAccountField()), FieldText(d.GetPasswordField()),
                                    TextOf(*record->service)};
                        d.Cancel();
                      }});
  }
  script.push_back({[&] { return ended == cases.size(); }, nullptr});
  RunDromel(script);
  for (std::size_t k = 0; k < cases.size(); ++k) {
    const Case& c = cases[k];
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(shown[k].cancelled);
    EXPECT_EQ(shown[k].host, c.wantHost);
    EXPECT_EQ(shown[k].path, c.wantPath);
    EXPECT_EQ(shown[k].account, c.wantAccount);
    EXPECT_EQ(shown[k].password, c.wantPassword);
    EXPECT_EQ(shown[k].service, c.wantPath.empty() ? "Ancien" : "") << "a default destination is typed by hand";
  }
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace
}  // namespace app_test
