#include "support/consistency.h"
#include "builders/wad_writer.h"
#include "level/mesh_block.h"
#include "demo/demo_library.h"
#include "wad/wad_pages.h"

#include <gtest/gtest.h>

#include <set>

namespace veltrane {
namespace {

using demo::DemoScale;
using Problems = std::vector<std::string>;

void expectRoundTrip(const wad::WadLibrary& built) {
    const auto bytes = builders::encodeLibrary(built);
    const auto read = wad::decodeLibrary(bytes);
    ASSERT_TRUE(read) << read.error();
    EXPECT_TRUE(read.value() == built);
    EXPECT_EQ(builders::encodeLibrary(read.value()), bytes);
}

TEST(DemoLibrary, EncodesDecodesAndEncodesAgainToTheSameLibrary) {
    expectRoundTrip(demo::demoLibrary(DemoScale::Normal));
}

TEST(DemoLibrary, IsTheSameOnEveryRun) {
    EXPECT_TRUE(demo::demoLibrary(DemoScale::Normal) == demo::demoLibrary(DemoScale::Normal));
}

TEST(DemoLibrary, TablesAndTexturesReferToWhatIsThere) {
    const auto library = demo::demoLibrary(DemoScale::Normal);
    EXPECT_EQ(builders::objectTableProblems(library), Problems{});
    EXPECT_EQ(builders::textureProblems(library), Problems{});
    EXPECT_GE(library.StaticMeshes.size(), 2u);
}

TEST(DemoLibrary, PagesConvertWithSeeThroughTexels) {
    const auto library = demo::demoLibrary(DemoScale::Normal);
    ASSERT_EQ(library.TextureBytes.size() % wad::kWadPageBytes, 0u);
    const std::size_t pages = library.TextureBytes.size() / wad::kWadPageBytes;
    EXPECT_GE(pages, 2u);
    const auto converted = wad::convertPages(library.TextureBytes);
    ASSERT_EQ(converted.size(), pages * level::kPageBytes32);
    std::size_t seeThrough = 0;
    std::set<std::uint32_t> colours;
    for (std::size_t at = 0; at < converted.size(); at += 4) {
        if (converted[at + 3] == 0)
            ++seeThrough;
        else
            colours.insert(converted[at] | converted[at + 1] << 8 | converted[at + 2] << 16);
    }
    EXPECT_GT(seeThrough, 0u);
    EXPECT_GT(colours.size(), 100u) << "patterns, not flat colour";
}

TEST(DemoLibrary, FacesUseSamplesPlainMirroredAndTranslucent) {
    const auto library = demo::demoLibrary(DemoScale::Normal);
    const auto meshes = level::parseMeshBlock(level::wordBytes(library.MeshWords), level::MeshKind::Library);
    std::set<std::string> seen;
    for (const auto& mesh : meshes.meshes()) {
        for (const auto& polygon : mesh.Polygons) {
            const bool mirrored = (polygon.Texture & 0x8000) != 0;
            if (polygon.Shape == level::kShapeQuad) {
                seen.insert(mirrored ? "mirrored quad" : "quad");
            } else if (polygon.Shape == level::kShapeTriangle) {
                seen.insert(mirrored ? "mirrored triangle" : "triangle");
                seen.insert("orientation " + std::to_string(polygon.Texture >> 12 & 7));
            }
            if (polygon.Attribute & 1)
                seen.insert("translucent");
        }
    }
    EXPECT_EQ(seen, (std::set<std::string>{"quad", "mirrored quad", "triangle", "mirrored triangle", "orientation 0",
                                           "orientation 2", "orientation 4", "orientation 6", "translucent"}));
}

TEST(DemoLibrary, WalkerIsAJointedFigureWithCommandsThatTakeOperands) {
    const auto library = demo::demoLibrary(DemoScale::Normal);
    ASSERT_FALSE(library.Moveables.empty());
    const auto& walker = library.Moveables[0];
    EXPECT_GE(walker.MeshCount, 6);
    std::set<std::uint32_t> flags;
    for (std::size_t node = 0; node + 1 < walker.MeshCount; ++node)
        flags.insert(library.MeshTrees[walker.MeshTree + 4 * node]);
    EXPECT_TRUE(flags.contains(1) && flags.contains(2)) << "the tree pushes and pops";

    // The walker's animations end where the next animated moveable's begin.
    std::size_t end = library.Animations.size();
    for (std::size_t m = 1; m < library.Moveables.size(); ++m)
        if (library.Moveables[m].Animation != 0xFFFF) {
            end = library.Moveables[m].Animation;
            break;
        }
    std::set<std::uint16_t> opcodes;
    std::size_t stateChanges = 0;
    for (std::size_t a = walker.Animation; a < end; ++a) {
        const auto& animation = library.Animations[a];
        stateChanges += animation.StateChangeCount;
        // A library animation's command offset counts bytes.
        std::size_t word = animation.AnimCommandOffset / 2u;
        for (std::size_t c = 0; c < animation.AnimCommandCount; ++c) {
            const std::uint16_t opcode = library.AnimCommands[word];
            opcodes.insert(opcode);
            word += 1 + (opcode == 1 ? 3 : opcode == 2 || opcode == 5 || opcode == 6 ? 2 : 0);
        }
    }
    EXPECT_GT(stateChanges, 2u);
    EXPECT_TRUE(opcodes.contains(1) && opcodes.contains(2) && opcodes.contains(5) && opcodes.contains(6));
}

TEST(DemoLibrary, WalkerMovesBetweenKeyframes) {
    const auto library = demo::demoLibrary(DemoScale::Normal);
    const auto& walker = library.Moveables[0];
    const auto& walk = library.Animations[walker.Animation + 1];
    ASSERT_GT(walk.FrameEnd, walk.FrameStart);
    // Rotation words start after the bounding box and the root offset.
    const auto rotations = [&](std::size_t keyframe) {
        const auto first = library.Frames.begin() + walk.FrameOffset / 2 + keyframe * walk.FrameSize;
        return std::vector<std::uint16_t>(first + 9, first + walk.FrameSize);
    };
    EXPECT_NE(rotations(0), rotations(2));
}

TEST(DemoLibrary, AMoveableWithoutAnimationsSitsBetweenAnimatedOnes) {
    const auto library = demo::demoLibrary(DemoScale::Normal);
    std::size_t without = library.Moveables.size();
    for (std::size_t m = 0; m < library.Moveables.size(); ++m)
        if (library.Moveables[m].Animation == 0xFFFF)
            without = std::min(without, m);
    ASSERT_LT(without, library.Moveables.size());
    EXPECT_GT(without, 0u);
    EXPECT_LT(without + 1, library.Moveables.size());
}

TEST(DemoLibrary, LargeLibraryHasTheScaleOfAGameLibraryAndHoldsTogether) {
    const auto library = demo::demoLibrary(DemoScale::Large);
    EXPECT_EQ(library.TextureBytes.size(), 30 * wad::kWadPageBytes);
    EXPECT_EQ(library.MeshPointers.size(), 1200u);
    EXPECT_EQ(library.Moveables.size(), 100u);
    EXPECT_EQ(library.StaticMeshes.size(), 60u);
    expectRoundTrip(library);
    EXPECT_EQ(builders::objectTableProblems(library), Problems{});
    EXPECT_EQ(builders::textureProblems(library), Problems{});
}

} // namespace
} // namespace veltrane
