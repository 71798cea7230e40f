#include "cli/merge_command.h"

#include "level/level_document.h"
#include "merge/merge_operation.h"
#include "wad/library_document.h"

namespace veltrane::cli {
namespace {

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

    auto statistics = merge::mergeObjects(target.value(), source.value(), ticks);
    if (!statistics)
        return Result::failure(statistics.error());
    if (auto written = level::saveLevelDocument(request.output, target.value()); !written)
        return Result::failure(written.error());

    MergeReport report;
    report.statistics = merge::statisticsLines(statistics.value());
    for (const auto& skipped : statistics->skipped)
        report.notes.push_back(merge::skippedMessage(skipped));
    return report;
}

} // namespace veltrane::cli
