#include "app/Welcome.h"

#include <cstring>

#include "app/menus/MenuCommands.h"
#include "app/DromelApp.h"
#include "app/DromelResources.h"
#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/SourcePlace.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/ImageResource.h"
#include "ui/controls/Control.h"
#include "ui/controls/GraphicButton.h"
#include "ui/controls/PopupControl.h"
#include "ui/dialogs/DialogFormatter.h"
#include "ui/menus/Menu.h"
#include "ui/text/TextView.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/WindowFrame.h"

SMART_DEFINE_ABSTRACT(WelcomeDialog, "WelcomeDialog", Dialog)
SMART_DEFINE_ABSTRACT(ProjectNameDialog, "ProjectNameDialog", Dialog)

namespace {

constexpr SourceName kSource("DROMEL/Welcome");
constexpr int kWelcomePicture = 420;
constexpr int kNamePicture = 800;
constexpr int kCancelPicture = 702;
constexpr int kCancelPressedPicture = 703;
constexpr int kOKPicture = 704;
constexpr int kOKPressedPicture = 705;

// A rectangle of that size centred on the point, halves rounded toward zero.
Rect CentredOn(Point centre, std::int32_t width, std::int32_t height) {
  const std::int32_t left = centre.x - width / 2;
  const std::int32_t top = centre.y - height / 2;
  return Rect(left, top, left + width, top + height);
}

// The window's current size centred on the main window's client rectangle.
void CentreOnMainWindow(Window& window) {
  Rect bounds = window.GetBounds();
  bounds.Offset(-bounds.left, -bounds.top);
  bounds.CenterOn(GetMainClientRect());
  window.SetGlobalBounds(bounds);
}

// The folder's own name: the last name of its path, whole (a project "mon.site" is that folder, not
// "mon").
String FolderName(FileReference& folder) {
  const char* path = folder.GetPathText();
  if (path == nullptr) return String();
  const char* last = std::strrchr(path, '\\');
  return String(last ? last + 1 : path);
}

// The picture of the application's set, or null when its file is missing.
SmartRef<BitMap> OptionalPicture(int n) {
  try {
    return SmartRef<BitMap>(gAppResources.LoadImage(n));
  } catch (Exception* failure) {
    SmartRef<Exception> dropped(failure);
    return nullptr;
  }
}

}  // namespace

void FitDialogToViews(Dialog& dialog) {
  Rect content(0, 0, 0, 0);
  const List& views = dialog.GetSubviews();
  for (std::int32_t n = 1; n <= views.NumItems(); ++n) {
    if (auto* view = CastSmart<View>(views.At(n))) content = content.Union(view->GetBounds());
  }
  dialog.SetSize(content.right, content.bottom);
  dialog.FitToContent(false);
}

// ---- WelcomeDialog ----

WelcomeDialog::WelcomeDialog() : Dialog(kFrameModalPlain) {
  projectMenu = FillProjectList(true);
  SmartRef<BitMap> picture = gAppResources.GetImageResource(kWelcomePicture)->Get();
  if (!HasPixels(picture)) AssertFailed("image.Valid()", kSource.Line(112));
  const Rect client = GetMainClientRect();
  const Rect whole(0, 0, client.Width(), client.Height());
  AddSubview(new GraphicButton(this, whole, ~picture, nullptr, nullptr));

  const Point middle = client.Center() - client.TopLeft();
  const Point centre(middle.x, middle.y + middle.y / 4);
  if (projectMenu->CountEntries() > 0) {
    projectPopup = new PopupControl(this, CentredOn(centre, 127, 19), ~projectMenu);
    AddSubview(~projectPopup);
  }
  const String newText("Nouveau projet");
  AddSubview(new PushButton(this, CentredOn(Point(centre.x - 50, centre.y + 40), 120, 20), &newText,
                            new WelcomeCommand, ~gDromelApp));
  const String okText("OK");
  auto* ok = new PushButton(this, CentredOn(Point(centre.x + 60, centre.y + 40), 80, 20), &okText,
                            new DialogOKSignal, this);
  AddSubview(ok);
  ok->SetStyle(1);
  FitDialogToViews(*this);
  CentreOnMainWindow(*this);
}

WelcomeDialog::~WelcomeDialog() = default;

bool WelcomeDialog::Poll() {
  gForceTopmost = true;
  GetFrame()->BringToFront();
  gForceTopmost = false;
  return Dialog::Poll();
}

void WelcomeDialog::Accept() {
  SmartRef<WelcomeDialog> keep(this);
  try {
    if (projectPopup) {
      String chosen;
      projectPopup->GetItemText(&chosen);
      gDromelApp->OpenProject(chosen);
    } else {
      gDromelApp->NewProject();
    }
  } catch (Exception* failure) {
    if (!IsUserCancel(failure)) throw;
    // The project was in use (already told): the child chooses again.
    return;
  }
  if (!IsClosed()) Dialog::Accept();
}

SmartRef<Menu> WelcomeDialog::FillProjectList(bool forDialog) {
  SmartRef<FileReference> folder(FileReference::CurrentFolder());
  List folders = folder->ListSubfolders();
  const std::int32_t count = folders.NumItems();
  SmartRef<Menu> menu(new Menu(String("Projets"), count > 0 ? 1 : 0));
  if (!forDialog) {
    menu->AppendItem(String("Nouveau projet"), 0, MakeNewProjectCommand());
    if (count > 0) menu->AppendSeparator();
  }
  for (std::int32_t i = 1; i <= count; ++i) {
    const String name = FolderName(*CastSmart<FileReference>(folders.At(i)));
    menu->AppendItem(name, 0, new ProjectCommand(forDialog ? nullptr : &name));
  }
  return menu;
}

// ---- ProjectNameDialog ----

const char ProjectNameDialog::kNameFilter[] =
    " qwertyuiopasdfghjklzxcvbnmQWERTYUIOPASDFGHJKLZXCVBNM1234567890!@#$%&*()_+-=[] ";

ProjectNameDialog::ProjectNameDialog(String* name) : Dialog(kFrameModal), name(name) {
  Layout();
  FitDialogToViews(*this);
  Rect bounds = GetBounds();
  bounds.bottom += 10;
  bounds.Offset(-bounds.left, -bounds.top);
  bounds.CenterOn(LFWDecorator::Get().GetArea());
  SetGlobalBounds(bounds);
}

ProjectNameDialog::~ProjectNameDialog() = default;

void ProjectNameDialog::Layout() {
  SmartRef<BitMap> picture = OptionalPicture(kNamePicture);
  if (!picture) return;
  Rect pictureBounds;
  picture->GetBounds(&pictureBounds);
  const std::int32_t width = pictureBounds.Width();
  const std::int32_t height = pictureBounds.Height();
  SmartRef<DialogFormatter> formatter(new DialogFormatter(this, width - 20, 0, 5, 5, 10, 10));
  formatter->OffsetLast(0, height);
  AddSubview(new GraphicButton(this, Rect(0, 0, width, height), ~picture, nullptr, nullptr));

  // The label's view holds its text: it lives on the heap with it.
  SmartRef<String> label(new String("NomduProjet"));
  nameField = formatter->AddLabeledField(~label, 1, ~name, false, 1, 0, 0);
  nameField->SetFilter(SmartRef<String>(new String(kNameFilter)), true);
  formatter->OffsetLast(0, 10);

  SmartRef<BitMap> ok = OptionalPicture(kOKPicture);
  SmartRef<BitMap> okPressed = OptionalPicture(kOKPressedPicture);
  if (ok && okPressed) {
    Rect okBounds;
    ok->GetBounds(&okBounds);
    const std::int32_t top = formatter->NextPosition(false).y;
    const Rect okRect(width - 10 - okBounds.Width(), top, width - 10, top + okBounds.Height());
    AddSubview(new GraphicPushButton(this, okRect, ~ok, new DialogOKSignal, this, ~okPressed, nullptr));
    SmartRef<BitMap> cancel = OptionalPicture(kCancelPicture);
    SmartRef<BitMap> cancelPressed = OptionalPicture(kCancelPressedPicture);
    if (cancel && cancelPressed) {
      Rect cancelBounds;
      cancel->GetBounds(&cancelBounds);
      const Rect cancelRect(okRect.left - 10 - cancelBounds.Width(), top, okRect.left - 10,
                            top + cancelBounds.Height());
      AddSubview(
          new GraphicPushButton(this, cancelRect, ~cancel, new DialogCancelSignal, this, ~cancelPressed, nullptr));
    }
  }
  SetTarget(~nameField);
}

// ---- WelcomeCommand ----

int WelcomeCommand::GetSignalStatus(Smart* watcher) {
  return CastSmart<DromelApp>(watcher) ? kCommandEnabled : kCommandDisabled;
}

void WelcomeCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kSource.Line(40));
  CastSmart<DromelApp>(watcher)->NewProject();
}
