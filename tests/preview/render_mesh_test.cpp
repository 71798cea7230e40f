#include "recording_device.h"

#include "preview/d3d_matrix.h"
#include "preview/render_mesh.h"

#include <gtest/gtest.h>

namespace veltrane::preview {
namespace {

using testing::RecordingDevice;

struct FakeTexture : PageTexture {};

std::unique_ptr<dxTrianguloTex> texturedTriangle(const PageTexture* texture) {
    auto polygon = std::make_unique<dxTrianguloTex>();
    polygon->AddVertex(0, 0, 0);
    polygon->AddVertex(1, 0, 0);
    polygon->AddVertex(0, 1, 0);
    polygon->SetTexture(texture, {0, 0, 1, 0, 0, 1});
    return polygon;
}

std::unique_ptr<dxCuadradoTex> texturedRectangle(const PageTexture* texture) {
    auto polygon = std::make_unique<dxCuadradoTex>();
    for (int i = 0; i < 4; ++i)
        polygon->AddVertex(static_cast<float>(i), 0, 0);
    polygon->SetTexture(texture, {0, 0, 1, 0, 0, 1, 1, 1});
    return polygon;
}

TEST(Polygons, SlotsFillOnceAndATexturedPolygonRefusesANullTexture) {
    FakeTexture page;
    auto triangle = texturedTriangle(&page);
    EXPECT_EQ(triangle->flags, kFlagCullCounterClockwise);
    EXPECT_EQ(triangle->AddVertex(5, 5, 5), E_FAIL);
    EXPECT_EQ(triangle->vertexCount, 3);
    EXPECT_EQ(triangle->SetTexture(nullptr, {9, 9, 9, 9, 9, 9}), E_FAIL);
    EXPECT_EQ(triangle->pageTexture(), &page);
    EXPECT_EQ(triangle->texturedVertices[1], (RenderVertex{1, 0, 0, 1, 0}));
    EXPECT_EQ(triangle->GetVertexData().size(), 60u);
}

TEST(RenderMesh, PolygonsAreGroupedByTextureAndFlagsInFirstUseOrder) {
    FakeTexture a, b;
    dxBufferTextura mesh;
    EXPECT_EQ(mesh.BuildArrays(), -1) << "nothing added yet";
    EXPECT_EQ(AddPolygon(mesh, std::make_unique<dxTriangulo>()), E_FAIL) << "a colour polygon does not fit";
    // Added oldest first, listed newest first: wireframe triangle(a), triangle(b), rectangle(a), triangle(a).
    AddPolygon(mesh, texturedTriangle(&a));
    AddPolygon(mesh, texturedRectangle(&a));
    AddPolygon(mesh, texturedTriangle(&b));
    auto wire = texturedTriangle(&a);
    wire->flags |= kFlagWireframe;
    AddPolygon(mesh, std::move(wire));
    mesh.BuildArrays();
    std::vector<std::uint32_t> indices;
    const auto batches = groupPolygons(mesh, indices);
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[0], (DrawBatch{&a, 26, 0, 3}));
    EXPECT_EQ(batches[1], (DrawBatch{&b, 24, 3, 3}));
    EXPECT_EQ(batches[2], (DrawBatch{&a, 24, 6, 9}));
    // Slots: wire 0-2, triangle b 3-5, rectangle a 6-9, triangle a 10-12. A strip's second triangle
    // keeps the first's winding: 8, 7, 9.
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 8, 7, 9, 10, 11, 12}));
}

TEST(RenderMesh, AnUploadHappensOnceAndADrawHandsOverTheWorldAndResetsIt) {
    RecordingDevice device;
    FakeTexture page;
    dxBufferTextura mesh;
    AddPolygon(mesh, texturedTriangle(&page));
    EXPECT_EQ(DrawMesh(device, &mesh), E_FAIL) << "no buffer yet";
    ASSERT_EQ(CreateVertexBuffer(device, mesh), 0);
    const VertexBuffer* first = mesh.vertexBuffer.get();
    EXPECT_EQ(CreateVertexBuffer(device, mesh), E_FAIL) << "a clean mesh keeps its buffer";
    EXPECT_EQ(mesh.vertexBuffer.get(), first);
    EXPECT_EQ(device.buffersAsked, 1);

    // The operation applied last acts first: scaled, then moved.
    mesh.Translate(10, 0, 0);
    mesh.Scale(2);
    EXPECT_FLOAT_EQ(transformCoord({1, 1, 1}, mesh.world).x, 12);
    EXPECT_EQ(DrawMesh(device, &mesh), 0);
    ASSERT_EQ(device.draws.size(), 1u);
    EXPECT_EQ(device.draws[0].world, MatrixMultiply(MatrixScaling(2, 2, 2), MatrixTranslation(10, 0, 0)));
    EXPECT_EQ(mesh.world, glm::mat4(1.0f));
    EXPECT_EQ(DrawMesh(device, nullptr), E_FAIL);
}

} // namespace
} // namespace veltrane::preview
