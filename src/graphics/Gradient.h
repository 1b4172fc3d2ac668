// Gradients of the paint tools: a rectangle in one colour, in the other, or blended linearly from the
// first colour to the second in one of four directions, rendered through an off-screen bitmap when the
// port's device is shallower than the depth asked for.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "graphics/Color.h"

class DisplayPort;

// Gradient kinds: 1 colour 1, 2 top to bottom, 3 bottom to top, 4 colour 2, 5 left to right, 6 right to
// left; 7 to 10 draw nothing; any other raises "No Such Gradient".
void DrawGradient(DisplayPort& port, const Rect& rect, const Color& first, const Color& second, std::int16_t kind,
                  std::int16_t depth);
void DrawGradientKind(DisplayPort& port, const Rect& rect, const Color& first, const Color& second, std::int16_t kind);
void DrawLinearGradient(DisplayPort& port, const Rect& rect, const Color& first, const Color& second,
                        std::int16_t kind);
// The per-line step from the first colour towards the second over `count` lines, each channel truncated
// towards zero; no step for a count of 0.
Color ComputeColorStep(const Color& first, const Color& second, std::int32_t count);
// Adds the step to each channel of the colour (16-bit arithmetic).
void AddColorStep(const Color& step, Color& color);
