#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "preview/render_mesh.h"
#include "preview/texture_set.h"
#include "wad/wad_library.h"

#include <cstdint>
#include <memory>
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
