#include "ui/Seams.h"

namespace {
InternetHooks gInternetHooks;
}  // namespace

void SetInternetHooks(const InternetHooks& hooks) { gInternetHooks = hooks; }
const InternetHooks& GetInternetHooks() { return gInternetHooks; }
