// The application's clipboard: one content object (a String, a Picture, a list of objects, ...), in step
// with the system clipboard lazily. Deactivating the program exports the content (text as CF_TEXT, and
// every kind under the program's private format, whose data is only a token: the object itself stays
// here); activating it marks the clipboard stale, and the next use imports whatever the system clipboard
// then holds.
#pragma once

#include <cstdint>

#include "core/ListData.h"
#include "core/Smart.h"
#include "platform/kernel/WinTypes.h"

class Clipboard : public SmartImplementation {
  SMART_CLASS(Clipboard)
 public:
  static constexpr std::uint32_t kAttached = 0x10000;
  enum : std::uint8_t { kStale = 1 };

  // Empty and stale.
  Clipboard() = default;
  Clipboard(const Clipboard& other) = default;
  Clipboard& operator=(const Clipboard& other) = default;
  ~Clipboard() override;
  static Smart* Create() { return new Clipboard(); }

  void SetScrap(Smart* object);
  // Imports first when stale. Not counted.
  Smart* GetScrap();
  void Clear();
  // Inserts the content at the front of the list (each element of a list content), converted to the
  // list's element class; false when it cannot be.
  bool AddScrapTo(List& list);
  void Swap(Clipboard& other);
  bool IsDetached() const { return link != kAttached; }
  bool IsStale() const { return (flags & kStale) != 0; }
  void MarkSynced(bool keepLink);
  // Becoming active marks the clipboard stale; becoming inactive exports the content unless stale.
  void SetActive(bool active);
  void Export();
  void Import();

 private:
  void ImportSystem();

  SmartRef<Smart> content;
  std::uint32_t link = kAttached;
  std::uint8_t flags = kStale;
};

// The clipboard is open for the main window while this lives.
class ClipboardOpener {
 public:
  ClipboardOpener();
  ~ClipboardOpener() noexcept(false);
  ClipboardOpener(const ClipboardOpener&) = delete;
  ClipboardOpener& operator=(const ClipboardOpener&) = delete;
};

// The object last exported under the private format.
extern SmartRef<Smart> gKeptScrap;
// The private format's number, 0 until the first export registers it.
extern UINT gPrivateFormat;
