#include "level/frame_format.h"

#include <gtest/gtest.h>

namespace veltrane::level {
namespace {

Tr4Animation animation(std::uint32_t frameOffset, std::uint8_t frameSize, std::uint8_t rate, std::uint16_t start,
                       std::uint16_t end) {
    Tr4Animation a;
    a.FrameOffset = frameOffset;
    a.FrameSize = frameSize;
    a.FrameRate = rate;
    a.FrameStart = start;
    a.FrameEnd = end;
    return a;
}

TEST(FrameFormat, RotationsAreStoredInOneOrTwoWordsAndReadBackAsWritten) {
    struct Case {
        MeshRotation rotation;
        std::vector<std::uint16_t> words;
    };
    // Two words: X in bits 4-13 of the first, Y in its low 4 bits and the top 6 of the second, Z in the
    // second's low 10 bits, 1024 steps a turn. One word: the axis in the top two bits, 4096 steps a turn.
    for (const Case& c : std::initializer_list<Case>{
             {MeshRotation::all(90, 180, 45), {0x1008, 0x0080}},
             {MeshRotation::all(0, 63 * 360.0 / 1024, 0), {0x0000, 0xFC00}},
             {MeshRotation::all(1023 * 360.0 / 1024, 0, 1023 * 360.0 / 1024), {0x3FF0, 0x03FF}},
             {MeshRotation::aboutX(90), {0x4400}},
             {MeshRotation::aboutY(180), {0x8800}},
             {MeshRotation::aboutZ(45), {0xC200}},
             {MeshRotation::aboutX(4095 * 360.0 / 4096), {0x4FFF}},
         }) {
        EXPECT_EQ(encodeRotation(c.rotation), c.words);
        MeshRotation decoded;
        EXPECT_EQ(decodeRotation(c.words, decoded), c.words.size());
        EXPECT_EQ(decoded, c.rotation) << c.words[0];
    }
    EXPECT_EQ(encodeRotation(MeshRotation::aboutY(-90)), (std::vector<std::uint16_t>{0x8C00})) << "angles wrap";
    MeshRotation decoded;
    EXPECT_EQ(decodeRotation(std::vector<std::uint16_t>{0x7000}, decoded), 1u) << "bits 12 and 13 are no angle";
    EXPECT_EQ(decoded, MeshRotation::aboutX(0));
    EXPECT_EQ(decodeRotation({}, decoded), 0u);
    EXPECT_EQ(decodeRotation(std::vector<std::uint16_t>{0x1008}, decoded), 0u) << "the second word is missing";
}

TEST(FrameFormat, AKeyframeHoldsItsBoxOffsetAndOneRotationPerMesh) {
    const Keyframe first{{-10, 10, -20, 0, -5, 5}, {1, -2, 3}, {MeshRotation::aboutY(90), MeshRotation::all(90, 180, 45)}};
    const Keyframe second{{}, {7, 8, 9}, {MeshRotation::aboutX(0), MeshRotation::aboutZ(90)}};
    // Another moveable's two words, then two keyframes padded to 12 words, starting at byte 4.
    std::vector<std::uint16_t> frames = {0xAAAA, 0xBBBB};
    for (const Keyframe& keyframe : {first, second}) {
        auto words = encodeKeyframe(keyframe);
        words.resize(12);
        frames.insert(frames.end(), words.begin(), words.end());
    }
    const auto anim = animation(4, 12, 1, 0, 1);
    for (std::uint32_t k = 0; k < 2; ++k) {
        const auto decoded = decodeKeyframe(frames, anim, k, 2);
        ASSERT_TRUE(decoded.ok()) << decoded.error();
        const Keyframe& expected = k == 0 ? first : second;
        EXPECT_EQ(decoded->boundingBox, expected.boundingBox);
        EXPECT_EQ(decoded->offset, expected.offset);
        EXPECT_EQ(decoded->rotations, expected.rotations);
    }
    EXPECT_EQ(decodeKeyframe(frames, anim, 2, 2).error(), "keyframe 2 runs past the frame data");
    EXPECT_EQ(decodeKeyframe(frames, animation(4, 10, 1, 0, 1), 0, 2).error(),
              "frames of 10 words have no room for 2 meshes");
    EXPECT_EQ(decodeKeyframe(frames, animation(4, 11, 1, 0, 1), 0, 2).error(),
              "frames of 11 words have no room for 2 meshes")
        << "the second mesh's two-word rotation does not fit in 11 words";
}

TEST(FrameFormat, AnAnimationsLengthIsBoundedByItsFrameData) {
    struct Case {
        Tr4Animation animation;
        std::size_t frameWords;
        std::uint32_t frames;
        std::uint32_t keyframes;
    };
    for (const Case& c : std::initializer_list<Case>{
             {animation(0, 10, 10, 0, 20), 30, 21, 3}, // frames 0 to 20, a keyframe every 10
             {animation(0, 10, 10, 0, 25), 40, 26, 4}, // frame 25 needs a fourth keyframe to blend towards
             {animation(0, 10, 10, 0, 20), 25, 11, 2}, // the data holds two keyframes only
             {animation(0, 10, 0, 5, 7), 40, 3, 3},    // a frame rate of 0 counts as 1
             {animation(0, 10, 1, 7, 5), 40, 1, 1},    // an end before the start plays one frame
             {animation(100, 10, 1, 0, 5), 20, 0, 0},  // its frames lie past the data
             {animation(0, 0, 1, 0, 5), 20, 0, 0},
         }) {
        const AnimationLength length = animationLength(c.animation, c.frameWords);
        EXPECT_EQ(length.frames, c.frames) << c.animation.FrameEnd << " " << c.frameWords;
        EXPECT_EQ(length.keyframes, c.keyframes) << c.animation.FrameEnd << " " << c.frameWords;
    }
}

} // namespace
} // namespace veltrane::level
