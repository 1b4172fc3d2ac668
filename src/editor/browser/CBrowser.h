// The page browser: a scrolling grid of one folder's files (the project's pages, or the pictures and
// sounds of a clip-art folder) as framed thumbnails with their names. The tool it was opened for decides
// which files it lists and what a click on one does. Painting draws only the cells' frames and labels:
// each visible cell queues a job on the browser's strips chore, which draws the thumbnail later.
#pragma once

#include <cstdint>

#include "core/FileReference.h"
#include "core/ListData.h"
#include "graphics/Color.h"
#include "graphics/Image.h"
#include "ui/controls/Controllable.h"
#include "ui/views/View.h"

class App;
class BitMap;
class CChoreStrips;
class CHAApp;
class CHAPane;
class CTool;
class DisplayPort;
class TextStyle;

// The browser's tool ids (the tools its palettes make).
enum : std::int32_t {
  kBrowseSound = 10,
  kBrowseLink = 14,
  kBrowseOpen = 17,
  kBrowseClip = 19,
  kBrowseBackground = 20,
  kBrowseOpenReadOnly = 21,
  kBrowseHotLink = 22,
  kBrowseDeletePage = 23,
};

// False after a browser for hot links was made, true after any other: the thumbnails of pages then show
// the whole stage, not only what lies on it.
extern bool gBrowserWholePage;
// Set when a browser deleted a page file; the delete-page mode clears it before it opens the browser.
extern bool gPageDeleted;

// A picture of one colour: the blank thumbnail.
class SolidImage : public Image {
  SMART_CLASS(SolidImage)
 public:
  SolidImage(const Rect& rect, const Color& color) : rect(rect), color(color) {}
  SolidImage(const SolidImage& other) : Image(), rect(other.rect), color(other.color) {}
  void Draw(DisplayPort& port, int mode) override;
  using Image::Draw;
  void GetBounds(Rect* bounds) const override { *bounds = rect; }
  using Image::GetBounds;
  ColorTable* GetColorTable() const override { return nullptr; }

 private:
  Rect rect;
  Color color;
};

class CBrowser : public View, public Controllable {
  SMART_ABSTRACT(CBrowser)
 public:
  static constexpr std::int32_t kCellMargin = 16;
  static const Color backgroundColor;

  // Lists the folder's files for the tool (null: as for pictures and sounds) and starts the chore.
  CBrowser(View* parent, const Rect& frame, FileReference& folder, CTool* tool, std::int32_t thumbWidth,
           std::int32_t thumbHeight);
  ~CBrowser() override;
  SMART_NOT_COPYABLE

  void SetOwner(Smart* newOwner) { owner = newOwner; }

  // ---- View ----
  void DrawContent(DisplayPort& port, const Area& area) override;
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  void ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) override;

  // ---- Controllable: the scroll value is the first visible row ----
  void GetRange(std::int32_t command, std::int32_t* min, std::int32_t* max) override;
  std::int32_t GetPageSize(std::int32_t) override { return static_cast<std::int32_t>(rows); }
  void SetValue(std::int32_t command, std::int32_t value) override;
  std::int32_t GetValue(std::int32_t) override { return static_cast<std::int32_t>(topRow); }

  // ---- Geometry ----
  void Layout();
  // The item under the point, clamped to the item count (0 only for index 0).
  std::int16_t IndexAt(std::int32_t x, std::int32_t y) const;
  // The thumbnail rectangle of the item (rows above the first visible one have negative tops).
  Rect CellRect(std::int32_t index) const;
  // The item whose thumbnail rectangle holds the point, or 0.
  std::int16_t HitTest(std::int32_t x, std::int32_t y) const;

  // ---- Thumbnails ----
  // The strips chore's job function.
  static bool ThumbnailJob(View* owner, std::int32_t job, const Rect& frame);
  // Draws the item's thumbnail; true only when the item was deleted, so that queued indexes are stale.
  bool RenderThumbnail(std::int32_t index);

  // ---- Actions ----
  void NotifyOwner();
  static SmartRef<FileReference> EntryFile(FileReference* file, CHAApp& app);
  static void OpenEntry(FileReference* file, CHAApp& app, bool readOnly);
  static void CopyHotLink(FileReference* file, CHAApp& app);
  // Puts a framed thumbnail linking to the page on the clipboard (a new page for the empty entry). False
  // when no link was made (no page open, the new page's name not given, nothing to picture).
  static bool LinkToPage(FileReference* file, CHAApp& app, std::int32_t width, std::int32_t height);
  // Reads the file onto the clipboard; a background or a frame's sound is pasted into the active page at
  // once over the pane's range, hiding the one it replaces. False when nothing was imported.
  static bool ImportEntry(FileReference* file, CHAApp& app, bool background, bool sound);

  const List& GetFiles() const { return files; }
  std::int32_t NumItems() const { return files.NumItems(); }
  FileReference* FileAt(std::int32_t index) const;
  std::int32_t GetToolId() const;
  std::int32_t GetColumns() const { return static_cast<std::int32_t>(columns); }
  std::int32_t GetRows() const { return static_cast<std::int32_t>(rows); }
  std::int32_t GetTopRow() const { return static_cast<std::int32_t>(topRow); }
  Point GetThumbSize() const { return {thumbWidth, thumbHeight}; }
  CChoreStrips* GetChore() const { return ~chore; }

 private:
  void DrawCellFrame(DisplayPort& port, const Rect& thumbnail);
  void DrawLabel(DisplayPort& port, const String& text, const Rect& thumbnail);
  void DrawPreview(Image& preview, const Rect& cell);
  // Offers the damaged file for deletion; true when it was deleted and left the list.
  bool OfferDeletion(std::int32_t index, FileReference& file);
  void DeletePage(std::int32_t index, FileReference& file);
  void RemoveItem(std::int32_t index);

  SmartRef<CTool> tool;
  List files{&FileReference::classInfo};
  SmartRef<Smart> owner;
  SmartRef<CChoreStrips> chore;
  SmartRef<TextStyle> labelStyle;
  std::int32_t thumbWidth;
  std::int32_t thumbHeight;
  std::uint32_t columns = 1;
  std::uint32_t rows = 1;
  std::uint32_t topRow = 0;
};

// A thumbnail of the file no larger than the size, or null when the application has no picture of it.
// A failure to read the file is raised.
SmartRef<Image> MakeThumbnail(FileReference& file, std::int32_t width, std::int32_t height);
SmartRef<SolidImage> MakeBlankThumbnail(std::int32_t width, std::int32_t height);
// The folder's stored preview of the file, or null also when the store cannot be read; and a new one
// kept there when the folder can keep it. Previews only save work: their failures stop nothing.
SmartRef<Image> ReadStoredPreview(FileReference& file);
void KeepPreview(FileReference& file, Image* picture);
// The thumbnail in the tools window's swatch frame, proportions kept: the picture of a link to a page.
SmartRef<BitMap> MakeLinkPicture(Image& thumbnail, std::int32_t width, std::int32_t height);
// After a background was imported: the "__Background" sprite becomes the page's bottom background sprite,
// as large as the page, drawn opaque.
void FitBackground(CHAPane* pane);
