#pragma once

#include "level/level_document.h"
#include "merge/merge_plan.h"
#include "wad/wad_library.h"

#include <cstdint>

namespace veltrane::merge {

// Puts the level-form copy of a planned mesh, each face taking its planned object texture, at the end
// of the target's mesh list, and names it with a new MeshPointers entry. Returns that entry's index.
std::uint32_t TransferMesh(level::LevelDocument& target, const PlannedMesh& mesh);

// Appends a planned library static mesh with its mesh.
void MergeStaticMesh(level::LevelDocument& target, const wad::WadLibrary& library, const PlannedStatic& planned);

// Appends a planned library moveable with its meshes, mesh tree and animations.
void MergeMoveable(level::LevelDocument& target, const wad::WadLibrary& library, const PlannedMoveable& planned);

} // namespace veltrane::merge
