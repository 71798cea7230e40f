#include "level/mesh_tree.h"

#include <array>

namespace veltrane::level {
namespace {

std::int16_t low16(std::uint32_t word) { return static_cast<std::int16_t>(word & 0xFFFF); }

} // namespace

std::vector<MeshLink> meshTreeLinks(const std::vector<std::uint32_t>& meshTrees, const Tr4Moveable& moveable) {
    std::vector<MeshLink> links(moveable.MeshCount);
    std::array<std::int32_t, kMeshTreeStackDepth> stack{};
    std::size_t depth = 0;
    for (std::size_t k = 1; k < links.size(); ++k) {
        const auto before = static_cast<std::int32_t>(k - 1);
        const std::size_t node = std::size_t{moveable.MeshTree} + kMeshTreeNodeWords * (k - 1);
        // Unless the node says otherwise, the mesh sits exactly where the one before it does.
        links[k] = {before, {}, {}};
        if (node + kMeshTreeNodeWords > meshTrees.size()) {
            links[k].fault = "mesh tree runs past MeshTrees";
            continue;
        }
        std::int32_t parent = -1;
        switch (meshTrees[node]) {
        case kFromPrevious:
            parent = before;
            break;
        case kPushPrevious:
            if (depth < kMeshTreeStackDepth) {
                stack[depth++] = before;
                parent = before;
            } else {
                links[k].fault = "mesh tree saves more than five meshes";
            }
            break;
        case kFromPopped:
        case kFromTop:
            if (depth == 0)
                links[k].fault = "mesh tree reads an empty stack";
            else
                parent = meshTrees[node] == kFromPopped ? stack[--depth] : stack[depth - 1];
            break;
        default:
            links[k].fault = "mesh tree has an unknown flag";
            break;
        }
        if (parent >= 0)
            links[k] = {parent, {low16(meshTrees[node + 1]), low16(meshTrees[node + 2]), low16(meshTrees[node + 3])}, {}};
    }
    return links;
}

} // namespace veltrane::level
