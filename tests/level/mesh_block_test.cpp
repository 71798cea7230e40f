#include "io/byte_writer.h"
#include "level/mesh_block.h"

#include <gtest/gtest.h>

using namespace veltrane::level;
using veltrane::io::ByteWriter;

namespace {

// Writes a mesh header by hand: centre, radius, vertices, and either normals or shades.
void meshHead(ByteWriter& out, int vertices, int normals) {
    out.i16(1);
    out.i16(2);
    out.i16(3);
    out.i32(100);
    out.i16(static_cast<std::int16_t>(vertices));
    for (int i = 0; i < vertices * 3; ++i)
        out.i16(static_cast<std::int16_t>(i));
    out.i16(static_cast<std::int16_t>(normals));
    for (int i = 0; i < (normals > 0 ? normals * 3 : -normals); ++i)
        out.i16(7);
}

std::vector<std::uint8_t> levelMesh(int vertices, int normals, int rectangles, int triangles, std::uint16_t pad = 0) {
    ByteWriter out;
    meshHead(out, vertices, normals);
    out.i16(static_cast<std::int16_t>(rectangles));
    for (int i = 0; i < rectangles; ++i)
        for (std::uint16_t word : {0, 1, 2, 3, 0x0005, 0x0001})
            out.u16(word);
    out.i16(static_cast<std::int16_t>(triangles));
    for (int i = 0; i < triangles; ++i)
        for (std::uint16_t word : {0, 1, 2, 0x0006, 0x0000})
            out.u16(word);
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

} // namespace

TEST(MeshBlock, MeshSizesFollowTheSizeRuleWithAPadWordToAMultipleOfFour) {
    const auto block = joined({levelMesh(1, 0, 0, 0), levelMesh(2, 0, 0, 0, 0xBEEF), levelMesh(1, -3, 1, 1)});
    const auto meshes = parseMeshBlock(block, MeshKind::Level);
    ASSERT_EQ(meshes.count(), 3);
    EXPECT_EQ(levelFormSize(*meshes.get(0)), 24u);
    EXPECT_FALSE(meshes.get(0)->PadWord.has_value());
    EXPECT_EQ(levelFormSize(*meshes.get(1)), 32u);
    EXPECT_EQ(meshes.get(1)->PadWord, 0xBEEF);
    EXPECT_EQ(meshes.get(2)->Shades.size(), 3u) << "a normal count of -3 is followed by three shades";
    EXPECT_TRUE(meshes.get(2)->Normals.empty());
    EXPECT_EQ(meshes.get(2)->Offset, 56u);
    EXPECT_EQ(meshes.totalSize(), static_cast<std::int32_t>(block.size()));
}

TEST(MeshBlock, SearchAndGetMissBeyondTheMeshes) {
    const auto meshes = parseMeshBlock(joined({levelMesh(1, 0, 0, 0), levelMesh(1, 0, 0, 0)}), MeshKind::Level);
    EXPECT_EQ(meshes.MeshIndexOf(24), 1);
    EXPECT_EQ(meshes.MeshIndexOf(4), -1) << "not the start of a mesh";
    EXPECT_EQ(meshes.get(2), nullptr);
    EXPECT_EQ(parseMeshBlock({}, MeshKind::Level).MeshIndexOf(0), -1);
}

TEST(MeshBlock, RebuildingGivesTheSameBytesWithZeroPadWords) {
    const auto block = joined({levelMesh(2, 2, 1, 0, 0xFFFF), levelMesh(3, -1, 2, 3, 0x1234)});
    const auto meshes = parseMeshBlock(block, MeshKind::Level);
    Tr4Level level;
    level.MeshWords = bytesToWords(block);
    ASSERT_EQ(rebuildMeshBlock(meshes, level), block.size());
    const auto expected = joined({levelMesh(2, 2, 1, 0), levelMesh(3, -1, 2, 3)});
    EXPECT_EQ(level.MeshWords, bytesToWords(expected));
}

TEST(MeshBlock, AnAppendedMeshLandsAtItsRecordedOffset) {
    auto meshes = parseMeshBlock(levelMesh(2, 0, 0, 0), MeshKind::Level);
    MeshRecord added = *meshes.get(0);
    added.Offset = meshes.nextOffset();
    const auto addedSize = meshes.append(added);
    Tr4Level level;
    const auto length = rebuildMeshBlock(meshes, level);
    EXPECT_EQ(length, 32u + static_cast<std::uint32_t>(addedSize));
    EXPECT_EQ(added.Offset, 32u);
    EXPECT_EQ(parseMeshBlock(wordBytes(level.MeshWords), MeshKind::Level).MeshIndexOf(32), 1);
}

TEST(MeshBlock, ABlockTheMeshesDoNotTileIsKeptAndAddedMeshesFollowIt) {
    // One whole mesh, then six bytes that cannot be a mesh.
    auto block = levelMesh(1, 0, 0, 0);
    block.insert(block.end(), {1, 2, 3, 4, 5, 6});
    auto meshes = parseMeshBlock(block, MeshKind::Level);
    ASSERT_EQ(meshes.count(), 1);
    EXPECT_EQ(meshes.nextOffset(), 30u);

    MeshRecord added = *meshes.get(0);
    added.Offset = meshes.nextOffset();
    meshes.append(added);
    Tr4Level level;
    ASSERT_EQ(rebuildMeshBlock(meshes, level), 30u + 24u);
    const auto rebuilt = wordBytes(level.MeshWords);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), rebuilt.begin())) << "no existing byte moves";
    EXPECT_EQ(meshes.nextOffset(), 54u);
}

TEST(MeshBlock, LibraryPolygonsConvertToLevelFaces) {
    ByteWriter out;
    meshHead(out, 4, 0);
    out.i16(3);
    for (std::uint16_t word : {9, 0, 1, 2, 3, 0xFFFB}) // a quad with texture -5
        out.u16(word);
    out.u8(5); // attribute byte
    out.u8(0xEE);
    for (std::uint16_t word : {7, 0x0011}) // another shape: no vertex indices, 6 bytes in all
        out.u16(word);
    out.u8(0);
    out.u8(0);
    for (std::uint16_t word : {8, 3, 2, 1, 0x0803})
        out.u16(word);
    out.u8(1);
    out.u8(0);
    if (out.size() % 4 != 0)
        out.u16(0);
    const auto block = out.take();
    const auto meshes = parseMeshBlock(block, MeshKind::Library);
    ASSERT_EQ(meshes.count(), 1);
    const MeshRecord& library = *meshes.get(0);
    ASSERT_EQ(library.Polygons.size(), 3u);
    EXPECT_EQ(library.Polygons[1].Texture, 0x0011);

    const auto converted = convertToLevelForm(library);
    ASSERT_EQ(converted.NumRectangles, 1);
    ASSERT_EQ(converted.NumTriangles, 1);
    EXPECT_EQ(converted.Rectangles[0], (MeshRectangle{{0, 1, 2, 3}, 0xFFFB, 5}));
    EXPECT_EQ(converted.Triangles[0], (MeshTriangle{{3, 2, 1}, 0x0803, 1}));
    EXPECT_EQ(converted.Vertices, library.Vertices);

    const std::vector<std::uint16_t> replacements = {40, 41, 42};
    const auto remapped = convertToLevelForm(library, replacements);
    EXPECT_EQ(remapped.Rectangles[0].Texture, 40);
    EXPECT_EQ(remapped.Triangles[0].Texture, 42);
    EXPECT_EQ(levelFormSize(remapped), 14u + 24 + 4 + 12 + 10 + 0);
}

TEST(MeshBlock, AMeshCutShortByTheEndOfALibraryBlockIsDropped) {
    auto block = levelMesh(3, 0, 0, 0);
    block.erase(block.end() - 8, block.end());
    EXPECT_EQ(parseMeshBlock(block, MeshKind::Library).count(), 0);
}
