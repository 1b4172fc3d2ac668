#include "support/AlertRecorder.h"

#include "core/Alert.h"

AlertRecorder::AlertRecorder() {
  InitAlerts();
  previous = platform::SetMessageBoxHandler([this](HWND, LPCSTR text, LPCSTR caption, UINT type) {
    alerts.push_back({text ? text : "", caption ? caption : "", type});
    if (script.empty()) return platform::DefaultMessageBoxAnswer(type);
    const int answer = script.front();
    script.pop_front();
    return answer;
  });
}

AlertRecorder::~AlertRecorder() { platform::SetMessageBoxHandler(std::move(previous)); }
