#include "merge/page_conversion.h"

namespace veltrane::merge {

std::vector<std::uint8_t> ConvertPagesTo16(std::span<const std::uint8_t> pages32) {
    const std::size_t texels = pages32.size() / 4;
    std::vector<std::uint8_t> pages16(texels * 2);
    for (std::size_t i = 0; i < texels; ++i) {
        const std::uint32_t blue = pages32[4 * i];
        const std::uint32_t green = pages32[4 * i + 1];
        const std::uint32_t red = pages32[4 * i + 2];
        const std::uint32_t alpha = pages32[4 * i + 3];
        std::uint32_t word = (red * 31 / 255) << 10 | (green * 31 / 255) << 5 | (blue * 31 / 255);
        if (alpha == 255)
            word |= 0x8000;
        pages16[2 * i] = static_cast<std::uint8_t>(word);
        pages16[2 * i + 1] = static_cast<std::uint8_t>(word >> 8);
    }
    return pages16;
}

} // namespace veltrane::merge
