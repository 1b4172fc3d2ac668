#include "editor/text/CTextStyleTool.h"

#include <array>

#include "editor/CDropperTool.h"
#include "editor/CToolsDir.h"
#include "editor/KidResources.h"
#include "editor/text/CTextView.h"
#include "ui/text/StyledText.h"

namespace {

constexpr std::int32_t kTextStyleToolId = 4;
constexpr int kUseSound = 14;
constexpr int kHintSound = 42;

// Choices 2 and 3 both give face 3: the font palette has four cells for three faces.
constexpr std::array<std::int32_t, 4> kFontIds{2, 3, 3, 4};
// Plain, italic, the fourth style bit, bold, then bold italic and bold with the fourth bit.
constexpr std::array<std::int32_t, 6> kFaceBits{1, 2, 8, 4, 6, 12};
constexpr std::array<std::int16_t, 10> kSizes{9, 10, 12, 14, 16, 18, 24, 36, 48, 72};

void Apply(TextStyle& style, std::int16_t kind, std::int16_t index) {
  const auto i = static_cast<std::size_t>(index - 1);
  switch (kind) {
    case CTextStyleTool::kFont: style.SetFontId(kFontIds[i]); break;
    case CTextStyleTool::kFace: style.SetStyle(kFaceBits[i]); break;
    case CTextStyleTool::kSize: style.SetSize(kSizes[i]); break;
    default: break;
  }
}

// The text pane of the stage pane the tools window follows, when it is editing a text.
CTextView* EditedText() {
  if (!gToolsDirectory) return nullptr;
  ToolsPane* pane = gToolsDirectory->GetPane();
  if (pane == nullptr) return nullptr;
  return dynamic_cast<CTextView*>(~pane->GetEditPane());
}

}  // namespace

CTextStyleTool::CTextStyleTool()
    : CTool(kTextStyleToolId, KidResources::GetSound(kUseSound), false, KidResources::GetSound(kHintSound)),
      style(new TextStyle(1, defaultTextSize, kAlignLeft, standardColors[1], standardColors[kTransparentColor])) {}

std::int16_t CTextStyleTool::CountChoices(std::int16_t kind) {
  switch (kind) {
    case kFont: return static_cast<std::int16_t>(kFontIds.size());
    case kFace: return static_cast<std::int16_t>(kFaceBits.size());
    case kSize: return static_cast<std::int16_t>(kSizes.size());
    default: return 0;
  }
}

void CTextStyleTool::SetChoice(std::int16_t kind, std::int16_t index) {
  if (index < 1 || index > CountChoices(kind)) return;
  Apply(*style, kind, index);
  if (CTextView* edited = EditedText()) edited->ApplyTextStyle(~style);
  listeners.NotifyAll([](TextStyleListener* listener) { listener->TextStyleChanged(); });
}

SmartRef<TextStyle> CTextStyleTool::StyleWithChoice(std::int16_t kind, std::int16_t index) const {
  SmartRef<TextStyle> copy(new TextStyle(*style));
  Apply(*copy, kind, index);
  return copy;
}

void CTextStyleTool::DrawChoice(DisplayPort& port, const Rect& rect, std::int16_t kind, std::int16_t index) {
  if (index < 1 || index > CountChoices(kind)) return;
  SmartRef<TextStyle> sample = StyleWithChoice(kind, index);
  sample->SetTextColor(gPaintForeground);
  SmartRef<StyledText> abc(new StyledText("abc", 3, nullptr));
  abc->SetStyle(~sample);
  Rect line(0, 0, rect.Width(), sample->GetSize());
  line.CenterOn(rect);
  abc->Draw(port, line, gPaintForeground);
}
