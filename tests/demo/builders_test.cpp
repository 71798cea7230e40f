#include "level/level_file.h"
#include "level/mesh_block.h"
#include "support/consistency.h"
#include "builders/level_builder.h"
#include "builders/mesh_blocks.h"
#include "builders/mesh_builder.h"
#include "builders/objects.h"
#include "builders/pages.h"
#include "builders/shapes.h"
#include "builders/texture_words.h"
#include "builders/wad_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace veltrane {
namespace {

using builders::MeshBuilder;
using level::MeshKind;
using Problems = std::vector<std::string>;

// Library meshes of every form: faces of shape 8, 9 and another, normals or shades, with and without
// a pad word, and a mesh with nothing but its sphere.
std::vector<level::MeshRecord> libraryMeshes() {
    return {MeshBuilder(MeshKind::Library)
                .vertex(0, 0, 0)
                .vertex(100, 0, 0)
                .vertex(100, -100, 0)
                .vertex(0, -100, 0)
                .normal(0, 0, -16384)
                .normal(0, 0, -16384)
                .normal(0, 0, -16384)
                .normal(0, 0, -16384)
                .quad({0, 1, 2, 3}, builders::libraryQuadTexture(5, true), 1, 7)
                .triangle({0, 1, 2}, builders::libraryTriangleTexture(3, 6, true))
                .polygon(3, 0x1234, 2, 9)
                .build(),
            MeshBuilder(MeshKind::Library).vertex(-5, 5, -5).shade(4096).shade(0).triangle({0, 0, 0}, 0).build(),
            MeshBuilder(MeshKind::Library).sphere({1, 2, 3}, 40).build(),
            builders::ShapeBuilder(MeshKind::Library, {{1, 2}, {3, 4}, 0}, true).prism(5, 100, -50, 0, true).build()};
}

TEST(LibraryMeshWriter, WritesMeshesThatTheParserReadsBackAsBuilt) {
    const auto meshes = libraryMeshes();
    ASSERT_TRUE(meshes[0].PadWord.has_value() != meshes[1].PadWord.has_value()) << "both pad cases are covered";
    const auto block = builders::writeLibraryMeshes(meshes);
    const auto parsed = level::parseMeshBlock(level::wordBytes(block.Words), MeshKind::Library);
    ASSERT_EQ(parsed.count(), static_cast<std::int32_t>(meshes.size()));
    ASSERT_EQ(block.Pointers.size(), meshes.size());
    for (std::size_t i = 0; i < meshes.size(); ++i) {
        EXPECT_EQ(block.Pointers[i] % 4, 0u);
        auto expected = meshes[i];
        expected.Offset = block.Pointers[i];
        EXPECT_EQ(*parsed.get(static_cast<std::int32_t>(i)), expected) << "mesh " << i;
    }
}

TEST(LibraryMeshWriter, AppendedMeshesAreFoundThroughTheirPointers) {
    auto library = builders::emptyLibrary();
    for (const auto& mesh : libraryMeshes())
        builders::appendMesh(library, mesh);
    const auto parsed = level::parseMeshBlock(level::wordBytes(library.MeshWords), MeshKind::Library);
    for (std::size_t i = 0; i < library.MeshPointers.size(); ++i)
        EXPECT_EQ(parsed.MeshIndexOf(library.MeshPointers[i]), static_cast<std::int32_t>(i));
}

TEST(LevelMeshes, SetMeshesParseBackAsBuiltAtTheirPointers) {
    auto level = builders::minimalLevel();
    const std::vector<level::MeshRecord> meshes = {
        builders::ShapeBuilder(MeshKind::Level, {{1}, {2}, 0}).block({-10, -10, -10}, {10, 10, 10}).build(),
        MeshBuilder(MeshKind::Level).vertex(1, 2, 3).build(),
        MeshBuilder(MeshKind::Level)
            .vertex(1, 2, 3)
            .vertex(4, 5, 6)
            .shade(1)
            .shade(2)
            .triangle({0, 1, 0}, 9, 1)
            .build()};
    const auto pointers = builders::setLevelMeshes(level, meshes);
    const auto parsed = level::parseMeshBlock(level::wordBytes(level.MeshWords), MeshKind::Level);
    ASSERT_EQ(parsed.count(), 3);
    EXPECT_EQ(pointers[1] + 24, pointers[2]) << "a mesh of one vertex and no faces takes 24 bytes";
    for (std::size_t i = 0; i < meshes.size(); ++i) {
        auto expected = meshes[i];
        expected.Offset = pointers[i];
        EXPECT_EQ(*parsed.get(static_cast<std::int32_t>(i)), expected) << "mesh " << i;
    }
}

TEST(MeshTree, ParentsBecomePushesAndPops) {
    // The third mesh hangs from the first: the first is pushed for the second and popped for the third.
    const std::vector<builders::Joint> fork = {{0, 100, 0, 0}, {0, 0, 50, 0}};
    const auto tree = builders::meshTree(fork);
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].Flags, builders::kPushPrevious);
    EXPECT_EQ(tree[1].Flags, builders::kFromPopped);

    // A root with three chains: push, keep, pop.
    const std::vector<builders::Joint> star = {{0}, {1}, {0}, {3}, {0}};
    std::vector<std::uint32_t> flags;
    for (const auto& node : builders::meshTree(star))
        flags.push_back(node.Flags);
    EXPECT_EQ(flags, (std::vector<std::uint32_t>{2, 0, 3, 0, 1}));

    // Mesh 3 cannot hang from mesh 1 once mesh 2 hung from mesh 0.
    const std::vector<builders::Joint> outOfOrder = {{0}, {0}, {1}};
    EXPECT_THROW(builders::meshTree(outOfOrder), std::logic_error);
}

// Two animations that lead into each other, with commands, state changes and dispatches.
builders::Moveable twoStepper(std::size_t meshes = 1) {
    builders::Moveable moveable;
    moveable.ObjectId = 7;
    moveable.Meshes.assign(meshes, MeshBuilder(MeshKind::Library).vertex(0, 0, 0).build());
    moveable.Tree.assign(meshes - 1, {builders::kFromPrevious, 0, 10, 0});
    builders::Animation first;
    first.FrameRate = 2;
    // A box, the root offset and one rotation a mesh about all three axes (two words each).
    const std::vector<std::uint16_t> keyframe(9 + 2 * meshes, 0);
    first.Keyframes = {keyframe, keyframe};
    first.NextAnimation = 1;
    first.NextFrame = 1;
    first.StateChanges = {{5, {{0, 1, 1, 0}, {2, 2, 1, 1}}}};
    first.Commands = {builders::AnimCommand::setPosition(1, 2, 3), builders::AnimCommand::emptyHands()};
    builders::Animation second = first;
    second.NextAnimation = 0;
    second.Commands = {builders::AnimCommand::playSound(1, 9)};
    moveable.Animations = {first, second};
    return moveable;
}

TEST(Moveables, LibraryCommandOffsetsCountBytesAndLevelOnesWords) {
    auto library = builders::emptyLibrary();
    auto level = builders::minimalLevel();
    auto levelForm = twoStepper();
    levelForm.Meshes = {MeshBuilder(MeshKind::Level).vertex(0, 0, 0).build()};
    for (int copy = 0; copy < 2; ++copy) {
        builders::appendMoveable(library, twoStepper());
        builders::appendMoveable(level, levelForm);
    }
    // The first copy's commands take 4 + 1 + 3 words; the second copy's start after them.
    EXPECT_EQ(library.Animations[2].AnimCommandOffset, 16);
    EXPECT_EQ(level.Animations[2].AnimCommandOffset, 8);
    EXPECT_EQ(library.Animations[2].NextAnimation, 3);
    EXPECT_EQ(library.AnimDispatches[4].NextAnimation, 3);
    // Frames count on through the moveable: the second animation starts at frame 3.
    EXPECT_EQ(library.Animations[3].FrameStart, 3);
    EXPECT_EQ(library.AnimDispatches[5].NextFrame, 4);
    EXPECT_EQ(library.AnimCommands[14], 4) << "the sound's frame is numbered like the others";
    EXPECT_EQ(builders::objectTableProblems(library), Problems{});
    EXPECT_EQ(builders::objectTableProblems(level), Problems{});
}

TEST(Moveables, AMoveableWithoutAnimationsIsMarkedInALibrary) {
    auto library = builders::emptyLibrary();
    builders::Moveable still;
    still.Meshes = {MeshBuilder(MeshKind::Library).vertex(0, 0, 0).build()};
    builders::appendMoveable(library, still);
    EXPECT_EQ(library.Moveables[0].Animation, 0xFFFF);
}

TEST(Moveables, AMoveableThatCannotBeLaidOutLeavesTheModelAlone) {
    auto library = builders::emptyLibrary();
    auto broken = twoStepper();
    broken.Animations[1].Commands = {{1, {1, 2}}}; // opcode 1 takes three operands
    EXPECT_THROW(builders::appendMoveable(library, broken), std::logic_error);
    auto treeless = twoStepper();
    treeless.Meshes.push_back(treeless.Meshes[0]);
    EXPECT_THROW(builders::appendMoveable(library, treeless), std::logic_error);
    EXPECT_TRUE(library == builders::emptyLibrary());
}

TEST(ConsistencyCheck, NamesEveryKindOfBrokenReference) {
    auto library = builders::emptyLibrary();
    builders::appendMoveable(library, twoStepper(2));
    ASSERT_EQ(builders::objectTableProblems(library), Problems{});

    const auto faultsAfter = [&](auto damage) {
        auto broken = library;
        damage(broken);
        return builders::objectTableProblems(broken);
    };
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.MeshPointers[1] += 2; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.MeshTrees[0] = builders::kFromPopped; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.MeshTrees.pop_back(); }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.Animations[1].FrameSize = 5; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.Animations[0].NextFrame = 40; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.Animations[1].StateChangeOffset = 2; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.StateChanges[0].DispatchCount = 5; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.AnimDispatches[0].High = 9; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.Animations[1].AnimCommandOffset = 9; }), Problems{})
        << "an odd byte offset";
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.AnimCommands.pop_back(); }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.StaticMeshes.push_back({0, 7, {}, 0}); }), Problems{});
}

TEST(Pages, LevelPagesStoreBlueGreenRedAlphaAndTheir16BitForm) {
    const auto page = builders::levelPage32([](int x, int) {
        return x == 0 ? builders::kTransparent : builders::Rgb{255, 128, 0};
    });
    ASSERT_EQ(page.size(), level::kPageBytes32);
    EXPECT_EQ((std::vector<std::uint8_t>(page.begin(), page.begin() + 8)),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 128, 255, 255}));
    const auto page16 = builders::pages16From32(page);
    ASSERT_EQ(page16.size(), level::kPageBytes16);
    EXPECT_EQ(page16[0] | page16[1] << 8, 0);
    EXPECT_EQ(page16[2] | page16[3] << 8, 0x8000 | 31 << 10 | 15 << 5);
}

TEST(Levels, TheMinimalLevelRoundTripsWithTheGameMarkers) {
    const auto built = builders::minimalLevel();
    const auto encoded = level::encodeLevel(built);
    ASSERT_TRUE(encoded) << encoded.error();
    EXPECT_EQ(std::string(encoded->file.begin(), encoded->file.begin() + 4), std::string("TR4\0", 4));
    const auto read = level::decodeLevel(encoded->file);
    ASSERT_TRUE(read) << read.error();
    EXPECT_EQ(read->SpriteMarker, built.SpriteMarker);
    EXPECT_EQ(read->TextureMarker, built.TextureMarker);
    EXPECT_EQ(read->SoundMap, built.SoundMap);
}

} // namespace
} // namespace veltrane
