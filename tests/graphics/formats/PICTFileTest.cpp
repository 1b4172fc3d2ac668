#include <gtest/gtest.h>

#include <cstring>

#include "graphics/PictureFixtures.h"
#include "core/Memory.h"
#include "graphics/formats/PICTFile.h"
#include "support/Raised.h"

using namespace picture_testing;

namespace {

TEST(PICTFile, DataIsWhatFollowsTheFileHeaderAndTheFrameComesFromThePictureHeader) {
  const std::string bytes = ReadFixture("im.pict");
  SmartRef<MemoryStream> stream = StreamOf(bytes);
  Memory data;
  const Rect frame = ReadPICTData(*stream, data);
  EXPECT_EQ(frame, Rect(0, 0, 61, 47));
  ASSERT_EQ(data.GetSize(), bytes.size() - 512);
  EXPECT_EQ(std::memcmp(data.GetData(), bytes.data() + 512, data.GetSize()), 0);
}

TEST(PICTFile, AFileTooShortForAPictureIsRefused) {
  for (std::size_t size : {0u, 100u, 521u}) {
    SmartRef<MemoryStream> stream = StreamOf(std::string(size, '\0'));
    Memory data;
    EXPECT_EQ(RaisedText(Raised([&] { ReadPICTData(*stream, data); })), "Fichier PICT trop court.");
  }
  SmartRef<MemoryStream> stream = StreamOf(std::string(522, '\0'));
  Memory data;
  EXPECT_EQ(ReadPICTData(*stream, data), Rect());
  EXPECT_EQ(data.GetSize(), 10u);
}

}  // namespace
