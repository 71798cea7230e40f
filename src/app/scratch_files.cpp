#include "app/scratch_files.h"

#include "level/mesh_block.h"

#include <fstream>
#include <span>

namespace veltrane::app::scratch {
namespace {

bool writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

} // namespace

bool writeTempBlock(const level::Tr4Level& level, const std::filesystem::path& folder) {
    return writeFile(folder / "temp_block", level.LevelData);
}

bool writeTex16(const level::Tr4Level& level, const std::filesystem::path& folder) {
    return writeFile(folder / "tex16.tex", level.Pages16);
}

bool writeMeshBlock(const level::Lista_Mesh& meshes, const std::filesystem::path& folder) {
    return writeFile(folder / "mesh_block", level::serialiseMeshBlock(meshes));
}

bool writeNewData(const level::Tr4Level& level, const std::filesystem::path& folder) {
    return writeFile(folder / "new_data", level.LevelData);
}

bool writeFirstSourcePage(const wad::PageSet& pages, const std::filesystem::path& folder) {
    if (pages.pageCount == 0)
        return false;
    return writeFile(folder / "segundoA.bbb", std::span(pages.pages32).first(level::kPageBytes32));
}

} // namespace veltrane::app::scratch
