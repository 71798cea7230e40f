#include "level/document_step.h"
#include "merge/merge_operation.h"
#include "merge_fixture.h"

#include <malloc.h>
#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace veltrane::merge {
namespace {

TEST(MergeUndoTest, StepsGoBackAndForthExactly) {
    const testing::SourceFixture source = testing::twoOfEachSource();
    level::LevelDocument target = testing::targetWithBumpPage();
    std::vector<level::LevelDocument> states{target};
    std::vector<level::DocumentStep> steps;
    const auto edit = [&](const auto& change) {
        level::DocumentMark mark = level::markDocument(target);
        change();
        steps.emplace_back(target, std::move(mark));
        EXPECT_FALSE(steps.back().changesNothing());
        states.push_back(target);
    };
    edit([&] { ASSERT_TRUE(mergeObjects(target, source, {{0, 1}, {}}).ok()); });
    edit([&] { ASSERT_TRUE(mergeObjects(target, source, everyObject(source.library)).ok()); });
    edit([&] { target.level.Moveables.at(0).ObjectId = 99; });
    edit([&] { ASSERT_TRUE(mergeObjects(target, source, {{}, {1}}).ok()); });
    ASSERT_GT(target.level.NumObjectPages, states[0].level.NumObjectPages);

    for (std::size_t round = 0; round < 2; ++round) {
        for (std::size_t i = steps.size(); i-- > 0;) {
            steps[i].undo(target);
            ASSERT_TRUE(target == states[i]) << "after undoing step " << i;
        }
        for (std::size_t i = 0; i < steps.size(); ++i) {
            steps[i].redo(target);
            ASSERT_TRUE(target == states[i + 1]) << "after redoing step " << i;
        }
    }

    // A merge of objects the target has no kind for adds nothing, and is no step.
    target.level.Moveables.clear();
    level::DocumentMark mark = level::markDocument(target);
    ASSERT_TRUE(mergeObjects(target, source, {{}, {0}}).ok());
    EXPECT_TRUE(level::DocumentStep(target, std::move(mark)).changesNothing());
}

TEST(MergeUndoTest, AnEditStoppedHalfWayIsRolledBack) {
    level::LevelDocument target = testing::targetWithBumpPage();
    const level::LevelDocument before = target;
    level::DocumentMark mark = level::markDocument(target);
    level::Tr4Level& level = target.level;
    target.meshes.append(*before.meshes.get(0));
    level.MeshPointers.push_back(7);
    level.Frames.resize(level.Frames.size() + 40);
    level.ObjectTextures.emplace_back();
    level.ObjectTextures[0].Tile = 9;
    level.SpriteTextures[0][0] = 9;
    level.Moveables.erase(level.Moveables.begin());
    level.StaticMeshes.push_back({});
    // A new 32-bit page in before the bump page, the 16-bit pages not made yet.
    level.Pages32.insert(level.Pages32.begin() + 3 * level::kPageBytes32, level::kPageBytes32, 0x77);
    level::rollBack(target, mark);
    EXPECT_TRUE(target == before);
}

// The address space this process has mapped, from /proc/self/status.
std::size_t mappedBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmSize:", 0) == 0)
            return std::stoull(line.substr(7)) * 1024;
    return 0;
}

// Merges everything with only 8 MiB of address space to spare; exits 0 when the merge is refused for
// want of memory and the target is as it was.
[[noreturn]] void mergeWithLittleMemory(level::LevelDocument& target, const wad::LibraryDocument& source,
                                        const level::LevelDocument& before) {
    // Large blocks come from fresh mappings, never from what earlier tests freed.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    const rlimit limit{mappedBytes() + 8 * 1024 * 1024, RLIM_INFINITY};
    setrlimit(RLIMIT_AS, &limit);
    const auto merged = mergeObjects(target, source, everyObject(source.library));
    const bool refused = !merged.ok() && merged.error().find("not enough memory") != std::string::npos;
    std::exit(refused && target == before ? 0 : 1);
}

TEST(MergeUndoTest, AMergeThatRunsOutOfMemoryHalfWayChangesNothing) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#endif
    // The merge's largest allocation is the grown page chunk.
    level::LevelDocument target = testing::targetFixture();
    level::Tr4Level& level = target.level;
    level.NumRoomPages = 63;
    level.PageCount = 64;
    level.Pages32.resize(64 * level::kPageBytes32, 0x11);
    level.Pages16.resize(64 * level::kPageBytes16, 0x22);
    const testing::SourceFixture source = testing::twoOfEachSource();
    const level::LevelDocument before = target;
    // A fresh process, whose heap holds no room that earlier tests freed.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(mergeWithLittleMemory(target, source, before), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace veltrane::merge
