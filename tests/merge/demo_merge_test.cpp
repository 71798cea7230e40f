// The demo source's objects merged into the demo target, saved and loaded again, then merged again.
#include "level/level_file.h"
#include "level/mesh_block.h"
#include "merge/animation_merge.h"
#include "merge/merge_operation.h"
#include "merge/page_conversion.h"
#include "merge/source_set.h"
#include "builders/wad_writer.h"
#include "demo/demo_level.h"
#include "demo/demo_library.h"

#include "merge_fixture.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>

namespace veltrane::merge {
namespace {

// A level as Open Target leaves it: decoded from its bytes, with its parsed mesh list.
struct OpenLevel {
    level::Tr4Level level;
    level::Lista_Mesh meshes{level::MeshKind::Level};
};

OpenLevel open(std::span<const std::uint8_t> file) {
    auto decoded = level::decodeLevel(file);
    EXPECT_TRUE(decoded.ok()) << decoded.error();
    OpenLevel opened{std::move(decoded.value())};
    opened.meshes = level::parseMeshBlock(level::wordBytes(opened.level.MeshWords), level::MeshKind::Level);
    return opened;
}

// What Save As does to the data, then the bytes of the file.
std::vector<std::uint8_t> save(OpenLevel& opened) {
    level::rebuildMeshBlock(opened.meshes, opened.level);
    auto encoded = level::encodeLevel(opened.level);
    EXPECT_TRUE(encoded.ok()) << encoded.error();
    return encoded->file;
}

class DemoMergeTest : public ::testing::Test {
protected:
    DemoMergeTest()
        : source(openSourceSet(
              wad::decodeLibrary(builders::encodeLibrary(demo::demoLibrary(demo::DemoScale::Normal))).value())),
          library(source.library), sourceMeshes(source.meshes), sourcePages(source.pages) {
        everything.statics.resize(library.StaticMeshes.size());
        std::iota(everything.statics.begin(), everything.statics.end(), 0);
        everything.moveables.resize(library.Moveables.size());
        std::iota(everything.moveables.begin(), everything.moveables.end(), 0);
        auto target = level::encodeLevel(demo::demoLevel(demo::DemoScale::Normal));
        EXPECT_TRUE(target.ok());
        targetFile = target->file;
    }

    MergeStatistics mergeInto(OpenLevel& opened) {
        auto result = mergeObjects({opened.level, opened.meshes}, source.view(), everything);
        EXPECT_TRUE(result.ok()) << result.error();
        return result.ok() ? result.value() : MergeStatistics{};
    }

    // The library mesh that a MeshPointers entry of the library names.
    const level::MeshRecord& sourceMesh(std::uint32_t pointerIndex) const {
        return *sourceMeshes.get(sourceMeshes.MeshIndexOf(library.MeshPointers.at(pointerIndex)));
    }

    // A merged mesh in the loaded level has the source mesh's geometry and faces, each face naming a new
    // object texture whose texels are those of the face's library rectangle, in both page forms.
    void expectMergedMesh(const OpenLevel& loaded, std::uint32_t targetPointer, const level::MeshRecord& source,
                          std::size_t firstNewTexture, std::uint32_t firstNewPage, std::uint32_t pagesAdded) {
        const std::int32_t at = loaded.meshes.MeshIndexOf(loaded.level.MeshPointers.at(targetPointer));
        ASSERT_GE(at, 0) << "pointer " << targetPointer << " names no mesh of the saved block";
        const level::MeshRecord& merged = *loaded.meshes.get(at);
        EXPECT_EQ(merged.Vertices, source.Vertices);
        EXPECT_EQ(merged.Normals, source.Normals);
        EXPECT_EQ(merged.Shades, source.Shades);

        std::size_t rectangle = 0;
        std::size_t triangle = 0;
        for (const level::MeshPolygon& polygon : source.Polygons) {
            std::uint16_t texture = 0;
            if (polygon.Shape == level::kShapeQuad) {
                const auto& face = merged.Rectangles.at(rectangle++);
                EXPECT_EQ(face.Vertices, polygon.Vertices);
                texture = face.Texture;
            } else if (polygon.Shape == level::kShapeTriangle) {
                const auto& face = merged.Triangles.at(triangle++);
                EXPECT_EQ(face.Vertices[2], polygon.Vertices[2]);
                texture = face.Texture;
            } else {
                continue;
            }
            ASSERT_GE(texture, firstNewTexture);
            expectTexelsOfSample(loaded.level, loaded.level.ObjectTextures.at(texture), polygon, firstNewPage, pagesAdded);
        }
        EXPECT_EQ(rectangle, merged.Rectangles.size());
        EXPECT_EQ(triangle, merged.Triangles.size());
    }

    void expectTexelsOfSample(const level::Tr4Level& level, const level::ObjectTexture& texture,
                              const level::MeshPolygon& polygon, std::uint32_t firstNewPage, std::uint32_t pagesAdded) {
        const auto t = static_cast<std::int16_t>(polygon.Texture);
        std::int32_t index = polygon.Shape == level::kShapeQuad ? (t < 0 ? -t : t) : (t & 0x7FF);
        if (static_cast<std::size_t>(index) >= library.TextureSamples.size())
            index = 0;
        const wad::WadTextureSample& sample = library.TextureSamples[static_cast<std::size_t>(index)];
        ASSERT_GE(texture.Tile, firstNewPage);
        ASSERT_LT(texture.Tile, firstNewPage + pagesAdded);
        EXPECT_EQ(texture.Attribute, (polygon.Attribute & 1) == 0 ? 1 : 2);
        EXPECT_EQ(texture.Width, sample.AddWidth + 1u);
        EXPECT_EQ(texture.Height, sample.AddHeight + 1u);
        std::size_t left = 255;
        std::size_t top = 255;
        for (const auto& corner : texture.Corners) {
            left = std::min<std::size_t>(left, corner.XPixel);
            top = std::min<std::size_t>(top, corner.YPixel);
        }
        for (std::size_t r = 0; r < texture.Height; ++r)
            for (std::size_t c = 0; c < texture.Width; ++c) {
                const auto expected = testing::texelOf(sourcePages.PageCopy, sample.Page, sample.X + c, sample.Y + r);
                ASSERT_EQ(testing::texelOf(level.Pages32, texture.Tile, left + c, top + r), expected);
                ASSERT_EQ(testing::texel16Of(level.Pages16, texture.Tile, left + c, top + r),
                          testing::texel16Of(convertPagesTo16(expected), 0, 0, 0));
            }
    }

    const SourceSet source;
    const wad::WadLibrary& library;
    const level::Lista_Mesh& sourceMeshes;
    const level::Tr4Level& sourcePages;
    MergeTicks everything;
    std::vector<std::uint8_t> targetFile;
};

TEST_F(DemoMergeTest, EverySourceObjectSurvivesSaveAndLoadWithItsMeshesTexturesAndAnimations) {
    OpenLevel target = open(targetFile);
    const OpenLevel before = open(targetFile);
    const MergeStatistics statistics = mergeInto(target);
    ASSERT_GT(statistics.pagesAdded, 0);
    ASSERT_GT(statistics.piecesAdded, 0);
    EXPECT_TRUE(statistics.skipped.empty());
    EXPECT_EQ(statistics.objectTextureCount,
              static_cast<std::int32_t>(before.level.ObjectTextures.size()) + statistics.piecesAdded);
    EXPECT_EQ(statistics.meshDataSize, target.meshes.totalSize());

    const OpenLevel loaded = open(save(target));
    const level::Tr4Level& level = loaded.level;
    const level::Tr4Level& old = before.level;

    // Tables: what was there stays, the source objects follow in order.
    ASSERT_EQ(level.StaticMeshes.size(), old.StaticMeshes.size() + library.StaticMeshes.size());
    ASSERT_EQ(level.Moveables.size(), old.Moveables.size() + library.Moveables.size());
    EXPECT_TRUE(std::equal(old.Moveables.begin(), old.Moveables.end(), level.Moveables.begin()));
    EXPECT_TRUE(std::equal(old.StaticMeshes.begin(), old.StaticMeshes.end(), level.StaticMeshes.begin()));
    EXPECT_TRUE(std::equal(old.MeshPointers.begin(), old.MeshPointers.end(), level.MeshPointers.begin()));
    EXPECT_TRUE(std::equal(old.Animations.begin(), old.Animations.end(), level.Animations.begin()));
    EXPECT_TRUE(std::equal(old.ObjectTextures.begin(), old.ObjectTextures.end(), level.ObjectTextures.begin()));
    EXPECT_EQ(level.ObjectTextures.size(), static_cast<std::size_t>(statistics.objectTextureCount));

    // The rebuilt mesh block holds the old meshes where they were and the merged ones after them.
    EXPECT_EQ(level.MeshWords.size() * 2, static_cast<std::size_t>(target.meshes.nextOffset()));
    EXPECT_EQ(loaded.meshes.count(), target.meshes.count());
    for (std::int32_t i = 0; i < before.meshes.count(); ++i) {
        level::MeshRecord was = *before.meshes.get(i);
        level::MeshRecord is = *loaded.meshes.get(i);
        was.PadWord.reset();
        is.PadWord.reset();
        ASSERT_EQ(is, was) << "mesh " << i;
    }

    // Pages: the new ones sit behind the room and object pages in both forms; the header counts them.
    const std::uint32_t firstNewPage = std::uint32_t{old.NumRoomPages} + old.NumObjectPages;
    const auto added = static_cast<std::uint32_t>(statistics.pagesAdded);
    EXPECT_EQ(level.PageCount, old.PageCount + added);
    EXPECT_EQ(level.NumObjectPages, old.NumObjectPages + added);
    EXPECT_EQ(level.NumRoomPages, old.NumRoomPages);
    EXPECT_EQ(level.NumBumpPages, old.NumBumpPages);
    EXPECT_TRUE(std::equal(old.Pages32.begin(), old.Pages32.begin() + firstNewPage * level::kPageBytes32,
                           level.Pages32.begin()));
    EXPECT_TRUE(std::equal(old.Pages32.begin() + firstNewPage * level::kPageBytes32, old.Pages32.end(),
                           level.Pages32.begin() + (firstNewPage + added) * level::kPageBytes32));

    // Statics, then moveables, with their meshes, textures, trees and animations.
    for (std::size_t s = 0; s < library.StaticMeshes.size(); ++s) {
        const auto& merged = level.StaticMeshes[old.StaticMeshes.size() + s];
        EXPECT_EQ(merged.ObjectId, library.StaticMeshes[s].ObjectId);
        EXPECT_EQ(merged.Box, library.StaticMeshes[s].Box);
        expectMergedMesh(loaded, merged.Mesh, sourceMesh(library.StaticMeshes[s].Mesh), old.ObjectTextures.size(),
                         firstNewPage, added);
    }
    std::set<std::uint16_t> commandsSeen;
    for (std::size_t m = 0; m < library.Moveables.size(); ++m) {
        SCOPED_TRACE("moveable " + std::to_string(m));
        const auto& source = library.Moveables[m];
        const auto& merged = level.Moveables[old.Moveables.size() + m];
        EXPECT_EQ(merged.ObjectId, source.ObjectId);
        ASSERT_EQ(merged.MeshCount, source.MeshCount);
        for (std::uint32_t k = 0; k < source.MeshCount; ++k)
            expectMergedMesh(loaded, merged.StartingMesh + k, sourceMesh(source.StartingMesh + k),
                             old.ObjectTextures.size(), firstNewPage, added);
        const std::size_t treeWords = (source.MeshCount - 1u) * 4u;
        EXPECT_TRUE(std::equal(library.MeshTrees.begin() + source.MeshTree,
                               library.MeshTrees.begin() + source.MeshTree + treeWords,
                               level.MeshTrees.begin() + merged.MeshTree));

        const std::int32_t count = CountMoveableAnimations(library, static_cast<std::int32_t>(m));
        if (count <= 0) {
            EXPECT_EQ(merged.Animation, 0xFFFF);
            continue;
        }
        for (std::int32_t a = 0; a < count; ++a) {
            const auto& libraryAnimation = library.Animations[source.Animation + static_cast<std::size_t>(a)];
            const auto& animation = level.Animations.at(merged.Animation + static_cast<std::size_t>(a));
            EXPECT_EQ(animation.StateId, libraryAnimation.StateId);
            EXPECT_EQ(static_cast<std::uint16_t>(animation.NextAnimation - merged.Animation),
                      static_cast<std::uint16_t>(libraryAnimation.NextAnimation - source.Animation));
            ASSERT_LE(animation.StateChangeOffset + animation.StateChangeCount, level.StateChanges.size());
            // Commands arrive whole: the same words, from the word the animation names.
            const auto words = commandRunWords(library.AnimCommands, libraryAnimation.AnimCommandOffset / 2u,
                                               libraryAnimation.AnimCommandCount);
            ASSERT_TRUE(words.has_value());
            EXPECT_TRUE(std::equal(library.AnimCommands.begin() + libraryAnimation.AnimCommandOffset / 2,
                                   library.AnimCommands.begin() + libraryAnimation.AnimCommandOffset / 2 +
                                       static_cast<std::ptrdiff_t>(*words),
                                   level.AnimCommands.begin() + animation.AnimCommandOffset));
            for (std::size_t w = 0; w < *words; ++w)
                commandsSeen.insert(level.AnimCommands[animation.AnimCommandOffset + w]);
        }
        // The frame block arrives byte for byte.
        const FrameBlock block = moveableFrameBlock(library, static_cast<std::int32_t>(m));
        const auto* sourceBytes = reinterpret_cast<const std::uint8_t*>(library.Frames.data());
        const auto* targetBytes = reinterpret_cast<const std::uint8_t*>(level.Frames.data());
        EXPECT_TRUE(std::equal(sourceBytes + block.start, sourceBytes + block.end, targetBytes + merged.FrameOffset));
    }
    EXPECT_FALSE(commandsSeen.empty()) << "the demo figure's animations carry commands";
}

TEST_F(DemoMergeTest, AMergedLevelMergesAgainAndGetsEverythingTwice) {
    const OpenLevel before = open(targetFile);
    OpenLevel once = open(targetFile);
    const MergeStatistics first = mergeInto(once);
    OpenLevel twice = open(save(once));
    const MergeStatistics second = mergeInto(twice);
    EXPECT_EQ(second.pagesAdded, first.pagesAdded);
    EXPECT_EQ(second.piecesAdded, first.piecesAdded);
    EXPECT_EQ(second.objectTextureCount, first.objectTextureCount + first.piecesAdded);

    const OpenLevel loaded = open(save(twice));
    const level::Tr4Level& level = loaded.level;
    const level::Tr4Level& old = before.level;
    EXPECT_EQ(level.Moveables.size(), old.Moveables.size() + 2 * library.Moveables.size());
    EXPECT_EQ(level.StaticMeshes.size(), old.StaticMeshes.size() + 2 * library.StaticMeshes.size());
    EXPECT_EQ(level.PageCount, old.PageCount + 2u * static_cast<std::uint32_t>(first.pagesAdded));
    EXPECT_EQ(level.NumObjectPages, old.NumObjectPages + 2 * first.pagesAdded);
    EXPECT_EQ(level.Animations.size() - old.Animations.size(), 2 * (once.level.Animations.size() - old.Animations.size()));
    EXPECT_EQ(level.MeshPointers.size() - old.MeshPointers.size(),
              2 * (once.level.MeshPointers.size() - old.MeshPointers.size()));
    EXPECT_EQ(loaded.meshes.count(), twice.meshes.count());
    // The second copies are the same objects on their own textures.
    const std::size_t n = library.Moveables.size();
    for (std::size_t m = 0; m < n; ++m) {
        const auto& firstCopy = level.Moveables[old.Moveables.size() + m];
        const auto& secondCopy = level.Moveables[old.Moveables.size() + n + m];
        EXPECT_EQ(secondCopy.ObjectId, firstCopy.ObjectId);
        const auto& a = *loaded.meshes.get(loaded.meshes.MeshIndexOf(level.MeshPointers[firstCopy.StartingMesh]));
        const auto& b = *loaded.meshes.get(loaded.meshes.MeshIndexOf(level.MeshPointers[secondCopy.StartingMesh]));
        EXPECT_EQ(a.Vertices, b.Vertices);
        if (!a.Rectangles.empty()) {
            EXPECT_EQ(b.Rectangles[0].Texture, a.Rectangles[0].Texture + first.piecesAdded);
        }
    }
}

} // namespace
} // namespace veltrane::merge
