// Fuzzes a whole merge: the input is a library, every one of its objects is ticked and merged into a
// small fixed target, and the grown target is saved to memory and read back. A refused merge must
// leave the target exactly as it was.
#include "fuzz_checks.h"
#include "level/level_file.h"
#include "level/mesh_block.h"
#include "merge/merge_operation.h"
#include "merge/source_set.h"
#include "small_target.h"
#include "wad/wad_library.h"

#include <cstddef>
#include <cstdint>
#include <span>

using namespace veltrane;

namespace {

template <class Records>
std::vector<std::int32_t> everyIndex(const Records& records) {
    std::vector<std::int32_t> indices(records.size());
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<std::int32_t>(i);
    return indices;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::SmallTarget pristine = fuzz::smallTarget();
    auto library = wad::decodeLibrary(std::span<const std::uint8_t>(data, size));
    if (!library)
        return 0;
    const merge::MergeTicks ticks{everyIndex(library->StaticMeshes), everyIndex(library->Moveables)};
    const merge::SourceSet source = merge::OpenSourceSet(std::move(library.value()));

    fuzz::SmallTarget target = pristine;
    auto merged = merge::mergeObjects({target.level, target.meshes}, source.view(), ticks);
    if (!merged) {
        fuzz::check(target.level == pristine.level && target.meshes == pristine.meshes,
                    "a refused merge changed the target");
        return 0;
    }
    level::RebuildMeshBlock(target.meshes, target.level);
    auto encoded = level::encodeLevel(target.level, fuzz::kThreads);
    fuzz::check(encoded.ok(), "a merged target could not be saved");
    auto back = level::decodeLevel(encoded->file, fuzz::kThreads);
    fuzz::check(back.ok(), "a merged target could not be read back");
    fuzz::check(back->MeshWords == target.level.MeshWords && back->MeshPointers == target.level.MeshPointers &&
                    back->Moveables == target.level.Moveables && back->StaticMeshes == target.level.StaticMeshes &&
                    back->ObjectTextures == target.level.ObjectTextures && back->Pages32 == target.level.Pages32,
                "a merged target read back differs from what was saved");
    return 0;
}
