#include "cli/info.h"
#include "cli/merge_command.h"

#include "builders/small_target.h"
#include "demo/demo_files.h"
#include "demo/demo_ids.h"
#include "demo/demo_library.h"
#include "io/file_io.h"
#include "level/level_file.h"
#include "support/temp_folder.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace veltrane::cli {
namespace {

// Runs the veltrane-cli program in a child process with its address space limited to `addressSpace`:
// its exit status (-1 when it did not exit by itself) and what it wrote on stderr, through the file `errors`.
std::pair<int, std::string> runCli(std::vector<std::string> args, const std::filesystem::path& errors,
                                   rlim_t addressSpace = RLIM_INFINITY) {
    args.insert(args.begin(), VELTRANE_CLI);
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{addressSpace, addressSpace};
        if (std::freopen(errors.c_str(), "w", stderr) && std::freopen("/dev/null", "w", stdout) &&
            (addressSpace == RLIM_INFINITY || ::setrlimit(RLIMIT_AS, &limit) == 0))
            ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    const bool exited = child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status);
    const auto text = testing::TempFolder::read(errors);
    return {exited ? WEXITSTATUS(status) : -1, std::string(text.begin(), text.end())};
}

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
    EXPECT_EQ(runMerge(request).error(), "source.wad: no moveable has ObjectId 9999");
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
    EXPECT_EQ(describeFile(folder.write("level.wad", folder.read(request.target))).error(),
              "level.wad is not an object library (.wad): it looks like a TR4 level");
}

TEST(MemoryLimit, ALevelThatInflatesPastTheMemoryThereIsIsRefusedByName) {
#ifdef VELTRANE_SANITIZED
    GTEST_SKIP() << "the sanitizers reserve far more address space than the limit";
#endif
    const testing::TempFolder folder;
    auto document = builders::smallTarget();
    document.level.Pages32.assign(std::size_t{300} << 20, 0); // deflates to about 300 KB
    const auto path = folder.write("huge.tr4", level::encodeLevelDocument(document, 2).value().file);
    document = {};
    EXPECT_EQ(runCli({"info", path.string()}, folder / "errors").first, 0) << "the file itself is sound";
    EXPECT_EQ(runCli({"info", path.string()}, folder / "errors", rlim_t{192} << 20),
              std::pair(1, std::string("veltrane-cli: not enough memory to open huge.tr4\n")));
}

} // namespace
} // namespace veltrane::cli
