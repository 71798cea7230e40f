#include "level/level_data.h"

#include "io/format_error.h"

#include <string>

namespace veltrane::level {
namespace {

using io::ByteReader;
using io::ByteWriter;

// Geometry of a room: a signed count, records only when it is positive.
template <class T>
std::vector<T> signedArray(ByteReader& in, std::int16_t& count, std::string_view name) {
    count = in.i16(std::string(name) + " count");
    return count > 0 ? in.array<T>(static_cast<std::uint64_t>(count), name) : std::vector<T>{};
}

Tr4Room parseRoom(ByteReader& in) {
    Tr4Room room;
    room.Info = in.fixed<16>("room info");
    room.DataWordCount = in.u32("room data word count");
    room.Vertices = signedArray<Opaque<12>>(in, room.NumVertices, "vertex table");
    room.Rectangles = signedArray<Opaque<10>>(in, room.NumRectangles, "rectangle table");
    room.Triangles = signedArray<Opaque<8>>(in, room.NumTriangles, "triangle table");
    room.Sprites = signedArray<Opaque<4>>(in, room.NumSprites, "sprite table");
    room.Portals = in.array<Opaque<32>>(in.u16("portal count"), "portal table");
    room.NumZSectors = in.u16("sector counts");
    room.NumXSectors = in.u16("sector counts");
    room.Sectors = in.array<Opaque<8>>(std::uint64_t{room.NumZSectors} * room.NumXSectors, "sector table");
    room.ColourLow = in.u16("room colour");
    room.ColourHigh = in.u16("room colour");
    room.Lights = in.array<Opaque<46>>(in.u16("light count"), "light table");
    room.RoomStatics = in.array<Opaque<20>>(in.u16("room static count"), "room static table");
    room.AlternateRoom = in.i16("alternate room");
    room.Flags = in.i16("room flags");
    room.WaterReverbAlternateGroup = in.fixed<3>("water scheme, reverb and alternate group");
    return room;
}

// A positive count always says how many records follow; zero or negative counts are kept as held.
template <class T>
void writeSignedArray(ByteWriter& out, std::int16_t count, const std::vector<T>& values, std::string_view name) {
    if (count > 0 || !values.empty()) {
        out.i16(io::checkedCount<std::int16_t>(values.size(), name));
        out.array(values);
    } else {
        out.i16(count);
    }
}

void writeRoom(ByteWriter& out, const Tr4Room& room) {
    out.fixed(room.Info);
    out.u32(room.DataWordCount);
    writeSignedArray(out, room.NumVertices, room.Vertices, "vertex table");
    writeSignedArray(out, room.NumRectangles, room.Rectangles, "rectangle table");
    writeSignedArray(out, room.NumTriangles, room.Triangles, "triangle table");
    writeSignedArray(out, room.NumSprites, room.Sprites, "sprite table");
    out.u16(io::checkedCount<std::uint16_t>(room.Portals.size(), "portal table"));
    out.array(room.Portals);
    if (room.Sectors.size() != std::size_t{room.NumZSectors} * room.NumXSectors)
        throw io::FormatError("sector table holds " + std::to_string(room.Sectors.size()) + " sectors, not " +
                              std::to_string(room.NumZSectors) + " x " + std::to_string(room.NumXSectors));
    out.u16(room.NumZSectors);
    out.u16(room.NumXSectors);
    out.array(room.Sectors);
    out.u16(room.ColourLow);
    out.u16(room.ColourHigh);
    out.u16(io::checkedCount<std::uint16_t>(room.Lights.size(), "light table"));
    out.array(room.Lights);
    out.u16(io::checkedCount<std::uint16_t>(room.RoomStatics.size(), "room static table"));
    out.array(room.RoomStatics);
    out.i16(room.AlternateRoom);
    out.i16(room.Flags);
    out.fixed(room.WaterReverbAlternateGroup);
}

std::string roomPlace(std::size_t index, std::size_t count) {
    return "room " + std::to_string(index) + " of " + std::to_string(count);
}

} // namespace

void parseLevelData(std::span<const std::uint8_t> block, Tr4Level& level) {
    io::within("level data", [&] {
        ByteReader in(block, "block");
        level.Reserved = in.u32("reserved word");
        const std::uint16_t roomCount = in.u16("room count");
        // No reserve for the stated count: a damaged count must not ask for memory its bytes cannot fill.
        level.Rooms.clear();
        for (std::size_t i = 0; i < roomCount; ++i)
            level.Rooms.push_back(io::within(roomPlace(i, roomCount), [&] { return parseRoom(in); }));
        level.FloorData = in.countedArray<std::uint16_t>("floor data");
        level.MeshWords = in.countedArray<std::uint16_t>("mesh words");
        level.MeshPointers = in.countedArray<std::uint32_t>("mesh pointers");
        level.Animations = in.countedRecords<Tr4Animation>("animations");
        level.StateChanges = in.countedRecords<Tr4StateChange>("state changes");
        level.AnimDispatches = in.countedRecords<Tr4AnimDispatch>("anim dispatches");
        level.AnimCommands = in.countedArray<std::uint16_t>("anim commands");
        level.MeshTrees = in.countedArray<std::uint32_t>("mesh trees");
        level.Frames = in.countedArray<std::uint16_t>("frames");
        level.Moveables = in.countedRecords<Tr4Moveable>("moveables");
        level.StaticMeshes = in.countedRecords<Tr4StaticMesh>("static meshes");
        level.SpriteMarker = in.fixed<3>("sprite marker");
        level.SpriteTextures = in.countedArray<Opaque<16>>("sprite textures");
        level.SpriteSequences = in.countedArray<Opaque<8>>("sprite sequences");
        level.Cameras = in.countedArray<Opaque<16>>("cameras");
        level.FlybyCameras = in.countedArray<Opaque<40>>("flyby cameras");
        level.SoundSources = in.countedArray<Opaque<16>>("sound sources");
        level.Boxes = in.countedArray<Opaque<8>>("boxes");
        level.Overlaps = in.countedArray<std::uint16_t>("overlaps");
        level.Zones = in.array<Opaque<20>>(level.Boxes.size(), "zones");
        level.AnimatedTextures = in.countedArray<std::uint16_t>("animated textures");
        level.TextureMarker = in.fixed<4>("texture marker");
        level.ObjectTextures = in.countedRecords<ObjectTexture>("object textures");
        level.Items = in.countedArray<Opaque<24>>("items");
        level.AiObjects = in.countedArray<Opaque<24>>("AI objects");
        level.DemoData = in.array<std::uint16_t>(in.u16("demo data count"), "demo data");
        level.SoundMap = in.fixed<740>("sound map");
        level.SoundDetails = in.countedArray<Opaque<8>>("sound details");
        level.SampleIndices = in.countedArray<std::uint32_t>("sample indices");
        level.EndMarker = in.fixed<6>("end marker");
        const auto rest = in.bytes(in.remaining(), "bytes after the end marker");
        level.AfterEndMarker.assign(rest.begin(), rest.end());
    });
}

std::vector<std::uint8_t> serialiseLevelData(const Tr4Level& level) {
    return io::within("level data", [&] {
        ByteWriter out(level.LevelData.size() + level.MeshWords.size() * 2);
        out.u32(level.Reserved);
        out.u16(io::checkedCount<std::uint16_t>(level.Rooms.size(), "room table"));
        for (std::size_t i = 0; i < level.Rooms.size(); ++i)
            io::within(roomPlace(i, level.Rooms.size()), [&] { writeRoom(out, level.Rooms[i]); });
        out.countedArray(level.FloorData, "floor data");
        out.countedArray(level.MeshWords, "mesh words");
        out.countedArray(level.MeshPointers, "mesh pointers");
        out.countedRecords(level.Animations, "animations");
        out.countedRecords(level.StateChanges, "state changes");
        out.countedRecords(level.AnimDispatches, "anim dispatches");
        out.countedArray(level.AnimCommands, "anim commands");
        out.countedArray(level.MeshTrees, "mesh trees");
        out.countedArray(level.Frames, "frames");
        out.countedRecords(level.Moveables, "moveables");
        out.countedRecords(level.StaticMeshes, "static meshes");
        out.fixed(level.SpriteMarker);
        out.countedArray(level.SpriteTextures, "sprite textures");
        out.countedArray(level.SpriteSequences, "sprite sequences");
        out.countedArray(level.Cameras, "cameras");
        out.countedArray(level.FlybyCameras, "flyby cameras");
        out.countedArray(level.SoundSources, "sound sources");
        out.countedArray(level.Boxes, "boxes");
        out.countedArray(level.Overlaps, "overlaps");
        if (level.Zones.size() != level.Boxes.size())
            throw io::FormatError("zones: " + std::to_string(level.Zones.size()) + " zone records for " +
                                  std::to_string(level.Boxes.size()) + " boxes");
        out.array(level.Zones);
        out.countedArray(level.AnimatedTextures, "animated textures");
        out.fixed(level.TextureMarker);
        out.countedRecords(level.ObjectTextures, "object textures");
        out.countedArray(level.Items, "items");
        out.countedArray(level.AiObjects, "AI objects");
        out.u16(io::checkedCount<std::uint16_t>(level.DemoData.size(), "demo data"));
        out.array(level.DemoData);
        out.fixed(level.SoundMap);
        out.countedArray(level.SoundDetails, "sound details");
        out.countedArray(level.SampleIndices, "sample indices");
        out.fixed(level.EndMarker);
        out.bytes(level.AfterEndMarker);
        return out.take();
    });
}

} // namespace veltrane::level
