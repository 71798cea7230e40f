#pragma once

#include "io/outcome.h"
#include "merge/id_conflicts.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace veltrane::cli {

struct MergeRequest {
    std::filesystem::path target; // .tr4
    std::filesystem::path source; // .wad
    std::filesystem::path output; // .tr4 written
    std::vector<std::uint32_t> staticIds;   // ticks every library static mesh with this ObjectId
    std::vector<std::uint32_t> moveableIds; // ticks every library moveable with this ObjectId
    merge::ConflictPolicy policy = merge::ConflictPolicy::Keep;
    bool inPlace = false; // the output may be the target itself
};

struct MergeReport {
    std::vector<std::string> statistics; // the four lines of the window's memo
    std::vector<std::string> notes;      // ticked objects not merged, or merged in place of the level's
    std::vector<std::string> warnings;   // IDs the level now holds twice
};

// Loads the target and the source, runs one merge of the ticked objects as the Merge command does,
// rebuilds the mesh block and writes the output as Save As does. On any failure nothing is written.
// An output that is the source, or the target without `inPlace`, is refused before anything is read;
// "the same file" is any path or link to it.
io::Outcome<MergeReport> runMerge(const MergeRequest& request);

} // namespace veltrane::cli
