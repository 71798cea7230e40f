#include "mesh_fixtures.h"
#include "recording_device.h"

#include "preview/texture_set.h"

#include <gtest/gtest.h>

namespace veltrane::preview {
namespace {

using testing::RecordedTexture;
using testing::RecordingDevice;

const RecordedTexture& recorded(const PageTexture* texture) { return dynamic_cast<const RecordedTexture&>(*texture); }

TEST(TextureSet, WholePagesOfThe32BitChunkCount) {
    level::Tr4Level level;
    level.Pages32 = testing::pageBytes(3, 4);
    EXPECT_EQ(trTextura(level).pageCount, 3);
    level.Pages32.resize(level.Pages32.size() + 7);
    EXPECT_EQ(trTextura(level).pageCount, 3);
}

TEST(TextureSet, ThirtyTwoBitTexturesTakeEachPageAsItStands) {
    level::Tr4Level level;
    level.Pages32 = testing::pageBytes(2, 4);
    level.Pages32[level::kPageBytes32] = 0x11; // first byte of page 1
    RecordingDevice device;
    trTextura set(level);
    EXPECT_FALSE(set.uses32);
    ASSERT_EQ(set.Create32BitTextures(&device), 0);
    EXPECT_TRUE(set.uses32);
    ASSERT_EQ(set.textures32.size(), 2u);
    const auto& page1 = recorded(set.TextureFor(1));
    EXPECT_EQ(page1.format, TextureFormat::A8R8G8B8);
    EXPECT_EQ(page1.bytes.size(), level::kPageBytes32);
    EXPECT_EQ(page1.bytes[0], 0x11);
    EXPECT_EQ(set.TextureFor(2), nullptr);
    EXPECT_EQ(set.TextureFor(-1), nullptr);
}

TEST(TextureSet, SixteenBitTexturesTakeAsManyPagesFromThe16BitChunk) {
    level::Tr4Level level;
    level.Pages32 = testing::pageBytes(3, 4);
    level.Pages16 = testing::pageBytes(2, 2); // one page short
    level.Pages16[level::kPageBytes16] = 0x22;
    RecordingDevice device;
    trTextura set(level);
    ASSERT_EQ(set.Create16BitTextures(&device), 0);
    EXPECT_FALSE(set.uses32);
    ASSERT_EQ(set.textures16.size(), 3u);
    EXPECT_EQ(recorded(set.TextureFor(1)).format, TextureFormat::X1R5G5B5);
    EXPECT_EQ(recorded(set.TextureFor(1)).bytes.size(), level::kPageBytes16);
    EXPECT_EQ(recorded(set.TextureFor(1)).bytes[0], 0x22);
    EXPECT_EQ(set.TextureFor(2), nullptr); // no whole page to show
    EXPECT_EQ(set.texture32(0), nullptr);  // the 32-bit table was never made
}

TEST(TextureSet, WithoutADeviceNothingIsMade) {
    level::Tr4Level level;
    level.Pages32 = testing::pageBytes(1, 4);
    trTextura set(level);
    EXPECT_EQ(set.Create32BitTextures(nullptr), E_FAIL);
    EXPECT_EQ(set.Create16BitTextures(nullptr), E_FAIL);
    EXPECT_TRUE(set.textures32.empty());
    EXPECT_FALSE(set.uses32);
}

TEST(TextureSet, PageTextureNeedsAWholeTextureOfBytes) {
    RecordingDevice device;
    const std::vector<std::uint8_t> bytes(4 * 4 * 2);
    EXPECT_EQ(CreatePageTexture(device, 4, 4, TextureFormat::A8R8G8B8, bytes), nullptr);
    EXPECT_NE(CreatePageTexture(device, 4, 4, TextureFormat::X1R5G5B5, bytes), nullptr);
}

} // namespace
} // namespace veltrane::preview
