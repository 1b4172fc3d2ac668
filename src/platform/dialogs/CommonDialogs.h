// The open and save dialogs. Until the window system has its file dialog, every dialog answers
// "cancelled" unless a chooser is installed; tests install one that answers with a given path.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/kernel/WinTypes.h"

enum : DWORD {
  OFN_READONLY = 0x00000001,
  OFN_OVERWRITEPROMPT = 0x00000002,
  OFN_HIDEREADONLY = 0x00000004,
  OFN_PATHMUSTEXIST = 0x00000800,
  OFN_FILEMUSTEXIST = 0x00001000,
};

// CommDlgExtendedError's answer when the chosen path does not fit the caller's buffer.
enum : DWORD { FNERR_BUFFERTOOSMALL = 0x3003 };

struct OPENFILENAMEA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;  // pairs of NUL-terminated display text and pattern, ended by one more NUL
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPSTR lpstrFile;  // in: the name proposed; out: the chosen path
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  void* lpfnHook;
  LPCSTR lpTemplateName;
};

// TRUE with the chosen path in lpstrFile; FALSE when the user cancelled (CommDlgExtendedError 0) or
// the path does not fit (FNERR_BUFFERTOOSMALL).
BOOL GetOpenFileNameA(OPENFILENAMEA* record);
BOOL GetSaveFileNameA(OPENFILENAMEA* record);
DWORD CommDlgExtendedError();

namespace platform {
enum class FileDialogKind { kOpen, kSave };
// Answers the dialog's record with a Windows-form path, or nothing for Cancel.
using FileChooser = std::function<std::optional<std::string>(FileDialogKind kind, const OPENFILENAMEA& record)>;
// Installs a chooser and answers the previous one; an empty chooser cancels every dialog.
FileChooser SetFileChooser(FileChooser chooser);
}  // namespace platform
