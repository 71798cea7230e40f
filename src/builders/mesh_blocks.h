#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "wad/wad_library.h"

#include <cstdint>
#include <span>
#include <vector>

namespace veltrane::builders {

// The bytes a mesh takes in a block of the given form before its pad word: a library mesh counts
// its polygons (triangle 12 bytes, quad 14, any other shape 6), a level mesh its rectangles and
// triangles.
std::uint32_t unpaddedMeshBytes(const level::MeshRecord& mesh, level::MeshKind kind);

// A library-form mesh block and the byte offset of each of its meshes.
struct LibraryMeshBlock {
    std::vector<std::uint16_t> Words;
    std::vector<std::uint32_t> Pointers;
};

// Writes library-form meshes back to back from byte 0: centre, radius, vertices, normals or shades,
// then the polygons, and a pad word (the record's own, else zero) when the mesh's bytes are not a
// multiple of 4. Counts are written as the records hold them.
LibraryMeshBlock writeLibraryMeshes(std::span<const level::MeshRecord> meshes);

// Replaces the level's MeshWords and MeshPointers by the given level-form meshes, laid out by the
// core's own mesh-block writer, one pointer for each mesh. Returns the pointers.
std::vector<std::uint32_t> setLevelMeshes(level::Tr4Level& level, std::span<const level::MeshRecord> meshes);
// The same for a library, in library form.
void setLibraryMeshes(wad::WadLibrary& library, std::span<const level::MeshRecord> meshes);

// Appends one mesh after the existing ones and a pointer to it; returns the pointer's index.
std::size_t appendMesh(level::Tr4Level& level, const level::MeshRecord& mesh);
std::size_t appendMesh(wad::WadLibrary& library, const level::MeshRecord& mesh);

} // namespace veltrane::builders
