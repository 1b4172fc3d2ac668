// What the dialog suites share: a field view that records what the framework gives it, and keys pressed.
#pragma once

#include <functional>
#include <vector>

#include "platform/user/Input.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/views/View.h"

// It takes the keys that reach it (Enter only when asked), noting the forward-delete flag with each, and
// the clicks.
class KeyField : public View {
 public:
  struct Click {
    std::int32_t x, y, clicks;
    bool operator==(const Click&) const = default;
  };

  KeyField(View* parent, const Rect& frame) : View(parent, frame, kAnchorTopLeft, true, true) {}
  bool KeyDown(std::int32_t key, std::int32_t) override {
    keys.push_back(key);
    forwardDeletes.push_back(gForwardDelete);
    return key != 13 || takesEnter;
  }
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t, std::int32_t count, View*) override {
    clicks.push_back({x, y, count});
    if (onClick) onClick();
    return true;
  }

  bool takesEnter = false;
  std::vector<int> keys;
  std::vector<bool> forwardDeletes;
  std::vector<Click> clicks;
  std::function<void()> onClick;
};

inline void Press(int key, bool extended = false) {
  platform::InjectKey(key, true, extended);
  platform::InjectKey(key, false, extended);
}
