#pragma once

#include "level/mesh_record.h"
#include "support/objects.h"
#include "support/shapes.h"
#include "tools/random.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Generated objects that bring the large demo files to the scale of a real game level.
namespace veltrane::demo {

struct FillerShape {
    std::size_t Meshes = 1;
    std::size_t Animations = 0;
    std::size_t FrameWords = 0; // about how many frame words its animations should take
};

// A moveable of `shape.Meshes` limbs in chains hanging from a body (some chains forking), with
// looping animations that change into each other and carry commands.
builders::Moveable fillerMoveable(level::MeshKind kind, std::uint32_t objectId, const FillerShape& shape,
                                  const builders::Skin& skin, Random& random);

// A static mesh of one to three solids.
builders::StaticMesh fillerStatic(level::MeshKind kind, std::uint32_t objectId, const builders::Skin& skin,
                                  Random& random);

// `total` split into `parts` whole numbers of at least `least` each, unevenly.
std::vector<std::size_t> splitTotal(std::size_t total, std::size_t parts, std::size_t least, Random& random);

} // namespace veltrane::demo
