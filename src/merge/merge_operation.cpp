#include "merge/merge_operation.h"

#include "merge/merge_checks.h"
#include "merge/piece_layout.h"
#include "merge/texture_pieces.h"
#include "merge/texture_placement.h"

#include <algorithm>

namespace veltrane::merge {
namespace {

std::vector<std::int32_t> ascending(std::vector<std::int32_t> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

// Ticks of a kind the target has no object of are reported and dropped.
template <class Records>
void skipAll(std::vector<std::int32_t>& indices, const Records& records, ObjectKind kind,
             std::vector<SkippedObject>& skipped) {
    for (std::int32_t index : indices)
        skipped.push_back({kind, index, records[static_cast<std::size_t>(index)].ObjectId});
    indices.clear();
}

io::Status allExist(const std::vector<std::int32_t>& indices, std::size_t size, const char* what) {
    for (std::int32_t index : indices)
        if (auto exists = checkIndex(index, size, what); !exists)
            return exists;
    return io::success();
}

} // namespace

io::Outcome<MergeStatistics> mergeObjects(MergeTarget target, const MergeSource& source, const MergeTicks& ticks) {
    using Result = io::Outcome<MergeStatistics>;
    const auto refused = [](const std::string& cause) { return Result::failure("merge refused: " + cause); };

    std::vector<std::int32_t> statics = ascending(ticks.statics);
    std::vector<std::int32_t> moveables = ascending(ticks.moveables);
    for (const auto& status : {allExist(statics, source.library.StaticMeshes.size(), "static mesh"),
                               allExist(moveables, source.library.Moveables.size(), "moveable")})
        if (!status)
            return refused(status.error());

    MergeStatistics statistics;
    if (target.level.StaticMeshes.empty())
        skipAll(statics, source.library.StaticMeshes, ObjectKind::StaticMesh, statistics.skipped);
    if (target.level.Moveables.empty())
        skipAll(moveables, source.library.Moveables, ObjectKind::Moveable, statistics.skipped);

    // Check everything before anything changes. Collecting the pieces here numbers them exactly as the
    // merge below meets them, so its look-ups all find these pieces and the layout gives the pages added.
    Lista_Texturas pieces = BeginTextureMerge(target.level);
    TableGrowth growth;
    const auto checked = [&](io::Outcome<ObjectNeeds> needs) -> io::Status {
        if (!needs)
            return io::Status::failure(needs.error());
        growth += needs->growth;
        for (const level::MeshRecord* mesh : needs->meshes)
            for (const level::MeshPolygon& polygon : mesh->Polygons)
                RemapFaceTexture(pieces, source.library, polygon);
        return io::success();
    };
    for (std::int32_t index : statics)
        if (auto status = checked(checkStaticMesh(source, index)); !status)
            return refused(status.error());
    for (std::int32_t index : moveables)
        if (auto status = checked(checkMoveable(source, index)); !status)
            return refused(status.error());
    const std::int32_t pagesAdded = layOutTexturePieces(pieces).pagesAdded;
    if (auto status = checkTableLimits(target.level, growth, PieceCount(pieces)); !status)
        return refused(status.error());
    if (auto status = checkNewPages(target.level, pagesAdded); !status)
        return refused(status.error());

    for (std::int32_t index : statics)
        MergeStaticMesh(target, source, pieces, index);
    for (std::int32_t index : moveables)
        MergeMoveable(target, source, pieces, index);
    statistics.pagesAdded = PlaceTexturePieces(pieces, source.pages, target.level);
    statistics.piecesAdded = PieceCount(pieces);
    statistics.objectTextureCount = static_cast<std::int32_t>(target.level.ObjectTextures.size());
    statistics.meshDataSize = target.meshes.totalSize();
    return statistics;
}

std::vector<std::string> statisticsLines(const MergeStatistics& statistics) {
    return {
        "Total pages added:" + std::to_string(statistics.pagesAdded),
        "Amount of pieces textures added:" + std::to_string(statistics.piecesAdded),
        "Total of pieces textures:" + std::to_string(statistics.objectTextureCount),
        "Mesh data size (Bytes):" + std::to_string(statistics.meshDataSize),
    };
}

std::string skippedMessage(const SkippedObject& skipped) {
    const bool isStatic = skipped.kind == ObjectKind::StaticMesh;
    return std::string("source ") + (isStatic ? "static mesh " : "moveable ") + std::to_string(skipped.index) +
           " (ObjectId " + std::to_string(skipped.objectId) + ") was not merged: the target has no " +
           (isStatic ? "static mesh" : "moveable");
}

} // namespace veltrane::merge
