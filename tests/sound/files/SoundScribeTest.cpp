// The WAVE and AIFF scribes over real files.
#include <gtest/gtest.h>

#include "SoundFilesTestSupport.h"
#include "core/File.h"
#include "core/FileReference.h"
#include "core/FileType.h"
#include "core/String.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

using namespace sound_testing;

namespace {

class SoundScribeTest : public SoundFilesTest {
 protected:
  SmartRef<File> Open(const std::string& name, const std::string& bytes) {
    SmartRef<FileReference> reference(new FileReference(folder.Write(name, bytes).c_str()));
    return new File(~reference, kFileModeRead);
  }
  SmartRef<File> Create(const std::string& name) {
    SmartRef<FileReference> reference(new FileReference(folder.Write(name).c_str()));
    return new File(~reference, kFileModeRead | kFileModeWrite);
  }
  SmartRef<Scribe> ScribeFor(int format, Stream* stream) {
    if (format == Sound::aiff) return new AIFFFile(stream);
    return new WAVEFile(stream);
  }
  // Reads the bytes through the format's scribe; null when it raised, the text in failure.
  SmartRef<Sound> ReadThrough(int format, const std::string& bytes, std::string* failure = nullptr) {
    SmartRef<File> file = Open("in", bytes);
    SmartRef<Scribe> scribe = ScribeFor(format, ~file);
    SmartRef<Smart> read;
    const SmartRef<Exception> raised = Raised([&] { scribe->Read(&read); });
    gLastException = nullptr;
    if (failure) *failure = raised ? RaisedText(raised) : "";
    return SmartRef<Sound>(CastSmart<Sound>(~read));
  }
  std::string WriteThrough(int format, SmartRef<Smart> object) {
    {
      SmartRef<File> file = Create("out");
      ScribeFor(format, ~file)->Write(object);
      file->Close();
    }
    return folder.Read("out");
  }

  TempFolder folder;
};

TEST_F(SoundScribeTest, WaveFilesGoBackByteForByte) {
  for (const char* fixture : {"mono8-11025.wav", "list-chunk.wav", "odd-chunk.wav", "mono24-extensible.wav"}) {
    SCOPED_TRACE(fixture);
    const std::string original = Fixture(fixture);
    SmartRef<Sound> sound = ReadThrough(Sound::wave, original);
    ASSERT_TRUE(sound);
    EXPECT_FALSE(sound->ToggleLoop(false));
    EXPECT_EQ(Bytes(sound->GetData()), original);
    EXPECT_EQ(WriteThrough(Sound::wave, sound), original);
  }
}

TEST_F(SoundScribeTest, AiffBecomesAWaveImageAndIsWrittenAsOne) {
  SmartRef<Sound> sound = ReadThrough(Sound::aiff, Fixture("stereo16-11127.iff"));
  ASSERT_TRUE(sound);
  const std::string wave = WriteThrough(Sound::wave, sound);
  ASSERT_EQ(wave.size(), 44u + 300 * 4);
  EXPECT_EQ(wave.substr(0, 4), "RIFF");
  EXPECT_EQ(Little32(wave, 24), 11025u);
  EXPECT_EQ(Bytes(sound->GetData()), wave);
  // And back to AIFF through its scribe: the samples as sox wrote them.
  const std::string aiff = WriteThrough(Sound::aiff, sound);
  EXPECT_EQ(aiff.substr(54), Fixture("stereo16-11127.iff").substr(Fixture("stereo16-11127.iff").size() - 1200));
}

TEST_F(SoundScribeTest, OnlySoundsAreWritten) {
  SmartRef<Sound> fromDisk(new Sound(new FileReference(folder.Write("a.wav", Fixture("mono8-11025.wav")).c_str()), false));
  for (int format : {Sound::wave, Sound::aiff}) {
    SCOPED_TRACE(format);
    EXPECT_EQ(WriteThrough(format, new String("not a sound")), "");
    EXPECT_EQ(WriteThrough(format, nullptr), "");
  }
  // A sound played from disk holds nothing to convert.
  EXPECT_EQ(WriteThrough(Sound::wave, fromDisk), "");
  EXPECT_EQ(RaisedText(Raised([&] { WriteThrough(Sound::aiff, fromDisk); })), "Call failed.");
  gLastException = nullptr;
  EXPECT_EQ(folder.Read("out"), "");
}

TEST_F(SoundScribeTest, ForeignAndDamagedFilesAreRefused) {
  const struct {
    int format;
    const char* fixture;
  } cases[] = {
      {Sound::wave, "truncated-samples.wav"}, {Sound::wave, "truncated-header.wav"},
      {Sound::wave, "mono8-22254.iff"},        {Sound::aiff, "mono16-44100.wav"},
      {Sound::aiff, "truncated-samples.iff"},  {Sound::wave, "format1-22254.snd"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    std::string failure;
    EXPECT_FALSE(ReadThrough(c.format, Fixture(c.fixture), &failure));
    EXPECT_EQ(failure, "Call failed.");
  }
}

TEST_F(SoundScribeTest, ScribesAreNamedReadSoundsAndCannotBeCopied) {
  SmartRef<MemoryStream> stream(new MemoryStream());
  const struct {
    SmartRef<Scribe> scribe;
    const char* name;
  } cases[] = {{new WAVEFile(~stream), "WAVEFile"}, {new AIFFFile(~stream), "AIFFFile"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_STREQ(c.scribe->GetClassInfo()->GetName(), c.name);
    EXPECT_TRUE(c.scribe->IsKindOf(&Scribe::classInfo));
    EXPECT_TRUE(c.scribe->ReadsKindOf(&Sound::classInfo));
    EXPECT_TRUE(c.scribe->ReadsKindOf(&Persistent::classInfo));
    EXPECT_FALSE(c.scribe->ReadsKindOf(&String::classInfo));
    EXPECT_TRUE(c.scribe->IsWritable());
    EXPECT_EQ(c.scribe->Clone(), nullptr);
    EXPECT_FALSE(c.scribe->CanCopyFrom(~c.scribe));
  }
  const FileType& aiff = AIFFFile::GetFileType();
  EXPECT_STREQ(aiff.GetName(), "Son AIFF");
  EXPECT_EQ(aiff.GetMacType(), FourCharCode("AIFF"));
  EXPECT_EQ(aiff.GetExtensionCode(), FourCharCode("IFF "));
  EXPECT_STREQ(WAVEFile::fileType->GetName(), "Fichier son");
  // Names are matched as Windows matches them.
  for (const char* name : {"a.iff", "B.IFF"}) {
    SmartRef<FileReference> file(new FileReference(folder.Write(name).c_str()));
    EXPECT_TRUE(aiff.Matches(~file)) << name;
    EXPECT_FALSE(WAVEFile::fileType->Matches(~file)) << name;
  }
}

}  // namespace
