#include "ratio_reporter.h"

#include <cstdio>
#include <malloc.h>

namespace veltrane::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const auto& run : runs)
        // With --benchmark_repetitions the median of the repetitions stands, as it comes after them.
        if (!run.error_occurred &&
            (run.run_type == Run::RT_Iteration || (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median"))) {
            const auto& name = run.run_name.function_name;
            seconds_[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            cpuSeconds_[name] = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (const auto busiest = run.counters.find("busiest_thread"); busiest != run.counters.end())
                busiestThreadSeconds_[name] = busiest->second.value / 1000.0;
        }
    ConsoleReporter::ReportRuns(runs);
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    for (const auto& [measured, baseline] : pairs_) {
        const auto m = seconds_.find(measured);
        const auto b = seconds_.find(baseline);
        if (m == seconds_.end() || b == seconds_.end() || b->second <= 0)
            continue;
        std::printf("ratio %s / %s = %.3f", measured.c_str(), baseline.c_str(), m->second / b->second);
        const auto busiest = busiestThreadSeconds_.find(measured);
        const auto baselineBusiest = busiestThreadSeconds_.find(baseline);
        const double baselineCpu =
            baselineBusiest != busiestThreadSeconds_.end() ? baselineBusiest->second : cpuSeconds_[baseline];
        if (busiest != busiestThreadSeconds_.end() && baselineCpu > 0)
            std::printf(" (busiest thread's CPU time / baseline's = %.3f)", busiest->second / baselineCpu);
        std::printf("\n");
    }
}

void reportBusiestThread(benchmark::State& state, double busiest) {
    state.counters["busiest_thread"] = benchmark::Counter(busiest * 1000.0, benchmark::Counter::kAvgIterations);
}

void takeLargeBlocksFresh() {
    // glibc would otherwise raise its mmap threshold at the first free of a large block and let each
    // iteration reuse the pages of the last, leaving out their faults.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

int runWithRatios(int argc, char** argv, std::vector<std::pair<std::string, std::string>> pairs) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace veltrane::bench
