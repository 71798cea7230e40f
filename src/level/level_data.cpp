#include "level/level_data.h"

#include "io/format_error.h"

#include <limits>
#include <string>

namespace veltrane::level {
namespace {

using io::ByteReader;
using io::ByteWriter;

// A table with a 32-bit count in front.
template <class T>
std::vector<T> countedArray(ByteReader& in, std::string_view name) {
    const std::uint32_t count = in.u32(std::string(name) + " count");
    return in.array<T>(count, name);
}

template <class Record>
std::vector<Record> countedRecords(ByteReader& in, std::string_view name) {
    const std::uint32_t count = in.u32(std::string(name) + " count");
    return in.records<Record>(count, name);
}

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

template <class Count>
Count checkedCount(std::size_t size, std::string_view name) {
    if (size > std::numeric_limits<Count>::max())
        throw io::FormatError(std::string(name) + " has " + std::to_string(size) + " entries, more than its count holds");
    return static_cast<Count>(size);
}

template <class T>
void writeCountedArray(ByteWriter& out, const std::vector<T>& values, std::string_view name) {
    out.u32(checkedCount<std::uint32_t>(values.size(), name));
    out.array(values);
}

template <class Record>
void writeCountedRecords(ByteWriter& out, const std::vector<Record>& values, std::string_view name) {
    out.u32(checkedCount<std::uint32_t>(values.size(), name));
    out.records(values);
}

// A positive count always says how many records follow; zero or negative counts are kept as held.
template <class T>
void writeSignedArray(ByteWriter& out, std::int16_t count, const std::vector<T>& values, std::string_view name) {
    if (count > 0 || !values.empty()) {
        out.i16(checkedCount<std::int16_t>(values.size(), name));
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
    out.u16(checkedCount<std::uint16_t>(room.Portals.size(), "portal table"));
    out.array(room.Portals);
    if (room.Sectors.size() != std::size_t{room.NumZSectors} * room.NumXSectors)
        throw io::FormatError("sector table holds " + std::to_string(room.Sectors.size()) + " sectors, not " +
                              std::to_string(room.NumZSectors) + " x " + std::to_string(room.NumXSectors));
    out.u16(room.NumZSectors);
    out.u16(room.NumXSectors);
    out.array(room.Sectors);
    out.u16(room.ColourLow);
    out.u16(room.ColourHigh);
    out.u16(checkedCount<std::uint16_t>(room.Lights.size(), "light table"));
    out.array(room.Lights);
    out.u16(checkedCount<std::uint16_t>(room.RoomStatics.size(), "room static table"));
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
        level.FloorData = countedArray<std::uint16_t>(in, "floor data");
        level.MeshWords = countedArray<std::uint16_t>(in, "mesh words");
        level.MeshPointers = countedArray<std::uint32_t>(in, "mesh pointers");
        level.Animations = countedRecords<Tr4Animation>(in, "animations");
        level.StateChanges = countedRecords<Tr4StateChange>(in, "state changes");
        level.AnimDispatches = countedRecords<Tr4AnimDispatch>(in, "anim dispatches");
        level.AnimCommands = countedArray<std::uint16_t>(in, "anim commands");
        level.MeshTrees = countedArray<std::uint32_t>(in, "mesh trees");
        level.Frames = countedArray<std::uint16_t>(in, "frames");
        level.Moveables = countedRecords<Tr4Moveable>(in, "moveables");
        level.StaticMeshes = countedRecords<Tr4StaticMesh>(in, "static meshes");
        level.SpriteMarker = in.fixed<3>("sprite marker");
        level.SpriteTextures = countedArray<Opaque<16>>(in, "sprite textures");
        level.SpriteSequences = countedArray<Opaque<8>>(in, "sprite sequences");
        level.Cameras = countedArray<Opaque<16>>(in, "cameras");
        level.FlybyCameras = countedArray<Opaque<40>>(in, "flyby cameras");
        level.SoundSources = countedArray<Opaque<16>>(in, "sound sources");
        level.Boxes = countedArray<Opaque<8>>(in, "boxes");
        level.Overlaps = countedArray<std::uint16_t>(in, "overlaps");
        level.Zones = in.array<Opaque<20>>(level.Boxes.size(), "zones");
        level.AnimatedTextures = countedArray<std::uint16_t>(in, "animated textures");
        level.TextureMarker = in.fixed<4>("texture marker");
        level.ObjectTextures = countedRecords<ObjectTexture>(in, "object textures");
        level.Items = countedArray<Opaque<24>>(in, "items");
        level.AiObjects = countedArray<Opaque<24>>(in, "AI objects");
        level.DemoData = in.array<std::uint16_t>(in.u16("demo data count"), "demo data");
        level.SoundMap = in.fixed<740>("sound map");
        level.SoundDetails = countedArray<Opaque<8>>(in, "sound details");
        level.SampleIndices = countedArray<std::uint32_t>(in, "sample indices");
        level.EndMarker = in.fixed<6>("end marker");
        const auto rest = in.bytes(in.remaining(), "bytes after the end marker");
        level.AfterEndMarker.assign(rest.begin(), rest.end());
    });
}

std::vector<std::uint8_t> serialiseLevelData(const Tr4Level& level) {
    return io::within("level data", [&] {
        ByteWriter out(level.LevelData.size() + level.MeshWords.size() * 2);
        out.u32(level.Reserved);
        out.u16(checkedCount<std::uint16_t>(level.Rooms.size(), "room table"));
        for (std::size_t i = 0; i < level.Rooms.size(); ++i)
            io::within(roomPlace(i, level.Rooms.size()), [&] { writeRoom(out, level.Rooms[i]); });
        writeCountedArray(out, level.FloorData, "floor data");
        writeCountedArray(out, level.MeshWords, "mesh words");
        writeCountedArray(out, level.MeshPointers, "mesh pointers");
        writeCountedRecords(out, level.Animations, "animations");
        writeCountedRecords(out, level.StateChanges, "state changes");
        writeCountedRecords(out, level.AnimDispatches, "anim dispatches");
        writeCountedArray(out, level.AnimCommands, "anim commands");
        writeCountedArray(out, level.MeshTrees, "mesh trees");
        writeCountedArray(out, level.Frames, "frames");
        writeCountedRecords(out, level.Moveables, "moveables");
        writeCountedRecords(out, level.StaticMeshes, "static meshes");
        out.fixed(level.SpriteMarker);
        writeCountedArray(out, level.SpriteTextures, "sprite textures");
        writeCountedArray(out, level.SpriteSequences, "sprite sequences");
        writeCountedArray(out, level.Cameras, "cameras");
        writeCountedArray(out, level.FlybyCameras, "flyby cameras");
        writeCountedArray(out, level.SoundSources, "sound sources");
        writeCountedArray(out, level.Boxes, "boxes");
        writeCountedArray(out, level.Overlaps, "overlaps");
        if (level.Zones.size() != level.Boxes.size())
            throw io::FormatError("zones: " + std::to_string(level.Zones.size()) + " zone records for " +
                                  std::to_string(level.Boxes.size()) + " boxes");
        out.array(level.Zones);
        writeCountedArray(out, level.AnimatedTextures, "animated textures");
        out.fixed(level.TextureMarker);
        writeCountedRecords(out, level.ObjectTextures, "object textures");
        writeCountedArray(out, level.Items, "items");
        writeCountedArray(out, level.AiObjects, "AI objects");
        out.u16(checkedCount<std::uint16_t>(level.DemoData.size(), "demo data"));
        out.array(level.DemoData);
        out.fixed(level.SoundMap);
        writeCountedArray(out, level.SoundDetails, "sound details");
        writeCountedArray(out, level.SampleIndices, "sample indices");
        out.fixed(level.EndMarker);
        out.bytes(level.AfterEndMarker);
        return out.take();
    });
}

} // namespace veltrane::level
