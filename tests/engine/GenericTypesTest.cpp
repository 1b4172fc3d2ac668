#include <gtest/gtest.h>

#include "support/FuzzCorpus.h"
#include "support/GenericTypeRows.h"
#include "support/graphics/GraphicsFixture.h"

namespace {

using GenericTypes = GraphicsFixture;

TEST_F(GenericTypes, EveryRegisteredClassRoundTrips) { ExpectEveryGenericTypeRoundTrips(); }

TEST_F(GenericTypes, EveryObjectFileCorpusInputReadsAsADocument) { ReplayObjectFileCorpus(); }

}  // namespace
