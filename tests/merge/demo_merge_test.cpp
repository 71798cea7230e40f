// The demo source's objects merged into the demo target, saved and opened again, then merged again.
#include "demo/demo_level.h"
#include "demo/demo_library.h"
#include "merge/merge_operation.h"
#include "support/fingerprint.h"
#include "support/plain_zlib.h"

#include <gtest/gtest.h>

namespace veltrane::merge {
namespace {

TEST(DemoMerge, MergingEveryDemoObjectOnceAndAgainWritesTheBytesItAlwaysHas) {
    const auto source = wad::decodeLibraryDocument(wad::encodeLibrary(demo::demoLibrary(demo::DemoScale::Normal))).value();
    const MergeTicks everything = everyObject(source.library);
    auto target = level::decodeLevelDocument(level::encodeLevel(demo::demoLevel(demo::DemoScale::Normal))->file).value();
    const auto once = mergeObjects(target, source, everything);
    ASSERT_TRUE(once.ok()) << once.error();
    EXPECT_TRUE(once->skipped.empty());
    const auto onceFile = level::encodeLevelDocument(target)->file;
    EXPECT_EQ(testing::fingerprint(onceFile), 0x70d5edd166ccec86u);
    testing::expectPlainZlibChunks(onceFile);

    // Merged into the saved and opened level, everything comes again on pages and textures of its own.
    target = level::decodeLevelDocument(onceFile).value();
    const auto twice = mergeObjects(target, source, everything);
    ASSERT_TRUE(twice.ok()) << twice.error();
    EXPECT_EQ(twice->pagesAdded, once->pagesAdded);
    EXPECT_EQ(twice->objectTextureCount, once->objectTextureCount + once->piecesAdded);
    const auto twiceFile = level::encodeLevelDocument(target)->file;
    EXPECT_EQ(testing::fingerprint(twiceFile), 0x2c430e5cd8e9720au);
    testing::expectPlainZlibChunks(twiceFile);
}

} // namespace
} // namespace veltrane::merge
