// The byte stream over a system file, with a 16 KB buffer in front of the system calls so that the many
// small typed reads and writes of archives and pictures cost few calls.
#pragma once

#include <cstdint>

#include "core/Memory.h"
#include "core/Stream.h"
#include "platform/kernel/WinTypes.h"

class FileReference;

class File : public Stream, public SmartImplementation {
  SMART_ABSTRACT(File)
 public:
  static constexpr std::uint32_t kBufferCapacity = 0x4000;

  // Opens the referenced file with the mode (kFileModeRead, kFileModeWrite, kFileModeQuery). A folder
  // or a file that does not exist leaves the File unopened, without error: see IsOpen.
  File(FileReference* reference, int mode);
  // Flushes and closes an open file; a failure is reported, not raised (see Close).
  ~File() override;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  SMART_NOT_COPYABLE
  std::size_t GetMemorySize() const override { return sizeof(File) + buffer.GetSize(); }

  void Write(const void* source, std::uint32_t length) override;
  void Read(void* destination, std::uint32_t length) override;
  bool IsWritable() override { return mode & 2; }
  std::uint32_t Seek(std::int32_t offset, int seekMode) override;
  std::uint32_t GetPosition() override;
  // Pending writes beyond the end count.
  std::uint32_t GetLength() override;
  void SetLength(std::uint32_t length) override;
  void Flush();
  // Writes what is pending and closes the file, raising any failure to the caller; a writer calls it so
  // that a file that could not be completed is known. Afterwards the File is unopened.
  void Close();

  bool IsOpen() const { return osFile != INVALID_HANDLE_VALUE; }
  int GetMode() const { return mode; }
  HANDLE GetOSHandle() const;
  FileReference* GetFileReference() const;

 private:
  enum : std::uint8_t { kReadBuffered = 1, kWriteBuffered = 2, kPending = 4 };

  void CheckOpen(int line) const;
  bool HasPending() const { return bufferState & kPending; }
  void WriteDirect(const void* source, std::uint32_t length, int line);
  void MoveOSPosition(std::int64_t position, int line);
  void Refill();

  HANDLE osFile = INVALID_HANDLE_VALUE;
  std::uint8_t mode;
  std::int64_t basePosition = 0;
  std::uint8_t bufferState = kReadBuffered | kWriteBuffered;
  Memory buffer;
  std::uint32_t bufferOffset = 0;
  std::uint32_t bufferCapacity = kBufferCapacity;
  SmartRef<FileReference> reference;
};
