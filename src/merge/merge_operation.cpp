#include "merge/merge_operation.h"

#include "level/document_step.h"
#include "merge/object_merge.h"
#include "merge/texture_placement.h"

#include <new>

namespace veltrane::merge {

MergeStatistics applyMerge(level::LevelDocument& target, const wad::LibraryDocument& source, const MergePlan& plan) {
    MergeStatistics statistics;
    {
        // The animations, the meshes and the new pages go into the target side by side on the pool's
        // threads: the three share nothing. The objects that name them follow.
        std::vector<std::uint32_t> firstMeshes;
        std::vector<MergedAnimations> animations;
        io::TaskPool pool(io::hardwareThreads());
        pool.submit([&] { animations = MergeAllAnimations(target.level, source.library, plan); });
        pool.submit([&] { firstMeshes = TransferMeshes(target, plan); });
        statistics.pagesAdded = PlaceTexturePieces(plan.pieces, plan.layout, source.pages, target.level, pool);
        pool.wait();
        target.level.StaticMeshes.reserve(target.level.StaticMeshes.size() + plan.statics.size());
        target.level.Moveables.reserve(target.level.Moveables.size() + plan.moveables.size());
        for (std::size_t i = 0; i < plan.statics.size(); ++i)
            MergeStaticMesh(target, source.library, plan.statics[i], firstMeshes[i]);
        for (std::size_t i = 0; i < plan.moveables.size(); ++i)
            MergeMoveable(target, source.library, plan.moveables[i], firstMeshes[plan.statics.size() + i],
                          animations[i]);
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
