// The engine's classes of the document numbering (see support/GenericTypeRows.h).
#include "support/GenericTypeRows.h"

#include "core/String.h"
#include "engine/geometry/CXform.h"
#include "engine/geometry/PathPoint.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"

namespace {

SmartRef<Smart> MakeResource() {
  SmartRef<CResource> resource = new CResource(SmartRef<Smart>(new String("Bonjour")));
  resource->SetBounds(1, 2, 60, 20);
  return resource;
}

SmartRef<Smart> MakePathPoint() {
  SmartRef<PathPoint> point = new PathPoint();
  point->offset = Point(12, -3);
  point->xform = new CXform({0, 0, 10, 10}, {100, 100, 120, 130});
  return point;
}

const GenericTypeRows engineRows{
    {14, &MakeResource},
    {16, [] { return SmartRef<Smart>(new CXform({0, 0, 100, 50}, {10, 10, 210, 110})); }},
    {20, [] {
       return SmartRef<Smart>(new CStamp(SmartRef<BitMap>(new BitMap(4, 3, ColorTable::GetStandard(8))), Color(0)));
     }},
    {24, &MakePathPoint},
};

}  // namespace
