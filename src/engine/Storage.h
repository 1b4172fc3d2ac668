// How pages and movies store their object references: the object goes to the archive's object table
// (nothing at all is written while a block only measures), and a list comes back only as a list.
#pragma once

#include "core/Archive.h"
#include "core/ListData.h"

void WritePersistent(ArchiveBlock& block, Smart* object);
// The next object reference when it is a list, else null.
SmartRef<ListData> ReadListData(ArchiveBlock& block);
