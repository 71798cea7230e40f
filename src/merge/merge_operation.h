#pragma once

#include "io/outcome.h"
#include "level/level_document.h"
#include "merge/id_conflicts.h"
#include "merge/merge_plan.h"
#include "wad/library_document.h"

#include <cstdint>
#include <string>
#include <vector>

namespace veltrane::merge {

struct MergeStatistics {
    std::int32_t pagesAdded = 0;         // "Total pages added:"
    std::int32_t piecesAdded = 0;        // "Amount of pieces textures added:"
    std::int32_t objectTextureCount = 0; // "Total of pieces textures:"
    std::int32_t meshDataSize = 0;       // "Mesh data size (Bytes):"
    std::vector<SkippedObject> skipped;
};

// Grows the target by what the plan names: its statics, then its moveables, then their texture
// pieces placed on new pages. The plan must have been made for this target and source as they are.
MergeStatistics applyMerge(level::LevelDocument& target, const wad::LibraryDocument& source, const MergePlan& plan);

// One merge operation, as the Merge command and the command line run it: planned, and applied when the
// plan holds. A refused merge leaves the target and its mesh list exactly as they were. The target's
// preview is not rebuilt here: the window rebuilds it from the grown target afterwards.
// Ticked objects whose ID the target already has (see findConflicts) are merged beside the target's
// (Keep), merged in place of them (Replace: the target's leave their table once the plan holds), or
// left out before planning (Skip).
io::Outcome<MergeStatistics> mergeObjects(level::LevelDocument& target, const wad::LibraryDocument& source,
                                          const MergeTicks& ticks, ConflictPolicy policy = ConflictPolicy::Keep);

// The four statistics lines as the window's memo shows them: "Total pages added:1", ...
std::vector<std::string> statisticsLines(const MergeStatistics& statistics);

// "source moveable 3 (ObjectId 12) was not merged: the target has no moveable"
std::string skippedMessage(const SkippedObject& skipped);

} // namespace veltrane::merge
