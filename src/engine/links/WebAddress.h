// A link's web address is an element of the web library, which stands above the engine: that library
// installs what links need of its addresses. Until it does, a stored address is kept as it was read and
// written back, pages get no address, addresses have no text and none becomes a link button.
#pragma once

#include "core/Archive.h"
#include "core/String.h"

struct WebAddressHooks {
  // The class of web addresses: a link reads back only objects of it (null: any stored object).
  const ClassInfo* addressClass = nullptr;
  // A new address of the project page of that name, or null.
  SmartRef<Persistent> (*makePageAddress)(const String& pageName) = nullptr;
  // The address itself (the href), as the player shows it.
  void (*getAddressText)(Smart* address, String& text) = nullptr;
};

void SetWebAddressHooks(const WebAddressHooks& hooks);

// The stored object when it is a web address, else null.
Persistent* AsWebAddress(Persistent* object);
SmartRef<Persistent> MakePageAddress(const String& pageName);
// Empty for no address.
void GetAddressText(Smart* address, String& text);
