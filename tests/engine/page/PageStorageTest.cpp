#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/String.h"
#include "engine/geometry/CXform.h"
#include "engine/kinds/CMovieText.h"
#include "engine/links/CLink.h"
#include "engine/Seams.h"
#include "engine/media/CResource.h"
#include "engine/page/PageTestSupport.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"

using namespace document_testing;
using namespace engine_test;

namespace {

// The document numbering's indexes of the classes a page holds.
enum : std::uint32_t {
  kString = 1, kSprite = 3, kGroup = 4, kPicture = 5, kShow = 8, kJumpFrame = 9, kFrameIndex = 12, kText = 13,
  kResource = 14, kLink = 15, kXform = 16, kDelta = 18, kPathPoint = 24, kBitMap = 25, kList = 30,
  kColorTable = 32, kSound = 33,
};

const char kWebText[] = "http://quillory.example/";

// The layout of a page's file, written out by hand: values little-endian, each object written in full
// where it is first referred to (its number, then its body) and by its number after that.
class Layout {
 public:
  std::string out;
  std::uint32_t next = 2;  // the root is object 1

  Layout& L(std::uint32_t v) { return out += Long(v), *this; }
  Layout& S(std::uint16_t v) { return out += Short(v), *this; }
  Layout& B(std::uint8_t v) { return out += static_cast<char>(v), *this; }
  Layout& R(const Rect& r) { return L(r.left).L(r.top).L(r.right).L(r.bottom); }
  Layout& Text(const std::string& t) { return L(static_cast<std::uint32_t>(t.size())), out += t, *this; }
  Layout& Colour(const Color& c) { return S(c.red).S(c.green).S(c.blue).S(c.flag); }
  // A new object: its number, then what the body writes. Answers the number.
  template <class F>
  std::uint32_t New(F&& body) {
    const std::uint32_t n = next++;
    L(n);
    body();
    return n;
  }
  // A list of the element class whose entries the body writes.
  template <class F>
  std::uint32_t List(std::uint32_t elementClass, std::uint32_t count, F&& entries) {
    return New([&] {
      L(elementClass).L(count);
      entries();
    });
  }
  std::uint32_t EmptyEntries(std::uint32_t elementClass, std::uint32_t count) {
    return List(elementClass, count, [&] {
      for (std::uint32_t i = 0; i < count; ++i) L(0);
    });
  }
  // A movie's own part: frames, bounds, its mode a bit a byte, no sounds, colour tables or links, no marks.
  void MoviePart(const CMovie& movie) {
    S(static_cast<std::uint16_t>(movie.GetFrameCount())).R(movie.GetBounds());
    for (int bit = 0; bit < 8; ++bit) B((movie.GetMode() >> bit) & 1);
    const auto frames = static_cast<std::uint32_t>(movie.GetFrameCount());
    EmptyEntries(kSound, frames);
    EmptyEntries(kColorTable, frames);
    EmptyEntries(kLink, frames);
    New([&] { EmptyEntries(kJumpFrame, 0); });
  }
};

class PageStorageTest : public PageTest {
 protected:
  // The web library is not here to say what its addresses are: a stored one is kept as it was read.
  void SetUp() override {
    PageTest::SetUp();
    SetWebAddressHooks({});
  }

  struct Placed {
    std::vector<Point> offsets;  // one a frame
    int hidden = -1;             // the hidden frame, if any
  };
  // Every frame of the sprite gets a path point of its own: moved by the offset, or hidden.
  static void Place(CSprite& sprite, const Placed& placed) {
    for (std::int32_t r = 0; r < sprite.GetFrameCount(); ++r) {
      SmartRef<PathPoint> point = new PathPoint();
      point->offset = placed.offsets[static_cast<std::size_t>(r)];
      if (r == placed.hidden) point->xform = hiddenFrameXform;
      sprite.GetPath()->Put(~point, r + 1, 1);
    }
  }

  // 40 x 30, two frames, a rate of 12, bottom to top: a background picture, an opaque picture with a sound
  // in frame 0, a keyed picture hidden in frame 1 with a link to a web address in frame 0, and a text.
  void MakeFixturePage() {
    page = MakePage({0, 0, 40, 30}, 2);
    page->SetFrameRate(12);
    CMovieGroup& group = GroupOf(*page);
    CSprite* background = AddSprite(group, *SolidPicture(4, 2, 10), 0, 2);
    background->ToggleBackgroundFlag(true);
    const SmartRef<CMovie> opaque = SolidPicture(4, 2, 6);
    opaque->ToggleMode4(true);
    CSprite* still = AddSprite(group, *opaque, 0, 2);
    CSprite* keyed = AddSprite(group, *SolidPicture(4, 2, 4), 0, 2);
    const SmartRef<String> words = new String("Bonjour");
    Point size;
    words->Measure(size, 0);
    textSize = size;
    const SmartRef<CResource> text = new CResource(SmartRef<Smart>(~words));
    text->SetBounds(0, 0, size.x, size.y);
    const SmartRef<CMovie> textMovie = new CMovieText(~text, {0, 0, size.x, size.y});
    CSprite* caption = AddSprite(group, *textMovie, 0, 2);
    Place(*background, {{{0, 0}, {0, 0}}});
    Place(*still, {{{10, 5}, {10, 5}}});
    Place(*keyed, {{{2, 2}, {20, 2}}, 1});
    Place(*caption, {{{1, 20}, {1, 22}}});
    sound = MakeSound("RIFF");
    still->SetSound(0, 1, ~sound);
    const SmartRef<CLink> link = new CLink();
    link->SetHref(new String(kWebText));
    keyed->SetLink(0, 1, ~link);
  }

  // The page as the file lays it out.
  std::string Fixture() const {
    Layout f;
    const CMovieGroup& group = GroupOf(*page);
    f.S(12).Colour(Color(0)).Colour(Color(1));
    f.out += std::string(8, '\0');  // the first standard pattern is empty
    f.R(Rect::emptyRect).L(60).L(60);
    std::uint32_t colourTable = 0;
    f.New([&] {
      f.MoviePart(group);
      f.List(kSprite, 4, [&] {
        for (std::int16_t i = 0; i < 4; ++i) {
          const CSprite& sprite = *group.GetSprite(i);
          f.New([&] { SpriteBody(f, sprite, i, &colourTable); });
        }
      });
    });
    f.EmptyEntries(kDelta, 0);
    objectCount = f.next - 1;
    return f.out;
  }

  void SpriteBody(Layout& f, const CSprite& sprite, int i, std::uint32_t* colourTable) const {
    static const Point offsets[4][2] = {{{0, 0}, {0, 0}}, {{10, 5}, {10, 5}}, {{2, 2}, {20, 2}}, {{1, 20}, {1, 22}}};
    const bool isText = i == 3;
    const Point origin = isText ? Point(textSize.x / 2, textSize.y / 2) : Point(2, 1);
    f.S(2).Text(std::to_string(i)).S(0).L(origin.x).L(origin.y);
    f.List(kPathPoint, 2, [&] {
      for (int r = 0; r < 2; ++r) {
        f.New([&] {
          f.L(offsets[i][r].x).L(offsets[i][r].y);
          if (i == 2 && r == 1) {
            f.New([&] { f.R({}).R({}).S(0).S(0).R({}); });  // the hidden frame's transform
          } else {
            f.L(0);
          }
        });
      }
    });
    f.New([&] { f.L(0).L(0).L(0); });  // the default point: unmoved
    f.List(kSound, 2, [&] {
      if (i == 1) f.New([&] { f.out += std::string(2, '\0'); f.Text("RIFF"); });
      else f.L(0);
      f.L(0);
    });
    f.List(kLink, 2, [&] {
      if (i == 2) {
        f.New([&] {
          f.B(10).B(0).L(0).S(0).L(0);
          f.New([&] { f.Text(kWebText); });
        });
      } else {
        f.L(0);
      }
      f.L(0);
    });
    const CMovie& movie = *sprite.GetMovie();
    f.New([&] {
      f.MoviePart(movie);
      f.List(kResource, 1, [&] {
        f.New([&] {
          if (isText) {
            f.New([&] { f.Text("Bonjour"); });
          } else {
            f.New([&] { PictureBody(f, i, colourTable); });
          }
          f.R(isText ? Rect{0, 0, textSize.x, textSize.y} : Rect::emptyRect);
        });
      });
      f.L(1).L(0).L(0);  // one frame point, (0, 0)
    });
    f.B(i == 0 ? 1 : 0);
    f.L(1).S(0);  // frame 0 is a key frame
  }

  // A 4 x 2 picture of one standard colour, at 8 bits in the standard table (written with the first).
  static void PictureBody(Layout& f, int sprite, std::uint32_t* colourTable) {
    static const int colours[3] = {10, 6, 4};
    ColorTable& table = *ColorTable::GetStandard(8);
    f.S(8).R({0, 0, 4, 2});
    if (*colourTable == 0) {
      *colourTable = f.New([&] {
        f.L(static_cast<std::uint32_t>(table.GetCount()));
        for (std::int32_t c = 0; c < table.GetCount(); ++c) f.Colour(table.GetColor(c));
        f.S(8);
      });
    } else {
      f.L(*colourTable);
    }
    std::int32_t index = 0;
    table.IndexOf(Color(colours[sprite]), &index);
    f.L(0).B(0).L(4);
    f.out += std::string(8, static_cast<char>(index));
  }

  SmartRef<CShow> page;
  SmartRef<Sound> sound;
  Point textSize;
  mutable std::uint32_t objectCount = 0;
};

TEST_F(PageStorageTest, APageIsStoredAsLaidOutAndReadsBackAsItWas) {
  AlertRecorder alerts;
  MakeFixturePage();
  const std::string saved = SaveDocument(SmartRef<Smart>(~page));
  EXPECT_EQ(ObjectBody(saved, 1), Fixture());
  // Every engine class a page holds, at its place in the document numbering.
  std::set<std::int32_t> classes;
  for (std::uint32_t n = 1; n <= objectCount; ++n) classes.insert(ObjectClassIndex(saved, static_cast<std::int32_t>(n)));
  EXPECT_EQ(ObjectClassIndex(saved, 1), static_cast<std::int32_t>(kShow));
  EXPECT_EQ(ObjectClassIndex(saved, 2), static_cast<std::int32_t>(kGroup));
  for (const std::uint32_t engineClass : {kSprite, kPicture, kFrameIndex, kText, kResource, kLink, kXform, kPathPoint})
    EXPECT_TRUE(classes.contains(static_cast<std::int32_t>(engineClass))) << engineClass;

  const SmartRef<CShow> read = CastSmart<CShow>(~ReadDocument(saved, nullptr));
  ASSERT_TRUE(read);
  EXPECT_TRUE(alerts.Alerts().empty());
  EXPECT_EQ(read->GetFrameRate(), 12);
  EXPECT_EQ(read->GetDeltas().NumItems(), 0);
  const CMovieGroup& group = GroupOf(*read);
  ASSERT_EQ(group.GetSpriteCount(), 4);
  EXPECT_TRUE(group.GetSprite(0)->ToggleBackgroundFlag(false));
  EXPECT_NE(group.GetSprite(1)->GetSoundAtFrame(0), nullptr);
  EXPECT_NE(group.GetSprite(2)->GetLinkAtFrame(0), nullptr);
  EXPECT_FALSE(group.GetSprite(2)->IsVisibleInRange(1, 1));
  EXPECT_EQ(SaveDocument(SmartRef<Smart>(~read)), saved);
}

}  // namespace
