#include "merge/merge_operation.h"

#include "level/mesh_block.h"
#include "merge_fixture.h"

#include <gtest/gtest.h>

namespace veltrane::merge {
namespace {

using testing::quad;
using testing::SourceFixture;
using testing::triangle;

class ObjectMergeTest : public ::testing::Test {
protected:
    ObjectMergeTest() {
        source.addSample(0, 0, 0, 8, 8);
        source.addSample(8, 0, 0, 8, 8);
    }
    void merge(const MergeTicks& ticks) {
        const auto result = mergeObjects(target, source, ticks);
        ASSERT_TRUE(result.ok()) << result.error();
    }
    SourceFixture source;
    level::LevelDocument target = testing::targetFixture();
};

TEST_F(ObjectMergeTest, AStaticMeshGoesAtTheEndOfTheBlockWithItsFacesRemappedAndNamesItsNewPointer) {
    const level::MeshPolygon otherShape{5, {}, 1, 0, 0};
    source.addStatic(10, {quad(0), otherShape, triangle(1, 1)});
    const level::MeshRecord sourceMesh = *source.meshes.get(0);
    const std::uint32_t end = target.meshes.nextOffset();
    merge({{0}, {}});

    ASSERT_EQ(target.level.StaticMeshes.size(), 2u);
    EXPECT_EQ(target.level.StaticMeshes[1], (level::Tr4StaticMesh{10, 3, source.library.StaticMeshes[0].Box, 3}))
        << "an ID the target has already is added again";
    EXPECT_EQ(target.level.MeshPointers[3], end);
    const level::MeshRecord& mesh = *target.meshes.get(3);
    EXPECT_EQ(mesh.Offset, end);
    ASSERT_EQ(mesh.NumRectangles, 1);
    ASSERT_EQ(mesh.NumTriangles, 1);
    EXPECT_EQ(mesh.Rectangles[0].Texture, 4);
    EXPECT_EQ(mesh.Triangles[0].Texture, 6) << "the dropped shape took piece 5 all the same";
    EXPECT_EQ(mesh.Triangles[0].Attribute, 1);
    EXPECT_EQ(mesh.Vertices, sourceMesh.Vertices);
    EXPECT_EQ(mesh.Shades, sourceMesh.Shades);
    EXPECT_EQ(target.meshes.totalSize(), static_cast<std::int32_t>(end + level::levelFormSize(mesh)));
    EXPECT_EQ(*source.meshes.get(0), sourceMesh) << "the source keeps its own texture words";
}

TEST_F(ObjectMergeTest, AMeshGoesBehindAKeptBlockAtTheOffsetItsPointerNames) {
    // Two bytes left over after the last whole mesh: the block is kept as it is, and saving moves nothing.
    std::vector<std::uint8_t> block = level::serialiseMeshBlock(target.meshes);
    block.insert(block.end(), {0xAB, 0xCD});
    target.meshes = level::parseMeshBlock(block, level::MeshKind::Level);
    source.addStatic(11, {quad(0)});
    merge({{0}, {}});
    EXPECT_EQ(target.level.MeshPointers[3], block.size());
    const auto saved = level::serialiseMeshBlock(target.meshes);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), saved.begin()));
    const auto reparsed = level::parseMeshBlock(std::span(saved).subspan(block.size()), level::MeshKind::Level);
    ASSERT_EQ(reparsed.count(), 1);
    EXPECT_EQ(reparsed.get(0)->Rectangles, target.meshes.get(3)->Rectangles);
}

TEST_F(ObjectMergeTest, AMoveableBringsItsMeshesAndTreeAndSharedMeshesAreCopiedForEach) {
    source.library.Animations.resize(1);
    source.addMoveable(30, 3, 4, 0);
    source.addMoveable(31, 1, 0, level::kNoAnimation);
    source.library.Moveables.push_back(source.library.Moveables[1]); // shares its mesh with moveable 1
    source.library.Moveables[2].ObjectId = 32;
    merge({{}, {0, 1, 2}});
    const auto& moveables = target.level.Moveables;
    ASSERT_EQ(moveables.size(), 4u);
    EXPECT_EQ(moveables[1], (level::Tr4Moveable{30, 3, 3, 4, 12, 1}));
    EXPECT_EQ(std::vector<std::uint32_t>(target.level.MeshTrees.begin() + 4, target.level.MeshTrees.end()),
              std::vector<std::uint32_t>(source.library.MeshTrees.begin(), source.library.MeshTrees.begin() + 8));
    EXPECT_EQ(moveables[2], (level::Tr4Moveable{31, 1, 6, 12, 20, level::kNoAnimation})) << "a one-mesh moveable adds no tree words";
    EXPECT_EQ(moveables[3].StartingMesh, 7);
    EXPECT_NE(target.level.MeshPointers[6], target.level.MeshPointers[7]);
    EXPECT_EQ(target.meshes.get(6)->Rectangles, target.meshes.get(7)->Rectangles);
    EXPECT_EQ(target.meshes.count(), 8);
}

} // namespace
} // namespace veltrane::merge
