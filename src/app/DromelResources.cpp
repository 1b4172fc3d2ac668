#include "app/DromelResources.h"

#include <array>

#include "core/Exception.h"
#include "core/SourcePlace.h"
#include "core/String.h"
#include "editor/KidResources.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/ImageResource.h"

Resources gAppResources(1000, 3999);

namespace {

constexpr SourceName kSource("DROMEL/DromelResources");

struct LookRow {
  int id;
  std::int16_t rows, columns, cellWidth, cellHeight;
  int image, pressedImage;
};

constexpr std::array<LookRow, 6> kLooks{{
    {400, 1, 5, 86, 50, 511, 512},
    {401, 1, 5, 86, 50, 521, 522},
    {402, 1, 5, 86, 50, 531, 532},
    {403, 1, 5, 86, 50, 541, 542},
    {404, 1, 5, 86, 50, 501, 502},
    {405, 5, 1, 133, 78, 551, 552},
}};

}  // namespace

void GetResourceText(String& out, int n, const char* text1, const char* text2, const char* text3,
                     const char* text4) {
  char buffer[256];
  gAppResources.GetString(buffer, n, text1, text2, text3, text4);
  out.Set(buffer);
}

String ResourceText(int n) {
  String text;
  GetResourceText(text, n);
  return text;
}

SmartRef<PaletteLook> ButtonLook(int id) {
  for (const LookRow& row : kLooks) {
    if (row.id != id) continue;
    SmartRef<PaletteLook> look(new PaletteLook(row.rows, row.columns, row.cellWidth, row.cellHeight));
    look->image = SmartRef<ImageResource>(gAppResources.GetImageResource(row.image));
    look->pressedImage = SmartRef<ImageResource>(gAppResources.GetImageResource(row.pressedImage));
    return look;
  }
  AssertFailed("false", kSource.Line(349));
}

bool HasPixels(const SmartRef<BitMap>& picture) {
  if (!picture) return false;
  Rect bounds;
  picture->GetBounds(&bounds);
  return bounds.Width() > 0 && bounds.Height() > 0;
}

bool IsUserCancel(Exception* exception) { return dynamic_cast<UserCancelException*>(exception) != nullptr; }
