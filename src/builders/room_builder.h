#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"

#include <array>
#include <cstdint>

namespace veltrane::builders {

// One floor square of a room.
struct Sector {
    std::uint16_t FloorDataIndex = 0;
    std::uint16_t Box = 0x7FF0; // box index in bits 4-14, footstep material in bits 0-3; 0x7FF0: none
    std::uint8_t RoomBelow = 255;
    std::int8_t Floor = 0; // in steps of 256 units; -127 (with Ceiling -127): a wall
    std::uint8_t RoomAbove = 255;
    std::int8_t Ceiling = 0;
};

struct RoomLight {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Z = 0;
    std::uint8_t Red = 255;
    std::uint8_t Green = 255;
    std::uint8_t Blue = 255;
    std::uint8_t Type = 1; // point light
    std::uint8_t Intensity = 31;
    float In = 512;
    float Out = 4096;
    float Length = 0;
    float Cutoff = 0;
    float DirectionX = 0;
    float DirectionY = 0;
    float DirectionZ = 0;
};

struct RoomStatic {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Z = 0;
    std::uint16_t Rotation = 0;
    std::uint16_t Intensity = 0x7FFF;
    std::uint16_t MeshId = 0; // the static mesh's ObjectId
};

// Composes one room. Geometry counts follow the records added; the data word count is the size of
// the geometry (counts and records) in words, as the game's level compiler writes it.
//
//     auto room = RoomBuilder().position(0, 0, 0, -1024).vertex(0, 0, 0).vertex(1024, 0, 0)
//                     .vertex(1024, 0, 1024).vertex(0, 0, 1024).rectangle({0, 1, 2, 3}, 0).build();
class RoomBuilder {
public:
    // Where the room lies in the world: its corner (x, z) and its floor and ceiling heights.
    RoomBuilder& position(std::int32_t x, std::int32_t z, std::int32_t yBottom, std::int32_t yTop);
    // A vertex relative to the room's corner, with its light (a 15-bit colour).
    RoomBuilder& vertex(std::int16_t x, std::int16_t y, std::int16_t z, std::uint16_t colour = 0x7FFF);
    RoomBuilder& rectangle(std::array<std::uint16_t, 4> vertices, std::uint16_t texture);
    RoomBuilder& triangle(std::array<std::uint16_t, 3> vertices, std::uint16_t texture);
    RoomBuilder& sprite(std::uint16_t vertex, std::uint16_t spriteTexture);
    // A doorway into `adjoiningRoom`, facing along `normal`, spanned by four corners.
    RoomBuilder& portal(std::uint16_t adjoiningRoom, level::MeshVector normal,
                        std::array<level::MeshVector, 4> corners);
    // A floor of `zCount` by `xCount` sectors, all like `fill`.
    RoomBuilder& sectors(std::uint16_t zCount, std::uint16_t xCount, const Sector& fill);
    // Changes one sector of the floor laid by sectors().
    RoomBuilder& sector(std::uint16_t z, std::uint16_t x, const Sector& value);
    RoomBuilder& ambient(std::uint32_t colour);
    RoomBuilder& light(const RoomLight& light);
    RoomBuilder& roomStatic(const RoomStatic& placed);
    RoomBuilder& alternate(std::int16_t room, std::uint8_t group);
    RoomBuilder& flags(std::int16_t flags);
    RoomBuilder& waterAndReverb(std::uint8_t waterScheme, std::uint8_t reverb);

    [[nodiscard]] std::uint16_t vertexCount() const { return static_cast<std::uint16_t>(room_.Vertices.size()); }
    [[nodiscard]] level::Tr4Room build() const;

private:
    level::Tr4Room room_ = initialRoom();
    static level::Tr4Room initialRoom();
};

} // namespace veltrane::builders
