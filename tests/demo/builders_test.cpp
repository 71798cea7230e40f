#include "builders/level_builder.h"
#include "builders/library_builder.h"
#include "builders/mesh_builder.h"
#include "builders/objects.h"
#include "builders/table_check.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace veltrane {
namespace {

using builders::MeshBuilder;
using level::MeshKind;
using Problems = std::vector<std::string>;

// Two animations that lead into each other, with commands, state changes and dispatches.
builders::Moveable twoStepper(MeshKind kind, std::size_t meshes = 1) {
    builders::Moveable moveable;
    moveable.ObjectId = 7;
    moveable.Meshes.assign(meshes, MeshBuilder(kind).vertex(0, 0, 0).build());
    moveable.Tree.assign(meshes - 1, {level::kFromPrevious, 0, 10, 0});
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

TEST(Builders, MoveablesAreLaidOutWithEveryIndexFilledInForTheirFile) {
    auto library = builders::emptyLibrary();
    auto level = builders::minimalLevel();
    for (int copy = 0; copy < 2; ++copy) {
        builders::appendMoveable(library, twoStepper(MeshKind::Library));
        builders::appendMoveable(level, twoStepper(MeshKind::Level));
    }
    // The first copy's commands take 4 + 1 + 3 words: bytes in a library, words in a level.
    EXPECT_EQ(library.Animations[2].AnimCommandOffset, 16);
    EXPECT_EQ(level.Animations[2].AnimCommandOffset, 8);
    EXPECT_EQ(builders::tableProblems(library), Problems{});
    EXPECT_EQ(builders::tableProblems(level), Problems{});

    auto empty = builders::emptyLibrary();
    auto broken = twoStepper(MeshKind::Library);
    broken.Animations[1].Commands = {{1, {1, 2}}}; // opcode 1 takes three operands
    EXPECT_THROW(builders::appendMoveable(empty, broken), std::logic_error);
    broken = twoStepper(MeshKind::Library);
    broken.Meshes.push_back(broken.Meshes[0]); // a mesh with no tree node
    EXPECT_THROW(builders::appendMoveable(empty, broken), std::logic_error);
    EXPECT_TRUE(empty == builders::emptyLibrary()) << "a moveable that cannot be laid out leaves the model alone";
}

TEST(Builders, TheTableCheckNamesEveryKindOfBrokenReference) {
    auto library = builders::emptyLibrary();
    builders::appendMoveable(library, twoStepper(MeshKind::Library, 2));
    ASSERT_EQ(builders::tableProblems(library), Problems{});
    const auto faultsAfter = [&](auto damage) {
        auto broken = library;
        damage(broken);
        return builders::tableProblems(broken);
    };
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.MeshPointers[1] += 2; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.MeshTrees[0] = level::kFromPopped; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.MeshTrees.pop_back(); }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.Animations[1].FrameSize = 5; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.Animations[0].NextFrame = 40; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.Animations[1].StateChangeOffset = 2; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.StateChanges[0].DispatchCount = 5; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.AnimDispatches[0].High = 9; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.Animations[1].AnimCommandOffset = 9; }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.AnimCommands.pop_back(); }), Problems{});
    EXPECT_NE(faultsAfter([](wad::WadLibrary& l) { l.StaticMeshes.push_back({0, 7, {}, 0}); }), Problems{});
}

} // namespace
} // namespace veltrane
