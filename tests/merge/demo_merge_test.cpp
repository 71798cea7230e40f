// The demo source's objects merged into the demo target, saved and opened again, then merged again.
#include "demo/demo_level.h"
#include "demo/demo_library.h"
#include "level/animation_tables.h"
#include "level/mesh_tree.h"
#include "merge/merge_operation.h"

#include "merge_fixture.h"

#include <gtest/gtest.h>

#include <numeric>

namespace veltrane::merge {
namespace {

std::vector<std::int32_t> everyIndex(std::size_t count) {
    std::vector<std::int32_t> indices(count);
    std::iota(indices.begin(), indices.end(), 0);
    return indices;
}

class DemoMergeTest : public ::testing::Test {
protected:
    DemoMergeTest()
        : source(wad::decodeLibraryDocument(wad::encodeLibrary(demo::demoLibrary(demo::DemoScale::Normal))).value()),
          library(source.library), targetFile(level::encodeLevel(demo::demoLevel(demo::DemoScale::Normal))->file),
          everything{everyIndex(library.StaticMeshes.size()), everyIndex(library.Moveables.size())} {}

    static level::LevelDocument open(std::span<const std::uint8_t> file) {
        auto document = level::decodeLevelDocument(file);
        EXPECT_TRUE(document.ok()) << document.error();
        return std::move(document.value());
    }
    static std::vector<std::uint8_t> save(level::LevelDocument& document) {
        return level::encodeLevelDocument(document)->file;
    }
    MergeStatistics mergeInto(level::LevelDocument& target) {
        auto result = mergeObjects(target, source, everything);
        EXPECT_TRUE(result.ok()) << result.error();
        return result.ok() ? result.value() : MergeStatistics{};
    }

    // A merged mesh has the source mesh's geometry and faces, each face naming a new object texture
    // whose texels are those of its library rectangle, in both page forms.
    void expectMergedMesh(const level::LevelDocument& loaded, std::uint32_t targetPointer, std::uint32_t sourcePointer,
                          std::size_t firstNewTexture) {
        const level::MeshRecord& sourceMesh = *source.meshes.get(source.meshes.MeshIndexOf(library.MeshPointers.at(sourcePointer)));
        const level::MeshRecord* merged = loaded.meshes.get(loaded.meshes.MeshIndexOf(loaded.level.MeshPointers.at(targetPointer)));
        ASSERT_NE(merged, nullptr) << "pointer " << targetPointer << " names no mesh of the saved block";
        EXPECT_EQ(merged->Vertices, sourceMesh.Vertices);
        EXPECT_EQ(merged->Normals, sourceMesh.Normals);
        EXPECT_EQ(merged->Shades, sourceMesh.Shades);
        std::size_t rectangle = 0;
        std::size_t triangle = 0;
        for (const level::MeshPolygon& polygon : sourceMesh.Polygons) {
            if (level::polygonCorners(polygon.Shape) == 0)
                continue;
            const bool isQuad = polygon.Shape == level::kShapeQuad;
            const std::uint16_t textureIndex = isQuad ? merged->Rectangles.at(rectangle++).Texture : merged->Triangles.at(triangle++).Texture;
            ASSERT_GE(textureIndex, firstNewTexture);
            const level::ObjectTexture& texture = loaded.level.ObjectTextures.at(textureIndex);
            const std::int32_t named = level::libraryFaceTexture(polygon.Shape, polygon.Texture).sample;
            const auto& sample = library.TextureSamples.at(static_cast<std::size_t>(named) < library.TextureSamples.size() ? named : 0);
            EXPECT_EQ(texture.Attribute, (polygon.Attribute & 1) == 0 ? 1 : 2);
            ASSERT_EQ(texture.Width, sample.AddWidth + 1u);
            ASSERT_EQ(texture.Height, sample.AddHeight + 1u);
            std::size_t left = 255, top = 255;
            for (const auto& corner : texture.Corners) {
                left = std::min<std::size_t>(left, corner.XPixel);
                top = std::min<std::size_t>(top, corner.YPixel);
            }
            for (std::size_t r = 0; r < texture.Height; ++r)
                for (std::size_t c = 0; c < texture.Width; ++c) {
                    const auto expected = testing::texelOf(source.pages.pages32, sample.Page, sample.X + c, sample.Y + r);
                    ASSERT_EQ(testing::texelOf(loaded.level.Pages32, texture.Tile, left + c, top + r), expected);
                    ASSERT_EQ(testing::texel16Of(loaded.level.Pages16, texture.Tile, left + c, top + r),
                              testing::texel16Of(level::convertPagesTo16(expected), 0, 0, 0));
                }
        }
        EXPECT_EQ(rectangle + triangle, merged->Rectangles.size() + merged->Triangles.size());
    }

    const wad::LibraryDocument source;
    const wad::WadLibrary& library;
    const std::vector<std::uint8_t> targetFile;
    const MergeTicks everything;
};

// FNV-1a over a file's bytes.
std::uint64_t fingerprint(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::uint8_t byte : bytes)
        hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

TEST_F(DemoMergeTest, MergingEveryDemoObjectWritesTheBytesItAlwaysHas) {
    // A deliberate change to the demo generator, the merge or the writers changes this value, and the
    // change says so; anything else that changes it is a fault.
    level::LevelDocument target = open(targetFile);
    mergeInto(target);
    EXPECT_EQ(fingerprint(save(target)), 0x190ac4b051fbe6e8u);
}

TEST_F(DemoMergeTest, EverySourceObjectSurvivesSaveAndOpenWithItsMeshesTexturesTreesAndAnimations) {
    const level::LevelDocument before = open(targetFile);
    level::LevelDocument target = before;
    const MergeStatistics statistics = mergeInto(target);
    ASSERT_GT(statistics.pagesAdded, 0);
    EXPECT_EQ(statistics.objectTextureCount, static_cast<std::int32_t>(before.level.ObjectTextures.size()) + statistics.piecesAdded);
    const level::LevelDocument loaded = open(save(target));
    const level::Tr4Level& level = loaded.level;
    const level::Tr4Level& old = before.level;

    // What was there stays where it was, in the tables, the mesh block and the pages; the new pages
    // go behind the room and object pages, and the header counts them.
    EXPECT_TRUE(std::equal(old.Moveables.begin(), old.Moveables.end(), level.Moveables.begin()));
    EXPECT_TRUE(std::equal(old.MeshPointers.begin(), old.MeshPointers.end(), level.MeshPointers.begin()));
    EXPECT_TRUE(std::equal(old.ObjectTextures.begin(), old.ObjectTextures.end(), level.ObjectTextures.begin()));
    EXPECT_EQ(loaded.meshes.count(), target.meshes.count());
    for (std::int32_t i = 0; i < before.meshes.count(); ++i)
        ASSERT_EQ(loaded.meshes.get(i)->Vertices, before.meshes.get(i)->Vertices) << "mesh " << i;
    const std::uint32_t firstNewPage = std::uint32_t{old.NumRoomPages} + old.NumObjectPages;
    const auto added = static_cast<std::uint32_t>(statistics.pagesAdded);
    EXPECT_EQ(level.PageCount, old.PageCount + added);
    EXPECT_EQ(level.NumObjectPages, old.NumObjectPages + added);
    EXPECT_TRUE(std::equal(old.Pages32.begin() + firstNewPage * level::kPageBytes32, old.Pages32.end(),
                           level.Pages32.begin() + (firstNewPage + added) * level::kPageBytes32));

    for (std::size_t s = 0; s < library.StaticMeshes.size(); ++s) {
        const auto& merged = level.StaticMeshes.at(old.StaticMeshes.size() + s);
        EXPECT_EQ(merged.ObjectId, library.StaticMeshes[s].ObjectId);
        expectMergedMesh(loaded, merged.Mesh, library.StaticMeshes[s].Mesh, old.ObjectTextures.size());
    }
    for (std::size_t m = 0; m < library.Moveables.size(); ++m) {
        SCOPED_TRACE("moveable " + std::to_string(m));
        const auto& sourceMoveable = library.Moveables[m];
        const auto& merged = level.Moveables.at(old.Moveables.size() + m);
        ASSERT_EQ(merged.MeshCount, sourceMoveable.MeshCount);
        for (std::uint32_t k = 0; k < sourceMoveable.MeshCount; ++k)
            expectMergedMesh(loaded, merged.StartingMesh + k, sourceMoveable.StartingMesh + k, old.ObjectTextures.size());
        EXPECT_EQ(level::meshTreeLinks(level.MeshTrees, merged), level::meshTreeLinks(library.MeshTrees, sourceMoveable));
        const auto frames = level::moveableFrameBlock(library.Moveables, m, library.Frames.size()).value();
        const auto* sourceBytes = reinterpret_cast<const std::uint8_t*>(library.Frames.data());
        EXPECT_TRUE(std::equal(sourceBytes + frames.start, sourceBytes + frames.end,
                               reinterpret_cast<const std::uint8_t*>(level.Frames.data()) + merged.FrameOffset));
        const auto animations = level::moveableAnimations(library.Moveables, m, library.Animations.size()).value();
        EXPECT_EQ(merged.Animation == level::kNoAnimation, animations.count == 0);
        for (std::uint32_t a = 0; a < animations.count; ++a) {
            const auto& libraryAnimation = library.Animations[animations.first + a];
            const auto& animation = level.Animations.at(merged.Animation + a);
            EXPECT_EQ(animation.StateId, libraryAnimation.StateId);
            EXPECT_EQ(static_cast<std::uint16_t>(animation.NextAnimation - merged.Animation),
                      static_cast<std::uint16_t>(libraryAnimation.NextAnimation - animations.first));
            const auto words = level::commandRunWords(library.AnimCommands, libraryAnimation.AnimCommandOffset / wad::kCommandOffsetBytesPerWord,
                                                      libraryAnimation.AnimCommandCount);
            ASSERT_TRUE(words.has_value());
            EXPECT_TRUE(std::equal(library.AnimCommands.begin() + libraryAnimation.AnimCommandOffset / wad::kCommandOffsetBytesPerWord,
                                   library.AnimCommands.begin() + libraryAnimation.AnimCommandOffset / wad::kCommandOffsetBytesPerWord +
                                       static_cast<std::ptrdiff_t>(*words),
                                   level.AnimCommands.begin() + animation.AnimCommandOffset));
        }
    }
}

TEST_F(DemoMergeTest, AMergedLevelMergesAgainAndGetsEverythingTwice) {
    const level::LevelDocument before = open(targetFile);
    level::LevelDocument once = before;
    const MergeStatistics first = mergeInto(once);
    level::LevelDocument twice = open(save(once));
    const MergeStatistics second = mergeInto(twice);
    EXPECT_EQ(second.pagesAdded, first.pagesAdded);
    EXPECT_EQ(second.objectTextureCount, first.objectTextureCount + first.piecesAdded);
    const level::LevelDocument loaded = open(save(twice));
    const std::size_t n = library.Moveables.size();
    EXPECT_EQ(loaded.level.Moveables.size(), before.level.Moveables.size() + 2 * n);
    EXPECT_EQ(loaded.level.PageCount, before.level.PageCount + 2u * static_cast<std::uint32_t>(first.pagesAdded));
    for (std::size_t m = 0; m < n; ++m) {
        const auto& firstCopy = loaded.level.Moveables[before.level.Moveables.size() + m];
        const auto& secondCopy = loaded.level.Moveables[before.level.Moveables.size() + n + m];
        const auto& a = *loaded.meshes.get(loaded.meshes.MeshIndexOf(loaded.level.MeshPointers[firstCopy.StartingMesh]));
        const auto& b = *loaded.meshes.get(loaded.meshes.MeshIndexOf(loaded.level.MeshPointers[secondCopy.StartingMesh]));
        EXPECT_EQ(a.Vertices, b.Vertices);
        if (!a.Rectangles.empty()) {
            EXPECT_EQ(b.Rectangles[0].Texture, a.Rectangles[0].Texture + first.piecesAdded) << "on textures of its own";
        }
    }
}

} // namespace
} // namespace veltrane::merge
