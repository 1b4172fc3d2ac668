// The one program-wide progress dialog that progress ranges drive: a bar, a caption and "Stop". It stays
// hidden for the first half second, so short operations never show it, and it looks at the user's input
// at most every 100 ms, so that reporting costs little.
#pragma once

#include <cstdint>

#include "core/Progress.h"
#include "core/String.h"
#include "ui/dialogs/Dialog.h"

class ProgressBar;
class PushButton;
class TextView;

class ProgressDialog : public Dialog, public ProgressDisplay {
  SMART_ABSTRACT(ProgressDialog)
 public:
  static constexpr std::uint32_t kPollInterval = 100;

  explicit ProgressDialog(const char* caption);
  SMART_NOT_COPYABLE

  // The maker that ranges call; outside the running program (no main window to hold the dialog) ranges
  // report to a display that shows nothing.
  static SmartRef<ProgressDisplay> Make(const char* caption);

  // Dispatches what the user did, unless that was done less than the poll interval ago.
  bool Poll() override;
  void Close() override;

  // What the ranges ask of the display.
  using Window::Open;
  void Open() override;
  void SetProgress(std::uint32_t done, std::uint32_t total) override;
  void SetCaption(const String& text) override;
  void BringUp() override;
  void Refresh() override;
  bool WasCancelled() override { return Dialog::WasCancelled(); }

  ProgressBar* GetBar() const { return ~bar; }
  TextView* GetCaptionView() const { return ~captionView; }
  PushButton* GetStopButton() const { return ~stopButton; }

 private:
  String caption;
  SmartRef<ProgressBar> bar;
  SmartRef<TextView> captionView;
  SmartRef<PushButton> stopButton;
  std::uint32_t lastPoll;
};
