#pragma once

#include "level/mesh_record.h"
#include "level/mesh_tree.h"
#include "level/tr4_level.h"
#include "wad/wad_library.h"

#include <array>
#include <span>
#include <cstdint>
#include <vector>

// Moveables and static meshes described whole, then appended to a level or a library with every
// index and offset filled in for that file's tables.
namespace veltrane::builders {

// A node of a moveable's mesh tree; node k - 1 of a tree belongs to mesh k.
struct MeshTreeNode {
    std::uint32_t Flags = level::kFromPrevious;
    std::int32_t X = 0; // offset from the parent mesh
    std::int32_t Y = 0;
    std::int32_t Z = 0;
};

// Where mesh k (from 1) hangs: from mesh Parent, at (X, Y, Z) from it.
struct Joint {
    std::size_t Parent = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Z = 0;
};

// The mesh tree of meshes 1 .. joints.size(), joints[k - 1] placing mesh k. The meshes must come
// depth first: each hangs from the mesh before it or from an ancestor of that mesh. A mesh whose
// parent has later children pushes or keeps that parent; its parent's last child pops it. Throws
// std::logic_error for meshes out of that order.
std::vector<MeshTreeNode> meshTree(std::span<const Joint> joints);

// An animation command: its opcode and as many operands as level::commandOperandCount says.
struct AnimCommand {
    std::uint16_t Opcode = 0;
    std::vector<std::int16_t> Operands;

    static AnimCommand setPosition(std::int16_t x, std::int16_t y, std::int16_t z) { return {1, {x, y, z}}; }
    static AnimCommand jumpVelocity(std::int16_t vertical, std::int16_t horizontal) {
        return {2, {vertical, horizontal}};
    }
    static AnimCommand emptyHands() { return {3, {}}; }
    static AnimCommand kill() { return {4, {}}; }
    // `frame` counts from the animation's first frame.
    static AnimCommand playSound(std::int16_t frame, std::int16_t sound) { return {5, {frame, sound}}; }
    static AnimCommand flipEffect(std::int16_t frame, std::int16_t effect) { return {6, {frame, effect}}; }
};

// Frame numbers count from the first frame of the animation they name; animation numbers from the
// moveable's first animation.
struct Dispatch {
    std::uint16_t Low = 0;
    std::uint16_t High = 0;
    std::uint16_t NextAnimation = 0;
    std::uint16_t NextFrame = 0;
};

struct StateChange {
    std::uint16_t StateId = 0;
    std::vector<Dispatch> Dispatches;
};

struct Animation {
    std::uint16_t StateId = 0;
    std::uint8_t FrameRate = 1; // frames from one keyframe to the next
    std::uint8_t FrameSize = 0; // words a keyframe; 0: the longest keyframe
    std::vector<std::vector<std::uint16_t>> Keyframes;
    std::int32_t Speed = 0; // 16.16 fixed point, as are the three below
    std::int32_t Accel = 0;
    std::int32_t LateralSpeed = 0;
    std::int32_t LateralAccel = 0;
    std::uint16_t NextAnimation = 0; // within the moveable
    std::uint16_t NextFrame = 0;
    std::vector<StateChange> StateChanges;
    std::vector<AnimCommand> Commands;
};

struct Moveable {
    std::uint32_t ObjectId = 0;
    std::vector<level::MeshRecord> Meshes; // in the file's form
    std::vector<MeshTreeNode> Tree;        // one node fewer than meshes
    std::vector<Animation> Animations;     // none: a library moveable gets Animation 0xFFFF
};

struct StaticMesh {
    std::uint32_t ObjectId = 0;
    level::MeshRecord Mesh;
    std::array<std::int16_t, 12> Box{}; // visibility box, then collision box
    std::uint16_t Flags = 2;
};

// A static mesh whose two boxes enclose its vertices.
StaticMesh staticMesh(std::uint32_t objectId, level::MeshRecord mesh);

// Appends the moveable's meshes, mesh tree, frames, animations, state changes, dispatches and
// commands, and the moveable record; returns the moveable's index. Frames are numbered on from the
// moveable's first animation, whose FrameStart is 0. AnimCommandOffset is a word index in a level and
// a byte offset in a library. A model is left untouched when its moveable is refused. Throws
// std::logic_error for a moveable that cannot be laid out (a tree of the wrong length, a command with
// the wrong number of operands, a keyframe longer than FrameSize).
std::size_t appendMoveable(level::Tr4Level& level, const Moveable& moveable);
std::size_t appendMoveable(wad::WadLibrary& library, const Moveable& moveable);

std::size_t appendStaticMesh(level::Tr4Level& level, const StaticMesh& mesh);
std::size_t appendStaticMesh(wad::WadLibrary& library, const StaticMesh& mesh);

} // namespace veltrane::builders
