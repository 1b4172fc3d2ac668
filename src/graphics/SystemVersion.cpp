#include "graphics/SystemVersion.h"

#include "core/Exception.h"
#include "graphics/GraphicsState.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Keyboard.h"

namespace {

constexpr DWORD kCallNotImplemented = 120;

int ProbeWinVersion() {
  const ACCEL entry{FCONTROL, 'C', 1001};
  HACCEL table = CreateAcceleratorTableA(&entry, 1);
  if (!table) return Win31Only;
  CHECK_CALL(DestroyAcceleratorTable(table));
  ClearBenignError({kCallNotImplemented});
  return Win95;
}

}  // namespace

int GetWinVersion() {
  int& version = TheGraphicsState().winVersion;
  if (version == 0) version = ProbeWinVersion();
  return version;
}

bool IsLimitedWindows() { return GetWinVersion() < 3; }
bool IsWinVersion2Or3() { return GetWinVersion() == 2 || GetWinVersion() == 3; }
