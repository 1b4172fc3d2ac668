#include "ui/views/DocWindow.h"

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/ObjectFile.h"
#include "core/Resources.h"
#include "core/String.h"
#include "ui/shell/App.h"

namespace {
constexpr SourceName kSource("DOCWIND");
constexpr SourceName kHeader("DocWind");
}  // namespace

namespace {
SmartRef<FormatPicker> gDocWindowApplication;
}  // namespace

SMART_DEFINE_ABSTRACT(DocWindow, "DocWindow", Window)

void DocWindow::SetApplication(FormatPicker* format) { gDocWindowApplication = format; }

SmartRef<String> DocWindow::MakeTitle(ObjectReference* data, Editable* titleContainer) {
  Editable* editable = data ? CastSmart<Editable>(data->GetObject()) : nullptr;
  if (!editable) return SmartRef<String>(new String("sanstitre"));
  SmartRef<String> title;
  editable->ComposeTitle(&title, titleContainer);
  return title;
}

DocWindow::DocWindow(ObjectReference* data, Editable* titleContainer, DocWindow* owner, Scribe* scribe,
                     bool buffered)
    : Window(~MakeTitle(data, titleContainer), kFrameNormal, false, buffered, kDefaultWidth, kDefaultHeight),
      data(data),
      scribe(scribe),
      format(gDocWindowApplication),
      owner(owner) {
  contentView = new View(this, GetBounds(), kAnchorAll, true, false);
  AddSubview(~contentView);
  if (this->scribe && !this->scribe->IsWritable()) this->scribe = nullptr;
  // Checked before the sink is registered: a window that fails here is never told about its views.
  Validate();
  MakeContentView();
  FitSize(true);
  AddSink(this);
}

DocWindow::~DocWindow() { RemoveSink(this); }

void DocWindow::GetSizeRange(Rect* range) { *range = Rect(kMinimumWidth, kMinimumHeight, 0, 0); }

void DocWindow::MakeContentView() {
  auto* editable = CastSmart<Editable>(data->GetObject());
  if (!editable) return;
  Rect bounds;
  editable->MakeEditor(&bounds, ~contentView, contentView->GetBounds());
}

void DocWindow::ClearContent() { contentView->RemoveAllSubviews(); }

void DocWindow::SetScribe(Scribe* newScribe) { scribe = newScribe; }

void DocWindow::SetData(ObjectReference* newData, Scribe* newScribe) {
  ClearUndo();
  ClearContent();
  SetScribe(newScribe);
  data = newData;
  MakeContentView();
  SetModified(false);
}

void DocWindow::ReadFile(FileReference& file) {
  SmartRef<Scribe> reader = CHECK_NOT_NULL(~format)->MakeScribe(file, kFileModeRead | kFileModeWrite);
  if (!reader) return;
  SmartRef<Smart> object;
  reader->Read(&object);
  // A file that holds nothing leaves the window with what it edits.
  if (!object) return;
  SmartRef<ObjectReference> reference(new SimpleReference(object));
  SetData(~reference, ~reader);
}

void DocWindow::FileChanged(FileReference&) {}

void DocWindow::Validate() {
  if (!data->ObjectExists()) AssertFailed("data->ObjectExists()", kSource.Line(339));
  if (scribe && !format) AssertFailed("format.Valid()", kSource.Line(342));
}

void DocWindow::Changed(void*) {
  SetModified(true);
  if (owner) owner->NotifyChanged();
}

void DocWindow::Save(int mode) {
  RefreshTarget();
  // Held for the length of the save: writing must not see the document go.
  SmartRef<Smart> object(data->GetObject());
  if (!CastSmart<Persistent>(~object)) ThrowException(new MessageException("Not a storable window!"));
  if (mode == kSaveDocument && scribe) {
    scribe->Write(object);
    SetModified(false);
  } else if (mode == kSaveDocument && owner) {
    owner->Save(kSaveDocument);
  } else if (format) {
    SmartRef<FileReference> file = format->ChooseFile(mode);
    if (mode != kSaveDocumentCopy) scribe = nullptr;
    SmartRef<Scribe> writer = file ? format->MakeScribe(*file, kFileModeRead | kFileModeWrite) : nullptr;
    if (writer) {
      writer->Write(object);
      FileChanged(*file);
      if (mode != kSaveDocumentCopy) {
        scribe = writer;
        SetModified(false);
      }
    }
  } else {
    ThrowException(new MessageException("No format for saving"));
  }
  Validate();
}

bool DocWindow::AskToSave() {
  SmartRef<String> title(GetFrame()->GetTitle());
  char text[256];
  gDocumentMessages.GetString(text, 0, TextOf(*title).c_str());
  switch (Alert(kAlertExclamation, kButtonsYesNoCancel, text)) {
    case kAlertAnswerNo:
      return true;
    case kAlertAnswerCancel:
      return false;
    default:
      Save(kSaveDocument);
      return !IsModified();
  }
}

bool DocWindow::CanClose(int kind) {
  RefreshTarget();
  if (!IsModified()) return true;
  // The owner saves this window's document with its own.
  if (owner && !scribe) return true;
  if (kind == kCloseDiscarding) return true;
  if (kind == kCloseAsking) return AskToSave();
  Save(kSaveDocument);
  return !IsModified();
}

int DocWindowCommand::GetSignalStatus(Smart* watcher) {
  return CastSmart<DocWindow>(watcher) ? kCommandEnabled : kCommandDisabled;
}

void DocWindowCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kHeader.Line(146));
  CastSmart<DocWindow>(watcher)->Save(mode);
}
