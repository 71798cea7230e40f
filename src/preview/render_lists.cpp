#include "preview/render_lists.h"

#include <array>
#include <optional>

namespace veltrane::preview {
namespace {

constexpr std::size_t kStackDepth = 5;

// The mesh-tree flag words.
constexpr std::uint32_t kTreeFollow = 0; // hang from the mesh before
constexpr std::uint32_t kTreePop = 1;    // hang from the saved offset, then drop it
constexpr std::uint32_t kTreePush = 2;   // save the mesh before, then hang from it
constexpr std::uint32_t kTreeRead = 3;   // hang from the saved offset, keep it

std::int16_t low16(std::uint32_t word) { return static_cast<std::int16_t>(word & 0xFFFF); }

MeshOffset add(const MeshOffset& a, const MeshOffset& d) {
    return {static_cast<std::int16_t>(a.x + d.x), static_cast<std::int16_t>(a.y + d.y),
            static_cast<std::int16_t>(a.z + d.z)};
}

// Mesh-tree offsets in file units, or none for a node that cannot be placed.
class TreeWalk {
public:
    std::optional<MeshOffset> Place(std::uint32_t flag, const MeshOffset& before, const MeshOffset& d) {
        switch (flag) {
        case kTreeFollow:
            return add(before, d);
        case kTreePush:
            if (size_ == kStackDepth)
                return std::nullopt;
            stack_[size_++] = before;
            return add(before, d);
        case kTreePop:
            if (size_ == 0)
                return std::nullopt;
            return add(stack_[--size_], d);
        case kTreeRead:
            if (size_ == 0)
                return std::nullopt;
            return add(stack_[size_ - 1], d);
        default:
            return std::nullopt;
        }
    }

private:
    std::array<MeshOffset, kStackDepth> stack_{};
    std::size_t size_ = 0;
};

void drawPlaced(RenderDevice& device, dxBufferTextura* mesh, float panX, float panY, float angleY, float angleX,
                float zoom, const MeshOffset& offset) {
    if (mesh == nullptr)
        return;
    mesh->Translate(panX, panY, 0);
    mesh->RotateY(angleY);
    mesh->RotateX(angleX);
    mesh->Scale(zoom);
    mesh->Translate(offset.x, offset.y, offset.z);
    DrawMesh(device, mesh);
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
            meshIndex[k] = meshes_->Meshes().MeshIndexOf(file_->MeshPointers[pointer]);
    }
    offsets.assign(static_cast<std::size_t>(meshCount), {});
    if (meshCount == 1)
        return 1;

    TreeWalk walk;
    for (std::size_t k = 1; k < offsets.size(); ++k) {
        const std::size_t node = std::size_t{r.MeshTree} + 4 * (k - 1);
        std::optional<MeshOffset> placed;
        if (inside(file_->MeshTrees, node + 3)) {
            const auto& words = file_->MeshTrees;
            const MeshOffset d{low16(words[node + 1]), static_cast<std::int16_t>(-low16(words[node + 2])),
                               low16(words[node + 3])};
            placed = walk.Place(words[node], offsets[k - 1], d);
        }
        offsets[k] = placed.value_or(offsets[k - 1]);
    }
    for (MeshOffset& offset : offsets)
        offset = {static_cast<std::int16_t>(offset.x / 10), static_cast<std::int16_t>(offset.y / 10),
                  static_cast<std::int16_t>(offset.z / 10)};
    return meshCount;
}

template <class Model>
std::int32_t MoveableRenderList<Model>::Draw(RenderDevice& device, float panX, float panY, float angleY,
                                             float angleX, float zoom) const {
    if (meshes_ == nullptr)
        return 0;
    for (std::size_t k = 0; k < meshIndex.size(); ++k)
        drawPlaced(device, meshes_->At(meshIndex[k]), panX, panY, angleY, angleX, zoom, offsets[k]);
    return 0;
}

template <class Model>
std::int32_t StaticRenderList<Model>::Build() {
    if (file_ == nullptr || meshes_ == nullptr)
        return 0;
    meshIndex = -1;
    if (staticIndex >= 0 && inside(file_->StaticMeshes, static_cast<std::size_t>(staticIndex))) {
        const std::size_t pointer = file_->StaticMeshes[static_cast<std::size_t>(staticIndex)].Mesh;
        if (inside(file_->MeshPointers, pointer))
            meshIndex = meshes_->Meshes().MeshIndexOf(file_->MeshPointers[pointer]);
    }
    return meshIndex == -1 ? -1 : 1;
}

template <class Model>
std::int32_t StaticRenderList<Model>::Draw(RenderDevice& device, float panX, float panY, float angleY, float angleX,
                                           float zoom) const {
    if (meshes_ != nullptr)
        drawPlaced(device, meshes_->At(meshIndex), panX, panY, angleY, angleX, zoom, {});
    return 1;
}

template class MoveableRenderList<level::Tr4Level>;
template class MoveableRenderList<wad::WadLibrary>;
template class StaticRenderList<level::Tr4Level>;
template class StaticRenderList<wad::WadLibrary>;

} // namespace veltrane::preview
