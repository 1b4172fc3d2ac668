// The host a publishing session talks to, and the start and end of the sockets for the whole program.
#pragma once

#include "core/String.h"

class InternetSession : public SmartImplementation {
  SMART_CLASS(InternetSession)
 public:
  explicit InternetSession(const String& hostName = String()) : hostName(hostName) {}
  String GetHostName() const { return hostName; }

  // The extension of every generated page and of every link between pages.
  static SmartRef<String> PageExtension();
  // Once while the application is created, before any stream exists.
  static void Startup();
  // Once after the message loop has ended.
  static void Shutdown();

 private:
  String hostName;
};
