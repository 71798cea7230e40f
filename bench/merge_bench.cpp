// Merging every object of the large demo library into the large demo level, measured next to opening
// that level (decoding its file from memory) in the same run. Goal: merge / open <= 0.25.
#include "io/file_io.h"
#include "level/level_file.h"
#include "level/mesh_block.h"
#include "merge/merge_operation.h"
#include "merge/source_set.h"
#include "wad/wad_library.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <optional>

namespace {

using namespace veltrane;
using Clock = std::chrono::steady_clock;

const std::filesystem::path kDemoFolder = VELTRANE_DEMO_DIR;

template <class T>
T orExit(io::Outcome<T> outcome) {
    if (!outcome) {
        std::fprintf(stderr, "merge_bench: %s\n", outcome.error().c_str());
        std::exit(1);
    }
    return std::move(outcome.value());
}

// The large demo as the window holds it after Open Target and Open Source, with every object ticked.
struct LargeDemo {
    std::vector<std::uint8_t> targetFile;
    level::Tr4Level target;
    level::Lista_Mesh targetMeshes{level::MeshKind::Level};
    merge::SourceSet source;
    merge::MergeTicks everything;

    LargeDemo()
        : targetFile(orExit(io::readWholeFile(kDemoFolder / "target-large.tr4"))),
          target(orExit(level::decodeLevel(targetFile))),
          source(merge::OpenSourceSet(orExit(wad::readLibrary(kDemoFolder / "source-large.wad")))) {
        targetMeshes = level::ParseMeshBlock(level::wordBytes(target.MeshWords), level::MeshKind::Level);
        everything.statics.resize(source.library.StaticMeshes.size());
        std::iota(everything.statics.begin(), everything.statics.end(), 0);
        everything.moveables.resize(source.library.Moveables.size());
        std::iota(everything.moveables.begin(), everything.moveables.end(), 0);
    }
};

double seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

// Each iteration opens the level and merges every library object into a fresh copy of the opened
// level; the reported time is the merge's, the counters give both and their ratio.
void BM_MergeEveryLargeObjectNextToOpen(benchmark::State& state) {
    static const LargeDemo demo;
    double openSeconds = 0;
    double mergeSeconds = 0;
    std::optional<level::Tr4Level> target;
    std::optional<level::Lista_Mesh> targetMeshes;
    merge::MergeStatistics statistics;
    for (auto _ : state) {
        const auto openStart = Clock::now();
        auto opened = level::decodeLevel(demo.targetFile);
        const auto openEnd = Clock::now();
        benchmark::DoNotOptimize(opened);

        target = demo.target;
        targetMeshes = demo.targetMeshes;
        const auto mergeStart = Clock::now();
        auto merged = merge::mergeObjects({*target, *targetMeshes}, demo.source.view(), demo.everything);
        const auto mergeEnd = Clock::now();
        if (!merged) {
            state.SkipWithError(merged.error().c_str());
            return;
        }
        statistics = merged.value();
        openSeconds += seconds(openEnd - openStart);
        mergeSeconds += seconds(mergeEnd - mergeStart);
        state.SetIterationTime(seconds(mergeEnd - mergeStart));
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["open_ms"] = 1000 * openSeconds / iterations;
    state.counters["merge_ms"] = 1000 * mergeSeconds / iterations;
    state.counters["merge/open"] = mergeSeconds / openSeconds;
    state.counters["pages_added"] = statistics.pagesAdded;
    state.counters["pieces_added"] = statistics.piecesAdded;
}
BENCHMARK(BM_MergeEveryLargeObjectNextToOpen)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
