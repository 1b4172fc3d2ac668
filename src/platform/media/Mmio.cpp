#include "platform/media/Mmio.h"

#include <set>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Files.h"

namespace {

struct MmioFile {
  HANDLE file;
};

std::set<MmioFile*>& Handles() {
  static std::set<MmioFile*> handles;
  return handles;
}

MmioFile* Find(HMMIO handle) {
  auto* mmio = reinterpret_cast<MmioFile*>(handle);
  return Handles().count(mmio) != 0 ? mmio : nullptr;
}

bool WriteAll(MmioFile* mmio, const void* bytes, DWORD count) {
  DWORD written = 0;
  return WriteFile(mmio->file, bytes, count, &written, nullptr) && written == count;
}

DWORD Position(MmioFile* mmio) { return SetFilePointer(mmio->file, 0, nullptr, FILE_CURRENT); }

bool SeekTo(MmioFile* mmio, DWORD position) {
  return SetFilePointer(mmio->file, static_cast<LONG>(position), nullptr, FILE_BEGIN) == position;
}

}  // namespace

HMMIO mmioOpenA(LPSTR path, MMIOINFO*, DWORD flags) {
  if (path == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  DWORD access = GENERIC_READ;
  if (flags & MMIO_WRITE) access = GENERIC_WRITE;
  if (flags & MMIO_READWRITE) access = GENERIC_READ | GENERIC_WRITE;
  const DWORD disposition = (flags & MMIO_CREATE) ? CREATE_ALWAYS : OPEN_EXISTING;
  HANDLE file = CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  // Replacing a file is no error to report.
  if (GetLastError() == ERROR_ALREADY_EXISTS) SetLastError(0);
  auto* mmio = new MmioFile{file};
  Handles().insert(mmio);
  return reinterpret_cast<HMMIO>(mmio);
}

MMRESULT mmioCreateChunk(HMMIO handle, MMCKINFO* chunk, UINT flags) {
  MmioFile* mmio = Find(handle);
  if (mmio == nullptr) return MMSYSERR_INVALHANDLE;
  if (chunk == nullptr) return MMSYSERR_INVALPARAM;
  if (flags & MMIO_CREATERIFF) chunk->ckid = FOURCC_RIFF;
  if (flags & MMIO_CREATELIST) chunk->ckid = FOURCC_LIST;
  const bool form = flags & (MMIO_CREATERIFF | MMIO_CREATELIST);
  const DWORD start = Position(mmio);
  DWORD header[3] = {chunk->ckid, chunk->cksize, chunk->fccType};
  if (!WriteAll(mmio, header, form ? 12 : 8)) return MMIOERR_CANNOTWRITE;
  // A form's type counts as its data.
  chunk->dwDataOffset = start + 8;
  chunk->dwFlags = MMIO_DIRTY;
  return MMSYSERR_NOERROR;
}

LONG mmioWrite(HMMIO handle, const char* bytes, LONG count) {
  MmioFile* mmio = Find(handle);
  if (mmio == nullptr || bytes == nullptr || count < 0) return -1;
  DWORD written = 0;
  if (!WriteFile(mmio->file, bytes, static_cast<DWORD>(count), &written, nullptr)) return -1;
  return static_cast<LONG>(written);
}

MMRESULT mmioAscend(HMMIO handle, MMCKINFO* chunk, UINT) {
  MmioFile* mmio = Find(handle);
  if (mmio == nullptr) return MMSYSERR_INVALHANDLE;
  if (chunk == nullptr) return MMSYSERR_INVALPARAM;
  if (!(chunk->dwFlags & MMIO_DIRTY)) {
    if (!SeekTo(mmio, chunk->dwDataOffset + chunk->cksize + (chunk->cksize & 1))) return MMIOERR_CANNOTSEEK;
    return MMSYSERR_NOERROR;
  }
  DWORD end = Position(mmio);
  if (end == INVALID_SET_FILE_POINTER || end < chunk->dwDataOffset) return MMIOERR_CANNOTSEEK;
  const DWORD size = end - chunk->dwDataOffset;
  if (size & 1) {
    const char pad = 0;
    if (!WriteAll(mmio, &pad, 1)) return MMIOERR_CANNOTWRITE;
    ++end;
  }
  if (size != chunk->cksize) {
    if (!SeekTo(mmio, chunk->dwDataOffset - 4)) return MMIOERR_CANNOTSEEK;
    if (!WriteAll(mmio, &size, 4)) return MMIOERR_CANNOTWRITE;
    if (!SeekTo(mmio, end)) return MMIOERR_CANNOTSEEK;
    chunk->cksize = size;
  }
  chunk->dwFlags &= ~MMIO_DIRTY;
  return MMSYSERR_NOERROR;
}

MMRESULT mmioClose(HMMIO handle, UINT) {
  MmioFile* mmio = Find(handle);
  if (mmio == nullptr) return MMSYSERR_INVALHANDLE;
  const bool closed = CloseHandle(mmio->file);
  Handles().erase(mmio);
  delete mmio;
  if (!closed) return MMIOERR_CANNOTCLOSE;
  return MMSYSERR_NOERROR;
}
