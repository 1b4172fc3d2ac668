// The throw-away tool of one gesture: the pane that starts a drag makes it the application's tool with the
// drag's task as its interactor, and once the drag is over it gives the application its previous tool back.
#pragma once

#include "editor/CTool.h"

class CMouseTask;

class CTaskTool : public CTool {
  SMART_ABSTRACT(CTaskTool)
 public:
  CTaskTool(CMouseTask* task, Tool* previousTool);
  // A copy takes the sounds, the flags, the cursor and the previous tool, but not the task: it runs no
  // gesture of its own.
  CTaskTool(const CTaskTool& source);
  CTaskTool& operator=(const CTaskTool&) = delete;
  bool CanCopyFrom(Smart* source) override;
  void CopyFrom(Smart* source) override;
  Smart* Clone() const override;

  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  bool MouseMoved(std::int32_t x, std::int32_t y, std::int32_t modifiers, bool buttonDown, View* window) override;
  // The task is given at construction; a task tool never makes one.
  SmartRef<Interactor> CreateInteractor(std::int32_t x, std::int32_t y, std::int32_t modifiers, View* window) override;
  // The cursor stays the previous tool's.
  void ChooseCursor() override {}

  Tool* GetPreviousTool() const { return ~previousTool; }

 private:
  SmartRef<Tool> previousTool;
};
