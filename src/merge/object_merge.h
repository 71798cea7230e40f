#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "merge/texture_pieces.h"
#include "wad/wad_library.h"

#include <cstdint>

namespace veltrane::merge {

// What a merge grows: the target level and its mesh list, from which the save rebuilds MeshWords.
struct MergeTarget {
    level::Tr4Level& level;
    level::Lista_Mesh& meshes;
};

// What a merge reads and never changes: the library, its parsed meshes and its source page set.
struct MergeSource {
    const wad::WadLibrary& library;
    const level::Lista_Mesh& meshes;
    const level::Tr4Level& pages;
};

// Converts the library mesh that starts at byte `meshPointer` of its block into the target: each face
// takes the object-texture index of its piece, the copy goes at the end of the target's mesh list and
// a new MeshPointers entry names it. Returns that entry's index. The pointer must match a parsed mesh.
std::uint32_t TransferMesh(MergeTarget target, const MergeSource& source, Lista_Texturas& pieces,
                           std::uint32_t meshPointer);

// Appends library static mesh `index` with its mesh. It must have passed CheckStaticMesh.
void MergeStaticMesh(MergeTarget target, const MergeSource& source, Lista_Texturas& pieces, std::int32_t index);

// Appends library moveable `index` with its meshes, mesh tree and animations. It must have passed
// CheckMoveable.
void MergeMoveable(MergeTarget target, const MergeSource& source, Lista_Texturas& pieces, std::int32_t index);

} // namespace veltrane::merge
