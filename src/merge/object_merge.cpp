#include "merge/object_merge.h"

#include "level/mesh_block.h"
#include "merge/animation_merge.h"

#include <vector>

namespace veltrane::merge {

std::uint32_t TransferMesh(MergeTarget target, const MergeSource& source, Lista_Texturas& pieces,
                           std::uint32_t meshPointer) {
    const level::MeshRecord& sourceMesh = *source.meshes.get(source.meshes.MeshIndexOf(meshPointer));
    // Every polygon gets its piece, also one of a shape that the conversion drops.
    std::vector<std::uint16_t> textures;
    textures.reserve(sourceMesh.Polygons.size());
    for (const level::MeshPolygon& polygon : sourceMesh.Polygons)
        textures.push_back(RemapFaceTexture(pieces, source.library, polygon));

    level::MeshRecord mesh = level::convertToLevelForm(sourceMesh, textures);
    mesh.Offset = target.meshes.nextOffset();
    const std::uint32_t offset = mesh.Offset;
    target.meshes.append(std::move(mesh));
    target.level.MeshPointers.push_back(offset);
    return static_cast<std::uint32_t>(target.level.MeshPointers.size() - 1);
}

void MergeStaticMesh(MergeTarget target, const MergeSource& source, Lista_Texturas& pieces, std::int32_t index) {
    level::Tr4StaticMesh copy = source.library.StaticMeshes[static_cast<std::size_t>(index)];
    copy.Mesh = static_cast<std::uint16_t>(TransferMesh(target, source, pieces, source.library.MeshPointers[copy.Mesh]));
    target.level.StaticMeshes.push_back(copy);
}

void MergeMoveable(MergeTarget target, const MergeSource& source, Lista_Texturas& pieces, std::int32_t index) {
    const level::Tr4Moveable& moveable = source.library.Moveables[static_cast<std::size_t>(index)];
    level::Tr4Moveable copy = moveable;
    for (std::size_t k = 0; k < moveable.MeshCount; ++k) {
        const std::uint32_t pointer = TransferMesh(target, source, pieces, source.library.MeshPointers[moveable.StartingMesh + k]);
        if (k == 0)
            copy.StartingMesh = static_cast<std::uint16_t>(pointer);
    }

    auto& trees = target.level.MeshTrees;
    copy.MeshTree = static_cast<std::uint32_t>(trees.size());
    const auto tree = source.library.MeshTrees.begin() + moveable.MeshTree;
    trees.insert(trees.end(), tree, tree + (moveable.MeshCount - 1) * 4);

    const MergedAnimations animations = MergeAnimations(target.level, source.library, index);
    copy.FrameOffset = animations.FrameOffset;
    copy.Animation = animations.Animation;
    target.level.Moveables.push_back(copy);
}

} // namespace veltrane::merge
