#include "io/format_error.h"
#include "level/level_data.h"

#include <gtest/gtest.h>

namespace veltrane::level {
namespace {

Tr4Room roomWithEverything() {
    Tr4Room room;
    room.Info[0] = 1;
    room.DataWordCount = 77;
    room.NumVertices = 2;
    room.Vertices.resize(2);
    room.Vertices[1][11] = 5;
    room.NumRectangles = 1;
    room.Rectangles.resize(1);
    room.NumTriangles = -3; // negative: no records follow, the count is kept
    room.Portals.resize(1);
    room.NumZSectors = 2;
    room.NumXSectors = 3;
    room.Sectors.resize(6);
    room.ColourHigh = 0x5678;
    room.Lights.resize(2);
    room.Lights[1][45] = 9;
    room.RoomStatics.resize(1);
    room.AlternateRoom = -1;
    room.WaterReverbAlternateGroup = {1, 2, 3};
    return room;
}

Tr4Level levelWithTables() {
    Tr4Level level;
    level.Reserved = 0xCAFE;
    level.Rooms = {roomWithEverything(), Tr4Room{}};
    level.FloorData = {1, 2, 3};
    level.MeshWords = std::vector<std::uint16_t>(10);
    level.MeshPointers = {0};
    level.Animations.resize(2);
    level.Animations[1].NextAnimation = 1;
    level.StateChanges.resize(1);
    level.AnimDispatches.resize(1);
    level.AnimCommands = {1, 2, 3, 4};
    level.MeshTrees = {0, 10, 20, 30};
    level.Frames = {9, 9, 9};
    level.Moveables.resize(1);
    level.StaticMeshes.resize(1);
    level.SpriteMarker = {'S', 'P', 'R'};
    level.SpriteTextures.resize(1);
    level.Boxes.resize(3);
    level.Zones.resize(3);
    level.Overlaps = {1};
    level.TextureMarker = {0, 'T', 'E', 'X'};
    level.ObjectTextures.resize(2);
    level.ObjectTextures[1].Tile = 0x8003;
    level.Items.resize(2);
    level.DemoData = {5, 6, 7};
    level.SoundMap[739] = 1;
    level.SampleIndices = {4, 5};
    level.AfterEndMarker = {0xAA, 0xBB};
    return level;
}

std::string parseError(std::span<const std::uint8_t> block) {
    Tr4Level level;
    try {
        parseLevelData(block, level);
    } catch (const io::FormatError& error) {
        return error.what();
    }
    return "parsed";
}

TEST(LevelData, ABlockParsedAndSerialisedUnchangedIsByteIdenticalAndTablesTakeTheirWidths) {
    const Tr4Level level = levelWithTables();
    const auto block = serialiseLevelData(level);
    Tr4Level parsed;
    parseLevelData(block, parsed);
    EXPECT_EQ(serialiseLevelData(parsed), block);
    EXPECT_TRUE(parsed == level) << "every table and every byte after the end marker come back";

    // Room: info 16, word count 4, four geometry counts 8 with 2 vertices of 12 and a rectangle of 10,
    // no triangles for the negative count, 1 portal of 32, sector counts 4 and 6 sectors of 8, colour 4,
    // light count 2 and two lights of 46, static count 2 and one of 20, then 2 + 2 + 3.
    Tr4Level oneRoom;
    oneRoom.Rooms = {roomWithEverything()};
    const auto empty = serialiseLevelData(Tr4Level{});
    EXPECT_EQ(serialiseLevelData(oneRoom).size() - empty.size(),
              16u + 4 + 8 + 24 + 10 + 2 + 32 + 4 + 48 + 4 + 2 + 92 + 2 + 20 + 7);
    // 8-byte boxes with 20 zone bytes each and no count of their own, 2 bytes a demo-data unit.
    Tr4Level boxes;
    boxes.Boxes.resize(2);
    boxes.Zones.resize(2);
    boxes.DemoData = {1, 2, 3};
    EXPECT_EQ(serialiseLevelData(boxes).size() - empty.size(), 2u * 8 + 2u * 20 + 3u * 2);
}

TEST(LevelData, EveryTruncationAndDamageIsRefusedWithItsPlace) {
    const auto block = serialiseLevelData(levelWithTables());
    for (std::size_t length = 0; length < block.size() - 2; ++length) {
        const auto message = parseError(std::span(block).first(length));
        EXPECT_EQ(message.rfind("level data: ", 0), 0u) << "length " << length << ": " << message;
    }
    // Room 0 claiming 200 x 200 sectors: its sector table runs past the block.
    auto damaged = block;
    const std::size_t sectorCounts = 4 + 2 + 16 + 4 + 2 + 24 + 2 + 10 + 2 + 2 + 2 + 32;
    damaged[sectorCounts] = damaged[sectorCounts + 2] = 200;
    EXPECT_EQ(parseError(damaged).rfind("level data: room 0 of 2: sector table runs past the end of the block", 0), 0u)
        << parseError(damaged);
}

TEST(LevelData, CountsClaimingGigabytesAreRefusedBeforeAnyMemoryIsAskedFor) {
    const auto block = serialiseLevelData(Tr4Level{});
    auto manyRooms = block;
    manyRooms[4] = manyRooms[5] = 0xFF; // 65535 rooms in a block of a few hundred bytes
    EXPECT_NE(parseError(manyRooms).find(" of 65535: "), std::string::npos) << parseError(manyRooms);
    auto hugeFloorData = block;
    for (std::size_t i = 6; i < 10; ++i)
        hugeFloorData[i] = 0xFF; // four billion floor-data words, eight gigabytes
    EXPECT_EQ(parseError(hugeFloorData).rfind("level data: floor data runs past the end of the block", 0), 0u);
}

TEST(LevelData, AModelThatCannotBeWrittenIsRefused) {
    for (const auto damage : {+[](Tr4Level& l) { l.Zones.pop_back(); }, +[](Tr4Level& l) { l.Rooms[0].Sectors.pop_back(); },
                              +[](Tr4Level& l) { l.Rooms[0].Vertices.resize(40000); }}) {
        auto level = levelWithTables();
        damage(level);
        EXPECT_THROW(serialiseLevelData(level), io::FormatError);
    }
}

} // namespace
} // namespace veltrane::level
