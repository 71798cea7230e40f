#include "support/plain_zlib.h"

#include "io/byte_reader.h"
#include "level/level_file.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace veltrane::testing {

void expectPlainZlibChunks(std::span<const std::uint8_t> file) {
    const auto level = level::decodeLevel(file);
    ASSERT_TRUE(level.ok()) << level.error();
    io::ByteReader in(file, "file");
    in.skip(10, "header");
    const std::vector<std::uint8_t>* read[] = {&level->Pages32, &level->Pages16, &level->PagesMisc, &level->LevelData};
    for (std::size_t chunk = 0; chunk < std::size(read); ++chunk) {
        // One byte more than stated, so that a stream that gives more shows.
        std::vector<std::uint8_t> inflated(in.u32("inflated size") + std::size_t{1});
        const auto packed = in.bytes(in.u32("packed size"), "packed data");
        uLongf length = inflated.size();
        EXPECT_EQ(uncompress(inflated.data(), &length, packed.data(), packed.size()), Z_OK);
        inflated.resize(length);
        EXPECT_TRUE(inflated == *read[chunk]) << "chunk " << chunk << " inflates to other bytes";
    }
}

} // namespace veltrane::testing
