#include "graphics/formats/JpegSupport.h"

#include <jerror.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <memory>

#include "core/Progress.h"
#include "core/Stream.h"
#include "core/Text1252.h"

namespace {

constexpr std::size_t kStreamBufferSize = 4096;

// The library's table with the entries the program shows in French.
std::array<const char*, JMSG_LASTMSGCODE + 1> MakeMessageTable() {
  jpeg_error_mgr standard;
  jpeg_std_error(&standard);
  std::array<const char*, JMSG_LASTMSGCODE + 1> texts{};
  for (int code = 0; code <= standard.last_jpeg_message && code <= JMSG_LASTMSGCODE; ++code)
    texts[code] = standard.jpeg_message_table[code];
  texts[JERR_BAD_POOL_ID] = "Code de groupement de mémoire invalide %d"_cp;
  texts[JERR_EMPTY_IMAGE] = "Fichier JPEG vide (DNL non pris en charge)";
  texts[JERR_INPUT_EMPTY] = "Fichier d'entrée vide"_cp;
  texts[JERR_INPUT_EOF] = "Fin prématurée de fichier d'entrée"_cp;
  texts[JERR_NO_IMAGE] = "Le flux de données JPEG ne contient pas d'image"_cp;
  texts[JERR_OUT_OF_MEMORY] = "Mémoire insuffisante (cas %d)"_cp;
  texts[JERR_TFILE_WRITE] = "Échec d'écriture sur le fichier temporaire  --- le disque est peut-être saturé ?"_cp;
  texts[JTRC_EOI] = "Fin d'image";
  texts[JWRN_JPEG_EOF] = "Fin prématurée de fichier JPEG"_cp;
  return texts;
}

const char* const* MessageTable() {
  static const std::array<const char*, JMSG_LASTMSGCODE + 1> table = MakeMessageTable();
  return table.data();
}

// A windowed program has nowhere to print the library's warnings and traces.
void DiscardMessage(j_common_ptr) {}

JpegErrorManager& ManagerOf(j_common_ptr info) { return static_cast<JpegErrorManager&>(*info->err); }

// Destination: 4096 bytes gathered, then written to the stream.
struct JpegStreamDest {
  jpeg_destination_mgr pub;
  Stream* stream;
  JOCTET* buffer;

  static void InitDestination(j_compress_ptr info) {
    auto* dest = reinterpret_cast<JpegStreamDest*>(info->dest);
    dest->buffer = static_cast<JOCTET*>(
        (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE, kStreamBufferSize));
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kStreamBufferSize;
  }
  static boolean EmptyOutputBuffer(j_compress_ptr info) {
    auto* dest = reinterpret_cast<JpegStreamDest*>(info->dest);
    JpegCallback(reinterpret_cast<j_common_ptr>(info), [dest] { dest->stream->Write(dest->buffer, kStreamBufferSize); });
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kStreamBufferSize;
    return TRUE;
  }
  static void TermDestination(j_compress_ptr info) {
    auto* dest = reinterpret_cast<JpegStreamDest*>(info->dest);
    const std::size_t used = kStreamBufferSize - dest->pub.free_in_buffer;
    if (used > 0)
      JpegCallback(reinterpret_cast<j_common_ptr>(info),
                   [dest, used] { dest->stream->Write(dest->buffer, static_cast<std::uint32_t>(used)); });
  }
};

// Source: refilled 4096 bytes at a time; a file that ends too soon gets an end-of-image marker, so that
// what was read still shows.
struct JpegStreamSrc {
  jpeg_source_mgr pub;
  Stream* stream;
  JOCTET* buffer;
  boolean startOfFile;

  static void InitSource(j_decompress_ptr info) { reinterpret_cast<JpegStreamSrc*>(info->src)->startOfFile = TRUE; }
  static boolean FillInputBuffer(j_decompress_ptr info) {
    auto* src = reinterpret_cast<JpegStreamSrc*>(info->src);
    std::uint32_t n = 0;
    JpegCallback(reinterpret_cast<j_common_ptr>(info), [src, &n] {
      const std::uint32_t length = src->stream->GetLength(), position = src->stream->GetPosition();
      n = position < length ? std::min<std::uint32_t>(length - position, kStreamBufferSize) : 0;
      if (n > 0) src->stream->Read(src->buffer, n);
    });
    if (n == 0) {
      if (src->startOfFile) ERREXIT(info, JERR_INPUT_EMPTY);
      WARNMS(info, JWRN_JPEG_EOF);
      src->buffer[0] = 0xFF;
      src->buffer[1] = JPEG_EOI;
      n = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = n;
    src->startOfFile = FALSE;
    return TRUE;
  }
  static void SkipInputData(j_decompress_ptr info, long n) {
    auto* src = reinterpret_cast<JpegStreamSrc*>(info->src);
    if (n <= 0) return;
    while (n > static_cast<long>(src->pub.bytes_in_buffer)) {
      n -= static_cast<long>(src->pub.bytes_in_buffer);
      FillInputBuffer(info);
    }
    src->pub.next_input_byte += n;
    src->pub.bytes_in_buffer -= static_cast<std::size_t>(n);
  }
  static void TermSource(j_decompress_ptr) {}
};

// The one progress range of the conversion under way.
std::unique_ptr<Progress> gJpegProgress;

void JpegProgressMonitor(j_common_ptr info) {
  auto* record = reinterpret_cast<JpegProgressRecord*>(info->progress);
  if (record->pub.pass_limit <= 0) return;
  const int percent = static_cast<int>(record->pub.pass_counter * 100 / record->pub.pass_limit);
  if (percent == record->percentDone) return;
  const int advance = percent - record->percentDone;
  record->percentDone = percent;
  // A new pass starts again from 0: the bar does not go back.
  if (advance > 0 && gJpegProgress) JpegCallback(info, [advance] { gJpegProgress->Step(static_cast<std::uint32_t>(advance)); });
}

}  // namespace

jpeg_error_mgr* InitJpegErrors(JpegErrorManager& manager) {
  jpeg_std_error(&manager);
  manager.error_exit = JpegErrorExit;
  manager.output_message = DiscardMessage;
  manager.jpeg_message_table = MessageTable();
  return &manager;
}

void JpegErrorExit(j_common_ptr info) {
  (*info->err->format_message)(info, ManagerOf(info).message);
  jpeg_detail::LeaveLibrary(info);
}

void RaiseJpegError(JpegErrorManager& manager) {
  if (manager.pending) {
    SmartRef<Exception> pending = manager.pending;
    manager.pending = nullptr;
    Exception::Raise(pending);
  }
  ThrowError(manager.message, __FILE__, __LINE__);
}

namespace jpeg_detail {

void KeepException(j_common_ptr info) {
  JpegErrorManager& manager = ManagerOf(info);
  try {
    throw;
  } catch (Exception* exception) {
    manager.pending = exception;
  } catch (const std::bad_alloc&) {
    manager.pending = new ErrorException("Mémoire insuffisante."_cp, __FILE__, __LINE__);
  } catch (const std::exception& error) {
    manager.pending = new ErrorException(error.what(), __FILE__, __LINE__);
  } catch (...) {
    manager.pending = new ErrorException("Call failed.", __FILE__, __LINE__);
  }
}

void LeaveLibrary(j_common_ptr info) {
  JpegErrorManager& manager = ManagerOf(info);
  // Every library call runs inside JpegTry; a call outside one is a fault of this program.
  if (manager.jump == nullptr) std::terminate();
  std::longjmp(*manager.jump, 1);
}

}  // namespace jpeg_detail

void SetJpegStreamDestination(j_compress_ptr info, Stream* stream) {
  if (info->dest == nullptr)
    info->dest = static_cast<jpeg_destination_mgr*>((*info->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(JpegStreamDest)));
  auto* dest = reinterpret_cast<JpegStreamDest*>(info->dest);
  dest->pub.init_destination = JpegStreamDest::InitDestination;
  dest->pub.empty_output_buffer = JpegStreamDest::EmptyOutputBuffer;
  dest->pub.term_destination = JpegStreamDest::TermDestination;
  dest->stream = stream;
}

void SetJpegStreamSource(j_decompress_ptr info, Stream* stream) {
  if (info->src == nullptr) {
    const auto common = reinterpret_cast<j_common_ptr>(info);
    info->src = static_cast<jpeg_source_mgr*>((*info->mem->alloc_small)(common, JPOOL_PERMANENT, sizeof(JpegStreamSrc)));
    reinterpret_cast<JpegStreamSrc*>(info->src)->buffer =
        static_cast<JOCTET*>((*info->mem->alloc_small)(common, JPOOL_PERMANENT, kStreamBufferSize));
  }
  auto* src = reinterpret_cast<JpegStreamSrc*>(info->src);
  src->pub.init_source = JpegStreamSrc::InitSource;
  src->pub.fill_input_buffer = JpegStreamSrc::FillInputBuffer;
  src->pub.skip_input_data = JpegStreamSrc::SkipInputData;
  src->pub.resync_to_restart = jpeg_resync_to_restart;
  src->pub.term_source = JpegStreamSrc::TermSource;
  src->stream = stream;
  src->pub.bytes_in_buffer = 0;
  src->pub.next_input_byte = nullptr;
}

void BeginJpegProgress(j_common_ptr info, JpegProgressRecord* record) {
  if (info->err->trace_level == 0) {
    record->pub.progress_monitor = JpegProgressMonitor;
    record->completedExtraPasses = 0;
    record->totalExtraPasses = 0;
    record->percentDone = -1;
    info->progress = &record->pub;
  }
  gJpegProgress = std::make_unique<Progress>(100, "Conversion Jpeg");
}

void EndJpegProgress() { gJpegProgress.reset(); }
