// Font objects behind font handles (internal to the drawing layer).
#pragma once

#include <memory>

#include "platform/gdi/Objects.h"
#include "platform/gdi/text/RasterFont.h"

namespace platform::text {

// The font of a new context (the stock SYSTEM_FONT): a bold sans-serif face in a 16-pixel cell. Null when
// no font can be loaded.
std::unique_ptr<gdi::FontObject> SystemFont();

}  // namespace platform::text
