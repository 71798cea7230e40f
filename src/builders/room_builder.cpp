#include "builders/room_builder.h"

#include "builders/pack.h"

#include <stdexcept>

namespace veltrane::builders {

level::Tr4Room RoomBuilder::initialRoom() {
    level::Tr4Room room;
    room.AlternateRoom = -1;
    room.ColourLow = 0x4040;
    room.ColourHigh = 0xFF40; // a dim grey ambient light
    return room;
}

RoomBuilder& RoomBuilder::position(std::int32_t x, std::int32_t z, std::int32_t yBottom, std::int32_t yTop) {
    room_.Info = pack<16>([&](io::ByteWriter& out) {
        out.i32(x);
        out.i32(z);
        out.i32(yBottom);
        out.i32(yTop);
    });
    return *this;
}

RoomBuilder& RoomBuilder::vertex(std::int16_t x, std::int16_t y, std::int16_t z, std::uint16_t colour) {
    room_.Vertices.push_back(pack<12>([&](io::ByteWriter& out) {
        out.i16(x);
        out.i16(y);
        out.i16(z);
        out.i16(0); // the older single-value light, unused by this game
        out.u16(0); // attributes
        out.u16(colour);
    }));
    return *this;
}

RoomBuilder& RoomBuilder::rectangle(std::array<std::uint16_t, 4> vertices, std::uint16_t texture) {
    room_.Rectangles.push_back(pack<10>([&](io::ByteWriter& out) {
        for (auto v : vertices)
            out.u16(v);
        out.u16(texture);
    }));
    return *this;
}

RoomBuilder& RoomBuilder::triangle(std::array<std::uint16_t, 3> vertices, std::uint16_t texture) {
    room_.Triangles.push_back(pack<8>([&](io::ByteWriter& out) {
        for (auto v : vertices)
            out.u16(v);
        out.u16(texture);
    }));
    return *this;
}

RoomBuilder& RoomBuilder::sprite(std::uint16_t vertex, std::uint16_t spriteTexture) {
    room_.Sprites.push_back(pack<4>([&](io::ByteWriter& out) {
        out.u16(vertex);
        out.u16(spriteTexture);
    }));
    return *this;
}

RoomBuilder& RoomBuilder::portal(std::uint16_t adjoiningRoom, level::MeshVector normal,
                                 std::array<level::MeshVector, 4> corners) {
    room_.Portals.push_back(pack<32>([&](io::ByteWriter& out) {
        out.u16(adjoiningRoom);
        for (const auto& v : std::array{normal, corners[0], corners[1], corners[2], corners[3]}) {
            out.i16(v.x);
            out.i16(v.y);
            out.i16(v.z);
        }
    }));
    return *this;
}

namespace {

level::Opaque<8> sectorRecord(const Sector& sector) {
    return pack<8>([&](io::ByteWriter& out) {
        out.u16(sector.FloorDataIndex);
        out.u16(sector.Box);
        out.u8(sector.RoomBelow);
        out.u8(static_cast<std::uint8_t>(sector.Floor));
        out.u8(sector.RoomAbove);
        out.u8(static_cast<std::uint8_t>(sector.Ceiling));
    });
}

} // namespace

RoomBuilder& RoomBuilder::sectors(std::uint16_t zCount, std::uint16_t xCount, const Sector& fill) {
    room_.NumZSectors = zCount;
    room_.NumXSectors = xCount;
    room_.Sectors.assign(std::size_t{zCount} * xCount, sectorRecord(fill));
    return *this;
}

RoomBuilder& RoomBuilder::sector(std::uint16_t z, std::uint16_t x, const Sector& value) {
    if (z >= room_.NumZSectors || x >= room_.NumXSectors)
        throw std::logic_error("sector lies outside the room's floor");
    // Sectors run along z first: column x holds NumZSectors of them.
    room_.Sectors[std::size_t{x} * room_.NumZSectors + z] = sectorRecord(value);
    return *this;
}

RoomBuilder& RoomBuilder::ambient(std::uint32_t colour) {
    room_.ColourLow = static_cast<std::uint16_t>(colour & 0xFFFF);
    room_.ColourHigh = static_cast<std::uint16_t>(colour >> 16);
    return *this;
}

RoomBuilder& RoomBuilder::light(const RoomLight& light) {
    room_.Lights.push_back(pack<46>([&](io::ByteWriter& out) {
        out.i32(light.X);
        out.i32(light.Y);
        out.i32(light.Z);
        out.u8(light.Red);
        out.u8(light.Green);
        out.u8(light.Blue);
        out.u8(light.Type);
        out.u8(0xFF);
        out.u8(light.Intensity);
        for (float value :
             {light.In, light.Out, light.Length, light.Cutoff, light.DirectionX, light.DirectionY, light.DirectionZ})
            writeFloat(out, value);
    }));
    return *this;
}

RoomBuilder& RoomBuilder::roomStatic(const RoomStatic& placed) {
    room_.RoomStatics.push_back(pack<20>([&](io::ByteWriter& out) {
        out.i32(placed.X);
        out.i32(placed.Y);
        out.i32(placed.Z);
        out.u16(placed.Rotation);
        out.u16(placed.Intensity);
        out.u16(placed.Intensity);
        out.u16(placed.MeshId);
    }));
    return *this;
}

RoomBuilder& RoomBuilder::alternate(std::int16_t room, std::uint8_t group) {
    room_.AlternateRoom = room;
    room_.WaterReverbAlternateGroup[2] = group;
    return *this;
}

RoomBuilder& RoomBuilder::flags(std::int16_t flags) {
    room_.Flags = flags;
    return *this;
}

RoomBuilder& RoomBuilder::waterAndReverb(std::uint8_t waterScheme, std::uint8_t reverb) {
    room_.WaterReverbAlternateGroup[0] = waterScheme;
    room_.WaterReverbAlternateGroup[1] = reverb;
    return *this;
}

level::Tr4Room RoomBuilder::build() const {
    level::Tr4Room room = room_;
    room.NumVertices = static_cast<std::int16_t>(room.Vertices.size());
    room.NumRectangles = static_cast<std::int16_t>(room.Rectangles.size());
    room.NumTriangles = static_cast<std::int16_t>(room.Triangles.size());
    room.NumSprites = static_cast<std::int16_t>(room.Sprites.size());
    const std::size_t geometryBytes = 8 + 12 * room.Vertices.size() + 10 * room.Rectangles.size() +
                                      8 * room.Triangles.size() + 4 * room.Sprites.size();
    room.DataWordCount = static_cast<std::uint32_t>(geometryBytes / 2);
    return room;
}

} // namespace veltrane::builders
