#include "app/links/LinkListEditor.h"

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Text1252.h"
#include "ui/controls/Control.h"
#include "ui/controls/ListView.h"
#include "ui/dialogs/DialogFormatter.h"
#include "ui/text/TextView.h"
#include "ui/views/WindowFrame.h"

SMART_DEFINE_ABSTRACT(LinkListEditor, "LinkListEditor", Dialog)

namespace {

constexpr std::int32_t kWidth = 400;

template <void (LinkListEditor::*member)()>
void CallEditor(Dialog &dialog) {
  if (auto *editor = static_cast<LinkListEditor *>(CastSmart(&dialog, &LinkListEditor::classInfo))) (editor->*member)();
}

}  // namespace

LinkListEditor::LinkListEditor(FileReference *folder) : Dialog(kFrameModal), folder(new FileReference(*folder)) {
  ReadLinks(*this->folder, lists, true);
  Layout();
  FitAndCentre(*this);
}

LinkListEditor::~LinkListEditor() = default;

void LinkListEditor::Layout() {
  SmartRef<DialogFormatter> formatter(new DialogFormatter(this, kWidth, 0, 5, 5, 10, 10));
  formatter->SetFieldDefaults(80, 320, 1, true);
  formatter->AddLabel(String("Éditer la liste des liens"_cp), true, 0);
  const Point listAt = formatter->NextPosition(false);
  pane.Build(*this, *this, lists.linkNames, Rect(listAt.x, listAt.y, listAt.x + 380, listAt.y + 120));
  formatter->OffsetLast(0, 130);
  urlField = formatter->AddTextField(nullptr, false, 1, false, kWidth);
  formatter->OffsetLast(0, 30);
  const String change("Éditer"_cp);
  const String remove("Supprimer");
  const String done("Terminé"_cp);
  formatter->AddPushButton(&change, new WebLinkDialogCommand(&CallEditor<&LinkListEditor::ChangeLink>, 431), this,
                           1.0 / 6);
  formatter->AddPushButton(&remove, new WebLinkDialogCommand(&CallEditor<&LinkListEditor::DeleteLink>, 437), this, 0.5);
  formatter->AddPushButton(&done, new DialogOKSignal, this, 5.0 / 6);
}

void LinkListEditor::RangeChanged(const Range *range) {
  if (range->command == 1) OnSelect(range->first);
}

void LinkListEditor::OnSelect(std::int32_t index) {
  if (index <= 0 || index > lists.linkNames.NumItems()) {
    selectedIndex = 0;
    return;
  }
  selectedName = &EntryText(lists.linkNames, index);
  selectedURL = &EntryText(lists.linkURLs, index);
  urlField->SetText(*selectedURL);
  selectedIndex = index;
}

void LinkListEditor::ChangeLink() {
  if (!HasChoice()) return;
  const std::int32_t i = selectedIndex;
  SmartRef<String> name(new String(*selectedName));
  SmartRef<String> url(new String(*selectedURL));
  if (!RunLinkEntryForm(name, url, String("Changer"))) return;
  String &listedName = EntryText(lists.linkNames, i);
  String &listedURL = EntryText(lists.linkURLs, i);
  const String oldName(listedName);
  const String oldURL(listedURL);
  listedName = *name;
  listedURL = *url;
  try {
    RewriteLinkFile(*folder, EntryText(lists.linkFiles, i), lists, 0);
  } catch (...) {
    // The list keeps showing what the file still holds.
    listedName = oldName;
    listedURL = oldURL;
    throw;
  }
  pane.Rebuild(*this, *this, lists.linkNames);
  selectedName = &listedName;
  selectedURL = &listedURL;
  urlField->SetText(listedURL);
  selectedIndex = i;
}

void LinkListEditor::DeleteLink() {
  if (!HasChoice()) return;
  const std::int32_t i = selectedIndex;
  String question("Supprimer ");
  question.Append(*selectedName);
  question.Append(" (");
  question.Append(*selectedURL);
  question.Append(") ?");
  if (question.Alert(kAlertExclamation, kButtonsOKCancel) != kAlertAnswerOK) return;
  RewriteLinkFile(*folder, EntryText(lists.linkFiles, i), lists, i);
  selectedName = nullptr;
  selectedURL = nullptr;
  lists.linkNames->Remove(i, 1);
  lists.linkURLs->Remove(i, 1);
  lists.linkFiles->Remove(i, 1);
  pane.Rebuild(*this, *this, lists.linkNames);
  selectedIndex = 0;
  urlField->SetText(String());
}
