// A link's web address is an element of the web library, which stands above the engine: that library
// installs what links need of its addresses (engine/Seams.h). Until it does, a stored address is kept as
// it was read and written back, pages get no address, addresses have no text and none becomes a link
// button.
#pragma once

#include "core/Archive.h"
#include "core/String.h"

// The stored object when it is a web address, else null.
Persistent* AsWebAddress(Persistent* object);
SmartRef<Persistent> MakePageAddress(const String& pageName);
// Empty for no address.
void GetAddressText(Smart* address, String& text);
