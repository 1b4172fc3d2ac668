#include "support/UntrustedDocument.h"

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/ObjectFile.h"
#include "core/Stream.h"
#include "support/AssertionAlerts.h"

namespace document_testing {

void ReadUntrustedDocument(const std::uint8_t* data, std::size_t size, SmartRef<TypeIndex> index) {
  const AssertionAlertsAbort alerts;
  SmartRef<MemoryStream> stream = new MemoryStream();
  stream->Write(data, static_cast<std::uint32_t>(size));
  SmartRef<ObjectFile> file = new ObjectFile(std::move(index), stream);
  SmartRef<Smart> root;
  try {
    file->Read(&root);
  } catch (Exception* failure) {
    SmartRef<Exception> reported = failure;
    reported->Report(kAlertExclamation);
  }
}

}  // namespace document_testing
