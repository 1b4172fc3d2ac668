// The delete-page window: the open project's pages in a browser with the delete tool, under a heading
// picture, with a closing button centred below.
#include "app/DromelApp.h"
#include "app/DromelResources.h"
#include "app/page/DromelToolPalette.h"
#include "app/page/DromelWindow.h"
#include "core/FileReference.h"
#include "editor/CTool.h"
#include "editor/browser/BrowserPanes.h"
#include "editor/browser/CBrowser.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/ImageResource.h"
#include "ui/controls/GraphicButton.h"
#include "ui/dialogs/Dialog.h"
#include "ui/dialogs/DialogFormatter.h"
#include "ui/text/TextView.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/WindowFrame.h"

namespace {

constexpr int kHeadingPicture = 803;
constexpr int kPageAreaPicture = 553;
constexpr int kCloseButtonPicture = 710;
constexpr int kCloseButtonPressedPicture = 711;
constexpr std::int32_t kMargin = 20;
constexpr std::int32_t kPageAreaHeight = 250;
constexpr std::int32_t kThumbWidth = 64;
constexpr std::int32_t kThumbHeight = 48;
// The palette's browsers of the project's own pages: to open one, and to link to one.
constexpr std::int16_t kProjectPagesKind = 4;
constexpr std::int16_t kPageLinksKind = 19;

// Raises the set's missing-resource error (after its message) when the file is missing or damaged.
SmartRef<BitMap> Picture(int n) { return gAppResources.GetImageResource(n)->Get(); }

Point SizeOf(BitMap& picture) {
  Rect bounds;
  picture.GetBounds(&bounds);
  return bounds.Size();
}

}  // namespace

void DromelApp::DeletePageMode() {
  SmartRef<Dialog> dialog(new Dialog(kFrameModal));
  const SmartRef<BitMap> heading = Picture(kHeadingPicture);
  const Point headingSize = SizeOf(*heading);
  const std::int32_t width = headingSize.x - kMargin;
  SmartRef<DialogFormatter> formatter(new DialogFormatter(~dialog, width, 0, 5, 5, 10, 10));
  // The first line comes below the heading.
  formatter->OffsetLast(0, headingSize.y);
  formatter->AddTextField(new String("Clique sur une page pour la supprimer"), false, 1, false, 0);
  dialog->AddSubview(new GraphicButton(~dialog, Rect(0, 0, headingSize.x, headingSize.y), ~heading, nullptr, nullptr));

  const Rect pageArea = Rect::FromSizeAndOrigin(Point(width, kPageAreaHeight), formatter->NextPosition(false));
  dialog->AddSubview(new GraphicButton(~dialog, pageArea, ~Picture(kPageAreaPicture), nullptr, nullptr));
  const SmartRef<CTool> deleteTool(new CTool(kBrowseDeletePage, nullptr, false, nullptr));
  const SmartRef<FileReference> project(FileReference::CurrentFolder());
  // No owner: the browser counts it, and the window holding the browser would keep itself alive.
  dialog->AddSubview(new PageBrowserPane(~dialog, *project, ~deleteTool, kThumbWidth, kThumbHeight, pageArea, nullptr));
  formatter->OffsetLast(0, kPageAreaHeight + 10);

  const SmartRef<BitMap> button = Picture(kCloseButtonPicture);
  const SmartRef<BitMap> pressed = Picture(kCloseButtonPressedPicture);
  const Point buttonSize = SizeOf(*button);
  Rect buttonRect = Rect::FromSizeAndOrigin(buttonSize, formatter->NextPosition(false));
  buttonRect.Offset((width - buttonSize.x) / 2, 0);
  dialog->AddSubview(new GraphicPushButton(~dialog, buttonRect, ~button, new DialogOKSignal, ~dialog, ~pressed, nullptr));

  dialog->FitSize(true);
  const Point fitted = dialog->GetBounds().Size();
  dialog->SetSize(fitted.x, fitted.y + 10);
  LFWDecorator::Get().Place(*dialog, LFWDecorator::kCentre, LFWDecorator::kCentre);

  // A browser of the project's pages open over the page must show the pages left once the window has
  // closed. The window's activation has taken the stage pane from the palette, which then drops its
  // browser: the kind is read before that.
  const SmartRef<DromelWindow> pageWindow(CastSmart<DromelWindow>(~FrontWindow()));
  DromelToolPalette* shownPalette = pageWindow ? pageWindow->GetToolPalette() : nullptr;
  const std::int16_t kind = shownPalette ? shownPalette->GetToolKind() : 0;
  dialog->Open(true);

  gPageDeleted = false;
  while (dialog->Poll()) {
  }
  if (gPageDeleted) Synchronize();
  if (kind != kProjectPagesKind && kind != kPageLinksKind) return;
  if (~FrontWindow() != static_cast<Window*>(~pageWindow)) return;
  DromelToolPalette* palette = pageWindow->GetToolPalette();
  if (gPageDeleted || palette->GetToolKind() != kind) palette->CreateTool(kind);
}
