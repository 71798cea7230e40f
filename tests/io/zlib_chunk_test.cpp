#include "io/zlib_chunk.h"

#include <gtest/gtest.h>
#include <random>
#include <zlib.h>

namespace veltrane::io {
namespace {

std::vector<std::uint8_t> randomBytes(std::size_t count) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> bytes(count);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// Compressible text with runs that repeat across block borders, so that blocks lean on the bytes
// before them.
std::vector<std::uint8_t> repetitiveBytes(std::size_t count) {
    std::mt19937 random(11);
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 1000 < 500 ? "veltrane"[i % 8] : random() % 4);
    return bytes;
}

std::vector<std::uint8_t> plainlyUncompressed(std::span<const std::uint8_t> packed, std::size_t size) {
    std::vector<std::uint8_t> back(size + 1);
    uLongf length = back.size();
    EXPECT_EQ(uncompress(back.data(), &length, packed.data(), packed.size()), Z_OK);
    back.resize(length);
    return back;
}

TEST(ZlibChunk, ChunksOfAnySizeInBlocksOnAnyThreadCountAreOneStreamThatPlainUncompressReads) {
    constexpr std::size_t block = 4096;
    for (const unsigned threads : {1u, 2u, 7u}) {
        for (const std::size_t size : {std::size_t{0}, std::size_t{1}, block - 1, block, block + 1, 3 * block + 100,
                                       std::size_t{40} * block}) {
            for (const bool incompressible : {false, true}) {
                const auto data = incompressible ? randomBytes(size) : repetitiveBytes(size);
                BlockDeflate deflate;
                TaskPool pool(threads);
                deflate.start(pool, data, block);
                pool.wait();
                const auto packed = deflate.join().value();
                EXPECT_EQ(plainlyUncompressed(packed, size), data)
                    << size << " bytes, " << threads << " threads" << (incompressible ? ", random" : "");
                EXPECT_EQ(inflateChunk(packed, static_cast<std::uint32_t>(size)).value(), data);
            }
        }
    }
}

TEST(ZlibChunk, InflateGivesExactlyTheStatedSizeOrSaysWhy) {
    const auto packed = deflateChunk(std::vector<std::uint8_t>(1000, 7)).value();
    EXPECT_TRUE(inflateChunk(packed, 1000).ok());
    EXPECT_EQ(inflateChunk(packed, 1200).error(), "inflates to 1000 bytes, not the stated 1200");
    EXPECT_EQ(inflateChunk(packed, 999).error(), "inflates to more than its stated 999 bytes");

    auto damaged = deflateChunk(randomBytes(5000)).value();
    EXPECT_FALSE(inflateChunk(std::span(damaged).first(100), 5000).ok());
    damaged[0] ^= 0xFF;
    EXPECT_NE(inflateChunk(damaged, 5000).error().find("cannot be inflated"), std::string::npos);

    // A stated size beyond what zlib can expand the bytes to is refused before any memory is asked for.
    const std::vector<std::uint8_t> ten(10, 0);
    EXPECT_EQ(inflateChunk(ten, 0xF0000000u).error(),
              "states an inflated size of 4026531840 bytes, more than 10 packed bytes can hold");
    EXPECT_NE(inflateChunk(ten, 74 * kMaxInflateRatio).error().find("cannot be inflated"), std::string::npos);
}

} // namespace
} // namespace veltrane::io
