#include "web/Seams.h"

#include "engine/Seams.h"
#include "engine/links/WebAddress.h"
#include "ui/Seams.h"
#include "web/html/LinkHREF.h"
#include "web/internet/InternetSession.h"
#include "web/internet/TCPStream.h"

void InstallWebSeams() {
  InstallEngineSeams();
  // The sockets start with the application and report through its main window.
  SetInternetHooks({&InternetSession::Startup, &InternetSession::Shutdown, &TCPStream::HandleSocketEvent,
                    &TCPStream::HandleHostLookup});
  // Links keep, publish and show their web addresses as this library's links.
  SetWebAddressHooks({&LinkHREF::classInfo,
                      [](const String& pageName) { return SmartRef<Persistent>(new LinkHREF(0, pageName)); },
                      [](Smart* address, String& text) {
                        if (auto* link = CastSmart<LinkHREF>(address)) text = link->GetHref();
                      }});
}
