#pragma once

#include "level/mesh_record.h"
#include "level/records.h"

#include <cstdint>
#include <vector>

namespace veltrane::preview {

// Where one mesh of a moveable hangs: from which mesh, and at what offset from it (file units, the
// file's own y-down axes). Mesh 0 is the root and hangs from nothing.
struct MeshLink {
    std::int32_t parent = -1;
    level::MeshVector offset;
    bool operator==(const MeshLink&) const = default;
};

// Walks the moveable's mesh tree: a run of four-word nodes (flag, x, y, z) from word `MeshTree` on,
// node k - 1 for mesh k. Flag 0 hangs a mesh from the one before; 2 saves the one before on a stack
// of five and hangs from it; 1 hangs from the saved mesh and drops it; 3 hangs from the saved mesh
// and keeps it. A node outside the table, a sixth save, a read of an empty stack or another flag
// hangs the mesh from the one before it with no offset.
std::vector<MeshLink> meshTreeLinks(const std::vector<std::uint32_t>& meshTrees, const level::Tr4Moveable& moveable);

} // namespace veltrane::preview
