#pragma once

#include "level/tr4_level.h"
#include "wad/wad_library.h"

#include <string>
#include <vector>

// Checks that a level's or a library's tables agree with each other, for generated and merged files.
// Each returns one line per fault ("moveable 3: mesh tree runs past MeshTrees"); none when all agree.
namespace veltrane::testing {

// Mesh pointers that name no parsed mesh, mesh trees outside MeshTrees or whose stack runs over
// (five entries) or under, frame ranges outside Frames or their moveable's frames, keyframes that do
// not fit their FrameSize, animations, state changes, dispatches and command ranges outside their
// tables, and frame numbers outside the animation they name.
std::vector<std::string> objectTableProblems(const level::Tr4Level& level);
std::vector<std::string> objectTableProblems(const wad::WadLibrary& library);

// Level: object textures off the pages, and mesh or room faces whose texture names no object
// texture. Library: samples off the pages, and faces whose texture names no sample.
std::vector<std::string> textureProblems(const level::Tr4Level& level);
std::vector<std::string> textureProblems(const wad::WadLibrary& library);

} // namespace veltrane::testing
