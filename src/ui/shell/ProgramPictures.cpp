// The pictures compiled into the program: the about menu's title and the program's icon, drawn by
// scripts/make-program-pictures.
#include <span>

#include "platform/user/BitmapResource.h"
#include "platform/user/Icon.h"

namespace {

#include "ui/shell/ProgramPictures.inc"

constexpr platform::BitmapResource kPictures[] = {{6001, std::span<const BYTE>(kBitmap6001)},
                                                  {6002, std::span<const BYTE>(kBitmap6002)}};
constexpr platform::IconResource kIcons[] = {
    {100, std::span<const BYTE>(kIcon100), std::span<const BYTE>(kIcon100Mask)}};

// Registered before the program's entry point, as resources are there before any code runs.
[[maybe_unused]] const bool gRegistered =
    (platform::RegisterBitmapResources(kPictures), platform::RegisterIconResources(kIcons), true);

}  // namespace
