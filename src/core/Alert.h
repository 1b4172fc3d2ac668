// The one way the program shows a message box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "platform/kernel/WinTypes.h"

// Icon kinds.
enum : int { kAlertNoIcon = 0, kAlertInformation = 1, kAlertExclamation = 2, kAlertStop = 3 };
// Button kinds.
enum : int { kButtonsOK = 0, kButtonsOKCancel = 1, kButtonsYesNoCancel = 2, kButtonsPlainOK = 3 };
// Answers.
enum : int { kAlertAnswerOK = 0, kAlertAnswerCancel = 1, kAlertAnswerNo = 2 };

inline constexpr std::size_t kAlertReserveSize = 40000;

// The window that owns alert boxes; set by the window layer when it creates the main window.
extern HWND gMainWindow;

// Shows the text with the icon and buttons of the kinds; answers 0 (OK or Yes), 1 (Cancel) or 2 (No).
// Alerts are silent and answer Cancel before InitAlerts, and while another alert is up.
int Alert(int iconKind, int buttonKind, const char* text);
void InitAlerts();
// A stop alert for a system error code; nothing for code 0. The secondary code is shown when above 0.
void SystemErrorAlert(std::uint32_t code, const char* ignored, int secondaryCode);
// The pending system error code, which is cleared.
std::uint32_t TakeLastError();
void ClearLastError();
// Clears the pending error when it is one of the benign codes that a call is known to leave behind, so
// that the next check sees only its own call's failure.
void ClearBenignError(std::initializer_list<std::uint32_t> benign);
void NumberToText(long number, char* buffer, std::size_t length);

// Alerts on or off; the test harness turns them on without the rest of start-up.
bool AlertsEnabled();
// The alert reserve's current size, for the memory checks around alerts.
std::size_t AlertReserveSize();
