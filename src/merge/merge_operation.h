#pragma once

#include "io/outcome.h"
#include "merge/object_merge.h"

#include <cstdint>
#include <string>
#include <vector>

namespace veltrane::merge {

// The ticked entries of the two source lists, as indices into the library's tables.
struct MergeTicks {
    std::vector<std::int32_t> statics;
    std::vector<std::int32_t> moveables;
};

enum class ObjectKind { StaticMesh, Moveable };

// A ticked object left out because the target has no object of its kind to join.
struct SkippedObject {
    ObjectKind kind = ObjectKind::StaticMesh;
    std::int32_t index = 0;
    std::uint32_t objectId = 0;
    bool operator==(const SkippedObject&) const = default;
};

struct MergeStatistics {
    std::int32_t pagesAdded = 0;         // "Total pages added:"
    std::int32_t piecesAdded = 0;        // "Amount of pieces textures added:"
    std::int32_t objectTextureCount = 0; // "Total of pieces textures:"
    std::int32_t meshDataSize = 0;       // "Mesh data size (Bytes):"
    std::vector<SkippedObject> skipped;
};

// One merge operation, as the Merge command and the command line run it: the ticked statics (when the
// target has a static mesh), then the ticked moveables (when it has a moveable), each in ascending
// index order, then their texture pieces placed on new pages.
//
// A merge is refused as a whole when a ticked object's data is inconsistent, when an index would no
// longer fit its 16-bit field, or when new pages would not reach the game; the message names the object
// and the cause, and the target and its mesh list stay exactly as they were.
//
// The target's preview is not rebuilt here: the window rebuilds it from the grown target afterwards.
io::Outcome<MergeStatistics> mergeObjects(MergeTarget target, const MergeSource& source, const MergeTicks& ticks);

// The four statistics lines as the window's memo shows them: "Total pages added:1", ...
std::vector<std::string> statisticsLines(const MergeStatistics& statistics);

// "source moveable 3 (ObjectId 12) was not merged: the target has no moveable"
std::string skippedMessage(const SkippedObject& skipped);

} // namespace veltrane::merge
