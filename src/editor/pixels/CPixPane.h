// The pixel editor: one frame of a picture movie, painted pixel by pixel in an 8-bit picture of the
// pane's size. Every press makes the current tool's mouse task and runs it through a task tool; the pane
// keeps a rectangular selection with a blinking outline, and hands the picture back trimmed to its painted
// pixels when the edit ends.
#pragma once

#include <cstdint>

#include "editor/pixels/CEditPane.h"
#include "graphics/Area.h"
#include "graphics/Image.h"

class CMouseTask;
class CStamp;
class CTool;
class OffScreen;

class CPixPane : public CEditPane {
 public:
  // Bounds and pictureRect in window coordinates; the frame's picture (or none) is drawn onto pictureRect.
  CPixPane(View* parent, const Rect& bounds, const Rect& pictureRect, CStamp* frameImage);
  ~CPixPane() override;

  void DrawContent(DisplayPort& port, const Area& area) override;
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  bool KeyDown(std::int32_t key, std::int32_t modifiers) override;
  bool MouseMoved(std::int32_t x, std::int32_t y, std::int32_t modifiers) override;
  void Idle() override;
  // The selection, or the whole picture, as a stamp that remembers where it was copied from.
  void Copy(Clipboard* clipboard) override;
  // The clipboard's picture floats in the selection: where it was copied from, or centred.
  void Paste(Clipboard* clipboard, std::int32_t first, std::int32_t second, std::int32_t third) override;
  void Clear() override;
  bool CanEdit(int operation) override;
  void ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) override;
  void Activate(bool active) override;
  // The painted part of the picture, trimmed to what is not white, in the coordinates of the rectangle
  // given (its top-left stands for the pane's).
  bool GetEditResult(Rect* bounds, SmartRef<Smart>* edited, bool store) override;
  void HandleNumberCommand(std::int32_t number, void* argument) override;
  int GetNumberCommandStatus(std::int32_t number) override;

  SmartRef<Area> GetSelection() const { return selection; }
  bool CanDrawDirect(bool toggle) { return !IsMagnified(false) && ToggleOption(toggle); }
  bool IsMagnified(bool) const { return flags & kMagnified; }
  Point ViewToPicture(std::int32_t x, std::int32_t y) const;
  void GetMagnifiedRects(Rect* source, Rect* destination) const;
  void Deselect();
  void SelectAll(bool tighten);
  void MakeTask();
  void RedrawPicture(DisplayPort& port, bool plain);
  void CommandCopy();
  void CommandPaste();
  void CommandClear(std::int32_t code);

  OffScreen* GetPicture() const { return ~picture; }
  CMouseTask* GetTask() const { return ~task; }
  // The picture point of a window point, while not magnified.
  Point PictureOrigin() const;

  // How long each step of the opening and closing zoom shows, and the selection blink's pause.
  static std::uint32_t zoomStepDelay;
  static std::uint32_t blinkDelay;

 private:
  enum : std::uint8_t { kMagnified = 1 };
  void DrawPicture(DisplayPort& port, const Rect& rect, bool plain);
  void AnimateZoomRect(const Rect& from, const Rect& to);
  void SetSelectedTool(std::int32_t id);

  SmartRef<OffScreen> picture;
  SmartRef<CMouseTask> task;
  SmartRef<Area> selection;
  Point scroll;
  std::uint8_t flags = 0;
  // The frame had a picture: an edit that whitens it all gives an empty frame.
  bool hadPicture = false;
};

// The pixel pane last made or last given a pencil, eraser or selection gesture.
extern SmartRef<CPixPane> gPixPane;

// The current tool of the tools window, or null.
SmartRef<CTool> CurrentEditorTool();
std::int32_t CurrentEditorToolId();

// An image drawn through an area: what the pane copies of a selection.
class ClippedImage : public Image {
  SMART_CLASS(ClippedImage)
 public:
  ClippedImage(SmartRef<Image> image, SmartRef<Area> clip);

  using Image::Draw;
  void Draw(DisplayPort& port, int mode) override;
  using Image::GetArea;
  Area* GetArea() const override;
  ColorTable* GetColorTable() const override;
  using Image::GetBounds;
  void GetBounds(Rect* bounds) const override;

 private:
  SmartRef<Image> image;
  SmartRef<Area> clip;
};
