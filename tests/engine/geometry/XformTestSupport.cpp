#include "engine/geometry/XformTestSupport.h"

#include <gtest/gtest.h>

#include "support/DocumentBytes.h"

using namespace document_testing;

namespace engine_testing {

std::string RectBytes(const Rect& r) {
  return Long(static_cast<std::uint32_t>(r.left)) + Long(static_cast<std::uint32_t>(r.top)) +
         Long(static_cast<std::uint32_t>(r.right)) + Long(static_cast<std::uint32_t>(r.bottom));
}

std::string XformBody(const Rect& source, const Rect& destination, std::int16_t rotation, std::int16_t skew,
                      const Rect& clip) {
  return RectBytes(source) + RectBytes(destination) + Short(static_cast<std::uint16_t>(rotation)) +
         Short(static_cast<std::uint16_t>(skew)) + RectBytes(clip);
}

SmartRef<CXform> StoredXform(const Rect& source, const Rect& destination, std::int16_t rotation, std::int16_t skew,
                             const Rect& clip) {
  const std::string saved = SaveDocument(SmartRef<Smart>(new CXform(source, destination)));
  SmartRef<ObjectFile> file;
  const SmartRef<Smart> read =
      ReadDocument(WithObjectBody(saved, 1, XformBody(source, destination, rotation, skew, clip)), &file);
  SmartRef<CXform> xform = CastSmart<CXform>(~read);
  EXPECT_TRUE(xform);
  return xform;
}

}  // namespace engine_testing
