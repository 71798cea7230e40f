#include "cli/info.h"
#include "cli/merge_command.h"

#include "demo/demo_files.h"
#include "demo/demo_ids.h"
#include "demo/demo_library.h"
#include "io/file_io.h"
#include "level/level_file.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace veltrane::cli {
namespace {

class MergeCommandTest : public ::testing::Test {
protected:
    MergeCommandTest() {
        auto files = demo::writeDemoFiles(folder.path(), demo::DemoScale::Normal);
        EXPECT_TRUE(files.ok()) << files.error();
        request.target = files->target;
        request.source = files->source;
        request.output = folder / "merged.tr4";
    }
    static level::Tr4Level load(const std::filesystem::path& path) {
        auto level = level::readLevel(path);
        EXPECT_TRUE(level.ok()) << level.error();
        return level.ok() ? std::move(level.value()) : level::Tr4Level{};
    }
    const testing::TempFolder folder;
    MergeRequest request;
};

TEST_F(MergeCommandTest, TickedObjectsAreMergedSavedAndCounted) {
    const level::Tr4Level before = load(request.target);
    request.staticIds = {demo::ids::kCrate};
    request.moveableIds = {demo::ids::kWalker};
    const auto report = runMerge(request);
    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_TRUE(report->notes.empty());
    const level::Tr4Level merged = load(request.output);
    EXPECT_EQ(merged.StaticMeshes.size(), before.StaticMeshes.size() + 1);
    EXPECT_EQ(merged.StaticMeshes.back().ObjectId, demo::ids::kCrate);
    EXPECT_EQ(merged.Moveables.back().ObjectId, demo::ids::kWalker);
    ASSERT_EQ(report->statistics.size(), 4u);
    EXPECT_EQ(report->statistics[0], "Total pages added:1");
    EXPECT_EQ(report->statistics[2], "Total of pieces textures:" + std::to_string(merged.ObjectTextures.size()));
    EXPECT_EQ(report->statistics[3], "Mesh data size (Bytes):" + std::to_string(merged.MeshWords.size() * 2));
}

TEST_F(MergeCommandTest, WithoutTicksTheLevelIsSavedAsItWas) {
    const auto report = runMerge(request);
    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(report->statistics[0], "Total pages added:0");
    EXPECT_EQ(io::readWholeFile(request.output).value(), io::readWholeFile(request.target).value());
}

TEST_F(MergeCommandTest, RefusedAndBadRequestsWriteNothingAndSayWhy) {
    request.moveableIds = {demo::ids::kWalker, 9999};
    EXPECT_EQ(runMerge(request).error(), request.source.string() + ": no moveable has ObjectId 9999");
    EXPECT_FALSE(std::filesystem::exists(request.output));

    wad::WadLibrary library = demo::demoLibrary(demo::DemoScale::Normal);
    std::size_t walker = 0;
    while (library.Moveables.at(walker).ObjectId != demo::ids::kWalker)
        ++walker;
    library.Moveables[walker].MeshCount = 0;
    ASSERT_TRUE(io::replaceFile(request.source, wad::encodeLibrary(library)).ok());
    const std::vector<std::uint8_t> existing = {1, 2, 3};
    ASSERT_TRUE(io::replaceFile(request.output, existing).ok());
    request.moveableIds = {demo::ids::kWalker};
    EXPECT_EQ(runMerge(request).error(), "merge refused: source moveable " + std::to_string(walker) + " (ObjectId " +
                                             std::to_string(demo::ids::kWalker) + "): it has no mesh (MeshCount 0)");
    EXPECT_EQ(io::readWholeFile(request.output).value(), existing);

    request.target = folder / "missing.tr4";
    EXPECT_NE(runMerge(request).error().find("missing.tr4"), std::string::npos);
    request.target = folder.write("damaged.tr4", std::vector<std::uint8_t>{1, 2, 3});
    EXPECT_EQ(runMerge(request).error(), request.target.string() +
                                             ": header: version runs past the end of the file (byte 0: 4 bytes needed, 3 left)");
}

TEST_F(MergeCommandTest, InfoShowsAFilesHeaderTablesAndObjectsAndNamesADamagedOne) {
    const auto level = describeFile(request.target);
    ASSERT_TRUE(level.ok()) << level.error();
    EXPECT_NE(level->find("Version: 0x00345254 (\"TR4\\0\")"), std::string::npos) << level.value();
    EXPECT_NE(level->find("PageCount: 7\n"), std::string::npos);
    EXPECT_NE(level->find("moveable 0: ObjectId=0 MeshCount=15 Animation=0\n"), std::string::npos);
    const auto library = describeFile(folder.write("library.bin", io::readWholeFile(request.source).value()));
    ASSERT_TRUE(library.ok()) << library.error();
    EXPECT_NE(library->find("kind: library\n"), std::string::npos) << "a library is known by its version word";
    EXPECT_NE(library->find("PageCount: 5\n"), std::string::npos) << library.value();
    const auto damaged = folder.write("damaged.tr4", std::vector<std::uint8_t>{1, 2, 3});
    EXPECT_EQ(describeFile(damaged).error(),
              damaged.string() + ": header: version runs past the end of the file (byte 0: 4 bytes needed, 3 left)");
}

} // namespace
} // namespace veltrane::cli
