// Grids of picture buttons: the page editor's buttons, the paint-tool buttons, the option cells of a
// tool. A palette only reports the button the child picks to its listeners, which decide what it means
// and, as a rule, select the button back.
#pragma once

#include <cstdint>
#include <vector>

#include "core/PointerArray.h"
#include "editor/CPaletteDir.h"
#include "editor/KidResources.h"
#include "editor/PaintState.h"
#include "ui/views/View.h"

class CTool;

// Told of the button the child picked.
class PaletteListener {
 public:
  virtual void ButtonChosen(std::int16_t number) = 0;

 protected:
  ~PaletteListener() = default;
};

class CToolPalette : public View {
 public:
  // Button states.
  enum : std::uint8_t { kUp = 0, kDisabled = 1, kDown = 2 };

  // The buttons are numbered first .. first + rows × columns - 1 and start up; `first` is selected. The
  // look's pictures are loaded here, so that a missing one is reported when the palette is made.
  CToolPalette(View* parent, SmartRef<PaletteLook> look, std::int16_t first);
  ~CToolPalette() override;
  SMART_NOT_COPYABLE

  void DrawContent(DisplayPort& port, const Area& area) override;
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;

  virtual void DoubleClicked() {}
  virtual void InvalidateButton(std::int16_t number);
  // The picture of the button for its state; whole-palette pictures are drawn over the palette's bounds
  // (the port's clip keeps the one cell).
  virtual void DrawButtonContent(DisplayPort& port, std::int16_t number, const Rect& rect, bool plain);
  // The selection mark.
  virtual void DrawButton(DisplayPort& port, std::int16_t number, bool pressed);
  virtual void NotifySelection(std::int16_t number);

  std::int16_t GetSelection() const { return selection; }
  // A number outside the palette selects nothing.
  void SetSelection(std::int16_t number);
  void SetRepeatSelect(bool repeat) { options = repeat ? 1 : 0; }
  // -1 applies to every button.
  bool SetButtonEnabled(std::int16_t number, bool enabled);
  void SetButtonDown(std::int16_t number, bool down);
  std::uint8_t GetButtonState(std::int16_t number) const;
  Rect GetButtonRect(std::int16_t number) const;
  // The button at the point (window coordinates), or 0.
  std::int16_t HitTest(std::int32_t x, std::int32_t y) const;
  void AddTool(PaletteListener* listener);
  void RemoveTool(PaletteListener* listener);
  // Draws into the palette's buffer at once, then invalidates it.
  void RedrawButton(std::int16_t number);

  std::int16_t GetFirst() const { return first; }
  std::int16_t GetCount() const { return count; }

 protected:
  bool InRange(std::int16_t number) const { return number >= first && number < first + count; }
  std::size_t Slot(std::int16_t number) const { return static_cast<std::size_t>(number - first); }

 private:
  void DrawPicture(DisplayPort& port, ImageResource* picture, const Rect& rect);

  std::int16_t selection;
  std::int16_t first;
  std::int16_t count = 0;
  std::int16_t rows = 0;
  std::int16_t columns = 0;
  std::int16_t cellWidth = 0;
  std::int16_t cellHeight = 0;
  std::vector<std::uint8_t> states;
  std::vector<SmartRef<ImageResource>> downImages;
  std::vector<SmartRef<ImageResource>> downSelectedImages;
  SmartRef<ImageResource> image;
  SmartRef<ImageResource> pressedImage;
  SmartRef<ImageResource> disabledImage;
  std::uint8_t options = 0;
  PointerArray<PaletteListener> listeners;
};

// Marks its selected cell with an inverted frame.
class CellPalette : public CToolPalette {
 public:
  using CToolPalette::CToolPalette;
  void DrawButton(DisplayPort& port, std::int16_t number, bool pressed) override;
};

// A cell palette whose cells the tool draws: its options of one kind, in the current paints.
class CProxyPalette : public CellPalette, public PaintStateListener {
  SMART_ABSTRACT(CProxyPalette)
 public:
  CProxyPalette(View* parent, SmartRef<PaletteLook> look, std::int16_t first, CTool* tool, std::int16_t kind);
  ~CProxyPalette() override;

  void InvalidateButton(std::int16_t number) override;
  void DrawButtonContent(DisplayPort& port, std::int16_t number, const Rect& rect, bool plain) override;
  void PaintStateChanged() override { Invalidate(false); }
  // The tool's current option becomes the selection.
  void SelectCurrentChoice();

 private:
  SmartRef<CTool> tool;
  std::int16_t kind;
};

// The paint-tool buttons: the Tab key of the pixel editor goes back and forth between two of them.
class PaintToolPalette : public CToolPalette {
 public:
  PaintToolPalette(View* parent, SmartRef<PaletteLook> look, std::int16_t first, std::int16_t previous);
  // Tells the listeners -666, a number no button has, so that they drop their selection.
  ~PaintToolPalette() override;

  void GoBack();

 private:
  std::int16_t previous;
  std::int16_t initial;
};

// A floating palette window whose buttons choose the options of one tool.
class ModelPaletteWindow : public CPaletteDir, public PaletteListener {
 public:
  explicit ModelPaletteWindow(CTool* model);
  ~ModelPaletteWindow() override;

  void ButtonChosen(std::int16_t number) override { ItemClicked(number); }
  void ItemClicked(std::int32_t number) override;
  void SelectItem(std::int32_t number) override;
  void Activate(bool active) override;
  CTool* GetModel() const { return ~model; }

 private:
  SmartRef<CTool> model;
};
