#pragma once

#include "io/outcome.h"
#include "level/mesh_record.h"
#include "level/records.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// The game's animation frames: a keyframe is FrameSize words from an animation's FrameOffset on
// (k FrameSize words further for keyframe k): a bounding box, the root mesh's offset, then one
// rotation per mesh of the moveable.
namespace veltrane::level {

// The words of a keyframe before its rotations: the bounding box and the root mesh's offset.
constexpr std::size_t kKeyframeHeaderWords = 9;

// One mesh's turn in a keyframe, in degrees about the axes of the file (x right, y down, z ahead).
// A turn about all three axes takes two words, 1024 steps a turn; a turn about one axis one word,
// 4096 steps a turn.
struct MeshRotation {
    enum class Axes { All, X, Y, Z };
    double x = 0;
    double y = 0;
    double z = 0;
    Axes axes = Axes::All;

    static MeshRotation all(double x, double y, double z) { return {x, y, z, Axes::All}; }
    static MeshRotation aboutX(double degrees) { return {degrees, 0, 0, Axes::X}; }
    static MeshRotation aboutY(double degrees) { return {0, degrees, 0, Axes::Y}; }
    static MeshRotation aboutZ(double degrees) { return {0, 0, degrees, Axes::Z}; }
    bool operator==(const MeshRotation&) const = default;
};

struct Keyframe {
    std::array<std::int16_t, 6> boundingBox{}; // min x, max x, min y, max y, min z, max z
    MeshVector offset;                         // of the root mesh
    std::vector<MeshRotation> rotations;       // one per mesh
};

// Decodes the rotation whose first word is words[0]. Two words when the top two bits are clear:
// X in bits 4-13 of the first, Y in its low 4 bits and the top 6 of the second, Z in the second's
// low 10 bits. Otherwise one word about one axis (0x4000 X, 0x8000 Y, 0xC000 Z) by its low 12 bits.
// Returns the words used, or 0 when the words run out.
std::size_t decodeRotation(std::span<const std::uint16_t> words, MeshRotation& rotation);
// The words of a rotation in the form its axes name; an angle is rounded to the nearest step.
std::vector<std::uint16_t> encodeRotation(const MeshRotation& rotation);

// The frames of an animation (FrameStart to FrameEnd) and the keyframes that hold them, one every
// FrameRate frames, bounded by the keyframes that the frame data actually holds.
struct AnimationLength {
    std::uint32_t frames = 0;
    std::uint32_t keyframes = 0;
};
AnimationLength animationLength(const Tr4Animation& animation, std::size_t frameWords);

// Keyframe k of the animation for a moveable of `meshCount` meshes. Fails with a short note when
// the keyframe would run past the frame data or FrameSize has no room for every mesh's rotation.
io::Outcome<Keyframe> decodeKeyframe(std::span<const std::uint16_t> frames, const Tr4Animation& animation,
                                     std::uint32_t k, std::size_t meshCount);
// The words of a keyframe: the box, the offset, then the rotations. An animation pads each of its
// keyframes to its FrameSize.
std::vector<std::uint16_t> encodeKeyframe(const Keyframe& keyframe);

} // namespace veltrane::level
