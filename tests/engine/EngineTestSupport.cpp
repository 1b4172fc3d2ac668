#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include "core/CoreState.h"
#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "core/Stream.h"
#include "engine/EngineState.h"
#include "engine/Seams.h"
#include "engine/links/CLink.h"
#include "engine/links/WebAddress.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "graphics/OffScreen.h"
#include "graphics/SystemVersion.h"

using engine_test::TestMovie;
using engine_test::WebAddress;

SMART_DEFINE_ABSTRACT(TestMovie, "TestMovie", CMovie)
SMART_DEFINE(WebAddress, "LinkHREF", &CreateDefault<WebAddress>, nullptr, Persistent, SmartImplementation)

const PersistentType TestMovie::persistentType(&TestMovie::classInfo, MakeVersion(1), MakeVersion(1),
                                               &TestMovie::ReadNew);
const PersistentType WebAddress::persistentType(&WebAddress::classInfo, MakeVersion(1), MakeVersion(1),
                                                &WebAddress::ReadNew);

namespace engine_test {

namespace {

SmartRef<Persistent> MakePageAddress(const String& pageName) {
  SmartRef<WebAddress> address = new WebAddress();
  address->href = pageName;
  address->href.Append(".htm");
  return address;
}

void GetAddressText(Smart* address, String& text) { text = CastSmart<WebAddress>(address)->href; }

}  // namespace

void EngineTest::SetUp() {
  Prepare(32, Win95, folder.WinPath());
  InstallEngineSeams();
  SetWebAddressHooks({&WebAddress::classInfo, &MakePageAddress, &GetAddressText});
  TheCoreState().reportedPlaces.clear();
  ResetEngineState();
}

void EngineTest::TearDown() {
  SetWebAddressHooks({});
  ResetEngineState();
  GraphicsFixture::TearDown();
}

TestMovie::TestMovie(ArchiveBlock& block) : Smart(), CMovie(block) {}

Persistent* TestMovie::ReadNew(Archive* archive) { return ReadFromBlock<TestMovie>(archive, &persistentType); }

void TestMovie::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteMoviePart(block);
}

SmartRef<CMovie> TestMovie::ExtractFrames(std::int16_t start, std::int16_t count, bool cut) {
  return new TestMovie(*this, start, count, cut);
}

WebAddress::WebAddress(ArchiveBlock& block) {
  ArchiveBlock text(block, &String::persistentType);
  href = String(text);
}

Persistent* WebAddress::ReadNew(Archive* archive) { return ReadFromBlock<WebAddress>(archive, &persistentType); }

void WebAddress::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  href.Write(block.GetArchive());
}

SmartRef<TypeIndex> MakeEngineTypeIndex(const PersistentType* jumpFrameType) {
  SmartRef<TypeIndex> index = new TypeIndex(nullptr, MakeVersion(1), "engine");
  for (const PersistentType* type :
       {&String::persistentType, &GenericArray::persistentType, &ListData::persistentType, &CMovie::persistentType,
        &TestMovie::persistentType, &Sound::persistentType, &CLink::persistentType, &CJump::persistentType,
        jumpFrameType ? jumpFrameType : &CJumpFrame::persistentType, &CJumpMovie::persistentType,
        &CFrameIndex::persistentType, &FileReference::persistentType, &WebAddress::persistentType,
        &ColorTable::persistentType})
    index->AddType(type);
  return index;
}

const std::vector<std::uint32_t> kCurrentVersions = {
    0x00010000, 0x00010000, 0x00010000, 0x00020000, 0x00010000, 0x00010002, 0x00020001,
    0x00020000, 0x00020001, 0x00020000, 0x00020000, 0x00010000, 0x00010000, 0x00010002,
};

FileBytes& FileBytes::L(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) body.push_back(static_cast<char>(v >> (8 * i)));
  return *this;
}

FileBytes& FileBytes::S(std::uint16_t v) {
  body.push_back(static_cast<char>(v));
  body.push_back(static_cast<char>(v >> 8));
  return *this;
}

FileBytes& FileBytes::Root(std::uint32_t n, std::uint32_t classIndex, const std::function<void()>& write) {
  entries[n].classIndex = classIndex;
  entries[n].position = Position();
  write();
  entries[n].length = Position() - entries[n].position;
  return *this;
}

std::string FileBytes::File(const std::vector<std::uint32_t>& versions, const std::vector<std::int32_t>& sizes) const {
  FileBytes out;
  const auto count = static_cast<std::uint32_t>(versions.size());
  out.B("OBJS").B("\x02").L(0x00020000).L(0).L(objectsAt + static_cast<std::uint32_t>(body.size())).L(25).L(1);
  out.L(0x00020000).L(16 + 6 + 8 * count).L(0x00010000).Text("engine");
  out.L(count);
  for (std::uint32_t v : versions) out.L(v);
  out.L(count);
  for (std::int32_t s : sizes) out.L(static_cast<std::uint32_t>(s));
  out.B(body);
  out.L(static_cast<std::uint32_t>(entries.size()));
  for (const auto& [n, entry] : entries) out.L(entry.classIndex).L(entry.position).L(entry.length);
  return out.body;
}

void Fill(BitMap& bitmap, const Rect& rect, const Color& color) {
  std::int32_t value = 0;
  ASSERT_TRUE(bitmap.GetColorTable()->IndexOf(color, &value));
  for (PixelCursor cursor(&bitmap, rect, true); cursor.HasRow(); cursor.NextPixel())
    cursor.SetPixel(static_cast<std::uint32_t>(value));
}

SmartRef<OffScreen> Surface(int width, int height, int depth, const Color& background) {
  return new OffScreen(width, height, ColorTable::GetStandard(static_cast<std::int16_t>(depth)), background, true);
}

SmartRef<OffScreen> LetterF(int depth) {
  const SmartRef<OffScreen> surface = Surface(16, 16, depth, Color(2));
  BitMap& pixels = *surface->GetBitMap();
  Fill(pixels, {3, 2, 6, 14}, Color(7));
  Fill(pixels, {3, 2, 13, 5}, Color(9));
  Fill(pixels, {6, 7, 11, 9}, Color(8));
  Fill(pixels, {11, 11, 13, 13}, Color(1));
  return surface;
}

std::string OneColourBmp(int width, int height, std::uint32_t rgb) {
  std::string bmp = "BM";
  const auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<char>(v >> (8 * i)));
  };
  const auto rowBytes = static_cast<std::uint32_t>((width * 3 + 3) / 4 * 4);
  const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height);
  put(14 + 40 + imageBytes, 4), put(0, 4), put(14 + 40, 4);
  put(40, 4), put(static_cast<std::uint32_t>(width), 4), put(static_cast<std::uint32_t>(height), 4), put(1, 2);
  put(24, 2), put(0, 4), put(imageBytes, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
  std::string row;
  for (int x = 0; x < width; ++x) row += {char(rgb & 0xFF), char(rgb >> 8 & 0xFF), char(rgb >> 16 & 0xFF)};
  row.resize(rowBytes, '\0');
  for (int y = 0; y < height; ++y) bmp += row;
  return bmp;
}

SmartRef<Sound> MakeSound(const std::string& bytes) {
  MemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  return new Sound(stream, Sound::wave, false);
}

std::string NumberedText(int id) {
  const Resources set(id, id);
  char text[256];
  set.GetString(text, 0);
  return text;
}

}  // namespace engine_test
