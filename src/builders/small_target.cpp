#include "builders/small_target.h"

#include "builders/level_builder.h"

namespace veltrane::builders {

level::LevelDocument smallTarget() {
    level::LevelDocument target;
    target.level = minimalLevel();
    target.level.ObjectTextures.resize(1);
    for (std::int16_t vertices : {3, 4, 5}) {
        level::MeshRecord mesh;
        mesh.NumVertices = vertices;
        mesh.Vertices.assign(static_cast<std::size_t>(vertices), {1, 2, 3});
        mesh.NumRectangles = 1;
        mesh.Rectangles.push_back({{0, 1, 2, 0}, 0, 0});
        mesh.Offset = target.meshes.nextOffset();
        target.level.MeshPointers.push_back(mesh.Offset);
        target.meshes.append(std::move(mesh));
    }
    target.level.StaticMeshes.push_back({10, 0, {}, 0});
    target.level.Moveables.push_back({20, 2, 1, 0, 0, 0});
    target.level.MeshTrees = {0, 0, 0, 0};
    target.level.Frames = {1, 2, 3, 4, 5, 6};
    target.level.Animations.push_back({});
    target.level.AnimCommands = {3};
    return target;
}

} // namespace veltrane::builders
