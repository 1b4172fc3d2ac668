// What the program's JPEG and GIF code shares around the JPEG library: the error manager that leaves the
// library by a long jump and raises the program's error once back in C++, the source and destination
// managers over a Stream, and the "Conversion Jpeg" progress display. Only the graphics sources that talk
// to the library include this.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "core/Exception.h"

class Stream;

// The library's C frames cannot be unwound by a C++ exception, so nothing is thrown through them: a
// library error jumps back to the innermost JpegTry, and a framework exception raised inside a callback
// is kept here and the library left the same way.
struct JpegErrorManager : jpeg_error_mgr {
  std::jmp_buf* jump = nullptr;
  char message[JMSG_LENGTH_MAX] = {};
  SmartRef<Exception> pending;
};

// The library's standard manager with JpegErrorExit, the program's message texts and no message output.
jpeg_error_mgr* InitJpegErrors(JpegErrorManager& manager);
// The library error exit: formats the message, then jumps back to the guarded caller. Never returns.
[[noreturn]] void JpegErrorExit(j_common_ptr info);

// Restores the error manager's jump target when a guarded run ends, whether it returns, jumps or an
// exception of the program's own code passes through it.
struct JpegJumpScope {
  JpegErrorManager& manager;
  std::jmp_buf* const outer;
  std::jmp_buf jump;
  explicit JpegJumpScope(JpegErrorManager& m) : manager(m), outer(m.jump) { manager.jump = &jump; }
  ~JpegJumpScope() { manager.jump = outer; }
  JpegJumpScope(const JpegJumpScope&) = delete;
  JpegJumpScope& operator=(const JpegJumpScope&) = delete;
};

// Runs library calls; false when the library left them through the error exit. The calls must keep no
// object with a destructor alive where the library may jump, since a jump skips their frames.
template <class Calls>
bool JpegTry(JpegErrorManager& manager, Calls&& calls) {
  JpegJumpScope scope(manager);
  if (setjmp(scope.jump) != 0) return false;
  calls();
  return true;
}

// After JpegTry answered false: the exception a callback kept, else the library's message as the
// program's error.
[[noreturn]] void RaiseJpegError(JpegErrorManager& manager);

namespace jpeg_detail {
// Keeps the exception in flight (framework or standard) on the object's error manager.
void KeepException(j_common_ptr info);
[[noreturn]] void LeaveLibrary(j_common_ptr info);
}  // namespace jpeg_detail

// Runs framework code from inside a library callback: an exception it raises is kept and the library is
// left through the error exit (after the handler is done, so no exception is live during the jump).
template <class Code>
void JpegCallback(j_common_ptr info, Code&& code) {
  bool failed = false;
  try {
    code();
  } catch (...) {
    jpeg_detail::KeepException(info);
    failed = true;
  }
  if (failed) jpeg_detail::LeaveLibrary(info);
}

// A compressor or decompressor that is destroyed on every path.
struct JpegCompressor {
  jpeg_compress_struct info{};
  JpegErrorManager errors;
  JpegCompressor() { info.err = InitJpegErrors(errors); }
  ~JpegCompressor() { jpeg_destroy_compress(&info); }
  JpegCompressor(const JpegCompressor&) = delete;
  JpegCompressor& operator=(const JpegCompressor&) = delete;
  j_common_ptr Common() { return reinterpret_cast<j_common_ptr>(&info); }
};

struct JpegDecompressor {
  jpeg_decompress_struct info{};
  JpegErrorManager errors;
  JpegDecompressor() { info.err = InitJpegErrors(errors); }
  ~JpegDecompressor() { jpeg_destroy_decompress(&info); }
  JpegDecompressor(const JpegDecompressor&) = delete;
  JpegDecompressor& operator=(const JpegDecompressor&) = delete;
  j_common_ptr Common() { return reinterpret_cast<j_common_ptr>(&info); }
};

// Managers over a Stream with 4096-byte buffers. The stream must outlive the library object.
void SetJpegStreamDestination(j_compress_ptr info, Stream* stream);
void SetJpegStreamSource(j_decompress_ptr info, Stream* stream);

// The library's progress monitor feeding the one "Conversion Jpeg" progress display.
struct JpegProgressRecord {
  jpeg_progress_mgr pub{};
  long completedExtraPasses = 0;
  long totalExtraPasses = 0;
  int percentDone = -1;
};
void BeginJpegProgress(j_common_ptr info, JpegProgressRecord* record);
void EndJpegProgress();

// Closes the progress display however the conversion ends.
struct JpegProgressScope {
  JpegProgressScope(j_common_ptr info, JpegProgressRecord* record) { BeginJpegProgress(info, record); }
  ~JpegProgressScope() { EndJpegProgress(); }
  JpegProgressScope(const JpegProgressScope&) = delete;
  JpegProgressScope& operator=(const JpegProgressScope&) = delete;
};
