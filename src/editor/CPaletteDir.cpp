#include "editor/CPaletteDir.h"

#include "core/Resources.h"
#include "core/Sound.h"

SMART_DEFINE_ABSTRACT(CPaletteDir, "CPaletteDir", Window)
SMART_DEFINE_ABSTRACT(CPaletteView, "CPaletteView", View)

CPaletteDir::CPaletteDir(int frameKind, SoundResource* sound) : FloatingWindow(frameKind), sound(sound) {}

CPaletteDir::~CPaletteDir() = default;

void CPaletteDir::ItemClicked(std::int32_t n) {
  if (sound) {
    if (Sound* played = sound->Get()) played->Play(0);
  }
  SelectItem(n);
}

void CPaletteDir::SelectItem(std::int32_t) {}

void CPaletteDir::ResetLinked() {
  if (linkedPalette) linkedPalette->SelectItem(0);
}

namespace {

Rect BoundsOf(View* parent) { return parent ? parent->GetBounds() : Rect(); }

}  // namespace

CPaletteView::CPaletteView(View* parent, Sound* sound)
    : View(parent, BoundsOf(parent), kAnchorTopLeft, false, false), sound(sound) {}

CPaletteView::~CPaletteView() = default;

void CPaletteView::ItemClicked(std::int32_t n) {
  if (sound) sound->Play(0);
  SelectItem(n);
}

void CPaletteView::SelectItem(std::int32_t) {}

void CPaletteView::ResetLinked() {
  if (linkedPalette) linkedPalette->SelectItem(0);
}
