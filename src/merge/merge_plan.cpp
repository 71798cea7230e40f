#include "merge/merge_plan.h"

#include "level/mesh_tree.h"

#include <algorithm>
#include <numeric>

namespace veltrane::merge {
namespace {

template <class T>
using Outcome = io::Outcome<T>;

std::string range(std::uint64_t first, std::uint64_t count, std::uint64_t tableSize, const char* unit) {
    return "(" + std::string(unit) + " " + std::to_string(first) + " to " + std::to_string(first + count - 1) +
           ", the table has " + std::to_string(tableSize) + ")";
}

bool fits(std::uint64_t first, std::uint64_t count, std::uint64_t tableSize) {
    return first <= tableSize && count <= tableSize - first;
}

std::vector<std::int32_t> everyIndex(std::size_t count) {
    std::vector<std::int32_t> indices(count);
    std::iota(indices.begin(), indices.end(), 0);
    return indices;
}

std::vector<std::int32_t> ascending(std::vector<std::int32_t> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

// How messages name an object: "source static mesh 2 (ObjectId 5)", "source moveable 3 (ObjectId 12)".
template <class Records>
std::string objectName(const char* what, const Records& records, std::int32_t index) {
    return std::string("source ") + what + " " + std::to_string(index) + " (ObjectId " +
           std::to_string(records[static_cast<std::size_t>(index)].ObjectId) + ")";
}

io::Status everyTickExists(const std::vector<std::int32_t>& indices, std::size_t size, const char* what) {
    for (std::int32_t index : indices)
        if (index < 0 || static_cast<std::size_t>(index) >= size)
            return io::Status::failure("there is no source " + std::string(what) + " " + std::to_string(index) +
                                       ": the library has " + std::to_string(size));
    return io::success();
}

// Plans every object of the merge, collecting its texture pieces and how much it grows the target.
class Planner {
public:
    Planner(const wad::LibraryDocument& source, MergePlan& plan) : source_(source), library_(source.library), plan_(plan) {}

    Outcome<PlannedStatic> planStatic(std::int32_t index) {
        auto mesh = planMesh(library_.StaticMeshes[static_cast<std::size_t>(index)].Mesh);
        if (!mesh)
            return Outcome<PlannedStatic>::failure(objectName("static mesh", library_.StaticMeshes, index) + ": " +
                                                   mesh.error());
        plan_.growth.meshPointers += 1;
        return PlannedStatic{index, std::move(mesh.value())};
    }

    Outcome<PlannedMoveable> planMoveable(std::int32_t index) {
        using Result = Outcome<PlannedMoveable>;
        const level::Tr4Moveable& moveable = library_.Moveables[static_cast<std::size_t>(index)];
        // The name is only made for a refusal: a merge plans every moveable of a library.
        const auto refused = [&](const std::string& cause) {
            return Result::failure(objectName("moveable", library_.Moveables, index) + ": " + cause);
        };
        if (moveable.MeshCount == 0)
            return refused("it has no mesh (MeshCount 0)");

        PlannedMoveable planned{index, {}, {}, {}, {}};
        for (std::uint64_t k = 0; k < moveable.MeshCount; ++k) {
            auto mesh = planMesh(std::uint64_t{moveable.StartingMesh} + k);
            if (!mesh)
                return refused(mesh.error());
            planned.meshes.push_back(std::move(mesh.value()));
        }
        const std::uint64_t treeWords = level::meshTreeWords(moveable);
        if (treeWords > 0 && !fits(moveable.MeshTree, treeWords, library_.MeshTrees.size()))
            return refused("mesh tree runs past MeshTrees " +
                           range(moveable.MeshTree, treeWords, library_.MeshTrees.size(), "words"));
        auto frames = level::moveableFrameBlock(library_.Moveables, static_cast<std::size_t>(index), library_.Frames.size());
        if (!frames)
            return refused(frames.error());
        planned.frames = frames.value();
        auto animations = level::moveableAnimations(library_.Moveables, static_cast<std::size_t>(index),
                                                    library_.Animations.size());
        if (!animations)
            return refused(animations.error());
        planned.animations = animations.value();
        for (std::uint32_t a = 0; a < planned.animations.count; ++a) {
            auto part = planAnimation(planned.animations.first + a);
            if (!part)
                return refused(part.error());
            planned.animationParts.push_back(part.value());
        }
        plan_.growth.meshPointers += moveable.MeshCount;
        plan_.growth.animations += planned.animations.count;
        return planned;
    }

private:
    // The parsed library mesh that MeshPointers entry `pointerIndex` names, with a piece for each polygon.
    Outcome<PlannedMesh> planMesh(std::uint64_t pointerIndex) {
        using Result = Outcome<PlannedMesh>;
        const auto& pointers = library_.MeshPointers;
        if (pointerIndex >= pointers.size())
            return Result::failure("mesh pointer " + std::to_string(pointerIndex) + " is past MeshPointers, which has " +
                                   std::to_string(pointers.size()) + " entries");
        const std::uint32_t offset = pointers[pointerIndex];
        const level::MeshRecord* mesh = source_.meshes.get(source_.meshes.MeshIndexOf(offset));
        if (mesh == nullptr)
            return Result::failure("mesh pointer " + std::to_string(pointerIndex) + " holds byte offset " +
                                   std::to_string(offset) + ", where no mesh of the library starts");
        if (!mesh->Polygons.empty() && library_.TextureSamples.empty())
            return Result::failure("the mesh at byte offset " + std::to_string(offset) +
                                   " has faces, but the library has no texture samples");
        PlannedMesh planned{mesh, {}};
        // Every polygon gets its piece, also one of a shape that the conversion drops.
        planned.textures.reserve(mesh->Polygons.size());
        for (const level::MeshPolygon& polygon : mesh->Polygons)
            planned.textures.push_back(RemapFaceTexture(plan_.pieces, library_, polygon));
        return planned;
    }

    // The state changes, dispatches and commands of library animation `i`.
    Outcome<PlannedAnimation> planAnimation(std::size_t i) {
        using Result = Outcome<PlannedAnimation>;
        const level::Tr4Animation& animation = library_.Animations[i];
        const auto refused = [i](const std::string& cause) {
            return Result::failure("animation " + std::to_string(i) + ": " + cause);
        };
        PlannedAnimation planned;

        // Frames advance by whole frames only; a FrameSize of 0 counts one byte a frame.
        const std::uint32_t frameBytes = animation.FrameSize == 0 ? 1u : animation.FrameSize * 2u;
        const std::uint32_t end = i + 1 == library_.Animations.size() ? static_cast<std::uint32_t>(library_.Frames.size() * 2)
                                                                       : library_.Animations[i + 1].FrameOffset;
        planned.frameAdvance = frameBytes * ((end - animation.FrameOffset) / frameBytes);

        if (!fits(animation.StateChangeOffset, animation.StateChangeCount, library_.StateChanges.size()))
            return refused("state changes run past StateChanges " + range(animation.StateChangeOffset,
                                                                         animation.StateChangeCount,
                                                                         library_.StateChanges.size(), "records"));
        if (animation.StateChangeCount > 0) {
            const auto first = library_.StateChanges.begin() + animation.StateChangeOffset;
            for (auto change = first; change != first + animation.StateChangeCount; ++change)
                planned.dispatches += change->DispatchCount;
            if (planned.dispatches > 0 && !fits(first->DispatchOffset, planned.dispatches, library_.AnimDispatches.size()))
                return refused("dispatches run past AnimDispatches " +
                               range(first->DispatchOffset, planned.dispatches, library_.AnimDispatches.size(),
                                     "records"));
        }

        const std::size_t firstWord = animation.AnimCommandOffset / wad::kCommandOffsetBytesPerWord;
        const auto words = level::commandRunWords(library_.AnimCommands, firstWord, animation.AnimCommandCount);
        if (!words)
            return refused("its " + std::to_string(animation.AnimCommandCount) + " commands from word " +
                           std::to_string(firstWord) + " run past AnimCommands, which has " +
                           std::to_string(library_.AnimCommands.size()) + " words");
        planned.commandWords = *words;
        plan_.growth.stateChanges += animation.StateChangeCount;
        plan_.growth.dispatches += planned.dispatches;
        plan_.growth.commandWords += planned.commandWords;
        return planned;
    }

    const wad::LibraryDocument& source_;
    const wad::WadLibrary& library_;
    MergePlan& plan_;
};

io::Status refuseAbove(std::uint64_t after, std::uint64_t limit, const char* what, const char* namer) {
    if (after <= limit)
        return io::success();
    return io::Status::failure("the merge would give the level " + std::to_string(after) + " " + what + ", but " +
                               namer + " can only name the first " + std::to_string(limit));
}

// After growing by `growth` and `piecesAdded` object textures, every index still fits its 16-bit field.
io::Status checkTableLimits(const level::Tr4Level& target, const TableGrowth& growth, std::int32_t piecesAdded) {
    // A face's texture word is read as signed; kNoAnimation in Animation means "none".
    for (auto status : {
             refuseAbove(target.ObjectTextures.size() + static_cast<std::uint64_t>(piecesAdded), 32768,
                         "object textures", "a face"),
             refuseAbove(target.MeshPointers.size() + growth.meshPointers, 65536, "mesh pointers",
                         "a static mesh or moveable"),
             refuseAbove(target.Animations.size() + growth.animations, 65535, "animations", "a moveable"),
             refuseAbove(target.StateChanges.size() + growth.stateChanges, 65536, "state changes", "an animation"),
             refuseAbove(target.AnimDispatches.size() + growth.dispatches, 65536, "dispatches", "a state change"),
             refuseAbove(target.AnimCommands.size() + growth.commandWords, 65536, "command words", "an animation"),
         })
        if (!status)
            return status;
    return io::success();
}

} // namespace

MergeTicks everyObject(const wad::WadLibrary& library) {
    return {everyIndex(library.StaticMeshes.size()), everyIndex(library.Moveables.size())};
}

io::Outcome<MergePlan> planMerge(const level::LevelDocument& target, const wad::LibraryDocument& source,
                                 const MergeTicks& ticks) {
    using Result = io::Outcome<MergePlan>;
    const auto refused = [](const std::string& cause) { return Result::failure("merge refused: " + cause); };
    const wad::WadLibrary& library = source.library;

    std::vector<std::int32_t> statics = ascending(ticks.statics);
    std::vector<std::int32_t> moveables = ascending(ticks.moveables);
    for (const auto& status : {everyTickExists(statics, library.StaticMeshes.size(), "static mesh"),
                               everyTickExists(moveables, library.Moveables.size(), "moveable")})
        if (!status)
            return refused(status.error());

    MergePlan plan;
    // Ticks of a kind the target has no object of are reported and dropped.
    const auto skipAll = [&plan](std::vector<std::int32_t>& indices, const auto& records, ObjectKind kind) {
        for (std::int32_t index : indices)
            plan.skipped.push_back({kind, index, records[static_cast<std::size_t>(index)].ObjectId});
        indices.clear();
    };
    if (target.level.StaticMeshes.empty())
        skipAll(statics, library.StaticMeshes, ObjectKind::StaticMesh);
    if (target.level.Moveables.empty())
        skipAll(moveables, library.Moveables, ObjectKind::Moveable);

    // The pieces are numbered as the faces are met, statics first, so the apply finds them in that order.
    plan.pieces = BeginTextureMerge(target.level);
    Planner planner(source, plan);
    for (std::int32_t index : statics) {
        auto planned = planner.planStatic(index);
        if (!planned)
            return refused(planned.error());
        plan.statics.push_back(std::move(planned.value()));
    }
    for (std::int32_t index : moveables) {
        auto planned = planner.planMoveable(index);
        if (!planned)
            return refused(planned.error());
        plan.moveables.push_back(std::move(planned.value()));
    }
    plan.layout = layOutTexturePieces(plan.pieces);
    if (auto status = checkTableLimits(target.level, plan.growth, PieceCount(plan.pieces)); !status)
        return refused(status.error());
    if (auto status = checkNewPages(target.level, plan.layout.pagesAdded); !status)
        return refused(status.error());
    return plan;
}

io::Status checkNewPages(const level::Tr4Level& target, std::int32_t pagesAdded) {
    if (pagesAdded == 0)
        return io::success();
    const std::uint32_t counted = std::uint32_t{target.NumRoomPages} + target.NumObjectPages + target.NumBumpPages;
    if (counted != target.PageCount)
        return io::Status::failure(
            "the level's header counts " + std::to_string(target.NumRoomPages) + " room, " +
            std::to_string(target.NumObjectPages) + " object and " + std::to_string(target.NumBumpPages) +
            " bump pages (" + std::to_string(counted) + " in all), but its page chunk holds " +
            std::to_string(target.PageCount) + "; the game would not load the pages a merge adds");
    if (auto limit = refuseAbove(std::uint64_t{target.PageCount} + static_cast<std::uint64_t>(pagesAdded), 32768,
                                 "texture pages", "an object texture");
        !limit)
        return limit;
    const std::uint32_t pages16 = level::wholePages(target.Pages16.size(), level::kPageBytes16);
    if (pages16 < target.PageCount)
        return io::Status::failure("the level's 16-bit page chunk holds " + std::to_string(pages16) +
                                   " pages, fewer than the " + std::to_string(target.PageCount) +
                                   " of its 32-bit page chunk");
    return io::success();
}

} // namespace veltrane::merge
