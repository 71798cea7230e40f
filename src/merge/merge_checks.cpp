#include "merge/merge_checks.h"

#include "merge/animation_merge.h"

namespace veltrane::merge {
namespace {

using Needs = io::Outcome<ObjectNeeds>;

std::string range(std::uint64_t first, std::uint64_t count, std::uint64_t tableSize, const char* unit) {
    return "(" + std::string(unit) + " " + std::to_string(first) + " to " + std::to_string(first + count - 1) +
           ", the table has " + std::to_string(tableSize) + ")";
}

bool fits(std::uint64_t first, std::uint64_t count, std::uint64_t tableSize) {
    return first <= tableSize && count <= tableSize - first;
}

// The parsed library mesh that MeshPointers entry `pointerIndex` names, or why there is none.
io::Outcome<const level::MeshRecord*> meshAt(const MergeSource& source, std::uint64_t pointerIndex) {
    using Result = io::Outcome<const level::MeshRecord*>;
    const auto& pointers = source.library.MeshPointers;
    if (pointerIndex >= pointers.size())
        return Result::failure("mesh pointer " + std::to_string(pointerIndex) + " is past MeshPointers, which has " +
                               std::to_string(pointers.size()) + " entries");
    const std::uint32_t offset = pointers[pointerIndex];
    const level::MeshRecord* mesh = source.meshes.get(source.meshes.MeshIndexOf(offset));
    if (mesh == nullptr)
        return Result::failure("mesh pointer " + std::to_string(pointerIndex) + " holds byte offset " +
                               std::to_string(offset) + ", where no mesh of the library starts");
    if (!mesh->Polygons.empty() && source.library.TextureSamples.empty())
        return Result::failure("the mesh at byte offset " + std::to_string(offset) +
                               " has faces, but the library has no texture samples");
    return mesh;
}

// The state changes, dispatches and commands of library animation `i`.
io::Outcome<TableGrowth> checkAnimation(const wad::WadLibrary& library, std::size_t i) {
    using Result = io::Outcome<TableGrowth>;
    const level::Tr4Animation& animation = library.Animations[i];
    const std::string name = "animation " + std::to_string(i) + ": ";
    TableGrowth growth;

    if (!fits(animation.StateChangeOffset, animation.StateChangeCount, library.StateChanges.size()))
        return Result::failure(name + "state changes run past StateChanges " +
                               range(animation.StateChangeOffset, animation.StateChangeCount,
                                     library.StateChanges.size(), "records"));
    growth.stateChanges = animation.StateChangeCount;
    if (animation.StateChangeCount > 0) {
        const auto first = library.StateChanges.begin() + animation.StateChangeOffset;
        for (auto change = first; change != first + animation.StateChangeCount; ++change)
            growth.dispatches += change->DispatchCount;
        if (growth.dispatches > 0 && !fits(first->DispatchOffset, growth.dispatches, library.AnimDispatches.size()))
            return Result::failure(name + "dispatches run past AnimDispatches " +
                                   range(first->DispatchOffset, growth.dispatches, library.AnimDispatches.size(),
                                         "records"));
    }

    const auto words = commandRunWords(library.AnimCommands, animation.AnimCommandOffset / 2u, animation.AnimCommandCount);
    if (!words)
        return Result::failure(name + "its " + std::to_string(animation.AnimCommandCount) +
                               " commands from word " + std::to_string(animation.AnimCommandOffset / 2u) +
                               " run past AnimCommands, which has " + std::to_string(library.AnimCommands.size()) +
                               " words");
    growth.commandWords = *words;
    return growth;
}

io::Status refuseAbove(std::uint64_t after, std::uint64_t limit, const char* what, const char* namer) {
    if (after <= limit)
        return io::success();
    return io::Status::failure("the merge would give the level " + std::to_string(after) + " " + what + ", but " +
                               namer + " can only name the first " + std::to_string(limit));
}

} // namespace

TableGrowth& TableGrowth::operator+=(const TableGrowth& other) {
    meshPointers += other.meshPointers;
    animations += other.animations;
    stateChanges += other.stateChanges;
    dispatches += other.dispatches;
    commandWords += other.commandWords;
    return *this;
}

std::string staticMeshName(const wad::WadLibrary& library, std::int32_t index) {
    return "source static mesh " + std::to_string(index) + " (ObjectId " +
           std::to_string(library.StaticMeshes[static_cast<std::size_t>(index)].ObjectId) + ")";
}

std::string moveableName(const wad::WadLibrary& library, std::int32_t index) {
    return "source moveable " + std::to_string(index) + " (ObjectId " +
           std::to_string(library.Moveables[static_cast<std::size_t>(index)].ObjectId) + ")";
}

io::Status checkIndex(std::int32_t index, std::size_t size, const char* what) {
    if (index >= 0 && static_cast<std::size_t>(index) < size)
        return io::success();
    return io::Status::failure("there is no source " + std::string(what) + " " + std::to_string(index) +
                               ": the library has " + std::to_string(size));
}

io::Outcome<ObjectNeeds> checkStaticMesh(const MergeSource& source, std::int32_t index) {
    const auto& statics = source.library.StaticMeshes;
    if (auto exists = checkIndex(index, statics.size(), "static mesh"); !exists)
        return Needs::failure(exists.error());
    auto mesh = meshAt(source, statics[static_cast<std::size_t>(index)].Mesh);
    if (!mesh)
        return Needs::failure(staticMeshName(source.library, index) + ": " + mesh.error());
    ObjectNeeds needs;
    needs.growth.meshPointers = 1;
    needs.meshes.push_back(*mesh);
    return needs;
}

io::Outcome<ObjectNeeds> checkMoveable(const MergeSource& source, std::int32_t index) {
    const wad::WadLibrary& library = source.library;
    if (auto exists = checkIndex(index, library.Moveables.size(), "moveable"); !exists)
        return Needs::failure(exists.error());
    const level::Tr4Moveable& moveable = library.Moveables[static_cast<std::size_t>(index)];
    const std::string name = moveableName(library, index) + ": ";
    if (moveable.MeshCount == 0)
        return Needs::failure(name + "it has no mesh (MeshCount 0)");

    ObjectNeeds needs;
    needs.growth.meshPointers = moveable.MeshCount;
    for (std::uint64_t k = 0; k < moveable.MeshCount; ++k) {
        auto mesh = meshAt(source, std::uint64_t{moveable.StartingMesh} + k);
        if (!mesh)
            return Needs::failure(name + mesh.error());
        needs.meshes.push_back(*mesh);
    }

    const std::uint64_t treeWords = (std::uint64_t{moveable.MeshCount} - 1) * 4;
    if (treeWords > 0 && !fits(moveable.MeshTree, treeWords, library.MeshTrees.size()))
        return Needs::failure(name + "mesh tree runs past MeshTrees " +
                              range(moveable.MeshTree, treeWords, library.MeshTrees.size(), "words"));

    const FrameBlock frames = moveableFrameBlock(library, index);
    const auto frameBytes = static_cast<std::int64_t>(library.Frames.size() * 2);
    if (frames.end < frames.start)
        return Needs::failure(name + "frame block has negative length (from byte " + std::to_string(frames.start) +
                              " of Frames to byte " + std::to_string(frames.end) + ")");
    if (frames.end > frameBytes)
        return Needs::failure(name + "frame block runs past Frames (bytes " + std::to_string(frames.start) + " to " +
                              std::to_string(frames.end) + ", the table has " + std::to_string(frameBytes) + ")");

    const std::int32_t count = CountMoveableAnimations(library, index);
    if (count > 0) {
        const std::int32_t first = static_cast<std::int16_t>(moveable.Animation);
        if (first < 0 || !fits(static_cast<std::uint64_t>(first), static_cast<std::uint64_t>(count), library.Animations.size()))
            return Needs::failure(name + "animations run past Animations " +
                                  range(static_cast<std::uint64_t>(first), static_cast<std::uint64_t>(count),
                                        library.Animations.size(), "records"));
        needs.growth.animations = static_cast<std::uint64_t>(count);
        for (std::int32_t a = 0; a < count; ++a) {
            auto growth = checkAnimation(library, static_cast<std::size_t>(first + a));
            if (!growth)
                return Needs::failure(name + growth.error());
            needs.growth += *growth;
        }
    }
    return needs;
}

io::Status checkTableLimits(const level::Tr4Level& target, const TableGrowth& growth, std::int32_t piecesAdded) {
    // A face's texture word is read as signed; 0xFFFF in Animation means "none".
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
    const std::size_t pages16 = target.Pages16.size() / level::kPageBytes16;
    if (pages16 < target.PageCount)
        return io::Status::failure("the level's 16-bit page chunk holds " + std::to_string(pages16) +
                                   " pages, fewer than the " + std::to_string(target.PageCount) +
                                   " of its 32-bit page chunk");
    return io::success();
}

} // namespace veltrane::merge
