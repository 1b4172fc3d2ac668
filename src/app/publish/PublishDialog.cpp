#include "app/publish/PublishDialog.h"

#include <algorithm>
#include <vector>

#include "app/DromelResources.h"
#include "app/publish/PublisherHosting.h"
#include "app/publish/RevealButton.h"
#include "core/Alert.h"
#include "core/Resources.h"
#include "core/SourcePlace.h"
#include "core/Text1252.h"
#include "ui/controls/Control.h"
#include "ui/controls/PopupControl.h"
#include "ui/dialogs/DialogFormatter.h"
#include "ui/menus/Menu.h"
#include "ui/text/TextView.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/WindowFrame.h"
#include "web/lists/ListText.h"
#include "web/lists/ProviderFile.h"
#include "web/users/DromelUserInfo.h"

SMART_DEFINE_ABSTRACT(PublishDialog, "PublishDialog", RevealDialog)

namespace {

constexpr SourceName kSource("DROMEL/PublishDialog");

constexpr int kIntroDataText = 2000;
// Text 1027, said when the "Data" text cannot be read.
constexpr int kIntroResourceText = 27;
constexpr std::int32_t kAdvancedWidth = 210;

PublishDialog* AsPublishDialog(Smart* watcher) {
  return static_cast<PublishDialog*>(CastSmart(watcher, &PublishDialog::classInfo));
}

int PublishDialogStatus(Smart* watcher) { return AsPublishDialog(watcher) ? kCommandEnabled : kCommandDisabled; }

}  // namespace

PublishDialog::PublishDialog(DromelUserInfo* record)
    : RevealDialog(kFrameModal), record(record), openingPassword(*record->password) {
  providerMenu = BuildProviderMenu();
  Layout();
  custom = !providerPopup->SelectByTitle(*record->service);
  SetAdvancedEditable();
  watchedAccount = record->account;
  watchedAccount->ToggleObserver(this);
}

PublishDialog::~PublishDialog() {
  if (watchedAccount) watchedAccount->ToggleObserver(this);
}

SmartRef<FileReference> PublishDialog::ProviderFolder() { return ::ProviderFolder(); }

SmartRef<Menu> PublishDialog::BuildProviderMenu() {
  SmartRef<FileReference> folder = ProviderFolder();
  SmartRef<Menu> menu(new Menu(String("providerMenu"), 1));
  menu->AppendItem(String("Personnaliser"), 0, new PublishDialogCommand());
  bool first = true;
  listtext::ReadListFolder(*folder, [&](FileReference& file) {
    if (first) menu->AppendSeparator();
    first = false;
    return ReadProviderFile(file, *menu);
  });
  return menu;
}

bool PublishDialog::ReadProviderFile(FileReference& file, Menu& menu) {
  std::vector<ProviderEntry> entries;
  const bool good = ::ReadProviderFile(file, &entries);
  for (const ProviderEntry& entry : entries) {
    menu.AppendItem(entry.name, 0,
                    new ProviderCommand(entry.ftpHost, entry.serverPathTemplate, entry.webPathTemplate));
  }
  return good;
}

void PublishDialog::Layout() {
  SmartRef<DialogFormatter> formatter(new DialogFormatter(this, 250, 0, 5, 10, 10, 10));
  formatter->SetFieldDefaults(80, 170, 1, true);
  formatter->AddLabel(String("Publier sur Internet"), false, 0);

  SmartRef<String> intro(new String);
  if (!LoadDataText(*intro, kIntroDataText)) GetResourceText(*intro, kIntroResourceText);
  introField = formatter->AddTextField(~intro, false, 2, false, 0);

  formatter->AddTextField(new String("Service :"), false, 1, false, 80);
  providerPopup = new PopupControl(this, formatter->PlaceRect(160, 24, true), ~providerMenu);
  AddSubview(~providerPopup);
  // The reveal button needs the advanced part, made once the content is fitted.
  const Rect revealPlace = formatter->PlaceRect(24, 24, true);

  // Each label's view holds its text: it lives on the heap with it.
  accountField = formatter->AddLabeledField(new String("Compte :"), 1, ~record->account, false, -1, 0, 0);
  formatter->AddTextField(new String("Mot de passe :"), false, 1, false, 90);
  const Rect passwordFrame = formatter->PlaceRect(170, 22, true);
  passwordField = new TextView(this, passwordFrame, ~record->password, kAnchorTopLeft, true, false, false, true);
  AddSubview(~passwordField);

  formatter->OffsetLast(0, 15);
  const String publish("Publier");
  const String cancel("Annuler");
  formatter->AddButtonRow(&publish, &cancel, 0.9, 0.55);

  FitToContent(true);
  const Rect content = GetBounds();
  LayoutAdvancedPart(content);
  revealButton = new RevealButton(
      this, Rect(revealPlace.left, revealPlace.top, revealPlace.left + 12, revealPlace.top + 12),
      new PublishDialogCommand(~advancedPart), this);
  AddSubview(~revealButton);

  SetSize(content.Width(), content.Height());
  LFWDecorator::Get().Place(*this, LFWDecorator::kCentre, LFWDecorator::kCentre);
  Focus(~passwordField);
}

void PublishDialog::LayoutAdvancedPart(const Rect& content) {
  const std::int32_t firstNew = GetSubviews().NumItems() + 1;
  SmartRef<DialogFormatter> formatter(new DialogFormatter(this, 200, 0, 5, 5, content.right, 10));
  formatter->AddLabel(String("Options avancées"_cp), false, 0);
  formatter->AddTextField(new String("Hôte FTP :"_cp), false, 1, false, 0);
  ftpHostField = formatter->AddTextField(~record->ftpHost, false, 1, false, 0);
  formatter->AddTextField(new String("Chemin de serveur relatif :"), false, 1, false, 0);
  serverPathField = formatter->AddTextField(~record->serverPath, false, 2, false, 0);
  formatter->AddTextField(new String("Chemin d'accès sur le Web :"_cp), false, 1, false, 0);
  webPathField = formatter->AddTextField(~record->webPage, false, 2, false, 0);

  // The formatter places into the dialog: what it placed moves into the part, which hides and shows it
  // as one. The part reaches the content's bottom, and lower when its own fields need it.
  const std::int32_t bottom = std::max(content.bottom, formatter->GetBounds().bottom + 10);
  advancedPart = new View(this, Rect(content.right, content.top, content.right + kAdvancedWidth, bottom),
                          kAnchorTopLeft, true, true);
  while (GetSubviews().NumItems() >= firstNew) {
    SmartRef<View> placed(CastSmart<View>(GetSubviews().At(firstNew)));
    RemoveSubview(~placed);
    advancedPart->AddSubview(~placed);
  }
  advancedPart->Show(false);
  AddSubview(~advancedPart);
}

void PublishDialog::ApplyProviderChoice() { providerPopup->Clicked(0); }

void PublishDialog::Focus(TextView* field) {
  if (advancedPart->GetSubviews().IndexOf(field) != 0) {
    SetTarget(~advancedPart);
    advancedPart->SetTarget(field);
  } else {
    SetTarget(field);
  }
}

void PublishDialog::ChooseProvider(const String& ftpHost, const String& serverPath, const String& webPath) {
  String name;
  providerPopup->GetItemText(&name);
  custom = false;
  SetAdvancedEditable();
  Focus(~passwordField);
  *record->service = name;
  ftpHostField->SetText(ftpHost);
  serverPathTemplate = serverPath;
  webPathTemplate = webPath;
  SubstituteAccount();
  Invalidate(false);
}

void PublishDialog::UpdateFieldStates() {
  custom = true;
  SetAdvancedEditable();
  // Keys for a field the child cannot see would change the host unseen: while the part is hidden the
  // focus stays where it was.
  if (advancedPart->IsVisible()) Focus(~ftpHostField);
  Invalidate(false);
}

void PublishDialog::SetAdvancedEditable() {
  for (TextView* field : {~ftpHostField, ~serverPathField, ~webPathField}) field->SetEditable(custom, false);
}

void PublishDialog::SubstituteAccount() {
  serverPathField->SetText(::SubstituteAccount(serverPathTemplate, *record->account));
  webPathField->SetText(::SubstituteAccount(webPathTemplate, *record->account));
}

void PublishDialog::OnAccountChanged(const StringChange*) {
  if (!custom) SubstituteAccount();
}

void PublishDialog::ToggleAdvanced(View* part) {
  ToggleReveal(part);
  Focus(custom && part->IsVisible() ? ~ftpHostField : ~passwordField);
}

void PublishDialog::OnPublish() {
  for (TextView* field : {~accountField, ~passwordField, ~ftpHostField, ~serverPathField, ~webPathField})
    field->UpdateFromControl();
  gPublisherAccount = IsPublisherHost(*record->ftpHost);
  if (gPublisherAccount) passwordField->SetText(GetPublisherHosting().password);
  if (record->password->Length() == 0 && !gPublisherAccount) {
    Alert(kAlertExclamation, kButtonsOK, "Désigner un mot de passe dans le champ approprié."_cp);
    Focus(~passwordField);
    return;
  }
  RevealDialog::Accept();
}

void PublishDialog::Cancel() {
  passwordField->SetText(openingPassword);
  RevealDialog::Cancel();
}

ProviderCommand::ProviderCommand(const String& ftpHost, const String& serverPathTemplate,
                                 const String& webPathTemplate)
    : ftpHost(ftpHost), serverPathTemplate(serverPathTemplate), webPathTemplate(webPathTemplate) {}

int ProviderCommand::GetSignalStatus(Smart* watcher) { return PublishDialogStatus(watcher); }

void ProviderCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kSource.Unnumbered());
  AsPublishDialog(watcher)->ChooseProvider(ftpHost, serverPathTemplate, webPathTemplate);
}

PublishDialogCommand::PublishDialogCommand(View* part) : part(part) {}

PublishDialogCommand::PublishDialogCommand() = default;

int PublishDialogCommand::GetSignalStatus(Smart* watcher) { return PublishDialogStatus(watcher); }

void PublishDialogCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kSource.Unnumbered());
  PublishDialog* dialog = AsPublishDialog(watcher);
  if (part) {
    dialog->ToggleAdvanced(~part);
  } else {
    dialog->UpdateFieldStates();
  }
}
