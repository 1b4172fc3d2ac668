#include "SoundFilesTestSupport.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "core/CoreState.h"
#include "core/Exception.h"
#include "sound/Seams.h"
#include "support/Raised.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

namespace sound_testing {

namespace {
std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Field(const std::string& report, const std::string& name) {
  std::istringstream lines(report);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(name, 0) != 0) continue;
    std::string value = line.substr(line.find(':') + 1);
    value.erase(0, value.find_first_not_of(' '));
    return value;
  }
  return "";
}
}  // namespace

std::filesystem::path FixturePath(const std::string& name) {
  return std::filesystem::path(QUILLORY_SOURCE_DIR) / "tests/fixtures/sounds" / name;
}

std::string Fixture(const std::string& name) {
  const std::string bytes = ReadWhole(FixturePath(name));
  EXPECT_FALSE(bytes.empty()) << name << " missing: scripts/make-sound-fixtures makes it";
  return bytes;
}

SmartRef<MemoryStream> StreamOf(const std::string& bytes) {
  SmartRef<MemoryStream> stream(new MemoryStream());
  stream->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  stream->Seek(0, kSeekFromStart);
  return stream;
}

std::string Bytes(const Memory& block) {
  return std::string(reinterpret_cast<const char*>(block.GetData()), block.GetSize());
}

std::string Bytes(MemoryStream& stream) {
  return std::string(reinterpret_cast<const char*>(stream.GetMemory().GetData()), stream.GetLength());
}

SmartRef<Sound> ReadSound(const std::string& bytes, int format, std::string* failure) {
  SmartRef<MemoryStream> stream = StreamOf(bytes);
  SmartRef<Sound> sound;
  const SmartRef<Exception> raised = Raised([&] { sound = new Sound(*stream, format, false); });
  gLastException = nullptr;
  if (failure) *failure = raised ? RaisedText(raised) : "";
  return sound;
}

std::string WriteSound(Sound& sound, int format) {
  MemoryStream out;
  sound.Write(out, format);
  return Bytes(out);
}

std::uint32_t Little32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
  return value;
}

std::uint16_t Little16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(at)) |
                                    (static_cast<unsigned char>(bytes.at(at + 1)) << 8));
}

std::uint32_t Big32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
  return value;
}

std::uint16_t Big16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>((static_cast<unsigned char>(bytes.at(at)) << 8) |
                                    static_cast<unsigned char>(bytes.at(at + 1)));
}

SoxInfo Soxi(const std::filesystem::path& file) {
  TempFolder folder;
  SoxInfo info;
  if (RunProgram({"soxi", file.string()}, (folder.Path() / "report").c_str()) != 0) return info;
  const std::string report = folder.Read("report");
  info.read = true;
  info.channels = Field(report, "Channels");
  info.rate = Field(report, "Sample Rate");
  info.bits = Field(report, "Precision");
  const std::string duration = Field(report, "Duration");
  const std::size_t equals = duration.find("= ");
  if (equals != std::string::npos) info.samples = duration.substr(equals + 2, duration.find(' ', equals + 2) - equals - 2);
  return info;
}

std::string SoxSamples(const std::filesystem::path& file) {
  TempFolder folder;
  const auto raw = folder.Path() / "samples.raw";
  if (RunProgram({"sox", "-D", file.string(), "-t", "raw", "-e", "signed-integer", "-b", "32", "-L", raw.string()}) != 0)
    return "";
  return ReadWhole(raw);
}

void SoundFilesTest::SetUp() {
  InstallSoundSeams();
  TheCoreState().reportedPlaces.clear();
}

}  // namespace sound_testing
