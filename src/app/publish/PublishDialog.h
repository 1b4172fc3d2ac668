// The dialog where the child says where a project is published: a provider from the lists of "FDA" or a
// host typed by hand ("Personnaliser"), the account and the password. It has no data of its own: its
// fields edit the application's user record in place. The publishing opens it activated, calls
// ApplyProviderChoice, polls it until it closes and reads WasCancelled.
#pragma once

#include "core/FileReference.h"
#include "core/ModelObserver.h"
#include "core/String.h"
#include "ui/dialogs/Dialog.h"
#include "ui/shell/Signal.h"

class DromelUserInfo;
class Menu;
class PopupControl;
class RevealButton;
class TextView;
class View;

class PublishDialog : public RevealDialog, public ModelObserver {
  SMART_ABSTRACT(PublishDialog)
 public:
  // Lays the dialog out over the record, centred, the focus on the password field. The provider of the
  // record's service name is the pop-up's choice; a name the lists do not hold leaves the host typed by
  // hand in charge.
  explicit PublishDialog(DromelUserInfo* record);
  ~PublishDialog() override;

  // Performs the command of the pop-up's choice, as a click on the pop-up would.
  void ApplyProviderChoice();

  // "FDA" beside the program, made when missing.
  static SmartRef<FileReference> ProviderFolder();
  // "Personnaliser", then (when the folder holds any list) a separator and every provider of every list.
  SmartRef<Menu> BuildProviderMenu();
  // Appends the file's providers to the menu; false for a file that is no provider list, whose providers
  // before its bad line are appended all the same.
  bool ReadProviderFile(FileReference& file, Menu& menu);

  // A provider item: its host goes into the record, its paths follow the account.
  void ChooseProvider(const String& ftpHost, const String& serverPathTemplate, const String& webPathTemplate);
  // "Personnaliser": the advanced fields become the child's to type, starting from the last provider's.
  void UpdateFieldStates();
  // The record's server path and web path from the templates, every "%1" the account.
  void SubstituteAccount();
  void OnAccountChanged(const StringChange* change);
  // Shows or hides the advanced part, widening the window for it or giving back its size.
  void ToggleAdvanced(View* part);
  void SetAdvancedEditable();
  // "Publier": closes unless the password is missing.
  void OnPublish();
  void Layout();

  void Accept() override { OnPublish(); }
  // The password is put back as it was when the dialog opened: one typed and then cancelled is never
  // stored. What else was typed stays in the record.
  void Cancel() override;
  void Changed(const StringChange* change) override { OnAccountChanged(change); }

  Menu* GetProviderMenu() const { return ~providerMenu; }
  PopupControl* GetProviderPopup() const { return ~providerPopup; }
  View* GetAdvancedPart() const { return ~advancedPart; }
  RevealButton* GetRevealButton() const { return ~revealButton; }
  TextView* GetIntroField() const { return ~introField; }
  TextView* GetAccountField() const { return ~accountField; }
  TextView* GetPasswordField() const { return ~passwordField; }
  TextView* GetFTPHostField() const { return ~ftpHostField; }
  TextView* GetServerPathField() const { return ~serverPathField; }
  TextView* GetWebPathField() const { return ~webPathField; }
  bool IsCustom() const { return custom; }

 private:
  // The field becomes the target, through the advanced part for its fields.
  void Focus(TextView* field);
  // The advanced fields under a heading, in the part to the right of the content.
  void LayoutAdvancedPart(const Rect& content);

  SmartRef<DromelUserInfo> record;
  SmartRef<Menu> providerMenu;
  SmartRef<PopupControl> providerPopup;
  SmartRef<View> advancedPart;
  SmartRef<TextView> ftpHostField;
  SmartRef<TextView> serverPathField;
  SmartRef<TextView> webPathField;
  SmartRef<TextView> passwordField;
  String serverPathTemplate;
  String webPathTemplate;
  bool custom = false;

  SmartRef<TextView> introField;
  SmartRef<TextView> accountField;
  SmartRef<RevealButton> revealButton;
  // The account String watched, let go with the dialog even if the record's field were replaced.
  SmartRef<String> watchedAccount;
  String openingPassword;
};

// One provider of the lists, as an item of the provider pop-up.
class ProviderCommand : public GenericSignal {
 public:
  ProviderCommand(const String& ftpHost, const String& serverPathTemplate, const String& webPathTemplate);
  // Enabled on a publish dialog only.
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;

 private:
  String ftpHost;
  String serverPathTemplate;
  String webPathTemplate;
};

// The dialog's own commands: the reveal button's, which holds the advanced part, and "Personnaliser".
class PublishDialogCommand : public GenericSignal {
 public:
  // The reveal command.
  explicit PublishDialogCommand(View* part);
  // The "Personnaliser" command.
  PublishDialogCommand();
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;

 private:
  SmartRef<View> part;
};
