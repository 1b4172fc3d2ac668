// Objects that can be clipboard content.
#pragma once

#include <cstdint>

#include "core/GenericArray.h"
#include "core/Memory.h"
#include "core/Smart.h"

class SystemScrap : public virtual Smart {
  SMART_ABSTRACT(SystemScrap)
 public:
  // The four-character clipboard types offered, as an array of 4-byte items.
  virtual SmartRef<GenericArray> GetScrapTypes() = 0;
  // The data of one of those types.
  virtual Memory* GetScrapData(std::uint32_t type) = 0;

 protected:
  SystemScrap() = default;
  SystemScrap(const SystemScrap&) = default;
  SystemScrap& operator=(const SystemScrap&) = default;
};
