// Grids of picture buttons: hit testing, clicks and their listeners, button states, drawing by state, the
// proxy palette drawn by its tool and the paint-tool palette.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "editor/CBorderSize.h"
#include "editor/CDropperTool.h"
#include "editor/CToolPalette.h"
#include "editor/pixels/CPixPane.h"
#include "graphics/Paint.h"
#include "support/AsciiPicture.h"
#include "support/Raised.h"
#include "ui/ViewTestSupport.h"

namespace editor_test {
namespace {

struct Chosen : PaletteListener {
  void ButtonChosen(std::int16_t number) override { numbers.push_back(number); }
  std::vector<std::int16_t> numbers;
};

class CountingPalette : public CToolPalette {
 public:
  using CToolPalette::CToolPalette;
  void DoubleClicked() override { ++doubleClicks; }
  int doubleClicks = 0;
};

SmartRef<PaletteLook> Look(std::int16_t rows, std::int16_t columns, std::int16_t width, std::int16_t height) {
  return SmartRef<PaletteLook>(new PaletteLook(rows, columns, width, height));
}

class CToolPaletteTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    gPaintState = new CDropperTool;
  }
  void TearDown() override {
    gPaintState = nullptr;
    EditorTest::TearDown();
  }
  TestWindow window{400, 200};
};

TEST_F(CToolPaletteTest, ButtonsFillTheGridRowByRowAndAnEdgePixelBelongsToTheCellBefore) {
  SmartRef<CToolPalette> palette(new CToolPalette(~window.root, Look(3, 2, 25, 25), 4));
  EXPECT_EQ(palette->GetBounds(), Rect(0, 0, 50, 75));
  EXPECT_EQ(palette->GetSelection(), 4);
  EXPECT_EQ(palette->GetButtonRect(4), Rect(0, 0, 25, 25));
  EXPECT_EQ(palette->GetButtonRect(7), Rect(25, 25, 50, 50));
  EXPECT_EQ(palette->GetButtonRect(9), Rect(25, 50, 50, 75));
  for (std::int16_t outside : {3, 10, 0, -1}) EXPECT_EQ(palette->GetButtonRect(outside), Rect()) << outside;
  struct Hit {
    Point at;
    std::int16_t button;
  } hits[] = {{{25, 10}, 4}, {{26, 10}, 5}, {{0, 0}, 4}, {{50, 25}, 5}, {{50, 26}, 7}, {{51, 10}, 0}, {{10, 75}, 8},
              {{10, 76}, 0}, {{-30, 10}, 0}};
  for (const Hit& h : hits) EXPECT_EQ(palette->HitTest(h.at.x, h.at.y), h.button) << h.at.x << "," << h.at.y;
  // Moved, it hits relative to its corner.
  palette->SetBounds(Rect(100, 20, 150, 95));
  EXPECT_EQ(palette->HitTest(126, 21), 5);
  EXPECT_EQ(palette->GetButtonRect(5), Rect(125, 20, 150, 45));
}

TEST_F(CToolPaletteTest, AOneRowPaletteSpansTheWindowAndAnEmptyLookHasNoButtons) {
  SmartRef<CToolPalette> row(new CToolPalette(~window.root, Look(1, 3, 30, 25), 1));
  EXPECT_EQ(row->GetBounds(), Rect(0, 0, 800, 25));
  EXPECT_EQ(row->HitTest(95, 5), 0) << "beyond the last button";
  SmartRef<CToolPalette> none(new CToolPalette(~window.root, KidResources::Describe(304), 1));
  EXPECT_EQ(none->GetCount(), 0);
  EXPECT_EQ(none->HitTest(10, 10), 0);
  none->SetSelection(1);
  EXPECT_EQ(none->GetSelection(), 0);
}

// The palette never selects by itself: its listeners hear the button and decide.
TEST_F(CToolPaletteTest, AClickTellsTheListenersOfAnEnabledButtonOtherThanTheSelectedOne) {
  struct Case {
    const char* name;
    bool repeat;
    std::int16_t disabled;
    Point at;
    int clicks;
    std::vector<std::int16_t> heard;
    int doubleClicks;
  } cases[] = {
      {"another button", false, 0, {30, 5}, 1, {2}, 0},
      {"the selected button", false, 0, {5, 5}, 1, {}, 0},
      {"the selected button twice", false, 0, {5, 5}, 2, {}, 1},
      {"a disabled button", false, 2, {30, 5}, 1, {}, 0},
      {"the selected button with repeat", true, 0, {5, 5}, 1, {1}, 0},
      {"outside the buttons", false, 0, {90, 5}, 2, {}, 0},
  };
  for (const Case& c : cases) {
    SmartRef<CountingPalette> palette(new CountingPalette(~window.root, Look(2, 2, 25, 25), 1));
    Chosen first, second;
    palette->AddTool(&first);
    palette->AddTool(&second);
    palette->AddTool(&first);  // once only
    palette->SetRepeatSelect(c.repeat);
    if (c.disabled) palette->SetButtonEnabled(c.disabled, false);
    EXPECT_TRUE(palette->MouseDown(c.at.x, c.at.y, 0, c.clicks, ~window.root)) << c.name;
    EXPECT_EQ(first.numbers, c.heard) << c.name;
    EXPECT_EQ(second.numbers, c.heard) << c.name;
    EXPECT_EQ(palette->doubleClicks, c.doubleClicks) << c.name;
    EXPECT_EQ(palette->GetSelection(), 1) << c.name;
    palette->RemoveTool(&second);
    palette->RemoveTool(&second);
    palette->MouseDown(30, 30, 0, 1, ~window.root);
    EXPECT_EQ(second.numbers, c.heard) << c.name;
  }
}

TEST_F(CToolPaletteTest, ButtonStatesChangeOnlyAsAsked) {
  SmartRef<CToolPalette> palette(new CToolPalette(~window.root, Look(2, 2, 25, 25), 1));
  EXPECT_TRUE(palette->SetButtonEnabled(2, false));
  EXPECT_FALSE(palette->SetButtonEnabled(2, false));
  EXPECT_FALSE(palette->SetButtonEnabled(3, true)) << "already enabled";
  EXPECT_FALSE(palette->SetButtonEnabled(9, false));
  palette->SetButtonDown(3, true);
  palette->SetButtonDown(2, true);  // disabled: ignored
  palette->SetButtonDown(9, true);
  EXPECT_EQ(palette->GetButtonState(3), CToolPalette::kDown);
  EXPECT_EQ(palette->GetButtonState(2), CToolPalette::kDisabled);
  palette->SetButtonEnabled(4, false);
  EXPECT_TRUE(palette->SetButtonEnabled(-1, true));
  EXPECT_EQ(palette->GetButtonState(2), CToolPalette::kUp);
  EXPECT_EQ(palette->GetButtonState(4), CToolPalette::kUp);
  EXPECT_EQ(palette->GetButtonState(3), CToolPalette::kDown) << "enabling all leaves down buttons down";
  palette->SetButtonDown(3, false);
  EXPECT_EQ(palette->GetButtonState(3), CToolPalette::kUp);
  palette->SetSelection(4);
  EXPECT_EQ(palette->GetSelection(), 4);
  palette->SetSelection(5);
  EXPECT_EQ(palette->GetSelection(), 0);
}

// Each state drawn from its picture: up and selected from the pressed grid, disabled from the disabled
// grid, down from the button's own picture, up from the grid; without a pressed grid the selected button
// is inverted, and a cell palette inverts a frame inside the cell.
TEST_F(CToolPaletteTest, EachButtonIsDrawnFromThePictureOfItsState) {
  data->WritePicture(70, 12, 8, 0xFF0000);  // every button up
  data->WritePicture(71, 12, 8, 0x00FF00);  // pressed
  data->WritePicture(72, 12, 8, 0x0000FF);  // disabled
  data->WritePicture(73, 6, 4, 0xFFFF00);   // button 3 down
  data->WritePicture(74, 6, 4, 0x808000);   // button 3 down and selected
  data->WritePicture(75, 6, 4, 0xFF0000);   // a grid picture of one cell only
  // Capitals are the inverted colours.
  const PictureKey key{{0xFF0000, 'u'}, {0x00FF00, 'p'}, {0x0000FF, 'd'}, {0xFFFF00, 'n'}, {0x808000, 's'},
                       {0xFFFFFF, '.'}, {0x7F7FFF, 'S'}, {0x00FFFF, 'U'}};
  struct Case {
    const char* name;
    int image, pressed;
    bool cells;
    std::int16_t selection;
    std::string picture;
  } cases[] = {
      {"pressed grid", 70, 71, false, 1,
       "ppppppdddddd\n" "ppppppdddddd\n" "ppppppdddddd\n" "ppppppdddddd\n"
       "nnnnnnuuuuuu\n" "nnnnnnuuuuuu\n" "nnnnnnuuuuuu\n" "nnnnnnuuuuuu\n"},
      {"down and selected", 70, 71, false, 3,
       "uuuuuudddddd\n" "uuuuuudddddd\n" "uuuuuudddddd\n" "uuuuuudddddd\n"
       "ssssssuuuuuu\n" "ssssssuuuuuu\n" "ssssssuuuuuu\n" "ssssssuuuuuu\n"},
      {"no pressed grid: inverted", 70, 0, false, 4,
       "uuuuuudddddd\n" "uuuuuudddddd\n" "uuuuuudddddd\n" "uuuuuudddddd\n"
       "nnnnnnUUUUUU\n" "nnnnnnUUUUUU\n" "nnnnnnUUUUUU\n" "nnnnnnUUUUUU\n"},
      {"cells: an inverted frame", 70, 0, true, 3,
       "uuuuuudddddd\n" "uuuuuudddddd\n" "uuuuuudddddd\n" "uuuuuudddddd\n"
       "SSSSSsuuuuuu\n" "SsssSsuuuuuu\n" "SSSSSsuuuuuu\n" "ssssssuuuuuu\n"},
      {"a grid picture smaller than the grid", 75, 0, false, 0,
       "uuuuuudddddd\n" "uuuuuudddddd\n" "uuuuuudddddd\n" "uuuuuudddddd\n"
       "nnnnnn......\n" "nnnnnn......\n" "nnnnnn......\n" "nnnnnn......\n"},
  };
  for (const Case& c : cases) {
    SmartRef<PaletteLook> look = Look(2, 2, 6, 4);
    look->image = KidResources::GetImage(c.image);
    if (c.pressed) look->pressedImage = KidResources::GetImage(c.pressed);
    look->disabledImage = KidResources::GetImage(72);
    look->buttonNumbers = {3, 9};
    look->downImages = {KidResources::GetImage(73), KidResources::GetImage(73)};
    look->downSelectedImages = {KidResources::GetImage(74), KidResources::GetImage(74)};
    TestWindow surface(12, 8);
    surface.surface->Fill(0xFFFFFF);
    surface.MakeFront();
    SmartRef<CToolPalette> palette(c.cells ? new CellPalette(~surface.root, look, 1) : new CToolPalette(~surface.root, look, 1));
    surface.root->AddSubview(~palette);
    palette->SetButtonEnabled(2, false);
    palette->SetButtonDown(3, true);
    palette->SetSelection(c.selection);
    surface.root->Redraw(~surface.surface);
    EXPECT_EQ("\n" + surface.surface->Picture(key), "\n" + c.picture) << c.name;
  }
}

TEST_F(CToolPaletteTest, AMissingLookPictureIsReportedWhenThePaletteIsMade) {
  AlertRecorder alerts;
  SmartRef<PaletteLook> look = Look(1, 7, 30, 25);
  look->image = KidResources::GetImage(20);
  EXPECT_TRUE(Raised([&] { SmartRef<CToolPalette>(new CToolPalette(~window.root, look, 1)); }));
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].caption, "Ressource manquante");
  EXPECT_NE(alerts.Alerts()[0].text.find("1020"), std::string::npos);
}

// A proxy palette's cells are its tool's options, drawn inside the cell and redrawn in the new paints.
class SwatchTool : public CTool {
 public:
  SwatchTool() : CTool(109, nullptr, false, nullptr) {}
  void SetChoice(std::int16_t, std::int16_t value) override { choice = value; }
  std::int16_t GetChoice(std::int16_t) override { return choice; }
  std::int16_t CountChoices(std::int16_t) override { return 3; }
  void DrawSample(DisplayPort& port, const Rect& rect) override {
    port.DrawRect(Rect(rect.left, rect.top, rect.left + choice, rect.bottom), gPaintForeground, gPaintForeground);
  }
  std::int16_t choice = 2;
};

TEST_F(CToolPaletteTest, AProxyPalettesCellsAreItsToolsOptionsInTheCurrentPaints) {
  const SmartRef<Exception> noTool = Raised([&] { CProxyPalette(~window.root, Look(1, 3, 8, 7), 1, nullptr, 0); });
  EXPECT_EQ(RaisedText(noTool), "~tool != NULL");
  EXPECT_EQ(RaisedPlace(noTool), "ORVANEL/AUTHOR/CProxyPalette:54");
  TestWindow surface(24, 7);
  surface.surface->Fill(0xFFFFFF);
  surface.MakeFront();
  SmartRef<SwatchTool> tool(new SwatchTool);
  gPaintForeground = Color::FromRGB8(0, 0, 255);
  SmartRef<CProxyPalette> palette(new CProxyPalette(~surface.root, Look(1, 3, 8, 7), 1, ~tool, 0));
  palette->SetBounds(Rect(0, 0, 24, 7));
  surface.root->AddSubview(~palette);
  EXPECT_TRUE(gPaintState->HasListener(~palette, false));
  palette->SelectCurrentChoice();
  EXPECT_EQ(palette->GetSelection(), 2);
  surface.root->Redraw(~surface.surface);
  const PictureKey key{{0xFFFFFF, '.'}, {0x0000FF, 'b'}, {0xFF0000, 'r'}, {0x000000, '#'}};
  // Without a grid picture, grid lines on each cell's last row and column; option n is n pixels wide
  // inside the cell's inset; the selected cell has an inverted frame.
  const std::string blue =
      ".......#########.......#\n"
      ".......##.....##.......#\n"
      "..b....##.bb..##..bbb..#\n"
      "..b....##.bb..##..bbb..#\n"
      ".......##.....##.......#\n"
      ".......#########.......#\n"
      "########################\n";
  EXPECT_EQ("\n" + surface.surface->Picture(key), "\n" + blue);
  gPaintForeground = Color::FromRGB8(255, 0, 0);
  gPaintState->NotifyListeners();
  surface.root->Redraw(~surface.surface);
  std::string red = blue;
  for (char& c : red) c = c == 'b' ? 'r' : c;
  EXPECT_EQ("\n" + surface.surface->Picture(key), "\n" + red);
  CProxyPalette* gone = ~palette;
  surface.root->RemoveSubview(~palette);
  palette = nullptr;
  EXPECT_FALSE(gPaintState->HasListener(gone, false));
  // A palette of an earlier paint state leaves the new one alone when it goes.
  SmartRef<CProxyPalette> earlier(new CProxyPalette(~surface.root, Look(1, 3, 8, 7), 1, ~tool, 0));
  gPaintState = new CDropperTool;
  gone = ~earlier;
  earlier = nullptr;
  EXPECT_FALSE(gPaintState->HasListener(gone, false));
  gPaintForeground = standardColors[1];
}

TEST_F(CToolPaletteTest, APaintToolPaletteGoesBackAndForthAndTellsItsEnd) {
  Chosen heard;
  {
    SmartRef<PaintToolPalette> palette(new PaintToolPalette(~window.root, Look(2, 3, 25, 25), 1, 4));
    palette->AddTool(&heard);
    EXPECT_EQ(palette->GetSelection(), 1);
    palette->GoBack();  // to the button given at construction
    palette->SetSelection(4);
    palette->GoBack();  // back to the button selected at the first Tab
    palette->SetSelection(1);
    palette->GoBack();
  }
  EXPECT_EQ(heard.numbers, (std::vector<std::int16_t>{4, 1, 4, -666}));
}

// A pane left over from an earlier edit is not one the new paint tools may reach.
TEST_F(CToolPaletteTest, APaintToolPaletteLetsGoOfThePixelPane) {
  SmartRef<CPixPane> pane(new CPixPane(~window.root, {0, 0, 50, 50}, {0, 0, 50, 50}, nullptr));
  ASSERT_EQ(~gPixPane, ~pane);
  SmartRef<PaintToolPalette> palette(new PaintToolPalette(~window.root, Look(2, 3, 25, 25), 1, 4));
  EXPECT_EQ(~gPixPane, nullptr);
  EXPECT_EQ(pane->GetBounds(), Rect(0, 0, 50, 50)) << "the pane itself stays";
}

TEST_F(CToolPaletteTest, TheBorderSizePaletteIsOneRowOfSevenButtonsFromTheFirstIndex) {
  data->WritePicture(20, 210, 25, 0x808080);
  data->WritePicture(21, 210, 25, 0x404040);
  SmartRef<CBorderSizePalette> palette(new CBorderSizePalette(~window.root, 1));
  EXPECT_EQ(palette->GetFirst(), 1);
  EXPECT_EQ(palette->GetCount(), 7);
  EXPECT_EQ(palette->GetButtonRect(7), Rect(180, 0, 210, 25));
  EXPECT_EQ(palette->GetButtonRect(8), Rect());
  EXPECT_EQ(palette->GetButtonRect(0), Rect());
  EXPECT_EQ(palette->GetBounds(), Rect(0, 0, 800, 25));
}

}  // namespace
}  // namespace editor_test
