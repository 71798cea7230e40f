#include "cli/merge_command.h"

#include "level/level_document.h"
#include "merge/merge_operation.h"
#include "wad/library_document.h"

namespace veltrane::cli {
namespace {

// Refuses an output that would overwrite the source, or the target unless asked to.
io::Status checkOutput(const MergeRequest& request) {
    const auto same = [&](const std::filesystem::path& input) {
        std::error_code unknown; // an output that does not exist yet is no input
        return std::filesystem::equivalent(request.output, input, unknown);
    };
    const std::string refusal = "refusing to write " + request.output.filename().string() + ": it is the ";
    if (same(request.source))
        return io::Status::failure(refusal + "source library " + request.source.filename().string());
    if (!request.inPlace && same(request.target))
        return io::Status::failure(refusal + "target level " + request.target.filename().string() +
                                   " (--in-place replaces it)");
    return io::success();
}

// "moveable ID #31 is already in the level; both are kept", or what the policy does instead.
std::string conflictMessage(const merge::IdConflict& conflict, merge::ConflictPolicy policy) {
    const char* outcome = policy == merge::ConflictPolicy::Keep      ? "both are kept"
                          : policy == merge::ConflictPolicy::Replace ? "the library's replaces it"
                                                                     : "the library's is left out";
    return std::string(conflict.kind == merge::ObjectKind::StaticMesh ? "static mesh" : "moveable") + " ID #" +
           std::to_string(conflict.objectId) + " is already in the level; " + outcome;
}

// The indices of every record whose ObjectId is one of `ids`; an ID that matches nothing is an error.
template <class Records>
io::Outcome<std::vector<std::int32_t>> tick(const Records& records, const std::vector<std::uint32_t>& ids,
                                            const char* what, const std::filesystem::path& source) {
    std::vector<std::int32_t> ticked;
    for (std::uint32_t id : ids) {
        bool found = false;
        for (std::size_t i = 0; i < records.size(); ++i)
            if (records[i].ObjectId == id) {
                ticked.push_back(static_cast<std::int32_t>(i));
                found = true;
            }
        if (!found)
            return io::Outcome<std::vector<std::int32_t>>::failure(
                source.filename().string() + ": no " + what + " has ObjectId " + std::to_string(id));
    }
    return ticked;
}

} // namespace

io::Outcome<MergeReport> runMerge(const MergeRequest& request) {
    using Result = io::Outcome<MergeReport>;
    if (auto output = checkOutput(request); !output)
        return Result::failure(output.error());
    auto target = level::openLevelDocument(request.target);
    if (!target)
        return Result::failure(target.error());
    const auto source = wad::openLibraryDocument(request.source);
    if (!source)
        return Result::failure(source.error());

    merge::MergeTicks ticks;
    auto statics = tick(source->library.StaticMeshes, request.staticIds, "static mesh", request.source);
    if (!statics)
        return Result::failure(statics.error());
    auto moveables = tick(source->library.Moveables, request.moveableIds, "moveable", request.source);
    if (!moveables)
        return Result::failure(moveables.error());
    ticks.statics = std::move(statics.value());
    ticks.moveables = std::move(moveables.value());

    MergeReport report;
    // Keeping both is the default and may well be a mistake, so only it warns.
    for (const auto& conflict : merge::findConflicts(target.value(), source.value(), ticks))
        (request.policy == merge::ConflictPolicy::Keep ? report.warnings : report.notes)
            .push_back(conflictMessage(conflict, request.policy));
    auto statistics = merge::mergeObjects(target.value(), source.value(), ticks, request.policy);
    if (!statistics)
        return Result::failure(statistics.error());
    if (auto written = level::saveLevelDocument(request.output, target.value()); !written)
        return Result::failure(written.error());

    report.statistics = merge::statisticsLines(statistics.value());
    for (const auto& skipped : statistics->skipped)
        report.notes.push_back(merge::skippedMessage(skipped));
    return report;
}

} // namespace veltrane::cli
