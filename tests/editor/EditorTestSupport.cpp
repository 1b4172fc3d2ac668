#include "EditorTestSupport.h"

#include "core/Exception.h"
#include "editor/KidResources.h"
#include "editor/Seams.h"
#include "graphics/formats/ImageResource.h"

namespace editor_test {

namespace {

void Put(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

}  // namespace

std::string BmpBytes(int width, int height, const std::function<std::uint32_t(int x, int y)>& rgb) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const auto pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
  std::string bmp = "BM";
  Put(bmp, 14 + 40 + pixelBytes, 4), Put(bmp, 0, 4), Put(bmp, 14 + 40, 4);
  Put(bmp, 40, 4), Put(bmp, static_cast<std::uint32_t>(width), 4), Put(bmp, static_cast<std::uint32_t>(height), 4);
  Put(bmp, 1, 2), Put(bmp, 24, 2), Put(bmp, 0, 4), Put(bmp, pixelBytes, 4);
  Put(bmp, 0, 4), Put(bmp, 0, 4), Put(bmp, 0, 4), Put(bmp, 0, 4);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) Put(bmp, rgb(x, y), 3);
    bmp.append(static_cast<std::size_t>(rowBytes - width * 3), '\0');
  }
  return bmp;
}

void EditorTest::SetUp() {
  folder.MakeFolder("Data");
  Prepare(32, Win95, folder.WinPath());
  InstallEditorSeams();
  exception_testing::ForgetReportedPlaces();
}

void EditorTest::TearDown() {
  // The set keeps what it loaded for the whole run; these pictures go with the test's folder.
  for (int n : pictures) KidResources::GetImage(n)->Purge();
  GraphicsFixture::TearDown();
}

void EditorTest::WriteFile(int id, const std::string& extension, const std::string& bytes) {
  folder.Write("Data/" + std::to_string(id) + "." + extension, bytes);
}

void EditorTest::WritePicture(int n, int width, int height, const std::function<std::uint32_t(int x, int y)>& rgb) {
  pictures.insert(n);
  WriteFile(1000 + n, "bmp", BmpBytes(width, height, rgb));
}

void EditorTest::WriteSound(int n) {
  const std::string samples(200, '\x80');
  std::string wav = "RIFF";
  Put(wav, static_cast<std::uint32_t>(36 + samples.size()), 4);
  wav += "WAVEfmt ";
  Put(wav, 16, 4), Put(wav, 1, 2), Put(wav, 1, 2), Put(wav, 22050, 4), Put(wav, 22050, 4), Put(wav, 1, 2);
  Put(wav, 8, 2);
  wav += "data";
  Put(wav, static_cast<std::uint32_t>(samples.size()), 4);
  wav += samples;
  WriteFile(1000 + n, "wav", wav);
}

}  // namespace editor_test
