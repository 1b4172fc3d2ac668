#include <gtest/gtest.h>

#include "support/GenericTypeRows.h"
#include "support/graphics/GraphicsFixture.h"

namespace {

using GenericTypes = GraphicsFixture;

TEST_F(GenericTypes, EveryRegisteredClassRoundTrips) { ExpectEveryGenericTypeRoundTrips(); }

}  // namespace
