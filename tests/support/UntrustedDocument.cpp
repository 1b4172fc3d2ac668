#include "support/UntrustedDocument.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/ObjectFile.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "platform/user/MessageBox.h"

namespace document_testing {

void ReadUntrustedDocument(const std::uint8_t* data, std::size_t size, SmartRef<TypeIndex> index) {
  // An assertion's alert is the one that shows where in the program it failed.
  static const std::string assertionAlert = "Erreur numéro : "_cp;
  InitAlerts();
  const platform::MessageBoxHandler previous =
      platform::SetMessageBoxHandler([](HWND, LPCSTR text, LPCSTR, UINT type) {
        if (text != nullptr && std::string_view(text).starts_with(assertionAlert)) {
          std::fprintf(stderr, "an assertion reached the user: %s\n", text);
          std::abort();
        }
        return platform::DefaultMessageBoxAnswer(type);
      });
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
  platform::SetMessageBoxHandler(previous);
}

}  // namespace document_testing
