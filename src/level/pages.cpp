#include "level/pages.h"

#include <array>

namespace veltrane::level {
namespace {

// c * 31 / 255 for every 8-bit channel value c, rounded down.
constexpr std::array<std::uint16_t, 256> kFiveBits = [] {
    std::array<std::uint16_t, 256> table{};
    for (std::uint32_t c = 0; c < 256; ++c)
        table[c] = static_cast<std::uint16_t>(c * 31 / 255);
    return table;
}();

} // namespace

std::vector<std::uint8_t> convertPagesTo16(std::span<const std::uint8_t> pages32) {
    const std::size_t texels = pages32.size() / 4;
    std::vector<std::uint8_t> pages16(texels * 2);
    for (std::size_t i = 0; i < texels; ++i) {
        const std::uint8_t* texel = &pages32[4 * i]; // B, G, R, A
        std::uint32_t word = kFiveBits[texel[2]] << 10 | kFiveBits[texel[1]] << 5 | kFiveBits[texel[0]];
        if (texel[3] == 255)
            word |= 0x8000;
        pages16[2 * i] = static_cast<std::uint8_t>(word);
        pages16[2 * i + 1] = static_cast<std::uint8_t>(word >> 8);
    }
    return pages16;
}

} // namespace veltrane::level
