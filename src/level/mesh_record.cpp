#include "level/mesh_record.h"

#include <algorithm>
#include <iterator>

namespace veltrane::level {
namespace {

std::uint32_t padded(std::uint32_t size) { return size % 4 == 0 ? size : size + 2; }

std::uint32_t sizeWithoutFaces(const MeshRecord& mesh) {
    std::uint32_t size = 14;
    if (mesh.NumVertices > 0)
        size += 6u * static_cast<std::uint32_t>(mesh.NumVertices);
    if (mesh.NumNormals > 0)
        size += 6u * static_cast<std::uint32_t>(mesh.NumNormals);
    else
        size += 2u * static_cast<std::uint32_t>(-static_cast<std::int32_t>(mesh.NumNormals));
    return size;
}

// The bytes of the mesh's level-form record before its pad word.
std::uint32_t levelBytes(const MeshRecord& mesh) {
    std::uint32_t size = sizeWithoutFaces(mesh) + 4;
    if (mesh.NumRectangles > 0)
        size += 12u * static_cast<std::uint32_t>(mesh.NumRectangles);
    if (mesh.NumTriangles > 0)
        size += 10u * static_cast<std::uint32_t>(mesh.NumTriangles);
    return size;
}

// The same for the library form.
std::uint32_t libraryBytes(const MeshRecord& mesh) {
    std::uint32_t size = sizeWithoutFaces(mesh) + 2;
    if (mesh.NumPolygons > 0)
        for (const MeshPolygon& polygon : mesh.Polygons)
            size += 6 + 2 * static_cast<std::uint32_t>(polygonCorners(polygon.Shape));
    return size;
}

} // namespace

std::uint32_t levelFormSize(const MeshRecord& mesh) { return padded(levelBytes(mesh)); }

std::uint32_t libraryFormSize(const MeshRecord& mesh) { return padded(sizeWithoutFaces(mesh)); }

bool takesPadWord(const MeshRecord& mesh, MeshKind kind) {
    return (kind == MeshKind::Level ? levelBytes(mesh) : libraryBytes(mesh)) % 4 != 0;
}

std::int32_t Lista_Mesh::append(MeshRecord record) {
    const std::uint32_t size = kind_ == MeshKind::Level ? levelFormSize(record) : libraryFormSize(record);
    if (!meshes_.empty() && record.Offset <= meshes_.back().Offset)
        offsetsAscend_ = false;
    meshes_.push_back(std::move(record));
    totalSize_ += static_cast<std::int32_t>(size);
    if (count() > keptMeshes_)
        sizeAfterKept_ += size;
    return static_cast<std::int32_t>(size);
}

std::vector<MeshRecord> Lista_Mesh::takeSince(const Mark& mark) {
    std::vector<MeshRecord> taken(std::make_move_iterator(meshes_.begin() + mark.count),
                                  std::make_move_iterator(meshes_.end()));
    truncate(mark);
    return taken;
}

void Lista_Mesh::truncate(const Mark& mark) {
    meshes_.erase(meshes_.begin() + mark.count, meshes_.end());
    totalSize_ = mark.totalSize;
    sizeAfterKept_ = mark.sizeAfterKept;
    offsetsAscend_ = mark.offsetsAscend;
}

const MeshRecord* Lista_Mesh::get(std::int32_t index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return &meshes_[static_cast<std::size_t>(index)];
}

std::int32_t Lista_Mesh::MeshIndexOf(std::uint32_t offset) const {
    if (!offsetsAscend_) {
        const auto first = std::find_if(meshes_.begin(), meshes_.end(),
                                        [offset](const MeshRecord& mesh) { return mesh.Offset == offset; });
        return first == meshes_.end() ? -1 : static_cast<std::int32_t>(first - meshes_.begin());
    }
    // Parsed and merged meshes are appended at growing offsets, so a binary search finds the record.
    const auto found = std::lower_bound(meshes_.begin(), meshes_.end(), offset,
                                        [](const MeshRecord& mesh, std::uint32_t value) { return mesh.Offset < value; });
    if (found == meshes_.end() || found->Offset != offset)
        return -1;
    return static_cast<std::int32_t>(found - meshes_.begin());
}

std::uint32_t Lista_Mesh::nextOffset() const {
    if (keptBlock_.empty())
        return static_cast<std::uint32_t>(totalSize_);
    return static_cast<std::uint32_t>(keptBlock_.size()) + sizeAfterKept_;
}

void Lista_Mesh::keepOriginalBlock(std::vector<std::uint8_t> block, std::int32_t keptMeshes) {
    keptBlock_ = std::move(block);
    keptMeshes_ = keptMeshes;
    sizeAfterKept_ = 0;
    for (std::int32_t i = keptMeshes; i < count(); ++i)
        sizeAfterKept_ += levelFormSize(meshes_[static_cast<std::size_t>(i)]);
}

} // namespace veltrane::level
