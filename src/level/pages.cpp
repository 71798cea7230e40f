#include "level/pages.h"

#include <array>
#include <bit>
#include <cstring>

namespace veltrane::level {
namespace {

static_assert(std::endian::native == std::endian::little, "blocks of words are copied out as they are");

// c * 31 / 255, rounded down, for an 8-bit c: in 16 bits and without a division, so that the compiler
// converts many texels at once.
constexpr std::uint16_t fiveBits(std::uint16_t c) {
    const auto x = static_cast<std::uint16_t>(c * 31);
    return static_cast<std::uint16_t>((x + (x >> 8) + 1) >> 8);
}
static_assert([] {
    for (std::uint16_t c = 0; c < 256; ++c)
        if (fiveBits(c) != c * 31 / 255)
            return false;
    return true;
}());

// The 16-bit word of a B, G, R, A texel.
std::uint16_t texel16(const std::uint8_t* texel) {
    return static_cast<std::uint16_t>(fiveBits(texel[2]) << 10 | fiveBits(texel[1]) << 5 | fiveBits(texel[0]) |
                                      (texel[3] == 255 ? 0x8000 : 0));
}

} // namespace

std::vector<std::uint8_t> convertPagesTo16(std::span<const std::uint8_t> pages32) {
    std::vector<std::uint8_t> pages16(pages32.size() / 4 * 2);
    convertPagesTo16(pages32, pages16);
    return pages16;
}

void convertPagesTo16(std::span<const std::uint8_t> pages32, std::span<std::uint8_t> pages16) {
    // Blocks of a fixed number of texels through local arrays are what the compiler vectorises.
    constexpr std::size_t kBlock = 16;
    const std::size_t texels = pages32.size() / 4;
    std::size_t i = 0;
    for (; i + kBlock <= texels; i += kBlock) {
        std::array<std::uint8_t, 4 * kBlock> in;
        std::array<std::uint16_t, kBlock> out;
        std::memcpy(in.data(), &pages32[4 * i], in.size());
        for (std::size_t k = 0; k < kBlock; ++k)
            out[k] = texel16(&in[4 * k]);
        std::memcpy(&pages16[2 * i], out.data(), sizeof out);
    }
    for (; i < texels; ++i) {
        const std::uint16_t word = texel16(&pages32[4 * i]);
        pages16[2 * i] = static_cast<std::uint8_t>(word);
        pages16[2 * i + 1] = static_cast<std::uint8_t>(word >> 8);
    }
}

} // namespace veltrane::level
