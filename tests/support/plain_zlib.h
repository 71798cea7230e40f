#pragma once

#include <cstdint>
#include <span>

namespace veltrane::testing {

// Every chunk of a level file inflates with zlib's own uncompress, as the game reads it, to the bytes
// Veltrane reads from it. Tests check each level file they write after a merge with it.
void expectPlainZlibChunks(std::span<const std::uint8_t> file);

} // namespace veltrane::testing
