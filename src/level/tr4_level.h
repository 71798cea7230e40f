#pragma once

#include "io/zlib_chunk.h"
#include "level/pages.h"
#include "level/records.h"

#include <array>
#include <cstdint>
#include <vector>

namespace veltrane::level {

template <std::size_t N>
using Opaque = std::array<std::uint8_t, N>;

// One room of the level, carried through unchanged. Counts are held as read so that a negative
// geometry count (no records follow) is written back as it was.
struct Tr4Room {
    Opaque<16> Info{};
    std::uint32_t DataWordCount = 0; // never recomputed
    std::int16_t NumVertices = 0;
    std::vector<Opaque<12>> Vertices;
    std::int16_t NumRectangles = 0;
    std::vector<Opaque<10>> Rectangles;
    std::int16_t NumTriangles = 0;
    std::vector<Opaque<8>> Triangles;
    std::int16_t NumSprites = 0;
    std::vector<Opaque<4>> Sprites;
    std::vector<Opaque<32>> Portals;
    std::uint16_t NumZSectors = 0;
    std::uint16_t NumXSectors = 0;
    std::vector<Opaque<8>> Sectors; // Z times X
    std::uint16_t ColourLow = 0;
    std::uint16_t ColourHigh = 0;
    std::vector<Opaque<46>> Lights;
    std::vector<Opaque<20>> RoomStatics;
    std::int16_t AlternateRoom = 0;
    std::int16_t Flags = 0;
    Opaque<3> WaterReverbAlternateGroup{};

    bool operator==(const Tr4Room&) const = default;
};

// A Tomb Raider 4 level in memory: the container of the .tr4 file, then every table of its
// level-data block. A table's count is its size(); code that grows a table appends to the vector,
// so a count and its array always agree and an entry never changes its index.
struct Tr4Level {
    // Container, in file order.
    std::uint32_t Version = 0;
    std::uint16_t NumRoomPages = 0;
    std::uint16_t NumObjectPages = 0;
    std::uint16_t NumBumpPages = 0;
    std::vector<std::uint8_t> Pages32;   // inflated 32-bit pages
    std::vector<std::uint8_t> Pages16;   // inflated 16-bit pages
    std::vector<std::uint8_t> PagesMisc; // inflated third chunk, never interpreted
    std::vector<std::uint8_t> LevelData; // the level-data block as last loaded or saved
    std::uint32_t Pages32PackedSize = 0;
    std::uint32_t Pages16PackedSize = 0;
    std::uint32_t PagesMiscPackedSize = 0;
    std::uint32_t LevelDataPackedSize = 0;
    // The four chunks as last read or written, packed: a save carries over the part of a chunk that
    // still begins with what one of them inflates to.
    std::array<io::PackedStream, 4> PackedChunks;
    std::uint32_t SampleCount = 0;
    std::vector<std::uint8_t> Tail; // every byte after SampleCount
    std::uint32_t PageCount = 0; // whole pages in Pages32

    // Level-data block, in file order.
    std::uint32_t Reserved = 0;
    std::vector<Tr4Room> Rooms; // at most 65535: the count is 16 bits
    std::vector<std::uint16_t> FloorData;
    std::vector<std::uint16_t> MeshWords;
    std::vector<std::uint32_t> MeshPointers;
    std::vector<Tr4Animation> Animations;
    std::vector<Tr4StateChange> StateChanges;
    std::vector<Tr4AnimDispatch> AnimDispatches;
    std::vector<std::uint16_t> AnimCommands;
    std::vector<std::uint32_t> MeshTrees;
    std::vector<std::uint16_t> Frames;
    std::vector<Tr4Moveable> Moveables;
    std::vector<Tr4StaticMesh> StaticMeshes;
    Opaque<3> SpriteMarker{};
    std::vector<Opaque<16>> SpriteTextures;
    std::vector<Opaque<8>> SpriteSequences;
    std::vector<Opaque<16>> Cameras;
    std::vector<Opaque<40>> FlybyCameras;
    std::vector<Opaque<16>> SoundSources;
    std::vector<Opaque<8>> Boxes;
    std::vector<std::uint16_t> Overlaps;
    std::vector<Opaque<20>> Zones; // one per box, no count of its own
    std::vector<std::uint16_t> AnimatedTextures;
    Opaque<4> TextureMarker{};
    std::vector<ObjectTexture> ObjectTextures;
    std::vector<Opaque<24>> Items;
    std::vector<Opaque<24>> AiObjects;
    std::vector<std::uint16_t> DemoData; // 16-bit count
    Opaque<740> SoundMap{};
    std::vector<Opaque<8>> SoundDetails;
    std::vector<std::uint32_t> SampleIndices;
    Opaque<6> EndMarker{};
    std::vector<std::uint8_t> AfterEndMarker; // kept so that nothing is lost on a round trip

    bool operator==(const Tr4Level&) const = default;
};

} // namespace veltrane::level
