#include "builders/mesh_blocks.h"

#include "level/mesh_block.h"

namespace veltrane::builders {
namespace {

using level::MeshKind;
using level::MeshRecord;

// The level-form block of `meshes` with each mesh's offset in it.
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

std::vector<std::uint32_t> setLevelMeshes(level::Tr4Level& level, std::span<const MeshRecord> meshes) {
    std::vector<std::uint32_t> offsets;
    level.MeshWords = level::bytesToWords(levelBlock(meshes, offsets));
    level.MeshPointers = offsets;
    return offsets;
}

void setLibraryMeshes(wad::WadLibrary& library, std::span<const MeshRecord> meshes) {
    auto block = level::serialiseLibraryMeshes(meshes);
    library.MeshWords = std::move(block.words);
    library.MeshPointers = std::move(block.pointers);
}

std::size_t appendMesh(level::Tr4Level& level, const MeshRecord& mesh) {
    std::vector<std::uint32_t> offsets;
    const auto words = level::bytesToWords(levelBlock({&mesh, 1}, offsets));
    level.MeshPointers.push_back(static_cast<std::uint32_t>(level.MeshWords.size() * 2));
    level.MeshWords.insert(level.MeshWords.end(), words.begin(), words.end());
    return level.MeshPointers.size() - 1;
}

std::size_t appendMesh(wad::WadLibrary& library, const MeshRecord& mesh) {
    const auto block = level::serialiseLibraryMeshes({&mesh, 1});
    library.MeshPointers.push_back(static_cast<std::uint32_t>(library.MeshWords.size() * 2));
    library.MeshWords.insert(library.MeshWords.end(), block.words.begin(), block.words.end());
    return library.MeshPointers.size() - 1;
}

} // namespace veltrane::builders
