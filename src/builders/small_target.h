#pragma once

#include "level/level_document.h"

namespace veltrane::builders {

// A level small enough to merge into thousands of times a second: no texture page, one object
// texture, three meshes of three to five vertices with one rectangle each, one static mesh and one
// moveable of two meshes with an animation. The fuzz targets merge into it; tests start from it.
level::LevelDocument smallTarget();

} // namespace veltrane::builders
