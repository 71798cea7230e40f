#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "wad/wad_library.h"

#include <cstdint>
#include <span>
#include <vector>

namespace veltrane::builders {

// Replaces the level's MeshWords and MeshPointers by the given level-form meshes, laid out by the
// level's mesh-block writer, one pointer for each mesh. Returns the pointers.
std::vector<std::uint32_t> setLevelMeshes(level::Tr4Level& level, std::span<const level::MeshRecord> meshes);
// The same for a library, in library form.
void setLibraryMeshes(wad::WadLibrary& library, std::span<const level::MeshRecord> meshes);

// Appends one mesh after the existing ones and a pointer to it; returns the pointer's index.
std::size_t appendMesh(level::Tr4Level& level, const level::MeshRecord& mesh);
std::size_t appendMesh(wad::WadLibrary& library, const level::MeshRecord& mesh);

} // namespace veltrane::builders
