// Sounds in documents: the stored block, old and unconvertible stored sounds.
#include <gtest/gtest.h>

#include "SoundFilesTestSupport.h"
#include "core/FileReference.h"
#include "core/ListData.h"
#include "core/Text1252.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"
#include "support/Raised.h"

using namespace sound_testing;
using namespace document_testing;

namespace {

// One Sound block on a stream, read back as if stored at the given version.
class BlockArchive : public BitBucketArchive {
 public:
  explicit BlockArchive(Version stored) : stored(stored) {}
  void ReadWriteVersion(Version* version, std::int32_t, Version current) override {
    *version = reading ? stored : current;
  }
  Stream* GetStream() override { return &stream; }

  MemoryStream stream;
  bool reading = false;

 private:
  Version stored;
};

// The body of a stored sound: loop flag, format, data size and data.
std::string StoredBody(bool loop, int format, const std::string& data) {
  return std::string(1, static_cast<char>(loop)) + std::string(1, static_cast<char>(format)) +
         Long(static_cast<std::uint32_t>(data.size())) + data;
}

SmartRef<Sound> ReadStored(Version version, const std::string& body) {
  BlockArchive archive(version);
  archive.stream.Write(body.data(), static_cast<std::uint32_t>(body.size()));
  archive.stream.Seek(0, kSeekFromStart);
  archive.reading = true;
  return SmartRef<Sound>(static_cast<Sound*>(Sound::ReadNew(&archive)));
}

std::string Stored(Sound& sound) {
  BlockArchive archive(0);
  sound.Write(&archive);
  return Bytes(archive.stream);
}

int ObsoleteNotices(const AlertRecorder& alerts) {
  int count = 0;
  for (const RecordedAlert& alert : alerts.Alerts())
    count += alert.text == "Le format de ce son est obsolète et ne peut être lu. Supprime-le et ajoute-le à nouveau."_cp;
  return count;
}

class SoundStorageTest : public SoundFilesTest {};

TEST_F(SoundStorageTest, TheStoredBlockHoldsTheLoopFlagFormatZeroAndTheWaveImage) {
  SmartRef<Sound> sound = ReadSound(Fixture("tiny.wav"), Sound::wave);
  sound->ToggleLoop(true);
  const std::string file = SaveDocument(sound);
  EXPECT_EQ(ObjectBody(file, 1), Fixture("stored-sound.bin"));
  SmartRef<Smart> back = ReadDocument(file, nullptr);
  auto* read = CastSmart<Sound>(~back);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(read->ToggleLoop(false));
  EXPECT_EQ(Bytes(read->GetData()), Fixture("tiny.wav"));

  // A sound played from disk is stored empty and reads back empty.
  SmartRef<Sound> fromDisk(new Sound(new FileReference("a.wav"), false));
  EXPECT_EQ(Stored(*fromDisk), StoredBody(false, Sound::wave, ""));
  SmartRef<Sound> empty = ReadStored(MakeVersion(1, 2), Stored(*fromDisk));
  EXPECT_TRUE(empty->IsEmpty());
  EXPECT_EQ(empty->GetFileReference(), nullptr);
}

TEST_F(SoundStorageTest, StoredSoundsOfOtherFormatsAreConvertedOnReading) {
  AlertRecorder alerts;
  const struct {
    int format;
    const char* fixture;
  } cases[] = {{Sound::aiff, "mono8-22254.iff"}, {Sound::snd, "format1-22254.snd"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    SmartRef<Sound> sound = ReadStored(MakeVersion(1, 2), StoredBody(true, c.format, Fixture(c.fixture)));
    EXPECT_EQ(sound->GetDataFormat(), Sound::wave);
    const std::string data = Bytes(sound->GetData());
    EXPECT_EQ(data.substr(0, 4), "RIFF");
    EXPECT_EQ(Little32(data, 24), 22050u);
    EXPECT_TRUE(sound->ToggleLoop(false));
    EXPECT_EQ(Stored(*sound), StoredBody(true, Sound::wave, data));
  }
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(SoundStorageTest, OldAndUnconvertibleSoundsAreKeptAsStoredWithOneNotice) {
  const std::string aiff = Fixture("mono16-44100.iff");
  const struct {
    const char* name;
    Version version;
    int format;
    std::string data;
  } cases[] = {
      {"AIFF stored before 1.2", MakeVersion(1, 1), Sound::aiff, aiff},
      {"damaged AIFF", MakeVersion(1, 2), Sound::aiff, aiff.substr(0, 100)},
      {"'snd ' without a usable sound", MakeVersion(1, 2), Sound::snd, Fixture("no-offset-flag.snd")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AlertRecorder alerts;
    SmartRef<Sound> sound = ReadStored(c.version, StoredBody(false, c.format, c.data));
    EXPECT_EQ(ObsoleteNotices(alerts), 1);
    EXPECT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_EQ(Bytes(sound->GetData()), c.data);
    EXPECT_EQ(sound->GetDataFormat(), c.format);
    EXPECT_EQ(Stored(*sound), StoredBody(false, c.format, c.data)) << "stored again as it was";
  }
}

TEST_F(SoundStorageTest, AnOldAiffSoundStoredAgainIsConvertedWhenReadNext) {
  AlertRecorder alerts;
  const std::string aiff = Fixture("mono16-44100.iff");
  SmartRef<Sound> old = ReadStored(MakeVersion(1, 1), StoredBody(false, Sound::aiff, aiff));
  // Its data is still AIFF: written as AIFF it is the same file, written as WAVE it is converted.
  EXPECT_EQ(WriteSound(*old, Sound::aiff), aiff);
  EXPECT_EQ(WriteSound(*old, Sound::wave).substr(0, 4), "RIFF");
  SmartRef<Sound> again = ReadStored(MakeVersion(1, 2), Stored(*old));
  EXPECT_EQ(again->GetDataFormat(), Sound::wave);
  EXPECT_EQ(Little32(Bytes(again->GetData()), 24), 44100u);
  EXPECT_EQ(ObsoleteNotices(alerts), 1) << "only the first reading";
}

// A document whose sound cannot be converted still opens, with everything else in it.
TEST_F(SoundStorageTest, APageWithAnUnconvertibleSoundStillOpens) {
  AlertRecorder alerts;
  SmartRef<ListData> list(new ListData(&Sound::classInfo));
  SmartRef<Sound> first = ReadSound(Fixture("mono8-11025.wav"), Sound::wave);
  SmartRef<Sound> second = ReadSound(Fixture("stereo16-22050.wav"), Sound::wave);
  list->Append(~first);
  list->Append(~second);
  std::string file = SaveDocument(list);
  std::string body = ObjectBody(file, 2);
  body[1] = static_cast<char>(Sound::snd);
  file = WithObjectBody(file, 2, body);
  SmartRef<Smart> read = ReadDocument(file, nullptr);
  auto* back = CastSmart<ListData>(~read);
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->NumItems(), 2);
  auto* kept = CastSmart<Sound>(back->At(1));
  auto* other = CastSmart<Sound>(back->At(2));
  ASSERT_TRUE(kept && other);
  EXPECT_EQ(kept->GetDataFormat(), Sound::snd);
  EXPECT_EQ(Bytes(kept->GetData()), Fixture("mono8-11025.wav"));
  EXPECT_EQ(Bytes(other->GetData()), Fixture("stereo16-22050.wav"));
  EXPECT_EQ(ObsoleteNotices(alerts), 1);
}

}  // namespace
