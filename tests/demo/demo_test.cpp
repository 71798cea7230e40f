#include "demo/demo_files.h"
#include "demo/demo_level.h"
#include "demo/demo_library.h"
#include "level/animation_tables.h"
#include "level/level_data.h"
#include "level/level_document.h"
#include "level/mesh_block.h"
#include "level/mesh_tree.h"
#include "builders/table_check.h"
#include "support/fingerprint.h"
#include "support/temp_folder.h"
#include "wad/library_document.h"

#include <gtest/gtest.h>

#include <set>

namespace veltrane {
namespace {

using demo::DemoScale;
using Problems = std::vector<std::string>;

// The mesh-tree flags a moveable's tree uses.
std::set<std::uint32_t> treeFlags(const std::vector<std::uint32_t>& trees, const level::Tr4Moveable& moveable) {
    std::set<std::uint32_t> flags;
    for (std::size_t node = 0; node < level::meshTreeWords(moveable); node += level::kMeshTreeNodeWords)
        flags.insert(trees[moveable.MeshTree + node]);
    return flags;
}

TEST(Demo, TheFilesAreWrittenWithTheBytesTheyAlwaysHaveAndAFolderThatCannotBeMadeIsReported) {
    const testing::TempFolder folder;
    const auto written = demo::writeDemoFiles(folder / "demo", DemoScale::Normal);
    ASSERT_TRUE(written) << written.error();
    EXPECT_EQ(written->target, folder / "demo" / "target.tr4");
    EXPECT_EQ(testing::fingerprint(testing::TempFolder::read(written->target)), 0x459222024b5eaa63u);
    EXPECT_EQ(testing::fingerprint(testing::TempFolder::read(written->source)), 0xed949620d56ccb8eu);
    const auto blocked = demo::writeDemoFiles(written->target / "demo", DemoScale::Normal);
    EXPECT_NE(blocked.error().find("cannot make the folder"), std::string::npos) << blocked.error();
}

TEST(Demo, BothScalesRoundTripLookLikeGameFilesAndHoldTogether) {
    for (const auto scale : {DemoScale::Normal, DemoScale::Large}) {
        const auto level = demo::demoLevel(scale);
        const auto encoded = level::encodeLevel(level);
        const auto read = level::decodeLevel(encoded->file);
        ASSERT_TRUE(read) << read.error();
        EXPECT_EQ(level::serialiseLevelData(read.value()), encoded->levelData);
        EXPECT_EQ(read->Pages16, level::convertPagesTo16(read->Pages32)) << "the 16-bit pages show the 32-bit ones";
        EXPECT_EQ(read->PageCount, std::uint32_t{read->NumRoomPages} + read->NumObjectPages);
        EXPECT_EQ(read->PagesMisc.size(), 2 * level::kPageBytes32);
        EXPECT_EQ(builders::tableProblems(level), Problems{});

        const auto library = demo::demoLibrary(scale);
        const auto bytes = wad::encodeLibrary(library);
        EXPECT_TRUE(wad::decodeLibrary(bytes).value() == library);
        EXPECT_EQ(builders::tableProblems(library), Problems{});
    }
    const auto large = demo::demoLevel(DemoScale::Large);
    EXPECT_EQ(large.PageCount, 48u);
    EXPECT_EQ(large.Rooms.size(), 150u);
    EXPECT_EQ(large.Moveables.size(), 150u);
    EXPECT_EQ(large.Animations.size(), 2500u);
    EXPECT_EQ(demo::demoLibrary(DemoScale::Large).Moveables.size(), 100u);
}

TEST(Demo, TheTargetHasRoomsAndAJointedPlayerWithLinkedAnimations) {
    const auto level = demo::demoLevel(DemoScale::Normal);
    EXPECT_GE(level.Rooms.size(), 3u);
    for (const auto& room : level.Rooms) {
        EXPECT_GT(room.NumRectangles, 100);
        EXPECT_FALSE(room.Portals.empty() || room.Lights.empty() || room.RoomStatics.empty());
    }
    EXPECT_FALSE(level.Items.empty() || level.SoundDetails.empty() || level.Overlaps.empty());
    const auto& player = level.Moveables.at(0);
    EXPECT_EQ(player.MeshCount, 15);
    EXPECT_EQ(treeFlags(level.MeshTrees, player), (std::set<std::uint32_t>{0, 1, 2, 3}));
    EXPECT_GT(level.Animations[player.Animation].StateChangeCount, 1);
    const auto& walk = level.Animations[player.Animation + 1];
    EXPECT_EQ(level.AnimCommands.at(walk.AnimCommandOffset), 5) << "the walk starts with a footstep sound";
}

TEST(Demo, TheSourceUsesEveryKindOfFaceAndCommandAndHasAnUnanimatedMoveableBetweenAnimatedOnes) {
    const auto document = wad::makeLibraryDocument(demo::demoLibrary(DemoScale::Normal));
    const auto& library = document.library;
    std::set<std::string> seen;
    for (const auto& mesh : document.meshes.meshes())
        for (const auto& polygon : mesh.Polygons) {
            const auto named = level::libraryFaceTexture(polygon.Shape, polygon.Texture);
            const std::string shape = polygon.Shape == level::kShapeQuad ? "quad" : "triangle";
            seen.insert(named.mirrored ? "mirrored " + shape : shape);
            if (polygon.Shape == level::kShapeTriangle)
                seen.insert("orientation " + std::to_string(named.orientation));
            if (polygon.Attribute & 1)
                seen.insert("translucent");
        }
    EXPECT_EQ(seen, (std::set<std::string>{"quad", "mirrored quad", "triangle", "mirrored triangle", "orientation 0",
                                           "orientation 2", "orientation 4", "orientation 6", "translucent"}));
    std::size_t transparent = 0;
    for (std::size_t at = 3; at < document.pages.pages32.size(); at += 4)
        transparent += document.pages.pages32[at] == 0;
    EXPECT_GT(transparent, 0u);

    const auto& walker = library.Moveables.at(0);
    EXPECT_TRUE(treeFlags(library.MeshTrees, walker).contains(level::kFromPopped));
    const auto animations = level::moveableAnimations(library.Moveables, 0, library.Animations.size()).value();
    std::set<std::uint16_t> opcodes;
    for (std::uint32_t a = animations.first; a < animations.first + animations.count; ++a) {
        const auto& animation = library.Animations[a];
        std::size_t word = animation.AnimCommandOffset / wad::kCommandOffsetBytesPerWord;
        for (std::size_t c = 0; c < animation.AnimCommandCount; ++c) {
            opcodes.insert(library.AnimCommands[word]);
            word += 1 + level::commandOperandCount(library.AnimCommands[word]);
        }
    }
    EXPECT_EQ(opcodes, (std::set<std::uint16_t>{1, 2, 3, 5, 6}));
    std::size_t without = 0;
    while (without < library.Moveables.size() && library.Moveables[without].Animation != level::kNoAnimation)
        ++without;
    EXPECT_GT(without, 0u);
    EXPECT_LT(without + 1, library.Moveables.size());
}

} // namespace
} // namespace veltrane
