#pragma once

#include "preview/render_device.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace veltrane::preview {

// Render flags of a polygon and of a render mesh's polygonFlags.
constexpr std::uint32_t kFlagStrip = 1;        // four-vertex triangle strip; clear: three-vertex list
constexpr std::uint32_t kFlagWireframe = 2;
constexpr std::uint32_t kFlagCullClockwise = 4;
constexpr std::uint32_t kFlagCullCounterClockwise = 8;
constexpr std::uint32_t kFlagTextured = 16;


// One polygon of a render mesh: its vertices are added one slot at a time.
class dxPoligono {
public:
    virtual ~dxPoligono() = default;
    // The vertex slots as bytes, in slot order.
    [[nodiscard]] virtual std::span<const std::byte> GetVertexData() const = 0;
    // Writes the next slot; E_FAIL (nothing changed) once every slot is written.
    virtual std::int32_t AddVertex(float x, float y, float z) = 0;
    // The texture the polygon shows, or null.
    [[nodiscard]] virtual const PageTexture* pageTexture() const { return nullptr; }

    [[nodiscard]] std::int32_t slotCount() const { return lastVertex + 1; }

    std::uint32_t flags = 0;
    Blending blending = Blending::Opaque;
    std::int32_t vertexCount = 0; // slots written so far
    std::int32_t lastVertex = 0;  // highest slot

protected:
    explicit dxPoligono(std::int32_t last) : lastVertex(last) {}
};

// A polygon of colour vertices; the preview draws only the textured kinds below.
template <std::size_t Slots>
class dxColourPolygon : public dxPoligono {
public:
    dxColourPolygon() : dxPoligono(static_cast<std::int32_t>(Slots) - 1) {}
    [[nodiscard]] std::span<const std::byte> GetVertexData() const override {
        return std::as_bytes(std::span(vertices));
    }
    std::int32_t AddVertex(float x, float y, float z) override;

    std::array<ColourVertex, Slots> vertices{};
};

using dxTriangulo = dxColourPolygon<3>;
using dxCuadrado = dxColourPolygon<4>;

// A textured polygon: the vertices carry texture coordinates on one page texture.
template <std::size_t Slots>
class dxTexturedPolygon : public dxColourPolygon<Slots> {
public:
    dxTexturedPolygon() { this->flags = kFlagCullCounterClockwise; }
    [[nodiscard]] std::span<const std::byte> GetVertexData() const override {
        return std::as_bytes(std::span(texturedVertices));
    }
    std::int32_t AddVertex(float x, float y, float z) override;
    [[nodiscard]] const PageTexture* pageTexture() const override { return texture; }

    // Stores the texture and the u, v of every slot; E_FAIL (nothing changed) for a null texture.
    std::int32_t SetTexture(const PageTexture* page, const std::array<float, 2 * Slots>& coordinates);

    std::array<RenderVertex, Slots> texturedVertices{};
    const PageTexture* texture = nullptr;
};

using dxTrianguloTex = dxTexturedPolygon<3>;
using dxCuadradoTex = dxTexturedPolygon<4>;

extern template class dxColourPolygon<3>;
extern template class dxColourPolygon<4>;
extern template class dxTexturedPolygon<3>;
extern template class dxTexturedPolygon<4>;

} // namespace veltrane::preview
