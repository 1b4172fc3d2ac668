// The multimedia file calls that write RIFF files chunk by chunk: a chunk is created with a provisional
// size, its data written, and ascending out of it writes its true size and pads it to an even length.
#pragma once

#include "platform/kernel/WinTypes.h"
#include "platform/media/Mmsystem.h"

QUILLORY_DECLARE_HANDLE(HMMIO);
using FOURCC = DWORD;

constexpr FOURCC mmioFOURCC(char a, char b, char c, char d) {
  return static_cast<BYTE>(a) | static_cast<BYTE>(b) << 8 | static_cast<BYTE>(c) << 16 |
         static_cast<DWORD>(static_cast<BYTE>(d)) << 24;
}
inline constexpr FOURCC FOURCC_RIFF = mmioFOURCC('R', 'I', 'F', 'F');
inline constexpr FOURCC FOURCC_LIST = mmioFOURCC('L', 'I', 'S', 'T');

struct MMCKINFO {
  FOURCC ckid;
  DWORD cksize;
  FOURCC fccType;       // the form type of a RIFF or LIST chunk
  DWORD dwDataOffset;   // where the chunk's data starts in the file
  DWORD dwFlags;        // MMIO_DIRTY while the size on disk may be wrong
};

// Not used by the program, which passes null.
struct MMIOINFO;

enum : DWORD {
  MMIO_READ = 0x00000000,
  MMIO_WRITE = 0x00000001,
  MMIO_READWRITE = 0x00000002,
  MMIO_CREATE = 0x00001000,
  MMIO_ALLOCBUF = 0x00010000,
  MMIO_DIRTY = 0x10000000,
};
// mmioCreateChunk flags.
enum : UINT { MMIO_CREATERIFF = 0x0020, MMIO_CREATELIST = 0x0040 };

enum : MMRESULT {
  MMIOERR_CANNOTCLOSE = 260,
  MMIOERR_CANNOTWRITE = 262,
  MMIOERR_CANNOTSEEK = 263,
};

// Opens (MMIO_CREATE: creates or empties) a file by its Windows-form path; null with the last error set
// when it cannot be opened.
HMMIO mmioOpenA(LPSTR path, MMIOINFO* info, DWORD flags);
// Writes a chunk header at the current position: the identifier (FOURCC_RIFF or FOURCC_LIST with their
// flags, followed by the form type) and the size the caller gave.
MMRESULT mmioCreateChunk(HMMIO file, MMCKINFO* chunk, UINT flags);
// Answers the bytes written, or -1.
LONG mmioWrite(HMMIO file, const char* bytes, LONG count);
// Leaves a chunk: a created one gets its true size and an even length; the position goes past its end.
MMRESULT mmioAscend(HMMIO file, MMCKINFO* chunk, UINT flags);
MMRESULT mmioClose(HMMIO file, UINT flags);
