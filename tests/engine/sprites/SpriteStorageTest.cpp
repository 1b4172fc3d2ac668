#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/FileReference.h"
#include "core/String.h"
#include "engine/sprites/SpriteTestSupport.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"

using namespace document_testing;
using namespace engine_test;

namespace {

constexpr char kWebText[] = "http://quillory.example/";

// The tests' numbering with the sprite's classes after it.
enum : std::uint32_t { kSprite = 15, kPathPoint, kXform };

SmartRef<TypeIndex> SpriteTypeIndex() {
  SmartRef<TypeIndex> index = MakeEngineTypeIndex();
  for (const PersistentType* type : {&CSprite::persistentType, &PathPoint::persistentType, &CXform::persistentType})
    index->AddType(type);
  return index;
}

std::vector<std::uint32_t> SpriteVersions() {
  std::vector<std::uint32_t> versions = kCurrentVersions;
  versions.insert(versions.end(), {0x00020000, 0x00010000, 0x00020000});
  return versions;
}

SmartRef<CSprite> Read(const std::string& bytes) {
  return CastSmart<CSprite>(~ReadDocument(bytes, nullptr, SpriteTypeIndex()));
}

class SpriteStorageTest : public EngineTest {
 protected:
  // Four frames at page frames 2 to 5 over a one-image movie of (0, 0, 40, 30): frames 0 and 1 share a
  // scaling transform (frame 1 moved by (5, -3)), frame 2 is clipped, frame 3 hidden at (7, 7). One sound
  // on frames 1 and 2, a web link on frame 0, key frames 0 and 2, named "lutin", in the background.
  SmartRef<CSprite> MakeSprite() {
    SmartRef<CSprite> sprite = new CSprite(2, new TestMovie({0, 0, 40, 30}), Rect::emptyRect);
    sprite->SetFrameCount(4);
    const SmartRef<CXform> shared = new CXform({0, 0, 40, 30}, {10, 10, 90, 70});
    sprite->GetPathPoint(0)->xform = shared;
    sprite->GetPathPoint(1)->xform = shared;
    sprite->GetPathPoint(1)->offset = {5, -3};
    const SmartRef<CXform> clipped = new CXform({0, 0, 40, 30}, {0, 0, 40, 30});
    clipped->SetClip({0, 0, 20, 15});
    sprite->GetPathPoint(2)->xform = clipped;
    sprite->GetPathPoint(3)->offset = {7, 7};
    sprite->HideFrames(5, 1);
    sprite->SetSound(3, 2, ~MakeSound("RIFF"));
    const SmartRef<CLink> web = new CLink();
    web->SetHref(new WebAddress(kWebText));
    sprite->SetLink(2, 1, ~web);
    sprite->SetKeyFrame(4, true);
    sprite->SetName(new String("lutin"));
    sprite->ToggleBackgroundFlag(true);
    return sprite;
  }

  static void XformBody(FileBytes& f, const Rect& source, const Rect& destination, const Rect& clip) {
    for (const Rect& r : {source, destination}) f.L(r.left).L(r.top).L(r.right).L(r.bottom);
    f.S(0).S(0);
    f.L(clip.left).L(clip.top).L(clip.right).L(clip.bottom);
  }

  // The movie part of a one-frame test movie of (0, 0, 40, 30), its objects numbered from n.
  static void MovieBody(FileBytes& f, std::uint32_t n) {
    f.S(1).L(0).L(0).L(40).L(30).B(std::string("\1\0\0\1\0\0\0\0", 8));
    f.Object(n, kList, [&] { f.L(kSound).L(1).L(0); });
    f.Object(n + 1, kList, [&] { f.L(kColorTable).L(1).L(0); });
    f.Object(n + 2, kList, [&] { f.L(kLink).L(1).L(0); });
    f.Object(n + 3, kFrameIndex, [&] { f.Object(n + 4, kList, [&] { f.L(kJumpFrame).L(0); }); });
  }

  // MakeSprite's sprite, laid out by hand.
  static std::string SpriteFixture() {
    FileBytes f(17);
    f.Root(1, kSprite, [&] {
      f.S(4).Text("lutin").S(2).L(20).L(15);
      f.Object(2, kList, [&] {
        f.L(kPathPoint).L(4);
        f.Object(3, kPathPoint, [&] { f.L(0).L(0).Object(4, kXform, [&] { XformBody(f, {0, 0, 40, 30}, {10, 10, 90, 70}, {}); }); });
        f.Object(5, kPathPoint, [&] { f.L(5).L(static_cast<std::uint32_t>(-3)).L(4); });
        f.Object(6, kPathPoint, [&] { f.L(0).L(0).Object(7, kXform, [&] { XformBody(f, {0, 0, 40, 30}, {0, 0, 40, 30}, {0, 0, 20, 15}); }); });
        // The hidden frame's transform is stored like any other.
        f.Object(8, kPathPoint, [&] { f.L(7).L(7).Object(9, kXform, [&] { XformBody(f, {}, {}, {}); }); });
      });
      f.Object(10, kPathPoint, [&] { f.L(0).L(0).L(0); });
      f.Object(11, kList, [&] {
        f.L(kSound).L(4).L(0);
        f.Object(12, kSound, [&] { f.B(std::string(2, '\0')).Text("RIFF"); });
        f.L(12).L(0);
      });
      f.Object(13, kList, [&] {
        f.L(kLink).L(4);
        f.Object(14, kLink, [&] {
          f.B(std::string("\12\0", 2)).L(0).S(0).L(0);
          f.Object(15, kWebAddress, [&] { f.Text(kWebText); });
        });
        f.L(0).L(0).L(0);
      });
      f.Object(16, kTestMovie, [&] { MovieBody(f, 17); });
      f.B("\1").L(2).S(0).S(2);
    });
    // Nested strings and arrays are measured too; the lists' lengths vary.
    std::vector<std::int32_t> sizes(17, -1);
    sizes[kString - 1] = -2;
    sizes[kArray - 1] = -2;
    sizes[kList - 1] = -2;
    sizes[kSprite - 1] = 50;
    sizes[kMovie - 1] = 42;
    sizes[kTestMovie - 1] = 42;
    sizes[kSound - 1] = 10;
    sizes[kLink - 1] = 16;
    sizes[kFrameIndex - 1] = 4;
    sizes[kWebAddress - 1] = 28;
    sizes[kPathPoint - 1] = 12;
    sizes[kXform - 1] = 52;
    return f.File(SpriteVersions(), sizes);
  }
};

TEST_F(SpriteStorageTest, ASpriteIsStoredAsLaidOutAndReadsBackAsItWas) {
  AlertRecorder alerts;
  const std::string saved = SaveDocument(MakeSprite(), SpriteTypeIndex());
  const std::string fixture = SpriteFixture();
  // The objects first, then the whole file with its class index.
  const std::size_t objects = 25 + 8 + 16 + 6 + 8 * 17;
  EXPECT_EQ(saved.substr(objects), fixture.substr(objects));
  EXPECT_EQ(saved, fixture);

  const SmartRef<CSprite> sprite = Read(saved);
  ASSERT_TRUE(sprite);
  EXPECT_TRUE(alerts.Alerts().empty());
  ExpectSpriteInvariants(*sprite);
  const Sound* sound = sprite->GetSoundAtFrame(3);
  const CLink* link = sprite->GetLinkAtFrame(2);
  EXPECT_EQ(Describe(*sprite, {sound, link}), "start 2: X+0+0/-b X+5-3/a- X+0+0/a- x+7+7 | keys 0 2");
  EXPECT_EQ(TextOf(*sprite->GetName()), "lutin");
  EXPECT_TRUE(sprite->ToggleBackgroundFlag(false));
  EXPECT_EQ(sprite->GetOrigin(), Point(20, 15));
  EXPECT_EQ(~sprite->GetPathPoint(0)->xform, ~sprite->GetPathPoint(1)->xform) << "the transform is shared again";
  EXPECT_EQ(sprite->GetSoundAtFrame(4), sound);
  EXPECT_EQ(TextOf(CastSmart<WebAddress>(link->GetStoredHref())->href), kWebText);
  Rect clip;
  EXPECT_TRUE(sprite->GetPathPoint(2)->xform->GetClip(&clip));
  EXPECT_EQ(clip, Rect(0, 0, 20, 15));

  // The hidden frame comes back with a transform of its own that shows nothing, and stays hidden.
  EXPECT_NE(~sprite->GetPathPoint(3)->xform, hiddenFrameXform);
  EXPECT_FALSE(sprite->IsVisibleInRange(5, 1));
  SmartRef<CXform> xf;
  std::int16_t frame = 5;
  Rect placed;
  EXPECT_FALSE(sprite->GetFramePlacement(&xf, &frame, &placed));
  EXPECT_TRUE(sprite->IsVisibleInRange(2, 3));

  EXPECT_EQ(SaveDocument(sprite, SpriteTypeIndex()), saved);
}

// A page link whose file the user gave up looking for is not stored; the links after it keep their frames.
TEST_F(SpriteStorageTest, ADeclinedLinkLeavesAnEmptyFrameBehind) {
  AlertRecorder alerts;
  const std::string page = folder.Write("absent.zod");
  SmartRef<CSprite> sprite = new CSprite(0, new TestMovie(), Rect::emptyRect);
  sprite->SetFrameCount(3);
  const SmartRef<CLink> toPage = new CLink();
  toPage->SetJump(new CJumpMovie(FileReference(page.c_str())));
  toPage->SetKind(CLink::kPage);
  sprite->SetLink(0, 2, ~toPage);
  const SmartRef<CLink> toWeb = new CLink();
  toWeb->SetHref(new WebAddress(kWebText));
  sprite->SetLink(2, 1, ~toWeb);
  const std::string stored = SaveDocument(sprite, SpriteTypeIndex());
  std::filesystem::remove(folder.Path() / "absent.zod");

  const SmartRef<CSprite> read = Read(stored);
  ASSERT_TRUE(read);
  alerts.Clear();
  alerts.Answer({IDCANCEL});
  const std::string again = SaveDocument(read, SpriteTypeIndex());
  EXPECT_EQ(alerts.Alerts().size(), 1u) << "the user is asked once for the link the two frames share";
  EXPECT_EQ(read->GetLinkAtFrame(0), nullptr);
  EXPECT_EQ(read->GetLinkAtFrame(1), nullptr);

  const SmartRef<CSprite> reread = Read(again);
  ASSERT_TRUE(reread);
  ExpectSpriteInvariants(*reread);
  EXPECT_EQ(reread->GetLinkAtFrame(0), nullptr);
  EXPECT_EQ(reread->GetLinkAtFrame(1), nullptr);
  ASSERT_NE(reread->GetLinkAtFrame(2), nullptr);
  EXPECT_EQ(reread->GetLinkAtFrame(2)->GetKind(), CLink::kWebAddress);
}

// Counts and lists that do not agree come from a damaged page: the sprite is mended, the page still reads
// and the user is told once.
TEST_F(SpriteStorageTest, DamagedSpritesAreMendedAndThePageStillReads) {
  struct Case {
    const char* name;
    std::int16_t count;
    std::int32_t pathEntries, soundEntries;
    bool stringInPath;
    std::vector<std::int16_t> keys;
    std::string frames;
    bool damaged;
  } const cases[] = {
      {"sound", 3, 3, 3, false, {0, 2}, "start 6: +0+0 +1+0 +2+0 | keys 0 2", false},
      {"a negative count takes the path's", -2, 3, 3, false, {0}, "start 6: +0+0 +1+0 +2+0 | keys 0", true},
      {"short lists are padded with hidden frames", 4, 2, 1, false, {0}, "start 6: +0+0 +1+0 H+0+0 H+0+0 | keys 0", true},
      {"long lists are cut", 2, 4, 5, false, {0}, "start 6: +0+0 +1+0 | keys 0", true},
      {"a path entry of another class is a hidden frame", 3, 3, 3, true, {0}, "start 6: +0+0 H+0+0 +2+0 | keys 0", true},
      {"keys out of range, repeated or out of order", 3, 3, 3, false, {-1, 0, 2, 1, 2, 3}, "start 6: +0+0 +1+0 +2+0 | keys 0 2", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FileBytes f(17);
    std::uint32_t n = 2;
    f.Root(1, kSprite, [&] {
      f.S(static_cast<std::uint16_t>(c.count)).Text("").S(6).L(20).L(15);
      f.Object(n++, kList, [&] {
        f.L(kPathPoint).L(static_cast<std::uint32_t>(c.pathEntries));
        for (std::int32_t i = 0; i < c.pathEntries; ++i) {
          if (c.stringInPath && i == 1) f.Object(n++, kString, [&] { f.Text("x"); });
          else f.Object(n++, kPathPoint, [&] { f.L(static_cast<std::uint32_t>(i)).L(0).L(0); });
        }
      });
      f.Object(n++, kPathPoint, [&] { f.L(0).L(0).L(0); });
      f.Object(n++, kList, [&] {
        f.L(kSound).L(static_cast<std::uint32_t>(c.soundEntries));
        for (std::int32_t i = 0; i < c.soundEntries; ++i) f.L(0);
      });
      f.L(0);  // no links at all
      const std::uint32_t movie = n++;
      f.Object(movie, kTestMovie, [&] { MovieBody(f, n); });
      n += 5;
      f.B(std::string(1, '\0')).L(static_cast<std::uint32_t>(c.keys.size()));
      for (const std::int16_t key : c.keys) f.S(static_cast<std::uint16_t>(key));
    });
    std::vector<std::int32_t> sizes(17, -2);
    AlertRecorder alerts;
    const SmartRef<CSprite> sprite = Read(f.File(SpriteVersions(), sizes));
    ASSERT_TRUE(sprite) << "the rest of the page still reads";
    ExpectSpriteInvariants(*sprite);
    EXPECT_EQ(Describe(*sprite), c.frames);
    if (c.damaged) {
      ASSERT_EQ(alerts.Alerts().size(), 1u);
      EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(191));
    } else {
      EXPECT_TRUE(alerts.Alerts().empty());
    }
    // Every frame operation still works on what was read.
    sprite->InsertFrames(7, 2, CSprite::kFillFromNeighbour);
    sprite->DeleteFrames(6, 1);
    sprite->ShowFrames(6, 5);
    ExpectSpriteInvariants(*sprite);
  }
}

}  // namespace
