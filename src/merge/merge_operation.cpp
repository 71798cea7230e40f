#include "merge/merge_operation.h"

#include "level/document_step.h"
#include "merge/object_merge.h"
#include "merge/texture_placement.h"

#include <new>

namespace veltrane::merge {

MergeStatistics applyMerge(level::LevelDocument& target, const wad::LibraryDocument& source, const MergePlan& plan) {
    MergeStatistics statistics;
    {
        // The objects go into the target's tables and mesh list while the new pages are drawn: the two
        // share nothing.
        io::TaskPool pool(io::hardwareThreads());
        pool.submit([&] {
            for (const PlannedStatic& planned : plan.statics)
                MergeStaticMesh(target, source.library, planned);
            for (const PlannedMoveable& planned : plan.moveables)
                MergeMoveable(target, source.library, planned);
        });
        statistics.pagesAdded = PlaceTexturePieces(plan.pieces, plan.layout, source.pages, target.level, pool);
        pool.wait();
    }
    statistics.piecesAdded = PieceCount(plan.pieces);
    statistics.objectTextureCount = static_cast<std::int32_t>(target.level.ObjectTextures.size());
    statistics.meshDataSize = target.meshes.totalSize();
    statistics.skipped = plan.skipped;
    return statistics;
}

io::Outcome<MergeStatistics> mergeObjects(level::LevelDocument& target, const wad::LibraryDocument& source,
                                          const MergeTicks& ticks, ConflictPolicy policy) {
    using Result = io::Outcome<MergeStatistics>;
    try {
        const auto conflicts =
            policy == ConflictPolicy::Keep ? std::vector<IdConflict>() : findConflicts(target, source, ticks);
        auto plan = planMerge(target, source,
                              policy == ConflictPolicy::Skip ? withoutConflicts(ticks, source.library, conflicts) : ticks);
        if (!plan)
            return Result::failure(plan.error());
        level::DocumentMark mark = level::markDocument(target);
        try {
            if (policy == ConflictPolicy::Replace)
                removeConflicting(target.level, conflicts);
            return applyMerge(target, source, plan.value());
        } catch (const std::bad_alloc&) {
            level::rollBack(target, mark);
            throw;
        }
    } catch (const std::bad_alloc&) {
        return Result::failure("not enough memory to merge the ticked objects; the target is as it was");
    }
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
