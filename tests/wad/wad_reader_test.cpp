#include "io/byte_writer.h"
#include "wad/wad_library.h"

#include <gtest/gtest.h>

using namespace veltrane;
using io::ByteWriter;

namespace {

// A library written by hand: version, then twelve tables given as (count, element bytes).
std::vector<std::uint8_t> libraryBytes(std::uint32_t version, const std::array<std::uint32_t, 12>& counts,
                                       const std::array<std::size_t, 12>& elementSizes) {
    ByteWriter out;
    out.u32(version);
    for (std::size_t table = 0; table < 12; ++table) {
        out.u32(counts[table]);
        for (std::size_t byte = 0; byte < counts[table] * elementSizes[table]; ++byte)
            out.u8(static_cast<std::uint8_t>(byte));
    }
    return out.take();
}

constexpr std::array<std::size_t, 12> kElementSizes = {8, 1, 4, 2, 40, 6, 8, 2, 4, 2, 18, 32};

} // namespace

TEST(WadReader, AnEmptyLibraryIsFiftyTwoBytesAndReads) {
    const auto bytes = libraryBytes(129, {}, kElementSizes);
    ASSERT_EQ(bytes.size(), 52u);
    const auto library = wad::decodeLibrary(bytes);
    ASSERT_TRUE(library.ok()) << library.error();
    EXPECT_TRUE(library->Moveables.empty());
    EXPECT_TRUE(library->StaticMeshes.empty());
    EXPECT_TRUE(library->TextureBytes.empty());
}

TEST(WadReader, TablesAreReadInOrderWithTheirRecordSizes) {
    const auto bytes = libraryBytes(129, {2, 6, 1, 3, 1, 2, 1, 4, 4, 5, 3, 2}, kElementSizes);
    const auto library = wad::decodeLibrary(bytes);
    ASSERT_TRUE(library.ok()) << library.error();
    EXPECT_EQ(library->TextureSamples.size(), 2u);
    EXPECT_EQ(library->TextureSamples[1].Page, 0x0B0A);
    EXPECT_EQ(library->TextureSamples[1].AddHeight, 0x0F);
    EXPECT_EQ(library->Moveables.size(), 3u) << "18 bytes a moveable";
    EXPECT_EQ(library->Moveables[2].ObjectId, 0x27262524u);
    EXPECT_EQ(library->Moveables[2].Animation, 0x3534);
    EXPECT_EQ(library->StaticMeshes.size(), 2u);
    EXPECT_EQ(library->StaticMeshes[1].Flags, 0x3F3E);
    EXPECT_EQ(library->Frames.size(), 5u);
}

TEST(WadReader, AWrongVersionIsRefusedWithTheVersionInTheMessage) {
    const auto library = wad::decodeLibrary(libraryBytes(128, {}, kElementSizes));
    ASSERT_FALSE(library.ok());
    EXPECT_EQ(library.error(), "library: version is 128, not 129");
}

TEST(WadReader, ALibraryThatEndsBeforeItsTablesIsRefused) {
    const auto whole = libraryBytes(129, {2, 6, 1, 3, 1, 2, 1, 4, 4, 5, 3, 2}, kElementSizes);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const auto library = wad::decodeLibrary(std::span(whole).first(length));
        EXPECT_FALSE(library.ok()) << length;
    }
    const auto cut = wad::decodeLibrary(std::span(whole).first(whole.size() - 1));
    EXPECT_EQ(cut.error().rfind("library: static meshes runs past the end of the file", 0), 0u) << cut.error();
}

TEST(WadReader, AnImpossibleCountIsRefusedWithoutAllocating) {
    auto bytes = libraryBytes(129, {}, kElementSizes);
    bytes[8] = bytes[9] = bytes[10] = bytes[11] = 0xFF; // four billion texture bytes
    const auto library = wad::decodeLibrary(bytes);
    ASSERT_FALSE(library.ok());
    EXPECT_EQ(library.error().rfind("library: texture bytes runs past the end of the file", 0), 0u) << library.error();
}

TEST(WadReader, AMissingFileSaysSo) {
    const auto library = wad::readLibrary("/nonexistent/source.wad");
    ASSERT_FALSE(library.ok());
    EXPECT_NE(library.error().find("cannot open /nonexistent/source.wad"), std::string::npos);
}
