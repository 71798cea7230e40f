#include "preview/frame_format.h"

#include <gtest/gtest.h>

using namespace veltrane;
using preview::MeshRotation;

namespace {

MeshRotation decoded(std::vector<std::uint16_t> words, std::size_t expectedWords) {
    MeshRotation rotation;
    EXPECT_EQ(preview::decodeRotation(words, rotation), expectedWords);
    return rotation;
}

level::Tr4Animation animation(std::uint32_t frameOffset, std::uint8_t frameSize, std::uint8_t rate, std::uint16_t start,
                              std::uint16_t end) {
    level::Tr4Animation a;
    a.FrameOffset = frameOffset;
    a.FrameSize = frameSize;
    a.FrameRate = rate;
    a.FrameStart = start;
    a.FrameEnd = end;
    return a;
}

} // namespace

TEST(FrameFormat, TwoWordRotationsGiveThreeAnglesIn1024StepsATurn) {
    // X = 256, Y = 512, Z = 128 steps: 0x1008 carries X and Y's top four bits, 0x0080 Z.
    EXPECT_EQ(decoded({0x1008, 0x0080}, 2), (MeshRotation{90, 180, 45}));
    // Y's low six bits live in the top of the second word: 63 steps.
    EXPECT_FLOAT_EQ(decoded({0x0000, 0xFC00}, 2).y, 63 * 360.0f / 1024);
    EXPECT_FLOAT_EQ(decoded({0x3FF0, 0x03FF}, 2).x, 1023 * 360.0f / 1024);
    EXPECT_FLOAT_EQ(decoded({0x3FF0, 0x03FF}, 2).z, 1023 * 360.0f / 1024);
}

TEST(FrameFormat, OneWordRotationsTurnAboutOneAxisIn4096StepsATurn) {
    EXPECT_EQ(decoded({0x4400}, 1), (MeshRotation{90, 0, 0}));
    EXPECT_EQ(decoded({0x8800}, 1), (MeshRotation{0, 180, 0}));
    EXPECT_EQ(decoded({0xC200}, 1), (MeshRotation{0, 0, 45}));
    EXPECT_EQ(decoded({0x7000}, 1), (MeshRotation{0, 0, 0})) << "bits 12 and 13 are not part of the angle";
}

TEST(FrameFormat, ARotationThatRunsOutOfWordsIsRefused) {
    decoded({}, 0);
    decoded({0x1008}, 0);
}

TEST(FrameFormat, AKeyframeHoldsItsBoxOffsetAndOneRotationPerMesh) {
    // Two keyframes of 12 words for two meshes, starting at byte 4.
    const std::vector<std::uint16_t> frames = {
        0xAAAA, 0xBBBB,                                                  // another moveable's words
        0xFFF6, 10, 0xFFEC, 0, 0xFFFB, 5, 1, 0xFFFE, 3, 0x8400, 0x1008, 0x0080, // keyframe 0
        0, 0, 0, 0, 0, 0, 7, 8, 9, 0x4000, 0xC400, 0,                    // keyframe 1
    };
    const auto anim = animation(4, 12, 1, 0, 1);
    const auto first = preview::decodeKeyframe(frames, anim, 0, 2);
    ASSERT_TRUE(first.ok()) << first.error();
    EXPECT_EQ(first->boundingBox, (std::array<std::int16_t, 6>{-10, 10, -20, 0, -5, 5}));
    EXPECT_EQ(first->offset, (level::MeshVector{1, -2, 3}));
    EXPECT_EQ(first->rotations, (std::vector<MeshRotation>{{0, 90, 0}, {90, 180, 45}}));
    const auto second = preview::decodeKeyframe(frames, anim, 1, 2);
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second->offset, (level::MeshVector{7, 8, 9}));
    EXPECT_EQ(second->rotations[1], (MeshRotation{0, 0, 90}));

    EXPECT_EQ(preview::decodeKeyframe(frames, anim, 2, 2).error(), "keyframe 2 runs past the frame data");
    EXPECT_EQ(preview::decodeKeyframe(frames, animation(4, 10, 1, 0, 1), 0, 2).error(),
              "frames of 10 words have no room for 2 meshes");
    EXPECT_FALSE(preview::decodeKeyframe(frames, animation(4, 11, 1, 0, 1), 0, 2).ok())
        << "the second mesh's two-word rotation does not fit in 11 words";
}

TEST(FrameFormat, AnAnimationsLengthIsBoundedByItsFrameData) {
    // Frames 0 to 20, a keyframe every 10 frames: three keyframes.
    EXPECT_EQ(preview::lengthOf(animation(0, 10, 10, 0, 20), 30).keyframes, 3u);
    EXPECT_EQ(preview::lengthOf(animation(0, 10, 10, 0, 20), 30).frames, 21u);
    // Frames 0 to 25 need a fourth keyframe to blend towards.
    EXPECT_EQ(preview::lengthOf(animation(0, 10, 10, 0, 25), 40).keyframes, 4u);
    // The data holds two keyframes only: the animation ends with the second.
    const auto cut = preview::lengthOf(animation(0, 10, 10, 0, 20), 25);
    EXPECT_EQ(cut.keyframes, 2u);
    EXPECT_EQ(cut.frames, 11u);
    EXPECT_EQ(preview::lengthOf(animation(100, 10, 1, 0, 5), 20).keyframes, 0u) << "its frames lie past the data";
    EXPECT_EQ(preview::lengthOf(animation(0, 0, 1, 0, 5), 20).keyframes, 0u);
}
