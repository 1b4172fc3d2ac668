// The storage behind every library's seam setters and getters.
#pragma once

// Function-local, so that a seam is already in place for whatever a static initialiser does.
template <typename Hook>
Hook& SeamSlot() {
  static Hook hook{};
  return hook;
}
