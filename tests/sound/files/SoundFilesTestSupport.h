// What the sound file suites share: the fixtures made by scripts/make-sound-fixtures, sounds read from
// bytes, and sox, the peer that reads what the program writes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/Sound.h"
#include "core/Stream.h"

namespace sound_testing {

std::filesystem::path FixturePath(const std::string& name);
std::string Fixture(const std::string& name);

SmartRef<MemoryStream> StreamOf(const std::string& bytes);
std::string Bytes(const Memory& block);
std::string Bytes(MemoryStream& stream);
// A new sound of the bytes in the format; null when reading raised, the text then in *failure.
SmartRef<Sound> ReadSound(const std::string& bytes, int format, std::string* failure = nullptr);
// The sound written in the format.
std::string WriteSound(Sound& sound, int format);

// Fields of a header, little- or big-endian.
std::uint32_t Little32(const std::string& bytes, std::size_t at);
std::uint16_t Little16(const std::string& bytes, std::size_t at);
std::uint32_t Big32(const std::string& bytes, std::size_t at);
std::uint16_t Big16(const std::string& bytes, std::size_t at);

// What soxi says of a file; empty fields when sox could not read it.
struct SoxInfo {
  std::string channels;
  std::string rate;
  std::string bits;
  std::string samples;
  bool read = false;
};
SoxInfo Soxi(const std::filesystem::path& file);
// The file's samples as sox decodes them, as 32-bit signed little-endian values: two files that give
// the same hold the same sound. Empty when sox could not read the file.
std::string SoxSamples(const std::filesystem::path& file);

// Sounds need the sound library's converters.
class SoundFilesTest : public testing::Test {
 protected:
  void SetUp() override;
};

}  // namespace sound_testing
