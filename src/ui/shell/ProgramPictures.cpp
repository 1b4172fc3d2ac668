// The bitmaps compiled into the program: the about menu's title, drawn by scripts/make-program-pictures.
#include <span>

#include "platform/user/BitmapResource.h"

namespace {

#include "ui/shell/ProgramPictures.inc"

constexpr platform::BitmapResource kPictures[] = {{6001, std::span<const BYTE>(kBitmap6001)},
                                                  {6002, std::span<const BYTE>(kBitmap6002)}};

// Registered before the program's entry point, as resources are there before any code runs.
[[maybe_unused]] const bool gRegistered = (platform::RegisterBitmapResources(kPictures), true);

}  // namespace
