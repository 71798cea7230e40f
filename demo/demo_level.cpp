#include "demo/demo_level.h"

#include "builders/level_builder.h"
#include "builders/objects.h"
#include "builders/pages.h"
#include "demo/demo_ids.h"
#include "demo/demo_rooms.h"
#include "demo/demo_sounds.h"
#include "demo/figure.h"
#include "demo/filler.h"
#include "demo/level_atlas.h"
#include "demo/patterns.h"
#include "demo/props.h"

#include <cmath>
#include <vector>

namespace veltrane::demo {
namespace {

using level::MeshKind;

struct LevelPlan {
    std::uint16_t RoomPages;
    std::uint16_t ObjectPages;
    std::size_t ObjectTextures;
    std::size_t Rooms;
    FillerPlan Objects; // large scale only
};

LevelPlan planFor(DemoScale scale) {
    if (scale == DemoScale::Large)
        return {30,
                18,
                3000,
                150,
                {150, 1500, 80, 2500, 300000, ids::kFirstLevelFiller, ids::kFirstLevelFillerStatic, false}};
    return {4, 3, 3 * 7 * kTilesPerPage, 4, {}};
}

// The misc chunk holds two 32-bit pages the game draws its font and sky from.
void addMiscPages(level::Tr4Level& level) {
    const TexelSource font = [](int x, int y) {
        // A grid of blocky glyph cells on a see-through ground.
        const int cell = (y / 16) * 16 + x / 16;
        const int bit = (y % 16) / 3 * 5 + (x % 16) / 3;
        const bool inked = x % 16 < 15 && y % 16 < 15 && ((cell * 2654435761u) >> (bit % 24) & 1) != 0;
        return inked ? builders::Rgb{230, 220, 180} : builders::kTransparent;
    };
    const TexelSource sky = [](int x, int y) {
        const double cloud =
            0.5 + 0.25 * std::sin(x * 0.05 + std::sin(y * 0.09) * 2) + 0.25 * std::sin(y * 0.07 - x * 0.02);
        return mix(mix(Rgb{40, 70, 150}, Rgb{150, 180, 220}, y / 255.0), Rgb{235, 235, 240},
                   std::clamp(cloud - 0.55, 0.0, 1.0) * 2);
    };
    for (const auto& page : {font, sky}) {
        const auto bytes = builders::levelPage32(page);
        level.PagesMisc.insert(level.PagesMisc.end(), bytes.begin(), bytes.end());
    }
}

void addSprites(level::Tr4Level& level) {
    // Two sprites drawn from the first room page's corner tiles, shown for two sprite objects.
    builders::addSpriteTexture(level, 0, 0, 0, 64, 64);
    builders::addSpriteTexture(level, 0, 192, 0, 64, 64);
    builders::addSpriteSequence(level, 356, 1, 0);
    builders::addSpriteSequence(level, 357, 1, 1);
}

FigureLook playerLook(const LevelAtlas& atlas) {
    FigureLook look;
    look.ObjectId = ids::kPlayer;
    look.HandsAndFeet = true;
    look.Head = atlas.objectSkin(3);
    look.Body = atlas.objectSkin(8);
    look.Limbs = atlas.objectSkin(13);
    return look;
}

void addItems(level::Tr4Level& level, const std::vector<RoomPlace>& rooms, Random& random) {
    // The player in the first room, every other moveable somewhere along the way.
    for (std::size_t m = 0; m < level.Moveables.size(); ++m) {
        const std::size_t room =
            m == 0 ? 0 : static_cast<std::size_t>(random.between(0, static_cast<int>(rooms.size()) - 1));
        builders::Item item;
        item.ObjectId = static_cast<std::int16_t>(level.Moveables[m].ObjectId);
        item.Room = static_cast<std::int16_t>(room);
        item.X = rooms[room].X + random.between(-2, 2) * 1024;
        item.Z = rooms[room].Z + random.between(-2, 2) * 1024;
        item.Y = rooms[room].Floor;
        item.Angle = static_cast<std::int16_t>(random.between(0, 3) * 0x4000);
        builders::addItem(level, item);
    }
    for (std::size_t room = 0; room < rooms.size(); room += 4)
        builders::addCamera(
            level, {rooms[room].X, rooms[room].Floor - 1536, rooms[room].Z, static_cast<std::int16_t>(room), 0});
    for (std::size_t room = 2; room < rooms.size(); room += 10)
        builders::addSoundSource(level, {rooms[room].X, rooms[room].Floor - 512, rooms[room].Z,
                                         static_cast<std::uint16_t>(ids::kBellSound), 0});
}

} // namespace

level::Tr4Level demoLevel(DemoScale scale) {
    const LevelPlan plan = planFor(scale);
    Random random(scale == DemoScale::Large ? 0x7E4A11 : 0x7E4);
    level::Tr4Level level = builders::minimalLevel();
    const LevelAtlas atlas(plan.RoomPages, plan.ObjectPages, plan.ObjectTextures);
    atlas.addTo(level);
    addMiscPages(level);
    addSprites(level);
    addDemoSounds(level);
    builders::addAnimatedTextureGroup(level, {atlas.roomTileTexture(4), atlas.roomTileTexture(5),
                                              atlas.roomTileTexture(6), atlas.roomTileTexture(7)});

    builders::appendMoveable(level, jointedFigure(MeshKind::Level, playerLook(atlas)));
    builders::appendMoveable(level, crawler(MeshKind::Level, ids::kCrawler, atlas.objectSkin(20)));
    builders::appendMoveable(level, door(MeshKind::Level, ids::kDoor, atlas.objectSkin(27)));
    builders::appendMoveable(level, lever(MeshKind::Level, ids::kLever, atlas.objectSkin(33)));
    builders::appendStaticMesh(level, plant(MeshKind::Level, ids::kPlant, atlas.objectSkin(40)));
    builders::appendStaticMesh(level, rock(MeshKind::Level, ids::kRock, atlas.objectSkin(45)));
    builders::appendStaticMesh(level, column(MeshKind::Level, ids::kColumn, atlas.objectSkin(2)));
    builders::appendStaticMesh(level, urn(MeshKind::Level, ids::kUrn, atlas.objectSkin(17)));
    if (scale == DemoScale::Large)
        addFillers(
            level, plan.Objects, [&](std::size_t i) { return atlas.objectSkin(i * 3 + 1); },
            [&](std::size_t i) { return atlas.objectSkin(i * 5 + 2); }, random);

    std::vector<std::uint32_t> staticIds;
    for (const auto& staticMesh : level.StaticMeshes)
        staticIds.push_back(staticMesh.ObjectId);
    const auto rooms = addRooms(level, atlas, plan.Rooms, staticIds, random);
    addItems(level, rooms, random);
    return level;
}

} // namespace veltrane::demo
