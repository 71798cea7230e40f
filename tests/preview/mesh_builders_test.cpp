#include "mesh_fixtures.h"
#include "recording_device.h"

#include "preview/mesh_builders.h"

#include <gtest/gtest.h>

namespace veltrane::preview {
namespace {

using testing::RecordingDevice;

void expectUv(const std::vector<RenderVertex>& vertices, std::vector<std::array<float, 2>> uv) {
    ASSERT_EQ(vertices.size(), uv.size());
    for (std::size_t i = 0; i < uv.size(); ++i) {
        EXPECT_FLOAT_EQ(vertices[i].u, uv[i][0]) << "slot " << i;
        EXPECT_FLOAT_EQ(vertices[i].v, uv[i][1]) << "slot " << i;
    }
}

// A target of two pages with the given meshes and object textures, its render meshes built.
struct Target {
    explicit Target(std::vector<level::MeshRecord> meshes, std::vector<level::ObjectTexture> objectTextures = {},
                    bool sixteenBit = false)
        : document(testing::levelWith(meshes, 2)), table(document.meshes),
          textures(document.level.Pages32, document.level.Pages16) {
        document.level.ObjectTextures = std::move(objectTextures);
        sixteenBit ? textures.Create16BitTextures(&device) : textures.Create32BitTextures(&device);
        result = BuildTargetMeshes(table, &device, textures, document.level);
    }
    const dxBufferTextura& mesh(std::int32_t i) const { return *table.at(i); }

    RecordingDevice device;
    level::LevelDocument document;
    RenderMeshTable table;
    trTextura textures;
    std::int32_t result = 0;
};

// A source of two pages with the given library-form meshes and texture samples.
struct Source {
    explicit Source(std::vector<level::MeshRecord> meshes, std::vector<wad::WadTextureSample> samples)
        : document(testing::libraryWith(meshes, 2)), table(document.meshes), textures(document.pages.pages32, {}) {
        document.library.TextureSamples = std::move(samples);
        textures.Create32BitTextures(&device);
        result = BuildSourceMeshes(table, &device, textures, document.library);
    }
    const dxBufferTextura& mesh(std::int32_t i) const { return *table.at(i); }

    RecordingDevice device;
    wad::LibraryDocument document;
    RenderMeshTable table;
    trTextura textures;
    std::int32_t result = 0;
};

TEST(TargetMeshes, ARectangleBecomesStripSlotsZeroOneThreeTwoAtPreviewPositions) {
    const Target target({testing::square().quad({0, 1, 2, 3}, 0).build()}, {testing::wholePage(0x8001)});
    ASSERT_EQ(target.result, 0);
    const auto& rm = target.mesh(0);
    // Face vertex 3 (0, 100) sits in slot 2 and face vertex 2 (100, 100) in slot 3; file units are ten
    // preview units and y turns over.
    EXPECT_EQ(rm.texturedVertexData[2], (RenderVertex{0, -10, 0, 0, 1}));
    EXPECT_EQ(rm.texturedVertexData[3], (RenderVertex{10, -10, 0, 1, 1}));
    expectUv(rm.texturedVertexData, {{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    EXPECT_EQ(rm.polygonFlags, (std::vector<std::uint32_t>{25}));
    EXPECT_EQ(rm.polygonTextures[0], target.textures.TextureFor(1)) << "the page is the Tile's low 15 bits";
    const auto& buffer = static_cast<const testing::RecordedBuffer&>(*rm.vertexBuffer);
    EXPECT_EQ(buffer.vertices.size(), 80u);
    EXPECT_EQ(buffer.format, kFormatTextured);
    EXPECT_EQ(buffer.stride, 20u);
}

TEST(TargetMeshes, FacesOutsideTheTablesAreLeftOutAndEveryRecordGetsARenderMesh) {
    const auto mesh = testing::square()
                          .quad({0, 1, 2, 3}, 0x8000) // a negative object texture
                          .quad({0, 1, 2, 3}, 5)      // past the object textures
                          .quad({0, 1, 2, 3}, 1)      // page 2 of 2
                          .quad({0, 1, 2, 4}, 0)      // vertex 4 of 4
                          .triangle({0, 1, 2}, 2)
                          .triangle({0, 9, 1}, 0)
                          .build();
    const Target target({mesh, testing::square().build(), testing::square().quad({0, 1, 2, 3}, 0).build()},
                        {testing::wholePage(0), testing::wholePage(2)}, true);
    EXPECT_EQ(target.result, 0);
    ASSERT_EQ(target.table.renderMeshes.size(), 3u);
    EXPECT_EQ(target.mesh(0).polygonCount(), 0);
    EXPECT_EQ(target.mesh(1).vertexBuffer, nullptr) << "a mesh without faces has nothing to upload";
    EXPECT_FALSE(target.mesh(2).dirty);
    const auto* texture = dynamic_cast<const testing::RecordedTexture*>(target.mesh(2).polygonTextures[0]);
    EXPECT_EQ(texture->format, TextureFormat::X1R5G5B5) << "a 16-bit set gives 16-bit textures";
    EXPECT_EQ(Target({}).result, E_FAIL);
}

TEST(TargetMeshes, ARefusedBufferLeavesTheMeshWithoutOneAndTheBuildGoesOn) {
    const auto mesh = testing::square().quad({0, 1, 2, 3}, 0).build();
    Target target({mesh, mesh}, {testing::wholePage(0)});
    target.device.refuseBuffers = true;
    EXPECT_EQ(BuildTargetMeshes(target.table, &target.device, target.textures, target.document.level), 0);
    EXPECT_EQ(target.device.buffersAsked, 4);
    EXPECT_EQ(target.mesh(1).vertexBuffer, nullptr);
}

TEST(SourceMeshes, ATriangleShowsTheUpperLeftHalfOfItsSampleAndFacesOutsideTheTablesAreLeftOut) {
    const auto mesh = testing::square(level::MeshKind::Library)
                          .polygon(7, 0)
                          .quad({0, 1, 2, 3}, 9)    // past the samples
                          .quad({0, 1, 2, 3}, 1)    // page 2 of 2
                          .triangle({0, 1, 200}, 0) // vertex 200 of 4
                          .triangle({0, 1, 2}, 0x6800)
                          .build();
    const Source source({mesh}, {testing::sample(0, 0, 0, 255, 255), testing::sample(0, 0, 2, 1, 1)});
    EXPECT_EQ(source.result, 0);
    expectUv(source.mesh(0).texturedVertexData, {{0, 0}, {1, 0}, {0, 1}});
    EXPECT_EQ(source.mesh(0).polygonFlags, (std::vector<std::uint32_t>{24}));

    level::Lista_Mesh levelList(level::MeshKind::Level);
    RenderMeshTable table(levelList);
    RecordingDevice device;
    EXPECT_EQ(BuildSourceMeshes(table, &device, source.textures, source.document.library), -1);
    EXPECT_EQ(Source({}, {}).result, E_FAIL);
}

} // namespace
} // namespace veltrane::preview
