// The text pane: where the child types and styles one text of a page. The text movie opens it over the
// frame's place on the stage; it edits the frame's StyledText through an editable TextView, follows the
// foreground colour, grows with its text, takes the text palette's styles and, when the editing ends,
// gives the text back as a frame resource with its rectangle.
#pragma once

#include "editor/PaintState.h"
#include "editor/pixels/CEditPane.h"
#include "ui/controls/Controllable.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextView.h"

// The style a new, empty text receives: the style of the first text edited, then that of the last
// non-empty text closed. Null only before the first pane opens.
extern SmartRef<TextStyle> gDefaultTextStyle;

class CTextView : public CEditPane, public PaintStateListener, public ControllableObserver {
  SMART_ABSTRACT(CTextView)
 public:
  // Not added to the parent: the caller does that. A text without a style (a damaged page) takes the
  // framework's default style; an empty one a copy of gDefaultTextStyle. The pane opens no higher than
  // 50 pixels from the window's top.
  CTextView(View* parent, const Rect& frame, StyledText* text);
  ~CTextView() override;

  // The text as a new frame resource; the rectangle (the frame's on the way in) becomes the text's
  // place in the frame's coordinates, no wider than the text needs.
  bool GetEditResult(Rect* bounds, SmartRef<Smart>* edited, bool store) override;
  // The text takes a copy of the whole style (the palette's style stays the palette's).
  void ApplyTextStyle(const TextStyle* style);
  // The foreground colour became the text's.
  void PaintStateChanged() override;
  // The text view grew or shrank with its text: the pane follows.
  void TargetChanged(void* unused) override;
  void RangeChanged(const Range*) override {}

  TextView* GetTextView() const { return ~textView; }
  StyledText* GetText() const { return ~text; }

 private:
  SmartRef<TextView> textView;
  SmartRef<StyledText> text;
};
