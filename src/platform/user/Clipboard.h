// The clipboard: data in several formats (standard and registered ones), shared with other programs. Its
// text travels to and from the system clipboard of the screen the program runs on (UTF-8 there, Windows-1252
// here), so that the user can paste between this program and others.
#pragma once

#include "platform/kernel/WinTypes.h"

enum : UINT {
  CF_TEXT = 1,  // NUL-terminated Windows-1252 text, lines ending in CR LF
  CF_BITMAP = 2,
  CF_DIB = 8,  // a packed DIB: header, colours, rows
  CF_PALETTE = 9,
  CF_PRIVATEFIRST = 0x0200,  // formats whose data the clipboard never frees
  CF_PRIVATELAST = 0x02FF,
  CF_GDIOBJFIRST = 0x0300,  // formats whose data are drawing objects, deleted as such
  CF_GDIOBJLAST = 0x03FF,
};

// Opens the clipboard for a window (null: for the program itself); fails (ERROR_ACCESS_DENIED) while
// another window has it open. The calls below marked "open" fail with ERROR_CLIPBOARD_NOT_OPEN otherwise.
BOOL OpenClipboard(HWND window);
// Closes it; text set meanwhile goes out to the system clipboard then.
BOOL CloseClipboard();
// (open) Frees every format's data; the window that opened the clipboard becomes its owner.
BOOL EmptyClipboard();
// (open) The data becomes the clipboard's, which frees it when it is replaced or emptied: a global memory
// block, or an HBITMAP (CF_BITMAP) or HPALETTE (CF_PALETTE). Formats already there stay unless replaced.
// Data to be rendered later (a null handle) is not supported. Answers the handle.
HANDLE SetClipboardData(UINT format, HANDLE data);
// (open) The clipboard's own handle, which the caller reads but never frees; CF_DIB is made from a
// CF_BITMAP on demand, and CF_BITMAP from a CF_DIB.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
// (open) The format after `format` (0: the first); 0 at the end, with no error.
UINT EnumClipboardFormats(UINT format);
int CountClipboardFormats();
// The same number (from 0xC000) for every registration of a name, whatever its case.
UINT RegisterClipboardFormatA(LPCSTR name);
int GetClipboardFormatNameA(UINT format, LPSTR buffer, int size);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();
