#include "level/pages.h"

#include <gtest/gtest.h>

namespace veltrane::level {
namespace {

TEST(Pages, SixteenBitTexelsTakeFiveBitsOfRedGreenBlueAndTheAlphaBit) {
    const std::vector<std::uint8_t> texels = {
        255, 0, 0, 255,    // blue, opaque
        0, 0, 255, 255,    // red, opaque
        0, 255, 0, 254,    // green, not opaque
        16, 100, 200, 255, // 16*31/255 = 1, 100*31/255 = 12, 200*31/255 = 24
        7,                 // a stray byte after the last whole texel
    };
    const auto pages16 = convertPagesTo16(texels);
    ASSERT_EQ(pages16.size(), 8u);
    const auto word = [&](std::size_t i) { return pages16[2 * i] | pages16[2 * i + 1] << 8; };
    EXPECT_EQ(word(0), 0x801F);
    EXPECT_EQ(word(1), 0xFC00);
    EXPECT_EQ(word(2), 0x03E0);
    EXPECT_EQ(word(3), 0x8000 | 24 << 10 | 12 << 5 | 1);
    EXPECT_EQ(wholePages(2 * kPageBytes32 - 1, kPageBytes32), 1u);
}

} // namespace
} // namespace veltrane::level
