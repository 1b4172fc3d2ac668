#include "sound/SoundDialog.h"

#include <cstring>

#include "core/Exception.h"
#include "core/File.h"
#include "core/FileReference.h"
#include "core/GenericArray.h"
#include "graphics/Area.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Files.h"
#include "platform/kernel/Modules.h"
#include "platform/kernel/System.h"
#include "ui/controls/Control.h"
#include "ui/controls/GraphicButton.h"
#include "ui/controls/ProgressBar.h"
#include "ui/shell/Chore.h"
#include "ui/text/TextStyle.h"
#include "ui/text/TextView.h"
#include "ui/views/LFWDecorator.h"

SMART_DEFINE_ABSTRACT(SoundDialog, "SoundDialog", Dialog)

namespace {

constexpr SourceName kSource("SoundDialog");

// The library's entries, called with one or no argument.
using ThunkInitProc = int (*)(HMODULE self);
using DoSoundProcEntry = LONG (*)(LONG command);
using ThunkQuitProc = void (*)();

// The library is loaded for the life of one dialog; its DoSoundProc is looked up on first use.
HMODULE gThunker = nullptr;
DoSoundProcEntry gDoSoundProc = nullptr;
// The idle step asks the recorder, which may bring up an alert whose own loop idles again.
bool gInIdle = false;

const Color& Black() { return standardColors[1]; }

// The bounds framed in black over the fill; answers the bounds inset by 8 pixels, where the face goes.
Rect DrawFace(DisplayPort& port, const Rect& bounds, const Color& fill) {
  port.DrawRect(bounds, fill, Black());
  Rect inside = bounds;
  inside.Inset(8);
  return inside;
}

[[noreturn]] void RaiseMessage(const char* text) { Exception::Raise(new MessageException(text)); }

}  // namespace

RecordButtonGraphic::RecordButtonGraphic(const Rect& bounds, bool filled)
    : GenericGraphic(bounds.left, bounds.top, bounds.right, bounds.bottom), filled(filled) {}

void RecordButtonGraphic::Draw(DisplayPort& port) {
  const Rect disc = DrawFace(port, GetBounds(), filled ? Black() : standardColors[13]);
  ColorPaint red(standardColors[7]);
  ColorPaint none(standardColors[13]);
  port.DrawEllipse(disc, red, none);
}

PlayButtonGraphic::PlayButtonGraphic(const Rect& bounds)
    : GenericGraphic(bounds.left, bounds.top, bounds.right, bounds.bottom) {}

void PlayButtonGraphic::Draw(DisplayPort& port) {
  const Rect inside = DrawFace(port, GetBounds(), standardColors[13]);
  GenericArray corners(sizeof(Point), 0);
  const Point points[] = {inside.TopLeft(), Point(inside.left, inside.bottom),
                          Point(inside.right, (inside.top + inside.bottom) / 2)};
  corners.Insert(points, 0, 3);
  ColorPaint black(Black());
  port.DrawPolygon(corners, black, black);
}

StopButtonGraphic::StopButtonGraphic(const Rect& bounds)
    : GenericGraphic(bounds.left, bounds.top, bounds.right, bounds.bottom) {}

void StopButtonGraphic::Draw(DisplayPort& port) {
  const Rect inside = DrawFace(port, GetBounds(), standardColors[13]);
  port.DrawRect(inside, Black(), Black());
}

int SoundDialogSignal::GetSignalStatus(Smart* watcher) {
  return CastSmart(watcher, &SoundDialog::classInfo) != nullptr ? 0 : 3;
}

void SoundDialogSignal::Send(Smart* watcher) {
  RequireEnabled(watcher, kSource.Unnumbered());
  static_cast<SoundDialog*>(CastSmart(watcher, &SoundDialog::classInfo))->DoSound(command);
}

SoundDialog::SoundDialog(int frameKind) : Dialog(frameKind) {
  gDoSoundProc = nullptr;
  SetSize(kWidth, kHeight);
  BuildControls();
  LoadThunker();
  LFWDecorator::Get().Place(*this, 0, 0);
  SetIdleChore(2, 100);
}

SoundDialog::~SoundDialog() {
  SetIdleChore(0, 0);
  if (gThunker != nullptr) {
    if (auto quit = reinterpret_cast<ThunkQuitProc>(GetProcAddress(gThunker, "ThunkQuit"))) quit();
    FreeLibrary(gThunker);
    gThunker = nullptr;
  }
  gDoSoundProc = nullptr;
}

void SoundDialog::BuildControls() {
  SmartRef<TextStyle> headingStyle = new TextStyle(kDefaultFontId, 12, 0, Black(), standardColors[13]);
  headingStyle->AddStyle(4);
  SmartRef<TextView> heading =
      new TextView(this, Rect(45, 5, 165, 27), new String("Enregistrer"), kAnchorTopLeft, false, false, false, false);
  heading->SetTextStyle(headingStyle);
  AddSubview(~heading);

  levelBar = new ProgressBar(this, Rect(10, 80, 180, 96));
  AddSubview(~levelBar);

  const String keep("Enregistrer");
  acceptButton = new PushButton(this, Rect(100, 110, 180, 132), &keep, new DialogOKSignal(), this);
  acceptButton->Enable(false);
  acceptButton->SetStyle(1);
  AddSubview(~acceptButton);
  const String cancel("Annuler");
  SmartRef<PushButton> cancelButton =
      new PushButton(this, Rect(10, 110, 90, 132), &cancel, new DialogCancelSignal(), this);
  AddSubview(~cancelButton);

  const Rect face(0, 0, 30, 30);
  recordButton = new ToggleButton(this, Rect(10, 30, 40, 60), new RecordButtonGraphic(face, false),
                                  new SoundDialogSignal(3), this, new RecordButtonGraphic(face, true), nullptr);
  AddSubview(~recordButton);
  stopButton = new ToggleButton(this, Rect(150, 30, 180, 60), new StopButtonGraphic(face), new SoundDialogSignal(4),
                                this, nullptr, nullptr);
  AddSubview(~stopButton);
  playButton = new ToggleButton(this, Rect(60, 30, 90, 60), new PlayButtonGraphic(face), new SoundDialogSignal(2),
                                this, nullptr, nullptr);
  playButton->SetState(kToggleUnavailable);
  AddSubview(~playButton);

  const struct {
    Rect frame;
    const char* text;
  } labels[] = {{{10, 60, 40, 73}, "Enreg."}, {{60, 60, 90, 73}, "Jouer"}, {{150, 60, 180, 73}, "Stop"},
                {{4, 96, 17, 109}, "0"},      {{174, 96, 187, 109}, "3"}};
  for (const auto& label : labels) {
    SmartRef<TextView> view =
        new TextView(this, label.frame, new String(label.text), kAnchorTopLeft, false, false, false, false);
    view->SetTextStyle(new TextStyle(5, 8, 1, Black(), standardColors[13]));
    AddSubview(~view);
  }
}

void SoundDialog::LoadThunker() {
  SmartRef<FileReference> folder(FileReference::ApplicationFolder());
  char path[MAX_PATH];
  folder->GetPath(path);
  CheckCall(path[0] != '\0', kSource.Line(193));
  const char* const name = "\\Thunker.dll";
  if (std::strlen(path) + std::strlen(name) > FileReference::kMaxPathLength) RaiseMessage("Cannot load Thunker.dll");
  std::strcat(path, name);
  gThunker = LoadLibraryA(path);
  if (GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) SetLastError(0);
  if (gThunker == nullptr) RaiseMessage("Cannot load Thunker.dll");
  // A library that cannot serve is let go at once: the destructor does not run for a dialog never made.
  auto fail = [](const char* text) {
    FreeLibrary(gThunker);
    gThunker = nullptr;
    RaiseMessage(text);
  };
  auto init = reinterpret_cast<ThunkInitProc>(GetProcAddress(gThunker, "ThunkInit"));
  if (init == nullptr) fail("ThunkInit introuvable");
  int ready = 0;
  try {
    ready = init(gThunker);
  } catch (const char* text) {
    fail(text);
  }
  if (ready == 0) fail("Thunker DLL failed to initialize");
}

std::int32_t SoundDialog::DoSound(std::int32_t command) {
  if (gDoSoundProc == nullptr) {
    gDoSoundProc = reinterpret_cast<DoSoundProcEntry>(GetProcAddress(gThunker, "DoSoundProc"));
    if (gDoSoundProc == nullptr) RaiseMessage("Cannot find DoSoundProc");
  }
  if (command == 3 || command == 2) startTick = GetTickCount();
  if (command == 2) recordedLength = DoSound(6);
  // The stop button springs back after every command, also one that brought up an error: left on, it
  // would ignore every later click.
  struct StopSpringsBack {
    ToggleButton* button;
    ~StopSpringsBack() { button->SetState(kToggleOff); }
  } springBack{~stopButton};
  try {
    return gDoSoundProc(command);
  } catch (const char* text) {
    RaiseMessage(text);
  }
}

void SoundDialog::EnableAccept(bool enable) {
  acceptEnabled = enable;
  acceptButton->Enable(enable);
}

void SoundDialog::SetMode(std::int32_t newMode) {
  if (newMode != mode) {
    mode = newMode;
    switch (mode) {
      case 0: {
        recordButton->SetState(kToggleOff);
        const bool recorded = DoSound(6) != 0;
        playButton->SetState(recorded ? kToggleOff : kToggleUnavailable);
        EnableAccept(recorded);
        levelBar->Reset();
        break;
      }
      case 1:
        recordButton->SetState(kToggleUnavailable);
        playButton->SetState(kToggleOn);
        EnableAccept(false);
        break;
      case 2:
        recordButton->SetState(kToggleOn);
        playButton->SetState(kToggleUnavailable);
        EnableAccept(false);
        break;
      default:
        recordButton->SetState(kToggleUnavailable);
        playButton->SetState(kToggleUnavailable);
        EnableAccept(false);
        break;
    }
    Refresh();
  }
  if (mode != 1 && mode != 2) return;
  std::uint32_t elapsed = GetTickCount() - startTick;
  if (elapsed > kLongest) elapsed = kLongest;
  if (levelBar->SetProgress(elapsed, kLongest)) {
    const Rect bounds = levelBar->GetBounds();
    DisplayPort port(GetWindowFrame(), bounds);
    SmartRef<Area> area(new Area(bounds));
    levelBar->Draw(port, *area);
  }
  // 22 bytes a millisecond: the recorder's 22050 a second.
  if (mode == 1 && elapsed * 22 > static_cast<std::uint32_t>(recordedLength)) DoSound(4);
}

void SoundDialog::Idle() {
  if (gInIdle) return;
  // Cleared also when an error passes: the step must keep running once the error is shown.
  struct Reentry {
    Reentry() { gInIdle = true; }
    ~Reentry() { gInIdle = false; }
  } inside;
  SetMode(DoSound(7));
}

void SoundDialog::Cancel() {
  if (mode != 0) DoSound(4);
  Dialog::Cancel();
}

void SoundDialog::Accept() {
  if (!acceptEnabled) return;
  DoSound(5);
  {
    SmartRef<FileReference> reference = new FileReference("QLRec.wav");
    SmartRef<File> file = new File(~reference, kFileModeRead | kFileModeWrite);
    if (file->IsOpen()) recordedSound = new Sound(*file, Sound::wave, false);
  }
  if (!recordedSound) return;
  DeleteFileA("QLRec.wav");
  Dialog::Accept();
}

SmartRef<Sound> RunSoundDialog() {
  try {
    SmartRef<SoundDialog> dialog = new SoundDialog(kFrameModalPlain);
    dialog->Open(true);
    while (dialog->Poll()) {
    }
    if (dialog->WasCancelled()) return nullptr;
    return dialog->GetRecordedSound();
  } catch (Exception* exception) {
    exception->Report(kAlertStop);
    return nullptr;
  }
}

SmartRef<Sound> RecordSound() {
  SuspendAllChores();
  SmartRef<Sound> sound;
  try {
    sound = RunSoundDialog();
  } catch (Exception* exception) {
    exception->Report(kAlertExclamation);
  }
  ResumeAllChores();
  return sound;
}
