#include <gtest/gtest.h>

#include <string>

#include "core/ListData.h"
#include "core/Stream.h"
#include "core/String.h"
#include "engine/geometry/XformTestSupport.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/Picture.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"
#include "support/Raised.h"

using namespace document_testing;
using namespace engine_testing;

namespace {

TEST(CResource, HoldsItsObjectAndKeepsIt) {
  const SmartRef<String> text = new String("abc");
  const SmartRef<CResource> resource = new CResource(SmartRef<Smart>(~text));
  EXPECT_EQ(resource->GetObject(), static_cast<Smart*>(~text));
  EXPECT_TRUE(resource->ObjectExists());
  EXPECT_EQ(resource->GetBounds(), Rect::emptyRect);
  EXPECT_EQ(resource->GetStamps().NumItems(), 0);
  EXPECT_EQ(resource->GetStamps()->GetElementClass(), &CStamp::classInfo);

  const SmartRef<String> other = new String("x");
  EXPECT_TRUE(resource->CanReplaceObject());
  resource->ReplaceObject(SmartRef<Smart>(~other));
  EXPECT_FALSE(resource->AcceptsObject(SmartRef<Smart>(~other)));
  EXPECT_EQ(resource->GetObject(), static_cast<Smart*>(~text));
  EXPECT_EQ(other->GetReferenceCount(), 1) << "the argument is let go";

  EXPECT_FALSE(CResource(nullptr).ObjectExists());
  EXPECT_EQ(CResource(nullptr).GetObject(), nullptr);
}

// Purging runs when memory is short: it must never raise, and a resource has no file to load its object
// from again, so it keeps the object whoever else holds it.
TEST(CResource, PurgingFreesNothingAndNeverRaises) {
  SmartRef<String> text = new String("abc");
  const SmartRef<CResource> shared = new CResource(SmartRef<Smart>(~text));
  EXPECT_FALSE(shared->Purge());
  EXPECT_FALSE(CResource(nullptr).Purge());
  const SmartRef<CResource> alone = new CResource(SmartRef<Smart>(new String("seul")));
  const SmartRef<MediaReference> asMedia(~alone);
  bool purged = true;
  EXPECT_FALSE(Raised([&] { purged = asMedia->Purge(); }));
  EXPECT_FALSE(purged);
  ASSERT_TRUE(alone->ObjectExists());
  EXPECT_EQ(static_cast<String*>(CastSmart(alone->GetObject(), &String::classInfo))->GetReferenceCount(), 1);
}

TEST(CResource, CopiesShareObjectBoundsAndStamps) {
  const SmartRef<CResource> resource = new CResource(SmartRef<Smart>(new String("abc")));
  resource->SetBounds(1, 2, 30, 40);
  const SmartRef<Smart> clone = resource->Clone();
  const SmartRef<CResource> copy = CastSmart<CResource>(~clone);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->GetObject(), resource->GetObject());
  EXPECT_EQ(copy->GetBounds(), Rect(1, 2, 30, 40));
  EXPECT_EQ(~copy->GetStamps().GetData(), ~resource->GetStamps().GetData());

  const SmartRef<CResource> assigned = new CResource(nullptr);
  assigned->CopyFrom(~resource);
  EXPECT_EQ(assigned->GetObject(), resource->GetObject());
  EXPECT_EQ(~assigned->GetStamps().GetData(), ~resource->GetStamps().GetData());
  const SmartRef<String> notAResource = new String("x");
  EXPECT_EQ(RaisedText(Raised([&] { assigned->CopyFrom(~notAResource); })), "castPtr");

  // Emptying the stamps through one empties them for all.
  copy->GetStamps().Append(new CStamp(nullptr, Color(0)));
  EXPECT_EQ(resource->GetStamps().NumItems(), 1);
  resource->GetStamps()->RemoveAll();
  EXPECT_EQ(copy->GetStamps().NumItems(), 0);
}

TEST(CResource, StoresItsObjectOnceAndItsBounds) {
  const SmartRef<String> text = new String("abc");
  const SmartRef<CResource> first = new CResource(SmartRef<Smart>(~text));
  first->SetBounds(-1, 2, 300, 400);
  const SmartRef<CResource> second = new CResource(SmartRef<Smart>(~text));
  SmartRef<ListData> list = new ListData(&CResource::classInfo);
  list->Append(~first);
  list->Append(~second);
  list->Append(new CResource(nullptr));
  const std::string saved = SaveDocument(SmartRef<Smart>(~list));
  // The list is object 1, the first resource 2 and its text 3, written inside it on first use.
  EXPECT_EQ(ObjectBody(saved, 2), Long(3) + Long(3) + "abc" + RectBytes({-1, 2, 300, 400}));
  EXPECT_EQ(ObjectBody(saved, 4), Long(3) + RectBytes(Rect::emptyRect));
  EXPECT_EQ(ObjectBody(saved, 5), Long(0) + RectBytes(Rect::emptyRect));

  SmartRef<ObjectFile> file;
  const SmartRef<ListData> read = CastSmart<ListData>(~ReadDocument(saved, &file));
  ASSERT_TRUE(read);
  ASSERT_EQ(read->NumItems(), 3);
  auto* a = CastSmart<CResource>(read->At(1));
  auto* b = CastSmart<CResource>(read->At(2));
  auto* none = CastSmart<CResource>(read->At(3));
  ASSERT_TRUE(a && b && none);
  EXPECT_EQ(a->GetObject(), b->GetObject()) << "one object for one index";
  EXPECT_EQ(TextOf(*CastSmart<String>(a->GetObject())), "abc");
  EXPECT_EQ(a->GetBounds(), Rect(-1, 2, 300, 400));
  EXPECT_EQ(a->GetStamps().NumItems(), 0);
  EXPECT_NE(~a->GetStamps().GetData(), ~b->GetStamps().GetData()) << "read resources start their own stamps";
  EXPECT_FALSE(none->ObjectExists());
  EXPECT_EQ(SaveDocument(SmartRef<Smart>(~read)), saved);
}

TEST(CResource, APictureIsStoredAsABitMap) {
  AlertRecorder alerts;  // drawing a Mac picture is reported, not done
  // A picture file's header: 512 bytes, then the picture's size and its frame (top, left, bottom, right).
  SmartRef<MemoryStream> file = new MemoryStream();
  const std::string header = std::string(512, '\0') + std::string("\0\0\0\0\0\0\0\x0C\0\x10", 10);
  file->Write(header.data(), static_cast<std::uint32_t>(header.size()));
  file->Seek(0, kSeekFromStart);
  const SmartRef<Picture> picture = new Picture(*file);
  ASSERT_EQ(picture->GetBounds(), Rect(0, 0, 16, 12));
  const SmartRef<CResource> resource = new CResource(SmartRef<Smart>(~picture));
  const std::string saved = SaveDocument(SmartRef<Smart>(~resource));
  EXPECT_EQ(resource->GetObject(), static_cast<Smart*>(~picture)) << "the resource still holds its picture";

  SmartRef<ObjectFile> opened;
  const SmartRef<CResource> read = CastSmart<CResource>(~ReadDocument(saved, &opened));
  ASSERT_TRUE(read);
  auto* bitmap = CastSmart<BitMap>(read->GetObject());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->GetBounds(), Rect(0, 0, 16, 12));
}

}  // namespace
