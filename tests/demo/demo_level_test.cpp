#include "level/level_data.h"
#include "level/level_file.h"
#include "support/consistency.h"
#include "builders/pages.h"
#include "demo/demo_level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace veltrane {
namespace {

using demo::DemoScale;
using Problems = std::vector<std::string>;

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

std::uint16_t u16At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint16_t value;
    std::memcpy(&value, bytes.data() + at, 2);
    return value;
}

// The level as a reader gives it back: with the level-data block and packed sizes of its encoding.
level::Tr4Level asRead(level::Tr4Level level, const level::EncodedLevel& encoded) {
    level.LevelData = encoded.levelData;
    level.Pages32PackedSize = encoded.packedSizes[0];
    level.Pages16PackedSize = encoded.packedSizes[1];
    level.PagesMiscPackedSize = encoded.packedSizes[2];
    level.LevelDataPackedSize = encoded.packedSizes[3];
    return level;
}

// What a game file shows another tool: the header, the markers, pages that fill both page chunks.
void expectGameShape(const level::Tr4Level& level, const std::vector<std::uint8_t>& file) {
    ASSERT_GE(file.size(), 18u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), std::string("TR4\0", 4));
    const std::uint32_t pages = u16At(file, 4) + u16At(file, 6) + u16At(file, 8);
    EXPECT_EQ(u16At(file, 8), 0) << "bump pages";
    EXPECT_GT(pages, 0u);
    EXPECT_EQ(u32At(file, 10), pages * level::kPageBytes32) << "stated size of the 32-bit pages";
    EXPECT_EQ(level.PageCount, pages);
    EXPECT_EQ(level.Pages32.size(), pages * level::kPageBytes32);
    EXPECT_EQ(level.Pages16.size(), pages * level::kPageBytes16);
    EXPECT_EQ(level.Pages16, builders::pages16From32(level.Pages32)) << "the 16-bit pages show the 32-bit ones";
    EXPECT_EQ(level.PagesMisc.size(), 2 * level::kPageBytes32);
    EXPECT_FALSE(level.LevelData.empty());
    for (std::uint32_t packed :
         {level.Pages32PackedSize, level.Pages16PackedSize, level.PagesMiscPackedSize, level.LevelDataPackedSize})
        EXPECT_GT(packed, 0u);
    EXPECT_EQ(level.SpriteMarker, (level::Opaque<3>{'S', 'P', 'R'}));
    EXPECT_EQ(level.TextureMarker, (level::Opaque<4>{0, 'T', 'E', 'X'}));
}

TEST(DemoLevel, EncodesDecodesAndEncodesAgainToTheSameLevel) {
    const auto built = demo::demoLevel(DemoScale::Normal);
    const auto encoded = level::encodeLevel(built);
    ASSERT_TRUE(encoded) << encoded.error();
    const auto read = level::decodeLevel(encoded->file);
    ASSERT_TRUE(read) << read.error();
    EXPECT_TRUE(read.value() == asRead(built, encoded.value()));
    const auto again = level::encodeLevel(read.value());
    ASSERT_TRUE(again) << again.error();
    EXPECT_EQ(again->file, encoded->file);
    expectGameShape(read.value(), encoded->file);
}

TEST(DemoLevel, IsTheSameOnEveryRun) {
    EXPECT_TRUE(demo::demoLevel(DemoScale::Normal) == demo::demoLevel(DemoScale::Normal));
}

TEST(DemoLevel, TablesAndTexturesReferToWhatIsThere) {
    const auto level = demo::demoLevel(DemoScale::Normal);
    EXPECT_EQ(builders::objectTableProblems(level), Problems{});
    EXPECT_EQ(builders::textureProblems(level), Problems{});
    EXPECT_EQ(level.NumRoomPages + level.NumObjectPages, 7);
    EXPECT_GE(level.Rooms.size(), 3u);
    for (const auto& room : level.Rooms) {
        EXPECT_GT(room.NumVertices, 100);
        EXPECT_GT(room.NumRectangles, 100);
        EXPECT_GT(room.NumTriangles, 0);
        EXPECT_FALSE(room.Portals.empty());
        EXPECT_FALSE(room.Lights.empty());
        EXPECT_FALSE(room.RoomStatics.empty());
    }
    EXPECT_FALSE(level.Items.empty());
    EXPECT_FALSE(level.SoundDetails.empty());
    EXPECT_EQ(level.Zones.size(), level.Boxes.size());
    EXPECT_FALSE(level.Overlaps.empty());
    EXPECT_FALSE(level.SampleIndices.empty());
}

TEST(DemoLevel, PlayerIsAJointedFigureWithLinkedAnimations) {
    const auto level = demo::demoLevel(DemoScale::Normal);
    ASSERT_FALSE(level.Moveables.empty());
    const auto& player = level.Moveables[0];
    EXPECT_EQ(player.ObjectId, 0u);
    EXPECT_EQ(player.MeshCount, 15);
    std::set<std::uint32_t> flags;
    for (std::size_t node = 0; node + 1 < player.MeshCount; ++node)
        flags.insert(level.MeshTrees[player.MeshTree + 4 * node]);
    EXPECT_EQ(flags, (std::set<std::uint32_t>{0, 1, 2, 3}));

    const auto& stand = level.Animations[player.Animation];
    EXPECT_GT(stand.StateChangeCount, 1);
    const auto& walk = level.Animations[player.Animation + 1];
    EXPECT_GT(walk.AnimCommandCount, 0);
    EXPECT_EQ(level.AnimCommands[walk.AnimCommandOffset], 5) << "the walk starts with a footstep sound";
}

TEST(DemoLevel, LargeLevelHasTheScaleOfAGameLevelAndRoundTrips) {
    const auto built = demo::demoLevel(DemoScale::Large);
    EXPECT_EQ(built.PageCount, 48u);
    EXPECT_EQ(built.Rooms.size(), 150u);
    EXPECT_EQ(built.MeshPointers.size(), 1500u);
    EXPECT_EQ(built.Moveables.size(), 150u);
    EXPECT_EQ(built.StaticMeshes.size(), 80u);
    EXPECT_EQ(built.Animations.size(), 2500u);
    EXPECT_NEAR(static_cast<double>(built.Frames.size()), 300000.0, 15000.0);
    EXPECT_EQ(built.ObjectTextures.size(), 3000u);

    const auto encoded = level::encodeLevel(built);
    ASSERT_TRUE(encoded) << encoded.error();
    const auto read = level::decodeLevel(encoded->file);
    ASSERT_TRUE(read) << read.error();
    EXPECT_TRUE(read.value() == asRead(built, encoded.value()));
    EXPECT_EQ(level::serialiseLevelData(read.value()), encoded->levelData);
    expectGameShape(read.value(), encoded->file);
}

TEST(DemoLevel, LargeLevelTablesReferToWhatIsThere) {
    const auto level = demo::demoLevel(DemoScale::Large);
    EXPECT_EQ(builders::objectTableProblems(level), Problems{});
    EXPECT_EQ(builders::textureProblems(level), Problems{});
}

} // namespace
} // namespace veltrane
