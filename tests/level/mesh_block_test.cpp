#include "builders/mesh_builder.h"
#include "io/byte_writer.h"
#include "level/mesh_block.h"

#include <gtest/gtest.h>

namespace veltrane::level {
namespace {

using builders::MeshBuilder;

// A level-form mesh written by hand: centre, radius, vertices, normals (or shades for a negative
// count), then rectangles and triangles, and a pad word when the bytes are not a multiple of 4.
std::vector<std::uint8_t> levelMesh(int vertices, int normals, int rectangles, int triangles, std::uint16_t pad = 0) {
    io::ByteWriter out;
    for (std::int16_t word : {1, 2, 3})
        out.i16(word);
    out.i32(100);
    out.i16(static_cast<std::int16_t>(vertices));
    for (int i = 0; i < vertices * 3; ++i)
        out.i16(static_cast<std::int16_t>(i));
    out.i16(static_cast<std::int16_t>(normals));
    for (int i = 0; i < (normals > 0 ? normals * 3 : -normals); ++i)
        out.i16(7);
    out.i16(static_cast<std::int16_t>(rectangles));
    for (int i = 0; i < rectangles * 6; ++i)
        out.u16(static_cast<std::uint16_t>(i % 6));
    out.i16(static_cast<std::int16_t>(triangles));
    for (int i = 0; i < triangles * 5; ++i)
        out.u16(static_cast<std::uint16_t>(i % 5));
    if (out.size() % 4 != 0)
        out.u16(pad);
    return out.take();
}

std::vector<std::uint8_t> joined(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(MeshBlock, MeshesTakeTheirSizeRuleWithAPadWordAndAreFoundByTheirOffset) {
    const auto block = joined({levelMesh(1, 0, 0, 0), levelMesh(2, 0, 0, 0, 0xBEEF), levelMesh(1, -3, 1, 1),
                               levelMesh(2, 2, 2, 3)});
    const auto meshes = parseMeshBlock(block, MeshKind::Level);
    ASSERT_EQ(meshes.count(), 4);
    EXPECT_EQ(levelFormSize(*meshes.get(0)), 24u);
    EXPECT_FALSE(meshes.get(0)->PadWord.has_value());
    EXPECT_EQ(levelFormSize(*meshes.get(1)), 32u);
    EXPECT_EQ(meshes.get(1)->PadWord, 0xBEEF);
    EXPECT_EQ(meshes.get(2)->Shades.size(), 3u) << "a normal count of -3 is followed by three shades";
    EXPECT_TRUE(meshes.get(2)->Normals.empty());
    EXPECT_EQ(meshes.get(3)->Rectangles[1], (MeshRectangle{{0, 1, 2, 3}, 4, 5}));
    EXPECT_EQ(meshes.totalSize(), static_cast<std::int32_t>(block.size()));
    EXPECT_EQ(libraryFormSize(*meshes.get(3)), 14u + 12 + 12 + 2) << "a library list counts no faces";

    EXPECT_EQ(meshes.MeshIndexOf(56), 2);
    EXPECT_EQ(meshes.MeshIndexOf(4), -1) << "not the start of a mesh";
    EXPECT_EQ(meshes.get(4), nullptr);
    EXPECT_EQ(meshes.get(-1), nullptr);
    EXPECT_EQ(parseMeshBlock({}, MeshKind::Level).MeshIndexOf(0), -1);
    Lista_Mesh unordered(MeshKind::Level); // offsets that do not grow are searched one by one
    for (const std::uint32_t offset : {40u, 0u}) {
        MeshRecord mesh;
        mesh.Offset = offset;
        unordered.append(mesh);
    }
    EXPECT_EQ(unordered.MeshIndexOf(0), 1);
    EXPECT_EQ(unordered.MeshIndexOf(20), -1);
}

TEST(MeshBlock, RebuildingGivesTheSameBytesWithZeroPadWordsAndAppendedMeshesAtTheirOffsets) {
    const auto block = joined({levelMesh(2, 2, 1, 0, 0xFFFF), levelMesh(3, -1, 2, 3, 0x1234)});
    auto meshes = parseMeshBlock(block, MeshKind::Level);
    MeshRecord added = *meshes.get(0);
    added.Offset = meshes.nextOffset();
    EXPECT_EQ(added.Offset, block.size());
    EXPECT_EQ(meshes.append(added), 56);

    Tr4Level level;
    ASSERT_EQ(rebuildMeshBlock(meshes, level), block.size() + 56);
    EXPECT_EQ(level.MeshWords, bytesToWords(joined({levelMesh(2, 2, 1, 0), levelMesh(3, -1, 2, 3), levelMesh(2, 2, 1, 0)})));
    EXPECT_EQ(parseMeshBlock(wordBytes(level.MeshWords), MeshKind::Level).MeshIndexOf(added.Offset), 2);
    EXPECT_EQ(rebuildMeshBlock(Lista_Mesh(MeshKind::Level), level), 0u) << "an empty list leaves MeshWords";
    EXPECT_FALSE(level.MeshWords.empty());
}

TEST(MeshBlock, ABlockTheMeshesDoNotTileIsKeptAndAddedMeshesFollowIt) {
    // One whole mesh, then six bytes that cannot be a mesh.
    const auto block = joined({levelMesh(1, 0, 0, 0), {1, 2, 3, 4, 5, 6}});
    auto meshes = parseMeshBlock(block, MeshKind::Level);
    ASSERT_EQ(meshes.count(), 1);
    EXPECT_EQ(meshes.nextOffset(), 30u);
    MeshRecord added = *meshes.get(0);
    added.Offset = meshes.nextOffset();
    meshes.append(added);
    EXPECT_EQ(meshes.nextOffset(), 54u);
    EXPECT_EQ(serialiseMeshBlock(meshes), joined({block, levelMesh(1, 0, 0, 0)})) << "no existing byte moves";

    auto library = levelMesh(3, 0, 0, 0);
    library.erase(library.end() - 8, library.end());
    EXPECT_EQ(parseMeshBlock(library, MeshKind::Library).count(), 0) << "a library's cut mesh is dropped";
}

TEST(MeshBlock, LibraryMeshesWrittenAndParsedBackAreAsBuiltAndConvertToLevelFaces) {
    const std::vector<MeshRecord> meshes = {
        MeshBuilder(MeshKind::Library)
            .vertex(0, 0, 0).vertex(100, 0, 0).vertex(100, -100, 0).vertex(0, -100, 0)
            .normal(0, 0, -16384).normal(0, 0, -16384).normal(0, 0, -16384).normal(0, 0, -16384)
            .quad({0, 1, 2, 3}, 0xFFFB, 5, 0xEE)
            .polygon(7, 0x0011, 2, 9)
            .triangle({3, 2, 1}, 0x0803, 1)
            .build(),
        MeshBuilder(MeshKind::Library).vertex(-5, 5, -5).shade(4096).shade(0).triangle({0, 0, 0}, 0).build(),
        MeshBuilder(MeshKind::Library).sphere({1, 2, 3}, 40).build()};
    ASSERT_NE(meshes[0].PadWord.has_value(), meshes[1].PadWord.has_value()) << "both pad cases are covered";
    const auto block = serialiseLibraryMeshes(meshes);
    const auto parsed = parseMeshBlock(wordBytes(block.words), MeshKind::Library);
    ASSERT_EQ(parsed.count(), 3);
    for (std::size_t i = 0; i < meshes.size(); ++i) {
        auto expected = meshes[i];
        expected.Offset = block.pointers[i];
        EXPECT_EQ(*parsed.get(static_cast<std::int32_t>(i)), expected) << "mesh " << i;
    }
    EXPECT_EQ(block.pointers[1], 14u + 24 + 24 + 2 + 14 + 6 + 12) << "12 bytes a triangle, 14 a quad, 6 another shape";
    auto unpadded = meshes[1];
    unpadded.PadWord.reset();
    EXPECT_EQ(parseMeshBlock(wordBytes(serialiseLibraryMeshes({&unpadded, 1}).words), MeshKind::Library).get(0)->PadWord, 0)
        << "a pad word the record lacks is written as zero";

    const MeshRecord& library = *parsed.get(0);
    const auto converted = convertToLevelForm(library);
    ASSERT_EQ(converted.NumRectangles, 1);
    ASSERT_EQ(converted.NumTriangles, 1);
    EXPECT_EQ(converted.Rectangles[0], (MeshRectangle{{0, 1, 2, 3}, 0xFFFB, 5}));
    EXPECT_EQ(converted.Triangles[0], (MeshTriangle{{3, 2, 1}, 0x0803, 1}));
    EXPECT_EQ(converted.Normals, library.Normals);
    EXPECT_FALSE(converted.PadWord.has_value());
    const std::vector<std::uint16_t> replacements = {40, 41, 42};
    const auto remapped = convertToLevelForm(library, replacements);
    EXPECT_EQ(remapped.Rectangles[0].Texture, 40);
    EXPECT_EQ(remapped.Triangles[0].Texture, 42);
    EXPECT_EQ(levelFormSize(remapped), 14u + 24 + 24 + 4 + 12 + 10 + 0);
}

} // namespace
} // namespace veltrane::level
