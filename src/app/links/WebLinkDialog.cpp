#include "app/links/WebLinkDialog.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

#include "app/DromelResources.h"
#include "app/links/LinkChooserDialog.h"
#include "app/links/LinkListEditor.h"
#include "core/Alert.h"
#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/FileType.h"
#include "core/Scribe.h"
#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/stage/CHAPane.h"
#include "engine/links/CLink.h"
#include "engine/sprites/CSprite.h"
#include "graphics/formats/BMPFile.h"
#include "graphics/formats/GIFFile.h"
#include "graphics/formats/JPEGFile.h"
#include "ui/controls/Control.h"
#include "ui/controls/GraphicButton.h"
#include "ui/controls/PopupControl.h"
#include "ui/dialogs/DialogFormatter.h"
#include "ui/menus/Menu.h"
#include "ui/shell/App.h"
#include "ui/shell/Clipboard.h"
#include "ui/text/TextView.h"
#include "ui/views/WindowFrame.h"
#include "web/html/LinkHREF.h"
#include "web/lists/LinkList.h"

SMART_DEFINE_ABSTRACT(WebLinkDialog, "WebLinkDialog", Dialog)

char gLinkProtocol[8] = "";
SmartRef<Menu> gProtocolMenu;

namespace {

// The protocols of the web dialog's menu, as its items show them.
struct Protocol {
  const char* title;
  const char* text;
};
constexpr Protocol kProtocols[] = {{"HTTP", "http:"}, {"HTTPS", "https:"}, {"FTP", "ftp:"}, {"<user>", ""}};

// A web address gets its protocol only from the three the menu offers: anything else ("mailto:" left by
// an e-mail dialog) stands for the address as typed.
bool IsWebProtocol(const char* text) {
  return std::any_of(std::begin(kProtocols), std::end(kProtocols) - 1,
                     [&](const Protocol& p) { return std::strcmp(p.text, text) == 0; });
}

void SetProtocol(const char* text) {
  std::strncpy(gLinkProtocol, text, sizeof gLinkProtocol - 1);
  gLinkProtocol[sizeof gLinkProtocol - 1] = '\0';
}

template <void (WebLinkDialog::*member)()>
void CallDialog(Dialog& dialog) {
  if (auto* web = static_cast<WebLinkDialog*>(CastSmart(&dialog, &WebLinkDialog::classInfo))) (web->*member)();
}
template <int n>
void ChoosePicture(Dialog& dialog) {
  if (auto* web = static_cast<WebLinkDialog*>(CastSmart(&dialog, &WebLinkDialog::classInfo)))
    web->ChooseButtonPicture(n);
}
template <bool add>
void OpenChooser(Dialog& dialog) {
  if (auto* web = static_cast<WebLinkDialog*>(CastSmart(&dialog, &WebLinkDialog::classInfo))) web->OpenLinkChooser(add);
}

// A button showing the picture, pressed as the second one, its top-left at the point; a text button of
// 80 x 22 where the picture is missing. Answers its frame.
Rect AddPictureButton(Dialog& dialog, Point at, int picture, int pressed, GenericSignal* signal, const char* text,
                      bool alignRight = false) {
  SmartRef<GenericSignal> owned(signal);
  SmartRef<BitMap> look = LinkDialogPicture(picture);
  const Point size = PictureSize(look, Point(80, 22));
  if (alignRight) at.x -= size.x;
  const Rect frame(at.x, at.y, at.x + size.x, at.y + size.y);
  if (look) {
    dialog.AddSubview(
        new GraphicPushButton(&dialog, frame, ~look, ~owned, &dialog, ~LinkDialogPicture(pressed), nullptr));
  } else {
    const String label(text);
    dialog.AddSubview(new PushButton(&dialog, frame, &label, ~owned, &dialog));
  }
  return frame;
}

}  // namespace

ProtocolSignal::ProtocolSignal(const char* text) {
  std::strncpy(protocol, text, sizeof protocol - 1);
  protocol[sizeof protocol - 1] = '\0';
}

void ProtocolSignal::Send(Smart*) { SetProtocol(protocol); }

WebLinkDialog::WebLinkDialog(std::int32_t kind, CHAPane* pane, CTool* tool)
    : Dialog(kFrameModal), pane(pane), linkTool(tool), linkKind(kind) {
  SplitURL(kind);
  LayoutEntry();
  FitAndCentre(*this);
}

WebLinkDialog::~WebLinkDialog() = default;

void WebLinkDialog::SplitURL(std::int32_t kind) {
  exampleText = new String(ResourceText(kind == 1 ? 31 : 30));
  urlText = new String;
  const List selection = pane->GetSelectionList();
  if (selection.NumItems() != 1) return;
  auto* sprite = CastSmart<CSprite>(selection.At(1));
  CLink* link = sprite ? sprite->GetLinkAtFrame(0) : nullptr;
  auto* href = link ? CastSmart<LinkHREF>(link->GetStoredHref()) : nullptr;
  if (href == nullptr) return;
  const String& whole = href->GetHref();
  // Only the first 1999 characters are looked at, as the field holds them.
  const String text(whole, 1, std::min<std::int32_t>(whole.Length(), kLinkLineCapacity - 1));
  const std::string bytes = TextOf(text);
  static constexpr const char* kWeb[] = {"http:", "https:", "ftp:"};
  static constexpr const char* kEmail[] = {"mailto:"};
  const auto prefixes = kind == 1 ? std::span<const char* const>(kEmail) : std::span<const char* const>(kWeb);
  for (const char* prefix : prefixes) {
    if (!bytes.starts_with(prefix)) continue;
    const auto length = static_cast<std::int32_t>(std::strlen(prefix));
    urlText = new String(text, length + 1, text.Length() - length);
    SetProtocol(prefix);
    return;
  }
  urlText = new String(whole);
}

void WebLinkDialog::LayoutEntry() {
  Layout(ResourceText(linkKind == 1 ? 35 : 29), *exampleText, ~urlText);
  chosenPicture = nullptr;
}

void WebLinkDialog::Layout(const String& prompt, const String& example, String* url) {
  SmartRef<String> exampleLine(new String("Exemple : "));
  exampleLine->Append(example);

  SmartRef<BitMap> title = LinkDialogPicture(linkKind == 0 ? 802 : 801);
  const Point titleSize = PictureSize(title, Point(320, 0));
  const std::int32_t width = titleSize.x;
  SmartRef<DialogFormatter> formatter(new DialogFormatter(this, width - 20, 0, 5, 5, 10, 10));
  formatter->OffsetLast(0, titleSize.y);
  if (title) AddSubview(new GraphicButton(this, Rect(0, 0, width, titleSize.y), ~title, nullptr, nullptr));

  formatter->AddTextField(new String(prompt), false, 1, false, 0);

  if (linkKind == 0) {
    if (!gProtocolMenu) {
      gProtocolMenu = new Menu(String("Protocoles"), 1);
      for (const Protocol& p : kProtocols) gProtocolMenu->AppendItem(String(p.title), 0, new ProtocolSignal(p.text));
    }
    const Point at = formatter->NextPosition(false);
    SmartRef<PopupControl> popup(new PopupControl(this, Rect(at.x, at.y, at.x + 80, at.y + 20), ~gProtocolMenu));
    AddSubview(~popup);
    protocolPopup = popup;
    if (url->Length() == 0) SetProtocol("http:");
    const char* shown = "<user>";
    for (const Protocol& p : kProtocols) {
      if (*p.text != '\0' && std::strcmp(p.text, gLinkProtocol) == 0) shown = p.title;
    }
    popup->SelectByTitle(String(shown));
    formatter->OffsetLast(0, 30);
  }

  urlField = formatter->AddTextField(url, true, 1, false, 0);
  formatter->AddTextField(~exampleLine, false, 1, false, 0);

  std::int32_t pictureRow = 0;
  if (linkTool && linkKind == 1) {
    formatter->OffsetLast(0, 10);
    formatter->AddTextField(new String("Choisis un bouton :"), false, 1, false, 0);
    Point at = formatter->NextPosition(false);
    at.x += 10;
    static constexpr struct {
      int off, on;
      WebLinkDialogCommand::Action action;
      int line;
    } kToggles[] = {{712, 717, &ChoosePicture<1>, 776}, {713, 718, &ChoosePicture<2>, 782}};
    for (std::size_t n = 0; n < std::size(kToggles); ++n) {
      const auto& toggle = kToggles[n];
      buttonPictures[n] = SmartRef<Image>(~LinkDialogPicture(toggle.off));
      SmartRef<BitMap> on = LinkDialogPicture(toggle.on);
      const Point size = PictureSize(SmartRef<BitMap>(CastSmart<BitMap>(~buttonPictures[n])), Point(40, 40));
      pictureButtons[n] = new ToggleButton(this, Rect(at.x, at.y, at.x + size.x, at.y + size.y), ~buttonPictures[n],
                                           new WebLinkDialogCommand(toggle.action, toggle.line), this, ~on, nullptr);
      pictureButtons[n]->SetCanTurnOff(true);
      AddSubview(~pictureButtons[n]);
      at.x += size.x + 5;
      pictureRow = std::max(pictureRow, size.y);
    }
    const Rect import =
        AddPictureButton(*this, at, 708, 709, new WebLinkDialogCommand(&ChoosePicture<0>, 794), "Importer");
    pictureRow = std::max(pictureRow, import.Height());
  }

  formatter->OffsetLast(0, 10 + pictureRow);
  Point at = formatter->NextPosition(false);
  const Rect add = AddPictureButton(*this, Point(at.x + 5, at.y), 715, 716,
                                    new WebLinkDialogCommand(&OpenChooser<true>, 812), "Ajouter");
  const Rect edit =
      AddPictureButton(*this, Point(add.right + 5, at.y), 720, 721,
                       new WebLinkDialogCommand(&CallDialog<&WebLinkDialog::OpenLinkEditor>, 806), "Éditer"_cp);
  const std::int32_t row = std::max(add.bottom, edit.bottom) + 5;
  AddPictureButton(*this, Point(at.x + 5, row), 706, 707, new WebLinkDialogCommand(&OpenChooser<false>, 800), "Liste");
  const Rect ok = AddPictureButton(*this, Point(width - 10, row), 700, 701, new DialogOKSignal, "OK", true);
  AddPictureButton(*this, Point(ok.left - 10, row), 702, 703, new DialogCancelSignal, "Annuler", true);
  SetTarget(~urlField);
}

void WebLinkDialog::ChooseButtonPicture(std::int32_t n) {
  if (n == 0) {
    List types(&FileType::classInfo);
    types.Append(~BMPFile::fileType);
    types.Append(~GIFFile::fileType);
    types.Append(~JPEGFile::fileType);
    SmartRef<FileReference> file;
    try {
      file = new FileReference(FileReference::OpenDialog{}, types);
    } catch (Exception* failure) {
      SmartRef<Exception> ignored(failure);
    }
    // Cancelling the Open dialog changes nothing.
    if (!file || !file->HasPath()) {
      SetTarget(~urlField);
      return;
    }
    SmartRef<Image> picture;
    try {
      SmartRef<Scribe> scribe = gApplication->MakeScribe(*file, kFileModeRead);
      SmartRef<Smart> read;
      if (scribe) scribe->Read(&read);
      picture = CastSmart<Image>(~read);
    } catch (Exception* failure) {
      SmartRef<Exception> dropped(failure);
    }
    if (!picture) {
      Alert(kAlertExclamation, kButtonsOK, "Image import exception");
      SetTarget(~urlField);
      return;
    }
    chosenPicture = picture;
  }
  for (std::int32_t k = 1; k <= 3; ++k) {
    if (k != n && pictureButtons[k - 1]) pictureButtons[k - 1]->SetState(kToggleOff);
  }
  if (n == 1 || n == 2) {
    chosenPicture = pictureButtons[n - 1]->GetState() == kToggleOn ? buttonPictures[n - 1] : nullptr;
  }
  SetTarget(~urlField);
}

void WebLinkDialog::OpenLinkChooser(bool add) {
  urlField->UpdateFromControl();
  SmartRef<FileReference> folder = LinkFolder(linkKind);
  SmartRef<LinkChooserDialog> chooser(new LinkChooserDialog(~folder));
  if (add) {
    gPendingLinkURL = urlText;
    try {
      chooser->AddLink();
    } catch (...) {
      gPendingLinkURL = nullptr;
      throw;
    }
    gPendingLinkURL = nullptr;
    urlField->SetText(*urlText);
  } else {
    chooser->ResetFlags();
    chooser->Open(true);
    while (chooser->Poll()) {
    }
    if (!chooser->WasCancelled() && chooser->GetSelectedURL()) urlField->SetText(*chooser->GetSelectedURL());
    if (!chooser->IsClosed()) chooser->Close();
  }
  SetTarget(~urlField);
}

void WebLinkDialog::OpenLinkEditor() {
  SmartRef<FileReference> folder = LinkFolder(linkKind);
  SmartRef<LinkListEditor> editor(new LinkListEditor(~folder));
  editor->Open(true);
  while (editor->Poll()) {
  }
  if (!editor->WasCancelled() && editor->GetSelectedURL()) urlField->SetText(*editor->GetSelectedURL());
  if (!editor->IsClosed()) editor->Close();
  SetTarget(~urlField);
}

void WebLinkDialog::ApplyLink() {
  urlField->UpdateFromControl();
  linkButtonPicture = nullptr;
  SmartRef<CLink> link;
  if (urlText->Length() > 0) {
    if (linkKind == 1) {
      urlText->Insert("mailto:", 0, 7);
    } else if (IsWebProtocol(gLinkProtocol)) {
      const std::string text = TextOf(*urlText);
      const bool secondIsSlash = text.size() > 1 && text[1] == '/';
      if (text[0] != '/') {
        urlText->Insert("/", 0, 1);
        if (!secondIsSlash) urlText->Insert("/", 0, 1);
      }
      urlText->Insert(gLinkProtocol, 0, static_cast<std::int32_t>(std::strlen(gLinkProtocol)));
    }
    urlField->SetText(*urlText);
    SmartRef<LinkHREF> href(new LinkHREF(*urlText));
    if (linkTool) {
      linkButtonPicture = chosenPicture;
      gApplication->GetClipboard()->SetScrap(~href);
      if (gToolsDirectory) gToolsDirectory->SetCurrentTool(~linkTool);
      linkTool->SetActive(true);
    } else {
      link = new CLink;
      link->SetHref(SmartRef<Persistent>(~href));
    }
  }
  if (!linkTool) {
    const List selection = pane->GetSelectionList();
    for (std::int32_t n = selection.NumItems(); n >= 1; --n) {
      if (auto* sprite = CastSmart<CSprite>(selection.At(n))) sprite->SetLink(0, 1, ~link);
    }
  }
  Dialog::Accept();
}

WebLinkCommand::WebLinkCommand(std::int32_t kind, CTool* tool) : linkKind(kind), linkTool(tool) {}

int WebLinkCommand::GetSignalStatus(Smart* context) {
  auto* pane = CastSmart<CHAPane>(context);
  if (pane == nullptr) return kCommandDisabled;
  return pane->GetSelectionList().NumItems() > 0 || linkTool ? kCommandEnabled : kCommandDisabled;
}

void WebLinkCommand::Send(Smart* context) {
  RequireEnabled(context, kLinkDialogSource.Line(94));
  Execute(*CastSmart<CHAPane>(context));
}

void WebLinkCommand::Execute(CHAPane& pane) {
  SmartRef<WebLinkDialog> dialog(new WebLinkDialog(linkKind, &pane, ~linkTool));
  pane.OpenWindow(~dialog);
  while (dialog->Poll()) {
  }
  if (!dialog->WasCancelled()) pane.NotifyChanged();
}
