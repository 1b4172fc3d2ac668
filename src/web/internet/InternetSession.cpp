#include "web/internet/InternetSession.h"

#include "core/Exception.h"
#include "platform/kernel/Errors.h"
#include "platform/net/Winsock.h"

namespace {
constexpr SourceName kSource("INTERNET");
}  // namespace

SMART_DEFINE(InternetSession, "InternetSession", nullptr, nullptr, SmartImplementation)

SmartRef<String> InternetSession::PageExtension() { return new String(".htm"); }

void InternetSession::Startup() {
  WSADATA data;
  const int result = WSAStartup(0x0101, &data);
  CheckCall(result == 0, kSource.Line(160));
}

void InternetSession::Shutdown() {
  const int result = WSACleanup();
  // Harmless: what the system leaves there once the last socket is gone.
  if (GetLastError() == ERROR_INVALID_HANDLE) SetLastError(0);
  CheckCall(result == 0, kSource.Line(180));
}
