#include "preview/render_mesh.h"

#include "preview/d3d_matrix.h"

#include <cstring>

namespace veltrane::preview {

std::int32_t dxBufferColor8::BuildArrays() {
    if (!dirty)
        return -1;
    vertexData.assign(static_cast<std::size_t>(vertexCount()), {});
    copyPolygons(reinterpret_cast<std::byte*>(vertexData.data()), 0);
    return vertexCount() * static_cast<std::int32_t>(sizeof(ColourVertex));
}

std::span<const std::byte> dxBufferColor8::GetVertexData() const { return std::as_bytes(std::span(vertexData)); }

void dxBufferColor8::copyPolygons(std::byte* destination, std::uint32_t extraFlags) {
    polygonFlags.clear();
    polygonFlags.reserve(static_cast<std::size_t>(polygonCount()));
    std::size_t at = 0;
    for (const auto& polygon : polygons) {
        const auto bytes = polygon->GetVertexData();
        std::memcpy(destination + at, bytes.data(), bytes.size());
        at += bytes.size();
        polygonFlags.push_back(polygon->flags | extraFlags | (polygon->slotCount() == 4 ? kFlagStrip : 0));
    }
}

void dxBufferColor8::Translate(float x, float y, float z) { world = MatrixMultiply(MatrixTranslation(x, y, z), world); }
void dxBufferColor8::RotateY(float angle) { world = MatrixMultiply(MatrixRotationY(angle), world); }
void dxBufferColor8::RotateX(float angle) { world = MatrixMultiply(MatrixRotationX(angle), world); }
void dxBufferColor8::Scale(float s) { world = MatrixMultiply(MatrixScaling(s, s, s), world); }
void dxBufferColor8::transform(const glm::mat4& m) { world = MatrixMultiply(m, world); }

dxBufferTextura::dxBufferTextura() {
    vertexFormat = kFormatTextured;
    vertexStride = sizeof(RenderVertex);
}

std::int32_t dxBufferTextura::BuildArrays() {
    if (!dirty)
        return -1;
    texturedVertexData.assign(static_cast<std::size_t>(vertexCount()), {});
    copyPolygons(reinterpret_cast<std::byte*>(texturedVertexData.data()), kFlagTextured);
    polygonTextures.clear();
    polygonTextures.reserve(static_cast<std::size_t>(polygonCount()));
    polygonBlending.clear();
    polygonBlending.reserve(static_cast<std::size_t>(polygonCount()));
    for (const auto& polygon : polygons) {
        polygonTextures.push_back(polygon->pageTexture());
        polygonBlending.push_back(polygon->blending);
    }
    return vertexCount() * static_cast<std::int32_t>(sizeof(RenderVertex));
}

std::span<const std::byte> dxBufferTextura::GetVertexData() const {
    return std::as_bytes(std::span(texturedVertexData));
}

std::int32_t AddPolygon(dxBufferColor8& mesh, std::unique_ptr<dxPoligono> polygon) {
    const auto expected = static_cast<std::size_t>(polygon->slotCount()) * mesh.vertexStride;
    if (polygon->GetVertexData().size() != expected)
        return E_FAIL;
    if (polygon->slotCount() == 3)
        ++mesh.triangleCount;
    else
        ++mesh.rectangleCount;
    mesh.polygons.push_front(std::move(polygon));
    mesh.dirty = true;
    return 0;
}

std::vector<DrawBatch> groupPolygons(const dxBufferTextura& mesh, std::vector<std::uint32_t>& indices) {
    struct Polygon {
        std::uint32_t firstSlot;
        bool strip;
    };
    std::vector<DrawBatch> batches;
    std::vector<std::vector<Polygon>> members;
    std::uint32_t slot = 0;
    for (std::size_t i = 0; i < mesh.polygonFlags.size(); ++i) {
        const std::uint32_t flags = mesh.polygonFlags[i] & ~kFlagStrip;
        const PageTexture* texture = (flags & kFlagTextured) ? mesh.polygonTextures[i] : nullptr;
        const Blending blending = i < mesh.polygonBlending.size() ? mesh.polygonBlending[i] : Blending::Opaque;
        std::size_t b = 0;
        while (b < batches.size() &&
               (batches[b].texture != texture || batches[b].flags != flags || batches[b].blending != blending))
            ++b;
        if (b == batches.size()) {
            batches.push_back({texture, flags, 0, 0, blending});
            members.emplace_back();
        }
        const bool strip = (mesh.polygonFlags[i] & kFlagStrip) != 0;
        members[b].push_back({slot, strip});
        slot += strip ? 4 : 3;
    }
    indices.clear();
    for (std::size_t b = 0; b < batches.size(); ++b) {
        batches[b].firstIndex = static_cast<std::uint32_t>(indices.size());
        for (const Polygon& polygon : members[b]) {
            const std::uint32_t s = polygon.firstSlot;
            indices.insert(indices.end(), {s, s + 1, s + 2});
            if (polygon.strip) // the strip's second triangle is slots 2, 1, 3
                indices.insert(indices.end(), {s + 2, s + 1, s + 3});
        }
        batches[b].indexCount = static_cast<std::uint32_t>(indices.size()) - batches[b].firstIndex;
    }
    return batches;
}

std::int32_t CreateVertexBuffer(RenderDevice& device, dxBufferTextura& mesh) {
    if (mesh.BuildArrays() == -1)
        return E_FAIL;
    std::vector<std::uint32_t> indices;
    auto batches = groupPolygons(mesh, indices);
    auto buffer = device.CreateVertexBuffer(mesh.GetVertexData(), mesh.vertexFormat, mesh.vertexStride, indices);
    if (!buffer)
        return E_FAIL;
    mesh.vertexBuffer = std::move(buffer);
    mesh.drawBatches = std::move(batches);
    mesh.dirty = false;
    return 0;
}

std::int32_t DrawMesh(RenderDevice& device, dxBufferTextura* mesh) {
    if (mesh == nullptr)
        return E_FAIL;
    const glm::mat4 world = mesh->world;
    mesh->world = glm::mat4(1.0f);
    if (!mesh->vertexBuffer)
        return E_FAIL;
    return device.drawBuffer(*mesh, world);
}

} // namespace veltrane::preview
