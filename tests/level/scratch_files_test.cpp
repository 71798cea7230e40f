#include "level/level_file.h"
#include "level/mesh_block.h"
#include "level/scratch_files.h"
#include "builders/level_builder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace veltrane;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

TEST(ScratchFiles, HoldWhatWasLoadedAndSavedAndNeverFailACommand) {
    const auto folder = fs::temp_directory_path() / ("veltrane-scratch-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    auto level = builders::minimalLevel();
    level.Pages16.assign(5 * level::kPageBytes16, 3);
    level.Frames = {1, 2};
    const auto path = folder / "level.tr4";
    ASSERT_TRUE(level::writeLevel(path, level).ok());
    auto loaded = level::readLevel(path).value();

    ASSERT_TRUE(level::writeTempBlock(loaded, folder));
    EXPECT_EQ(contents(folder / "temp_block"), loaded.LevelData);
    ASSERT_TRUE(level::writeTex16(loaded, folder));
    EXPECT_EQ(fs::file_size(folder / "tex16.tex"), 5 * level::kPageBytes16);

    loaded.Frames.push_back(3);
    ASSERT_TRUE(level::writeLevel(path, loaded).ok());
    ASSERT_TRUE(level::writeNewData(loaded, folder));
    EXPECT_EQ(contents(folder / "new_data"), level::readLevel(path)->LevelData)
        << "new_data holds the block that went into the file";

    const level::Lista_Mesh meshes(level::MeshKind::Level);
    EXPECT_TRUE(level::writeMeshBlock(meshes, folder));
    EXPECT_FALSE(level::writeTempBlock(loaded, folder / "missing"));
    fs::remove_all(folder);
}
