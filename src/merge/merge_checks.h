#pragma once

#include "io/outcome.h"
#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "merge/object_merge.h"

#include <cstdint>
#include <string>
#include <vector>

// A merge changes nothing until every ticked object, every table limit and the page rule have passed
// these checks, so that a refused merge leaves the target exactly as it was.
namespace veltrane::merge {

// What merging objects adds to the target tables that 16-bit fields index.
struct TableGrowth {
    std::uint64_t meshPointers = 0;
    std::uint64_t animations = 0;
    std::uint64_t stateChanges = 0;
    std::uint64_t dispatches = 0;
    std::uint64_t commandWords = 0;

    TableGrowth& operator+=(const TableGrowth& other);
};

// A checked object: what it adds, and the library meshes it converts, in merge order.
struct ObjectNeeds {
    TableGrowth growth;
    std::vector<const level::MeshRecord*> meshes;
};

// How messages name an object: "source static mesh 2 (ObjectId 5)", "source moveable 3 (ObjectId 12)".
std::string staticMeshName(const wad::WadLibrary& library, std::int32_t index);
std::string moveableName(const wad::WadLibrary& library, std::int32_t index);

// `index` names one of the library's `size` static meshes or moveables (`what`).
io::Status checkIndex(std::int32_t index, std::size_t size, const char* what);

// Every index, offset and range that merging the object reads lies inside the library's tables, and
// every mesh it names is a parsed mesh. Otherwise a message that names the object and the cause.
io::Outcome<ObjectNeeds> checkStaticMesh(const MergeSource& source, std::int32_t index);
io::Outcome<ObjectNeeds> checkMoveable(const MergeSource& source, std::int32_t index);

// After growing by `growth` and `piecesAdded` object textures, every index still fits its 16-bit field.
io::Status checkTableLimits(const level::Tr4Level& target, const TableGrowth& growth, std::int32_t piecesAdded);

// `pagesAdded` new pages will reach the game: the header's page counts agree with the page chunks,
// and the level stays within the pages a tile can name.
io::Status checkNewPages(const level::Tr4Level& target, std::int32_t pagesAdded);

} // namespace veltrane::merge
