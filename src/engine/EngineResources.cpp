#include "engine/EngineResources.h"

Resources gEngineResources(400, 499);

void GetEngineString(char* buffer, int index, const char* a1, const char* a2, const char* a3, const char* a4) {
  gEngineResources.GetString(buffer, index, a1, a2, a3, a4);
}
