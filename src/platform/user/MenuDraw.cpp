// How menus look: the items of a menu bar in a window's frame, and pop-up menus in columns, with greyed,
// ticked and highlighted items, separators, bitmaps and the arrows of sub-menus.
#include <algorithm>
#include <cstring>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/text/Text.h"
#include "platform/user/Look.h"
#include "platform/user/MenuData.h"

namespace platform::user {

namespace {

constexpr COLORREF kText = 0x00000000;
constexpr COLORREF kSelection = 0x00800000;  // navy
constexpr COLORREF kSelectedText = 0x00FFFFFF;

constexpr int kBarPad = 6;        // blank on each side of a bar item's title
constexpr int kPopupBorder = 3;   // the raised frame and a pixel of face inside it
constexpr int kItemHeight = 18;
constexpr int kSeparatorHeight = 8;
constexpr int kTickMargin = 18;   // left of an item's text, where its tick goes
constexpr int kArrowMargin = 18;  // right of it, where a sub-menu's arrow goes
constexpr int kColumnGap = 6;     // between columns; a column bar break draws its line in the middle

// A context with the menus' font, for measuring.
HDC MeasuringDC() {
  static HDC dc = nullptr;
  if (dc == nullptr) {
    dc = CreateCompatibleDC(nullptr);
    LOGFONTA description{};
    description.lfHeight = -11;
    description.lfWeight = FW_NORMAL;
    std::strcpy(description.lfFaceName, "Arial");
    static const HFONT font = CreateFontIndirectA(&description);
    if (font != nullptr) SelectObject(dc, font);
  }
  return dc;
}

HGDIOBJ MenuFont() { return GetCurrentObject(MeasuringDC(), OBJ_FONT); }

int TextHeight() {
  TEXTMETRICA metrics{};
  GetTextMetricsA(MeasuringDC(), &metrics);
  return metrics.tmHeight;
}

SIZE TextSize(const std::string& text) {
  SIZE size{0, TextHeight()};
  if (!text.empty()) GetTextExtentPoint32A(MeasuringDC(), text.data(), static_cast<int>(text.size()), &size);
  return size;
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

// What an item shows, without its margins.
SIZE ContentSize(const MenuItemData& item) {
  if (item.flags & MF_BITMAP) return BitmapSize(item.bitmap);
  return TextSize(item.text);
}

void DrawText(HDC dc, const std::string& text, int x, int y, COLORREF colour) {
  SetTextColor(dc, colour);
  TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

// An item's content at its place: text in the colour asked for, greyed text embossed unless highlighted,
// a bitmap as it is.
void DrawContent(HDC dc, const MenuItemData& item, int x, RECT box, bool highlighted) {
  const SIZE size = ContentSize(item);
  const int y = box.top + (box.bottom - box.top - size.cy) / 2;
  if (item.flags & MF_BITMAP) {
    const HDC source = CreateCompatibleDC(dc);
    const HGDIOBJ previous = SelectObject(source, item.bitmap);
    BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  const HGDIOBJ previous = SelectObject(dc, MenuFont());
  if (item.IsDisabled()) {
    if (!highlighted) DrawText(dc, item.text, x + 1, y + 1, kHighlight);
    DrawText(dc, item.text, x, y, kShadow);
  } else {
    DrawText(dc, item.text, x, y, highlighted ? kSelectedText : kText);
  }
  SelectObject(dc, previous);
}

// A tick of 7 x 7 pixels with its top-left corner at (x, y).
void DrawTick(HDC dc, int x, int y, COLORREF colour) {
  static constexpr const char* kRows[] = {"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."};
  for (int row = 0; row < 7; ++row) {
    for (int column = 0; column < 7; ++column) {
      if (kRows[row][column] == '#') Fill(dc, RECT{x + column, y + row, x + column + 1, y + row + 1}, colour);
    }
  }
}

// A small triangle pointing right, 4 pixels wide and 7 high.
void DrawArrow(HDC dc, int x, int y, COLORREF colour) {
  for (int i = 0; i < 4; ++i) Fill(dc, RECT{x + i, y + i, x + i + 1, y + 7 - i}, colour);
}

int ItemHeight(const MenuItemData& item) {
  if (item.IsSeparator()) return kSeparatorHeight;
  return std::max<int>(kItemHeight, ContentSize(item).cy + 4);
}

int ItemWidth(const MenuItemData& item) {
  if (item.IsSeparator()) return kTickMargin + kArrowMargin;
  return kTickMargin + ContentSize(item).cx + kArrowMargin;
}

bool StartsColumn(const MenuItemData& item) { return (item.flags & (MF_MENUBARBREAK | MF_MENUBREAK)) != 0; }

}  // namespace

RECT BarRect(const WindowData& window) {
  const FrameLayout f = FrameLayoutOf(window.style, window.exStyle, window.hasMenu);
  const int width = window.rect.right - window.rect.left;
  const int top = f.border + f.caption;
  return RECT{f.border, top, width - f.border, top + std::max(f.menuBar - 1, 0)};
}

std::vector<RECT> BarItemRects(const WindowData& window) {
  std::vector<RECT> rects;
  const MenuData* menu = window.hasMenu ? FindMenu(window.menu) : nullptr;
  if (menu == nullptr) return rects;
  const RECT bar = BarRect(window);
  int x = bar.left + 1;
  for (const MenuItemData& item : menu->items) {
    const int width = item.IsSeparator() ? kBarPad : ContentSize(item).cx + 2 * kBarPad;
    rects.push_back(RECT{x, bar.top + 1, x + width, bar.bottom});
    x += width;
  }
  return rects;
}

void DrawBar(HDC dc, const WindowData& window, RECT bar, int hot) {
  const MenuData* menu = window.hasMenu ? FindMenu(window.menu) : nullptr;
  if (menu == nullptr) return;
  const std::vector<RECT> rects = BarItemRects(window);
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const MenuItemData& item = menu->items[i];
    RECT r = rects[i];
    if (r.left >= bar.right) break;  // no room left on the bar
    if (item.IsSeparator()) continue;
    // The open item looks pressed in, its title a pixel down and right.
    const bool open = static_cast<int>(i) == hot;
    if (open) Ring(dc, r, kShadow, kHighlight);
    const int shift = open ? 1 : 0;
    DrawContent(dc, item, r.left + kBarPad + shift, RECT{r.left, r.top + shift, r.right, r.bottom + shift}, false);
  }
}

std::vector<RECT> PopupItemRects(const MenuData& menu) {
  std::vector<RECT> rects(menu.items.size());
  std::size_t start = 0;
  int x = kPopupBorder;
  while (start < menu.items.size()) {
    std::size_t end = start + 1;
    while (end < menu.items.size() && !StartsColumn(menu.items[end])) ++end;
    int width = 0;
    for (std::size_t i = start; i < end; ++i) width = std::max(width, ItemWidth(menu.items[i]));
    int y = kPopupBorder;
    for (std::size_t i = start; i < end; ++i) {
      const int height = ItemHeight(menu.items[i]);
      rects[i] = RECT{x, y, x + width, y + height};
      y += height;
    }
    x += width + kColumnGap;
    start = end;
  }
  return rects;
}

SIZE PopupSize(const MenuData& menu) {
  int right = kPopupBorder, bottom = kPopupBorder;
  for (const RECT& r : PopupItemRects(menu)) {
    right = std::max<int>(right, r.right);
    bottom = std::max<int>(bottom, r.bottom);
  }
  // An empty menu still shows as a small frame.
  if (menu.items.empty()) {
    right = kPopupBorder + kTickMargin + kArrowMargin;
    bottom = kPopupBorder + kSeparatorHeight;
  }
  return SIZE{right + kPopupBorder, bottom + kPopupBorder};
}

void DrawPopup(HDC dc, const MenuData& menu, int hot) {
  const SIZE size = PopupSize(menu);
  const RECT all{0, 0, size.cx, size.cy};
  Fill(dc, all, kFace);
  Ring(dc, all, kFace, kDark);
  Ring(dc, RECT{1, 1, size.cx - 1, size.cy - 1}, kHighlight, kShadow);
  const std::vector<RECT> rects = PopupItemRects(menu);
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const MenuItemData& item = menu.items[i];
    const RECT r = rects[i];
    if (i > 0 && (item.flags & MF_MENUBARBREAK)) {
      const int line = r.left - kColumnGap / 2 - 1;
      Fill(dc, RECT{line, kPopupBorder - 1, line + 1, size.cy - kPopupBorder + 1}, kShadow);
      Fill(dc, RECT{line + 1, kPopupBorder - 1, line + 2, size.cy - kPopupBorder + 1}, kHighlight);
    }
    if (item.IsSeparator()) {
      const int middle = (r.top + r.bottom) / 2 - 1;
      Fill(dc, RECT{r.left + 1, middle, r.right - 1, middle + 1}, kShadow);
      Fill(dc, RECT{r.left + 1, middle + 1, r.right - 1, middle + 2}, kHighlight);
      continue;
    }
    const bool highlighted = static_cast<int>(i) == hot;
    if (highlighted) Fill(dc, r, kSelection);
    const COLORREF mark = item.IsDisabled() ? kShadow : highlighted ? kSelectedText : kText;
    const int middle = (r.top + r.bottom) / 2;
    if (item.IsChecked()) DrawTick(dc, r.left + 6, middle - 4, mark);
    DrawContent(dc, item, r.left + kTickMargin, r, highlighted);
    if (item.IsPopup()) DrawArrow(dc, r.right - kArrowMargin + 8, middle - 4, mark);
  }
}

}  // namespace platform::user
