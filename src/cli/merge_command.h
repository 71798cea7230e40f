#pragma once

#include "cli/id_selection.h"
#include "io/outcome.h"
#include "merge/id_conflicts.h"
#include "merge/merge_operation.h"

#include <filesystem>
#include <vector>

namespace veltrane::cli {

struct MergeRequest {
    std::filesystem::path target; // .tr4
    std::filesystem::path source; // .wad
    std::filesystem::path output; // .tr4 written
    ObjectSelection statics;      // which library static meshes are ticked
    ObjectSelection moveables;    // which library moveables are ticked
    merge::ConflictPolicy policy = merge::ConflictPolicy::Keep;
    bool inPlace = false; // the output may be the target itself
};

struct MergeReport {
    merge::MergeTicks ticks;                  // indices into the library's tables
    std::vector<merge::IdConflict> conflicts; // ticked IDs the level had, handled as the request's policy says
    merge::ConflictPolicy policy = merge::ConflictPolicy::Keep;
    merge::MergeStatistics statistics;
};

// Loads the target and the source, runs one merge of the ticked objects as the Merge command does,
// rebuilds the mesh block and writes the output as Save As does. On any failure nothing is written.
// An output that is the source, or the target without `inPlace`, is refused before anything is read;
// "the same file" is any path or link to it.
io::Outcome<MergeReport> runMerge(const MergeRequest& request);

} // namespace veltrane::cli
