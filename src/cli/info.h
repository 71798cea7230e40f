#pragma once

#include "io/outcome.h"

#include <filesystem>
#include <string>

namespace veltrane::cli {

// The contents of a .tr4 level or .wad library as text: header words, page count, the size of every
// table, then one line per moveable and per static mesh.
io::Outcome<std::string> describeFile(const std::filesystem::path& path);

} // namespace veltrane::cli
