// The authoring application: the engine's application with what editing needs around the stage, namely a
// start and a quit sound, the paint colours, the tools window for everyone to reach, one option window
// at a time beside the stage, and the sound-recording tool. The web-page application derives from it.
#pragma once

#include <cstdint>

#include "engine/app/CHAApp.h"

class Tool;

enum : std::int32_t { cmdFrameOverview = 2062, cmdEndInPlaceEditing = 3030 };

class CTumbletApp : public CHAApp {
  SMART_ABSTRACT(CTumbletApp)
 public:
  static constexpr int kStartSound = 60;
  static constexpr int kQuitSound = 61;
  static constexpr std::uint32_t kQuitSoundWait = 300;

  // The tools window of the record becomes gToolsDirectory; the start sound plays unless the engine's
  // options silence it.
  explicit CTumbletApp(const AppCreationRecord& record);
  ~CTumbletApp() override;

  // Reports "Not implemented." and answers true.
  bool CanOpen() override;
  // The quit sound plays around the quitting, whether the windows agree or not.
  bool Quit(int kind) override;
  // The window becomes the one option window shown (none for null): the one it replaces is closed for
  // good. The active pane's player stops when a window is given.
  void UpdateWindows(Smart* window) override;
  bool DocumentsFillMainArea() override { return true; }

  // 2062 opens or closes the frame overview; 3030 ends the active stage pane's painting or typing in place.
  void HandleNumberCommand(std::int32_t number, void* argument) override;
  int GetNumberCommandStatus(std::int32_t number) override;

  // The sound-recording tool: the recorded sound goes to the clipboard and the tool becomes current.
  void SelectTool(Tool* tool);

  Window* GetCurrentWindow() const { return ~currentWindow; }
  Window* GetOverview() const { return ~overview; }

 private:
  void EndInPlaceEditing();

  SmartRef<Window> currentWindow;
  SmartRef<Window> overview;
};

// The running authoring application, set by the application factory; null when none runs.
extern SmartRef<CTumbletApp> gTumbletApp;
