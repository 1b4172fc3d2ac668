#include <gtest/gtest.h>

#include <vector>

#include "core/String.h"
#include "engine/EngineTestSupport.h"
#include "engine/Seams.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/kinds/FrameEditing.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/graphics/SurfaceDevice.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextStyle.h"
#include "ui/views/View.h"
#include "ui/views/WindowNotifier.h"

using namespace engine_test;

namespace {

class HostView : public View {
 public:
  HostView(DisplayDevice* device, WindowNotifier* notifier) : View(device, notifier, true, false, false) {}
};

// An editing pane that gives back what the test tells it to, and records what it is asked.
class EditorProbe : public View, public FrameEditor {
 public:
  EditorProbe(View* parent, const Rect& frame) : View(parent, frame, 0, true, true) {}
  void Lock() override { locked = true; }
  bool GetEditResult(Rect*, SmartRef<Smart>* edited, bool store) override {
    asked.push_back(store);
    if (!store || !result) return false;
    *edited = result;
    return true;
  }
  bool locked = false;
  std::vector<bool> asked;
  SmartRef<Smart> result;
  View* parent = nullptr;
};

struct Made {
  std::vector<SmartRef<EditorProbe>> editors;
  std::vector<SmartRef<View>> borders;
  bool imageGiven = false;
  SmartRef<StyledText> text;
};
Made* gMade = nullptr;

SmartRef<View> MakePixelPane(View* parent, const Rect&, const Rect& frame, CStamp* image) {
  gMade->imageGiven = image != nullptr;
  gMade->editors.push_back(new EditorProbe(parent, frame));
  gMade->editors.back()->parent = parent;
  return gMade->editors.back();
}

SmartRef<View> MakeTextPane(View* parent, const Rect& frame, StyledText* text) {
  gMade->text = text;
  gMade->editors.push_back(new EditorProbe(parent, frame));
  gMade->editors.back()->parent = parent;
  return gMade->editors.back();
}

SmartRef<View> MakeBorderView(View* host, const Rect& rect) {
  Rect frame = rect;
  frame.Inset(-5);
  gMade->borders.push_back(new View(host, frame, 0, false, true));
  host->AddSubview(~gMade->borders.back());
  return gMade->borders.back();
}

class FrameEditTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    Prepare(32, Win95);
    gMade = &made;
    SetFrameEditHooks({&MakePixelPane, &MakeTextPane, &MakeBorderView});
  }
  void TearDown() override {
    SetFrameEditHooks({});
    gMade = nullptr;
    EngineTest::TearDown();
  }
  static SmartRef<CResource> Picture(int width, int height) {
    SmartRef<CResource> resource =
        new CResource(SmartRef<Smart>(new BitMap(width, height, ColorTable::GetStandard(8))));
    resource->SetBounds(0, 0, width, height);
    return resource;
  }
  void Begin(CMovieRes& movie, bool border, bool lock = false) {
    movie.BeginEdit(0, 0, 1, 0, ~host, ~surface, {100, 100, 140, 140}, nullptr, false, border, lock);
  }

  Made made;
  SmartRef<SurfaceDevice> surface = new SurfaceDevice(300, 300);
  SmartRef<WindowNotifier> notifier = new WindowNotifier;
  SmartRef<HostView> host = new HostView(~surface, ~notifier);
};

TEST_F(FrameEditTest, WithoutTheEditorNoEditStarts) {
  SetFrameEditHooks({});
  SmartRef<CMoviePic> movie = new CMoviePic(~Picture(40, 40));
  Begin(*movie, false);
  EXPECT_EQ(movie->GetEditor(), nullptr);
  EXPECT_FALSE(movie->EndEdit(nullptr, true));
}

// A picture's result goes back keeping its centre; a framed text's goes back where the pane put it.
TEST_F(FrameEditTest, TheResultIsStoredOverTheFramesOfTheEdit) {
  struct Case {
    const char* name;
    bool text;
    Rect newBounds;  // of the edited content
    Point point;
  } cases[] = {{"picture, anchored", false, {0, 0, 80, 60}, {80, 90}},
               {"framed text, not anchored", true, {10, 10, 90, 70}, {100, 100}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    made = {};
    SmartRef<CResource> old;
    SmartRef<CMovieRes> movie;
    if (c.text) {
      old = new CResource(SmartRef<Smart>(new String("mot")));
      old->SetBounds(0, 0, 40, 40);
      movie = new CMovieText(~old, {0, 0, 300, 300});
    } else {
      old = Picture(40, 40);
      movie = new CMoviePic(~old);
    }
    movie->SetFramePoint(0, {100, 100});
    Begin(*movie, c.text, true);
    ASSERT_EQ(made.editors.size(), 1u);
    EditorProbe& editor = *made.editors[0];
    EXPECT_EQ(movie->GetEditor(), &editor);
    EXPECT_TRUE(editor.locked);
    EXPECT_EQ(made.borders.size(), c.text ? 1u : 0u) << "pictures are never framed";
    if (c.text) {
      EXPECT_EQ(editor.parent, ~made.borders[0]);
    } else {
      EXPECT_TRUE(made.imageGiven) << "the pixel editor starts from the frame's image";
    }
    SmartRef<CResource> edited = c.text ? new CResource(SmartRef<Smart>(new String("mots"))) : Picture(80, 60);
    edited->SetBounds(c.newBounds.left, c.newBounds.top, c.newBounds.right, c.newBounds.bottom);
    editor.result = edited;
    Rect where;
    EXPECT_TRUE(movie->EndEdit(&where, true));
    EXPECT_EQ(movie->GetResource(0), ~edited);
    EXPECT_EQ(movie->GetFramePoint(0), c.point);
    EXPECT_EQ(movie->GetEditor(), nullptr);
  }
}

TEST_F(FrameEditTest, AnEditThatGivesNothingOrIsReplacedStoresNothing) {
  SmartRef<CResource> old = Picture(40, 40);
  SmartRef<CMoviePic> movie = new CMoviePic(~old);
  Begin(*movie, false);
  made.editors[0]->result = Picture(10, 10);
  Begin(*movie, false);
  ASSERT_EQ(made.editors.size(), 2u);
  EXPECT_EQ(made.editors[0]->asked, std::vector<bool>{false}) << "a second begin ends the first, unstored";
  EXPECT_EQ(movie->GetResource(0), ~old);
  EXPECT_EQ(movie->GetEditor(), ~made.editors[1]);
  EXPECT_FALSE(movie->EndEdit(nullptr, true)) << "the pane gives no result";
  EXPECT_EQ(movie->GetResource(0), ~old);
  EXPECT_EQ(movie->GetEditor(), nullptr);
  EXPECT_FALSE(movie->EndEdit(nullptr, true));
}

// A plain string is edited as a styled text in the default style; the frame keeps its own text meanwhile.
TEST_F(FrameEditTest, APlainTextIsEditedAsAStyledCopy) {
  SmartRef<String> words = new String("mot");
  SmartRef<CResource> old = new CResource(SmartRef<Smart>(~words));
  old->SetBounds(0, 0, 40, 20);
  SmartRef<CMovieText> movie = new CMovieText(~old, {0, 0, 300, 300});
  Begin(*movie, false);
  ASSERT_TRUE(made.text);
  EXPECT_NE(static_cast<Smart*>(~made.text), static_cast<Smart*>(~words));
  ASSERT_TRUE(made.text->GetStyle());
  EXPECT_EQ(made.text->GetStyle()->GetFontId(), 1);
  EXPECT_EQ(made.text->GetStyle()->GetSize(), 12);
  EXPECT_FALSE(movie->EndEdit(nullptr, false));
  EXPECT_EQ(movie->GetResource(0)->GetObject(), static_cast<Smart*>(~words));
}

}  // namespace
