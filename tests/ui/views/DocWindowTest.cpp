// Document windows in the running program: notes stored in real object files of a temporary folder are
// opened, edited, saved, saved as, copied and closed, with the file dialogs and the message boxes answered
// by the test.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "support/ui/ProgramFixture.h"
#include "core/File.h"
#include "core/FileReference.h"
#include "core/ObjectFile.h"
#include "core/Text1252.h"
#include "platform/dialogs/CommonDialogs.h"
#include "platform/user/Message.h"
#include "platform/user/MessageBox.h"
#include "support/Raised.h"
#include "support/TempFolder.h"
#include "ui/views/DocWindow.h"
#include "ui/shell/Task.h"

namespace {

const FileType kNoteType("Note d'essai", 0x4E4F5445, 0x6E6F7420);

// A document: a titled text. Its editor is a NoteView.
class Note : public Model, public SmartImplementation {
  SMART_CLASS(Note)
 public:
  static const PersistentType persistentType;
  Note() = default;
  Note(const char* title, const char* text) : title(new String(title)), text(new String(text)) {}
  explicit Note(ArchiveBlock& block) {
    Archive* archive = block.GetArchive();
    title = CastSmart<String>(archive->ReadObject());
    text = CastSmart<String>(archive->ReadObject());
  }
  static Persistent* ReadNew(Archive* archive) { return ReadFromBlock<Note>(archive, &persistentType); }
  void Write(Archive* archive) override {
    ArchiveBlock block(archive, &persistentType);
    archive->WriteObject(~title);
    // A save that breaks off halfway, as a full disk would.
    if (failSaving) ThrowError("Disque plein", "TEST", 1);
    archive->WriteObject(~text);
  }
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  String* GetTitle() override { return ~title; }
  void MakeEditor(Rect* bounds, View* parent, const Rect& frame) override;

  SmartRef<String> title{new String};
  SmartRef<String> text{new String};
  bool failSaving = false;
};

SMART_DEFINE(Note, "Note", &CreateDefault<Note>, nullptr, Model, SmartImplementation)
const PersistentType Note::persistentType(&Note::classInfo, MakeVersion(1), MakeVersion(1), &Note::ReadNew);

// The note's editor: it prefers 320 x 200 and follows every edge of its parent.
class NoteView : public View {
 public:
  NoteView(View* parent, const Rect& frame, Note* note)
      : View(parent, frame, kAnchorAll, true, false), note(note) {}
  void GetSizeRange(Rect* range) override { *range = Rect(0, 0, 320, 200); }
  // What typing does: the note takes the text and the window learns that it changed.
  void Type(const char* text) {
    note->text = new String(text);
    NotifyChanged();
  }

  SmartRef<Note> note;
};

void Note::MakeEditor(Rect* bounds, View* parent, const Rect& frame) {
  SmartRef<NoteView> editor(new NoteView(parent, frame, this));
  parent->AddSubview(~editor);
  *bounds = editor->GetBounds();
}

// An editable object that cannot be stored.
class Sketch : public Editable, public SmartImplementation {
  SMART_ABSTRACT(Sketch)
 public:
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }
  String* GetTitle() override { return ~title; }
  SmartRef<String> title{new String("croquis")};
};

SMART_DEFINE_ABSTRACT(Sketch, "Sketch", Editable, SmartImplementation)

// An action a view leaves for the window to undo.
class KeptAction : public Task, public SmartImplementation {
  SMART_ABSTRACT(KeptAction)
 public:
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }
  void Do() override {}
  void Undo() override {}
  void Redo() override {}
};

SMART_DEFINE_ABSTRACT(KeptAction, "KeptAction", Task, SmartImplementation)

// A window that follows its file: it records each file it is told of, with what the file held then.
class FollowingWindow : public DocWindow {
 public:
  using DocWindow::DocWindow;
  void FileChanged(FileReference& file) override {
    SmartRef<File> stream(new File(&file, kFileModeRead));
    announced.push_back({file.GetPathText(), stream->GetLength()});
  }
  std::vector<std::pair<std::string, std::uint32_t>> announced;
};

// The reference a window edits the object through.
SmartRef<ObjectReference> Refer(SmartImplementation* object) {
  return SmartRef<ObjectReference>(new SimpleReference(SmartRef<Smart>(object)));
}

SmartRef<TypeIndex> NoteIndex() {
  SmartRef<TypeIndex> index(new TypeIndex(&kNoteType, MakeVersion(1), "Notes"));
  index->AddType(&Note::persistentType);
  index->AddType(&String::persistentType);
  index->AddType(&GenericArray::persistentType);
  return index;
}

// Answers the file dialogs from a script (nothing left: Cancel) and records which kinds were shown.
class ChooserScript {
 public:
  ChooserScript() {
    previous = platform::SetFileChooser([this](platform::FileDialogKind kind, const OPENFILENAMEA&) {
      kinds.push_back(kind);
      std::optional<std::string> answer;
      if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
      }
      return answer;
    });
  }
  ~ChooserScript() { platform::SetFileChooser(std::move(previous)); }
  ChooserScript(const ChooserScript&) = delete;
  ChooserScript& operator=(const ChooserScript&) = delete;

  std::deque<std::optional<std::string>> answers;
  std::vector<platform::FileDialogKind> kinds;

 private:
  platform::FileChooser previous;
};

class DocWindowTest : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    makeApp = [this] {
      AppInfo info;
      info.name = "Essai";
      auto* made = new TestApp(info, NoteIndex());
      app = made;
      return SmartRef<App>(made);
    };
  }

  // Runs the body inside the running program; a failure raised by the program fails the test instead of
  // ending the program.
  void InProgram(const std::function<void()>& body) {
    Run([&] {
      try {
        body();
      } catch (Exception* exception) {
        ADD_FAILURE() << "raised: " << RaisedText(SmartRef<Exception>(exception));
      }
      PostQuitMessage(0);
    });
  }

  // A note file in the temporary folder.
  std::string WriteNote(const std::string& name, const char* title, const char* text) {
    const std::string path = folder.Write(name);
    FileReference file(path.c_str());
    SmartRef<File> stream(new File(&file, kFileModeRead | kFileModeWrite));
    SmartRef<ObjectFile> objects(new ObjectFile(NoteIndex(), SmartRef<Stream>(~stream)));
    objects->Write(SmartRef<Smart>(static_cast<SmartImplementation*>(new Note(title, text))));
    stream->Close();
    return path;
  }
  // The text of the note stored in the file, read as the program reads it.
  std::string StoredText(const std::string& path) {
    FileReference file(path.c_str());
    SmartRef<File> stream(new File(&file, kFileModeRead));
    SmartRef<ObjectFile> objects(new ObjectFile(NoteIndex(), SmartRef<Stream>(~stream)));
    SmartRef<Smart> root;
    objects->Read(&root);
    Note* note = CastSmart<Note>(~root);
    return note ? TextOf(*note->text) : "(no note)";
  }

  // The front window, opened by the application from the file, with the text typed when one is given.
  SmartRef<DocWindow> Open(const std::string& path, const char* typed = nullptr) {
    gApplication->OpenFile(new FileReference(path.c_str()), false, false);
    SmartRef<DocWindow> window(CastSmart<DocWindow>(~gApplication->FrontWindow()));
    if (window && typed) Editor(*window)->Type(typed);
    return window;
  }
  // The window the application opens for a document that has no file yet.
  static SmartRef<DocWindow> OpenNew(SmartImplementation* note) {
    SmartRef<Smart> opened;
    SmartRef<Smart> document(note);
    gApplication->OpenDocument(&opened, document, nullptr);
    return CastSmart<DocWindow>(~opened);
  }
  static NoteView* Editor(DocWindow& window) {
    const List& views = window.GetContentView()->GetSubviews();
    return views.NumItems() == 1 ? dynamic_cast<NoteView*>(CastSmart<View>(views.At(1))) : nullptr;
  }
  static std::string Title(DocWindow& window) {
    SmartRef<String> title(window.GetFrame()->GetTitle());
    return TextOf(*title);
  }
  static bool IsOpen(DocWindow& window) { return gApplication->GetWindows().IndexOf(&window) != 0; }
  // The close box of the window, as the window system sends it.
  static void ClickClose(DocWindow& window) { SendMessageA(window.GetFrame()->GetHandle(), WM_CLOSE, 0, 0); }

  TempFolder folder;
  ChooserScript chooser;
};

}  // namespace

TEST_F(DocWindowTest, AnOpenedDocumentShowsItsTitleAndItsEditorAndIsClean) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  InProgram([&] {
    SmartRef<DocWindow> window = Open(path);
    ASSERT_TRUE(window);
    EXPECT_EQ(Title(*window), "Ma note");
    EXPECT_TRUE(window->IsVisible());
    EXPECT_FALSE(window->IsModified());
    EXPECT_TRUE(window->GetScribe());
    NoteView* editor = Editor(*window);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(TextOf(*editor->note->text), "bonjour");
    // The window takes the size its editor prefers, and the editor fills it.
    EXPECT_EQ(window->GetBounds(), Rect(0, 0, 320, 200));
    EXPECT_EQ(editor->GetBounds(), Rect(0, 0, 320, 200));
    EXPECT_EQ(window->GetContentView()->GetBounds(), Rect(0, 0, 320, 200));
  });
}

TEST_F(DocWindowTest, TitlesComeFromTheEditableObjectAndItsContainer) {
  InProgram([&] {
    SmartRef<Note> container(new Note("ab", ""));
    struct Case {
      Smart* object;
      Editable* container;
      const char* title;
      bool hasEditor;
    } cases[] = {
        {static_cast<SmartImplementation*>(new Note("cd", "")), nullptr, "cd", true},
        {static_cast<SmartImplementation*>(new Note("cd", "")), ~container, "ab cd", true},
        {new ListData(&String::classInfo), ~container, "sanstitre", false},
        {new Sketch(), nullptr, "croquis", false},
    };
    for (const Case& c : cases) {
      SmartRef<ObjectReference> data(new SimpleReference(c.object));
      SmartRef<String> made = DocWindow::MakeTitle(~data, c.container);
      EXPECT_EQ(TextOf(*made), c.title);
      SmartRef<DocWindow> window(new DocWindow(~data, c.container, nullptr, nullptr, false));
      EXPECT_EQ(Title(*window), c.title);
      EXPECT_EQ(Editor(*window) != nullptr, c.hasEditor) << c.title;
    }
  });
}

TEST_F(DocWindowTest, SavingWritesTheOpenedFileWithoutAskingAndLeavesTheWindowClean) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  InProgram([&] {
    SmartRef<DocWindow> window = Open(path, "au revoir");
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->IsModified());
    // "Enregistrer" from the menu reaches the front document window through the application.
    SmartRef<DocWindowCommand> save(new DocWindowCommand(kSaveDocument));
    EXPECT_EQ(gApplication->GetCommandStatus(~save), kCommandEnabled);
    gApplication->DoCommand(~save);
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(StoredText(path), "au revoir");
    // Saved again after another change: the same scribe writes the file a second time.
    Editor(*window)->Type("encore");
    gApplication->DoCommand(~save);
    EXPECT_EQ(StoredText(path), "encore");
  });
  EXPECT_TRUE(chooser.kinds.empty());
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(DocWindowTest, SaveCommandsAreForDocumentWindowsOnly) {
  InProgram([&] {
    SmartRef<DocWindowCommand> saveAs(new DocWindowCommand(kSaveDocumentAs));
    EXPECT_EQ(gApplication->GetCommandStatus(~saveAs), kCommandDisabled) << "no window";
    SmartRef<Note> note(new Note("n", ""));
    SmartRef<ObjectReference> data = Refer(~note);
    SmartRef<DocWindow> window(new DocWindow(~data, nullptr, nullptr, nullptr, false));
    EXPECT_EQ(saveAs->GetSignalStatus(static_cast<SmartImplementation*>(~window)), kCommandEnabled);
    EXPECT_EQ(saveAs->GetSignalStatus(Editor(*window)), kCommandDisabled);
    EXPECT_EQ(saveAs->GetSignalStatus(static_cast<SmartImplementation*>(~gApplication)), kCommandDisabled);
    EXPECT_EQ(saveAs->GetSignalStatus(nullptr), kCommandDisabled);
    EXPECT_EQ(RaisedText(Raised([&] { saveAs->Send(Editor(*window)); })), "GetSignalStatus(watcher) != disabled");
    EXPECT_TRUE(chooser.kinds.empty()) << "nothing was saved";
  });
}

TEST_F(DocWindowTest, SaveAsWritesTheChosenFileWhichLaterSavesGoTo) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  const std::string other = folder.WinPath("b.not");
  chooser.answers = {other};
  InProgram([&] {
    SmartRef<DocWindow> window = Open(path, "ailleurs");
    ASSERT_TRUE(window);
    window->Save(kSaveDocumentAs);
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(StoredText(other), "ailleurs");
    Editor(*window)->Type("plus tard");
    window->Save(kSaveDocument);
    EXPECT_EQ(StoredText(other), "plus tard");
  });
  EXPECT_EQ(StoredText(path), "bonjour") << "the first file is left as it was";
  ASSERT_EQ(chooser.kinds.size(), 1u);
  EXPECT_EQ(chooser.kinds[0], platform::FileDialogKind::kSave);
}

TEST_F(DocWindowTest, AWindowIsToldOfEachNewFileOnceItIsWritten) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  const std::string other = folder.WinPath("b.not");
  const std::string copy = folder.WinPath("c.not");
  chooser.answers = {other, copy};
  InProgram([&] {
    FileReference file(path.c_str());
    SmartRef<Scribe> scribe = gApplication->MakeScribe(file, kFileModeRead | kFileModeWrite);
    SmartRef<Smart> object;
    scribe->Read(&object);
    SmartRef<ObjectReference> data(new SimpleReference(object));
    SmartRef<FollowingWindow> window(new FollowingWindow(~data, nullptr, nullptr, ~scribe, false));
    window->Save(kSaveDocument);
    EXPECT_TRUE(window->announced.empty()) << "the same file";
    window->Save(kSaveDocumentAs);
    window->Save(kSaveDocumentCopy);
    ASSERT_EQ(window->announced.size(), 2u);
    EXPECT_EQ(window->announced[0].first, other);
    EXPECT_EQ(window->announced[1].first, copy);
    for (const auto& [name, length] : window->announced) EXPECT_GT(length, 0u) << name << " was told before it was written";
  });
}

TEST_F(DocWindowTest, ACopyGoesToTheChosenFileWhileSavingStaysWithTheOldOne) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  const std::string copy = folder.WinPath("copie.not");
  chooser.answers = {copy};
  InProgram([&] {
    SmartRef<DocWindow> window = Open(path, "brouillon");
    ASSERT_TRUE(window);
    SmartRef<Scribe> before = window->GetScribe();
    window->Save(kSaveDocumentCopy);
    EXPECT_EQ(StoredText(copy), "brouillon");
    EXPECT_TRUE(window->IsModified()) << "the document itself is not saved";
    EXPECT_EQ(window->GetScribe(), before);
    window->Save(kSaveDocument);
    EXPECT_FALSE(window->IsModified());
  });
  EXPECT_EQ(StoredText(path), "brouillon");
  ASSERT_EQ(chooser.kinds.size(), 1u);
  EXPECT_EQ(chooser.kinds[0], platform::FileDialogKind::kSave) << "a copy is saved to a new file";
}

TEST_F(DocWindowTest, CancellingTheSaveDialogChangesNothing) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  InProgram([&] {
    SmartRef<DocWindow> window = Open(path, "pas encore");
    ASSERT_TRUE(window);
    for (int mode : {kSaveDocumentAs, kSaveDocumentCopy}) {
      SmartRef<Exception> raised = Raised([&] { window->Save(mode); });
      EXPECT_TRUE(IsMember<UserCancelException>(~raised)) << mode;
      EXPECT_TRUE(window->IsModified());
      EXPECT_TRUE(window->GetScribe()) << mode;
    }
    EXPECT_EQ(StoredText(path), "bonjour");
    // The window still saves to its file, without asking.
    window->Save(kSaveDocument);
    EXPECT_EQ(StoredText(path), "pas encore");
  });
  EXPECT_EQ(chooser.kinds.size(), 2u);
}

TEST_F(DocWindowTest, ANewDocumentAsksForItsFileOnceAndThenSavesThere) {
  const std::string path = folder.WinPath("nouveau.not");
  chooser.answers = {path};
  InProgram([&] {
    SmartRef<DocWindow> window = OpenNew(new Note("Neuf", "un"));
    ASSERT_TRUE(window);
    EXPECT_EQ(gApplication->FrontWindow(), SmartRef<Window>(~window));
    EXPECT_FALSE(window->GetScribe());
    window->Save(kSaveDocument);
    EXPECT_EQ(StoredText(path), "un");
    Editor(*window)->Type("deux");
    window->Save(kSaveDocument);
    EXPECT_EQ(StoredText(path), "deux");
  });
  EXPECT_EQ(chooser.kinds.size(), 1u);
}

TEST_F(DocWindowTest, AFailedSaveKeepsThePreviousDocumentAndTheWindowModified) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  const std::string bytes = folder.Read("a.not");
  InProgram([&] {
    SmartRef<DocWindow> window = Open(path, "perdu ?");
    ASSERT_TRUE(window);
    Editor(*window)->note->failSaving = true;
    EXPECT_EQ(RaisedText(Raised([&] { window->Save(kSaveDocument); })), "Disque plein");
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(folder.Read("a.not"), bytes);
    // Once the cause is gone, the same window saves.
    Editor(*window)->note->failSaving = false;
    window->Save(kSaveDocument);
    EXPECT_EQ(StoredText(path), "perdu ?");
  });
}

TEST_F(DocWindowTest, ClosingAModifiedWindowAsksWhetherToSave) {
  struct Case {
    int answer;
    bool closed;
    const char* stored;
  } cases[] = {
      {IDYES, true, "change"},
      {IDNO, true, "bonjour"},
      {IDCANCEL, false, "bonjour"},
  };
  InProgram([&] {
    for (const Case& c : cases) {
      const std::string path = WriteNote("a" + std::to_string(c.answer) + ".not", "Ma note", "bonjour");
      alerts.Clear();
      alerts.Answer({c.answer});
      SmartRef<DocWindow> window = Open(path, "change");
      ASSERT_TRUE(window);
      ClickClose(*window);
      EXPECT_EQ(IsOpen(*window), !c.closed) << c.answer;
      EXPECT_EQ(window->IsModified(), c.answer != IDYES) << c.answer;
      EXPECT_EQ(TextOf(*Editor(*window)->note->text), "change") << "the document is kept";
      EXPECT_EQ(StoredText(path), c.stored) << c.answer;
      ASSERT_EQ(alerts.Alerts().size(), 1u);
      EXPECT_EQ(alerts.Alerts()[0].text, "Veux-tu enregistrer  \"Ma note\" avant de le fermer ?"_cp);
      EXPECT_EQ(alerts.Alerts()[0].type, UINT(MB_ICONEXCLAMATION | MB_YESNOCANCEL));
    }
  });
}

TEST_F(DocWindowTest, CloseKindsOtherThanTheUsersDoNotAsk) {
  struct Case {
    int kind;
    bool saves;
  } cases[] = {{1, false}, {0, true}, {3, true}};
  InProgram([&] {
    for (const Case& c : cases) {
      const std::string path = WriteNote("a" + std::to_string(c.kind) + ".not", "Ma note", "bonjour");
      SmartRef<DocWindow> window = Open(path, "change");
      ASSERT_TRUE(window);
      gApplication->CloseWindow(~window, c.kind);
      EXPECT_FALSE(IsOpen(*window)) << c.kind;
      EXPECT_EQ(StoredText(path), c.saves ? "change" : "bonjour") << c.kind;
    }
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(DocWindowTest, ACleanWindowClosesWithoutAsking) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  InProgram([&] {
    SmartRef<DocWindow> window = Open(path);
    ASSERT_TRUE(window);
    ClickClose(*window);
    EXPECT_FALSE(IsOpen(*window));
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(DocWindowTest, AnsweringYesWhenTheSaveFailsKeepsTheWindowOpen) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  alerts.Answer({IDYES});
  InProgram([&] {
    SmartRef<DocWindow> window = Open(path, "change");
    ASSERT_TRUE(window);
    Editor(*window)->note->failSaving = true;
    ClickClose(*window);
    EXPECT_TRUE(IsOpen(*window));
    EXPECT_TRUE(window->IsModified());
  });
  EXPECT_EQ(StoredText(path), "bonjour");
  // The question, then the failure's report.
  ASSERT_EQ(alerts.Alerts().size(), 2u);
  EXPECT_NE(alerts.Alerts()[1].text.find("Disque plein"), std::string::npos);
}

TEST_F(DocWindowTest, AnsweringYesForANewDocumentWhoseSaveDialogIsCancelledKeepsItOpen) {
  alerts.Answer({IDYES});
  InProgram([&] {
    SmartRef<DocWindow> window = OpenNew(new Note("Neuf", "un"));
    ASSERT_TRUE(window);
    Editor(*window)->Type("deux");
    ClickClose(*window);
    EXPECT_TRUE(IsOpen(*window));
    EXPECT_TRUE(window->IsModified());
  });
  EXPECT_EQ(chooser.kinds.size(), 1u);
  EXPECT_EQ(alerts.Alerts().size(), 1u) << "a cancelled dialog is not reported";
}

TEST_F(DocWindowTest, QuittingStopsAtAWindowWhoseQuestionIsCancelled) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  alerts.Answer({IDCANCEL});
  InProgram([&] {
    SmartRef<DocWindow> window = Open(path, "change");
    ASSERT_TRUE(window);
    EXPECT_FALSE(gApplication->Quit(2));
    EXPECT_TRUE(IsApplicationRunning());
    EXPECT_TRUE(IsOpen(*window));
    EXPECT_TRUE(window->IsModified());
  });
  EXPECT_EQ(StoredText(path), "bonjour");
}

TEST_F(DocWindowTest, AChildWindowReportsItsChangesToItsOwnerWhichSavesForIt) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  InProgram([&] {
    SmartRef<DocWindow> owner = Open(path);
    ASSERT_TRUE(owner);
    // The child edits the owner's note in a window of its own.
    SmartRef<Note> note = Editor(*owner)->note;
    SmartRef<ObjectReference> data = Refer(~note);
    SmartRef<Note> folderNote(new Note("Dossier", ""));
    SmartRef<DocWindow> child(new DocWindow(~data, ~folderNote, ~owner, nullptr, false));
    child->Open(true);
    EXPECT_EQ(Title(*child), "Dossier Ma note");
    Editor(*child)->Type("par l'enfant");
    EXPECT_TRUE(child->IsModified());
    EXPECT_TRUE(owner->IsModified());
    child->Save(kSaveDocument);
    EXPECT_FALSE(owner->IsModified());
    EXPECT_EQ(StoredText(path), "par l'enfant");
    // The child's own changes are the owner's to save: it closes without a question.
    Editor(*child)->Type("encore");
    ClickClose(*child);
    EXPECT_FALSE(IsOpen(*child));
    EXPECT_TRUE(owner->IsModified());
  });
  EXPECT_TRUE(alerts.Alerts().empty());
  EXPECT_TRUE(chooser.kinds.empty());
}

TEST_F(DocWindowTest, DocumentsThatCannotBeSavedSayWhy) {
  InProgram([&] {
    SmartRef<ObjectReference> sketch = Refer(new Sketch);
    SmartRef<DocWindow> window(new DocWindow(~sketch, nullptr, nullptr, nullptr, false));
    window->Changed(nullptr);
    EXPECT_EQ(RaisedText(Raised([&] { window->Save(kSaveDocument); })), "Not a storable window!");
    EXPECT_TRUE(window->IsModified());

    // A window made while there is no application has no format to save through.
    DocWindow::SetApplication(nullptr);
    SmartRef<ObjectReference> note = Refer(new Note("n", ""));
    SmartRef<DocWindow> orphan(new DocWindow(~note, nullptr, nullptr, nullptr, false));
    EXPECT_EQ(RaisedText(Raised([&] { orphan->Save(kSaveDocumentAs); })), "No format for saving");
    DocWindow::SetApplication(~gApplication);
  });
  EXPECT_TRUE(chooser.kinds.empty());
}

TEST_F(DocWindowTest, AWindowMustEditSomethingAndSaveThroughAFormat) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  InProgram([&] {
    SmartRef<ObjectReference> nothing(new SimpleReference(nullptr));
    EXPECT_EQ(RaisedText(Raised([&] { SmartRef<DocWindow> w(new DocWindow(~nothing, nullptr, nullptr, nullptr, false)); })),
              "data->ObjectExists()");

    FileReference file(path.c_str());
    SmartRef<Scribe> scribe = gApplication->MakeScribe(file, kFileModeRead | kFileModeWrite);
    SmartRef<ObjectReference> note = Refer(new Note("n", ""));
    DocWindow::SetApplication(nullptr);
    EXPECT_EQ(RaisedText(Raised([&] { SmartRef<DocWindow> w(new DocWindow(~note, nullptr, nullptr, ~scribe, false)); })),
              "format.Valid()");
    DocWindow::SetApplication(~gApplication);
  });
}

TEST_F(DocWindowTest, AReadOnlyScribeIsNotKept) {
  const std::string path = WriteNote("a.not", "Ma note", "bonjour");
  InProgram([&] {
    FileReference file(path.c_str());
    SmartRef<Scribe> reader = gApplication->MakeScribe(file, kFileModeRead);
    SmartRef<Smart> object;
    reader->Read(&object);
    SmartRef<ObjectReference> data(new SimpleReference(object));
    SmartRef<DocWindow> window(new DocWindow(~data, nullptr, nullptr, ~reader, false));
    EXPECT_FALSE(window->GetScribe());
  });
}

TEST_F(DocWindowTest, ReadingAFileReplacesWhatTheWindowEdits) {
  const std::string first = WriteNote("a.not", "Ma note", "bonjour");
  const std::string second = WriteNote("b.not", "Autre", "salut");
  const std::string damaged = folder.Write("c.not", "OBJS\x02 pas un document");
  InProgram([&] {
    SmartRef<DocWindow> window = Open(first, "oublie");
    ASSERT_TRUE(window);
    Editor(*window)->PostUndoable(new KeptAction);
    EXPECT_TRUE(window->CanUndo());
    FileReference secondFile(second.c_str());
    window->ReadFile(secondFile);
    EXPECT_FALSE(window->IsModified());
    EXPECT_FALSE(window->CanUndo()) << "nothing of the old document is left to undo";
    ASSERT_NE(Editor(*window), nullptr);
    EXPECT_EQ(TextOf(*Editor(*window)->note->text), "salut");
    EXPECT_EQ(window->GetContentView()->GetSubviews().NumItems(), 1) << "the old editor is gone";
    Editor(*window)->Type("nouveau");
    window->Save(kSaveDocument);
    EXPECT_EQ(StoredText(second), "nouveau");

    // A file that cannot be read leaves the window with its document.
    Editor(*window)->Type("garde");
    FileReference damagedFile(damaged.c_str());
    Raised([&] { window->ReadFile(damagedFile); });
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(TextOf(*Editor(*window)->note->text), "garde");
  });
  EXPECT_EQ(StoredText(first), "bonjour");
}

TEST_F(DocWindowTest, TheWindowCannotBeMadeSmallerThanItsMinimum) {
  InProgram([&] {
    SmartRef<ObjectReference> data = Refer(new Note("n", ""));
    SmartRef<DocWindow> window(new DocWindow(~data, nullptr, nullptr, nullptr, false));
    window->SetSize(10, 5);
    window->FitSize(false);
    EXPECT_EQ(window->GetBounds().Size(), (Point{48, 14}));
  });
}
