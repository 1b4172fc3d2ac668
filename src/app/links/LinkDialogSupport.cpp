#include "app/links/LinkDialogSupport.h"

#include "app/DromelResources.h"
#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Text1252.h"
#include "ui/controls/Control.h"
#include "ui/controls/EditableList.h"
#include "ui/controls/ListView.h"
#include "ui/dialogs/DialogFormatter.h"
#include "ui/text/TextView.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/WindowFrame.h"
#include "web/lists/LinkList.h"

SmartRef<BitMap> LinkDialogPicture(int n) {
  try {
    return SmartRef<BitMap>(gAppResources.LoadImage(n));
  } catch (Exception *failure) {
    SmartRef<Exception> dropped(failure);
    return nullptr;
  }
}

Point PictureSize(const SmartRef<BitMap> &picture, Point fallback) {
  if (!picture) return fallback;
  Rect bounds;
  picture->GetBounds(&bounds);
  return Point(bounds.Width(), bounds.Height());
}

void FitAndCentre(Dialog& dialog) {
  dialog.FitToContent(true);
  const Point size = dialog.GetBounds().Size();
  dialog.SetSize(size.x, size.y + 10);
  LFWDecorator::Get().Place(dialog, LFWDecorator::kCentre, LFWDecorator::kCentre);
}

void WebLinkDialogCommand::Send(Smart *watcher) {
  RequireEnabled(watcher, kLinkDialogSource.Line(assertionLine));
  action(*static_cast<Dialog *>(CastSmart(watcher, &Dialog::classInfo)));
}

void LinkListPane::Build(Dialog &dialog, ControllableObserver &observer, const List &names, const Rect &frame) {
  SmartRef<EditableList> titled(new EditableList(names, String("Liens"), nullptr, 0));
  container = new View(&dialog, frame, kAnchorTopLeft, false, true);
  // Not editable: a row cleared or pasted in the pane would no longer match the
  // files the entries came from.
  listView = ListView::CreateInView(~container, names, ~titled, titled->GetSelection(), false);
  listView->ToggleObserver(&observer);
  dialog.AddSubview(~container);
}

void LinkListPane::Rebuild(Dialog &dialog, ControllableObserver &observer, const List &names) {
  const Rect frame = container->GetBounds();
  if (listView->IsObservedBy(&observer)) listView->ToggleObserver(&observer);
  dialog.RemoveSubview(~container);
  listView = nullptr;
  container = nullptr;
  Build(dialog, observer, names, frame);
  const std::int32_t top = names.NumItems() - 3;
  if (top > 0) {
    listView->SetValue(0, top);
    listView->NotifyObservers();
  }
}

bool RunLinkEntryForm(const SmartRef<String> &name, const SmartRef<String> &url, const String &okText) {
  SmartRef<Dialog> form(new Dialog(kFrameModal));
  SmartRef<DialogFormatter> formatter(new DialogFormatter(~form, 250, 0, 5, 5, 10, 10));
  formatter->SetFieldDefaults(80, 170, 1, true);
  formatter->AddLabel(String("Ajouter un nouveau lien"), true, 0);
  // Each label's view holds its text: it lives on the heap with it.
  SmartRef<TextView> nameField = formatter->AddLabeledField(new String("Nom :"), 1, ~name, false, -1, 0, 0);
  SmartRef<TextView> urlField = formatter->AddLabeledField(new String("URL :"), 1, ~url, false, -1, 0, 0);
  formatter->OffsetLast(0, 15);
  formatter->AddButtonRow(&okText, nullptr, 0.9, 0.55);
  form->FitToContent(true);
  LFWDecorator::Get().Place(*form, LFWDecorator::kCentre, LFWDecorator::kCentre);
  form->SetTarget(~nameField);
  bool saved = false;
  for (;;) {
    form->ResetFlags();
    form->Open(true);
    while (form->Poll()) {
    }
    nameField->UpdateFromControl();
    urlField->UpdateFromControl();
    if (form->WasCancelled()) break;
    const char *problem = nullptr;
    if (name->Length() == 0) {
      problem = "Tu dois taper un nom de lien";
    } else if (url->Length() == 0) {
      problem = "Tu dois taper un lien URL";
    } else {
      problem = LinkEntryProblem(*name, *url);
    }
    if (problem == nullptr) {
      saved = true;
      break;
    }
    Alert(kAlertExclamation, kButtonsOK, problem);
  }
  if (!form->IsClosed()) form->Close();
  return saved;
}
