#include "core/File.h"

#include <algorithm>
#include <cstring>

#include "core/Exception.h"
#include "core/FileReference.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Files.h"

SMART_DEFINE_ABSTRACT(File, "File", Stream, SmartImplementation)

File::File(FileReference* fileReference, int mode)
    : mode(static_cast<std::uint8_t>(mode)), reference(fileReference ? new FileReference(*fileReference) : nullptr) {
  if (reference && !reference->IsFolder()) osFile = reference->OpenOS(mode);
}

File::~File() {
  try {
    Close();
  } catch (Exception* failure) {
    failure->Report(kAlertStop);
  }
}

void File::Close() {
  if (!IsOpen()) return;
  const HANDLE handle = osFile;
  try {
    Flush();
  } catch (...) {
    osFile = INVALID_HANDLE_VALUE;
    CloseHandle(handle);
    throw;
  }
  osFile = INVALID_HANDLE_VALUE;
  CHECK_CALL(CloseHandle(handle));
}

void File::CheckOpen(int line) const {
  if (!IsOpen()) AssertFailed("osFile != NO_FILE", __FILE__, line);
}

HANDLE File::GetOSHandle() const {
  if (!IsOpen()) ThrowError("Fichier non ouvert", __FILE__, __LINE__);
  return osFile;
}

FileReference* File::GetFileReference() const { return ~reference; }

void File::MoveOSPosition(std::int64_t position, int line) {
  LONG high = static_cast<LONG>(position >> 32);
  const DWORD low = SetFilePointer(osFile, static_cast<LONG>(position & 0xFFFFFFFF), &high, FILE_BEGIN);
  CheckCall(!(low == INVALID_SET_FILE_POINTER && GetLastError() != ERROR_SUCCESS), __FILE__, line);
}

void File::WriteDirect(const void* source, std::uint32_t length, int line) {
  DWORD written = 0;
  CheckCall(WriteFile(osFile, source, length, &written, nullptr) && written == length, __FILE__, line);
  basePosition += written;
}

void File::Flush() {
  CheckOpen(__LINE__);
  if (HasPending() && bufferOffset > 0) {
    WriteDirect(buffer.GetData(), bufferOffset, __LINE__);
  } else {
    // Read-ahead bytes are given back: the system position goes back to the logical one.
    const std::int64_t logical = basePosition + bufferOffset - buffer.GetSize();
    MoveOSPosition(logical, __LINE__);
    basePosition = logical;
  }
  bufferState &= static_cast<std::uint8_t>(~kPending);
  buffer.SetSize(0);
  bufferOffset = 0;
}

std::uint32_t File::GetPosition() {
  CheckOpen(__LINE__);
  const std::int64_t position =
      HasPending() ? basePosition + bufferOffset : basePosition + bufferOffset - buffer.GetSize();
  return static_cast<std::uint32_t>(position);
}

std::uint32_t File::GetLength() {
  if (!IsOpen()) return 0;
  DWORD high = 0;
  const DWORD low = GetFileSize(osFile, &high);
  CHECK_CALL(!(low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS));
  if (high != 0) AssertFailed("doubleLen == 0", __FILE__, __LINE__);
  std::int64_t length = low;
  if (HasPending()) length = std::max<std::int64_t>(length, basePosition + bufferOffset);
  if (length > 0xFFFFFFFF) AssertFailed("doubleLen == 0", __FILE__, __LINE__);
  return static_cast<std::uint32_t>(length);
}

void File::Refill() {
  const std::int64_t amount = std::min<std::int64_t>(bufferCapacity, std::int64_t{GetLength()} - GetPosition());
  if (amount <= 0) ThrowError("Fin de fichier inattendue.", __FILE__, __LINE__);
  buffer.SetSize(static_cast<std::uint32_t>(amount));
  DWORD read = 0;
  CHECK_CALL(ReadFile(osFile, buffer.GetData(), static_cast<DWORD>(amount), &read, nullptr));
  if (read != amount) {
    // The file became shorter under us.
    buffer.SetSize(0);
    bufferOffset = 0;
    basePosition += read;
    MoveOSPosition(basePosition, __LINE__);
    ThrowError("Fin de fichier inattendue.", __FILE__, __LINE__);
  }
  basePosition += read;
  bufferOffset = 0;
}

void File::Read(void* destination, std::uint32_t length) {
  CheckOpen(__LINE__);
  if (length == 0) return;
  if (HasPending()) Flush();
  auto* out = static_cast<unsigned char*>(destination);
  while (length > 0) {
    if (bufferOffset == buffer.GetSize()) Refill();
    const std::uint32_t count = std::min(length, buffer.GetSize() - bufferOffset);
    std::memcpy(out, buffer.GetData() + bufferOffset, count);
    bufferOffset += count;
    out += count;
    length -= count;
  }
}

void File::Write(const void* source, std::uint32_t length) {
  CheckOpen(__LINE__);
  if (length == 0) return;
  if (!HasPending() && buffer.GetSize() > 0) Flush();
  if (length <= bufferCapacity && (bufferState & kWriteBuffered)) {
    bool buffered = true;
    if (buffer.GetSize() - bufferOffset < length) {
      if (buffer.GetSize() > 0) Flush();
      try {
        buffer.SetSize(bufferCapacity);
        bufferOffset = 0;
      } catch (Exception*) {
        // Without memory for the buffer the bytes go straight to the file.
        buffered = false;
      }
    }
    if (buffered) {
      std::memcpy(buffer.GetData() + bufferOffset, source, length);
      bufferOffset += length;
      bufferState |= kPending;
      return;
    }
  }
  Flush();
  WriteDirect(source, length, __LINE__);
}

std::uint32_t File::Seek(std::int32_t offset, int seekMode) {
  CheckOpen(__LINE__);
  std::int64_t distance = 0;
  if (seekMode == kSeekFromStart) {
    distance = std::int64_t{offset} - GetPosition();
  } else if (seekMode == kSeekFromEnd) {
    distance = std::int64_t{GetLength()} - offset - GetPosition();
  } else if (seekMode == kSeekRelative) {
    distance = offset;
  }
  if (distance == 0) return GetPosition();
  if (HasPending()) {
    Flush();
    const std::int64_t target = basePosition + distance;
    MoveOSPosition(target, __LINE__);
    basePosition = target;
    return GetPosition();
  }
  const std::int64_t inBuffer = std::int64_t{bufferOffset} + distance;
  if (inBuffer >= 0 && inBuffer <= buffer.GetSize()) {
    bufferOffset = static_cast<std::uint32_t>(inBuffer);
  } else {
    // The logical position lies outside the read-ahead: Flush moves the system position there.
    const std::int64_t target = basePosition - buffer.GetSize() + inBuffer;
    MoveOSPosition(target, __LINE__);
    basePosition = target;
    buffer.SetSize(0);
    bufferOffset = 0;
  }
  return GetPosition();
}

void File::SetLength(std::uint32_t length) {
  CheckOpen(__LINE__);
  // Pending bytes and read-ahead are settled first, so that the file is cut exactly at the length
  // (a seek of distance 0 alone would leave the system position elsewhere).
  Flush();
  MoveOSPosition(length, __LINE__);
  basePosition = length;
  CHECK_CALL(SetEndOfFile(osFile));
}
