#include "app/links/LinkChooserDialog.h"

#include "ui/controls/Control.h"
#include "ui/controls/GraphicButton.h"
#include "ui/controls/ListView.h"
#include "ui/dialogs/DialogFormatter.h"
#include "ui/text/TextView.h"
#include "ui/views/WindowFrame.h"

SMART_DEFINE_ABSTRACT(LinkChooserDialog, "LinkChooserDialog", Dialog)

SmartRef<String> gPendingLinkURL;

namespace {

constexpr int kTitlePicture = 805;
constexpr int kOKPicture = 700;
constexpr int kOKPressedPicture = 701;
// The dialog's width when its title picture is missing.
constexpr Point kNoTitle(320, 0);

}  // namespace

LinkChooserDialog::LinkChooserDialog(FileReference *folder) : Dialog(kFrameModal), folder(new FileReference(*folder)) {
  ReadLinks(*this->folder, lists, false);
  Layout();
  FitAndCentre(*this);
}

LinkChooserDialog::~LinkChooserDialog() = default;

void LinkChooserDialog::Layout() {
  SmartRef<BitMap> title = LinkDialogPicture(kTitlePicture);
  const Point size = PictureSize(title, kNoTitle);
  const std::int32_t width = size.x;
  SmartRef<DialogFormatter> formatter(new DialogFormatter(this, width - 20, 0, 5, 5, 10, 10));
  formatter->OffsetLast(0, size.y);
  if (title) AddSubview(new GraphicButton(this, Rect(0, 0, width, size.y), ~title, nullptr, nullptr));

  const Point listAt = formatter->NextPosition(false);
  pane.Build(*this, *this, lists.linkNames, Rect(listAt.x, listAt.y, listAt.x + width - 20, listAt.y + 120));
  formatter->OffsetLast(0, 130);
  urlField = formatter->AddTextField(nullptr, false, 1, false, width - 10);
  formatter->OffsetLast(0, 30);

  SmartRef<BitMap> ok = LinkDialogPicture(kOKPicture);
  const Point at = formatter->NextPosition(false);
  if (ok) {
    const Point okSize = PictureSize(ok, Point(0, 0));
    const Rect okRect(width - 10 - okSize.x, at.y, width - 10, at.y + okSize.y);
    AddSubview(new GraphicPushButton(this, okRect, ~ok, new DialogOKSignal, this, ~LinkDialogPicture(kOKPressedPicture),
                                     nullptr));
  } else {
    const String okText("OK");
    AddSubview(new PushButton(this, Rect(width - 90, at.y, width - 10, at.y + 22), &okText, new DialogOKSignal, this));
  }
}

void LinkChooserDialog::RangeChanged(const Range *range) {
  if (range->command == 1) OnSelect(range->first);
}

void LinkChooserDialog::OnSelect(std::int32_t index) {
  if (index <= 0 || index > lists.linkURLs.NumItems()) return;
  selectedURL = CastSmart<String>(lists.linkURLs.At(index));
  urlField->SetText(*selectedURL);
}

bool LinkChooserDialog::AddLink() {
  SmartRef<String> name(new String);
  SmartRef<String> url(gPendingLinkURL ? gPendingLinkURL : SmartRef<String>(new String));
  if (!RunLinkEntryForm(name, url, String("Ajouter"))) return false;
  AppendLink(*folder, *name, *url, lists);
  return true;
}
