// Outside material onto a page: a file read onto the application's clipboard, and the clipboard pasted
// into a stage pane as one undoable step. Exporting frames is not offered.
#pragma once

#include <cstdint>

#include "core/Geometry.h"

class App;
class CHAPane;
class Clipboard;
class CPlayer;
class FileReference;
class String;
class View;

// Set while the page browser imports into the stage pane; the import clears it once pasted.
extern bool gPendingImport;

// Pastes the clipboard's content into the pane: at the pane's centre for the point (0, 0), else with
// the first sprite's corner at the point. The paste goes on the pane's undo list when it added anything.
// The paste of a page background is marked as such while it is undone or redone.
void ImportClipTask(Clipboard* clipboard, CHAPane* pane, const Point& point, bool background = false);
// Reads the file with the application's reader for it onto the application's clipboard: a sound as it
// is, anything else as a sprite named after the file (or the name given), transparent with the flag.
// A file no reader takes, or a damaged one, fails with the reader's error before the clipboard changes.
bool ImportSound(App* application, FileReference& file, const String* name, bool transparent);
void ExportFrames(CHAPane* pane, std::int16_t* first, std::int16_t* last);
void ExportPlayer(CPlayer* player);

// The engine application's import into a stage pane: the file as a new sprite of that name, pasted as
// the only selected sprite.
void ImportIntoStagePane(View* pane, FileReference& file, const String& name);
