#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"

namespace veltrane::fuzz {

// A level small enough to merge into thousands of times a second: no texture page, one object
// texture, one static mesh and one moveable of two meshes with an animation, and its mesh list.
struct SmallTarget {
    level::Tr4Level level;
    level::Lista_Mesh meshes{level::MeshKind::Level};
};

SmallTarget smallTarget();

} // namespace veltrane::fuzz
