#include "cli/merge_command.h"

#include "level/level_document.h"
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

    MergeReport report;
    report.policy = request.policy;
    const auto objectIds = [](const auto& records) {
        std::vector<std::uint32_t> ids;
        for (const auto& record : records)
            ids.push_back(record.ObjectId);
        return ids;
    };
    auto statics = selectObjects(objectIds(source->library.StaticMeshes), request.statics, "static mesh",
                                 request.source);
    if (!statics)
        return Result::failure(statics.error());
    auto moveables =
        selectObjects(objectIds(source->library.Moveables), request.moveables, "moveable", request.source);
    if (!moveables)
        return Result::failure(moveables.error());
    report.ticks = {std::move(statics.value()), std::move(moveables.value())};
    report.conflicts = merge::findConflicts(target.value(), source.value(), report.ticks);
    auto statistics = merge::mergeObjects(target.value(), source.value(), report.ticks, request.policy);
    if (!statistics)
        return Result::failure(statistics.error());
    if (auto written = level::saveLevelDocument(request.output, target.value()); !written)
        return Result::failure(written.error());

    report.statistics = std::move(statistics.value());
    return report;
}

} // namespace veltrane::cli
