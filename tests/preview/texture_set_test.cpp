#include "mesh_fixtures.h"
#include "recording_device.h"

#include "preview/texture_set.h"

#include <gtest/gtest.h>

namespace veltrane::preview {
namespace {

using testing::RecordedTexture;
using testing::RecordingDevice;

const RecordedTexture& recorded(const PageTexture* texture) { return dynamic_cast<const RecordedTexture&>(*texture); }

TEST(TextureSet, ThirtyTwoBitTexturesTakeEachWholePageAsItStands) {
    std::vector<std::uint8_t> pages32(2 * level::kPageBytes32 + 7);
    pages32[level::kPageBytes32] = 0x11; // first byte of page 1
    RecordingDevice device;
    trTextura set(pages32, {});
    EXPECT_EQ(set.pageCount, 2) << "whole pages only";
    EXPECT_FALSE(set.uses32);
    EXPECT_EQ(set.Create32BitTextures(nullptr), E_FAIL);
    ASSERT_EQ(set.Create32BitTextures(&device), 0);
    EXPECT_TRUE(set.uses32);
    ASSERT_EQ(set.textures32.size(), 2u);
    EXPECT_EQ(recorded(set.TextureFor(1)).format, TextureFormat::A8R8G8B8);
    EXPECT_EQ(recorded(set.TextureFor(1)).bytes.size(), level::kPageBytes32);
    EXPECT_EQ(recorded(set.TextureFor(1)).bytes[0], 0x11);
    EXPECT_EQ(set.TextureFor(2), nullptr);
    EXPECT_EQ(set.TextureFor(-1), nullptr);
}

TEST(TextureSet, SixteenBitTexturesTakeAsManyPagesFromThe16BitChunk) {
    const std::vector<std::uint8_t> pages32(3 * level::kPageBytes32);
    std::vector<std::uint8_t> pages16(2 * level::kPageBytes16); // one page short
    pages16[level::kPageBytes16] = 0x22;
    RecordingDevice device;
    trTextura set(pages32, pages16);
    EXPECT_EQ(set.Create16BitTextures(nullptr), E_FAIL);
    ASSERT_EQ(set.Create16BitTextures(&device), 0);
    EXPECT_FALSE(set.uses32);
    ASSERT_EQ(set.textures16.size(), 3u);
    EXPECT_EQ(recorded(set.TextureFor(1)).format, TextureFormat::X1R5G5B5);
    EXPECT_EQ(recorded(set.TextureFor(1)).bytes.size(), level::kPageBytes16);
    EXPECT_EQ(recorded(set.TextureFor(1)).bytes[0], 0x22);
    EXPECT_EQ(set.TextureFor(2), nullptr) << "no whole page to show";
    EXPECT_EQ(set.texture32(0), nullptr) << "the 32-bit table was never made";

    const std::vector<std::uint8_t> bytes(4 * 4 * 2);
    EXPECT_EQ(CreatePageTexture(device, 4, 4, TextureFormat::A8R8G8B8, bytes), nullptr) << "too few bytes";
    EXPECT_NE(CreatePageTexture(device, 4, 4, TextureFormat::X1R5G5B5, bytes), nullptr);
}

} // namespace
} // namespace veltrane::preview
