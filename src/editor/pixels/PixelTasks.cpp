#include "editor/pixels/PixelTasks.h"

#include "core/Exception.h"
#include "editor/pixels/CMouseTask.h"
#include "editor/pixels/CPixPane.h"
#include "editor/pixels/PaintTools.h"
#include "editor/pixels/PenTasks.h"
#include "editor/pixels/CBucketTask.h"
#include "editor/pixels/ShapeTasks.h"

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
    case 103:
      return new CBucketTask(0, pane, picture);
    case 105:
    case 106:
    case 107:
    case 108:
    case 113:
      return new CShapeTask(pane, picture, Required<CShapeTool>(tool, "~tool != NULL && member(tool,CShapeTool)"));
    default:
      return nullptr;
  }
}
