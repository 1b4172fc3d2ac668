// For fuzz targets and their corpus replays: an assertion that reaches the user is a fault of the program,
// not of its input, so it stops the run where the fuzzer sees it; every other alert answers its default
// button. Alerts are on while it lives.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Alert.h"
#include "core/Text1252.h"
#include "platform/user/MessageBox.h"

class AssertionAlertsAbort {
 public:
  AssertionAlertsAbort() {
    InitAlerts();
    previous = platform::SetMessageBoxHandler(&Answer);
  }
  ~AssertionAlertsAbort() { platform::SetMessageBoxHandler(previous); }
  AssertionAlertsAbort(const AssertionAlertsAbort&) = delete;
  AssertionAlertsAbort& operator=(const AssertionAlertsAbort&) = delete;

 private:
  static int Answer(HWND, LPCSTR text, LPCSTR, UINT type) {
    // An assertion's alert is the one that shows where in the program it failed.
    static const std::string assertionAlert = "Erreur numéro : "_cp;
    if (text != nullptr && std::string_view(text).starts_with(assertionAlert)) {
      std::fprintf(stderr, "an assertion reached the user: %s\n", text);
      std::abort();
    }
    return platform::DefaultMessageBoxAnswer(type);
  }

  platform::MessageBoxHandler previous;
};
