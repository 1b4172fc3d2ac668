// The program's own data folders as they are checked in under data/: every numbered picture, sound and
// text that the resource sets ask for is there and reads, the clip-art folders hold what the browsers
// list, and standard tools read every picture and sound the same way the program does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/CoreState.h"
#include "core/FileReference.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "core/Stream.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/ImageResource.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/BitmapResource.h"
#include "platform/user/Cursor.h"
#include "platform/user/Icon.h"
#include "support/RunProgram.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "support/TempFolder.h"
#include "support/graphics/GraphicsFixture.h"
#include "ui/shell/Cursor.h"
#include "ui/shell/WinMain.h"
#include "web/Seams.h"
#include "web/lists/LinkList.h"
#include "web/lists/ProviderFile.h"

namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(QUILLORY_SOURCE_DIR) / "data";

// The editor's set and the application's set, over the ids their libraries will give them.
Resources& kidResources = *new Resources(1000, 4999);  // never destroyed: the caches outlive the drawing layer
Resources& appResources = *new Resources(1000, 3999);

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Bytes(const String& text) {
  const TextLock lock(text);
  return std::string(lock.Chars(), static_cast<std::size_t>(lock.Length()));
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

std::vector<fs::path> FilesUnder(const fs::path& folder, const std::string& extension) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().extension() == extension) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

SmartRef<BitMap> Decode(const std::string& bytes) {
  SmartRef<MemoryStream> stream = new MemoryStream();
  stream->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  stream->Seek(0, kSeekFromStart);
  return new BitMap(~stream, false, 0);
}

// The program started from a copy of data/: the graphics fixture makes data/ the program's folder.
class ProgramData : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    // The sound library's reader, which tells a WAVE file from a damaged one.
    InstallWebSeams();
    TheCoreState().osApp = nullptr;
    record.instance = reinterpret_cast<HINSTANCE>(0x400000);
    Resources::SetOSApp(&record);
  }
  void TearDown() override {
    TheCoreState().osApp = nullptr;
    GraphicsFixture::TearDown();
  }
  MainWindowRecord record;
};

TEST_F(ProgramData, EveryNumberedPictureLoadsAtItsSize) {
  struct Case {
    Resources* set;
    int id;
    int width;  // 0: the artwork's own size
    int height;
  };
  std::vector<Case> cases = {
      {&stockResources, 201, 0, 0},  {&stockResources, 204, 0, 0},
      // The grids of the editor's looks and the application's button looks hold their buttons exactly.
      {&kidResources, 1020, 210, 25}, {&kidResources, 1021, 210, 25}, {&kidResources, 1024, 216, 43},
      {&kidResources, 1030, 50, 75},  {&kidResources, 1031, 50, 75},
      {&appResources, 1551, 133, 390}, {&appResources, 1552, 133, 390}, {&appResources, 1553, 133, 0},
      {&appResources, 1420, 0, 0}, {&appResources, 1421, 0, 0}, {&appResources, 1422, 0, 0}};
  for (int id = 3020; id <= 3022; ++id) cases.push_back({&kidResources, id, 0, 70});
  for (int id = 3030; id <= 3032; ++id) cases.push_back({&kidResources, id, 50, 50});
  for (int page = 1500; page <= 1540; page += 10) {
    cases.push_back({&appResources, page + 1, 430, 50});
    cases.push_back({&appResources, page + 2, 430, 50});
  }
  for (int id : {1700, 1701, 1702, 1703, 1704, 1705, 1706, 1707, 1708, 1709, 1710, 1711, 1712, 1713, 1715, 1716,
                 1717, 1718, 1720, 1721, 1800, 1801, 1802, 1803, 1805})
    cases.push_back({&appResources, id, 0, 0});

  AlertRecorder alerts;
  std::map<int, Point> sizes;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const int index = c.id - c.set->GetFirst();
    const SmartRef<BitMap> picture = c.set->GetImageResource(index)->Get();
    ASSERT_TRUE(picture);
    const Point size = c.set->GetImageSize(index);
    if (c.width != 0) {
      EXPECT_EQ(size.x, c.width);
    }
    if (c.height != 0) {
      EXPECT_EQ(size.y, c.height);
    }
    sizes[c.id] = size;
  }
  EXPECT_TRUE(alerts.Alerts().empty());
  // A button's looks are drawn over one another, so each pair has one size.
  for (const auto& [up, down] : std::map<int, int>{{1700, 1701}, {1702, 1703}, {1704, 1705}, {1706, 1707},
                                                   {1708, 1709}, {1710, 1711}, {1712, 1717}, {1713, 1718},
                                                   {1715, 1716}, {1720, 1721}})
    EXPECT_EQ(sizes[up], sizes[down]) << up;
}

TEST_F(ProgramData, EveryNumberedSoundAndTextReads) {
  std::vector<int> ids = {1000, 1001, 1002, 1003, 1004, 1005, 1012, 1013, 1014, 1020, 1022, 1023, 1060, 1061};
  for (int id = 1031; id <= 1036; ++id) ids.push_back(id);
  for (int id = 1040; id <= 1043; ++id) ids.push_back(id);
  AlertRecorder alerts;
  for (int id : ids) {
    Sound* sound = kidResources.GetSoundResource(id - 1000)->Get();
    ASSERT_NE(sound, nullptr) << id;
    EXPECT_FALSE(sound->IsEmpty()) << id;
  }
  EXPECT_TRUE(alerts.Alerts().empty());

  String text;
  ASSERT_TRUE(LoadDataText(text, 2000));
  const std::string lines = Bytes(text);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
  ASSERT_TRUE(LoadDataText(text, 1000));
  // A destination no one can be reached at: the reserved top-level name, written as the publisher reads it.
  const std::string destination = Bytes(text);
  EXPECT_EQ(destination.rfind("ftp:/", 0), 0u);
  EXPECT_NE(destination.find(".invalid/"), std::string::npos);
  // No account or password ships: the dialog offers its own words for the child to replace.
  EXPECT_FALSE(LoadDataText(text, 1001));
  EXPECT_FALSE(LoadDataText(text, 1002));
}

TEST_F(ProgramData, TheProgramsCursorsAndCompiledPicturesAreThere) {
  for (int id : {6001, 6002}) {
    const HBITMAP picture = LoadBitmapA(record.instance, MAKEINTRESOURCEA(id));
    ASSERT_NE(picture, nullptr) << id;
    BITMAP info{};
    GetObjectA(picture, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 30);
    EXPECT_EQ(info.bmHeight, 16);  // the menu bar's height less its margins
    DeleteObject(picture);
  }
  // The program's icon, also the SDL window's: a drawing with its corners left out.
  const platform::IconImage* icon = platform::IconImageOf(LoadIconA(record.instance, MAKEINTRESOURCEA(100)));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->width, 32);
  EXPECT_EQ(icon->height, 32);
  for (std::size_t corner : {0u, 31u, 31u * 32u, 32u * 32u - 1u}) EXPECT_EQ(icon->pixels[corner] >> 24, 0u) << corner;
  std::set<std::uint32_t> colours;
  for (std::uint32_t pixel : icon->pixels)
    if (pixel >> 24) colours.insert(pixel);
  EXPECT_GE(colours.size(), 4u);  // more than a blot
  for (int id : {201, 208, 210, 219, 230}) {
    const SmartRef<Cursor> cursor(stockResources.GetCursor(id - 200));
    EXPECT_EQ(cursor->GetHandle(), LoadCursorA(record.instance, MAKEINTRESOURCEA(id))) << id;
  }
  for (int id = 300; id <= 319; ++id) {
    const SmartRef<Cursor> cursor(stockResources.GetCursor(id - 200));
    EXPECT_EQ(cursor->GetHandle(), LoadCursorA(record.instance, MAKEINTRESOURCEA(id))) << id;
  }
}

TEST_F(ProgramData, EveryFolderTheProgramOpensIsThere) {
  char name[256];
  for (int id : {1000, 1001, 1002, 1004, 1006, 1009, 1010, 1013}) {
    appResources.GetString(name, id - 1000);
    EXPECT_TRUE(fs::is_directory(kData / name)) << name;
  }
  for (const char* folder : {"Data", "FDA", "LNWEB", "LNEMAIL", "Vignette/Around the World"})
    EXPECT_TRUE(fs::is_directory(kData / folder)) << folder;
  // Backgrounds come at each page size.
  for (const char* size : {"480x360", "600x450", "760x570"}) {
    int found = 0;
    for (const fs::path& file : FilesUnder(kData / "Fonds", ".bmp")) {
      if (file.stem().string().ends_with(size)) {
        const SmartRef<BitMap> picture = Decode(ReadBytes(file));
        Rect bounds;
        picture->GetBounds(&bounds);
        EXPECT_EQ(std::to_string(bounds.Size().x) + "x" + std::to_string(bounds.Size().y), size) << file;
        ++found;
      }
    }
    EXPECT_GT(found, 0) << size;
  }
}

// The provider and link folders as the publish and link dialogs read them: every file good (a bad one
// would be offered for deletion), and nothing that reaches a real host or person.
TEST_F(ProgramData, TheProviderAndLinkFilesReadGoodAndReachOnlyReservedNames) {
  AlertRecorder alerts;
  // Were a file bad, its deletion is refused: the checked-in file stays.
  alerts.Answer({IDCANCEL, IDCANCEL, IDCANCEL, IDCANCEL});
  const std::vector<ProviderEntry> providers = ReadProviders(*ProviderFolder());
  ASSERT_EQ(providers.size(), 1u);
  EXPECT_TRUE(Bytes(providers[0].ftpHost).ends_with(".invalid")) << Bytes(providers[0].ftpHost);
  EXPECT_NE(Bytes(providers[0].webPathTemplate).find(".invalid/"), std::string::npos);
  EXPECT_NE(Bytes(providers[0].serverPathTemplate).find("%1"), std::string::npos);

  for (const auto& [kind, reserved] : {std::pair{kWebLinks, "www.example.org"}, {kEmailLinks, "@example.org"}}) {
    LinkLists lists;
    ReadLinks(*LinkFolder(kind), lists, false);
    ASSERT_GT(lists.linkURLs.NumItems(), 0) << kind;
    EXPECT_EQ(lists.linkNames.NumItems(), lists.linkURLs.NumItems());
    for (std::int32_t i = 1; i <= lists.linkURLs.NumItems(); ++i) {
      const std::string url = Bytes(*CastSmart<String>(lists.linkURLs.At(i)));
      EXPECT_NE(url.find(reserved), std::string::npos) << url;
    }
  }
  EXPECT_TRUE(alerts.Alerts().empty());
}

// ImageMagick's decoding of every picture, pixel for pixel, is the program's. ImageMagick is asked once
// for all of them, as each start of it costs more than decoding a picture.
TEST_F(ProgramData, EveryPictureDecodesAsImageMagickDecodesIt) {
  const std::vector<fs::path> pictures = FilesUnder(kData, ".bmp");
  ASSERT_FALSE(pictures.empty());
  std::string all;
  for (const fs::path& path : pictures) all += " " + Quoted(path);
  const std::string sizes = CommandOutput("/usr/bin/identify -format '%wx%h\\n'" + all);
  const std::string rgb = CommandOutput("/usr/bin/convert" + all + " -depth 8 rgb:-");
  std::size_t line = 0, at = 0;
  for (const fs::path& path : pictures) {
    SCOPED_TRACE(path.string());
    const SmartRef<BitMap> picture = Decode(ReadBytes(path));
    Rect bounds;
    picture->GetBounds(&bounds);
    const int width = bounds.Size().x, height = bounds.Size().y;
    const std::size_t end = sizes.find('\n', line);
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(sizes.substr(line, end - line), std::to_string(width) + "x" + std::to_string(height));
    line = end + 1;
    ASSERT_LE(at + static_cast<std::size_t>(width * height * 3), rgb.size());
    const auto* pixels = reinterpret_cast<const unsigned char*>(rgb.data() + at);
    at += static_cast<std::size_t>(width * height * 3);
    int wrong = 0;
    const auto compareRow = [&](int y) {
      for (int x = 0; x < width; ++x) {
        const Color c = picture->GetPixelColor(picture->GetPixelValue(x, y));
        const unsigned char* p = pixels + (y * width + x) * 3;
        if (c.red >> 8 != p[0] || c.green >> 8 != p[1] || c.blue >> 8 != p[2]) ++wrong;
      }
    };
    // Every third row and the last: a run-length slip shifts every row after it, so a slip shows.
    for (int y = 0; y < height; y += 3) compareRow(y);
    if ((height - 1) % 3 != 0) compareRow(height - 1);
    EXPECT_EQ(wrong, 0);
  }
  EXPECT_EQ(at, rgb.size());
}

// sox reads every sound as the short mono sound the program plays, and the program reads it too. sox is
// asked each question once for all the files.
TEST_F(ProgramData, EverySoundIsAShortMonoWave) {
  const std::vector<fs::path> sounds = FilesUnder(kData, ".wav");
  ASSERT_FALSE(sounds.empty());
  std::string all;
  for (const fs::path& path : sounds) all += " " + Quoted(path);
  std::string expected;
  for (std::size_t i = 0; i < sounds.size(); ++i) expected += "1\n";
  EXPECT_EQ(CommandOutput("sox --i -c" + all), expected);
  std::string rates, bits;
  for (std::size_t i = 0; i < sounds.size(); ++i) rates += "22050\n", bits += "16\n";
  EXPECT_EQ(CommandOutput("sox --i -r" + all), rates);
  EXPECT_EQ(CommandOutput("sox --i -b" + all), bits);
  const std::string durations = CommandOutput("sox --i -D" + all);
  std::size_t at = 0;
  for (const fs::path& path : sounds) {
    SCOPED_TRACE(path.string());
    const std::size_t end = durations.find('\n', at);
    ASSERT_NE(end, std::string::npos);
    const double seconds = std::stod(durations.substr(at, end - at));
    at = end + 1;
    EXPECT_GT(seconds, 0.0);
    EXPECT_LT(seconds, 1.5);
    const std::string bytes = ReadBytes(path);
    SmartRef<MemoryStream> stream = new MemoryStream();
    stream->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    const SmartRef<Sound> sound = new Sound(*stream, Sound::wave, false);
    EXPECT_EQ(sound->GetData().GetSize(), bytes.size());
  }
}

// A data file damaged or deleted after installation is the program's own missing-resource message, with its
// id, and the failure the caller sees is text 131: never a crash, never an empty picture or sound.
struct DamageCase {
  const char* name;
  int id;
  const char* extension;
  int keep;  // bytes of the good file kept: -1 none (deleted), -2 the file replaced by text, -3 half
  const char* failure;
};

class DamagedData : public ProgramData, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedData, IsReportedWithItsIdAndText131) {
  const DamageCase& c = GetParam();
  TempFolder root;
  fs::create_directories(root.Path() / "Data");
  const std::string file = "Data/" + std::to_string(c.id) + c.extension;
  const std::string good = ReadBytes(kData / file);
  if (c.keep == -2) {
    root.Write(file, "pas une image ni un son");
  } else if (c.keep != -1) {
    root.Write(file, good.substr(0, c.keep == -3 ? good.size() / 2 : static_cast<std::size_t>(c.keep)));
  }
  Prepare(32, Win95, root.WinPath());
  AlertRecorder alerts;
  // A fresh set, as at a start: nothing is cached from the good file.
  Resources set(1000, 4999);
  const std::string raised = RaisedText(Raised([&] {
    if (std::string(c.extension) == ".bmp") {
      set.GetImageResource(c.id - 1000)->Get();
    } else {
      set.GetSoundResource(c.id - 1000)->Get();
    }
  }));
  EXPECT_EQ(raised, "Fichier de données standard manquant. Réinstaller le programme."_cp);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, std::string(c.failure) + "\nResID=" + std::to_string(c.id));
  EXPECT_EQ(alerts.Alerts()[0].caption, "Ressource manquante");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedData,
    ::testing::Values(DamageCase{"HalfAPicture", 1420, ".bmp", -3, "GetImageData failed!"},
                      DamageCase{"PictureHeaderOnly", 1551, ".bmp", 20, "GetImageData failed!"},
                      DamageCase{"DeletedPicture", 1420, ".bmp", -1, "GetImageData failed!"},
                      DamageCase{"PictureReplacedByText", 3030, ".bmp", -2, "GetImageData failed!"},
                      DamageCase{"DeletedSound", 1060, ".wav", -1, "GetSoundData failed!"},
                      DamageCase{"SoundHeaderOnly", 1000, ".wav", 30, "GetSoundData failed!"},
                      DamageCase{"SoundReplacedByText", 1031, ".wav", -2, "GetSoundData failed!"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
