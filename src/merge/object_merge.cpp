#include "merge/object_merge.h"

#include "level/mesh_block.h"
#include "level/mesh_tree.h"
#include "merge/animation_merge.h"

namespace veltrane::merge {

std::uint32_t TransferMesh(level::LevelDocument& target, const PlannedMesh& mesh) {
    level::MeshRecord copy = level::convertToLevelForm(*mesh.source, mesh.textures);
    copy.Offset = target.meshes.nextOffset();
    const std::uint32_t offset = copy.Offset;
    target.meshes.append(std::move(copy));
    target.level.MeshPointers.push_back(offset);
    return static_cast<std::uint32_t>(target.level.MeshPointers.size() - 1);
}

void MergeStaticMesh(level::LevelDocument& target, const wad::WadLibrary& library, const PlannedStatic& planned) {
    level::Tr4StaticMesh copy = library.StaticMeshes[static_cast<std::size_t>(planned.index)];
    copy.Mesh = static_cast<std::uint16_t>(TransferMesh(target, planned.mesh));
    target.level.StaticMeshes.push_back(copy);
}

void MergeMoveable(level::LevelDocument& target, const wad::WadLibrary& library, const PlannedMoveable& planned) {
    const level::Tr4Moveable& moveable = library.Moveables[static_cast<std::size_t>(planned.index)];
    level::Tr4Moveable copy = moveable;
    for (std::size_t k = 0; k < planned.meshes.size(); ++k) {
        const std::uint32_t pointer = TransferMesh(target, planned.meshes[k]);
        if (k == 0)
            copy.StartingMesh = static_cast<std::uint16_t>(pointer);
    }

    auto& trees = target.level.MeshTrees;
    copy.MeshTree = static_cast<std::uint32_t>(trees.size());
    const auto tree = library.MeshTrees.begin() + moveable.MeshTree;
    trees.insert(trees.end(), tree, tree + static_cast<std::ptrdiff_t>(level::meshTreeWords(moveable)));

    const MergedAnimations animations = MergeAnimations(target.level, library, planned);
    copy.FrameOffset = animations.frameOffset;
    copy.Animation = animations.animation;
    target.level.Moveables.push_back(copy);
}

} // namespace veltrane::merge
