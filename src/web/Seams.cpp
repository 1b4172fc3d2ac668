#include "web/Seams.h"

#include "engine/Seams.h"
#include "ui/Seams.h"
#include "web/internet/InternetSession.h"
#include "web/internet/TCPStream.h"

void InstallWebSeams() {
  InstallEngineSeams();
  // The sockets start with the application and report through its main window.
  SetInternetHooks({&InternetSession::Startup, &InternetSession::Shutdown, &TCPStream::HandleSocketEvent,
                    &TCPStream::HandleHostLookup});
}
