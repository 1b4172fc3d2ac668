#include "core/Alert.h"

#include <algorithm>

#include "core/Resources.h"
#include "core/Memory.h"
#include "core/Text1252.h"
#include "core/Utilities.h"
#include "platform/kernel/Errors.h"
#include "platform/user/MessageBox.h"

HWND gMainWindow = nullptr;

namespace {

bool gAlertsEnabled = false;
bool gAlertShowing = false;
const char* const gAlertCaption = "";

// Given back while a box is up, so that an alert about exhausted memory can still be shown.
Memory& AlertReserve() {
  static Memory reserve(kAlertReserveSize);
  return reserve;
}
[[maybe_unused]] Memory& gAlertReserveAtStart = AlertReserve();

constexpr UINT kIconFlags[] = {0, MB_ICONINFORMATION, MB_ICONEXCLAMATION, MB_ICONHAND};
constexpr UINT kButtonFlags[] = {MB_OK, MB_OKCANCEL, MB_YESNOCANCEL, MB_OK};

}  // namespace

int Alert(int iconKind, int buttonKind, const char* text) {
  if (gAlertShowing) return kAlertAnswerCancel;
  gAlertShowing = true;
  int answer = kAlertAnswerCancel;
  if (gAlertsEnabled) {
    if (AvailableMemory() < kAlertReserveSize) AlertReserve().SetSize(0);
    const UINT icon = (iconKind >= 0 && iconKind <= 3) ? kIconFlags[iconKind] : 0;
    const UINT buttons = (buttonKind >= 0 && buttonKind <= 3) ? kButtonFlags[buttonKind] : MB_OK;
    const int chosen = MessageBoxA(gMainWindow, text, gAlertCaption, icon | buttons);
    answer = chosen == IDCANCEL ? kAlertAnswerCancel : chosen == IDNO ? kAlertAnswerNo : kAlertAnswerOK;
  }
  const std::size_t target = std::min<std::size_t>(AvailableMemory(), kAlertReserveSize);
  if (AlertReserve().GetSize() < target) {
    try {
      AlertReserve().SetSize(static_cast<std::uint32_t>(target));
    } catch (...) {
      // Without memory the reserve stays smaller; it is tried again after the next alert.
    }
  }
  gAlertShowing = false;
  return answer;
}

void InitAlerts() {
  SetLastError(0);
  gAlertsEnabled = true;
}

bool AlertsEnabled() { return gAlertsEnabled; }
std::size_t AlertReserveSize() { return AlertReserve().GetSize(); }

void SystemErrorAlert(std::uint32_t code, const char*, int secondaryCode) {
  if (code == 0) return;
  char codeText[7];
  NumberToText(static_cast<long>(code), codeText, sizeof codeText);
  char secondaryText[7] = "";
  if (static_cast<std::int16_t>(secondaryCode) > 0) NumberToText(secondaryCode, secondaryText, sizeof secondaryText);
  char text[256];
  GetFrameworkString(text, 1, "Erreur de système"_cp, codeText, "", secondaryText);
  Alert(kAlertStop, kButtonsOK, text);
}

std::uint32_t TakeLastError() {
  const DWORD code = GetLastError();
  if (code != 0) SetLastError(0);
  return code;
}

void ClearLastError() { SetLastError(0); }

void ClearBenignError(std::initializer_list<std::uint32_t> benign) {
  const DWORD code = GetLastError();
  for (const std::uint32_t b : benign)
    if (code == b) SetLastError(0);
}

void NumberToText(long number, char* buffer, std::size_t length) {
  IntToText(static_cast<int>(number), buffer, length);
}
