// File types for tests, made as the program makes its own: objects that lists may hold and never free.
#pragma once

#include "core/FileType.h"

inline FileType& PermanentType(FileType* type) {
  type->MakePermanent();
  return *type;
}
