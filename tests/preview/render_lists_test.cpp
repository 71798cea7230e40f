#include "mesh_fixtures.h"
#include "recording_device.h"

#include "level/mesh_tree.h"
#include "preview/d3d_matrix.h"
#include "preview/render_lists.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace veltrane::preview {
namespace {

using testing::RecordingDevice;

// A level with `meshCount` textured meshes, each with its mesh pointer, and render meshes for them.
struct Level {
    explicit Level(int meshCount)
        : document(testing::levelWith(std::vector(meshCount, testing::square().triangle({0, 1, 2}, 0).build()))),
          table(document.meshes), textures(document.level.Pages32, {}) {
        document.level.ObjectTextures = {testing::wholePage(0)};
        textures.Create32BitTextures(&device);
        BuildTargetMeshes(table, &device, textures, document.level);
    }
    // A moveable of `meshCount` meshes from mesh pointer `first`, whose tree starts at the next free word.
    trMoveableD3D moveable(std::uint16_t meshCount, std::uint16_t first, std::vector<std::array<std::uint32_t, 4>> nodes) {
        level::Tr4Level& level = document.level;
        level.Moveables.push_back({0, meshCount, first, static_cast<std::uint32_t>(level.MeshTrees.size()), 0, 0});
        for (const auto& node : nodes)
            level.MeshTrees.insert(level.MeshTrees.end(), node.begin(), node.end());
        return trMoveableD3D(&level, &table, static_cast<std::int32_t>(level.Moveables.size() - 1));
    }

    RecordingDevice device;
    level::LevelDocument document;
    RenderMeshTable table;
    trTextura textures;
};

TEST(MoveableRenderList, MeshesSitAtTheirTreeOffsetsInPreviewUnitsAndUnknownPointersDrawNothing) {
    Level file(4);
    // Mesh 1 hangs from mesh 0 by (-15, -15, 25); mesh 2 saves mesh 1 and hangs 100 along x from it; mesh
    // 3 hangs from the saved mesh 1. Offsets add up along the parents, y turns over, and a tenth is taken
    // rounding toward zero.
    auto moveable = file.moveable(4, 0, {{level::kFromPrevious, static_cast<std::uint32_t>(-15), static_cast<std::uint32_t>(-15), 25},
                                         {level::kPushPrevious, 100, 0, 0},
                                         {level::kFromPopped, 0, static_cast<std::uint32_t>(-30), 0}});
    EXPECT_EQ(moveable.Build(), 4);
    EXPECT_EQ(moveable.meshIndex, (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(moveable.offsets, (std::vector<MeshOffset>{{0, 0, 0}, {-1, 1, 2}, {8, 1, 2}, {-1, 4, 2}}));
    // Squares of 10 preview units (x 0 to 10, y 0 to -10) at those offsets: the box runs from (-1, -10, 0)
    // to (18, 4, 2), and the corner farthest from its middle is mesh 3's at (-1, 4, 2).
    EXPECT_EQ(moveable.bounds().centre, glm::vec3(8.5f, -3, 1));
    EXPECT_FLOAT_EQ(moveable.bounds().radius, std::sqrt(9.5f * 9.5f + 7 * 7 + 1));

    file.document.level.MeshPointers.push_back(3); // starts no mesh
    auto unknown = file.moveable(3, 3, {{0, 0, 0, 0}, {0, 0, 0, 0}});
    unknown.Build();
    EXPECT_EQ(unknown.meshIndex, (std::vector<std::int32_t>{3, -1, -1})) << "pointer 5 lies past the table";
    unknown.Draw(file.device, {0, 0, 0, 0, 1});
    EXPECT_EQ(file.device.draws.size(), 1u);
    EXPECT_EQ(trMoveableD3D(nullptr, &file.table, 0).Build(), E_FAIL);
    EXPECT_EQ(trMoveableD3D(&file.document.level, &file.table, 9).Build(), E_FAIL);
    EXPECT_EQ(file.moveable(1, 0, {}).Build(), 1);
}

TEST(StaticRenderList, FindsItsMeshAndDrawsItAtNoOffset) {
    Level file(3);
    // Two records, the second naming no mesh pointer; the memory past them still holds records that
    // do, which an index past the table must not reach.
    auto& statics = file.document.level.StaticMeshes;
    statics.assign(6, {0, 2, {}, 0});
    statics.resize(2);
    statics[1].Mesh = 40;
    trStaticMeshD3D list(&file.document.level, &file.table, 0);
    EXPECT_EQ(list.meshIndex, -1);
    EXPECT_EQ(list.Build(), 1);
    EXPECT_EQ(list.meshIndex, 2);
    EXPECT_EQ(list.Draw(file.device, {0, 0, 0, 0, 4}), 1);
    EXPECT_EQ(file.device.draws.at(0).world, MatrixScaling(4, 4, 4));
    EXPECT_EQ(list.bounds(), (Bounds{{5, -5, 0}, std::sqrt(50.0f)}));
    EXPECT_EQ(trStaticMeshD3D(&file.document.level, &file.table, 1).Build(), -1);
    EXPECT_EQ(trStaticMeshD3D(&file.document.level, &file.table, 5).Build(), -1);
    EXPECT_EQ(trStaticMeshD3D(nullptr, &file.table, 0).Build(), 0);
}

} // namespace
} // namespace veltrane::preview
