#include "cli/merge_command.h"

#include "io/file_io.h"
#include "level/level_file.h"
#include "builders/wad_writer.h"
#include "demo/demo_files.h"
#include "demo/demo_ids.h"
#include "demo/demo_library.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace veltrane;
namespace fs = std::filesystem;

namespace {

class MergeCommandTest : public ::testing::Test {
protected:
    MergeCommandTest() : folder(fs::temp_directory_path() / ("veltrane-merge-" + std::to_string(::getpid()))) {
        auto files = demo::writeDemoFiles(folder, demo::DemoScale::Normal);
        EXPECT_TRUE(files.ok()) << files.error();
        request.target = files->Target;
        request.source = files->Source;
        request.output = folder / "merged.tr4";
    }
    ~MergeCommandTest() override { fs::remove_all(folder); }

    level::Tr4Level load(const fs::path& path) {
        auto level = level::readLevel(path);
        EXPECT_TRUE(level.ok()) << level.error();
        return level.ok() ? std::move(level.value()) : level::Tr4Level{};
    }

    fs::path folder;
    cli::MergeRequest request;
};

TEST_F(MergeCommandTest, TickedObjectsAreMergedSavedAndCounted) {
    const level::Tr4Level before = load(request.target);
    request.staticIds = {demo::ids::kCrate};
    request.moveableIds = {demo::ids::kWalker};
    const auto report = cli::runMerge(request);
    ASSERT_TRUE(report.ok()) << report.error();
    ASSERT_EQ(report->statistics.size(), 4u);
    EXPECT_EQ(report->statistics[0], "Total pages added:1");
    EXPECT_EQ(report->statistics[1].rfind("Amount of pieces textures added:", 0), 0u);
    EXPECT_TRUE(report->notes.empty());

    const level::Tr4Level merged = load(request.output);
    EXPECT_EQ(merged.StaticMeshes.size(), before.StaticMeshes.size() + 1);
    EXPECT_EQ(merged.StaticMeshes.back().ObjectId, demo::ids::kCrate);
    EXPECT_EQ(merged.Moveables.size(), before.Moveables.size() + 1);
    EXPECT_EQ(merged.Moveables.back().ObjectId, demo::ids::kWalker);
    EXPECT_EQ(report->statistics[2], "Total of pieces textures:" + std::to_string(merged.ObjectTextures.size()));
    EXPECT_EQ(report->statistics[3], "Mesh data size (Bytes):" + std::to_string(merged.MeshWords.size() * 2));
}

TEST_F(MergeCommandTest, WithoutTicksTheLevelIsLoadedAndSaved) {
    const auto report = cli::runMerge(request);
    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(report->statistics[0], "Total pages added:0");
    EXPECT_EQ(report->statistics[1], "Amount of pieces textures added:0");
    level::Tr4Level before = load(request.target);
    level::Tr4Level after = load(request.output);
    // Only what a save itself replaces differs: the packed sizes and the level-data bytes (pad words).
    for (auto* level : {&before, &after}) {
        level->Pages32PackedSize = level->Pages16PackedSize = level->PagesMiscPackedSize = level->LevelDataPackedSize = 0;
        level->LevelData.clear();
        level->MeshWords.clear();
    }
    EXPECT_EQ(after, before);
}

TEST_F(MergeCommandTest, AnIdThatMatchesNothingWritesNothing) {
    request.moveableIds = {demo::ids::kWalker, 9999};
    const auto report = cli::runMerge(request);
    ASSERT_FALSE(report.ok());
    EXPECT_EQ(report.error(), request.source.string() + ": no moveable has ObjectId 9999");
    EXPECT_FALSE(fs::exists(request.output));
}

TEST_F(MergeCommandTest, ARefusedMergeLeavesAnExistingOutputAsItWas) {
    wad::WadLibrary library = demo::demoLibrary(demo::DemoScale::Normal);
    std::size_t walker = 0;
    while (library.Moveables.at(walker).ObjectId != demo::ids::kWalker)
        ++walker;
    library.Moveables[walker].MeshCount = 0;
    ASSERT_TRUE(io::replaceFile(request.source, builders::encodeLibrary(library)).ok());
    const std::vector<std::uint8_t> existing = {1, 2, 3};
    ASSERT_TRUE(io::replaceFile(request.output, existing).ok());

    request.staticIds = {demo::ids::kCrate};
    request.moveableIds = {demo::ids::kWalker};
    const auto report = cli::runMerge(request);
    ASSERT_FALSE(report.ok());
    EXPECT_EQ(report.error(), "merge refused: source moveable " + std::to_string(walker) + " (ObjectId " +
                                  std::to_string(demo::ids::kWalker) + "): it has no mesh (MeshCount 0)");
    EXPECT_EQ(io::readWholeFile(request.output).value(), existing);
}

TEST_F(MergeCommandTest, TicksThatTheTargetCannotTakeAreNoted) {
    level::Tr4Level target = load(request.target);
    target.StaticMeshes.clear();
    ASSERT_TRUE(level::writeLevel(request.target, target).ok());
    request.staticIds = {demo::ids::kCrate};
    const auto report = cli::runMerge(request);
    ASSERT_TRUE(report.ok()) << report.error();
    ASSERT_EQ(report->notes.size(), 1u);
    EXPECT_NE(report->notes[0].find("(ObjectId " + std::to_string(demo::ids::kCrate) +
                                    ") was not merged: the target has no static mesh"),
              std::string::npos);
    EXPECT_TRUE(load(request.output).StaticMeshes.empty());
}

TEST_F(MergeCommandTest, AMissingTargetIsNamed) {
    request.target = folder / "missing.tr4";
    const auto report = cli::runMerge(request);
    ASSERT_FALSE(report.ok());
    EXPECT_NE(report.error().find("missing.tr4"), std::string::npos);
    EXPECT_FALSE(fs::exists(request.output));
}

} // namespace
