// Publishing the open project: compiled, the child warned that the site will be public, asked where it
// goes, and the "HTML" folder sent by FTP into a folder named after the project on the server.
#include <string>

#include "app/DromelApp.h"
#include "app/DromelResources.h"
#include "app/page/DromelScribe.h"
#include "app/publish/PublishDialog.h"
#include "app/publish/PublisherHosting.h"
#include "core/Alert.h"
#include "core/Exception.h"
#include "core/File.h"
#include "core/FileReference.h"
#include "core/FileType.h"
#include "core/Progress.h"
#include "core/Resources.h"
#include "core/Text1252.h"
#include "core/TextFile.h"
#include "platform/kernel/Errors.h"
#include "ui/views/DocWindow.h"
#include "web/internet/FTPSession.h"
#include "web/internet/InternetSession.h"
#include "web/users/DromelUserInfo.h"

namespace {

// Application texts (1000 + n).
enum : int {
  kOutputFolderText = 5,
  kPublishedText = 25,
  kPublicSiteWarningText = 26,
  kNotConnectedText = 28,
  kDefaultAccountText = 33,
  kDefaultPasswordText = 34,
  kSentToPublisherText = 36,
};
// Numbered text files of "Data" that a deployment may add: a default destination, account and password.
enum : int { kDefaultDestinationData = 1000, kDefaultAccountData = 1001, kDefaultPasswordData = 1002 };

// The web address in the closing message, as long as the message's own buffer lets it be.
constexpr std::int32_t kWebAddressLimit = 255;

constexpr const char* kPublishCaption = "Publication";
constexpr const char* kSessionCaption = "Session FTP";
constexpr const char* kListingCaption = "Getting files";
constexpr const char* kConnectingCaption = "Connexion en cours..."_cp;
constexpr const char* kAuthorityCaption = "Establishing Authority";
constexpr const char* kDirectoryCaption = "Définition du répertoire"_cp;
constexpr const char* kTransferCaption = "Transfert des fichiers";

constexpr const char* kWebTextName = "webtext";

// The author's details, one label and value a line, as the child typed them.
std::string WebText(const DromelUserInfo& record) {
  const std::pair<const char*, const SmartRef<String>*> lines[] = {
      {"Prénom:"_cp, &record.contactFirstName},     {"Nom:", &record.contactLastName},
      {"École:"_cp, &record.contactSchool},         {"Adresse:", &record.contactAddress},
      {"Ville:", &record.contactCity},              {"Pays:", &record.contactCountry},
      {"Code postal:", &record.contactPostalCode},  {"Email:", &record.contactEmail},
  };
  std::string text = "Informations sur l'utilisateur\r\n";
  for (const auto& [label, value] : lines) {
    text += label;
    if (*value) text += TextOf(**value);
    text += "\r\n";
  }
  text += "\r\n";
  return text;
}

// Written over any older file, and cut to the new text so that nothing of an older, longer one remains.
void WriteWebText(FileReference& output, const DromelUserInfo& record) {
  SmartRef<FileReference> reference(
      new FileReference(*TextFile::fileType, *FileCreatorType::defaultCreator, output, String(kWebTextName), true));
  SmartRef<File> file(new File(~reference, kFileModeRead | kFileModeWrite));
  if (!file->IsOpen()) {
    const std::uint32_t code = TakeLastError();
    ThrowWin32Error(code != 0 ? code : ERROR_ACCESS_DENIED, __FILE__, __LINE__);
  }
  const std::string text = WebText(record);
  file->Write(text.data(), static_cast<std::uint32_t>(text.size()));
  file->SetLength(static_cast<std::uint32_t>(text.size()));
  file->Close();
}

// The author's details are for the child's own computer: text 1026 tells the child to keep them off the
// public site, so the file that holds them never goes to the server.
bool IsWebTextFile(FileReference& file) {
  if (!file.IsOfType(*TextFile::fileType)) return false;
  String base;
  file.GetBaseNameAndType(base);
  std::string name = TextOf(base);
  for (char& c : name) c = ToLowerAscii(c);
  return name == kWebTextName;
}

}  // namespace

void DromelApp::Publish() {
  const SmartRef<DocWindow> front(CastSmart<DocWindow>(~FrontWindow()));
  if (!front) return;
  try {
    if (!CompileHtml()) return;
    const SmartRef<DromelUserInfo> record = GetUserInfo();
    if (Alert(kAlertInformation, kButtonsOKCancel, TextOf(ResourceText(kPublicSiteWarningText)).c_str()) !=
        kAlertAnswerOK)
      return;
    CHECK_NOT_NULL(~record);
    const bool accepted = ParseDestination(~record);
    // What was typed is kept for the next time, a cancelled dialog too (it has put the password back);
    // the publisher's own account is never written to the child's file.
    if (!IsPublisherHost(*record->ftpHost)) SaveUserInfo(~record);
    if (!accepted) return;

    Progress progress(8, kPublishCaption);
    if (!projectName) projectName = new String;
    SmartRef<FileReference> projectFolder;
    SmartRef<FileReference> output;
    if (DromelScribe* scribe = PageScribeOf(~front)) {
      projectFolder = scribe->GetProjectFolder();
      output = scribe->GetOutputFolder();
    }
    if (!projectFolder) projectFolder = new FileReference(*CHECK_NOT_NULL(~gProjectsFolder), *projectName, true);
    String folderName;
    projectFolder->GetBaseNameAndType(folderName);
    *projectName = folderName;
    progress.Step(8);
    if (!output) output = new FileReference(*projectFolder, ResourceText(kOutputFolderText), true);

    WriteWebText(*output, *record);
    PublishByFTP(*output, *record);

    String address(*record->webPage);
    address.Append("/");
    address.Append(*projectName);
    std::string where = TextOf(address);
    if (where.size() > static_cast<std::size_t>(kWebAddressLimit)) where.resize(kWebAddressLimit);
    String message;
    GetResourceText(message, gPublisherAccount ? kSentToPublisherText : kPublishedText, where.c_str());
    Alert(kAlertInformation, kButtonsOK, TextOf(message).c_str());
  } catch (Exception* failure) {
    const SmartRef<Exception> reported(failure);
    gLastException = nullptr;
    reported->Report(kAlertStop);
  }
}

bool DromelApp::ParseDestination(DromelUserInfo* record) {
  CHECK_NOT_NULL(record);
  const bool noHost = record->ftpHost->Length() == 0;
  if (record->account->Length() == 0 && !LoadDataText(*record->account, kDefaultAccountData))
    GetResourceText(*record->account, kDefaultAccountText);
  if (record->password->Length() == 0 && !LoadDataText(*record->password, kDefaultPasswordData))
    GetResourceText(*record->password, kDefaultPasswordText);
  String destination;
  if (noHost && LoadDataText(destination, kDefaultDestinationData)) {
    // "scheme:/host/path": the scheme goes with its delimiters, then the host runs to the first "/".
    destination.NextToken(String(":/"));
    const std::int32_t slash = destination.Find(String("/"), 2, String::kForward);
    if (slash != 0) {
      record->service->Clear();
      *record->ftpHost = String(destination, 1, slash - 1);
      *record->serverPath = String(destination, slash, destination.Length() - slash + 1);
    }
  }
  SmartRef<PublishDialog> dialog(new PublishDialog(record));
  dialog->Open(true);
  dialog->ApplyProviderChoice();
  while (dialog->Poll()) {
  }
  return !dialog->WasCancelled();
}

void DromelApp::PublishByFTP(FileReference& output, DromelUserInfo& record) {
  Progress progress(105, kSessionCaption);
  progress.SetCaption(kListingCaption);
  const List listing = output.ListFiles(FileTypeList(), false);
  progress.SetCaption(kConnectingCaption);

  // The publisher's hosting publishes under its own account, whatever the child typed.
  if (IsPublisherHost(*record.ftpHost)) {
    const PublisherHosting& hosting = GetPublisherHosting();
    *record.password = hosting.password;
    *record.account = hosting.account;
  }
  const String host(*record.ftpHost);
  const String serverPath(*record.serverPath);
  const String account(*record.account);
  const String password(*record.password);

  FTPSession::serverReached = false;
  const SmartRef<InternetSession> internet(new InternetSession(host));
  SmartRef<FTPSession> session;
  try {
    session = new FTPSession(~internet, account, password);
  } catch (Exception* failure) {
    const SmartRef<Exception> reported(failure);
    gLastException = nullptr;
    // "Stop" while connecting is the child's choice, not a missing connection.
    if (IsUserCancel(~reported)) Exception::Raise(reported);
    reported->Report(kAlertStop);
    // Nothing ever answered: the child is told the pages are in the "HTML" folder on this computer.
    if (!FTPSession::serverReached)
      Alert(kAlertInformation, kButtonsOK, TextOf(ResourceText(kNotConnectedText)).c_str());
    Exception::Raise(SmartRef<Exception>(new UserCancelException));
  }

  progress.SetCaption(kAuthorityCaption);
  progress.SetCaption(kDirectoryCaption);
  session->SetDirectory(serverPath, false);
  progress.Step(1);
  if (projectName) session->SetDirectory(*projectName, true);
  progress.Step(100);

  Progress transfer(static_cast<std::uint32_t>(listing.NumItems()), kTransferCaption);
  for (std::int32_t i = listing.NumItems(); i >= 1; --i) {
    auto* file = CastSmart<FileReference>(listing.At(i));
    if (file == nullptr || file->IsFolder() || IsWebTextFile(*file)) continue;
    String name;
    file->GetName(name);
    // A file without an extension is named with a bare dot at its end, which is not its name on disk.
    if (name.Length() > 0 && TextOf(String(name, name.Length(), 1)) == ".") name = String(name, 1, name.Length() - 1);
    transfer.SetCaption(TextOf(name).c_str());
    session->SendFile(file, name, true, FTPSession::kPublish);
  }
}
