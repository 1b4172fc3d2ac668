// The bases of every palette: a floating palette window and a palette view inside another window. Both
// play a click sound before the subclass selects the clicked item, and can clear a linked palette.
#pragma once

#include <cstdint>

#include "editor/FloatingWindow.h"
#include "ui/views/View.h"

class Sound;
class SoundResource;

class CPaletteDir : public FloatingWindow {
  SMART_ABSTRACT(CPaletteDir)
 public:
  // The sound may be null: the palette then selects silently.
  CPaletteDir(int frameKind, SoundResource* sound);
  ~CPaletteDir() override;

  // The child picked item n: the click sound (even for the item already selected), then SelectItem.
  virtual void ItemClicked(std::int32_t n);
  virtual void SelectItem(std::int32_t n);
  // The linked palette selects nothing.
  virtual void ResetLinked();

  void SetLinkedPalette(CPaletteDir* palette) { linkedPalette = palette; }

 private:
  SmartRef<SoundResource> sound;
  SmartRef<CPaletteDir> linkedPalette;
  std::uint8_t flag = 1;
};

class CPaletteView : public View {
  SMART_ABSTRACT(CPaletteView)
 public:
  // On the parent's bounds.
  CPaletteView(View* parent, Sound* sound);
  ~CPaletteView() override;

  virtual void ItemClicked(std::int32_t n);
  virtual void SelectItem(std::int32_t n);
  virtual void ResetLinked();

  void SetLinkedPalette(CPaletteView* palette) { linkedPalette = palette; }

 private:
  SmartRef<Sound> sound;
  SmartRef<CPaletteView> linkedPalette;
  std::uint8_t flag = 1;
};
