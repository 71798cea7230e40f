#pragma once

#include "level/mesh_record.h"

#include <array>
#include <cstdint>
#include <vector>

namespace veltrane::builders {

// One mesh's rotation in a keyframe, in degrees: about all three axes (stored in two words, 1024
// steps a turn) or about one axis (one word, 4096 steps a turn).
struct Rotation {
    enum class Axes { All, X, Y, Z };
    Axes axes = Axes::All;
    double x = 0;
    double y = 0;
    double z = 0;

    static Rotation all(double x, double y, double z) { return {Axes::All, x, y, z}; }
    static Rotation aboutX(double degrees) { return {Axes::X, degrees, 0, 0}; }
    static Rotation aboutY(double degrees) { return {Axes::Y, 0, degrees, 0}; }
    static Rotation aboutZ(double degrees) { return {Axes::Z, 0, 0, degrees}; }
};

// One pose of a moveable: its bounding box, where its root mesh sits and one rotation per mesh.
struct Keyframe {
    std::array<std::int16_t, 6> BoundingBox{}; // min x, max x, min y, max y, min z, max z
    level::MeshVector Offset;                  // of the root mesh
    std::vector<Rotation> Rotations;
};

// The words of a rotation: two words (X in bits 4-13 of the first, Y split across both, Z in the
// low 10 bits of the second) or one word whose top bits name the axis (0x4000 X, 0x8000 Y, 0xC000 Z).
std::vector<std::uint16_t> encodeRotation(const Rotation& rotation);

// The words of a keyframe: the box, the offset, then the rotations. An animation pads each of its
// keyframes to its FrameSize.
std::vector<std::uint16_t> encodeKeyframe(const Keyframe& keyframe);

} // namespace veltrane::builders
