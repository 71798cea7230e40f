#include "level/pages.h"

#include "level/texel_blocks.h"

namespace veltrane::level {
namespace {

// c * 31 / 255, rounded down, for an 8-bit c: the high half of a 16-bit product (7968 is 65536 * 31 / 255
// rounded up), which the compiler turns into one multiplication for many texels at once.
constexpr std::uint16_t fiveBits(std::uint16_t c) {
    return static_cast<std::uint16_t>((std::uint32_t{c} * 7968u) >> 16);
}
static_assert([] {
    for (std::uint16_t c = 0; c < 256; ++c)
        if (fiveBits(c) != c * 31 / 255)
            return false;
    return true;
}());

// The 16-bit word of a B, G, R, A texel (a lambda, for convertTexels).
constexpr auto texel16 = [](const std::uint8_t* texel) {
    return static_cast<std::uint16_t>(fiveBits(texel[2]) << 10 | fiveBits(texel[1]) << 5 | fiveBits(texel[0]) |
                                      (texel[3] == 255 ? 0x8000 : 0));
};

} // namespace

std::vector<std::uint8_t> convertPagesTo16(std::span<const std::uint8_t> pages32) {
    std::vector<std::uint8_t> pages16(pages32.size() / 4 * 2);
    convertPagesTo16(pages32, pages16);
    return pages16;
}

void convertPagesTo16(std::span<const std::uint8_t> pages32, std::span<std::uint8_t> pages16) {
    convertTexels<4, std::uint16_t>(pages32.data(), pages16.data(), pages32.size() / 4, texel16);
}

} // namespace veltrane::level
