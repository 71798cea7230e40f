#include "mesh_fixtures.h"
#include "recording_device.h"

#include "preview/mesh_builders.h"

#include <gtest/gtest.h>

namespace veltrane::preview {
namespace {

using testing::RecordingDevice;

void expectUv(const RenderVertex& vertex, float u, float v) {
    EXPECT_FLOAT_EQ(vertex.u, u);
    EXPECT_FLOAT_EQ(vertex.v, v);
}

// A target of two 32-bit (and 16-bit) pages with the given object textures and meshes.
struct Target {
    explicit Target(std::vector<level::MeshRecord> meshes, std::vector<level::ObjectTexture> objectTextures = {})
        : list(testing::levelMeshes(level, meshes)), table(list) {
        level.Pages32 = testing::pageBytes(2, 4);
        level.Pages16 = testing::pageBytes(2, 2);
        level.ObjectTextures = std::move(objectTextures);
        textures = std::make_unique<trTextura>(level);
        textures->Create32BitTextures(&device);
    }
    std::int32_t Build() { return BuildTargetMeshes(table, &device, *textures, level); }
    const dxBufferTextura& Mesh(std::int32_t i) const { return *table.at(i); }

    RecordingDevice device;
    level::Tr4Level level;
    level::Lista_Mesh list;
    RenderMeshTable table;
    std::unique_ptr<trTextura> textures;
};

// A source of two pages with the given texture samples and library-form meshes.
struct Source {
    explicit Source(std::vector<level::MeshRecord> meshes, std::vector<wad::WadTextureSample> samples)
        : list(testing::libraryMeshes(library, meshes)), table(list) {
        pages.Pages32 = testing::pageBytes(2, 4);
        library.TextureSamples = std::move(samples);
        textures = std::make_unique<trTextura>(pages);
        textures->Create32BitTextures(&device);
    }
    std::int32_t Build() { return BuildSourceMeshes(table, &device, *textures, library); }
    const dxBufferTextura& Mesh(std::int32_t i) const { return *table.at(i); }

    RecordingDevice device;
    level::Tr4Level pages;
    wad::WadLibrary library;
    level::Lista_Mesh list;
    RenderMeshTable table;
    std::unique_ptr<trTextura> textures;
};

TEST(TargetMeshes, RectangleBecomesStripSlotsZeroOneThreeTwoWithTexelsOver255) {
    Target target({testing::square().quad({0, 1, 2, 3}, 0).build()}, {testing::wholePage(1)});
    ASSERT_EQ(target.Build(), 0);

    const auto& rm = target.Mesh(0);
    ASSERT_EQ(rm.texturedVertexData.size(), 4u);
    expectUv(rm.texturedVertexData[0], 0, 0);
    expectUv(rm.texturedVertexData[1], 1, 0);
    expectUv(rm.texturedVertexData[2], 0, 1);
    expectUv(rm.texturedVertexData[3], 1, 1);
    // Face vertex 3 (0, 100) sits in slot 2 and face vertex 2 (100, 100) in slot 3.
    EXPECT_EQ(rm.texturedVertexData[2], (RenderVertex{0, -10, 0, 0, 1}));
    EXPECT_EQ(rm.texturedVertexData[3], (RenderVertex{10, -10, 0, 1, 1}));
    EXPECT_EQ(rm.polygonFlags, (std::vector<std::uint32_t>{25}));
    EXPECT_EQ(rm.polygonTextures[0], target.textures->TextureFor(1));
}

TEST(TargetMeshes, FileVertexBecomesPreviewPosition) {
    const auto mesh =
        builders::MeshBuilder().vertex(100, -200, 30).vertex(0, 0, 0).vertex(0, 0, 0).triangle({0, 1, 2}, 0).build();
    Target target({mesh}, {testing::wholePage(0)});
    target.Build();
    const RenderVertex& v = target.Mesh(0).texturedVertexData[0];
    EXPECT_FLOAT_EQ(v.x, 10);
    EXPECT_FLOAT_EQ(v.y, 20);
    EXPECT_FLOAT_EQ(v.z, 3);
}

TEST(TargetMeshes, TexelColumnsAndRowsAreDividedBy255) {
    Target target({testing::square().triangle({0, 1, 2}, 0).build()},
                  {testing::objectTexture(0, {{{51, 102}, {255, 0}, {0, 17}, {9, 9}}})});
    target.Build();
    const auto& vertices = target.Mesh(0).texturedVertexData;
    expectUv(vertices[0], 51 / 255.0f, 102 / 255.0f);
    expectUv(vertices[1], 1, 0);
    expectUv(vertices[2], 0, 17 / 255.0f);
}

TEST(TargetMeshes, NewestPolygonComesFirst) {
    Target target({testing::square().quad({0, 1, 2, 3}, 0).triangle({0, 1, 2}, 0).build()}, {testing::wholePage(0)});
    target.Build();
    const auto& rm = target.Mesh(0);
    EXPECT_EQ(rm.polygonFlags, (std::vector<std::uint32_t>{24, 25}));
    ASSERT_EQ(rm.texturedVertexData.size(), 7u);
    EXPECT_FLOAT_EQ(rm.texturedVertexData[1].x, 10); // triangle vertex 1 in slot 1
    EXPECT_FLOAT_EQ(rm.texturedVertexData[5].x, 0); // the rectangle's strip slot 2 is face vertex 3
    EXPECT_FLOAT_EQ(rm.texturedVertexData[5].y, -10);
}

TEST(TargetMeshes, PageComesFromTheLow15BitsOfTile) {
    Target target({testing::square().triangle({0, 1, 2}, 0).build()}, {testing::wholePage(0x8001)});
    target.Build();
    EXPECT_EQ(target.Mesh(0).polygonTextures[0], target.textures->TextureFor(1));
}

TEST(TargetMeshes, SixteenBitSetGivesSixteenBitTextures) {
    Target target({testing::square().triangle({0, 1, 2}, 0).build()}, {testing::wholePage(0)});
    target.textures->Create16BitTextures(&target.device);
    target.Build();
    const auto* texture = dynamic_cast<const testing::RecordedTexture*>(target.Mesh(0).polygonTextures[0]);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->format, TextureFormat::X1R5G5B5);
}

TEST(TargetMeshes, FacesOutsideTheTablesAreLeftOut) {
    const auto mesh = testing::square()
                          .quad({0, 1, 2, 3}, 0x8000) // negative object texture
                          .quad({0, 1, 2, 3}, 5)      // past the object textures
                          .quad({0, 1, 2, 3}, 1)      // page 7 of 2
                          .quad({0, 1, 2, 4}, 0)      // vertex 4 of 4
                          .triangle({0, 1, 2}, 2)
                          .triangle({0, 9, 1}, 0)
                          .build();
    Target target({mesh}, {testing::wholePage(0), testing::wholePage(7)});
    EXPECT_EQ(target.Build(), 0);
    EXPECT_EQ(target.Mesh(0).polygonCount(), 0);
}

TEST(TargetMeshes, EmptyListBuildsNothing) {
    Target target({});
    EXPECT_EQ(target.Build(), E_FAIL);
    EXPECT_TRUE(target.table.renderMeshes.empty());
}

TEST(TargetMeshes, OneRenderMeshPerRecordEachUploadedOnce) {
    const auto textured = testing::square().quad({0, 1, 2, 3}, 0).build();
    Target target({textured, testing::square().build(), textured}, {testing::wholePage(0)});
    target.Build();
    ASSERT_EQ(target.table.renderMeshes.size(), 3u);
    EXPECT_NE(target.Mesh(0).vertexBuffer, nullptr);
    EXPECT_EQ(target.Mesh(1).vertexBuffer, nullptr); // a mesh without faces has nothing to upload
    EXPECT_NE(target.Mesh(2).vertexBuffer, nullptr);
    EXPECT_FALSE(target.Mesh(0).dirty);
    const auto& buffer = static_cast<const testing::RecordedBuffer&>(*target.Mesh(0).vertexBuffer);
    EXPECT_EQ(buffer.vertices.size(), 80u);
    EXPECT_EQ(buffer.format, 0x102u);
    EXPECT_EQ(buffer.stride, 20u);
}

TEST(TargetMeshes, RefusedBufferLeavesTheMeshWithoutOneAndTheBuildGoesOn) {
    const auto mesh = testing::square().quad({0, 1, 2, 3}, 0).build();
    Target target({mesh, mesh}, {testing::wholePage(0)});
    target.device.refuseBuffers = true;
    EXPECT_EQ(target.Build(), 0);
    EXPECT_EQ(target.device.buffersAsked, 2);
    EXPECT_EQ(target.Mesh(1).vertexBuffer, nullptr);
}

TEST(SourceMeshes, SampleCornersAreDividedBy255) {
    const auto mesh = testing::square(level::MeshKind::Library).quad({0, 1, 2, 3}, 5).build();
    std::vector<wad::WadTextureSample> samples(6);
    samples[5] = testing::sample(16, 32, 1, 15, 15);
    Source source({mesh}, samples);
    ASSERT_EQ(source.Build(), 0);
    const auto& v = source.Mesh(0).texturedVertexData;
    // Unmirrored face vertices take (x0, y0), (x1, y0), (x1, y1), (x0, y1); strip slots 0, 1, 3, 2.
    expectUv(v[0], 16 / 255.0f, 32 / 255.0f);
    expectUv(v[1], 31 / 255.0f, 32 / 255.0f);
    expectUv(v[2], 16 / 255.0f, 47 / 255.0f);
    expectUv(v[3], 31 / 255.0f, 47 / 255.0f);
    EXPECT_EQ(source.Mesh(0).polygonTextures[0], source.textures->texture32(1));
}

TEST(SourceMeshes, NegativeTextureWordMirrorsTheSample) {
    const auto mesh =
        testing::square(level::MeshKind::Library).quad({0, 1, 2, 3}, static_cast<std::uint16_t>(-5)).build();
    std::vector<wad::WadTextureSample> samples(6);
    samples[5] = testing::sample(16, 32, 0, 15, 15);
    Source source({mesh}, samples);
    source.Build();
    const auto& v = source.Mesh(0).texturedVertexData;
    expectUv(v[0], 31 / 255.0f, 32 / 255.0f);
    expectUv(v[1], 16 / 255.0f, 32 / 255.0f);
    expectUv(v[2], 31 / 255.0f, 47 / 255.0f);
    expectUv(v[3], 16 / 255.0f, 47 / 255.0f);
}

TEST(SourceMeshes, TriangleTakesTheLow11BitsAndTheUpperLeftHalf) {
    const auto mesh = testing::square(level::MeshKind::Library).triangle({0, 1, 2}, 0x0803).build();
    std::vector<wad::WadTextureSample> samples(4);
    samples[3] = testing::sample(0, 0, 0, 255, 255);
    Source source({mesh}, samples);
    source.Build();
    const auto& v = source.Mesh(0).texturedVertexData;
    ASSERT_EQ(v.size(), 3u);
    expectUv(v[0], 0, 0);
    expectUv(v[1], 1, 0);
    expectUv(v[2], 0, 1);
    EXPECT_EQ(source.Mesh(0).polygonFlags, (std::vector<std::uint32_t>{24}));
}

TEST(SourceMeshes, OtherShapesAndFacesOutsideTheTablesAreLeftOut) {
    const auto mesh = testing::square(level::MeshKind::Library)
                          .polygon(7, 0)
                          .quad({0, 1, 2, 3}, 9)     // past the samples
                          .quad({0, 1, 2, 3}, 1)     // page 2 of 2
                          .triangle({0, 1, 200}, 0)  // vertex 200 of 4
                          .triangle({0, 1, 2}, 0)
                          .build();
    Source source({mesh}, {testing::sample(0, 0, 0, 1, 1), testing::sample(0, 0, 2, 1, 1)});
    EXPECT_EQ(source.Build(), 0);
    EXPECT_EQ(source.Mesh(0).polygonCount(), 1);
}

TEST(SourceMeshes, LevelFormListIsRefused) {
    Source source({}, {});
    level::Lista_Mesh levelList(level::MeshKind::Level);
    RenderMeshTable table(levelList);
    EXPECT_EQ(BuildSourceMeshes(table, &source.device, *source.textures, source.library), -1);
    EXPECT_EQ(source.Build(), E_FAIL);
}

} // namespace
} // namespace veltrane::preview
