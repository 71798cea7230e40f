#include "preview/polygons.h"

namespace veltrane::preview {

template <std::size_t Slots>
std::int32_t dxColourPolygon<Slots>::AddVertex(float x, float y, float z) {
    if (vertexCount > lastVertex)
        return E_FAIL;
    auto& vertex = vertices[static_cast<std::size_t>(vertexCount++)];
    vertex.x = x;
    vertex.y = y;
    vertex.z = z;
    return 0;
}

template <std::size_t Slots>
std::int32_t dxTexturedPolygon<Slots>::AddVertex(float x, float y, float z) {
    if (this->vertexCount > this->lastVertex)
        return E_FAIL;
    auto& vertex = texturedVertices[static_cast<std::size_t>(this->vertexCount++)];
    vertex.x = x;
    vertex.y = y;
    vertex.z = z;
    return 0;
}

template <std::size_t Slots>
std::int32_t dxTexturedPolygon<Slots>::SetTexture(const PageTexture* page,
                                                  const std::array<float, 2 * Slots>& coordinates) {
    if (page == nullptr)
        return E_FAIL;
    texture = page;
    for (std::size_t slot = 0; slot < Slots; ++slot) {
        texturedVertices[slot].u = coordinates[2 * slot];
        texturedVertices[slot].v = coordinates[2 * slot + 1];
    }
    return 0;
}

template class dxColourPolygon<3>;
template class dxColourPolygon<4>;
template class dxTexturedPolygon<3>;
template class dxTexturedPolygon<4>;

} // namespace veltrane::preview
