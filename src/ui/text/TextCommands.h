// The commands of the text menu: each changes one thing of the text style of the view being edited (its
// face, size, style bits or alignment) and ticks its item when the style already has that value.
#pragma once

#include <cstdint>

#include "core/String.h"
#include "ui/shell/Signal.h"

class StyleSetter;
class TextStyle;

// True while the authoring editor's text pane is being edited; the editor sets it when the pane starts
// editing and clears it when the pane stops or goes. The text menu's commands are disabled while it is
// false.
extern bool TextPaneOpen;

class TextStyleCommand : public GenericSignal {
 public:
  // 3 outside the editor's text pane and for a watcher that is not a StyleSetter or has no style; else 1
  // when the style already has the command's value, 0 otherwise.
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;
  // Changes the setter's style and hands it back to the setter; nothing when it has none.
  void Perform(StyleSetter* setter);

  // The command that sets the face: the one the font menu makes for each installed family.
  static GenericSignal* MakeFontCommand(const String& faceName);

 protected:
  TextStyleCommand() = default;
  virtual void Apply(TextStyle& style) = 0;
  virtual bool IsCurrent(const TextStyle& style) const = 0;
};

class FontCommand : public TextStyleCommand {
 public:
  explicit FontCommand(const String& faceName) : faceName(faceName) {}

 protected:
  void Apply(TextStyle& style) override;
  bool IsCurrent(const TextStyle& style) const override;

 private:
  String faceName;
};

class SizeCommand : public TextStyleCommand {
 public:
  explicit SizeCommand(std::int16_t size) : size(size) {}

 protected:
  void Apply(TextStyle& style) override;
  bool IsCurrent(const TextStyle& style) const override;

 private:
  std::int16_t size;
};

// Plain (bits 1) replaces the style; any other bits are toggled.
class StyleBitsCommand : public TextStyleCommand {
 public:
  explicit StyleBitsCommand(std::int32_t bits) : bits(bits) {}

 protected:
  void Apply(TextStyle& style) override;
  bool IsCurrent(const TextStyle& style) const override;

 private:
  std::int32_t bits;
};

class AlignmentCommand : public TextStyleCommand {
 public:
  explicit AlignmentCommand(std::int32_t alignment) : alignment(alignment) {}

 protected:
  void Apply(TextStyle& style) override;
  bool IsCurrent(const TextStyle& style) const override;

 private:
  std::int32_t alignment;
};
