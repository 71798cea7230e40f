// What a user waits for from the command line, next to the same work done in this process in the same
// run: veltrane-cli info of the large demo level against opening it here, and veltrane-cli merge with
// no ticks (the level and the library loaded, the level saved) against runMerge here. Starting the
// process does not count (see commandSeconds). Goal: each command <= 1.2 times the work done here.
#include "cli/merge_command.h"
#include "large_demo.h"
#include "level/level_document.h"
#include "ratio_reporter.h"

#include <cstdio>

using namespace veltrane;

namespace {

cli::MergeRequest noTicks() {
    const auto& files = bench::largeDemoFiles();
    cli::MergeRequest request;
    request.target = files.target;
    request.source = files.source;
    request.output = files.folder / "saved.tr4";
    return request;
}

void timeCommand(benchmark::State& state, const std::vector<std::string>& args) {
    for (auto _ : state) {
        const double seconds = bench::commandSeconds(args);
        if (seconds < 0) {
            state.SkipWithError("veltrane-cli failed");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void CommandLineInfo(benchmark::State& state) { timeCommand(state, {"info", noTicks().target.string()}); }

void CommandLineMerge(benchmark::State& state) {
    const auto request = noTicks();
    timeCommand(state, {"merge", request.target.string(), request.source.string(), "-o", request.output.string()});
}

void OpenLevel(benchmark::State& state) {
    const auto target = noTicks().target;
    for (auto _ : state)
        benchmark::DoNotOptimize(level::openLevelDocument(target));
}

void LoadAndSave(benchmark::State& state) {
    const auto request = noTicks();
    for (auto _ : state)
        if (!cli::runMerge(request)) {
            state.SkipWithError("the merge failed");
            break;
        }
}

} // namespace

BENCHMARK(OpenLevel)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CommandLineInfo)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(LoadAndSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CommandLineMerge)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv) {
    if (bench::largeDemoFiles().target.empty()) {
        std::fprintf(stderr, "the large demo files could not be written\n");
        return 1;
    }
    bench::takeLargeBlocksFresh();
    return bench::runWithRatios(argc, argv, {{"CommandLineInfo", "OpenLevel"}, {"CommandLineMerge", "LoadAndSave"}});
}
