#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace veltrane::merge {

// Pages in the 32-bit form (B, G, R, A a texel) converted to the 16-bit form: one little-endian word
// a texel, (R*31/255) << 10 | (G*31/255) << 5 | (B*31/255), with bit 15 set when A is 255.
std::vector<std::uint8_t> convertPagesTo16(std::span<const std::uint8_t> pages32);

} // namespace veltrane::merge
