#include "merge/merge_operation.h"

#include "merge/animation_merge.h"
#include "merge/merge_checks.h"
#include "level/level_data.h"
#include "level/mesh_block.h"
#include "merge_fixture.h"

#include <functional>
#include <gtest/gtest.h>

namespace veltrane::merge {
namespace {

using testing::quad;
using testing::SourceFixture;
using testing::TargetFixture;
using testing::triangle;

// FNV-1a over everything a merge may grow: the serialised tables, both page chunks and the mesh list
// as the save would write it. Equal fingerprints mean bit-identical models.
std::uint64_t fingerprint(const TargetFixture& target) {
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](std::span<const std::uint8_t> bytes) {
        for (std::uint8_t byte : bytes)
            hash = (hash ^ byte) * 1099511628211ull;
    };
    mix(level::serialiseLevelData(target.level));
    mix(target.level.Pages32);
    mix(target.level.Pages16);
    mix(level::serialiseMeshBlock(target.meshes));
    return hash;
}

class MergeOperationTest : public ::testing::Test {
protected:
    MergeOperationTest() {
        source.addSample(0, 0, 0, 16, 16);
        source.addSample(0, 0, 1, 32, 8);
        source.library.Animations.resize(2);
        source.library.Animations[1].AnimCommandCount = 1;
        source.library.AnimCommands = {5, 100, 200};
        source.addStatic(50, {quad(0), triangle(0)});
        source.addStatic(51, {quad(1)});
        source.addMoveable(60, 2, 6, 0);
        source.addMoveable(61, 3, 4, 1);
    }

    io::Outcome<MergeStatistics> merge(MergeTicks ticks) { return mergeObjects(target.view(), source.view(), ticks); }

    // A refused merge names the cause and leaves the target and its mesh list exactly as they were.
    void expectRefused(const MergeTicks& ticks, const std::string& cause) {
        const TargetFixture before = target;
        const std::uint64_t checksum = fingerprint(target);
        const auto result = merge(ticks);
        ASSERT_FALSE(result.ok());
        EXPECT_NE(result.error().find(cause), std::string::npos) << result.error();
        EXPECT_EQ(result.error().rfind("merge refused: ", 0), 0u) << result.error();
        EXPECT_EQ(target.level, before.level);
        EXPECT_EQ(target.meshes, before.meshes);
        EXPECT_EQ(fingerprint(target), checksum);
    }

    SourceFixture source;
    TargetFixture target;
};

TEST_F(MergeOperationTest, StaticsGoFirstThenMoveablesEachInAscendingOrder) {
    const auto result = merge({{1, 0}, {1, 0, 1}});
    ASSERT_TRUE(result.ok()) << result.error();
    const level::Tr4Level& level = target.level;
    ASSERT_EQ(level.StaticMeshes.size(), 3u);
    EXPECT_EQ(level.StaticMeshes[1].ObjectId, 50u);
    EXPECT_EQ(level.StaticMeshes[2].ObjectId, 51u);
    ASSERT_EQ(level.Moveables.size(), 3u);
    EXPECT_EQ(level.Moveables[1].ObjectId, 60u);
    EXPECT_EQ(level.Moveables[2].ObjectId, 61u);
    // Pieces are numbered as faces are met: static 0's quad and triangle, static 1's quad, then the moveables'.
    EXPECT_EQ(target.meshes.get(3)->Rectangles[0].Texture, 4);
    EXPECT_EQ(target.meshes.get(3)->Triangles[0].Texture, 5);
    EXPECT_EQ(target.meshes.get(4)->Rectangles[0].Texture, 6);
    EXPECT_EQ(target.meshes.get(5)->Rectangles[0].Texture, 4); // the moveables' quads of sample 0
    EXPECT_EQ(level.Moveables[2].Animation, 2);
    EXPECT_EQ(level.AnimCommands, (std::vector<std::uint16_t>{3, 5, 100, 200}));
}

TEST_F(MergeOperationTest, StatisticsAreThoseTheWindowPrints) {
    const auto result = merge({{0}, {0}});
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_EQ(result->pagesAdded, 1);
    EXPECT_EQ(result->piecesAdded, 2);
    EXPECT_EQ(result->objectTextureCount, 6);
    EXPECT_EQ(result->meshDataSize, target.meshes.totalSize());
    EXPECT_TRUE(result->skipped.empty());
    EXPECT_EQ(statisticsLines(result.value()),
              (std::vector<std::string>{"Total pages added:1", "Amount of pieces textures added:2",
                                        "Total of pieces textures:6",
                                        "Mesh data size (Bytes):" + std::to_string(target.meshes.totalSize())}));
}

TEST_F(MergeOperationTest, NothingTickedAddsNothingNotEvenAPage) {
    const TargetFixture before = target;
    const auto result = merge({});
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(statisticsLines(result.value()),
              (std::vector<std::string>{"Total pages added:0", "Amount of pieces textures added:0",
                                        "Total of pieces textures:4",
                                        "Mesh data size (Bytes):" + std::to_string(before.meshes.totalSize())}));
    EXPECT_EQ(target.level, before.level);
    EXPECT_EQ(target.meshes, before.meshes);
}

TEST_F(MergeOperationTest, TicksOfAKindTheTargetLacksAreReportedAndLeftOut) {
    target.level.StaticMeshes.clear();
    const auto result = merge({{1, 0}, {0}});
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_TRUE(target.level.StaticMeshes.empty());
    EXPECT_EQ(target.level.Moveables.size(), 2u);
    EXPECT_EQ(result->piecesAdded, 1);
    ASSERT_EQ(result->skipped.size(), 2u);
    EXPECT_EQ(result->skipped[0], (SkippedObject{ObjectKind::StaticMesh, 0, 50}));
    EXPECT_EQ(skippedMessage(result->skipped[1]),
              "source static mesh 1 (ObjectId 51) was not merged: the target has no static mesh");

    target.level.Moveables.clear();
    const auto none = merge({{}, {1}});
    ASSERT_TRUE(none.ok());
    EXPECT_EQ(skippedMessage(none->skipped.at(0)),
              "source moveable 1 (ObjectId 61) was not merged: the target has no moveable");
}

TEST_F(MergeOperationTest, MergingTheSameTicksTwiceAddsEverythingTwice) {
    ASSERT_TRUE(merge({{0}, {1}}).ok());
    const TargetFixture once = target;
    const auto again = merge({{0}, {1}});
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->pagesAdded, 1);
    EXPECT_EQ(again->piecesAdded, 2);
    const level::Tr4Level& level = target.level;
    EXPECT_EQ(level.PageCount, once.level.PageCount + 1);
    EXPECT_EQ(level.ObjectTextures.size(), once.level.ObjectTextures.size() + 2);
    EXPECT_EQ(level.StaticMeshes.size(), 3u);
    EXPECT_EQ(level.Moveables.size(), 3u);
    EXPECT_EQ(level.Moveables[2].ObjectId, level.Moveables[1].ObjectId);
    EXPECT_EQ(level.Moveables[2].Animation, level.Moveables[1].Animation + 1);
    EXPECT_EQ(level.Animations.size(), once.level.Animations.size() + 1);
    EXPECT_EQ(level.MeshPointers.size(), once.level.MeshPointers.size() + 4);
    // The second copy's faces name the second merge's object textures, on its own page.
    const auto& texture = level.ObjectTextures[target.meshes.get(target.meshes.count() - 1)->Rectangles[0].Texture];
    EXPECT_EQ(texture.Tile, 4);
}

TEST_F(MergeOperationTest, InconsistentObjectsAreRefusedWithTheObjectAndTheCause) {
    struct Case {
        const char* name;
        std::function<void(wad::WadLibrary&)> damage;
        MergeTicks ticks;
        std::string cause;
    };
    const std::vector<Case> cases = {
        {"static mesh past the pointers", [](auto& l) { l.StaticMeshes[1].Mesh = 99; }, {{0, 1}, {}},
         "source static mesh 1 (ObjectId 51): mesh pointer 99 is past MeshPointers"},
        {"pointer to no mesh", [](auto& l) { l.MeshPointers[1] = 6; }, {{1}, {}},
         "source static mesh 1 (ObjectId 51): mesh pointer 1 holds byte offset 6, where no mesh"},
        {"no mesh", [](auto& l) { l.Moveables[0].MeshCount = 0; }, {{}, {0}},
         "source moveable 0 (ObjectId 60): it has no mesh (MeshCount 0)"},
        {"meshes past the pointers", [](auto& l) { l.Moveables[1].MeshCount = 4; }, {{}, {1}},
         "source moveable 1 (ObjectId 61): mesh pointer 7 is past MeshPointers"},
        {"mesh tree past", [](auto& l) { l.Moveables[1].MeshTree = 5; }, {{}, {1}},
         "source moveable 1 (ObjectId 61): mesh tree runs past MeshTrees (words 5 to 12, the table has 12)"},
        {"negative frame block", [](auto& l) { l.Moveables[0].FrameOffset = 14; }, {{}, {0}},
         "source moveable 0 (ObjectId 60): frame block has negative length (from byte 14 of Frames to byte 12)"},
        {"last frame block negative", [](auto& l) { l.Moveables[1].FrameOffset = 22; }, {{}, {1}},
         "source moveable 1 (ObjectId 61): frame block has negative length (from byte 22 of Frames to byte 20)"},
        {"frames past", [](auto& l) { l.Moveables[1].FrameOffset = 22; }, {{}, {0}},
         "source moveable 0 (ObjectId 60): frame block runs past Frames (bytes 0 to 22, the table has 20)"},
        {"animations past", [](auto& l) { l.Moveables[1].Animation = 5; }, {{}, {0}},
         "source moveable 0 (ObjectId 60): animations run past Animations (records 0 to 4, the table has 2)"},
        {"state changes past", [](auto& l) { l.Animations[0].StateChangeCount = 1; }, {{}, {0}},
         "source moveable 0 (ObjectId 60): animation 0: state changes run past StateChanges"},
        {"dispatches past",
         [](auto& l) {
             l.StateChanges = {{0, 2, 1}};
             l.AnimDispatches.resize(2);
             l.Animations[1].StateChangeCount = 1;
         },
         {{}, {1}}, "source moveable 1 (ObjectId 61): animation 1: dispatches run past AnimDispatches"},
        {"commands past", [](auto& l) { l.AnimCommands = {5, 100}; }, {{}, {1}},
         "source moveable 1 (ObjectId 61): animation 1: its 1 commands from word 0 run past AnimCommands"},
        {"faces without samples", [](auto& l) { l.TextureSamples.clear(); }, {{0}, {}},
         "source static mesh 0 (ObjectId 50): the mesh at byte offset 0 has faces, but the library has no texture samples"},
        {"no such moveable", [](auto&) {}, {{}, {0, 2}}, "there is no source moveable 2: the library has 2"},
    };
    const SourceFixture intact = source;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        source = intact;
        c.damage(source.library);
        expectRefused(c.ticks, c.cause);
    }
}

TEST_F(MergeOperationTest, AMergeIsRefusedWhenAnIndexWouldNoLongerFitItsField) {
    const auto limit = [this](std::function<void(level::Tr4Level&)> grow, MergeTicks ticks, const std::string& cause) {
        target = TargetFixture();
        grow(target.level);
        expectRefused(ticks, cause);
    };
    limit([](auto& l) { l.ObjectTextures.resize(32767); }, {{0}, {}},
          "the merge would give the level 32769 object textures, but a face can only name the first 32768");
    limit([](auto& l) { l.MeshPointers.resize(65535); }, {{}, {0}}, "65537 mesh pointers");
    limit([](auto& l) { l.Animations.resize(65535); }, {{}, {1}}, "65536 animations");
    limit([](auto& l) { l.AnimCommands.resize(65534); }, {{}, {1}}, "65537 command words");

    target = TargetFixture();
    target.level.ObjectTextures.resize(32766);
    EXPECT_TRUE(merge({{0}, {}}).ok());

    level::Tr4Level huge;
    huge.NumRoomPages = 32768;
    huge.PageCount = 32768;
    EXPECT_NE(checkNewPages(huge, 1).error().find("32769 texture pages"), std::string::npos);
}

TEST_F(MergeOperationTest, NewPagesNeedHeaderCountsThatAgreeWithThePageChunks) {
    target.level.NumObjectPages = 0;
    expectRefused({{0}, {}}, "the level's header counts 2 room, 0 object and 0 bump pages (2 in all), but its page "
                             "chunk holds 3; the game would not load the pages a merge adds");
    // A merge that adds no page needs no agreement.
    source.library.StaticMeshes.push_back(source.library.StaticMeshes[0]);
    source.library.StaticMeshes[2].Mesh = source.addMesh({});
    ASSERT_TRUE(merge({{2}, {}}).ok());
    EXPECT_EQ(target.level.StaticMeshes.size(), 2u);

    target = TargetFixture();
    target.level.Pages16.resize(2 * level::kPageBytes16);
    expectRefused({{0}, {}}, "the level's 16-bit page chunk holds 2 pages, fewer than the 3 of its 32-bit page chunk");
}

} // namespace
} // namespace veltrane::merge
