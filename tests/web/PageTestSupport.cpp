#include "PageTestSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/Seams.h"
#include "core/Stream.h"
#include "core/String.h"
#include "graphics/formats/ImageScribe.h"
#include "graphics/formats/PixelBuffer.h"
#include "web/Seams.h"
#include "web/html/PageCompiler.h"

namespace web_test {

SmartRef<BitMap> MakePicture(int width, int height, const std::function<std::uint32_t(int, int)>& colour) {
  PixelBuffer pixels(width, height, 24);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = pixels.Row(y);
    for (int x = 0; x < width; ++x, row += 3) {
      const std::uint32_t rgb = colour(x, y);
      row[0] = static_cast<std::uint8_t>(rgb), row[1] = static_cast<std::uint8_t>(rgb >> 8),
      row[2] = static_cast<std::uint8_t>(rgb >> 16);
    }
  }
  return NewBitMapForDisplay(pixels, "Conversion");
}

std::string FixtureBytes(const std::string& relative) {
  std::ifstream in(std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/" + relative, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

SmartRef<Sound> FixtureSound(const char* name) {
  const std::string bytes = FixtureBytes(std::string("sounds/") + name);
  SmartRef<MemoryStream> stream = new MemoryStream();
  stream->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  return new Sound(*stream, Sound::wave, false);
}

namespace {

ProgressRecorder* gRecorder = nullptr;

class RecordingDisplay : public ProgressDisplay, public SmartImplementation {
 public:
  SMART_NOT_COPYABLE
  void Open() override {}
  void SetProgress(std::uint32_t, std::uint32_t) override { ++steps; }
  void SetCaption(const String& text) override {
    if (gRecorder) gRecorder->captions.push_back(TextOf(text));
  }
  void BringUp() override {}
  void Refresh() override {}
  bool WasCancelled() override { return gRecorder && gRecorder->stopAfterSteps >= 0 && steps > gRecorder->stopAfterSteps; }
  void Close() override {}

 private:
  int steps = 0;
};

SmartRef<ProgressDisplay> MakeRecordingDisplay(const char* caption) {
  if (gRecorder) gRecorder->captions.push_back(caption);
  return new RecordingDisplay();
}

}  // namespace

ProgressRecorder::ProgressRecorder() {
  gRecorder = this;
  SetProgressDisplayMaker(&MakeRecordingDisplay);
}

ProgressRecorder::~ProgressRecorder() {
  SetProgressDisplayMaker(nullptr);
  gRecorder = nullptr;
}

void PageTest::SetUp() {
  GraphicsFixture::SetUp();
  InstallWebSeams();
  output = new FileReference(folder.MakeFolder("HTML").c_str());
}

void PageTest::TearDown() {
  gProgressDialog = nullptr;
  GraphicsFixture::TearDown();
}

std::string PageTest::Compile(htmlElement& root, const char* pageName) {
  files = List(&FileReference::classInfo);
  CompileHTMLPage(root, String(pageName), output, files);
  const std::string page = TextOf(SanitizeHTMLName(String(pageName))) + ".htm";
  EXPECT_TRUE(OutputExists(page)) << page;
  return Output(page);
}

bool PageTest::OutputExists(const std::string& name) const {
  return std::filesystem::exists(folder.Path() / "HTML" / name);
}

std::vector<std::string> PageTest::OutputNames() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path() / "HTML"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace web_test
