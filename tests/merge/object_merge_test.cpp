#include "merge/object_merge.h"

#include "level/mesh_block.h"
#include "merge/animation_merge.h"
#include "merge_fixture.h"

#include <gtest/gtest.h>

namespace veltrane::merge {
namespace {

using testing::otherShape;
using testing::quad;
using testing::SourceFixture;
using testing::TargetFixture;
using testing::triangle;

class ObjectMergeTest : public ::testing::Test {
protected:
    ObjectMergeTest() : pieces(BeginTextureMerge(target.level)) {
        source.addSample(0, 0, 0, 8, 8);
        source.addSample(8, 0, 0, 8, 8);
    }
    SourceFixture source;
    TargetFixture target;
    Lista_Texturas pieces;
};

TEST_F(ObjectMergeTest, ATransferredMeshGoesAtTheEndOfTheBlockWithItsFacesRemapped) {
    const std::uint16_t pointer = source.addMesh({quad(0), otherShape(5, 1), triangle(1, 1)});
    const level::MeshRecord sourceMesh = *source.meshes.get(0);
    const std::uint32_t sizeBefore = target.meshes.nextOffset();

    const std::uint32_t index = TransferMesh(target.view(), source.view(), pieces, source.library.MeshPointers[pointer]);

    EXPECT_EQ(index, 3u);
    ASSERT_EQ(target.level.MeshPointers.size(), 4u);
    EXPECT_EQ(target.level.MeshPointers[3], sizeBefore);
    ASSERT_EQ(target.meshes.count(), 4);
    const level::MeshRecord& merged = *target.meshes.get(3);
    EXPECT_EQ(merged.Offset, sizeBefore);
    ASSERT_EQ(merged.NumRectangles, 1);
    ASSERT_EQ(merged.NumTriangles, 1);
    EXPECT_EQ(merged.Rectangles[0].Texture, 4);
    // The dropped shape took piece 5 all the same.
    EXPECT_EQ(merged.Triangles[0].Texture, 6);
    EXPECT_EQ(merged.Triangles[0].Attribute, 1);
    EXPECT_EQ(PieceCount(pieces), 3);
    EXPECT_EQ(merged.Vertices, sourceMesh.Vertices);
    EXPECT_EQ(merged.Shades, sourceMesh.Shades);
    // The mesh data grows by the level-form size, and the source keeps its own texture words.
    EXPECT_EQ(target.meshes.totalSize(), static_cast<std::int32_t>(sizeBefore + level::levelFormSize(merged)));
    EXPECT_EQ(*source.meshes.get(0), sourceMesh);
}

TEST_F(ObjectMergeTest, AMeshGoesBehindAKeptBlockAtTheOffsetItsPointerNames) {
    // Two bytes left over after the last whole mesh: the block is kept as it is, and saving moves nothing.
    std::vector<std::uint8_t> block = level::serialiseMeshBlock(target.meshes);
    block.insert(block.end(), {0xAB, 0xCD});
    target.meshes = level::parseMeshBlock(block, level::MeshKind::Level);
    const std::uint16_t pointer = source.addMesh({quad(0)});

    const std::uint32_t index = TransferMesh(target.view(), source.view(), pieces, source.library.MeshPointers[pointer]);
    EXPECT_EQ(target.level.MeshPointers[index], block.size());
    ASSERT_EQ(level::rebuildMeshBlock(target.meshes, target.level), block.size() + level::levelFormSize(*target.meshes.get(3)));
    const auto saved = level::wordBytes(target.level.MeshWords);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), saved.begin()));
    const auto reparsed = level::parseMeshBlock(saved.subspan(block.size()), level::MeshKind::Level);
    ASSERT_EQ(reparsed.count(), 1);
    EXPECT_EQ(reparsed.get(0)->Rectangles, target.meshes.get(3)->Rectangles);
}

TEST_F(ObjectMergeTest, AStaticNamesTheNewPointerAndAnIdTheTargetHasIsAddedAgain) {
    const std::int32_t index = source.addStatic(10, {quad(1)});
    MergeStaticMesh(target.view(), source.view(), pieces, index);
    ASSERT_EQ(target.level.StaticMeshes.size(), 2u);
    const level::Tr4StaticMesh& merged = target.level.StaticMeshes[1];
    EXPECT_EQ(merged.ObjectId, 10u);
    EXPECT_EQ(target.level.StaticMeshes[0].ObjectId, 10u);
    EXPECT_EQ(merged.Mesh, 3); // the pointer count before it
    EXPECT_EQ(merged.Box, source.library.StaticMeshes[0].Box);
    EXPECT_EQ(merged.Flags, 3);
}

TEST_F(ObjectMergeTest, AMoveableBringsItsMeshesTreeAndAnimations) {
    source.library.Animations.resize(1);
    const std::int32_t index = source.addMoveable(30, 3, 4, 0);
    MergeMoveable(target.view(), source.view(), pieces, index);
    ASSERT_EQ(target.level.Moveables.size(), 2u);
    const level::Tr4Moveable& merged = target.level.Moveables[1];
    EXPECT_EQ(merged.ObjectId, 30u);
    EXPECT_EQ(merged.MeshCount, 3);
    EXPECT_EQ(merged.StartingMesh, 3);
    EXPECT_EQ(target.level.MeshPointers.size(), 6u);
    EXPECT_EQ(target.meshes.count(), 6);
    EXPECT_EQ(merged.MeshTree, 4u);
    EXPECT_EQ(target.level.MeshTrees.size(), 12u);
    EXPECT_EQ(target.level.MeshTrees[4], source.library.MeshTrees[0]);
    EXPECT_EQ(target.level.MeshTrees[11], source.library.MeshTrees[7]);
    EXPECT_EQ(merged.FrameOffset, 12u);
    EXPECT_EQ(merged.Animation, 1);
}

TEST_F(ObjectMergeTest, AOneMeshMoveableAddsNoTreeWords) {
    const std::int32_t index = source.addMoveable(31, 1, 0, kNoAnimation);
    MergeMoveable(target.view(), source.view(), pieces, index);
    EXPECT_EQ(target.level.Moveables[1].MeshTree, 4u);
    EXPECT_EQ(target.level.MeshTrees.size(), 4u);
    EXPECT_EQ(target.level.Moveables[1].Animation, kNoAnimation);
}

TEST_F(ObjectMergeTest, MoveablesThatShareAMeshEachGetTheirOwnCopy) {
    source.addMoveable(40, 1, 0, kNoAnimation);
    source.library.Moveables.push_back(source.library.Moveables[0]);
    source.library.Moveables[1].ObjectId = 41;
    MergeMoveable(target.view(), source.view(), pieces, 0);
    MergeMoveable(target.view(), source.view(), pieces, 1);
    EXPECT_EQ(target.level.Moveables[1].StartingMesh, 3);
    EXPECT_EQ(target.level.Moveables[2].StartingMesh, 4);
    EXPECT_NE(target.level.MeshPointers[3], target.level.MeshPointers[4]);
    EXPECT_EQ(target.meshes.get(3)->Rectangles, target.meshes.get(4)->Rectangles);
    EXPECT_EQ(PieceCount(pieces), 1);
}

} // namespace
} // namespace veltrane::merge
