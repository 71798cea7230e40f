#include "level/scratch_files.h"

#include "io/file_io.h"
#include "level/mesh_block.h"

namespace veltrane::level {

bool writeTempBlock(const Tr4Level& level, const std::filesystem::path& folder) {
    return io::writeScratchFile(folder / "temp_block", level.LevelData);
}

bool writeNewData(const Tr4Level& level, const std::filesystem::path& folder) {
    return io::writeScratchFile(folder / "new_data", level.LevelData);
}

bool writeMeshBlock(const Lista_Mesh& meshes, const std::filesystem::path& folder) {
    return io::writeScratchFile(folder / "mesh_block", serialiseMeshBlock(meshes));
}

bool writeTex16(const Tr4Level& level, const std::filesystem::path& folder) {
    return io::writeScratchFile(folder / "tex16.tex", level.Pages16);
}

} // namespace veltrane::level
