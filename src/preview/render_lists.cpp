#include "preview/render_lists.h"

#include "level/mesh_tree.h"
#include "preview/d3d_matrix.h"

namespace veltrane::preview {
namespace {

MeshOffset add(const MeshOffset& a, const level::MeshVector& d) {
    // In 16-bit arithmetic, with the file's y turned over for the preview.
    return {static_cast<std::int16_t>(a.x + d.x), static_cast<std::int16_t>(a.y - d.y),
            static_cast<std::int16_t>(a.z + d.z)};
}

// Draws the mesh placed by `place` (applied to it first), then centred, zoomed, turned and panned by the view.
template <class Place>
void drawPlaced(RenderDevice& device, dxBufferTextura* mesh, const ViewParameters& view, Place&& place) {
    if (mesh == nullptr)
        return;
    mesh->Translate(view.viewPanX, view.viewPanY, 0);
    mesh->RotateY(angleRadians(view.viewAngleY));
    mesh->RotateX(angleRadians(view.viewAngleX));
    mesh->Scale(view.viewZoom);
    mesh->Translate(-view.centre.x, -view.centre.y, -view.centre.z);
    place(*mesh);
    DrawMesh(device, mesh);
}

// Adds the vertices of mesh `index` of the list, placed by the row-vector matrix `place`.
void addVertices(std::vector<glm::vec3>& points, const level::Lista_Mesh& meshes, std::int32_t index,
                 const glm::mat4& place) {
    const level::MeshRecord* mesh = meshes.get(index);
    if (mesh == nullptr)
        return;
    for (const level::MeshVector& v : mesh->Vertices)
        points.push_back(transformCoord(previewPosition(v), place));
}

auto at(const MeshOffset& offset) {
    return [offset](dxBufferTextura& mesh) { mesh.Translate(offset.x, offset.y, offset.z); };
}

template <class Table>
bool inside(const Table& table, std::size_t index) {
    return index < table.size();
}

} // namespace

template <class Model>
std::int32_t MoveableRenderList<Model>::Build() {
    if (file_ == nullptr || meshes_ == nullptr || moveableIndex < 0 ||
        !inside(file_->Moveables, static_cast<std::size_t>(moveableIndex)))
        return E_FAIL;
    const level::Tr4Moveable& r = file_->Moveables[static_cast<std::size_t>(moveableIndex)];
    meshCount = r.MeshCount;
    meshIndex.assign(static_cast<std::size_t>(meshCount), -1);
    for (std::size_t k = 0; k < meshIndex.size(); ++k) {
        const std::size_t pointer = std::size_t{r.StartingMesh} + k;
        if (inside(file_->MeshPointers, pointer))
            meshIndex[k] = meshes_->meshes().MeshIndexOf(file_->MeshPointers[pointer]);
    }
    offsets.assign(static_cast<std::size_t>(meshCount), {});
    if (meshCount == 1)
        return 1;

    const auto links = level::meshTreeLinks(file_->MeshTrees, r);
    for (std::size_t k = 1; k < offsets.size(); ++k)
        offsets[k] = add(offsets[static_cast<std::size_t>(links[k].parent)], links[k].offset);
    for (MeshOffset& offset : offsets)
        offset = {static_cast<std::int16_t>(offset.x / 10), static_cast<std::int16_t>(offset.y / 10),
                  static_cast<std::int16_t>(offset.z / 10)};
    return meshCount;
}

template <class Model>
std::int32_t MoveableRenderList<Model>::Draw(RenderDevice& device, const ViewParameters& view) const {
    if (meshes_ == nullptr)
        return 0;
    const bool posed = pose.size() == meshIndex.size();
    for (std::size_t k = 0; k < meshIndex.size(); ++k) {
        if (posed)
            drawPlaced(device, meshes_->at(meshIndex[k]), view,
                       [&](dxBufferTextura& mesh) { mesh.transform(pose[k]); });
        else
            drawPlaced(device, meshes_->at(meshIndex[k]), view, at(offsets[k]));
    }
    return 0;
}

template <class Model>
Bounds MoveableRenderList<Model>::bounds() const {
    std::vector<glm::vec3> points;
    if (meshes_ != nullptr)
        for (std::size_t k = 0; k < meshIndex.size() && k < offsets.size(); ++k) {
            const MeshOffset& offset = offsets[k];
            addVertices(points, meshes_->meshes(), meshIndex[k], MatrixTranslation(offset.x, offset.y, offset.z));
        }
    return boundsOf(points);
}

template <class Model>
Bounds MoveableRenderList<Model>::bounds(std::span<const std::vector<glm::mat4>> poses) const {
    std::vector<glm::vec3> points;
    if (meshes_ != nullptr)
        for (const auto& placed : poses)
            for (std::size_t k = 0; k < meshIndex.size() && k < placed.size(); ++k)
                addVertices(points, meshes_->meshes(), meshIndex[k], placed[k]);
    return boundsOf(points);
}

template <class Model>
std::int32_t StaticRenderList<Model>::Build() {
    if (file_ == nullptr || meshes_ == nullptr)
        return 0;
    meshIndex = -1;
    if (staticIndex >= 0 && inside(file_->StaticMeshes, static_cast<std::size_t>(staticIndex))) {
        const std::size_t pointer = file_->StaticMeshes[static_cast<std::size_t>(staticIndex)].Mesh;
        if (inside(file_->MeshPointers, pointer))
            meshIndex = meshes_->meshes().MeshIndexOf(file_->MeshPointers[pointer]);
    }
    return meshIndex == -1 ? -1 : 1;
}

template <class Model>
std::int32_t StaticRenderList<Model>::Draw(RenderDevice& device, const ViewParameters& view) const {
    if (meshes_ != nullptr)
        drawPlaced(device, meshes_->at(meshIndex), view, at({}));
    return 1;
}

template <class Model>
Bounds StaticRenderList<Model>::bounds() const {
    std::vector<glm::vec3> points;
    if (meshes_ != nullptr)
        addVertices(points, meshes_->meshes(), meshIndex, glm::mat4(1.0f));
    return boundsOf(points);
}

template class MoveableRenderList<level::Tr4Level>;
template class MoveableRenderList<wad::WadLibrary>;
template class StaticRenderList<level::Tr4Level>;
template class StaticRenderList<wad::WadLibrary>;

} // namespace veltrane::preview
