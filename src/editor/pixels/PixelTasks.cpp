#include "editor/pixels/PixelTasks.h"

#include "editor/pixels/CMouseTask.h"

SmartRef<CMouseTask> MakePixelTask(std::int32_t, CPixPane*, OffScreen*, CTool*) { return nullptr; }
