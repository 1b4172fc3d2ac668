// The file references' side of the folder previews: one current preview at a time, stored when the program
// turns to another folder.
#include <optional>

#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/Progress.h"
#include "core/Text1252.h"
#include "ui/dialogs/Preview.h"

SmartRef<Preview> currentPreview;
bool currentPreviewModified = false;

SmartRef<Preview> GetFolderPreview(FileReference& folder) {
  if (currentPreview && *currentPreview->GetFolder() == folder) return currentPreview;
  std::optional<Progress> range;
  if (currentPreviewModified && currentPreview) {
    currentPreviewModified = false;
    range.emplace(2, "Création d'aperçus"_cp);
    range->Step(1);
    UpdatePreview(~currentPreview);
    range->Step(1);
  }
  currentPreview = Preview::Open(folder);
  if (!currentPreview) AssertFailed("currentPreview", __FILE__, __LINE__);
  return currentPreview;
}

SmartRef<Image> FileReference::GetPreview() {
  Locate();
  const SmartRef<FileReference> parent(GetParent());
  const SmartRef<Preview> preview = GetFolderPreview(*parent);
  if (IsEmptyFile()) return nullptr;
  return preview->GetItemImage(*this);
}

void FileReference::SetPreview(Image* image) {
  Locate();
  const SmartRef<FileReference> parent(GetParent());
  GetFolderPreview(*parent)->UpdateItem(*this, image);
  currentPreviewModified = true;
}

void SaveCurrentPreview() {
  if (!currentPreviewModified || !currentPreview) return;
  UpdatePreview(~currentPreview);
  currentPreviewModified = false;
}
