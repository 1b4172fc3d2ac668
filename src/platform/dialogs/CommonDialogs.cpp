#include "platform/dialogs/CommonDialogs.h"

#include <cstring>
#include <utility>

namespace {

platform::FileChooser& Chooser() {
  static platform::FileChooser chooser;
  return chooser;
}

DWORD gExtendedError = 0;

BOOL RunFileDialog(platform::FileDialogKind kind, OPENFILENAMEA* record) {
  gExtendedError = 0;
  if (record == nullptr || !Chooser()) return FALSE;
  const std::optional<std::string> chosen = Chooser()(kind, *record);
  if (!chosen) return FALSE;
  if (record->lpstrFile == nullptr || chosen->size() >= record->nMaxFile) {
    gExtendedError = FNERR_BUFFERTOOSMALL;
    return FALSE;
  }
  std::memcpy(record->lpstrFile, chosen->c_str(), chosen->size() + 1);
  const std::size_t slash = chosen->find_last_of('\\');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = chosen->find_last_of('.');
  record->nFileOffset = static_cast<WORD>(nameStart);
  record->nFileExtension = static_cast<WORD>(dot == std::string::npos || dot < nameStart ? 0 : dot + 1);
  return TRUE;
}

}  // namespace

BOOL GetOpenFileNameA(OPENFILENAMEA* record) { return RunFileDialog(platform::FileDialogKind::kOpen, record); }
BOOL GetSaveFileNameA(OPENFILENAMEA* record) { return RunFileDialog(platform::FileDialogKind::kSave, record); }
DWORD CommDlgExtendedError() { return gExtendedError; }

namespace platform {
FileChooser SetFileChooser(FileChooser chooser) { return std::exchange(Chooser(), std::move(chooser)); }
}  // namespace platform
