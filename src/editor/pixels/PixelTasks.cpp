#include "editor/pixels/PixelTasks.h"

#include "core/Exception.h"
#include "editor/pixels/CMouseTask.h"
#include "editor/pixels/CPixPane.h"
#include "editor/pixels/PaintTools.h"
#include "editor/pixels/PenTasks.h"

namespace {

template <class T>
T* Required(CTool* tool, const char* assertion) {
  T* cast = CastSmart<T>(tool);
  if (!cast) AssertFailed(assertion, __FILE__, __LINE__);
  return cast;
}

}  // namespace

SmartRef<CMouseTask> MakePixelTask(std::int32_t id, CPixPane* pane, OffScreen* picture, CTool* tool) {
  switch (id) {
    case 102:
      return new CBrushTask(pane, picture, Required<CBrushTool>(tool, "~tool != NULL && member(tool,CBrushTool)"));
    case 104: {
      SmartRef<CMouseTask> task(
          new CPencilTask(pane, picture, Required<CPencilTool>(tool, "~tool != NULL && member(tool,CPencilTool)")));
      gPixPane = pane;
      return task;
    }
    case 109: {
      SmartRef<CMouseTask> task(
          new CEraserTask(pane, picture, Required<CEraserTool>(tool, "~tool != NULL && member(tool,CEraserTool)")));
      gPixPane = pane;
      return task;
    }
    default:
      return nullptr;
  }
}
