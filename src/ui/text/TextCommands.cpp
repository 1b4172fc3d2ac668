#include "ui/text/TextCommands.h"

#include "ui/text/TextStyle.h"

bool TextPaneOpen = false;

int TextStyleCommand::GetSignalStatus(Smart* watcher) {
  if (!TextPaneOpen) return kCommandDisabled;
  StyleSetter* setter = CastSmart<StyleSetter>(watcher);
  if (setter == nullptr) return kCommandDisabled;
  const SmartRef<TextStyle> style = setter->GetTextStyle();
  if (!style) return kCommandDisabled;
  return IsCurrent(*style) ? kCommandChecked : kCommandEnabled;
}

void TextStyleCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, SourceName("TextView").Line(200));
  Perform(CastSmart<StyleSetter>(watcher));
}

void TextStyleCommand::Perform(StyleSetter* setter) {
  SmartRef<TextStyle> style = setter->GetTextStyle();
  if (!style) return;
  Apply(*style);
  setter->SetTextStyle(style);
}

GenericSignal* TextStyleCommand::MakeFontCommand(const String& faceName) { return new FontCommand(faceName); }

void FontCommand::Apply(TextStyle& style) { style.SetFontName(faceName); }

bool FontCommand::IsCurrent(const TextStyle& style) const { return style.GetFontName() == faceName; }

void SizeCommand::Apply(TextStyle& style) { style.SetSize(size); }

bool SizeCommand::IsCurrent(const TextStyle& style) const { return style.GetSize() == size; }

void StyleBitsCommand::Apply(TextStyle& style) {
  if (bits == kPlainStyle) {
    style.SetStyle(kPlainStyle);
  } else if (style.HasStyle(bits)) {
    style.RemoveStyle(bits);
  } else {
    style.AddStyle(bits);
  }
}

bool StyleBitsCommand::IsCurrent(const TextStyle& style) const { return style.HasStyle(bits) != 0; }

void AlignmentCommand::Apply(TextStyle& style) { style.SetAlignment(alignment); }

bool AlignmentCommand::IsCurrent(const TextStyle& style) const { return style.GetAlignment() == alignment; }
