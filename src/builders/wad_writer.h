#pragma once

#include "wad/wad_library.h"

#include <cstdint>
#include <vector>

namespace veltrane::builders {

// A library with the version the reader accepts and every table empty.
wad::WadLibrary emptyLibrary();

// The bytes of a .wad file: the version word, then the twelve tables in file order, each a 32-bit
// count and its elements. Throws std::logic_error for a table too long for its count.
std::vector<std::uint8_t> encodeLibrary(const wad::WadLibrary& library);

} // namespace veltrane::builders
