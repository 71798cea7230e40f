#pragma once

#include "level/tr4_level.h"
#include "wad/wad_library.h"

#include <string>
#include <vector>

// Checks that what the builders made holds together: every table of a level or a library agrees with
// the others. Each fault is one line ("moveable 3: mesh tree runs past MeshTrees"); none when all agree.
namespace veltrane::builders {

// Mesh pointers that name no parsed mesh, mesh trees that cannot be followed, frame ranges outside
// Frames or their moveable's frames, keyframes that do not fit their FrameSize, animations, state
// changes, dispatches and command ranges outside their tables, and frame numbers outside the animation
// they name. Then the textures: a level's object textures off its pages and faces that name no object
// texture; a library's samples off its pages and faces that name no sample.
std::vector<std::string> tableProblems(const level::Tr4Level& level);
std::vector<std::string> tableProblems(const wad::WadLibrary& library);

} // namespace veltrane::builders
