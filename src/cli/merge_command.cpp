#include "cli/merge_command.h"

#include "io/file_io.h"
#include "level/level_file.h"
#include "level/mesh_block.h"
#include "merge/merge_operation.h"
#include "merge/source_set.h"
#include "wad/wad_library.h"

namespace veltrane::cli {
namespace {

template <class T, class Decode>
io::Outcome<T> load(const std::filesystem::path& path, Decode decode) {
    auto bytes = io::readWholeFile(path);
    if (!bytes)
        return io::Outcome<T>::failure(bytes.error());
    auto decoded = decode(bytes.value());
    if (!decoded)
        return io::Outcome<T>::failure(path.string() + ": " + decoded.error());
    return std::move(decoded.value());
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
                source.string() + ": no " + what + " has ObjectId " + std::to_string(id));
    }
    return ticked;
}

} // namespace

io::Outcome<MergeReport> runMerge(const MergeRequest& request) {
    using Result = io::Outcome<MergeReport>;
    auto target = load<level::Tr4Level>(request.target, [](auto bytes) { return level::decodeLevel(bytes); });
    if (!target)
        return Result::failure(target.error());
    auto library = load<wad::WadLibrary>(request.source, wad::decodeLibrary);
    if (!library)
        return Result::failure(library.error());

    merge::MergeTicks ticks;
    auto statics = tick(library->StaticMeshes, request.staticIds, "static mesh", request.source);
    if (!statics)
        return Result::failure(statics.error());
    auto moveables = tick(library->Moveables, request.moveableIds, "moveable", request.source);
    if (!moveables)
        return Result::failure(moveables.error());
    ticks.statics = std::move(statics.value());
    ticks.moveables = std::move(moveables.value());

    level::Lista_Mesh targetMeshes = level::parseMeshBlock(level::wordBytes(target->MeshWords), level::MeshKind::Level);
    const merge::SourceSet source = merge::openSourceSet(std::move(library.value()));
    auto statistics = merge::mergeObjects({target.value(), targetMeshes}, source.view(), ticks);
    if (!statistics)
        return Result::failure(statistics.error());

    level::rebuildMeshBlock(targetMeshes, target.value());
    if (auto written = level::writeLevel(request.output, target.value()); !written)
        return Result::failure(written.error());

    MergeReport report;
    report.statistics = merge::statisticsLines(statistics.value());
    for (const auto& skipped : statistics->skipped)
        report.notes.push_back(merge::skippedMessage(skipped));
    return report;
}

} // namespace veltrane::cli
