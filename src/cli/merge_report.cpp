#include "cli/merge_report.h"

#include "cli/json_text.h"

namespace veltrane::cli {
namespace {

const char* kindName(merge::ObjectKind kind) {
    return kind == merge::ObjectKind::StaticMesh ? "static mesh" : "moveable";
}

const char* outcome(merge::ConflictPolicy policy) {
    return policy == merge::ConflictPolicy::Keep      ? "both are kept"
           : policy == merge::ConflictPolicy::Replace ? "the library's replaces it"
                                                      : "the library's is left out";
}

std::string conflictMessage(const merge::IdConflict& conflict, merge::ConflictPolicy policy) {
    return std::string(kindName(conflict.kind)) + " ID #" + std::to_string(conflict.objectId) +
           " is already in the level; " + outcome(policy);
}

} // namespace

const char* policyName(merge::ConflictPolicy policy) {
    return policy == merge::ConflictPolicy::Keep      ? "keep"
           : policy == merge::ConflictPolicy::Replace ? "replace"
                                                      : "skip";
}

std::vector<std::string> mergeWarnings(const MergeReport& report) {
    std::vector<std::string> warnings;
    if (report.policy == merge::ConflictPolicy::Keep)
        for (const auto& conflict : report.conflicts)
            warnings.push_back(conflictMessage(conflict, report.policy));
    return warnings;
}

std::vector<std::string> mergeNotes(const MergeReport& report) {
    std::vector<std::string> notes;
    if (report.policy != merge::ConflictPolicy::Keep)
        for (const auto& conflict : report.conflicts)
            notes.push_back(conflictMessage(conflict, report.policy));
    for (const auto& skipped : report.statistics.skipped)
        notes.push_back(merge::skippedMessage(skipped));
    return notes;
}

nlohmann::ordered_json mergeJson(const MergeReport& report, const std::filesystem::path& output) {
    auto conflicts = nlohmann::ordered_json::array();
    for (const auto& conflict : report.conflicts)
        conflicts.push_back({{"kind", kindName(conflict.kind)},
                             {"ObjectId", conflict.objectId},
                             {"policy", policyName(report.policy)}});
    auto skipped = nlohmann::ordered_json::array();
    for (const auto& object : report.statistics.skipped)
        skipped.push_back({{"kind", kindName(object.kind)}, {"index", object.index}, {"ObjectId", object.objectId}});
    const auto& statistics = report.statistics;
    return {{"jsonVersion", kJsonVersion},
            {"output", utf8Text(output)},
            {"ticked", {{"statics", report.ticks.statics}, {"moveables", report.ticks.moveables}}},
            {"statistics",
             {{"pagesAdded", statistics.pagesAdded},
              {"piecesAdded", statistics.piecesAdded},
              {"objectTextureCount", statistics.objectTextureCount},
              {"meshDataSize", statistics.meshDataSize}}},
            {"conflicts", conflicts},
            {"skipped", skipped},
            {"warnings", mergeWarnings(report)},
            {"notes", mergeNotes(report)}};
}

} // namespace veltrane::cli
