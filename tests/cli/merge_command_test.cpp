#include "cli/info.h"
#include "cli/merge_command.h"
#include "cli/merge_report.h"

#include "builders/small_target.h"
#include "demo/demo_files.h"
#include "demo/demo_ids.h"
#include "demo/demo_library.h"
#include "io/file_io.h"
#include "level/level_file.h"
#include "support/plain_zlib.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>
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
    // A file that does not read fails the test with an exception.
    static level::Tr4Level load(const std::filesystem::path& path) { return level::readLevel(path).value(); }
    const testing::TempFolder folder;
    MergeRequest request;
};

TEST_F(MergeCommandTest, TickedObjectsAreMergedSavedAndCounted) {
    const level::Tr4Level before = load(request.target);
    request.statics.ranges = {{demo::ids::kCrate, demo::ids::kCrate}};
    request.moveables.ranges = {{demo::ids::kWalker, demo::ids::kWalker}};
    const auto report = runMerge(request);
    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_TRUE(mergeNotes(report.value()).empty());
    const level::Tr4Level merged = load(request.output);
    testing::expectPlainZlibChunks(testing::TempFolder::read(request.output));
    EXPECT_EQ(merged.StaticMeshes.size(), before.StaticMeshes.size() + 1);
    EXPECT_EQ(merged.StaticMeshes.back().ObjectId, demo::ids::kCrate);
    EXPECT_EQ(merged.Moveables.back().ObjectId, demo::ids::kWalker);
    const auto json = mergeJson(report.value(), request.output)["statistics"];
    EXPECT_EQ(json["pagesAdded"], 1);
    EXPECT_EQ(json["objectTextureCount"], merged.ObjectTextures.size());
    EXPECT_EQ(json["meshDataSize"], merged.MeshWords.size() * 2);
}

TEST(IdSelection, IdsAndRangesTickEachMatchingObjectOnceAndNameWhatTheyCannotTick) {
    const std::vector<std::uint32_t> ids = {20, 160, 20, 170};
    const struct {
        std::vector<std::string> ranges;
        bool all;
        std::string ticked; // indices, or the message
    } cases[] = {
        {{"20"}, false, "0 2"},
        {{"170", "100-165", "160"}, false, "1 3"},
        {{}, true, "0 1 2 3"},
        {{"0-4294967295"}, false, "0 1 2 3"},
        {{"21"}, false, "lib.wad: no moveable has ObjectId 21"},
        {{"20", "161-169"}, true, "lib.wad: no moveable has an ObjectId from 161 to 169"},
        {{"x"}, false, "'x' is not an ObjectId (0 to 4294967295) nor a range of them like 100-120"},
        {{"4294967296"}, false, "'4294967296' is not an ObjectId (0 to 4294967295) nor a range of them like 100-120"},
        {{"-5"}, false, "'-5' is not an ObjectId (0 to 4294967295) nor a range of them like 100-120"},
        {{"5-"}, false, "'5-' is not an ObjectId (0 to 4294967295) nor a range of them like 100-120"},
        {{"+5"}, false, "'+5' is not an ObjectId (0 to 4294967295) nor a range of them like 100-120"},
        {{"7-5"}, false, "the range '7-5' ends before it starts"},
    };
    for (const auto& c : cases) {
        ObjectSelection selection{c.all, {}};
        std::string ticked;
        for (const auto& text : c.ranges)
            if (auto range = parseIdRange(text))
                selection.ranges.push_back(range.value());
            else
                ticked = range.error();
        const auto indices = selectObjects(ids, selection, "moveable", "dir/lib.wad");
        if (ticked.empty() && !indices)
            ticked = indices.error();
        for (auto index : ticked.empty() ? indices.value() : std::vector<std::int32_t>{})
            ticked += (ticked.empty() ? "" : " ") + std::to_string(index);
        EXPECT_EQ(ticked, c.ticked);
    }
}

TEST_F(MergeCommandTest, InfoShowsAFilesHeaderTablesAndObjectsAndNamesADamagedOne) {
    const auto level = summariseFile(request.target).map(summaryText);
    ASSERT_TRUE(level.ok()) << level.error();
    EXPECT_NE(level->find("Version: 0x00345254 (\"TR4\\0\")"), std::string::npos) << level.value();
    EXPECT_NE(level->find("PageCount: 7\n"), std::string::npos);
    EXPECT_NE(level->find("moveable 0: ObjectId=0 MeshCount=15 Animation=0 Name=LARA\n"), std::string::npos);
    const auto library = summariseFile(folder.write("library.bin", io::readWholeFile(request.source).value()));
    ASSERT_TRUE(library.ok()) << library.error();
    const auto text = summaryText(library.value());
    EXPECT_NE(text.find("kind: library\n"), std::string::npos) << "a library is known by its version word";
    EXPECT_NE(text.find("PageCount: 5\n"), std::string::npos) << text;
    EXPECT_NE(text.find("moveable 1: ObjectId=160 MeshCount=1 Animation=none Name=PUSHABLE_OBJECT5\n"),
              std::string::npos);
    const auto json = summaryJson(library.value());
    EXPECT_EQ(json["moveables"][1]["Animation"], nullptr);
    EXPECT_EQ(json["moveables"][1]["name"], "PUSHABLE_OBJECT5");
    EXPECT_EQ(json["tables"]["Moveables"], json["moveables"].size());
    EXPECT_EQ(summariseFile(folder.write("level.wad", folder.read(request.target))).error(),
              "level.wad is not an object library (.wad): it looks like a TR4 level");
}

TEST_F(MergeCommandTest, ConflictsFollowThePolicyAndARefusedRequestWritesNothingAndSaysWhy) {
    // The library's walker takes the ID of the level's crawler, #31; in a copy it also loses its meshes.
    wad::WadLibrary library = demo::demoLibrary(demo::DemoScale::Normal);
    const auto walker = std::find_if(library.Moveables.begin(), library.Moveables.end(),
                                     [](const auto& moveable) { return moveable.ObjectId == demo::ids::kWalker; });
    walker->ObjectId = demo::ids::kCrawler;
    ASSERT_TRUE(io::replaceFile(request.source, wad::encodeLibrary(library)).ok());
    walker->MeshCount = 0;
    const auto broken = folder.write("broken.wad", wad::encodeLibrary(library)).string();
    std::filesystem::create_symlink(request.target, folder / "link.tr4");
    std::filesystem::create_hard_link(request.source, folder / "hard.wad");
    const auto target = request.target.string(), source = request.source.string(), output = request.output.string();
    const auto files = [&] { return std::tuple(folder.read(target), folder.read(source), folder.read(output)); };
    const auto original = folder.read(target);
    const std::size_t count = load(target).Moveables.size();
    const std::string already = "veltrane-cli: moveable ID #31 is already in the level; ";
    const std::string kept = "veltrane-cli: warning: moveable ID #31 is already in the level; both are kept\n";
    const std::string refused = "veltrane-cli: refusing to write ", ofSource = "it is the source library source.wad\n",
                      ofTarget = "it is the target level target.tr4 (--in-place replaces it)\n";
    const struct {
        std::vector<std::string> args; // between "merge TARGET" and "--moveable 31"
        int status;
        std::string errors;
        std::pair<std::size_t, bool> written{}; // its moveables, and whether it has the target's bytes
    } cases[] = {
        {{source, "-o", output}, 0, kept, {count + 1, false}},
        {{source, "-o", output, "--on-conflict", "replace"}, 0, already + "the library's replaces it\n",
         {count, false}},
        {{source, "-o", output, "--on-conflict", "skip"}, 0, already + "the library's is left out\n", {count, true}},
        {{source, "-o", output, "--on-conflict", "merge"}, 2, ""},
        {{source, "-o", output, "--moveable", "9999"}, 1, "veltrane-cli: source.wad: no moveable has ObjectId 9999\n"},
        {{broken, "-o", output}, 1,
         "veltrane-cli: merge refused: source moveable " + std::to_string(walker - library.Moveables.begin()) +
             " (ObjectId 31): it has no mesh (MeshCount 0)\n"},
        {{source, "-o", source}, 1, refused + "source.wad: " + ofSource},
        {{source, "-o", (folder / "hard.wad").string()}, 1, refused + "hard.wad: " + ofSource},
        {{source, "-o", (folder / "link.tr4").string()}, 1, refused + "link.tr4: " + ofTarget},
        {{source, "-o", target}, 1, refused + "target.tr4: " + ofTarget},
        {{source, "-o", target, "--in-place"}, 0, kept, {count + 1, false}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"merge", target};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"--moveable", "31"});
        const auto before = files();
        const auto [status, errors] = runCli(args, folder / "errors");
        EXPECT_EQ(status, c.status) << c.args.back();
        EXPECT_TRUE(errors == c.errors || (c.status != 0 && c.errors.empty())) << errors;
        if (c.status != 0)
            EXPECT_EQ(files(), before) << c.args.back();
        else
            EXPECT_EQ(std::pair(load(c.args[2]).Moveables.size(), folder.read(c.args[2]) == original), c.written);
    }
}

TEST_F(MergeCommandTest, AWrongCommandLineIsNamedWithStatus2) {
    const auto target = request.target.string(), source = request.source.string(), output = request.output.string();
    const std::string merge = " (see veltrane-cli merge --help)";
    const struct {
        std::vector<std::string> args;
        std::string errors;
    } cases[] = {
        {{"bogus"}, "unknown command 'bogus'; the commands are info and merge (see veltrane-cli --help)"},
        {{}, "a command is needed: info or merge (see veltrane-cli --help)"},
        {{"--bogus", "info"}, "unknown option --bogus (see veltrane-cli --help)"},
        {{"info", target, "--bogus"}, "info: unknown option --bogus (see veltrane-cli info --help)"},
        {{"info", target, source}, "info: unexpected argument '" + source + "' (see veltrane-cli info --help)"},
        {{"merge", target, source}, "merge: --output is required" + merge},
        {{"merge", target, source, "-o", output, "--moveable", "7-5"},
         "merge: --moveable: the range '7-5' ends before it starts" + merge},
        {{"merge", target, source, "-o", output, "--all", "--static", "40"}, "merge: --static excludes --all" + merge},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runCli(c.args, folder / "errors"), std::pair(2, "veltrane-cli: " + c.errors + "\n"));
    EXPECT_FALSE(std::filesystem::exists(request.output));
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
