#include "preview/mesh_tree.h"

#include <array>

namespace veltrane::preview {
namespace {

constexpr std::size_t kStackDepth = 5;

constexpr std::uint32_t kTreeFollow = 0; // hang from the mesh before
constexpr std::uint32_t kTreePop = 1;    // hang from the saved mesh, then drop it
constexpr std::uint32_t kTreePush = 2;   // save the mesh before, then hang from it
constexpr std::uint32_t kTreeRead = 3;   // hang from the saved mesh, keep it

std::int16_t low16(std::uint32_t word) { return static_cast<std::int16_t>(word & 0xFFFF); }

} // namespace

std::vector<MeshLink> meshTreeLinks(const std::vector<std::uint32_t>& meshTrees, const level::Tr4Moveable& moveable) {
    std::vector<MeshLink> links(moveable.MeshCount);
    std::array<std::int32_t, kStackDepth> stack{};
    std::size_t depth = 0;
    for (std::size_t k = 1; k < links.size(); ++k) {
        const auto before = static_cast<std::int32_t>(k - 1);
        const std::size_t node = std::size_t{moveable.MeshTree} + 4 * (k - 1);
        // Unless the node says otherwise, the mesh sits exactly where the one before it does.
        links[k] = {before, {}};
        if (node + 3 >= meshTrees.size())
            continue;
        std::int32_t parent = -1;
        switch (meshTrees[node]) {
        case kTreeFollow:
            parent = before;
            break;
        case kTreePush:
            if (depth < kStackDepth) {
                stack[depth++] = before;
                parent = before;
            }
            break;
        case kTreePop:
            if (depth > 0)
                parent = stack[--depth];
            break;
        case kTreeRead:
            if (depth > 0)
                parent = stack[depth - 1];
            break;
        default:
            break;
        }
        if (parent >= 0)
            links[k] = {parent, {low16(meshTrees[node + 1]), low16(meshTrees[node + 2]), low16(meshTrees[node + 3])}};
    }
    return links;
}

} // namespace veltrane::preview
