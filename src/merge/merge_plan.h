#pragma once

#include "io/outcome.h"
#include "level/animation_tables.h"
#include "level/level_document.h"
#include "merge/piece_layout.h"
#include "merge/texture_pieces.h"
#include "wad/library_document.h"

#include <cstdint>
#include <string>
#include <vector>

// A merge is planned completely before anything changes: every ticked object is checked, every range it
// reads is resolved, every face gets its texture piece and the pieces are laid out on their pages. A
// merge that passes is then applied from the plan alone; one that does not leaves the target exactly
// as it was.
namespace veltrane::merge {

// The ticked entries of the two source lists, as indices into the library's tables.
struct MergeTicks {
    std::vector<std::int32_t> statics;
    std::vector<std::int32_t> moveables;
};

// Every static mesh and every moveable of the library ticked.
MergeTicks everyObject(const wad::WadLibrary& library);

enum class ObjectKind { StaticMesh, Moveable };

// A ticked object left out because the target has no object of its kind to join.
struct SkippedObject {
    ObjectKind kind = ObjectKind::StaticMesh;
    std::int32_t index = 0;
    std::uint32_t objectId = 0;
    bool operator==(const SkippedObject&) const = default;
};

// A library mesh and the object-texture index that each of its polygons takes in the target.
struct PlannedMesh {
    const level::MeshRecord* source = nullptr;
    std::vector<std::uint16_t> textures;
};

// A library animation of a merged moveable.
struct PlannedAnimation {
    std::uint32_t frameAdvance = 0; // bytes its whole frames take, where the next animation's frames begin
    std::uint32_t dispatches = 0;   // of its state changes, together
    std::size_t commandWords = 0;   // its commands with their operands
};

struct PlannedStatic {
    std::int32_t index = 0;
    PlannedMesh mesh;
};

struct PlannedMoveable {
    std::int32_t index = 0;
    std::vector<PlannedMesh> meshes;
    level::FrameBlock frames;
    level::AnimationRange animations;
    std::vector<PlannedAnimation> animationParts; // one per animation of the range
};

// What merging objects adds to the target tables that 16-bit fields index.
struct TableGrowth {
    std::uint64_t meshPointers = 0;
    std::uint64_t animations = 0;
    std::uint64_t stateChanges = 0;
    std::uint64_t dispatches = 0;
    std::uint64_t commandWords = 0;
};

struct MergePlan {
    std::vector<PlannedStatic> statics;     // in merge order
    std::vector<PlannedMoveable> moveables; // in merge order
    std::vector<SkippedObject> skipped;
    Lista_Texturas pieces{0};
    PieceLayout layout;
    TableGrowth growth;
};

// Plans merging the ticked objects: the ticked statics (when the target has a static mesh), then the
// ticked moveables (when it has a moveable), each in ascending index order, a tick given twice counting
// once. A merge is refused when a ticked object's data is inconsistent, when an index would no longer
// fit its 16-bit field, or when new pages would not reach the game; the message names the object and
// the cause.
io::Outcome<MergePlan> planMerge(const level::LevelDocument& target, const wad::LibraryDocument& source,
                                 const MergeTicks& ticks);

// `pagesAdded` new pages will reach the game: the header's page counts agree with the page chunks,
// and the level stays within the pages a tile can name.
io::Status checkNewPages(const level::Tr4Level& target, std::int32_t pagesAdded);

} // namespace veltrane::merge
