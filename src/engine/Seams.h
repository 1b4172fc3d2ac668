// The engine's seams, both ways. InstallEngineSeams fills what the libraries below it leave open; the
// program's start-up and the test fixtures of the engine and above call it. The hooks below are every call
// the engine makes into the libraries above it, each filled by that library's own install call.
#pragma once

#include "core/Geometry.h"
#include "core/Smart.h"

class CStamp;
class Persistent;
class String;
class StyledText;
class Tool;
class View;
class Window;
class FileReference;
struct ClassInfo;

// Idempotent.
void InstallEngineSeams();

// The panes that edit one frame of a resource movie in place, and the border around a framed edit, belong
// to the editor (engine/kinds/FrameEditing.h has the protocol its panes answer). Until it installs them,
// no frame edit starts.
struct FrameEditHooks {
  // The pixel editor of a picture frame, over the editing area, showing the frame's image (or none) in
  // the frame rectangle. The view it gives must be a FrameEditor.
  SmartRef<View> (*makePixelPane)(View* parent, const Rect& area, const Rect& frame, CStamp* image) = nullptr;
  // The text pane of a text frame; likewise a FrameEditor.
  SmartRef<View> (*makeTextPane)(View* parent, const Rect& frame, StyledText* text) = nullptr;
  // A border around the rectangle (its frame grown by 5 pixels on every side), in the host view.
  SmartRef<View> (*makeBorderView)(View* host, const Rect& rect) = nullptr;
};
void SetFrameEditHooks(const FrameEditHooks& hooks);
const FrameEditHooks& GetFrameEditHooks();

// A link's web address is an element of the web library, which installs what links need of its addresses.
// Until it does, a stored address is kept as it was read and written back, pages get no address,
// addresses have no text and none becomes a link button.
struct WebAddressHooks {
  // The class of web addresses: a link reads back only objects of it (null: any stored object).
  const ClassInfo* addressClass = nullptr;
  // A new address of the project page of that name, or null.
  SmartRef<Persistent> (*makePageAddress)(const String& pageName) = nullptr;
  // The address itself (the href), as the player shows it.
  void (*getAddressText)(Smart* address, String& text) = nullptr;
};
void SetWebAddressHooks(const WebAddressHooks& hooks);
const WebAddressHooks& GetWebAddressHooks();

// The engine application's current tool lives in the editor's tools window. Until the editor installs how
// to reach it, or while the hooks answer none, the application keeps its tool itself.
struct ToolHooks {
  // The tool the application starts with.
  SmartRef<Tool> (*makeFirstTool)() = nullptr;
  // The application's current tool, and making a tool current.
  SmartRef<Tool> (*getTool)() = nullptr;
  void (*setTool)(Tool* tool) = nullptr;
};
void SetToolHooks(const ToolHooks& hooks);
const ToolHooks& GetToolHooks();

// What the engine application asks of the editor: the show-or-hide toggle of its floating windows, and the
// import into a stage pane. Until the editor installs them, a floating window is shown and hidden as any
// window, and no pane is a stage pane (the import is an ordinary open).
struct AppEditorHooks {
  // With the flag, a visible window is hidden and a hidden one shown; answers whether it is visible.
  bool (*toggleWindow)(Window* window, bool flag) = nullptr;
  bool (*isStagePane)(View* pane) = nullptr;
  // The file read onto the application's clipboard as a new sprite of that name, the pane's selection
  // cleared, and the clipboard pasted into the pane at (0, 0) as an undoable task.
  void (*importInto)(View* pane, FileReference& file, const String& name) = nullptr;
};
void SetAppEditorHooks(const AppEditorHooks& hooks);
const AppEditorHooks& GetAppEditorHooks();
