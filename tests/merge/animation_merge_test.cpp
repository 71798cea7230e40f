#include "merge/animation_merge.h"

#include "merge/merge_operation.h"
#include "merge_fixture.h"

#include <gtest/gtest.h>

namespace veltrane::merge {
namespace {

using testing::SourceFixture;

class AnimationMergeTest : public ::testing::Test {
protected:
    AnimationMergeTest() {
        // Moveable 0 has no animations; moveable 1 has animations 1 to 3 of the library; moveable 2 has 4.
        source.addMoveable(7, 1, 3, level::kNoAnimation);
        source.addMoveable(8, 1, 41, 1);
        source.addMoveable(9, 1, 2, 4);
        auto& animations = source.library.Animations;
        animations.resize(5);
        // Animation 1: 2 frames of 8 words from byte 6; animation 2: 9 bytes of frames with FrameSize 0;
        // animation 3: a frame and a half of 8 words.
        animations[1] = {6, 1, 8, 11, 100, 200, 300, 400, 0, 1, 3, 0, 2, 0, 2, 0};
        animations[2] = {38, 1, 0, 12, 0, 0, 0, 0, 0, 0, 2, 5, 1, 2, 1, 0};
        animations[3] = {47, 1, 8, 13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        animations[4] = {71, 1, 8, 14, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0};
        source.library.StateChanges = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 0, 9}};
        source.library.AnimDispatches = {{0, 0, 0, 0}, {1, 2, 2, 9}, {3, 4, 0, 9}, {5, 6, 3, 9}};
        source.library.AnimCommands = {9, 9, 1, 10, 20, 30, 5, 40, 50, 4};
        // Animation 1 plays a position change and a sound (from byte 4, word 2); animation 2 a kill (word 9).
        animations[1].AnimCommandOffset = 4;
        animations[2].AnimCommandOffset = 18;
    }
    const level::Tr4Level& merged(std::int32_t moveable) {
        const auto result = mergeObjects(target, source, {{}, {moveable}});
        EXPECT_TRUE(result.ok()) << result.error();
        return target.level;
    }
    SourceFixture source;
    level::LevelDocument target = testing::targetFixture();
};

TEST_F(AnimationMergeTest, AMoveableWithoutAnimationsStillBringsItsFrames) {
    const auto animations = target.level.Animations;
    const level::Tr4Level& level = merged(0);
    EXPECT_EQ(level.Moveables[1].Animation, level::kNoAnimation);
    EXPECT_EQ(level.Moveables[1].FrameOffset, 12u);
    EXPECT_EQ(level.Frames, (std::vector<std::uint16_t>{1, 2, 3, 4, 5, 6, 700, 701, 702}));
    EXPECT_EQ(level.Animations, animations);
}

TEST_F(AnimationMergeTest, AnimationsAreAppendedWithEveryIndexRebased) {
    const level::Tr4Level& level = merged(1);
    EXPECT_EQ(level.Moveables[1].FrameOffset, 12u);
    EXPECT_EQ(level.Moveables[1].Animation, 1);
    ASSERT_EQ(level.Animations.size(), 4u);
    EXPECT_EQ(level.Frames.size(), 6u + 41u);
    EXPECT_EQ(level.Frames[6], 800);

    level::Tr4Animation expected = source.library.Animations[1];
    expected.FrameOffset = 12;
    expected.NextAnimation = 3; // library 3, the moveable's third
    expected.StateChangeOffset = 0;
    expected.AnimCommandOffset = 1;
    EXPECT_EQ(level.Animations[1], expected);
    // Two whole frames of 16 bytes: the next animation starts 32 bytes on; FrameSize 0 counts a byte a frame.
    EXPECT_EQ(level.Animations[2].FrameOffset, 44u);
    EXPECT_EQ(level.Animations[3].FrameOffset, 53u);
    EXPECT_EQ(level.Animations[2].NextAnimation, 2);
    EXPECT_EQ(level.Animations[3].NextAnimation, 0);
    EXPECT_EQ(level.Animations[3].StateChangeOffset, 3) << "no state change: the count at that moment";
    // Commands are copied whole and named by word index.
    EXPECT_EQ(level.Animations[2].AnimCommandOffset, 8);
    EXPECT_EQ(level.AnimCommands, (std::vector<std::uint16_t>{3, 1, 10, 20, 30, 5, 40, 50, 4}));
}

TEST_F(AnimationMergeTest, NextAnimationIsRebasedIn16BitArithmetic) {
    target.level.Animations.clear();
    const level::Tr4Level& level = merged(1);
    EXPECT_EQ(level.Moveables[1].Animation, 0);
    // Library animation 3 names animation 0, before the moveable's own: 0 - 1 + 0 wraps.
    EXPECT_EQ(level.Animations[2].NextAnimation, 0xFFFF);
}

TEST_F(AnimationMergeTest, StateChangesAndDispatchesKeepTheirDistancesInTheRun) {
    target.level.AnimDispatches.resize(10);
    const level::Tr4Level& level = merged(1);
    // Animation 1's state changes 0 and 1 carry 0 and 1 dispatches; the run starts at state change 0's.
    ASSERT_EQ(level.StateChanges.size(), 3u);
    EXPECT_EQ(level.StateChanges[0].DispatchOffset, 10);
    EXPECT_EQ(level.StateChanges[1].DispatchOffset, 11);
    EXPECT_EQ(level.AnimDispatches[10], source.library.AnimDispatches[0]);
    // Animation 2's state change 2 has two dispatches from library record 2 on.
    EXPECT_EQ(level.Animations[2].StateChangeOffset, 2);
    EXPECT_EQ(level.StateChanges[2].DispatchOffset, 11);
    ASSERT_EQ(level.AnimDispatches.size(), 13u);
    EXPECT_EQ(level.AnimDispatches[11].Low, 3);
    // Their NextAnimation is rebased like an animation's.
    EXPECT_EQ(level.AnimDispatches[12], (level::Tr4AnimDispatch{5, 6, 3, 9}));
}

TEST_F(AnimationMergeTest, AnOddFrameBlockDropsItsLastByte) {
    source.library.Moveables[0].FrameOffset = 1; // bytes 1 to 5: two whole words from byte 1
    const level::Tr4Level& level = merged(0);
    ASSERT_EQ(level.Frames.size(), 8u);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(source.library.Frames.data());
    EXPECT_EQ(level.Frames[6], bytes[1] | bytes[2] << 8);
    EXPECT_EQ(level.Frames[7], bytes[3] | bytes[4] << 8);
}

TEST(AppendAnimDispatches, OnlyTheStateChangesOfTheRunAreRepointedAndThoseWithoutDispatchesKeepTheirOffsets) {
    SourceFixture source;
    source.library.StateChanges = {{0, 0, 7}, {1, 0, 9}, {2, 1, 4}, {3, 0, 6}};
    source.library.AnimDispatches.resize(5);
    level::Tr4Level target;
    target.StateChanges = {source.library.StateChanges[0], source.library.StateChanges[1]};
    AppendAnimDispatches(target, source.library, 0, 2, 0, 0);
    EXPECT_EQ(target.StateChanges[1].DispatchOffset, 9);
    EXPECT_TRUE(target.AnimDispatches.empty());
    AppendAnimDispatches(target, source.library, 2, 1, 1, 0);
    EXPECT_EQ(target.StateChanges[0].DispatchOffset, 0);
    EXPECT_EQ(target.StateChanges[1].DispatchOffset, 9) << "the state change after the run keeps its offset";
}

} // namespace
} // namespace veltrane::merge
