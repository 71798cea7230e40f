#pragma once

#include "level/tr4_level.h"

#include <cstdint>
#include <span>
#include <vector>

namespace veltrane::level {

// Fills every level-data field of `level` from an inflated level-data block. Throws
// io::FormatError, naming the table and room, when the block contradicts its own counts.
void parseLevelData(std::span<const std::uint8_t> block, Tr4Level& level);

// Writes every level-data field in file order. A block parsed and serialised unchanged comes out
// byte for byte equal. Throws io::FormatError when the model cannot be written (a table too long
// for its count field, zones not one per box).
std::vector<std::uint8_t> serialiseLevelData(const Tr4Level& level);

} // namespace veltrane::level
