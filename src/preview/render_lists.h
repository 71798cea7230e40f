#pragma once

#include "level/tr4_level.h"
#include "preview/framing.h"
#include "preview/mesh_builders.h"
#include "preview/render_device.h"
#include "preview/spin.h"
#include "wad/wad_library.h"

#include <cstdint>
#include <glm/mat4x4.hpp>
#include <span>
#include <vector>

namespace veltrane::preview {

// An object the preview can show: it places its render meshes and draws them.
class PreviewObject {
public:
    virtual ~PreviewObject() = default;
    // Draws the object with each mesh at its place, then moved by the view: the view's centre to the
    // origin, scaled by its zoom, turned about x then y, and panned.
    virtual std::int32_t Draw(RenderDevice& device, const ViewParameters& view) const = 0;
    // The sphere around the object's vertices at their places, at rest.
    [[nodiscard]] virtual Bounds bounds() const = 0;
};

// A mesh offset in preview units.
struct MeshOffset {
    std::int16_t x = 0, y = 0, z = 0;
    bool operator==(const MeshOffset&) const = default;
};

// Which meshes a moveable draws and where: one mesh offset per mesh from the moveable's mesh tree.
// `Model` is the file the moveable comes from (a level or a library).
template <class Model>
class MoveableRenderList : public PreviewObject {
public:
    MoveableRenderList(const Model* file, const RenderMeshTable* meshes, std::int32_t moveableIndex)
        : moveableIndex(moveableIndex), file_(file), meshes_(meshes) {}

    // E_FAIL without a file model (or a moveable outside its table), 1 for a one-mesh moveable,
    // else meshCount. A mesh pointer outside the table gives meshIndex -1; a mesh-tree node outside
    // the table, a pop or read of an empty stack, a sixth push or a flag word other than 0 to 3
    // places that mesh at the offset of the mesh before it.
    std::int32_t Build();
    // Draws each mesh of the moveable; a mesh without a render mesh is skipped. Returns 0.
    std::int32_t Draw(RenderDevice& device, const ViewParameters& view) const override;
    // Every mesh at its mesh-tree offset; a mesh missing from the list adds nothing.
    [[nodiscard]] Bounds bounds() const override;
    // The meshes placed by each of the poses (PreviewPose matrices, one per mesh).
    [[nodiscard]] Bounds bounds(std::span<const std::vector<glm::mat4>> poses) const;

    std::int32_t meshCount = 0;
    std::vector<std::int32_t> meshIndex;
    std::vector<MeshOffset> offsets;
    std::int32_t moveableIndex;
    // A pose from an animation frame (PreviewPose, one matrix per mesh) replaces the mesh offsets
    // while it is set; empty shows the rest view.
    std::vector<glm::mat4> pose;

private:
    const Model* file_;
    const RenderMeshTable* meshes_;
};

// The one mesh a static mesh draws.
template <class Model>
class StaticRenderList : public PreviewObject {
public:
    StaticRenderList(const Model* file, const RenderMeshTable* meshes, std::int32_t staticIndex)
        : staticIndex(staticIndex), file_(file), meshes_(meshes) {}

    // 0 without a file model, -1 when the mesh is not in the list (or the static mesh or its mesh
    // pointer lies outside the file's tables), else 1.
    std::int32_t Build();
    // Draws the mesh at a zero offset; returns 1.
    std::int32_t Draw(RenderDevice& device, const ViewParameters& view) const override;
    [[nodiscard]] Bounds bounds() const override;

    std::int32_t staticIndex;
    std::int32_t meshIndex = -1;

private:
    const Model* file_;
    const RenderMeshTable* meshes_;
};

using trMoveableD3D = MoveableRenderList<level::Tr4Level>;
using wadMoveableD3D = MoveableRenderList<wad::WadLibrary>;
using trStaticMeshD3D = StaticRenderList<level::Tr4Level>;
using wadStaticMeshD3D = StaticRenderList<wad::WadLibrary>;

extern template class MoveableRenderList<level::Tr4Level>;
extern template class MoveableRenderList<wad::WadLibrary>;
extern template class StaticRenderList<level::Tr4Level>;
extern template class StaticRenderList<wad::WadLibrary>;

} // namespace veltrane::preview
