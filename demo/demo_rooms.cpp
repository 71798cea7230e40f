#include "demo/demo_rooms.h"

#include "builders/level_builder.h"
#include "builders/room_builder.h"

#include <array>
#include <stdexcept>

namespace veltrane::demo {
namespace {

constexpr int kSector = 1024;
constexpr int kRoomSectors = 10;          // the outer ring of sectors is wall
constexpr int kStride = kRoomSectors - 1; // neighbours share their wall sectors
constexpr int kRoomsPerRow = 12;
constexpr int kDoorway = 5; // the sector along a wall where a doorway opens

enum class Side { West, East, South, North };

struct Cell {
    int column = 0;
    int row = 0;
};

// Rooms wind back and forth, kRoomsPerRow to a row.
Cell cellOf(std::size_t room) {
    const int row = static_cast<int>(room) / kRoomsPerRow;
    const int step = static_cast<int>(room) % kRoomsPerRow;
    return {row % 2 == 0 ? step : kRoomsPerRow - 1 - step, row};
}

Side sideTowards(std::size_t from, std::size_t to) {
    const Cell a = cellOf(from);
    const Cell b = cellOf(to);
    if (b.row != a.row)
        return b.row > a.row ? Side::North : Side::South;
    return b.column > a.column ? Side::East : Side::West;
}

// The wall sector of a side where its doorway lies, as (x, z) within the room.
std::array<int, 2> doorwaySector(Side side) {
    switch (side) {
    case Side::West: return {0, kDoorway};
    case Side::East: return {kRoomSectors - 1, kDoorway};
    case Side::South: return {kDoorway, 0};
    case Side::North: return {kDoorway, kRoomSectors - 1};
    }
    return {0, 0};
}

std::int16_t units(int value) { return static_cast<std::int16_t>(value); }

class RoomMaker {
public:
    RoomMaker(level::Tr4Level& level, const LevelAtlas& atlas, std::size_t count, Random& random)
        : level_(level), atlas_(atlas), count_(count), random_(random) {}

    level::Tr4Room make(std::size_t index, std::span<const std::uint32_t> staticIds) {
        index_ = index;
        height_ = kSector * (2 + random_.between(0, 2));
        builder_ = builders::RoomBuilder();
        const Cell cell = cellOf(index);
        builder_.position(cell.column * kStride * kSector, cell.row * kStride * kSector, 0, -height_);
        sides_.clear();
        if (index > 0)
            sides_.push_back({sideTowards(index, index - 1), index - 1});
        if (index + 1 < count_)
            sides_.push_back({sideTowards(index, index + 1), index + 1});

        surfaces();
        walls();
        floorPlan();
        furnish(staticIds);
        return builder_.build();
    }

private:
    struct Doorway {
        Side side;
        std::size_t room;
    };

    std::uint16_t vertex(int x, int y, int z) {
        // Darker towards the far corner, so the rooms are not flatly lit.
        const int light = 31 - (x + z) / (2 * kSector);
        const auto grey = static_cast<std::uint16_t>(std::max(light, 8));
        builder_.vertex(units(x), units(y), units(z), static_cast<std::uint16_t>(grey << 10 | grey << 5 | grey));
        return static_cast<std::uint16_t>(builder_.vertexCount() - 1);
    }

    // Floor and ceiling: a grid over the inner 8 x 8 sectors, with the two corner squares of each
    // split into triangles.
    void surfaces() {
        constexpr int kPoints = kRoomSectors - 1;
        for (const int y : {0, -height_}) {
            std::array<std::array<std::uint16_t, kPoints>, kPoints> grid{};
            for (int x = 1; x <= kPoints; ++x)
                for (int z = 1; z <= kPoints; ++z)
                    grid[x - 1][z - 1] = vertex(x * kSector, y, z * kSector);
            for (int x = 0; x + 1 < kPoints; ++x) {
                for (int z = 0; z + 1 < kPoints; ++z) {
                    const std::array<std::uint16_t, 4> square = {grid[x][z], grid[x + 1][z], grid[x + 1][z + 1],
                                                                 grid[x][z + 1]};
                    const bool corner = (x == 0 && z == 0) || (x == kPoints - 2 && z == kPoints - 2);
                    const std::size_t variety = index_ + static_cast<std::size_t>(x * 3 + z + (y < 0 ? 7 : 0));
                    if (corner) {
                        builder_.triangle({square[0], square[1], square[2]}, atlas_.roomTriangle(variety));
                        builder_.triangle({square[0], square[2], square[3]}, atlas_.roomTriangle(variety + 1));
                    } else {
                        builder_.rectangle(square, atlas_.roomQuad(variety));
                    }
                }
            }
        }
    }

    bool hasDoorway(Side side) const {
        for (const auto& doorway : sides_)
            if (doorway.side == side)
                return true;
        return false;
    }

    std::size_t doorwayRoom(Side side) const {
        for (const auto& doorway : sides_)
            if (doorway.side == side)
                return doorway.room;
        throw std::logic_error("no doorway on that side");
    }

    // Walls of two storeys along the inner edge of the wall ring; a doorway leaves the lower storey
    // of its sector open and puts a portal there.
    void walls() {
        const int middle = -kSector * 3 / 2;
        for (const Side side : {Side::West, Side::East, Side::South, Side::North}) {
            const bool alongZ = side == Side::West || side == Side::East;
            const int fixed = (side == Side::West || side == Side::South) ? kSector : (kRoomSectors - 1) * kSector;
            const auto at = [&](int along, int y) {
                return alongZ ? vertex(fixed, y, along) : vertex(along, y, fixed);
            };
            for (int s = 1; s < kRoomSectors - 1; ++s) {
                const int from = s * kSector;
                const int to = from + kSector;
                const std::array<std::uint16_t, 3> near = {at(from, 0), at(from, middle), at(from, -height_)};
                const std::array<std::uint16_t, 3> far = {at(to, 0), at(to, middle), at(to, -height_)};
                const std::size_t variety = index_ * 5 + static_cast<std::size_t>(s);
                const bool doorway = s == kDoorway && hasDoorway(side);
                if (!doorway)
                    builder_.rectangle({near[0], far[0], far[1], near[1]}, atlas_.roomQuad(variety));
                builder_.rectangle({near[1], far[1], far[2], near[2]}, atlas_.roomQuad(variety + 2));
                if (doorway)
                    portal(side, alongZ, fixed, from, to, middle);
            }
        }
    }

    void portal(Side side, bool alongZ, int fixed, int from, int to, int top) {
        const auto corner = [&](int along, int y) {
            return alongZ ? level::MeshVector{units(fixed), units(y), units(along)}
                          : level::MeshVector{units(along), units(y), units(fixed)};
        };
        // The normal points into the room.
        level::MeshVector normal{};
        switch (side) {
        case Side::West: normal.x = 1; break;
        case Side::East: normal.x = -1; break;
        case Side::South: normal.z = 1; break;
        case Side::North: normal.z = -1; break;
        }
        builder_.portal(static_cast<std::uint16_t>(doorwayRoom(side)), normal,
                        {corner(from, top), corner(to, top), corner(to, 0), corner(from, 0)});
    }

    // Sectors: walls round the edge, open floor inside standing on this room's box, and doorway
    // sectors whose floor data leads into the next room.
    void floorPlan() {
        const std::size_t box = level_.Boxes.size();
        const Cell cell = cellOf(index_);
        builders::Box area;
        area.XMin = static_cast<std::uint8_t>(cell.column * kStride + 1);
        area.XMax = static_cast<std::uint8_t>(area.XMin + kRoomSectors - 2);
        area.ZMin = static_cast<std::uint8_t>(cell.row * kStride + 1);
        area.ZMax = static_cast<std::uint8_t>(area.ZMin + kRoomSectors - 2);
        std::vector<std::uint16_t> neighbours;
        if (index_ > 0)
            neighbours.push_back(static_cast<std::uint16_t>(box - 1));
        if (index_ + 1 < count_)
            neighbours.push_back(static_cast<std::uint16_t>(box + 1));
        area.OverlapIndex = neighbours.empty() ? 0x7FF : builders::addOverlaps(level_, neighbours);
        builders::addBox(level_, area, 1);

        const auto ceiling = static_cast<std::int8_t>(-height_ / 256);
        builders::Sector wall;
        wall.Floor = -127;
        wall.Ceiling = -127;
        builder_.sectors(kRoomSectors, kRoomSectors, wall);
        builders::Sector open;
        open.Box = static_cast<std::uint16_t>(box << 4 | (index_ % 4));
        open.Ceiling = ceiling;
        for (int x = 1; x < kRoomSectors - 1; ++x)
            for (int z = 1; z < kRoomSectors - 1; ++z)
                builder_.sector(static_cast<std::uint16_t>(z), static_cast<std::uint16_t>(x), open);
        for (const auto& doorway : sides_) {
            builders::Sector door = open;
            door.FloorDataIndex = static_cast<std::uint16_t>(level_.FloorData.size());
            level_.FloorData.push_back(0x8001); // a portal, and the last entry of this sector's list
            level_.FloorData.push_back(static_cast<std::uint16_t>(doorway.room));
            const auto [x, z] = doorwaySector(doorway.side);
            builder_.sector(static_cast<std::uint16_t>(z), static_cast<std::uint16_t>(x), door);
        }
    }

    void furnish(std::span<const std::uint32_t> staticIds) {
        const Cell cell = cellOf(index_);
        const std::int32_t worldX = cell.column * kStride * kSector;
        const std::int32_t worldZ = cell.row * kStride * kSector;
        const int colour = random_.between(0, 2);
        builders::RoomLight lamp;
        lamp.X = worldX + 5 * kSector;
        lamp.Z = worldZ + 5 * kSector;
        lamp.Y = -height_ + 256;
        lamp.Red = static_cast<std::uint8_t>(colour == 0 ? 255 : 180);
        lamp.Green = static_cast<std::uint8_t>(colour == 1 ? 255 : 200);
        lamp.Blue = static_cast<std::uint8_t>(colour == 2 ? 255 : 160);
        builder_.light(lamp);
        if (index_ % 2 == 1) {
            builders::RoomLight spot = lamp;
            spot.Type = 2;
            spot.X = worldX + 2 * kSector;
            spot.Length = 3072;
            spot.Cutoff = 0.5f;
            spot.DirectionY = 1;
            builder_.light(spot);
        }
        builder_.ambient(static_cast<std::uint32_t>(0xFF000000u | random_.between(0x20, 0x50) * 0x010101u));

        for (int placed = random_.between(1, 2); placed > 0 && !staticIds.empty(); --placed) {
            builders::RoomStatic item;
            item.X = worldX + random_.between(2, 7) * kSector + kSector / 2;
            item.Z = worldZ + random_.between(2, 7) * kSector + kSector / 2;
            item.Rotation = static_cast<std::uint16_t>(random_.between(0, 3) * 0x4000);
            item.MeshId = static_cast<std::uint16_t>(
                staticIds[static_cast<std::size_t>(random_.between(0, static_cast<int>(staticIds.size()) - 1))]);
            builder_.roomStatic(item);
        }

        // Sprites stand on vertices of their own.
        for (int sprite = 0; sprite < 2; ++sprite) {
            const std::uint16_t at = vertex((3 + 3 * sprite) * kSector, 0, (3 + sprite) * kSector);
            builder_.sprite(
                at, static_cast<std::uint16_t>(sprite % std::max<std::size_t>(level_.SpriteTextures.size(), 1)));
        }
        if (index_ % 10 == 9)
            builder_.flags(1).waterAndReverb(1, 0); // a flooded room
        else
            builder_.waterAndReverb(0, static_cast<std::uint8_t>(index_ % 4));
    }

    level::Tr4Level& level_;
    const LevelAtlas& atlas_;
    std::size_t count_;
    Random& random_;
    std::size_t index_ = 0;
    int height_ = 0;
    builders::RoomBuilder builder_;
    std::vector<Doorway> sides_;
};

} // namespace

std::vector<RoomPlace> addRooms(level::Tr4Level& level, const LevelAtlas& atlas, std::size_t count,
                                std::span<const std::uint32_t> staticIds, Random& random) {
    if (count == 0 || (count + kRoomsPerRow - 1) / kRoomsPerRow * kStride > 255)
        throw std::logic_error("the rooms' boxes must fit sector coordinates below 256");
    if (level.FloorData.empty())
        level.FloorData.push_back(0); // sectors without floor data point at this first word
    RoomMaker maker(level, atlas, count, random);
    std::vector<RoomPlace> places;
    for (std::size_t index = 0; index < count; ++index) {
        level.Rooms.push_back(maker.make(index, staticIds));
        const Cell cell = cellOf(index);
        places.push_back(
            {cell.column * kStride * kSector + 5 * kSector, cell.row * kStride * kSector + 5 * kSector, 0});
    }
    return places;
}

} // namespace veltrane::demo
