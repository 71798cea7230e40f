#include "io/byte_writer.h"
#include "io/format_error.h"
#include "wad/wad_library.h"

#include <gtest/gtest.h>

namespace veltrane::wad {
namespace {

constexpr std::array<std::size_t, 12> kElementSizes = {8, 1, 4, 2, 40, 6, 8, 2, 4, 2, 18, 32};

// A library written by hand: the version, then twelve tables of `counts` elements, each byte numbered.
std::vector<std::uint8_t> libraryBytes(std::uint32_t version, const std::array<std::uint32_t, 12>& counts) {
    io::ByteWriter out;
    out.u32(version);
    for (std::size_t table = 0; table < 12; ++table) {
        out.u32(counts[table]);
        for (std::size_t byte = 0; byte < counts[table] * kElementSizes[table]; ++byte)
            out.u8(static_cast<std::uint8_t>(byte));
    }
    return out.take();
}

TEST(WadFile, TablesAreReadInOrderWithTheirRecordSizesAndWrittenBackByteForByte) {
    EXPECT_TRUE(decodeLibrary(libraryBytes(129, {})).ok());
    const auto bytes = libraryBytes(129, {2, 6, 1, 3, 1, 2, 1, 4, 4, 5, 3, 2});
    const auto library = decodeLibrary(bytes);
    ASSERT_TRUE(library.ok()) << library.error();
    EXPECT_EQ(library->TextureSamples[1].Page, 0x0B0A);
    EXPECT_EQ(library->TextureSamples[1].AddHeight, 0x0F);
    EXPECT_EQ(library->TextureBytes.size(), 6u);
    EXPECT_EQ(library->Animations[0].AnimCommandOffset, 0x2726);
    EXPECT_EQ(library->Moveables.size(), 3u);
    EXPECT_EQ(library->Moveables[2].ObjectId, 0x27262524u);
    EXPECT_EQ(library->Moveables[2].Animation, 0x3534);
    EXPECT_EQ(library->StaticMeshes[1].Flags, 0x3F3E);
    EXPECT_EQ(library->Frames.size(), 5u);
    EXPECT_EQ(encodeLibrary(library.value()), bytes);
}

TEST(WadFile, AWrongVersionAnEndBeforeTheTablesAndImpossibleCountsAreRefused) {
    EXPECT_EQ(decodeLibrary(libraryBytes(128, {})).error(), "library: version is 128, not 129");
    const auto whole = libraryBytes(129, {2, 6, 1, 3, 1, 2, 1, 4, 4, 5, 3, 2});
    for (std::size_t length = 0; length < whole.size(); ++length)
        EXPECT_FALSE(decodeLibrary(std::span(whole).first(length)).ok()) << length;
    EXPECT_EQ(decodeLibrary(std::span(whole).first(whole.size() - 1)).error().rfind(
                  "library: static meshes runs past the end of the file", 0),
              0u);
    auto huge = libraryBytes(129, {});
    huge[8] = huge[9] = huge[10] = huge[11] = 0xFF; // four billion texture bytes
    EXPECT_EQ(decodeLibrary(huge).error().rfind("library: texture bytes runs past the end of the file", 0), 0u);
}

} // namespace
} // namespace veltrane::wad
