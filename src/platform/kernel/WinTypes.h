// The basic types, handles and constants of the system interface the program is written against.
// Only the names the program uses are here; values are those the program's stored data and messages rely on.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using LONG = std::int32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using BOOL = int;
using CHAR = char;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using LPCVOID = const void*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using SIZE_T = std::size_t;
using ATOM = WORD;
using COLORREF = DWORD;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// Handles are opaque pointers to distinct incomplete types, so that the compiler refuses to mix them up.
#define QUILLORY_DECLARE_HANDLE(name) \
  struct name##__;                    \
  using name = name##__*
QUILLORY_DECLARE_HANDLE(HWND);
QUILLORY_DECLARE_HANDLE(HINSTANCE);
QUILLORY_DECLARE_HANDLE(HMENU);
QUILLORY_DECLARE_HANDLE(HACCEL);
QUILLORY_DECLARE_HANDLE(HCURSOR);
QUILLORY_DECLARE_HANDLE(HICON);
QUILLORY_DECLARE_HANDLE(HDC);
QUILLORY_DECLARE_HANDLE(HBITMAP);
QUILLORY_DECLARE_HANDLE(HPALETTE);
QUILLORY_DECLARE_HANDLE(HRGN);
QUILLORY_DECLARE_HANDLE(HPEN);
QUILLORY_DECLARE_HANDLE(HBRUSH);
QUILLORY_DECLARE_HANDLE(HFONT);
using HANDLE = void*;
// Any drawing-object handle converts to this without a cast, as the drawing calls that take "any object"
// (SelectObject, DeleteObject, GetObject) expect.
using HGDIOBJ = void*;
using HGLOBAL = HANDLE;
using HMODULE = HINSTANCE;

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1)))

// A resource named by its number.
#define MAKEINTRESOURCEA(id) (reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(id))))

#define MAKELONG(lo, hi) (static_cast<LONG>((static_cast<WORD>(lo)) | (static_cast<DWORD>(static_cast<WORD>(hi)) << 16)))
#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD>(l) & 0xFFFF))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD>(l) >> 16) & 0xFFFF))
#define GET_X_LPARAM(lp) (static_cast<int>(static_cast<SHORT>(LOWORD(lp))))
#define GET_Y_LPARAM(lp) (static_cast<int>(static_cast<SHORT>(HIWORD(lp))))
#define LOBYTE(w) (static_cast<BYTE>(static_cast<DWORD>(w) & 0xFF))
#define HIBYTE(w) (static_cast<BYTE>((static_cast<DWORD>(w) >> 8) & 0xFF))

struct POINT {
  LONG x;
  LONG y;
};

struct SIZE {
  LONG cx;
  LONG cy;
};

// Half-open: right and bottom lie outside.
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
