// Structures and constants of fonts and text drawing, with the values callers store and pass.
#pragma once

#include "platform/kernel/WinTypes.h"

constexpr int LF_FACESIZE = 32;

struct LOGFONTA {
  LONG lfHeight;  // < 0: character height (em) in pixels; > 0: cell height; 0: the default size
  LONG lfWidth;   // average character width in pixels; 0: the face's own proportions
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;  // 400 normal, 700 bold; 0 means normal
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
};

struct TEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};

enum : LONG { FW_DONTCARE = 0, FW_NORMAL = 400, FW_BOLD = 700 };
enum : BYTE { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1 };
enum : BYTE { DEFAULT_QUALITY = 0, DRAFT_QUALITY = 1, NONANTIALIASED_QUALITY = 3 };
// Pitch in the low two bits, family in the high four.
enum : BYTE { DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2 };
enum : BYTE { FF_DONTCARE = 0x00, FF_ROMAN = 0x10, FF_SWISS = 0x20, FF_MODERN = 0x30 };
// tmPitchAndFamily: TMPF_FIXED_PITCH is set for a *variable*-pitch font, as the system has it.
enum : BYTE { TMPF_FIXED_PITCH = 0x01, TMPF_VECTOR = 0x02, TMPF_TRUETYPE = 0x04 };
constexpr DWORD TRUETYPE_FONTTYPE = 0x0004;

// Receives one face per call; answering 0 stops the enumeration.
using FONTENUMPROCA = int (*)(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD fontType, LPARAM data);

// DrawTextA formats.
enum : UINT {
  DT_TOP = 0x0000,
  DT_LEFT = 0x0000,
  DT_CENTER = 0x0001,
  DT_RIGHT = 0x0002,
  DT_WORDBREAK = 0x0010,
  DT_NOCLIP = 0x0100,
  DT_CALCRECT = 0x0400,
  DT_NOPREFIX = 0x0800,
};
