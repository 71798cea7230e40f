#include "mesh_fixtures.h"
#include "recording_device.h"

#include "preview/d3d_matrix.h"
#include "preview/render_lists.h"

#include <gtest/gtest.h>

#include <numbers>

namespace veltrane::preview {
namespace {

using testing::RecordingDevice;

// A level with `meshCount` textured meshes, each with its mesh pointer, and render meshes for them.
struct Level {
    explicit Level(int meshCount)
        : list(testing::levelMeshes(level, std::vector(meshCount, testing::square().triangle({0, 1, 2}, 0).build()))),
          table(list) {
        level.Pages32 = testing::pageBytes(1, 4);
        level.ObjectTextures = {testing::wholePage(0)};
        textures = std::make_unique<trTextura>(level);
        textures->Create32BitTextures(&device);
        BuildTargetMeshes(table, &device, *textures, level);
    }
    // A moveable of `meshCount` meshes from mesh pointer `first`, whose tree starts at the next free word.
    std::int32_t addMoveable(std::uint16_t meshCount, std::uint16_t first,
                             std::vector<std::array<std::uint32_t, 4>> nodes) {
        level::Tr4Moveable moveable;
        moveable.MeshCount = meshCount;
        moveable.StartingMesh = first;
        moveable.MeshTree = static_cast<std::uint32_t>(level.MeshTrees.size());
        for (const auto& node : nodes)
            level.MeshTrees.insert(level.MeshTrees.end(), node.begin(), node.end());
        level.Moveables.push_back(moveable);
        return static_cast<std::int32_t>(level.Moveables.size() - 1);
    }
    trMoveableD3D Moveable(std::int32_t index) { return trMoveableD3D(&level, &table, index); }

    RecordingDevice device;
    level::Tr4Level level;
    level::Lista_Mesh list;
    RenderMeshTable table;
    std::unique_ptr<trTextura> textures;
};

std::uint32_t word(std::int32_t value) { return static_cast<std::uint32_t>(value); }

TEST(MoveableRenderList, ThirdMeshHangsFromTheFirstAfterAPushAndPop) {
    Level file(3);
    auto moveable = file.Moveable(file.addMoveable(3, 0, {{2, 100, 0, 0}, {1, 0, 50, 0}}));
    EXPECT_EQ(moveable.Build(), 3);
    EXPECT_EQ(moveable.meshIndex, (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(moveable.offsets, (std::vector<MeshOffset>{{0, 0, 0}, {10, 0, 0}, {0, -5, 0}}));
}

TEST(MoveableRenderList, FollowAndReadFlagsAndDivisionTowardZero) {
    Level file(4);
    // Mesh 1 follows mesh 0 by (15, -15, 25); mesh 2 pushes mesh 1; mesh 3 reads the saved mesh 1.
    auto moveable = file.Moveable(
        file.addMoveable(4, 0, {{0, 15, 15, 25}, {2, 0, 0, 1}, {3, word(-30), 0, 0}}));
    EXPECT_EQ(moveable.Build(), 4);
    EXPECT_EQ(moveable.offsets, (std::vector<MeshOffset>{{0, 0, 0}, {1, -1, 2}, {1, -1, 2}, {-1, -1, 2}}));
}

TEST(MoveableRenderList, OffsetsUseTheLow16BitsOfEachWord) {
    Level file(2);
    auto moveable = file.Moveable(file.addMoveable(2, 0, {{0, 0x0001'0064, 0xFFFF'FF9C, 0x7FFF'0000}}));
    moveable.Build();
    EXPECT_EQ(moveable.offsets[1], (MeshOffset{10, 10, 0}));
}

TEST(MoveableRenderList, OneMeshMoveableReadsNoTreeWord) {
    Level file(1);
    level::Tr4Moveable moveable;
    moveable.MeshCount = 1;
    moveable.MeshTree = 1'000'000; // far outside MeshTrees
    file.level.Moveables.push_back(moveable);
    auto list = file.Moveable(0);
    EXPECT_EQ(list.Build(), 1);
    EXPECT_EQ(list.offsets, (std::vector<MeshOffset>{{0, 0, 0}}));
}

TEST(MoveableRenderList, TreesOutsideWhatTheStackHoldsPlaceTheMeshAtItsPredecessor) {
    Level file(8);
    // Six pushes: the sixth finds the five-entry stack full. Then, on a fresh stack, a pop and a read
    // find it empty and a flag word 7 is unknown.
    std::vector<std::array<std::uint32_t, 4>> pushes(6, {2, 10, 0, 0});
    auto sixPushes = file.Moveable(file.addMoveable(7, 0, pushes));
    EXPECT_EQ(sixPushes.Build(), 7);
    EXPECT_EQ(sixPushes.offsets[5], (MeshOffset{5, 0, 0}));
    EXPECT_EQ(sixPushes.offsets[6], (MeshOffset{5, 0, 0})); // not pushed, not moved

    auto badFlags = file.Moveable(file.addMoveable(4, 0, {{1, 10, 0, 0}, {3, 10, 0, 0}, {7, 10, 0, 0}}));
    EXPECT_EQ(badFlags.Build(), 4);
    EXPECT_EQ(badFlags.offsets, (std::vector<MeshOffset>(4, {0, 0, 0})));
}

TEST(MoveableRenderList, TreeRunningPastTheTableStopsMovingMeshes) {
    Level file(3);
    auto moveable = file.Moveable(file.addMoveable(3, 0, {{0, 100, 0, 0}}));
    EXPECT_EQ(moveable.Build(), 3);
    EXPECT_EQ(moveable.offsets[2], (MeshOffset{10, 0, 0}));
}

TEST(MoveableRenderList, UnknownMeshPointerGivesMinusOneAndIsNotDrawn) {
    Level file(2);
    file.level.MeshPointers.push_back(3); // starts no mesh
    auto moveable = file.Moveable(file.addMoveable(3, 1, {{0, 0, 0, 0}, {0, 0, 0, 0}}));
    moveable.Build();
    // Pointers 1 (mesh 1), 2 (offset 3) and 3 (past the table).
    EXPECT_EQ(moveable.meshIndex, (std::vector<std::int32_t>{1, -1, -1}));
    moveable.Draw(file.device, 0, 0, 0, 0, 1);
    EXPECT_EQ(file.device.draws.size(), 1u);
}

TEST(MoveableRenderList, MissingFileOrMoveableFails) {
    Level file(1);
    EXPECT_EQ(trMoveableD3D(nullptr, &file.table, 0).Build(), E_FAIL);
    EXPECT_EQ(file.Moveable(0).Build(), E_FAIL);
}

TEST(MoveableRenderList, DrawMovesByOffsetThenZoomsTurnsAndPans) {
    Level file(2);
    auto moveable = file.Moveable(file.addMoveable(2, 0, {{0, 100, 0, 0}}));
    moveable.Build();
    const float quarter = std::numbers::pi_v<float> / 2;
    EXPECT_EQ(moveable.Draw(file.device, 7, 3, quarter, 0, 2), 0);
    ASSERT_EQ(file.device.draws.size(), 2u);
    EXPECT_EQ(file.device.draws[1].mesh, file.table.at(1));
    // (1, 0, 0) + offset (10, 0, 0) = (11, 0, 0); zoom 2: (22, 0, 0); a quarter turn about Y: (0, 0, -22);
    // pan: (7, 3, -22).
    const glm::vec3 p = transformCoord({1, 0, 0}, file.device.draws[1].world);
    EXPECT_NEAR(p.x, 7, 1e-4);
    EXPECT_NEAR(p.y, 3, 1e-4);
    EXPECT_NEAR(p.z, -22, 1e-4);
    EXPECT_EQ(file.table.at(1)->world, glm::mat4(1.0f));
}

TEST(MoveableRenderList, TurnAboutXComesBeforeTurnAboutY) {
    Level file(1);
    auto moveable = file.Moveable(file.addMoveable(1, 0, {}));
    moveable.Build();
    const float quarter = std::numbers::pi_v<float> / 2;
    moveable.Draw(file.device, 0, 0, quarter, quarter, 1);
    // (0, 1, 0) turned about X goes to (0, 0, 1); then about Y to (1, 0, 0).
    const glm::vec3 p = transformCoord({0, 1, 0}, file.device.draws[0].world);
    EXPECT_NEAR(p.x, 1, 1e-6);
    EXPECT_NEAR(p.y, 0, 1e-6);
    EXPECT_NEAR(p.z, 0, 1e-6);
}

TEST(StaticRenderList, BuildFindsItsMeshAndDrawsItAtZeroOffset) {
    Level file(3);
    level::Tr4StaticMesh staticMesh;
    staticMesh.Mesh = 2;
    file.level.StaticMeshes = {staticMesh};
    trStaticMeshD3D list(&file.level, &file.table, 0);
    EXPECT_EQ(list.meshIndex, -1);
    EXPECT_EQ(list.Build(), 1);
    EXPECT_EQ(list.meshIndex, 2);
    EXPECT_EQ(list.Draw(file.device, 0, 0, 0, 0, 4), 1);
    ASSERT_EQ(file.device.draws.size(), 1u);
    EXPECT_EQ(file.device.draws[0].world, MatrixScaling(4, 4, 4));
}

TEST(StaticRenderList, UnknownMeshOrMissingFile) {
    Level file(1);
    level::Tr4StaticMesh pointsNowhere;
    pointsNowhere.Mesh = 40; // outside MeshPointers
    file.level.StaticMeshes = {pointsNowhere};
    EXPECT_EQ(trStaticMeshD3D(&file.level, &file.table, 0).Build(), -1);
    EXPECT_EQ(trStaticMeshD3D(&file.level, &file.table, 5).Build(), -1);
    EXPECT_EQ(trStaticMeshD3D(nullptr, &file.table, 0).Build(), 0);
}

TEST(StaticRenderList, LibraryStaticUsesTheLibraryTables) {
    const auto mesh = testing::square(level::MeshKind::Library).triangle({0, 1, 2}, 0).build();
    wad::WadLibrary library;
    auto list = testing::libraryMeshes(library, {mesh, mesh});
    RenderMeshTable table(list);
    library.MeshPointers = {list.get(1)->Offset};
    library.StaticMeshes.resize(1);
    wadStaticMeshD3D render(&library, &table, 0);
    EXPECT_EQ(render.Build(), 1);
    EXPECT_EQ(render.meshIndex, 1);
}

} // namespace
} // namespace veltrane::preview
