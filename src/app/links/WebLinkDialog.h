// The dialog that makes a hot link: the child types a web or e-mail address (or picks it from the saved
// links), and OK puts it on page frame 0 of every selected sprite; opened with the link-button tool, it
// instead readies a new link button, its picture chosen here, for the tool's next click.
#pragma once

#include <array>
#include <cstdint>

#include "app/links/LinkDialogSupport.h"
#include "graphics/Image.h"
#include "ui/shell/Signal.h"

class CHAPane;
class CTool;
class Menu;
class TextView;
class ToggleButton;

// The protocol put before a web address: "http:", "https:", "ftp:", or empty for the address as typed
// (an e-mail dialog may leave "mailto:" here). Kept for the whole run, across dialogs.
extern char gLinkProtocol[8];
// The web dialogs' "Protocoles" menu, made by the first of them.
extern SmartRef<Menu> gProtocolMenu;

// An item of the protocol menu: it sets the protocol.
class ProtocolSignal : public GenericSignal {
 public:
  explicit ProtocolSignal(const char* protocol);
  int GetSignalStatus(Smart*) override { return kCommandEnabled; }
  void Send(Smart* watcher) override;

 private:
  char protocol[8];
};

class WebLinkDialog : public Dialog {
  SMART_ABSTRACT(WebLinkDialog)
 public:
  // Kind 0 a web link, 1 an e-mail link; the tool, when given, is the link-button tool the dialog readies.
  WebLinkDialog(std::int32_t kind, CHAPane* pane, CTool* tool);
  ~WebLinkDialog() override;

  // The address of the one selected sprite's link at frame 0, less a protocol the dialog offers.
  void SplitURL(std::int32_t kind);
  void LayoutEntry();
  void Layout(const String& prompt, const String& example, String* url);
  // 1 and 2 the built-in button pictures (a second click turns one off), 0 a picture file.
  void ChooseButtonPicture(std::int32_t n);
  // The saved links of the dialog's kind: add = true saves the typed address under a name, add = false
  // lets the child pick one.
  void OpenLinkChooser(bool add);
  void OpenLinkEditor();
  // OK: the address becomes the link of the selected sprites, or the next link button.
  void ApplyLink();
  void Accept() override { ApplyLink(); }

  const String& GetURLText() const { return *urlText; }
  TextView* GetURLField() const { return ~urlField; }
  SmartRef<Image> GetChosenPicture() const { return chosenPicture; }
  ToggleButton* GetPictureButton(int n) const { return ~pictureButtons[n - 1]; }
  View* GetProtocolPopup() const { return ~protocolPopup; }

 private:
  SmartRef<CHAPane> pane;
  SmartRef<String> urlText;
  SmartRef<String> exampleText;
  SmartRef<CTool> linkTool;
  std::array<SmartRef<ToggleButton>, 3> pictureButtons;
  std::array<SmartRef<Image>, 3> buttonPictures;
  SmartRef<Image> chosenPicture;
  std::int32_t linkKind;
  SmartRef<TextView> urlField;
  SmartRef<View> protocolPopup;
};

// The command of the "Lien" menu's two items and of the palette's e-mail button.
class WebLinkCommand : public GenericSignal {
 public:
  WebLinkCommand(std::int32_t kind, CTool* tool);
  // Enabled on a stage pane with a selection, or with a tool.
  int GetSignalStatus(Smart* context) override;
  void Send(Smart* context) override;
  // Runs the dialog on the pane; an accepted dialog marks the pane's page changed.
  void Execute(CHAPane& pane);

 private:
  std::int32_t linkKind;
  SmartRef<CTool> linkTool;
};
