// The mouse task the pixel editor makes for a tool id, prepared by the caller; null for the ids that
// paint nothing by a press.
#pragma once

#include <cstdint>

#include "core/Smart.h"

class CMouseTask;
class CPixPane;
class CTool;
class OffScreen;

SmartRef<CMouseTask> MakePixelTask(std::int32_t id, CPixPane* pane, OffScreen* picture, CTool* tool);
