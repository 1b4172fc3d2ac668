#include "engine/memory/CMemory.h"

#include "core/Alert.h"
#include "core/Exception.h"
#include "engine/EngineNotices.h"
#include "engine/EngineResources.h"
#include "engine/EngineState.h"
#include "graphics/DisplayPort.h"
#include "platform/kernel/System.h"

std::uint32_t gMemoryBudget = 0;

namespace {

constexpr std::uint32_t kBaseBudget = 1000000;
constexpr std::uint32_t kBudgetPerBit = 192000;
constexpr std::uint32_t kReserveMargin = 500;

bool ShowMemoryAlert(int text, int buttons) {
  char message[256];
  GetEngineString(message, text);
  return Alert(kAlertStop, buttons, message) != kAlertAnswerCancel;
}

}  // namespace

bool CMemory::CheckStartupMemory() {
  bool& checked = TheEngineState().startupMemoryChecked;
  if (checked) return true;
  checked = true;
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  const SIZE_T available = status.dwAvailVirtual;
  if (available < kLeastMemory) {
    ShowMemoryAlert(kNotEnoughMemoryText, kButtonsOK);
    return false;
  }
  gMemoryBudget = kBaseBudget + kBudgetPerBit * static_cast<std::uint32_t>(GetScreenBitDepth());
  if (gMemoryBudget > available) return ShowMemoryAlert(kMemoryShortText, kButtonsOKCancel);
  return true;
}

CMemory& CMemory::Get() {
  static CMemory* guard = nullptr;
  if (guard == nullptr) {
    if (!CheckStartupMemory()) ThrowException(new UserCancelException());
    guard = new CMemory();
  }
  return *guard;
}

bool CMemory::SetLevel(std::int16_t n) {
  level = n;
  return n <= threshold;
}

void CMemory::SetModes(bool bit0, bool bit1) { modes = static_cast<std::uint8_t>((bit0 ? 1 : 0) | (bit1 ? 2 : 0)); }

bool CMemory::RefillReserve() {
  if (reserve.GetSize() == gMemoryBudget) return false;
  SetModes(false, true);
  try {
    reserve.SetSize(gMemoryBudget);
  } catch (Exception* failure) {
    const SmartRef<Exception> held = failure;
    // What memory there is, less a margin, is reserved instead.
    const std::size_t available = AvailableMemory();
    if (available >= kReserveMargin) {
      PostMemoryNotice(1);
      try {
        reserve.SetSize(static_cast<std::uint32_t>(std::min<std::size_t>(available - kReserveMargin, gMemoryBudget)));
      } catch (Exception* again) {
        const SmartRef<Exception> ignored = again;
      }
    }
  }
  SetModes(false, false);
  gLastException = nullptr;
  return true;
}
