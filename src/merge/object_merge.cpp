#include "merge/object_merge.h"

#include "level/mesh_block.h"
#include "level/mesh_tree.h"

namespace veltrane::merge {

std::uint32_t TransferMesh(level::LevelDocument& target, const PlannedMesh& mesh) {
    level::MeshRecord copy = level::convertToLevelForm(*mesh.source, mesh.textures);
    copy.Offset = target.meshes.nextOffset();
    const std::uint32_t offset = copy.Offset;
    target.meshes.append(std::move(copy));
    target.level.MeshPointers.push_back(offset);
    return static_cast<std::uint32_t>(target.level.MeshPointers.size() - 1);
}

std::vector<std::uint32_t> TransferMeshes(level::LevelDocument& target, const MergePlan& plan) {
    // Room for every new mesh at once: grown one by one, the list would move its records each time it fills.
    target.meshes.reserve(static_cast<std::size_t>(target.meshes.count()) + plan.growth.meshPointers);
    target.level.MeshPointers.reserve(target.level.MeshPointers.size() + plan.growth.meshPointers);
    std::vector<std::uint32_t> firstMeshes;
    firstMeshes.reserve(plan.statics.size() + plan.moveables.size());
    for (const PlannedStatic& planned : plan.statics)
        firstMeshes.push_back(TransferMesh(target, planned.mesh));
    for (const PlannedMoveable& planned : plan.moveables) {
        firstMeshes.push_back(static_cast<std::uint32_t>(target.level.MeshPointers.size()));
        for (const PlannedMesh& mesh : planned.meshes)
            TransferMesh(target, mesh);
    }
    return firstMeshes;
}

std::vector<MergedAnimations> MergeAllAnimations(level::Tr4Level& target, const wad::WadLibrary& library,
                                                 const MergePlan& plan) {
    std::size_t frameWords = 0;
    for (const PlannedMoveable& planned : plan.moveables)
        frameWords += (planned.frames.end - planned.frames.start) / 2;
    target.Frames.reserve(target.Frames.size() + frameWords);
    target.Animations.reserve(target.Animations.size() + plan.growth.animations);
    target.StateChanges.reserve(target.StateChanges.size() + plan.growth.stateChanges);
    target.AnimDispatches.reserve(target.AnimDispatches.size() + plan.growth.dispatches);
    target.AnimCommands.reserve(target.AnimCommands.size() + plan.growth.commandWords);
    std::vector<MergedAnimations> merged;
    merged.reserve(plan.moveables.size());
    for (const PlannedMoveable& planned : plan.moveables)
        merged.push_back(MergeAnimations(target, library, planned));
    return merged;
}

void MergeStaticMesh(level::LevelDocument& target, const wad::WadLibrary& library, const PlannedStatic& planned,
                     std::uint32_t meshPointer) {
    level::Tr4StaticMesh copy = library.StaticMeshes[static_cast<std::size_t>(planned.index)];
    copy.Mesh = static_cast<std::uint16_t>(meshPointer);
    target.level.StaticMeshes.push_back(copy);
}

void MergeMoveable(level::LevelDocument& target, const wad::WadLibrary& library, const PlannedMoveable& planned,
                   std::uint32_t startingMesh, const MergedAnimations& animations) {
    const level::Tr4Moveable& moveable = library.Moveables[static_cast<std::size_t>(planned.index)];
    level::Tr4Moveable copy = moveable;
    if (!planned.meshes.empty())
        copy.StartingMesh = static_cast<std::uint16_t>(startingMesh);

    auto& trees = target.level.MeshTrees;
    copy.MeshTree = static_cast<std::uint32_t>(trees.size());
    const auto tree = library.MeshTrees.begin() + moveable.MeshTree;
    trees.insert(trees.end(), tree, tree + static_cast<std::ptrdiff_t>(level::meshTreeWords(moveable)));

    copy.FrameOffset = animations.frameOffset;
    copy.Animation = animations.animation;
    target.level.Moveables.push_back(copy);
}

} // namespace veltrane::merge
