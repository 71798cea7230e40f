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
    EXPECT_EQ(testing::fingerprint(onceFile), 0x6253ed167812725fu);
    testing::expectPlainZlibChunks(onceFile);

    // The opened level's streams carried over give other bytes, but the same level.
    auto fresh = target;
    fresh.level.PackedChunks = {};
    const auto freshFile = level::encodeLevelDocument(fresh)->file;
    EXPECT_EQ(testing::fingerprint(freshFile), 0x70d5edd166ccec86u);
    const auto carried = level::decodeLevel(onceFile).value(), deflated = level::decodeLevel(freshFile).value();
    EXPECT_TRUE(carried.Pages32 == deflated.Pages32 && carried.Pages16 == deflated.Pages16 &&
                carried.PagesMisc == deflated.PagesMisc && carried.LevelData == deflated.LevelData);

    // Merged into the saved and opened level, everything comes again on pages and textures of its own.
    target = level::decodeLevelDocument(onceFile).value();
    const auto twice = mergeObjects(target, source, everything);
    ASSERT_TRUE(twice.ok()) << twice.error();
    EXPECT_EQ(twice->pagesAdded, once->pagesAdded);
    EXPECT_EQ(twice->objectTextureCount, once->objectTextureCount + once->piecesAdded);
    const auto twiceFile = level::encodeLevelDocument(target)->file;
    EXPECT_EQ(testing::fingerprint(twiceFile), 0x4176f6ccaa202fe4u);
    testing::expectPlainZlibChunks(twiceFile);
}

} // namespace
} // namespace veltrane::merge
