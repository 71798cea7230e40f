#pragma once

#include "level/level_document.h"
#include "merge/merge_plan.h"
#include "wad/wad_library.h"

#include <cstdint>
#include <vector>

namespace veltrane::merge {

// What a merge does with a ticked object whose ObjectId an object of the same kind in the target
// already has: keep both, replace the target's, or leave the library's out.
enum class ConflictPolicy { Keep, Replace, Skip };

struct IdConflict {
    ObjectKind kind;
    std::uint32_t objectId;
    bool operator==(const IdConflict&) const = default;
};

// The IDs that ticked objects share with objects of the same kind in the target, each once: statics
// first, then moveables, each in ascending order. Only a kind that would merge counts: ticks of a kind
// the target has no object of are skipped by the merge anyway. Ticks past the library's tables are left
// to the plan to refuse.
std::vector<IdConflict> findConflicts(const level::LevelDocument& target, const wad::LibraryDocument& source,
                                      const MergeTicks& ticks);

// The ticks without those whose ObjectId is one of `conflicts` for their kind.
MergeTicks withoutConflicts(const MergeTicks& ticks, const wad::WadLibrary& library,
                            const std::vector<IdConflict>& conflicts);

// Takes the target's objects whose ObjectId is one of `conflicts` out of its moveable and static tables.
// What only they used (meshes, animations, pages) stays in the file, unused.
void removeConflicting(level::Tr4Level& target, const std::vector<IdConflict>& conflicts);

} // namespace veltrane::merge
