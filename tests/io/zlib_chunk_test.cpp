#include "io/zlib_chunk.h"

#include <gtest/gtest.h>
#include <random>
#include <zlib.h>

using namespace veltrane::io;

namespace {

std::vector<std::uint8_t> randomBytes(std::size_t count) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> bytes(count);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

} // namespace

TEST(ZlibChunk, EveryDeflatedChunkInflatesWithPlainUncompress) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{70000}, std::size_t{1} << 20}) {
        for (const bool incompressible : {false, true}) {
            const auto data = incompressible ? randomBytes(size) : std::vector<std::uint8_t>(size, 42);
            auto packed = deflateChunk(data);
            ASSERT_TRUE(packed.ok());
            std::vector<std::uint8_t> back(size + 1);
            uLongf length = back.size();
            ASSERT_EQ(uncompress(back.data(), &length, packed->data(), packed->size()), Z_OK);
            back.resize(length);
            EXPECT_EQ(back, data) << size << (incompressible ? " random" : " constant");
            if (incompressible && size > 0) {
                EXPECT_GT(packed->size(), size) << "random data grows but is still written whole";
            }
        }
    }
}

TEST(ZlibChunk, InflateMustGiveExactlyTheStatedSize) {
    const std::vector<std::uint8_t> data(1000, 7);
    auto packed = deflateChunk(data);
    ASSERT_TRUE(packed.ok());
    EXPECT_TRUE(inflateChunk(packed.value(), 1000).ok());
    EXPECT_EQ(inflateChunk(packed.value(), 1200).error(), "inflates to 1000 bytes, not the stated 1200");
    EXPECT_EQ(inflateChunk(packed.value(), 999).error(), "inflates to more than its stated 999 bytes");
}

TEST(ZlibChunk, DamagedOrTruncatedStreamsAreRefused) {
    auto packed = deflateChunk(randomBytes(5000)).value();
    auto truncated = std::vector<std::uint8_t>(packed.begin(), packed.begin() + 100);
    EXPECT_FALSE(inflateChunk(truncated, 5000).ok());
    packed[0] ^= 0xFF;
    EXPECT_NE(inflateChunk(packed, 5000).error().find("cannot be inflated"), std::string::npos);
}

TEST(ZlibChunk, AnImplausibleInflatedSizeIsRefusedBeforeAllocating) {
    const std::vector<std::uint8_t> packed(10, 0);
    const auto result = inflateChunk(packed, 0xF0000000u);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), "states an inflated size of 4026531840 bytes, more than 10 packed bytes can hold");
}
