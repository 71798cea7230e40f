#pragma once

#include "level/level_document.h"
#include "merge/animation_merge.h"
#include "merge/merge_plan.h"
#include "wad/wad_library.h"

#include <cstdint>
#include <vector>

namespace veltrane::merge {

// Puts the level-form copy of a planned mesh, each face taking its planned object texture, at the end
// of the target's mesh list, and names it with a new MeshPointers entry. Returns that entry's index.
std::uint32_t TransferMesh(level::LevelDocument& target, const PlannedMesh& mesh);

// Transfers the meshes of every planned static, then of every planned moveable, each in plan order.
// Returns the MeshPointers index of each object's first mesh: the statics' first, then the moveables'.
std::vector<std::uint32_t> TransferMeshes(level::LevelDocument& target, const MergePlan& plan);

// Merges the animations of every planned moveable (see MergeAnimations), in plan order.
std::vector<MergedAnimations> MergeAllAnimations(level::Tr4Level& target, const wad::WadLibrary& library,
                                                 const MergePlan& plan);

// Appends a planned library static mesh, its mesh already transferred to `meshPointer`.
void MergeStaticMesh(level::LevelDocument& target, const wad::WadLibrary& library, const PlannedStatic& planned,
                     std::uint32_t meshPointer);

// Appends a planned library moveable with its mesh tree, its meshes already transferred from
// `startingMesh` on and its animations merged.
void MergeMoveable(level::LevelDocument& target, const wad::WadLibrary& library, const PlannedMoveable& planned,
                   std::uint32_t startingMesh, const MergedAnimations& animations);

} // namespace veltrane::merge
