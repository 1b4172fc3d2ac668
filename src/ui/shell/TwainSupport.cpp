#include "ui/shell/TwainSupport.h"

#include <string>

#include "core/Exception.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "ui/shell/DebugMessage.h"
#include "graphics/SystemVersion.h"

namespace {
constexpr SourceName kSource("TwainSupport");
}  // namespace

SMART_DEFINE_ABSTRACT(Twain, "Twain", SmartImplementation)

std::int32_t gTwainState = kTwainIdle;
TwainConnection* gTwainCurrent = nullptr;
SmartRef<DebugMessage> gTwainLog;

namespace {

void LogSourceEvent(const MSG& message, TW_UINT16 answer) {
  if (!gTwainLog) return;
  const std::string text = std::string("Twain :") + "Message : " + std::to_string(message.message) + " WParam: " +
                           std::to_string(message.wParam) + " LParam: " + std::to_string(message.lParam) +
                           "Résultat : "_cp + std::to_string(answer);
  gTwainLog->Log(String(text.c_str()));
}

}  // namespace

bool TwainFilterMessage(MSG* message) {
  if (gTwainState != kTwainSourceEnabled) return false;
  if (gTwainCurrent == nullptr) AssertFailed("current != NULL", kSource.Line(506));
  TW_EVENT event{message, MSG_NULL};
  const TW_UINT16 rc = gTwainCurrent->DSM_Entry(&gTwainCurrent->application, &gTwainCurrent->source, DG_CONTROL,
                                                DAT_EVENT, MSG_PROCESSEVENT, &event);
  if (rc == TWRC_DSEVENT) {
    LogSourceEvent(*message, event.TWMessage);
    if (event.TWMessage == MSG_XFERREADY) gTwainState = kTwainTransferReady;
    if (event.TWMessage == MSG_CLOSEDSREQ) gTwainState = kTwainCloseRequested;
  }
  if (rc == TWRC_FAILURE) AssertFailed("twRC != TWRC_FAILURE", kSource.Line(531));
  return rc != TWRC_NOTDSEVENT;
}

bool TwainAvailable() { return !IsLimitedWindows(); }
