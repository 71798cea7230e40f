#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "preview/render_mesh.h"
#include "preview/texture_set.h"
#include "wad/wad_library.h"

#include <glm/vec3.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace veltrane::preview {

// The render meshes of one file's mesh list: renderMeshes[i] draws the i-th MeshRecord. The object
// render lists refer to the table, so it stays in place while a rebuild replaces its meshes.
class RenderMeshTable {
public:
    explicit RenderMeshTable(const level::Lista_Mesh& meshes) : meshes_(&meshes) {}

    [[nodiscard]] const level::Lista_Mesh& meshes() const { return *meshes_; }
    // The render mesh of mesh `index`, or null when there is none.
    [[nodiscard]] dxBufferTextura* at(std::int32_t index) const;

    std::vector<std::unique_ptr<dxBufferTextura>> renderMeshes;

private:
    const level::Lista_Mesh* meshes_;
};

// File units to preview units.
constexpr float kPreviewScale = 0.1f;
// A mesh vertex in preview units, with y turned over.
glm::vec3 previewPosition(const level::MeshVector& vertex);

// The object texture a level face shows: a rectangle's texture word is signed and a negative one
// names none; a triangle's is taken whole.
std::optional<std::size_t> objectTextureOf(const level::MeshRectangle& face);
std::size_t objectTextureOf(const level::MeshTriangle& face);
// The page an object texture lies on.
std::int32_t pageOf(const level::ObjectTexture& texture);

// Builds a render mesh for every level-form mesh of the table's list, textured from `textures` by
// the target's object textures, and uploads each when a device is given. 0, or E_FAIL (nothing
// built) for an empty list. Faces whose vertex, object texture or page lies outside the file's
// tables are left out.
std::int32_t BuildTargetMeshes(RenderMeshTable& table, RenderDevice* device, const trTextura& textures,
                               const level::Tr4Level& targetLevel);

// The same for the library-form meshes of a source, textured by its texture samples from the 32-bit
// pages. -1 when the list is not of library form, E_FAIL for an empty list, else 0.
std::int32_t BuildSourceMeshes(RenderMeshTable& table, RenderDevice* device, const trTextura& textures,
                               const wad::WadLibrary& sourceLibrary);

} // namespace veltrane::preview
