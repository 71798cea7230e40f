#include "builders/mesh_blocks.h"

#include "io/byte_writer.h"
#include "level/mesh_block.h"

#include <algorithm>

namespace veltrane::builders {
namespace {

using level::MeshKind;
using level::MeshRecord;

std::uint32_t polygonBytes(const level::MeshPolygon& polygon) {
    if (polygon.Shape == level::kShapeTriangle)
        return 12;
    if (polygon.Shape == level::kShapeQuad)
        return 14;
    return 6;
}

void writeLibraryMesh(io::ByteWriter& out, const MeshRecord& mesh) {
    const std::size_t start = out.size();
    level::writeMeshStart(out, mesh);
    out.i16(mesh.NumPolygons);
    if (mesh.NumPolygons > 0) {
        for (const auto& polygon : mesh.Polygons) {
            out.u16(polygon.Shape);
            const int corners = polygon.Shape == level::kShapeTriangle ? 3 : polygon.Shape == level::kShapeQuad ? 4 : 0;
            for (int corner = 0; corner < corners; ++corner)
                out.u16(polygon.Vertices[static_cast<std::size_t>(corner)]);
            out.u16(polygon.Texture);
            out.u8(polygon.Attribute);
            out.u8(polygon.Further);
        }
    }
    if ((out.size() - start) % 4 != 0)
        out.u16(mesh.PadWord.value_or(0));
}

// The level-form block of `meshes`, written by the core, with each mesh's offset in it.
std::vector<std::uint8_t> levelBlock(std::span<const MeshRecord> meshes, std::vector<std::uint32_t>& offsets) {
    level::Lista_Mesh list(MeshKind::Level);
    for (MeshRecord mesh : meshes) {
        mesh.Offset = list.nextOffset();
        offsets.push_back(mesh.Offset);
        list.append(std::move(mesh));
    }
    return level::serialiseMeshBlock(list);
}

} // namespace

std::uint32_t unpaddedMeshBytes(const MeshRecord& mesh, MeshKind kind) {
    std::uint32_t bytes = 14 + 6u * static_cast<std::uint32_t>(std::max<int>(mesh.NumVertices, 0));
    if (mesh.NumNormals > 0)
        bytes += 6u * static_cast<std::uint32_t>(mesh.NumNormals);
    else
        bytes += 2u * static_cast<std::uint32_t>(-static_cast<int>(mesh.NumNormals));
    if (kind == MeshKind::Level) {
        bytes += 4 + 12u * static_cast<std::uint32_t>(std::max<int>(mesh.NumRectangles, 0)) +
                 10u * static_cast<std::uint32_t>(std::max<int>(mesh.NumTriangles, 0));
    } else {
        bytes += 2;
        if (mesh.NumPolygons > 0)
            for (const auto& polygon : mesh.Polygons)
                bytes += polygonBytes(polygon);
    }
    return bytes;
}

LibraryMeshBlock writeLibraryMeshes(std::span<const MeshRecord> meshes) {
    io::ByteWriter out;
    LibraryMeshBlock block;
    for (const auto& mesh : meshes) {
        block.Pointers.push_back(static_cast<std::uint32_t>(out.size()));
        writeLibraryMesh(out, mesh);
    }
    block.Words = level::bytesToWords(out.data());
    return block;
}

std::vector<std::uint32_t> setLevelMeshes(level::Tr4Level& level, std::span<const MeshRecord> meshes) {
    std::vector<std::uint32_t> offsets;
    level.MeshWords = level::bytesToWords(levelBlock(meshes, offsets));
    level.MeshPointers = offsets;
    return offsets;
}

void setLibraryMeshes(wad::WadLibrary& library, std::span<const MeshRecord> meshes) {
    auto block = writeLibraryMeshes(meshes);
    library.MeshWords = std::move(block.Words);
    library.MeshPointers = std::move(block.Pointers);
}

std::size_t appendMesh(level::Tr4Level& level, const MeshRecord& mesh) {
    std::vector<std::uint32_t> offsets;
    const auto words = level::bytesToWords(levelBlock({&mesh, 1}, offsets));
    level.MeshPointers.push_back(static_cast<std::uint32_t>(level.MeshWords.size() * 2));
    level.MeshWords.insert(level.MeshWords.end(), words.begin(), words.end());
    return level.MeshPointers.size() - 1;
}

std::size_t appendMesh(wad::WadLibrary& library, const MeshRecord& mesh) {
    const auto block = writeLibraryMeshes({&mesh, 1});
    library.MeshPointers.push_back(static_cast<std::uint32_t>(library.MeshWords.size() * 2));
    library.MeshWords.insert(library.MeshWords.end(), block.Words.begin(), block.Words.end());
    return library.MeshPointers.size() - 1;
}

} // namespace veltrane::builders
