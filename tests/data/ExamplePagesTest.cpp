// The example pages of data/ read as the program reads a page file, every link they carry goes to a
// reserved example domain, and the player shows every frame of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/File.h"
#include "core/FileReference.h"
#include "core/Format.h"
#include "core/ObjectFile.h"
#include "core/String.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/player/CPlayer.h"
#include "engine/Seams.h"
#include "engine/sprites/CSprite.h"
#include "graphics/DisplayPort.h"
#include "support/AlertRecorder.h"
#include "support/graphics/GraphicsFixture.h"
#include "support/graphics/SurfaceDevice.h"
#include "ui/ViewTestSupport.h"
#include "web/Seams.h"

namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(QUILLORY_SOURCE_DIR) / "data";

// The folders of pages, with how many each holds and the size of every page in it (0: any size).
struct PageFolder {
  const char* name;
  std::size_t count;
  Point size;
};
const PageFolder kFolders[] = {
    {"Exemples", 2, {480, 360}},
    {"Sitessym", 3, {160, 20}},   // the cells of its browser
    {"Clubskid", 3, {102, 48}},
    {"Liens", 3, {199, 75}},
};

// The host of an http address; empty for anything else.
std::string HostOf(const std::string& address) {
  const std::string scheme = "http://";
  if (address.rfind(scheme, 0) != 0) return {};
  const std::size_t end = address.find('/', scheme.size());
  return address.substr(scheme.size(), end == std::string::npos ? std::string::npos : end - scheme.size());
}

bool IsReservedHost(const std::string& host) {
  for (const std::string domain : {"example.org", "example.com", "example.net", "invalid"}) {
    if (host == domain) return true;
    if (host.size() > domain.size() && host.ends_with("." + domain)) return true;
  }
  return false;
}

std::string WindowsPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

class ExamplePagesTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    InstallWebSeams();
  }

  // The page file read as the program opens a page: its root object, which has to be a page.
  static SmartRef<CShow> Open(const fs::path& path) {
    const SmartRef<FileReference> reference = new FileReference(WindowsPath(path.string()).c_str());
    const SmartRef<File> file = new File(~reference, kFileModeRead);
    const SmartRef<ObjectFile> objects = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~file));
    SmartRef<Smart> root;
    objects->Read(&root);
    EXPECT_FALSE(objects->IsDamaged()) << path;
    return CastSmart<CShow>(~root);
  }

  static std::vector<fs::path> Pages(const char* folder) {
    std::vector<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(kData / folder))
      if (entry.path().extension() == ".zod") pages.push_back(entry.path());
    return pages;
  }
};

TEST_F(ExamplePagesTest, EveryPageOpensAndLinksOnlyToReservedDomains) {
  AlertRecorder alerts;
  for (const PageFolder& folder : kFolders) {
    const std::vector<fs::path> pages = Pages(folder.name);
    EXPECT_EQ(pages.size(), folder.count) << folder.name;
    for (const fs::path& path : pages) {
      SCOPED_TRACE(path.string());
      const SmartRef<CShow> page = Open(path);
      ASSERT_TRUE(page);
      auto* group = CastSmart<CMovieGroup>(page->GetMovieGroup());
      ASSERT_NE(group, nullptr);
      EXPECT_EQ(group->GetBounds().Size(), folder.size);
      std::set<std::string> hosts;
      for (std::int16_t i = 0; i < group->GetSpriteCount(); ++i) {
        const CSprite& sprite = *group->GetSprite(i);
        for (std::int16_t f = 0; f < sprite.GetFrameCount(); ++f) {
          CLink* link = sprite.GetLinkAtFrame(f);
          if (link == nullptr) continue;
          String text;
          GetWebAddressHooks().getAddressText(~link->GetHref(), text);
          const TextLock lock(text);
          const std::string address(lock.Chars(), static_cast<std::size_t>(lock.Length()));
          EXPECT_TRUE(IsReservedHost(HostOf(address))) << address;
          hosts.insert(HostOf(address));
        }
      }
      EXPECT_FALSE(hosts.empty()) << "an example page with no link";
    }
  }
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(ExamplePagesTest, ThePlayerShowsEveryFrameAndEachFrameDrawsAPicture) {
  AlertRecorder alerts;
  TestWindow window{800, 600};
  window.MakeFront();
  for (const PageFolder& folder : kFolders) {
    for (const fs::path& path : Pages(folder.name)) {
      SCOPED_TRACE(path.string());
      const SmartRef<CShow> page = Open(path);
      ASSERT_TRUE(page);
      const Rect bounds = page->GetMovieGroup()->GetBounds();
      const std::int16_t frames = page->GetMovieGroup()->GetFrameCount();
      {
        const SmartRef<CPlayer> player = new CPlayer(page, *window.root, false);
        for (std::int16_t f = 0; f < frames; ++f) {
          player->ShowFrame(f);
          EXPECT_EQ(player->GetCurrentFrame(), f);
        }
        EXPECT_EQ(page->GetMovieGroup()->GetFrameCount(), frames) << "showing a frame grew the page";
      }
      for (std::int16_t f = 0; f < frames; ++f) {
        SurfaceDevice surface(bounds.right, bounds.bottom);
        {
          DisplayPort port(&surface, bounds);
          page->DrawFrame(port, f, bounds, 0, nullptr, Rect());
        }
        std::set<std::uint32_t> colours;
        for (int y = 0; y < bounds.bottom; y += 3)
          for (int x = 0; x < bounds.right; x += 3) colours.insert(surface.Pixel(x, y));
        EXPECT_GE(colours.size(), 3u) << "frame " << f << " draws next to nothing";
      }
    }
  }
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace
