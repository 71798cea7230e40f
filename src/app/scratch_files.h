#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "wad/wad_pages.h"

#include <filesystem>

// The window's commands leave these files in the working directory, under fixed names, for anyone who
// wants to look at what was loaded or saved. They are overwritten on every use and never read back;
// each function reports whether it could write its file, and a failure never stops a command.
namespace veltrane::app::scratch {

// "temp_block": the level-data block as loaded.
bool writeTempBlock(const level::Tr4Level& level, const std::filesystem::path& folder);
// "tex16.tex": the 16-bit pages of a level as loaded.
bool writeTex16(const level::Tr4Level& level, const std::filesystem::path& folder);
// "mesh_block": the level-form mesh block rebuilt from the mesh list before a save.
bool writeMeshBlock(const level::Lista_Mesh& meshes, const std::filesystem::path& folder);
// "new_data": the level-data block as saved (a save keeps it in the model).
bool writeNewData(const level::Tr4Level& level, const std::filesystem::path& folder);
// "segundoA.bbb": the first page of a library in the 32-bit form; nothing when it has no page.
bool writeFirstSourcePage(const wad::PageSet& pages, const std::filesystem::path& folder);

} // namespace veltrane::app::scratch
