// The picture file scribes and the bitmaps they make, on the headless screen.
#include <gtest/gtest.h>

#include <cstring>

#include "support/graphics/GraphicsFixture.h"
#include "graphics/PictureFixtures.h"
#include "core/String.h"
#include "graphics/formats/BMPDecoder.h"
#include "graphics/formats/BMPFile.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/formats/GIFFile.h"
#include "graphics/formats/JPEGCodec.h"
#include "graphics/formats/JPEGFile.h"
#include "graphics/formats/PICTFile.h"
#include "graphics/formats/Picture.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "platform/kernel/System.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "graphics/SystemVersion.h"

using namespace picture_testing;

namespace {

RGBPicture PixelsOf(BitMap& bitmap) {
  const Rect bounds = bitmap.GetBounds();
  RGBPicture picture{bounds.Width(), bounds.Height(), {}};
  PixelCursor cursor(&bitmap, bounds, true);
  for (; cursor.HasRow(); cursor.NextPixel()) {
    const Color color = bitmap.GetPixelColor(cursor.GetPixel());
    picture.rgb.push_back(static_cast<std::uint8_t>(color.red >> 8));
    picture.rgb.push_back(static_cast<std::uint8_t>(color.green >> 8));
    picture.rgb.push_back(static_cast<std::uint8_t>(color.blue >> 8));
  }
  return picture;
}

SmartRef<BitMap> ReadWith(ImageScribe& scribe) {
  SmartRef<Smart> object;
  scribe.Read(&object);
  return CastSmart<BitMap>(~object);
}

template <class Scribe>
SmartRef<BitMap> ReadFile(const std::string& name) {
  SmartRef<MemoryStream> stream = StreamOf(ReadFixture(name));
  SmartRef<Scribe> scribe = new Scribe(~stream);
  return ReadWith(*scribe);
}

class PictureFiles : public GraphicsFixture {};

TEST_F(PictureFiles, EachScribeReadsItsFilesIntoBitMapsOfTheReferencePixels) {
  const struct {
    SmartRef<BitMap> bitmap;
    const char* expected;
    int depth;
  } cases[] = {
      {ReadFile<BMPFile>("pbm-4.bmp"), "pbm-4.ppm", 8},   {ReadFile<BMPFile>("im5-24.bmp"), "im5-24.ppm", 24},
      {ReadFile<BMPFile>("im3-rle8.bmp"), "im3-8.ppm", 8}, {ReadFile<GIFFile>("im-interlaced.gif"), "im-interlaced.ppm", 24},
      {ReadFile<JPEGFile>("cjpeg-progressive.jpg"), "cjpeg-progressive.ppm", 24},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    ASSERT_TRUE(c.bitmap);
    EXPECT_EQ(c.bitmap->GetBitDepth(), c.depth);
    const RGBPicture got = PixelsOf(*c.bitmap), expected = ReadPnm(c.expected);
    EXPECT_TRUE(got == expected) << FirstDifference(got, expected);
  }
  for (const ClassInfo* scribe : {&BMPFile::classInfo, &GIFFile::classInfo, &JPEGFile::classInfo, &PICTFile::classInfo}) {
    SmartRef<ImageScribe> made = scribe == &BMPFile::classInfo ? SmartRef<ImageScribe>(new BMPFile(nullptr))
                                 : scribe == &GIFFile::classInfo ? SmartRef<ImageScribe>(new GIFFile(nullptr))
                                 : scribe == &JPEGFile::classInfo ? SmartRef<ImageScribe>(new JPEGFile(nullptr))
                                                                  : SmartRef<ImageScribe>(new PICTFile(nullptr));
    EXPECT_TRUE(made->ReadsKindOf(&BitMap::classInfo)) << scribe->GetName();
    EXPECT_FALSE(made->ReadsKindOf(&String::classInfo)) << scribe->GetName();
  }
}

TEST_F(PictureFiles, ABMPWithAKeyMarksItsKeyColour) {
  SmartRef<MemoryStream> stream = StreamOf(ReadFixture("pbm-8.bmp"));
  SmartRef<BitMap> bitmap = new BitMap(~stream, true, 5);
  EXPECT_TRUE(bitmap->GetUseChromaKey());
  EXPECT_EQ(bitmap->GetChromaKey(), 5);
  EXPECT_EQ(bitmap->GetColorTable()->GetColor(5).flag, 0xFFFF);
  EXPECT_EQ(bitmap->GetColorTable()->GetColor(4).flag, 0);
}

TEST_F(PictureFiles, AClipboardDIBReadsAsTheFileItCameFrom) {
  const std::string file = ReadFixture("im3-8.bmp");  // 256 colours: the bits start at 1078
  ASSERT_EQ(file[10], static_cast<char>(1078 & 255));
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, file.size() - 14);
  std::memcpy(GlobalLock(handle), file.data() + 14, file.size() - 14);
  GlobalUnlock(handle);
  SmartRef<BitMap> bitmap = NewBitMapFromDIB(handle);
  EXPECT_TRUE(PixelsOf(*bitmap) == ReadPnm("im3-8.ppm"));
  EXPECT_NE(GlobalSize(handle), 0u);  // still the clipboard's
  GlobalFree(handle);
}

TEST_F(PictureFiles, OnALimitedSystemPicturesAreEightBitInTheStandardColours) {
  Prepare(8, Win31Only);
  ColorTable* standard = ColorTable::GetStandard(8);
  for (SmartRef<BitMap> bitmap : {ReadFile<BMPFile>("im3-24.bmp"), ReadFile<GIFFile>("im.gif"), ReadFile<JPEGFile>("cjpeg-baseline.jpg")}) {
    EXPECT_EQ(bitmap->GetBitDepth(), 8);
    EXPECT_EQ(bitmap->GetColorTable(), standard);
  }
  SmartRef<BitMap> gif = ReadFile<GIFFile>("im.gif");
  const RGBPicture expected = ReadPnm("im.ppm");
  const Color first = Color::FromRGB8(expected.rgb[0], expected.rgb[1], expected.rgb[2]);
  PixelCursor cursor(~gif, gif->GetBounds(), true);
  EXPECT_EQ(static_cast<std::int32_t>(cursor.GetPixel()), standard->NearestIndex(first));
}

TEST_F(PictureFiles, OnA256ColourScreenAnEightBitBMPTakesTheStandardColours) {
  SmartRef<BitMap> own = ReadFile<BMPFile>("pbm-8.bmp");
  EXPECT_NE(own->GetColorTable(), ColorTable::GetStandard(8));
  Prepare(8, Win95);
  SmartRef<BitMap> remapped = ReadFile<BMPFile>("pbm-8.bmp");
  EXPECT_EQ(remapped->GetColorTable(), ColorTable::GetStandard(8));
  const RGBPicture expected = ReadPnm("pbm-8.ppm");
  PixelCursor cursor(~remapped, remapped->GetBounds(), true);
  EXPECT_EQ(static_cast<std::int32_t>(cursor.GetPixel()),
            ColorTable::GetStandard(8)->NearestIndex(Color::FromRGB8(expected.rgb[0], expected.rgb[1], expected.rgb[2])));
}

TEST_F(PictureFiles, JPEGWritesBitMapsAndOtherImagesAndRefusesTheRest) {
  // A 24-bit bitmap of the source writes the reference encoder's file but for the density.
  SmartRef<BitMap> source = ReadFile<BMPFile>("im3-24.bmp");
  SmartRef<MemoryStream> out = new MemoryStream();
  SmartRef<JPEGFile> scribe = new JPEGFile(~out);
  scribe->Write(~source);
  std::string expected = ReadFixture("cjpeg-q90.jpg");
  expected.replace(13, 5, std::string("\x02\0\0\0\0", 5));
  EXPECT_TRUE(std::string(reinterpret_cast<const char*>(out->GetMemory().GetData()), out->GetLength()) == expected);

  // An 8-bit bitmap goes through its colours: the same file as its decoded pixels give.
  const std::string file = ReadFixture("pbm-8.bmp");
  SmartRef<BitMap> indexed = ReadFile<BMPFile>("pbm-8.bmp");
  SmartRef<MemoryStream> eight = new MemoryStream();
  SmartRef<JPEGFile>(new JPEGFile(~eight))->Write(~indexed);
  SmartRef<MemoryStream> direct = new MemoryStream();
  CompressToJPEG(PixelBufferSource(DecodeBMP(*StreamOf(file))), *direct);
  ASSERT_GT(eight->GetLength(), 0u);
  EXPECT_EQ(eight->GetLength(), direct->GetLength());
  EXPECT_EQ(std::memcmp(eight->GetMemory().GetData(), direct->GetMemory().GetData(), direct->GetLength()), 0);

  SmartRef<MemoryStream> nothing = new MemoryStream();
  EXPECT_EQ(RaisedText(Raised([&] { SmartRef<JPEGFile>(new JPEGFile(~nothing))->Write(new String("texte")); })),
            "Missing (NULL) value.");
  EXPECT_EQ(nothing->GetLength(), 0u);
}

TEST_F(PictureFiles, APictureKeepsItsDataAndFrameAndOffersThemToTheClipboard) {
  const std::string bytes = ReadFixture("im.pict");
  SmartRef<MemoryStream> stream = StreamOf(bytes);
  SmartRef<Picture> picture = new Picture(*stream);
  EXPECT_EQ(picture->GetBounds(), Rect(0, 0, 61, 47));
  SmartRef<GenericArray> types = picture->GetScrapTypes();
  ASSERT_EQ(types->NumItems(), 1);
  EXPECT_EQ(*static_cast<std::uint32_t*>(types->At(1)), FourCharCode("PICT"));
  Memory* data = picture->GetScrapData(FourCharCode("PICT"));
  ASSERT_EQ(data->GetSize(), bytes.size() - 512);

  SmartRef<Picture> copy = CastSmart<Picture>(picture->Clone());
  copy->GetData().GetData()[20] ^= 0xFF;
  EXPECT_NE(copy->GetData().GetData()[20], data->GetData()[20]);
  EXPECT_EQ(copy->GetBounds(), picture->GetBounds());
  EXPECT_EQ(picture->GetMemorySize(), sizeof(Picture) + data->GetSize());
}

TEST_F(PictureFiles, PICTFilesReadAsBlankBitMapsOfTheirFrameAndAreNeverWritten) {
  AlertRecorder alerts;
  SmartRef<MemoryStream> stream = StreamOf(ReadFixture("im.pict"));
  SmartRef<PICTFile> scribe = new PICTFile(~stream);
  SmartRef<BitMap> read = ReadWith(*scribe);
  EXPECT_EQ(read->GetBounds(), Rect(0, 0, 61, 47));
  SmartRef<Smart> preview;
  scribe->ReadPreview(&preview, Point(64, 48), 8);
  ASSERT_TRUE(CastSmart<BitMap>(~preview));
  EXPECT_EQ(CastSmart<BitMap>(~preview)->GetBounds(), Rect(0, 0, 64, 48));

  const std::uint32_t length = stream->GetLength();
  SmartRef<Picture> picture = new Picture(*stream);
  SmartRef<MemoryStream> target = new MemoryStream();
  SmartRef<PICTFile>(new PICTFile(~target))->Write(~picture);
  EXPECT_EQ(target->GetLength(), 0u);
  EXPECT_EQ(stream->GetLength(), length);

  // Copies of the scribe share its stream.
  SmartRef<PICTFile> clone = CastSmart<PICTFile>(scribe->Clone());
  EXPECT_EQ(clone->GetStream(), ~stream);
  SmartRef<PICTFile> other = new PICTFile(~target);
  other->CopyFrom(~scribe);
  EXPECT_EQ(other->GetStream(), ~stream);
  SmartRef<String> text = new String("texte");
  EXPECT_EQ(RaisedText(Raised([&] { other->CopyFrom(~text); })), "castPtr");

  // A frame that is empty is refused rather than measured or scaled.
  std::string empty = ReadFixture("im.pict");
  empty.replace(512 + 6, 4, std::string(4, '\0'));
  SmartRef<PICTFile> emptyScribe = new PICTFile(~StreamOf(empty));
  EXPECT_EQ(RaisedText(Raised([&] { ReadWith(*emptyScribe); })), "Image vide.");
  EXPECT_EQ(RaisedText(Raised([&] {
              SmartRef<Smart> none;
              emptyScribe->ReadPreview(&none, Point(64, 48), 8);
            })),
            "Image vide.");
}

}  // namespace
