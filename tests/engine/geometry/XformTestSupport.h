// Transforms with any angles for the engine's tests. Only stored transforms carry angles other than
// through matrix arithmetic, so these are read from a document whose transform body is written by hand.
#pragma once

#include <cstdint>
#include <string>

#include "core/Geometry.h"
#include "engine/geometry/CXform.h"

namespace engine_testing {

// The stored body of a transform: source, destination, rotation, skew, clip.
std::string XformBody(const Rect& source, const Rect& destination, std::int16_t rotation, std::int16_t skew,
                      const Rect& clip = Rect::emptyRect);
std::string RectBytes(const Rect& rect);
SmartRef<CXform> StoredXform(const Rect& source, const Rect& destination, std::int16_t rotation, std::int16_t skew,
                             const Rect& clip = Rect::emptyRect);

}  // namespace engine_testing
