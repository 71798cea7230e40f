#include "preview/mesh_builders.h"

#include "level/mesh_block.h"

#include <array>

namespace veltrane::preview {
namespace {

constexpr float kTexelScale = 255.0f; // texel column 255 is u = 1

// Adds the face's vertices at their preview positions in the given slot order; false when a
// vertex index lies outside the mesh's vertices.
template <class Polygon, std::size_t N>
bool addVertices(Polygon& polygon, const level::MeshRecord& mesh, const std::array<std::uint16_t, N>& indices) {
    for (const std::uint16_t index : indices) {
        if (index >= mesh.Vertices.size())
            return false;
        const glm::vec3 v = previewPosition(mesh.Vertices[index]);
        polygon.AddVertex(v.x, v.y, v.z);
    }
    return true;
}

// A rectangle's strip takes its face vertices 0, 1, 3, 2; its texture coordinates are per face vertex.
std::array<std::uint16_t, 4> stripOrder(const std::array<std::uint16_t, 4>& v) { return {v[0], v[1], v[3], v[2]}; }

std::array<float, 8> stripOrder(const std::array<float, 8>& uv) {
    return {uv[0], uv[1], uv[2], uv[3], uv[6], uv[7], uv[4], uv[5]};
}

void start(RenderMeshTable& table) {
    table.renderMeshes.clear();
    table.renderMeshes.resize(static_cast<std::size_t>(table.meshes().count()));
    for (auto& renderMesh : table.renderMeshes)
        renderMesh = std::make_unique<dxBufferTextura>();
}

// Texture coordinates of the target face from its object texture's corners; null texture when the
// object texture or its page lies outside the level's tables.
template <std::size_t Corners>
bool targetTexture(const level::Tr4Level& level, const trTextura& textures, std::size_t objectTexture,
                   const PageTexture*& texture, std::array<float, 2 * Corners>& uv) {
    if (objectTexture >= level.ObjectTextures.size())
        return false;
    const level::ObjectTexture& record = level.ObjectTextures[objectTexture];
    const std::int32_t page = pageOf(record);
    if (page >= textures.pageCount)
        return false;
    texture = textures.TextureFor(page);
    for (std::size_t j = 0; j < Corners; ++j) {
        uv[2 * j] = record.Corners[j].XPixel / kTexelScale;
        uv[2 * j + 1] = record.Corners[j].YPixel / kTexelScale;
    }
    return true;
}

// A level marks alpha-tested faces with object-texture attribute 1 and blended ones with 2 or 3.
Blending targetBlending(const level::Tr4Level& level, std::size_t objectTexture) {
    const std::uint16_t attribute = level.ObjectTextures[objectTexture].Attribute;
    return attribute == 1 ? Blending::AlphaTest : attribute >= 2 ? Blending::Additive : Blending::Opaque;
}

// In a library, a face whose attribute byte has bit 0 set is blended; any other is alpha-tested.
Blending sourceBlending(std::uint16_t attribute) {
    return (attribute & 1) != 0 ? Blending::Additive : Blending::AlphaTest;
}

void finish(dxBufferTextura& renderMesh, RenderDevice* device) {
    if (device != nullptr)
        CreateVertexBuffer(*device, renderMesh);
}

// The corners of a texture sample: x0, x1, y0, y1 as texture coordinates.
struct SampleRect {
    float x0, x1, y0, y1;
};

bool sourceSample(const wad::WadLibrary& library, const trTextura& textures, std::size_t index,
                  const PageTexture*& texture, SampleRect& rect) {
    if (index >= library.TextureSamples.size())
        return false;
    const wad::WadTextureSample& sample = library.TextureSamples[index];
    if (sample.Page >= textures.pageCount)
        return false;
    texture = textures.texture32(sample.Page);
    rect = {sample.X / kTexelScale, (sample.X + sample.AddWidth) / kTexelScale, sample.Y / kTexelScale,
            (sample.Y + sample.AddHeight) / kTexelScale};
    return true;
}

} // namespace

glm::vec3 previewPosition(const level::MeshVector& vertex) {
    return {vertex.x * kPreviewScale, -vertex.y * kPreviewScale, vertex.z * kPreviewScale};
}

std::optional<std::size_t> objectTextureOf(const level::MeshRectangle& face) {
    const auto word = static_cast<std::int16_t>(face.Texture);
    return word < 0 ? std::nullopt : std::optional(static_cast<std::size_t>(word));
}

std::size_t objectTextureOf(const level::MeshTriangle& face) { return face.Texture; }

std::int32_t pageOf(const level::ObjectTexture& texture) { return texture.Tile & 0x7FFF; }

dxBufferTextura* RenderMeshTable::at(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= renderMeshes.size())
        return nullptr;
    return renderMeshes[static_cast<std::size_t>(index)].get();
}

std::int32_t BuildTargetMeshes(RenderMeshTable& table, RenderDevice* device, const trTextura& textures,
                               const level::Tr4Level& targetLevel) {
    const level::Lista_Mesh& meshes = table.meshes();
    if (meshes.count() == 0)
        return E_FAIL;
    start(table);
    for (std::int32_t i = 0; i < meshes.count(); ++i) {
        const level::MeshRecord& mesh = *meshes.get(i);
        dxBufferTextura& renderMesh = *table.renderMeshes[static_cast<std::size_t>(i)];
        for (const level::MeshRectangle& face : mesh.Rectangles) {
            const PageTexture* texture = nullptr;
            std::array<float, 8> uv{};
            const auto named = objectTextureOf(face);
            if (!named || !targetTexture<4>(targetLevel, textures, *named, texture, uv))
                continue;
            auto polygon = std::make_unique<dxCuadradoTex>();
            if (!addVertices(*polygon, mesh, stripOrder(face.Vertices)))
                continue;
            polygon->SetTexture(texture, stripOrder(uv));
            polygon->blending = targetBlending(targetLevel, *named);
            AddPolygon(renderMesh, std::move(polygon));
        }
        for (const level::MeshTriangle& face : mesh.Triangles) {
            const PageTexture* texture = nullptr;
            std::array<float, 6> uv{};
            if (!targetTexture<3>(targetLevel, textures, objectTextureOf(face), texture, uv))
                continue;
            auto polygon = std::make_unique<dxTrianguloTex>();
            if (!addVertices(*polygon, mesh, face.Vertices))
                continue;
            polygon->SetTexture(texture, uv);
            polygon->blending = targetBlending(targetLevel, objectTextureOf(face));
            AddPolygon(renderMesh, std::move(polygon));
        }
        finish(renderMesh, device);
    }
    return 0;
}

std::int32_t BuildSourceMeshes(RenderMeshTable& table, RenderDevice* device, const trTextura& textures,
                               const wad::WadLibrary& sourceLibrary) {
    const level::Lista_Mesh& meshes = table.meshes();
    if (meshes.kind() != level::MeshKind::Library)
        return -1;
    if (meshes.count() == 0)
        return E_FAIL;
    start(table);
    for (std::int32_t i = 0; i < meshes.count(); ++i) {
        const level::MeshRecord mesh = level::convertToLevelForm(*meshes.get(i));
        dxBufferTextura& renderMesh = *table.renderMeshes[static_cast<std::size_t>(i)];
        for (const level::MeshRectangle& face : mesh.Rectangles) {
            const level::LibraryFaceTexture named = level::libraryFaceTexture(level::kShapeQuad, face.Texture);
            const PageTexture* texture = nullptr;
            SampleRect r{};
            if (!sourceSample(sourceLibrary, textures, static_cast<std::size_t>(named.sample), texture, r))
                continue;
            auto polygon = std::make_unique<dxCuadradoTex>();
            if (!addVertices(*polygon, mesh, stripOrder(face.Vertices)))
                continue;
            const std::array<float, 8> uv = named.mirrored ? std::array{r.x1, r.y0, r.x0, r.y0, r.x0, r.y1, r.x1, r.y1}
                                                           : std::array{r.x0, r.y0, r.x1, r.y0, r.x1, r.y1, r.x0, r.y1};
            polygon->SetTexture(texture, stripOrder(uv));
            polygon->blending = sourceBlending(face.Attribute);
            AddPolygon(renderMesh, std::move(polygon));
        }
        for (const level::MeshTriangle& face : mesh.Triangles) {
            // A triangle always shows the upper-left half of its sample, whatever its word's orientation.
            const level::LibraryFaceTexture named = level::libraryFaceTexture(level::kShapeTriangle, face.Texture);
            const PageTexture* texture = nullptr;
            SampleRect r{};
            if (!sourceSample(sourceLibrary, textures, static_cast<std::size_t>(named.sample), texture, r))
                continue;
            auto polygon = std::make_unique<dxTrianguloTex>();
            if (!addVertices(*polygon, mesh, face.Vertices))
                continue;
            polygon->SetTexture(texture, {r.x0, r.y0, r.x1, r.y0, r.x0, r.y1});
            polygon->blending = sourceBlending(face.Attribute);
            AddPolygon(renderMesh, std::move(polygon));
        }
        finish(renderMesh, device);
    }
    return 0;
}

} // namespace veltrane::preview
