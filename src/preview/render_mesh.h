#pragma once

#include "preview/polygons.h"
#include "preview/render_device.h"

#include <glm/mat4x4.hpp>

#include <cstdint>
#include <forward_list>
#include <memory>
#include <vector>

namespace veltrane::preview {

// The drawable geometry of one mesh: its polygons, the arrays built from them and the device
// buffer they are uploaded into. The base holds colour polygons; the preview uses dxBufferTextura.
class dxBufferColor8 {
public:
    dxBufferColor8() = default;
    virtual ~dxBufferColor8() = default;
    dxBufferColor8(const dxBufferColor8&) = delete;
    dxBufferColor8& operator=(const dxBufferColor8&) = delete;

    // Builds the vertex and flag arrays from the polygons, newest polygon first. Returns the byte
    // size of the vertex data, or -1 when nothing changed since the last upload.
    virtual std::int32_t BuildArrays();
    // The vertex data built by BuildArrays.
    [[nodiscard]] virtual std::span<const std::byte> GetVertexData() const;

    // Each replaces `world` by (the new matrix) x `world`, so the operation applied last acts first.
    void Translate(float x, float y, float z);
    void RotateY(float angle);
    void RotateX(float angle);
    void Scale(float s);
    void transform(const glm::mat4& m);

    [[nodiscard]] std::int32_t polygonCount() const { return triangleCount + rectangleCount; }
    [[nodiscard]] std::int32_t vertexCount() const { return 3 * triangleCount + 4 * rectangleCount; }

    std::vector<ColourVertex> vertexData;
    std::unique_ptr<VertexBuffer> vertexBuffer;
    std::vector<std::uint32_t> polygonFlags;
    std::int32_t triangleCount = 0;
    std::int32_t rectangleCount = 0;
    bool dirty = false;
    std::forward_list<std::unique_ptr<dxPoligono>> polygons; // newest first
    std::uint32_t vertexFormat = kFormatColour;
    std::uint32_t vertexStride = sizeof(ColourVertex);
    glm::mat4 world{1.0f};

protected:
    // Copies every polygon's vertices to the slots that follow each other in `destination`, newest
    // polygon first, and records its flags with `extraFlags` (and the strip flag for rectangles).
    void copyPolygons(std::byte* destination, std::uint32_t extraFlags);
};

// A render mesh of textured polygons: 20-byte vertices and one page texture per polygon.
class dxBufferTextura : public dxBufferColor8 {
public:
    dxBufferTextura();

    std::int32_t BuildArrays() override;
    [[nodiscard]] std::span<const std::byte> GetVertexData() const override;

    std::vector<RenderVertex> texturedVertexData;
    std::vector<const PageTexture*> polygonTextures;
    std::vector<Blending> polygonBlending;
    // Filled at upload: the polygons grouped by texture and flags, and the index list that draws them.
    std::vector<DrawBatch> drawBatches;
};

// Puts the polygon at the head of the mesh's list. Returns 0, or E_FAIL (the polygon is dropped)
// when its vertices do not have the mesh's vertex size.
std::int32_t AddPolygon(dxBufferColor8& mesh, std::unique_ptr<dxPoligono> polygon);

// Groups the polygons of built arrays into draw batches: one for each texture and flag set, in
// the order of their first polygon, each polygon keeping its place within its batch. Fills
// `indices` with three vertex slots a triangle; a strip's second triangle keeps the first's winding.
std::vector<DrawBatch> groupPolygons(const dxBufferTextura& mesh, std::vector<std::uint32_t>& indices);

// Builds the arrays and uploads them: 0, or E_FAIL when the mesh is not dirty (the buffer stays as
// it was) or the device makes no buffer.
std::int32_t CreateVertexBuffer(RenderDevice& device, dxBufferTextura& mesh);

// Hands a copy of the mesh's world matrix to the device with the mesh, then resets it to identity.
// E_FAIL for a null mesh or a mesh without a buffer.
std::int32_t DrawMesh(RenderDevice& device, dxBufferTextura* mesh);

} // namespace veltrane::preview
