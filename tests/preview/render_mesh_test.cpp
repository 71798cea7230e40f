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

TEST(Polygons, TexturedPolygonStartsCulledCounterClockwiseAndEmpty) {
    dxCuadradoTex rectangle;
    EXPECT_EQ(rectangle.flags, 8u);
    EXPECT_EQ(rectangle.vertexCount, 0);
    EXPECT_EQ(rectangle.lastVertex, 3);
    EXPECT_EQ(rectangle.texture, nullptr);
    EXPECT_EQ(rectangle.GetVertexData().size(), 80u);
}

TEST(Polygons, AddVertexPastTheLastSlotAndNullTextureAreRefused) {
    FakeTexture page;
    auto triangle = texturedTriangle(&page);
    EXPECT_EQ(triangle->AddVertex(5, 5, 5), E_FAIL);
    EXPECT_EQ(triangle->vertexCount, 3);
    EXPECT_EQ(triangle->SetTexture(nullptr, {9, 9, 9, 9, 9, 9}), E_FAIL);
    EXPECT_EQ(triangle->texture, &page);
    EXPECT_EQ(triangle->texturedVertices[1], (RenderVertex{1, 0, 0, 1, 0}));
}

TEST(RenderMesh, BuildArraysListsNewestFirstWithTexturedAndStripFlags) {
    FakeTexture first, second;
    dxBufferTextura mesh;
    EXPECT_EQ(mesh.BuildArrays(), -1); // nothing added yet
    AddPolygon(mesh, texturedRectangle(&first));
    AddPolygon(mesh, texturedTriangle(&second));
    EXPECT_TRUE(mesh.dirty);
    EXPECT_EQ(mesh.rectangleCount, 1);
    EXPECT_EQ(mesh.triangleCount, 1);
    EXPECT_EQ(mesh.BuildArrays(), 7 * 20);
    EXPECT_EQ(mesh.polygonFlags, (std::vector<std::uint32_t>{24, 25}));
    EXPECT_EQ(mesh.polygonTextures, (std::vector<const PageTexture*>{&second, &first}));
    EXPECT_FLOAT_EQ(mesh.texturedVertexData[3].x, 0); // the rectangle starts in slot 3
    EXPECT_FLOAT_EQ(mesh.texturedVertexData[6].x, 3);
    EXPECT_EQ(mesh.GetVertexData().size(), 140u);
}

TEST(RenderMesh, ColourMeshListsColourVerticesWithoutTheTexturedFlag) {
    dxBufferColor8 mesh;
    auto rectangle = std::make_unique<dxCuadrado>();
    for (int i = 0; i < 4; ++i)
        rectangle->AddVertex(static_cast<float>(i), 0, 0);
    rectangle->vertices[2].colour = 0xFF00FF00;
    AddPolygon(mesh, std::move(rectangle));
    EXPECT_EQ(mesh.BuildArrays(), 4 * 16);
    EXPECT_EQ(mesh.polygonFlags, (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(mesh.vertexData[2], (ColourVertex{2, 0, 0, 0xFF00FF00}));
    EXPECT_EQ(mesh.GetVertexData().size(), 64u);
}

TEST(RenderMesh, ColourPolygonDoesNotFitATexturedMesh) {
    dxBufferTextura mesh;
    EXPECT_EQ(AddPolygon(mesh, std::make_unique<dxTriangulo>()), E_FAIL);
    EXPECT_EQ(mesh.polygonCount(), 0);
    EXPECT_FALSE(mesh.dirty);
}

TEST(RenderMesh, SecondUploadOfACleanMeshFailsAndKeepsTheBuffer) {
    RecordingDevice device;
    FakeTexture page;
    dxBufferTextura mesh;
    AddPolygon(mesh, texturedTriangle(&page));
    ASSERT_EQ(CreateVertexBuffer(device, mesh), 0);
    const VertexBuffer* first = mesh.vertexBuffer.get();
    EXPECT_EQ(CreateVertexBuffer(device, mesh), E_FAIL);
    EXPECT_EQ(mesh.vertexBuffer.get(), first);
    EXPECT_EQ(device.buffersAsked, 1);
}

TEST(RenderMesh, PolygonsAreGroupedByTextureInFirstUseOrder) {
    FakeTexture a, b;
    dxBufferTextura mesh;
    // Added oldest first, listed newest first: triangle(b), rectangle(a), triangle(a).
    AddPolygon(mesh, texturedTriangle(&a));
    AddPolygon(mesh, texturedRectangle(&a));
    AddPolygon(mesh, texturedTriangle(&b));
    mesh.BuildArrays();
    std::vector<std::uint32_t> indices;
    const auto batches = groupPolygons(mesh, indices);
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0], (DrawBatch{&b, 24, 0, 3}));
    EXPECT_EQ(batches[1], (DrawBatch{&a, 24, 3, 9}));
    // Slots: triangle b 0-2, rectangle a 3-6, triangle a 7-9. The strip's second triangle is 5, 4, 6.
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 5, 4, 6, 7, 8, 9}));
}

TEST(RenderMesh, DifferentFlagsMakeDifferentBatches) {
    FakeTexture a;
    dxBufferTextura mesh;
    auto wire = texturedTriangle(&a);
    wire->flags |= kFlagWireframe;
    AddPolygon(mesh, std::move(wire));
    AddPolygon(mesh, texturedTriangle(&a));
    mesh.BuildArrays();
    std::vector<std::uint32_t> indices;
    EXPECT_EQ(groupPolygons(mesh, indices).size(), 2u);
}

TEST(RenderMesh, DrawMeshHandsOverTheWorldAndResetsIt) {
    RecordingDevice device;
    FakeTexture page;
    dxBufferTextura mesh;
    AddPolygon(mesh, texturedTriangle(&page));
    CreateVertexBuffer(device, mesh);
    mesh.Translate(1, 2, 3);
    EXPECT_EQ(DrawMesh(device, &mesh), 0);
    ASSERT_EQ(device.draws.size(), 1u);
    EXPECT_EQ(device.draws[0].world, MatrixTranslation(1, 2, 3));
    EXPECT_EQ(mesh.world, glm::mat4(1.0f));
    EXPECT_EQ(DrawMesh(device, nullptr), E_FAIL);
}

TEST(RenderMesh, MeshWithoutBufferIsNotDrawnButItsWorldIsStillReset) {
    RecordingDevice device;
    dxBufferTextura mesh;
    mesh.Scale(3);
    EXPECT_EQ(DrawMesh(device, &mesh), E_FAIL);
    EXPECT_TRUE(device.draws.empty());
    EXPECT_EQ(mesh.world, glm::mat4(1.0f));
}

TEST(RenderMesh, LastOperationActsFirstOnAVertex) {
    dxBufferTextura mesh;
    mesh.Translate(10, 0, 0);
    mesh.Scale(2);
    // Scaled first, then moved: (1, 1, 1) -> (2, 2, 2) -> (12, 2, 2).
    const glm::vec3 p = transformCoord({1, 1, 1}, mesh.world);
    EXPECT_FLOAT_EQ(p.x, 12);
    EXPECT_FLOAT_EQ(p.y, 2);
}

} // namespace
} // namespace veltrane::preview
