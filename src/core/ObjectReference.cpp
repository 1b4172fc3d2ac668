#include "core/ObjectReference.h"

#include "core/String.h"

SMART_DEFINE_ABSTRACT(ObjectReference, "ObjectReference")
SMART_DEFINE(SimpleReference, "SimpleReference", nullptr, nullptr, ObjectReference)
SMART_DEFINE_ABSTRACT(DirectReference, "DirectReference", ObjectReference)
SMART_DEFINE_ABSTRACT(MediaReference, "MediaReference", ObjectReference, Persistent)
SMART_DEFINE_ABSTRACT(Editable, "Editable")
SMART_DEFINE_ABSTRACT(Model, "Model", Editable, Persistent)

const PersistentType MediaReference::persistentType(&MediaReference::classInfo, MakeVersion(1), MakeVersion(1),
                                                    nullptr);
const PersistentType Model::persistentType(&Model::classInfo, MakeVersion(0), MakeVersion(1), nullptr);

void MediaReference::Write(Archive* archive) { ArchiveBlock block(archive, &persistentType); }

void Model::Write(Archive* archive) { ArchiveBlock block(archive, &persistentType); }

void Editable::MakeEditor(Rect* bounds, View*, const Rect&) { *bounds = Rect::emptyRect; }

void Editable::ComposeTitle(SmartRef<String>* out, Editable* container) {
  SmartRef<String> title = new String();
  if (container) {
    title->Append(*container->GetTitle());
    title->Append(" ");
  }
  title->Append(*GetTitle());
  *out = title;
}
