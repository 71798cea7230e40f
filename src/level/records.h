#pragma once

#include "io/byte_reader.h"
#include "io/byte_writer.h"

#include <array>
#include <cstdint>

// The object records that levels and libraries share. Each mirrors its layout in the file,
// fields in file order, with its reader and writer side by side.
namespace veltrane::level {

struct Tr4Animation {
    static constexpr std::size_t kSize = 40;
    std::uint32_t FrameOffset = 0; // byte offset of its first frame in Frames
    std::uint8_t FrameRate = 0;
    std::uint8_t FrameSize = 0; // 16-bit words per frame
    std::uint16_t StateId = 0;
    std::uint32_t Speed = 0;
    std::uint32_t Accel = 0;
    std::uint32_t LateralSpeed = 0;
    std::uint32_t LateralAccel = 0;
    std::uint16_t FrameStart = 0;
    std::uint16_t FrameEnd = 0;
    std::uint16_t NextAnimation = 0;
    std::uint16_t NextFrame = 0;
    std::uint16_t StateChangeCount = 0;
    std::uint16_t StateChangeOffset = 0;
    std::uint16_t AnimCommandCount = 0;
    std::uint16_t AnimCommandOffset = 0;

    void read(io::ByteReader& in) {
        FrameOffset = in.u32("animation");
        FrameRate = in.u8("animation");
        FrameSize = in.u8("animation");
        StateId = in.u16("animation");
        Speed = in.u32("animation");
        Accel = in.u32("animation");
        LateralSpeed = in.u32("animation");
        LateralAccel = in.u32("animation");
        FrameStart = in.u16("animation");
        FrameEnd = in.u16("animation");
        NextAnimation = in.u16("animation");
        NextFrame = in.u16("animation");
        StateChangeCount = in.u16("animation");
        StateChangeOffset = in.u16("animation");
        AnimCommandCount = in.u16("animation");
        AnimCommandOffset = in.u16("animation");
    }
    void write(io::ByteWriter& out) const {
        out.u32(FrameOffset);
        out.u8(FrameRate);
        out.u8(FrameSize);
        out.u16(StateId);
        out.u32(Speed);
        out.u32(Accel);
        out.u32(LateralSpeed);
        out.u32(LateralAccel);
        out.u16(FrameStart);
        out.u16(FrameEnd);
        out.u16(NextAnimation);
        out.u16(NextFrame);
        out.u16(StateChangeCount);
        out.u16(StateChangeOffset);
        out.u16(AnimCommandCount);
        out.u16(AnimCommandOffset);
    }
    bool operator==(const Tr4Animation&) const = default;
};

struct Tr4StateChange {
    static constexpr std::size_t kSize = 6;
    std::uint16_t StateId = 0;
    std::uint16_t DispatchCount = 0;
    std::uint16_t DispatchOffset = 0; // index of its first record in AnimDispatches

    void read(io::ByteReader& in) {
        StateId = in.u16("state change");
        DispatchCount = in.u16("state change");
        DispatchOffset = in.u16("state change");
    }
    void write(io::ByteWriter& out) const {
        out.u16(StateId);
        out.u16(DispatchCount);
        out.u16(DispatchOffset);
    }
    bool operator==(const Tr4StateChange&) const = default;
};

struct Tr4AnimDispatch {
    static constexpr std::size_t kSize = 8;
    std::uint16_t Low = 0;
    std::uint16_t High = 0;
    std::uint16_t NextAnimation = 0;
    std::uint16_t NextFrame = 0;

    void read(io::ByteReader& in) {
        Low = in.u16("dispatch");
        High = in.u16("dispatch");
        NextAnimation = in.u16("dispatch");
        NextFrame = in.u16("dispatch");
    }
    void write(io::ByteWriter& out) const {
        out.u16(Low);
        out.u16(High);
        out.u16(NextAnimation);
        out.u16(NextFrame);
    }
    bool operator==(const Tr4AnimDispatch&) const = default;
};

// A moveable's Animation when it has no animation.
constexpr std::uint16_t kNoAnimation = 0xFFFF;

struct Tr4Moveable {
    static constexpr std::size_t kSize = 18;
    std::uint32_t ObjectId = 0;
    std::uint16_t MeshCount = 0;
    std::uint16_t StartingMesh = 0; // index of its first entry in MeshPointers
    std::uint32_t MeshTree = 0;     // index of its first word in MeshTrees
    std::uint32_t FrameOffset = 0;  // byte offset into Frames
    std::uint16_t Animation = 0;    // index of its first animation, or kNoAnimation

    void read(io::ByteReader& in) {
        ObjectId = in.u32("moveable");
        MeshCount = in.u16("moveable");
        StartingMesh = in.u16("moveable");
        MeshTree = in.u32("moveable");
        FrameOffset = in.u32("moveable");
        Animation = in.u16("moveable");
    }
    void write(io::ByteWriter& out) const {
        out.u32(ObjectId);
        out.u16(MeshCount);
        out.u16(StartingMesh);
        out.u32(MeshTree);
        out.u32(FrameOffset);
        out.u16(Animation);
    }
    bool operator==(const Tr4Moveable&) const = default;
};

struct Tr4StaticMesh {
    static constexpr std::size_t kSize = 32;
    std::uint32_t ObjectId = 0;
    std::uint16_t Mesh = 0; // index into MeshPointers
    std::array<std::int16_t, 12> Box{}; // two boxes of six words
    std::uint16_t Flags = 0;

    void read(io::ByteReader& in) {
        ObjectId = in.u32("static mesh");
        Mesh = in.u16("static mesh");
        for (auto& word : Box)
            word = in.i16("static mesh");
        Flags = in.u16("static mesh");
    }
    void write(io::ByteWriter& out) const {
        out.u32(ObjectId);
        out.u16(Mesh);
        for (auto word : Box)
            out.i16(word);
        out.u16(Flags);
    }
    bool operator==(const Tr4StaticMesh&) const = default;
};

struct ObjectTextureCorner {
    std::uint8_t XCoordinate = 0;
    std::uint8_t XPixel = 0;
    std::uint8_t YCoordinate = 0;
    std::uint8_t YPixel = 0;
    bool operator==(const ObjectTextureCorner&) const = default;
};

// The level's texture-mapping record of one face.
struct ObjectTexture {
    static constexpr std::size_t kSize = 38;
    std::uint16_t Attribute = 0;
    std::uint16_t Tile = 0; // page in the low 15 bits; bit 15 is a flag carried along
    std::uint16_t NewFlags = 0;
    std::array<ObjectTextureCorner, 4> Corners{};
    std::uint32_t OriginU = 0;
    std::uint32_t OriginV = 0;
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;

    void read(io::ByteReader& in) {
        Attribute = in.u16("object texture");
        Tile = in.u16("object texture");
        NewFlags = in.u16("object texture");
        for (auto& corner : Corners) {
            corner.XCoordinate = in.u8("object texture");
            corner.XPixel = in.u8("object texture");
            corner.YCoordinate = in.u8("object texture");
            corner.YPixel = in.u8("object texture");
        }
        OriginU = in.u32("object texture");
        OriginV = in.u32("object texture");
        Width = in.u32("object texture");
        Height = in.u32("object texture");
    }
    void write(io::ByteWriter& out) const {
        out.u16(Attribute);
        out.u16(Tile);
        out.u16(NewFlags);
        for (const auto& corner : Corners) {
            out.u8(corner.XCoordinate);
            out.u8(corner.XPixel);
            out.u8(corner.YCoordinate);
            out.u8(corner.YPixel);
        }
        out.u32(OriginU);
        out.u32(OriginV);
        out.u32(Width);
        out.u32(Height);
    }
    bool operator==(const ObjectTexture&) const = default;
};

} // namespace veltrane::level
