#include "editor/pixels/CTaskTool.h"

#include "core/Exception.h"
#include "editor/pixels/CMouseTask.h"
#include "ui/shell/App.h"
#include "ui/views/View.h"

SMART_DEFINE_ABSTRACT(CTaskTool, "CTaskTool", CTool)

CTaskTool::CTaskTool(CMouseTask* task, Tool* previousTool)
    : CTool(0, nullptr, false, nullptr), previousTool(previousTool) {
  SetInteractor(task);
  if (previousTool) SetCursor(previousTool->GetCursor());
}

CTaskTool::CTaskTool(const CTaskTool& source) : CTool(0, nullptr, false, nullptr) {
  CTaskTool::CopyFrom(const_cast<CTaskTool*>(&source));
}

bool CTaskTool::CanCopyFrom(Smart* source) { return CastSmart<CTaskTool>(source) != nullptr; }

void CTaskTool::CopyFrom(Smart* source) {
  auto* castPtr = CastSmart<CTaskTool>(source);
  if (!castPtr) AssertFailed("castPtr", __FILE__, __LINE__);
  if (castPtr == this) return;
  CopyToolFields(*castPtr);
  previousTool = castPtr->previousTool;
}

Smart* CTaskTool::Clone() const { return new CTaskTool(*this); }

bool CTaskTool::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) {
  CHECK_NOT_NULL(CastSmart<CMouseTask>(~GetInteractor()));
  Tool::MouseDown(x, y, modifiers, clicks, window);
  return true;
}

bool CTaskTool::MouseMoved(std::int32_t x, std::int32_t y, std::int32_t modifiers, bool buttonDown, View* window) {
  // The command may release this tool: it lives to the end of the call.
  SmartRef<Tool> self(this);
  Tool::MouseMoved(x, y, modifiers, buttonDown, window);
  if (!GetInteractor() && window != nullptr) {
    AppCommand back(~previousTool);
    window->SendCommand(&back);
  }
  return true;
}

SmartRef<Interactor> CTaskTool::CreateInteractor(std::int32_t, std::int32_t, std::int32_t, View*) {
  AssertFailed("false", __FILE__, __LINE__);
}
