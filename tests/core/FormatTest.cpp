#include <gtest/gtest.h>

#include "ObjectFileTestSupport.h"
#include "core/FileType.h"
#include "core/Format.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "support/GenericTypeRows.h"
#include "support/Raised.h"

using namespace objectfile_testing;

namespace {

TEST(TypeIndex, ClassIndexesFollowTheListAndEmptySlots) {
  SmartRef<TypeIndex> index = new TypeIndex(nullptr, MakeVersion(1), "t");
  index->AddType(&String::persistentType);
  index->AddEmptySlots(1);
  index->AddType(&ListData::persistentType);
  EXPECT_EQ(index->IndexOf(&ListData::persistentType), 3);
  EXPECT_EQ(index->GetType(2), nullptr);
  EXPECT_EQ(RaisedText(Raised([&] { index->GetType(4); })), "Range error");
  const SmartRef<Exception> raised = Raised([&] { index->IndexOf(&GenericArray::persistentType); });
  auto* notInFormat = dynamic_cast<ClassNotInFormat*>(~raised);
  ASSERT_NE(notInFormat, nullptr);
  EXPECT_STREQ(notInFormat->GetClassName(), "GenericArray");

  Format format(index);
  MemoryStream stream;
  stream.WriteLong(0).WriteLong(3).WriteLong(2);
  stream.Seek(0, kSeekFromStart);
  EXPECT_EQ(format.ReadClass(&stream), nullptr);
  EXPECT_EQ(format.ReadClass(&stream), &ListData::classInfo);
  EXPECT_EQ(format.ReadClass(&stream), nullptr);  // an empty slot names no class
  EXPECT_EQ(RaisedText(Raised([&] { format.CreateObject(2, gBitBucketArchive()); })),
            "Can't create object of that class!");
}

TEST(GenericTypeIndex, DocumentClassNumbering) {
  SmartRef<TypeIndex> index = GetGenericTypeIndex();
  ASSERT_EQ(index->NumTypes(), 37);
  EXPECT_EQ(index->GetVersion(), MakeVersion(1));
  EXPECT_TRUE(index->GetName() == String("Fichier d'objet générique"_cp));
  // Pages and the project index are documents of this type.
  const FileType* documents = index->GetFileType();
  ASSERT_NE(documents, nullptr);
  EXPECT_EQ(documents, &MakeDocumentFileType());
  EXPECT_STREQ(documents->GetName(), "Format Quillory");
  EXPECT_EQ(documents->GetMacType(), FourCharCode("ZOD "));
  EXPECT_EQ(documents->GetExtensionCode(), FourCharCode("zod "));
  EXPECT_EQ(documents->GetExtraExtension(), nullptr);
  EXPECT_EQ(index->GetType(1), &String::persistentType);
  EXPECT_EQ(index->GetType(26), &String::persistentType);
  EXPECT_EQ(index->GetType(28), &GenericArray::persistentType);
  EXPECT_EQ(index->GetType(30), &ListData::persistentType);
  for (std::int32_t empty : {2, 6, 11, 17, 19}) {
    EXPECT_EQ(GenericTypeSlotName(empty), nullptr);
    EXPECT_EQ(index->GetType(empty), nullptr);
  }
  EXPECT_STREQ(GenericTypeSlotName(33), "Sound");
  EXPECT_STREQ(GenericTypeSlotName(36), "LinkHREF");
  EXPECT_STREQ(GenericTypeSlotName(8), "CShow");
  EXPECT_EQ(RaisedText(Raised([] { RegisterGenericType(33, &String::persistentType); })),
            "type fits its generic class index");

  // String objects are recorded as 1, class references to String as 26; both read back as String.
  SmartRef<Format> format = new Format(index);
  String text("x");
  EXPECT_EQ(format->IndexOf(&text), 1);
  MemoryStream stream;
  format->WriteClass(&stream, &String::classInfo);
  stream.Seek(0, kSeekFromStart);
  EXPECT_EQ(stream.ReadLong(), 26);
  stream.Seek(0, kSeekFromStart);
  EXPECT_EQ(format->ReadClass(&stream), &String::classInfo);
}

TEST(GenericTypeIndex, EveryRegisteredClassRoundTrips) { ExpectEveryGenericTypeRoundTrips(); }

TEST(Format, RecordedSizesAndStoredVersions) {
  Format format(MakeTestTypeIndex());
  format.RecordSize(3, 12);
  format.RecordSize(3, 12);
  EXPECT_EQ(format.GetStoredSize(3), 12);
  format.RecordSize(4, 12);
  format.RecordSize(4, 16);
  EXPECT_EQ(format.GetStoredSize(4), Format::kSizeUnknown);  // varies
  format.RecordSize(4, 12);
  EXPECT_EQ(format.GetStoredSize(4), Format::kSizeUnknown);
  format.RecordSize(0, 1);
  format.RecordSize(9, 1);
  EXPECT_EQ(format.GetStoredSize(9), Format::kSizeUnknown);

  // A stored 1.3 of the node (current 1.2) is accepted only when its size is known.
  SmartRef<Format> newer = new Format(MakeTestTypeIndex(&Node::type13));
  MemoryStream stream;
  newer->WriteIndex(&stream);
  stream.Seek(0, kSeekFromStart);
  Format unknownSize(MakeTestTypeIndex(), &stream);
  EXPECT_EQ(unknownSize.GetStoredVersion(3), 0u);
  newer->RecordSize(3, 20);
  stream.SetLength(0);
  stream.Seek(0, kSeekFromStart);
  newer->WriteIndex(&stream);
  stream.Seek(0, kSeekFromStart);
  Format knownSize(MakeTestTypeIndex(), &stream);
  EXPECT_EQ(knownSize.GetStoredVersion(3), MakeVersion(1, 3));
  EXPECT_EQ(knownSize.GetStoredVersion(1), MakeVersion(1));
  EXPECT_EQ(knownSize.GetStoredVersion(6), 0u);
}

TEST(Format, NewerClassIndexBlockIsPassedOverBySize) {
  Format format(MakeTestTypeIndex());
  MemoryStream stream;
  format.WriteIndex(&stream);
  // A newer minor block version with 8 more bytes at its end.
  stream.Seek(0, kSeekFromStart);
  stream.WriteLong(0x00020001).WriteLong(60 + 8);
  stream.Seek(0, kSeekFromEnd);
  stream.WriteLong(-1).WriteLong(-1).WriteLong(0x12345678);
  stream.Seek(0, kSeekFromStart);
  Format read(MakeTestTypeIndex(), &stream);
  EXPECT_EQ(stream.GetPosition(), 68u + 8u);
  EXPECT_EQ(stream.ReadLong(), 0x12345678);
}

}  // namespace
