#pragma once

#include "level/level_document.h"

namespace veltrane::fuzz {

// A level small enough to merge into thousands of times a second: no texture page, one object
// texture, one static mesh and one moveable of two meshes with an animation.
level::LevelDocument smallTarget();

} // namespace veltrane::fuzz
