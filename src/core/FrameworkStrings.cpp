#include "core/FrameworkStrings.h"

#include <string>

#include "core/Exception.h"
#include "core/Text1252.h"
#include "core/Utilities.h"
#include "platform/kernel/StringTable.h"

void GetNumberedString(char* out, std::uint32_t id, const char* text1, const char* text2, const char* text3,
                       const char* text4) {
  char text[256];
  if (LoadStringA(nullptr, id, text, sizeof text) == 0) {
    std::string message = "Ressource de chaîne manquante "_cp + std::to_string(id);
    message.resize(std::min<std::size_t>(message.size(), 255));
    ThrowError(message.c_str(), __FILE__, __LINE__);
  }
  if (text1 == nullptr) {
    CopyBounded(text, out, 256);
    return;
  }
  const char* const inserts[4] = {text1, text2, text3, text4};
  // A result too long for the buffer keeps what fits.
  FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, text, 0, 0, out, 256, inserts);
}

void GetFrameworkString(char* out, int index, const char* text1, const char* text2, const char* text3,
                        const char* text4) {
  GetNumberedString(out, static_cast<std::uint32_t>(kFrameworkStringsFirst + index), text1, text2, text3, text4);
}
