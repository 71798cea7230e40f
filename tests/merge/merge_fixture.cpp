#include "merge_fixture.h"

#include "builders/library_builder.h"
#include "builders/mesh_blocks.h"
#include "builders/small_target.h"
#include "level/mesh_block.h"
#include "level/pages.h"

namespace veltrane::merge::testing {

level::MeshPolygon quad(std::uint16_t texture, std::uint8_t attribute) {
    return {level::kShapeQuad, {0, 1, 2, 3}, texture, attribute, 0};
}

level::MeshPolygon triangle(std::uint16_t texture, std::uint8_t attribute) {
    return {level::kShapeTriangle, {0, 1, 2, 0}, texture, attribute, 0};
}

std::array<std::uint8_t, 4> texelOf(const std::vector<std::uint8_t>& pages32, std::size_t page, std::size_t x,
                                    std::size_t y) {
    const std::size_t at = page * level::kPageBytes32 + y * 1024 + x * 4;
    return {pages32.at(at), pages32.at(at + 1), pages32.at(at + 2), pages32.at(at + 3)};
}

std::uint16_t texel16Of(const std::vector<std::uint8_t>& pages16, std::size_t page, std::size_t x, std::size_t y) {
    const std::size_t at = page * level::kPageBytes16 + y * 512 + x * 2;
    return static_cast<std::uint16_t>(pages16.at(at) | pages16.at(at + 1) << 8);
}

std::array<std::uint8_t, 4> sourceTexel(std::uint32_t page, std::uint32_t x, std::uint32_t y) {
    return {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(page * 16 + 1), 255};
}

SourceFixture::SourceFixture(std::uint32_t pageCount) {
    library = builders::emptyLibrary();
    pages.pageCount = pageCount;
    for (std::uint32_t page = 0; page < pageCount; ++page)
        for (std::uint32_t y = 0; y < 256; ++y)
            for (std::uint32_t x = 0; x < 256; ++x) {
                const auto texel = sourceTexel(page, x, y);
                pages.pages32.insert(pages.pages32.end(), texel.begin(), texel.end());
            }
    pages.pages16 = level::convertPagesTo16(pages.pages32);
}

std::uint16_t SourceFixture::addMesh(std::vector<level::MeshPolygon> polygons) {
    level::MeshRecord mesh;
    mesh.NumVertices = 4;
    mesh.Vertices = {{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}};
    mesh.NumNormals = -4;
    mesh.Shades = {1, 2, 3, 4};
    mesh.NumPolygons = static_cast<std::int16_t>(polygons.size());
    mesh.Polygons = std::move(polygons);
    const std::size_t pointer = builders::appendMesh(library, mesh);
    meshes = level::parseMeshBlock(level::wordBytes(library.MeshWords), level::MeshKind::Library);
    return static_cast<std::uint16_t>(pointer);
}

std::uint16_t SourceFixture::addSample(std::uint8_t x, std::uint8_t y, std::uint16_t page, std::int32_t width,
                                       std::int32_t height) {
    library.TextureSamples.push_back({x, y, page, 0, static_cast<std::uint8_t>(width - 1), 0,
                                      static_cast<std::uint8_t>(height - 1)});
    return static_cast<std::uint16_t>(library.TextureSamples.size() - 1);
}

std::int32_t SourceFixture::addStatic(std::uint32_t objectId, std::vector<level::MeshPolygon> polygons) {
    const std::uint16_t mesh = addMesh(std::move(polygons));
    library.StaticMeshes.push_back({objectId, mesh, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 3});
    return static_cast<std::int32_t>(library.StaticMeshes.size() - 1);
}

std::int32_t SourceFixture::addMoveable(std::uint32_t objectId, std::uint16_t meshCount, std::uint32_t frameWords,
                                        std::uint16_t animation) {
    if (library.TextureSamples.empty())
        addSample(0, 0, 0, 8, 8);
    level::Tr4Moveable record{objectId, meshCount, 0, static_cast<std::uint32_t>(library.MeshTrees.size()),
                              static_cast<std::uint32_t>(library.Frames.size() * 2), animation};
    for (std::uint16_t k = 0; k < meshCount; ++k) {
        const std::uint16_t pointer = addMesh({quad(0)});
        if (k == 0)
            record.StartingMesh = pointer;
    }
    for (std::uint32_t word = 0; word + 4 < meshCount * 4u; ++word)
        library.MeshTrees.push_back(1000 * objectId + word);
    for (std::uint32_t word = 0; word < frameWords; ++word)
        library.Frames.push_back(static_cast<std::uint16_t>(objectId * 100 + word));
    library.Moveables.push_back(record);
    return static_cast<std::int32_t>(library.Moveables.size() - 1);
}

SourceFixture twoOfEachSource() {
    SourceFixture source;
    source.addSample(0, 0, 0, 16, 16);
    source.addSample(0, 0, 1, 32, 8);
    source.library.Animations.resize(2);
    source.addStatic(50, {quad(0), triangle(0)});
    source.addStatic(51, {quad(1)});
    source.addMoveable(60, 2, 6, 0);
    source.addMoveable(61, 3, 4, 1);
    return source;
}

level::LevelDocument targetFixture() {
    level::LevelDocument target = builders::smallTarget();
    level::Tr4Level& level = target.level;
    level.NumRoomPages = 2;
    level.NumObjectPages = 1;
    level.Pages32.assign(3 * level::kPageBytes32, 0x11);
    level.Pages16.assign(3 * level::kPageBytes16, 0x22);
    level.PageCount = 3;
    level.ObjectTextures.resize(4);
    for (std::uint16_t i = 0; i < 4; ++i)
        level.ObjectTextures[i].Tile = static_cast<std::uint16_t>(i % 3);
    return target;
}

level::LevelDocument targetWithBumpPage() {
    level::LevelDocument target = targetFixture();
    level::Tr4Level& level = target.level;
    level.NumBumpPages = 1;
    level.PageCount = 4;
    level.Pages32.resize(4 * level::kPageBytes32, 0x44);
    level.Pages16.resize(4 * level::kPageBytes16 + 10, 0x55);
    level.ObjectTextures[0].Tile = 3;
    level.ObjectTextures[1].Tile = 0x8003;
    level.ObjectTextures[2].Tile = 0x8002;
    level.SpriteTextures = {{3, 0, 7}, {2, 0, 7}};
    return target;
}

} // namespace veltrane::merge::testing
