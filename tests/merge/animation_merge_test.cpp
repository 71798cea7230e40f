#include "merge/animation_merge.h"

#include "merge_fixture.h"

#include <gtest/gtest.h>

namespace veltrane::merge {
namespace {

using testing::SourceFixture;
using testing::TargetFixture;

TEST(CountMoveableAnimations, RunsToTheNextMoveableWithAnimationsOrToTheEnd) {
    SourceFixture source;
    source.library.Animations.resize(10);
    source.addMoveable(1, 1, 0, 2);
    source.addMoveable(2, 1, 0, kNoAnimation);
    source.addMoveable(3, 1, 0, 5);
    source.addMoveable(4, 1, 0, kNoAnimation);
    source.addMoveable(5, 1, 0, kNoAnimation);
    EXPECT_EQ(CountMoveableAnimations(source.library, 0), 3);
    EXPECT_EQ(CountMoveableAnimations(source.library, 1), 0);
    EXPECT_EQ(CountMoveableAnimations(source.library, 2), 5); // only moveables without animations follow
    source.addMoveable(6, 1, 0, 8);
    EXPECT_EQ(CountMoveableAnimations(source.library, 5), 2); // the last takes them to the end
}

TEST(CommandRunWords, CommandsAreCopiedWithTheirOperands) {
    const std::vector<std::uint16_t> commands = {1, 10, 20, 30, 2, 5, 6, 3, 4, 5, 100, 200, 6, 1, 2, 7};
    EXPECT_EQ(commandRunWords(commands, 0, 1), 4u);
    EXPECT_EQ(commandRunWords(commands, 0, 4), 9u); // position change, jump, empty hands, kill
    EXPECT_EQ(commandRunWords(commands, 9, 3), 7u);  // sound, effect, an opcode without operands
    EXPECT_EQ(commandRunWords(commands, 4, 0), 0u);
    EXPECT_EQ(commandRunWords(commands, 13, 1), std::nullopt); // an effect whose operands the table ends inside
    EXPECT_EQ(commandRunWords(commands, 16, 1), std::nullopt);
}

class AnimationMergeTest : public ::testing::Test {
protected:
    AnimationMergeTest() {
        // Moveable 0 has no animations; moveable 1 has animations 1 to 3 of the library; moveable 2 has 4.
        source.addMoveable(7, 1, 3, kNoAnimation);
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
    SourceFixture source;
    TargetFixture target;
};

TEST_F(AnimationMergeTest, AMoveableWithoutAnimationsStillBringsItsFrames) {
    const auto before = target.level;
    const MergedAnimations merged = MergeAnimations(target.level, source.library, 0);
    EXPECT_EQ(merged.Animation, kNoAnimation);
    EXPECT_EQ(merged.FrameOffset, 12u);
    EXPECT_EQ(target.level.Frames.size(), 9u);
    EXPECT_EQ(target.level.Frames[6], 700);
    EXPECT_EQ(target.level.Animations, before.Animations);
}

TEST_F(AnimationMergeTest, AnimationsAreAppendedWithEveryIndexRebased) {
    const MergedAnimations merged = MergeAnimations(target.level, source.library, 1);
    const level::Tr4Level& level = target.level;
    EXPECT_EQ(merged.FrameOffset, 12u);
    EXPECT_EQ(merged.Animation, 1);
    ASSERT_EQ(level.Animations.size(), 4u);
    EXPECT_EQ(level.Frames.size(), 6u + 41u);
    EXPECT_EQ(level.Frames[6], 800);

    const level::Tr4Animation& first = level.Animations[1];
    EXPECT_EQ(first.FrameOffset, 12u);
    EXPECT_EQ(first.StateId, 11);
    EXPECT_EQ(first.Speed, 100u);
    EXPECT_EQ(first.LateralAccel, 400u);
    EXPECT_EQ(first.NextAnimation, 3); // library 3, the moveable's third
    EXPECT_EQ(first.StateChangeOffset, 0);
    EXPECT_EQ(level.StateChanges.size(), 3u);
    // Two whole frames of 16 bytes: the next animation starts 32 bytes on.
    EXPECT_EQ(level.Animations[2].FrameOffset, 44u);
    // FrameSize 0 counts one byte a frame: 9 bytes.
    EXPECT_EQ(level.Animations[3].FrameOffset, 53u);
    EXPECT_EQ(level.Animations[2].NextAnimation, 2);
    EXPECT_EQ(level.Animations[3].NextAnimation, 0);
    EXPECT_EQ(level.Animations[3].StateChangeOffset, 3); // no state change: the count at that moment
}

TEST_F(AnimationMergeTest, NextAnimationIsRebasedIn16BitArithmetic) {
    target.level.Animations.clear();
    const MergedAnimations merged = MergeAnimations(target.level, source.library, 1);
    EXPECT_EQ(merged.Animation, 0);
    // Library animation 3 names animation 0, before the moveable's own: 0 - 1 + 0 wraps.
    EXPECT_EQ(target.level.Animations[2].NextAnimation, 0xFFFF);
}

TEST_F(AnimationMergeTest, StateChangesAndDispatchesKeepTheirDistancesInTheRun) {
    target.level.AnimDispatches.resize(10);
    MergeAnimations(target.level, source.library, 1);
    const level::Tr4Level& level = target.level;
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
    EXPECT_EQ(level.AnimDispatches[12].Low, 5);
    // Their NextAnimation is rebased like an animation's.
    EXPECT_EQ(level.AnimDispatches[12].NextAnimation, 3);
    EXPECT_EQ(level.AnimDispatches[12].NextFrame, 9);
}

TEST_F(AnimationMergeTest, CommandsAreCopiedWholeAndNamedByWordIndex) {
    MergeAnimations(target.level, source.library, 1);
    const level::Tr4Level& level = target.level;
    EXPECT_EQ(level.Animations[1].AnimCommandOffset, 1);
    EXPECT_EQ(level.Animations[1].AnimCommandCount, 2);
    EXPECT_EQ(level.Animations[2].AnimCommandOffset, 8);
    EXPECT_EQ(level.AnimCommands, (std::vector<std::uint16_t>{3, 1, 10, 20, 30, 5, 40, 50, 4}));
}

TEST(AppendAnimDispatches, StateChangesWithoutDispatchesKeepTheirOffsets) {
    SourceFixture source;
    source.library.StateChanges = {{0, 0, 7}, {1, 0, 9}};
    TargetFixture target;
    target.level.StateChanges = source.library.StateChanges;
    EXPECT_EQ(AppendAnimDispatches(target.level, source.library, 0, 2, 0), 0u);
    EXPECT_EQ(target.level.StateChanges[0].DispatchOffset, 7);
    EXPECT_EQ(target.level.StateChanges[1].DispatchOffset, 9);
    EXPECT_TRUE(target.level.AnimDispatches.empty());
    EXPECT_EQ(AppendAnimDispatches(target.level, source.library, 0, 0, 0), 0u);
}

TEST(MergeAnimations, AnOddFrameBlockDropsItsLastByte) {
    SourceFixture source;
    source.addMoveable(1, 1, 4, kNoAnimation);
    source.addMoveable(2, 1, 4, kNoAnimation);
    source.library.Moveables[0].FrameOffset = 1; // bytes 1 to 7: three whole words from byte 1
    TargetFixture target;
    MergeAnimations(target.level, source.library, 0);
    ASSERT_EQ(target.level.Frames.size(), 9u);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(source.library.Frames.data());
    EXPECT_EQ(target.level.Frames[6], bytes[1] | bytes[2] << 8);
    EXPECT_EQ(target.level.Frames[8], bytes[5] | bytes[6] << 8);
}

} // namespace
} // namespace veltrane::merge
