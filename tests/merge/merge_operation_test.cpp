#include "merge/merge_operation.h"

#include "level/level_data.h"
#include "level/mesh_block.h"
#include "merge_fixture.h"

#include <functional>
#include <gtest/gtest.h>
#include <ranges>

namespace veltrane::merge {
namespace {

using testing::SourceFixture;

class MergeOperationTest : public ::testing::Test {
protected:
    MergeOperationTest() {
        source.library.Animations[1].AnimCommandCount = 1;
        source.library.AnimCommands = {5, 100, 200};
    }

    io::Outcome<MergeStatistics> merge(const MergeTicks& ticks, ConflictPolicy policy = ConflictPolicy::Keep) {
        return mergeObjects(target, source, ticks, policy);
    }

    // A refused merge names the cause and leaves the target and its mesh list exactly as they were,
    // down to the bytes a save would write.
    void expectRefused(const MergeTicks& ticks, const std::string& cause, ConflictPolicy policy = ConflictPolicy::Keep) {
        const level::LevelDocument before = target;
        const auto result = merge(ticks, policy);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().rfind("merge refused: ", 0), 0u) << result.error();
        EXPECT_NE(result.error().find(cause), std::string::npos) << result.error();
        EXPECT_TRUE(target == before);
        EXPECT_EQ(level::serialiseLevelData(target.level), level::serialiseLevelData(before.level));
        EXPECT_EQ(level::serialiseMeshBlock(target.meshes), level::serialiseMeshBlock(before.meshes));
    }

    SourceFixture source = testing::twoOfEachSource();
    level::LevelDocument target = testing::targetFixture();
};

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
    EXPECT_EQ(skippedMessage(merge({{}, {1}})->skipped.at(0)),
              "source moveable 1 (ObjectId 61) was not merged: the target has no moveable");
}

TEST_F(MergeOperationTest, InconsistentObjectsAreRefusedWithTheObjectAndTheCause) {
    struct Case {
        std::function<void(wad::WadLibrary&)> damage;
        MergeTicks ticks;
        std::string cause;
    };
    const std::vector<Case> cases = {
        {[](auto& l) { l.StaticMeshes[1].Mesh = 99; }, {{0, 1}, {}},
         "source static mesh 1 (ObjectId 51): mesh pointer 99 is past MeshPointers, which has 7 entries"},
        {[](auto& l) { l.MeshPointers[1] = 6; }, {{1}, {}},
         "source static mesh 1 (ObjectId 51): mesh pointer 1 holds byte offset 6, where no mesh of the library starts"},
        {[](auto& l) { l.Moveables[0].MeshCount = 0; }, {{}, {0}},
         "source moveable 0 (ObjectId 60): it has no mesh (MeshCount 0)"},
        {[](auto& l) { l.Moveables[1].MeshTree = 5; }, {{}, {1}},
         "source moveable 1 (ObjectId 61): mesh tree runs past MeshTrees (words 5 to 12, the table has 12)"},
        {[](auto& l) { l.Moveables[1].FrameOffset = 22; }, {{}, {0}},
         "source moveable 0 (ObjectId 60): frame block runs past Frames (bytes 0 to 22, the table has 20)"},
        {[](auto& l) { l.Moveables[1].Animation = 5; }, {{}, {0}},
         "source moveable 0 (ObjectId 60): animations run past Animations (records 0 to 4, the table has 2)"},
        {[](auto& l) { l.Animations[0].StateChangeCount = 1; }, {{}, {0}},
         "source moveable 0 (ObjectId 60): animation 0: state changes run past StateChanges (records 0 to 0, the table has 0)"},
        {[](auto& l) {
             l.StateChanges = {{0, 2, 1}};
             l.AnimDispatches.resize(2);
             l.Animations[1].StateChangeCount = 1;
         },
         {{}, {1}}, "source moveable 1 (ObjectId 61): animation 1: dispatches run past AnimDispatches (records 1 to 2, the table has 2)"},
        {[](auto& l) { l.AnimCommands = {5, 100}; }, {{}, {1}},
         "source moveable 1 (ObjectId 61): animation 1: its 1 commands from word 0 run past AnimCommands, which has 2 words"},
        {[](auto& l) { l.TextureSamples.clear(); }, {{0}, {}},
         "source static mesh 0 (ObjectId 50): the mesh at byte offset 0 has faces, but the library has no texture samples"},
        {[](auto&) {}, {{}, {0, 2}}, "there is no source moveable 2: the library has 2"},
        {[](auto&) {}, {{-1}, {}}, "there is no source static mesh -1: the library has 2"},
    };
    const SourceFixture intact = source;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cause);
        source = intact;
        c.damage(source.library);
        expectRefused(c.ticks, c.cause);
    }
}

TEST_F(MergeOperationTest, AMergeIsRefusedWhenAnIndexWouldNoLongerFitItsField) {
    const auto limit = [this](std::function<void(level::Tr4Level&)> grow, MergeTicks ticks, const std::string& cause) {
        target = testing::targetFixture();
        grow(target.level);
        expectRefused(ticks, cause);
    };
    limit([](auto& l) { l.ObjectTextures.resize(32767); }, {{0}, {}},
          "the merge would give the level 32769 object textures, but a face can only name the first 32768");
    limit([](auto& l) { l.MeshPointers.resize(65535); }, {{}, {0}}, "65537 mesh pointers");
    limit([](auto& l) { l.Animations.resize(65535); }, {{}, {1}}, "65536 animations");
    limit([](auto& l) { l.AnimCommands.resize(65534); }, {{}, {1}}, "65537 command words");
    source.library.StateChanges = {{0, 1, 0}};
    source.library.AnimDispatches.resize(1);
    source.library.Animations[1].StateChangeCount = 1;
    limit([](auto& l) { l.StateChanges.resize(65536); }, {{}, {1}}, "65537 state changes");
    limit([](auto& l) { l.AnimDispatches.resize(65536); }, {{}, {1}}, "65537 dispatches");
    target = testing::targetFixture();
    target.level.ObjectTextures.resize(32766);
    target.level.Animations.resize(65534);
    EXPECT_TRUE(merge({{0}, {1}}).ok()) << "one below each limit still fits";

    level::Tr4Level huge;
    huge.NumRoomPages = 32768;
    huge.PageCount = 32768;
    EXPECT_NE(checkNewPages(huge, 1).error().find("32769 texture pages"), std::string::npos);
    EXPECT_TRUE(checkNewPages(huge, 0).ok());
}

TEST_F(MergeOperationTest, NewPagesNeedHeaderCountsThatAgreeWithThePageChunks) {
    target.level.NumObjectPages = 0;
    expectRefused({{0}, {}}, "the level's header counts 2 room, 0 object and 0 bump pages (2 in all), but its page "
                             "chunk holds 3; the game would not load the pages a merge adds");
    // A merge that adds no page needs no agreement.
    source.library.StaticMeshes.push_back({52, source.addMesh({}), {}, 0});
    ASSERT_TRUE(merge({{2}, {}}).ok());
    EXPECT_EQ(target.level.StaticMeshes.size(), 2u);

    target = testing::targetFixture();
    target.level.Pages16.resize(2 * level::kPageBytes16);
    expectRefused({{0}, {}}, "the level's 16-bit page chunk holds 2 pages, fewer than the 3 of its 32-bit page chunk");
}

TEST_F(MergeOperationTest, AnIdTheTargetHasIsKeptTwiceReplacedOrSkipped) {
    auto& level = target.level;
    level.StaticMeshes = {{51, 0, {}, 0}, {50, 0, {}, 0}};
    level.Moveables[0].ObjectId = 61;
    level.Moveables.push_back(level.Moveables[0]);
    const MergeTicks all{{1, 0, 1}, {1, 0}};
    EXPECT_EQ(findConflicts(target, source, all), (std::vector<IdConflict>{{ObjectKind::StaticMesh, 50},
                                                                          {ObjectKind::StaticMesh, 51},
                                                                          {ObjectKind::Moveable, 61}}));
    EXPECT_TRUE(findConflicts(target, source, {{}, {0, 7}}).empty()) << "a tick past the table is left to the plan";

    const auto ids = [](const auto& records) {
        const auto view = records | std::views::transform([](const auto& record) { return record.ObjectId; });
        return std::vector<std::uint32_t>(view.begin(), view.end());
    };
    const level::LevelDocument start = target;
    const std::size_t grownPointers = start.level.MeshPointers.size() + 7; // statics of 1 mesh, moveables of 2 and 3
    const struct {
        ConflictPolicy policy;
        std::vector<std::uint32_t> statics, moveables;
        std::size_t pointers; // a replaced object's meshes stay in the file
    } cases[] = {
        {ConflictPolicy::Keep, {51, 50, 50, 51}, {61, 61, 60, 61}, grownPointers},
        {ConflictPolicy::Replace, {50, 51}, {60, 61}, grownPointers},
        {ConflictPolicy::Skip, {51, 50}, {61, 61, 60}, grownPointers - 5},
    };
    for (const auto& c : cases) {
        target = start;
        ASSERT_TRUE(merge(all, c.policy).ok());
        EXPECT_EQ(ids(level.StaticMeshes), c.statics);
        EXPECT_EQ(ids(level.Moveables), c.moveables);
        EXPECT_EQ(level.MeshPointers.size(), c.pointers);
    }
    source.library.Moveables[1].MeshCount = 0;
    expectRefused(all, "it has no mesh", ConflictPolicy::Replace);
}

} // namespace
} // namespace veltrane::merge
