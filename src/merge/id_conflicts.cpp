#include "merge/id_conflicts.h"

#include <algorithm>
#include <set>

namespace veltrane::merge {
namespace {

bool conflicts(const std::vector<IdConflict>& found, ObjectKind kind, std::uint32_t objectId) {
    return std::find(found.begin(), found.end(), IdConflict{kind, objectId}) != found.end();
}

// The ObjectIds of the ticked `records` that one of `existing` has too, ascending.
template <class Records>
std::set<std::uint32_t> sharedIds(const Records& records, const std::vector<std::int32_t>& ticked,
                                  const Records& existing) {
    std::set<std::uint32_t> shared;
    for (std::int32_t index : ticked) {
        if (index < 0 || static_cast<std::size_t>(index) >= records.size())
            continue;
        const std::uint32_t id = records[static_cast<std::size_t>(index)].ObjectId;
        if (std::any_of(existing.begin(), existing.end(), [id](const auto& record) { return record.ObjectId == id; }))
            shared.insert(id);
    }
    return shared;
}

template <class Records>
std::vector<std::int32_t> keptTicks(const std::vector<std::int32_t>& ticked, const Records& records, ObjectKind kind,
                                    const std::vector<IdConflict>& found) {
    std::vector<std::int32_t> kept;
    for (std::int32_t index : ticked)
        if (index < 0 || static_cast<std::size_t>(index) >= records.size() ||
            !conflicts(found, kind, records[static_cast<std::size_t>(index)].ObjectId))
            kept.push_back(index);
    return kept;
}

} // namespace

std::vector<IdConflict> findConflicts(const level::LevelDocument& target, const wad::LibraryDocument& source,
                                      const MergeTicks& ticks) {
    std::vector<IdConflict> found;
    for (std::uint32_t id : sharedIds(source.library.StaticMeshes, ticks.statics, target.level.StaticMeshes))
        found.push_back({ObjectKind::StaticMesh, id});
    for (std::uint32_t id : sharedIds(source.library.Moveables, ticks.moveables, target.level.Moveables))
        found.push_back({ObjectKind::Moveable, id});
    return found;
}

MergeTicks withoutConflicts(const MergeTicks& ticks, const wad::WadLibrary& library,
                            const std::vector<IdConflict>& conflicts) {
    return {keptTicks(ticks.statics, library.StaticMeshes, ObjectKind::StaticMesh, conflicts),
            keptTicks(ticks.moveables, library.Moveables, ObjectKind::Moveable, conflicts)};
}

void removeConflicting(level::Tr4Level& target, const std::vector<IdConflict>& found) {
    std::erase_if(target.StaticMeshes,
                  [&](const auto& record) { return conflicts(found, ObjectKind::StaticMesh, record.ObjectId); });
    std::erase_if(target.Moveables,
                  [&](const auto& record) { return conflicts(found, ObjectKind::Moveable, record.ObjectId); });
}

} // namespace veltrane::merge
