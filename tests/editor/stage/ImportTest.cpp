// A file read onto the clipboard for the stage: a sound as it is, a picture as a sprite named after the
// file, and a damaged or foreign file refused with its reader's error, the clipboard untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/Sound.h"
#include "core/String.h"
#include "editor/PaintToolsWindow.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "editor/stage/ImportExport.h"
#include "engine/page/CShow.h"
#include "engine/page/PageTestSupport.h"
#include "engine/sprites/CSprite.h"
#include "editor/stage/CHAPane.h"
#include "support/AlertRecorder.h"
#include "support/TempFolder.h"
#include "ui/shell/Clipboard.h"
#include "ui/shell/Tool.h"
#include "ui/ViewTestSupport.h"

namespace editor_test {
namespace {

std::string Fixture(const std::string& relative) {
  std::ifstream in(std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/" + relative, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class ImportTest : public AuthoringAppTest {
 protected:
  SmartRef<FileReference> FileWith(const std::string& name, const std::string& bytes) {
    return SmartRef<FileReference>(new FileReference(files.Write(name, bytes).c_str()));
  }
  TempFolder files;
};

TEST_F(ImportTest, ASoundGoesOnTheClipboardAsItIsAndAPictureAsANamedSprite) {
  InAuthoringProgram([&](PaintToolsWindow&) {
    const SmartRef<Clipboard> clip = authoring->GetClipboard();
    const std::string wav = Fixture("sounds/mono16-44100.wav");
    ASSERT_FALSE(wav.empty());
    EXPECT_TRUE(ImportSound(authoring, *FileWith("bruit.wav", wav), nullptr, true));
    EXPECT_TRUE(IsMember<Sound>(clip->GetScrap())) << "a sound stays a sound";

    const std::string bmp = Fixture("pictures/hand-topdown-24.bmp");
    ASSERT_FALSE(bmp.empty());
    struct Row {
      const char* given;
      bool transparent;
      const char* name;
    } rows[] = {{nullptr, true, "maison"}, {"Mon chat", false, "Mon chat"}};
    for (const Row& row : rows) {
      SCOPED_TRACE(row.name);
      const String given(row.given ? row.given : "");
      EXPECT_TRUE(ImportSound(authoring, *FileWith("maison.bmp", bmp), row.given ? &given : nullptr,
                              row.transparent));
      auto* list = CastSmart<ListData>(clip->GetScrap());
      ASSERT_TRUE(list != nullptr && list->NumItems() == 1);
      auto* sprite = CastSmart<CSprite>(list->At(1));
      ASSERT_NE(sprite, nullptr);
      EXPECT_EQ(TextOf(*sprite->GetName()), row.name);
      EXPECT_EQ(sprite->GetMovie()->ToggleMode1(false), row.transparent);
    }
  });
}

TEST_F(ImportTest, ADamagedOrForeignFileFailsInItsReaderAndLeavesTheClipboard) {
  const std::string bmp = Fixture("pictures/hand-topdown-24.bmp");
  const std::string wav = Fixture("sounds/mono16-44100.wav");
  const std::string jpg = Fixture("pictures/cjpeg-baseline.jpg");
  const std::string gif = Fixture("pictures/build-no-map.gif");
  ASSERT_TRUE(!bmp.empty() && !wav.empty() && !jpg.empty() && !gif.empty());
  struct Row {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"coupe.bmp", bmp.substr(0, 40)},
      {"sans-pixels.bmp", bmp.substr(0, bmp.size() / 2)},
      {"coupe.wav", wav.substr(0, 20)},
      {"coupe.jpg", jpg.substr(0, jpg.size() / 3)},
      {"coupe.gif", gif.substr(0, 12)},
      {"texte.bmp", "Bonjour, ceci n'est pas une image."},
      {"image.wav", bmp},
      {"vide.gif", ""},
  };
  InAuthoringProgram([&](PaintToolsWindow&) {
    const SmartRef<Clipboard> clip = authoring->GetClipboard();
    const SmartRef<String> kept = new String("avant");
    for (const Row& row : rows) {
      SCOPED_TRACE(row.name);
      clip->SetScrap(~kept);
      bool failed = false;
      try {
        ImportSound(authoring, *FileWith(row.name, row.bytes), nullptr, true);
      } catch (Exception* exception) {
        const SmartRef<Exception> caught(exception);
        failed = true;
      }
      EXPECT_TRUE(failed) << "the reader refuses the file";
      EXPECT_EQ(clip->GetScrap(), ~kept) << "the clipboard keeps what it held";
    }
  });
}

// Every picture and sound shipped as clip art, as the sorted paths under the program's data folder.
std::vector<std::filesystem::path> ClipArtFiles() {
  std::vector<std::filesystem::path> found;
  for (const char* folder : {"Vignette", "Fonds", "Separat"}) {
    const std::filesystem::path root = std::filesystem::path(QUILLORY_SOURCE_DIR) / "data" / folder;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      if (entry.is_regular_file()) found.push_back(entry.path());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

// A BMP's width and height from its header (the height's sign only tells the row order).
Point BmpSize(const std::string& bytes) {
  auto at = [&](std::size_t offset) {
    return static_cast<std::int32_t>(static_cast<std::uint8_t>(bytes[offset]) |
                                     static_cast<std::uint8_t>(bytes[offset + 1]) << 8 |
                                     static_cast<std::uint8_t>(bytes[offset + 2]) << 16 |
                                     static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[offset + 3])) << 24);
  };
  return bytes.size() < 26 ? Point(0, 0) : Point(at(18), std::abs(at(22)));
}

TEST_F(ImportTest, EveryClipArtFileImportsIntoAStagePaneWithoutAnAlert) {
  const std::vector<std::filesystem::path> files = ClipArtFiles();
  std::size_t pictures = 0, sounds = 0;
  for (const auto& path : files) (path.extension() == ".wav" ? sounds : pictures) += 1;
  ASSERT_GT(pictures, 0u);
  ASSERT_GT(sounds, 0u) << "the clip art has sounds as well as pictures";
  InAuthoringProgram([&](PaintToolsWindow&) {
    TestWindow window(800, 600);
    window.MakeFront();
    const SmartRef<CShow> page = engine_test::MakePage({0, 0, 800, 600}, 1);
    Rect frame;
    page->MakeEditor(&frame, ~window.root, window.root->GetBounds());
    const List& views = window.root->GetSubviews();
    const SmartRef<CHAPane> pane = CastSmart<CHAPane>(views.At(views.NumItems()));
    ASSERT_TRUE(pane) << "the page's editor is a stage pane";
    window.root->SetTarget(~pane);
    const SmartRef<Clipboard> clip = authoring->GetClipboard();
    CMovieGroup& group = engine_test::GroupOf(*page);

    AlertRecorder alerts;
    for (const auto& path : files) {
      SCOPED_TRACE(path.string());
      const SmartRef<FileReference> file = new FileReference(path.string().c_str());
      try {
        ASSERT_TRUE(ImportSound(authoring, *file, nullptr, true));
      } catch (Exception* exception) {
        const SmartRef<Exception> caught(exception);
        ADD_FAILURE() << "the file is refused";
        continue;
      }
      if (path.extension() == ".wav") {
        EXPECT_TRUE(IsMember<Sound>(clip->GetScrap())) << "a sound stays a sound";
        continue;
      }
      std::ifstream in(path, std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      const std::int16_t before = group.GetSpriteCount();
      ImportClipTask(~clip, ~pane, Point(0, 0));
      ASSERT_EQ(group.GetSpriteCount(), before + 1) << "the picture is pasted as one sprite";
      Rect placed;
      group.GetSprite(before)->GetFrameGeometry(0, &placed, nullptr);
      EXPECT_EQ(placed.Size(), BmpSize(bytes.str())) << "the sprite has the picture's size";
    }
    EXPECT_TRUE(alerts.Alerts().empty()) << alerts.Alerts().front().text;
    window.root->RemoveSubview(~pane);
  });
}

}  // namespace
}  // namespace editor_test
