#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"

#include <filesystem>

namespace veltrane::level {

// The window's commands leave these files in the working directory, under fixed names, for anyone
// who wants to look at what was loaded or saved. They are overwritten on every use and never read
// back; each function reports whether it could write its file and a failure never stops a command.

// "temp_block": the level-data block as loaded.
bool writeTempBlock(const Tr4Level& level, const std::filesystem::path& folder);
// "new_data": the level-data block as saved (a save keeps it in the model).
bool writeNewData(const Tr4Level& level, const std::filesystem::path& folder);
// "mesh_block": the level-form mesh block rebuilt from the mesh list before a save.
bool writeMeshBlock(const Lista_Mesh& meshes, const std::filesystem::path& folder);
// "tex16.tex": the 16-bit pages of a level as loaded.
bool writeTex16(const Tr4Level& level, const std::filesystem::path& folder);

} // namespace veltrane::level
