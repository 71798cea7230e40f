// Merging every object of the large demo library into the large demo level, next to opening that
// level (decoding its file from memory) in the same run, both on every core. Goal: merge / open <= 0.25.
#include "level/level_document.h"
#include "merge/merge_operation.h"
#include "wad/library_document.h"
#include "ratio_reporter.h"
#include "demo/demo_level.h"
#include "demo/demo_library.h"

#include <chrono>

using namespace veltrane;

namespace {

// The large demo as the window holds it after Open Target and Open Source, with every object ticked.
struct Fixture {
    std::vector<std::uint8_t> file;
    wad::LibraryDocument source;
    merge::MergeTicks everything;
};

const Fixture& fixture() {
    static const Fixture fixture = [] {
        Fixture f;
        f.file = level::encodeLevel(demo::demoLevel(demo::DemoScale::Large)).value().file;
        f.source = wad::makeLibraryDocument(demo::demoLibrary(demo::DemoScale::Large));
        f.everything = merge::everyObject(f.source.library);
        return f;
    }();
    return fixture;
}

void OpenLevel(benchmark::State& state) {
    const auto& f = fixture();
    double busiest = 0;
    for (auto _ : state)
        bench::addBusiestThreadTime(io::hardwareThreads(), busiest,
                                    [&] { benchmark::DoNotOptimize(level::decodeLevelDocument(f.file)); });
    bench::reportBusiestThread(state, busiest);
}

// Each merge runs on the level opened afresh, as the window holds it after Open Target (a copy would not
// have the room its page chunks are read with); only the merge itself is timed.
void MergeEveryObject(benchmark::State& state) {
    const auto& f = fixture();
    merge::MergeStatistics statistics;
    double busiest = 0;
    for (auto _ : state) {
        level::LevelDocument target = level::decodeLevelDocument(f.file).value();
        const auto start = std::chrono::steady_clock::now();
        io::Outcome<merge::MergeStatistics> merged = merge::MergeStatistics{};
        bench::addBusiestThreadTime(io::hardwareThreads(), busiest,
                                    [&] { merged = merge::mergeObjects(target, f.source, f.everything); });
        const auto end = std::chrono::steady_clock::now();
        if (!merged) {
            state.SkipWithError(merged.error().c_str());
            break;
        }
        statistics = merged.value();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    bench::reportBusiestThread(state, busiest);
    state.counters["pages_added"] = statistics.pagesAdded;
    state.counters["pieces_added"] = statistics.piecesAdded;
}

} // namespace

BENCHMARK(OpenLevel)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MergeEveryObject)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv) {
    bench::takeLargeBlocksFresh();
    return bench::runWithRatios(argc, argv, {{"MergeEveryObject", "OpenLevel"}});
}
