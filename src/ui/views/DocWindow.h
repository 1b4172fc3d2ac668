// A document window: shows and edits one document, which an object reference reaches and a scribe read
// and writes back. The document object builds its own editing view. The window knows whether the document
// was modified, asks before closing a modified one, and saves, saves as or saves a copy through the
// application's format, which chooses files and makes scribes. A window with an owner document window
// lets the owner save in its place.
#pragma once

#include <cstdint>

#include "core/ObjectFile.h"
#include "core/ObjectReference.h"
#include "ui/shell/Signal.h"
#include "ui/views/Window.h"

class FileReference;
class FormatPicker;

// Save modes.
enum : int { kSaveDocument = 1, kSaveDocumentAs = 2, kSaveDocumentCopy = 4 };

class DocWindow : public Window, public AppCommandSink {
  SMART_ABSTRACT(DocWindow)
 public:
  static constexpr std::int32_t kMinimumWidth = 48;
  static constexpr std::int32_t kMinimumHeight = 14;

  // A scribe that cannot write is not kept: the window then asks for a file when it saves.
  DocWindow(ObjectReference* data, Editable* titleContainer, DocWindow* owner, Scribe* scribe, bool buffered);
  ~DocWindow() override;

  // The object's title composed with the container's, or "sanstitre" for an object that is not editable.
  static SmartRef<String> MakeTitle(ObjectReference* data, Editable* titleContainer);
  // The format of the windows made from now on (the application while it exists).
  static void SetApplication(FormatPicker* format);

  void GetSizeRange(Rect* range) override;
  // Kind 1 closes without saving, kind 2 asks the user about a modified document, other kinds save first.
  bool CanClose(int kind) override;

  virtual void Save(int mode);
  // Reads the file through a scribe of the format and edits what it holds.
  virtual void ReadFile(FileReference& file);
  virtual void SetData(ObjectReference* newData, Scribe* newScribe);
  virtual void ClearContent();
  // The document was just written to the file; for windows that follow their file.
  virtual void FileChanged(FileReference& file);

  // Fails an assertion when the window edits nothing, or has a scribe but no format.
  void Validate() override;

  void MakeContentView();
  SmartRef<Scribe> GetScribe() const { return scribe; }
  void SetScribe(Scribe* newScribe);
  SmartRef<View> GetContentView() const { return contentView; }
  bool IsModified() const { return flags & kModified; }

  // What the window's views report.
  void Changed(void* unused) override;
  void AddUndoable(Task* task) override { Window::AddUndoable(task); }
  void WindowOpened(Window*) override {}
  void WindowClosed(Window*) override {}
  void DoCommand(GenericSignal*) override {}

 private:
  enum : std::uint8_t { kModified = 1 };

  void SetModified(bool modified) {
    flags = static_cast<std::uint8_t>(modified ? flags | kModified : flags & ~kModified);
  }
  bool AskToSave();

  SmartRef<ObjectReference> data;
  SmartRef<Scribe> scribe;
  SmartRef<FormatPicker> format;
  SmartRef<DocWindow> owner;
  SmartRef<View> contentView;
  std::uint8_t flags = 0;
};

// Saves the document window it is sent to in the mode it holds.
class DocWindowCommand : public GenericSignal {
 public:
  explicit DocWindowCommand(int mode) : mode(mode) {}
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;

 private:
  int mode;
};
