#pragma once

#include "level/mesh_record.h"
#include "level/records.h"

#include <cstdint>
#include <string_view>
#include <vector>

// A moveable's mesh tree: a run of four-word nodes (flag, x, y, z) from word MeshTree of MeshTrees on,
// node k - 1 placing mesh k. Mesh 0 is the root and hangs from nothing.
namespace veltrane::level {

constexpr std::size_t kMeshTreeNodeWords = 4;
// Meshes a tree can save at a time.
constexpr std::size_t kMeshTreeStackDepth = 5;

// The flag word of a node: from which mesh the node's mesh hangs.
enum MeshTreeFlag : std::uint32_t {
    kFromPrevious = 0, // from the mesh before it
    kFromPopped = 1,   // from the saved mesh on top of the stack, which is then dropped
    kPushPrevious = 2, // the mesh before it is saved, and it hangs from that mesh
    kFromTop = 3,      // from the saved mesh on top of the stack, which stays
};

// The words of MeshTrees that a moveable's tree takes.
constexpr std::size_t meshTreeWords(const Tr4Moveable& moveable) {
    return moveable.MeshCount < 2 ? 0 : kMeshTreeNodeWords * (moveable.MeshCount - 1u);
}

// Where one mesh of a moveable hangs: from which mesh, and at what offset from it (file units, the
// file's own y-down axes). A node that cannot be followed hangs its mesh from the one before it with
// no offset, and `fault` says why.
struct MeshLink {
    std::int32_t parent = -1;
    MeshVector offset;
    std::string_view fault;
    bool operator==(const MeshLink&) const = default;
};

// The links of every mesh of the moveable, walking its tree with a stack of kMeshTreeStackDepth saved
// meshes. A node outside the table, a save on a full stack, a read of an empty one and an unknown
// flag are faults.
std::vector<MeshLink> meshTreeLinks(const std::vector<std::uint32_t>& meshTrees, const Tr4Moveable& moveable);

} // namespace veltrane::level
