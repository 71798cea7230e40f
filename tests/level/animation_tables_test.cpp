#include "level/animation_tables.h"

#include <gtest/gtest.h>

namespace veltrane::level {
namespace {

std::vector<Tr4Moveable> moveables(std::initializer_list<std::uint16_t> animations,
                                   std::initializer_list<std::uint32_t> frameOffsets = {}) {
    std::vector<Tr4Moveable> records;
    for (std::uint16_t animation : animations)
        records.push_back({0, 1, 0, 0, 0, animation});
    std::size_t i = 0;
    for (std::uint32_t offset : frameOffsets)
        records[i++].FrameOffset = offset;
    return records;
}

TEST(MoveableAnimations, RunToTheNextMoveableWithAnimationsOrToTheEndAndRangesPastTheTableAreRefused) {
    constexpr std::uint16_t none = kNoAnimation;
    struct Case {
        std::vector<Tr4Moveable> moveables;
        std::size_t index;
        AnimationRange expected;
        std::string refusal;
    };
    const auto table = moveables({2, none, 5, none, none, 8});
    for (const Case& c : std::vector<Case>{
             {table, 0, {2, 3}, ""},
             {table, 1, {0, 0}, ""},
             {table, 2, {5, 3}, ""}, // passing over the moveables without animations
             {table, 5, {8, 2}, ""}, // the last takes them to the end
             {moveables({5, 3}), 0, {5, 0}, ""},   // the next one's start before its own: none
             {moveables({10, none}), 0, {10, 0}, ""},
             {moveables({0, 12}), 0, {}, "animations run past Animations (records 0 to 11, the table has 10)"},
             {moveables({12}), 0, {}, "animations start past Animations (record 12, the table has 10)"},
             {moveables({0xFFFE, 3}), 0, {}, "animations start past Animations (record 65534, the table has 10)"},
             {table, 6, {}, "there is no moveable 6"},
         }) {
        const auto range = moveableAnimations(c.moveables, c.index, 10);
        if (c.refusal.empty()) {
            ASSERT_TRUE(range.ok()) << c.index << ": " << range.error();
            EXPECT_EQ(range.value(), c.expected) << "moveable " << c.index;
        } else {
            EXPECT_EQ(range.ok() ? "a range" : range.error(), c.refusal);
        }
    }
}

TEST(MoveableFrameBlock, RunsToTheNextMoveablesFramesOrToTheEndOfTheTable) {
    const auto records = moveables({0, 0, 0}, {0, 6, 20});
    const auto block = [&](std::size_t index) {
        const auto frames = moveableFrameBlock(records, index, 15).value();
        return std::pair{frames.start, frames.end};
    };
    EXPECT_EQ(block(0), (std::pair<std::size_t, std::size_t>{0, 6}));
    EXPECT_EQ(block(2), (std::pair<std::size_t, std::size_t>{20, 30}));
    EXPECT_EQ(moveableFrameBlock(moveables({0, 0}, {10, 4}), 0, 15).error(),
              "frame block has negative length (from byte 10 of Frames to byte 4)");
    EXPECT_EQ(moveableFrameBlock(moveables({0, 0}, {0, 32}), 0, 15).error(),
              "frame block runs past Frames (bytes 0 to 32, the table has 30)");
    EXPECT_EQ(moveableFrameBlock(moveables({0}, {32}), 0, 15).error(),
              "frame block has negative length (from byte 32 of Frames to byte 30)");
}

TEST(AnimationCommands, RunWithTheirOperandsAndNotPastTheTable) {
    const std::vector<std::uint16_t> commands = {1, 10, 20, 30, 2, 5, 6, 3, 4, 5, 100, 200, 6, 1, 2, 7};
    EXPECT_EQ(commandRunWords(commands, 0, 1), 4u);  // a position change takes three operands
    EXPECT_EQ(commandRunWords(commands, 0, 4), 9u);  // a jump two, empty hands and kill none
    EXPECT_EQ(commandRunWords(commands, 9, 3), 7u);  // a sound and an effect two each, another opcode none
    EXPECT_EQ(commandRunWords(commands, 4, 0), 0u);
    EXPECT_EQ(commandRunWords(commands, 13, 1), std::nullopt) << "the table ends inside its operands";
    EXPECT_EQ(commandRunWords(commands, 16, 1), std::nullopt);
    EXPECT_EQ(commandRunWords(commands, 15, 1), 1u);
}

} // namespace
} // namespace veltrane::level
