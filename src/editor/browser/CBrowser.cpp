#include "editor/browser/CBrowser.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/SourcePlace.h"
#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/browser/CChoreStrips.h"
#include "engine/app/CHAApp.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextStyle.h"

SMART_DEFINE_ABSTRACT(CBrowser, "CBrowser", View, Controllable)

bool gBrowserWholePage = true;
bool gPageDeleted = false;

const Color CBrowser::backgroundColor(0xFFFF, 0xFFFF, 0x9999, 0);

namespace {

constexpr SourceName kSource("ORVANEL/AUTHOR/CBrowser");

List ListedTypes(std::int32_t toolId) {
  if (toolId == kBrowseHotLink) {
    List types(&FileType::classInfo);
    types.AppendRef(SmartRef<FileType>(new FileType(MakeDocumentFileType())));
    return types;
  }
  if (auto* app = ~gCHAApp) return app->GetFileTypes(3);
  // Without the engine's application (a tool, a test) the same list, with pages as the document type.
  List types = CHAApp::ReaderFileTypes();
  types.AppendRef(SmartRef<FileType>(new FileType(MakeDocumentFileType())));
  return types;
}

}  // namespace

CBrowser::CBrowser(View* parent, const Rect& frame, FileReference& folder, CTool* tool, std::int32_t thumbWidth,
                   std::int32_t thumbHeight)
    : View(parent, frame, kAnchorAll, true, false), tool(tool), thumbWidth(thumbWidth), thumbHeight(thumbHeight) {
  const std::int32_t id = GetToolId();
  files = folder.ListFiles(ListedTypes(id), false);
  if (!files.GetData()) AssertFailed("~files != NULL", kSource.Line(212));
  if (id == kBrowseLink) files.Insert(nullptr, 0, 1);
  chore = new CChoreStrips(this, &CBrowser::ThumbnailJob);
  Layout();
  gBrowserWholePage = id != kBrowseHotLink;
}

CBrowser::~CBrowser() {
  try {
    if (chore) chore->Stop();
  } catch (Exception* exception) {
    // A timer the window system no longer knows is stopped all the same.
    SmartRef<Exception> ignored(exception);
  }
  chore = nullptr;
  files->RemoveAll();
  owner = nullptr;
  tool = nullptr;
}

std::int32_t CBrowser::GetToolId() const { return tool ? tool->GetId() : 0; }

FileReference* CBrowser::FileAt(std::int32_t index) const {
  return static_cast<FileReference*>(CastSmart(files.At(index), &FileReference::classInfo));
}

void CBrowser::Layout() {
  const Rect frame = GetBounds();
  const std::uint32_t first = topRow * columns + 1;
  columns = static_cast<std::uint32_t>(std::max(1, frame.Width() / (thumbWidth + 2 * kCellMargin)));
  rows = static_cast<std::uint32_t>(std::max(1, frame.Height() / (thumbHeight + 2 * kCellMargin)));
  topRow = (first - 1) / columns;
}

void CBrowser::ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) {
  View::ResizeBy(dLeft, dTop, dRight, dBottom);
  Layout();
}

std::int16_t CBrowser::IndexAt(std::int32_t x, std::int32_t y) const {
  const Rect frame = GetBounds();
  const std::int32_t cellWidth = thumbWidth + 2 * kCellMargin;
  const std::int32_t cellHeight = thumbHeight + 2 * kCellMargin;
  const std::int32_t index = ((y - frame.top) / cellHeight + static_cast<std::int32_t>(topRow)) *
                                 static_cast<std::int32_t>(columns) +
                             (x - frame.left) / cellWidth + 1;
  if (index == 0) return 0;
  // Compared unsigned: a point above or left of the frame gives the item count, as one past the end.
  const auto count = static_cast<std::uint32_t>(files.NumItems());
  return static_cast<std::int16_t>(std::min(static_cast<std::uint32_t>(index), count));
}

Rect CBrowser::CellRect(std::int32_t index) const {
  const Rect frame = GetBounds();
  const std::uint32_t n = static_cast<std::uint32_t>(index) - 1;
  const std::int32_t row = static_cast<std::int32_t>(n / columns) - static_cast<std::int32_t>(topRow);
  const std::int32_t column = static_cast<std::int32_t>(n % columns);
  const std::int32_t left = frame.left + column * (thumbWidth + 2 * kCellMargin) + kCellMargin;
  const std::int32_t top = frame.top + row * (thumbHeight + 2 * kCellMargin) + kCellMargin;
  return {left, top, left + thumbWidth, top + thumbHeight};
}

std::int16_t CBrowser::HitTest(std::int32_t x, std::int32_t y) const {
  const std::int16_t index = IndexAt(x, y);
  if (index <= 0) return 0;
  return CellRect(index).Contains(x, y) ? index : 0;
}

void CBrowser::GetRange(std::int32_t, std::int32_t* min, std::int32_t* max) {
  const auto n = static_cast<std::uint32_t>(files.NumItems());
  const std::uint32_t visible = rows * columns;
  *min = 0;
  *max = n > visible ? static_cast<std::int32_t>((n - visible + columns - 1) / columns) : 0;
}

void CBrowser::SetValue(std::int32_t, std::int32_t value) {
  if (static_cast<std::uint32_t>(value) == topRow) return;
  topRow = static_cast<std::uint32_t>(std::max(0, value));
  Invalidate(false);
}

void CBrowser::DrawContent(DisplayPort& port, const Area&) {
  Rect frame = GetBounds();
  if (frame.IsEmpty()) return;
  if (GetToolId() == kBrowseDeletePage) {
    port.DrawBevel(frame, standardColors[5], standardColors[3], 4);
    frame.Inset(2);
  }
  port.DrawRect(frame, backgroundColor, backgroundColor, 1);
  const std::int32_t n = files.NumItems();
  for (std::int32_t i = IndexAt(GetBounds().left, GetBounds().top); i <= n; ++i) {
    if (i == 0) continue;
    const Rect cell = CellRect(i);
    if (cell.top >= GetBounds().bottom) break;
    chore->AddJob(i);
    PortState clipped(port, GetBounds());
    DrawCellFrame(port, cell);
    String label;
    if (FileReference* file = FileAt(i))
      file->GetBaseNameAndType(label);
    else
      label = String("Nouvelle page");
    DrawLabel(port, label, cell);
  }
}

void CBrowser::DrawCellFrame(DisplayPort& port, const Rect& thumbnail) {
  Rect rect = thumbnail;
  rect.Inset(-2);
  port.DrawRect(rect, standardColors[kTransparentColor], standardColors[1], 1);
  for (int bevel = 0; bevel < 2; ++bevel) {
    rect.Inset(1);
    port.DrawBevel(rect, standardColors[5], standardColors[3], 1);
  }
}

void CBrowser::DrawLabel(DisplayPort& port, const String& text, const Rect& thumbnail) {
  // One style for every label: making a style makes its font.
  if (!labelStyle)
    labelStyle = new TextStyle(1, 9, kAlignCenter, standardColors[1], standardColors[kTransparentColor]);
  SmartRef<StyledText> label(new StyledText(text, SmartRef<Smart>(~labelStyle)));
  label->Draw(port, Rect(thumbnail.left, thumbnail.bottom + 6, thumbnail.right, thumbnail.bottom + 18),
              standardColors[1]);
}
