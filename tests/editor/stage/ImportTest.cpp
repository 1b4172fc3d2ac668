// A file read onto the clipboard for the stage: a sound as it is, a picture as a sprite named after the
// file, and a damaged or foreign file refused with its reader's error, the clipboard untouched.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/Sound.h"
#include "core/String.h"
#include "editor/PaintToolsWindow.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "editor/stage/ImportExport.h"
#include "engine/sprites/CSprite.h"
#include "support/TempFolder.h"
#include "ui/shell/Clipboard.h"
#include "ui/shell/Tool.h"

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

}  // namespace
}  // namespace editor_test
