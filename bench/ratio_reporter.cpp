#include "ratio_reporter.h"

#include <cstdio>

namespace veltrane::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const auto& run : runs)
        if (run.run_type == Run::RT_Iteration && !run.error_occurred)
            seconds_[run.run_name.function_name] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    for (const auto& [measured, baseline] : pairs_) {
        const auto m = seconds_.find(measured);
        const auto b = seconds_.find(baseline);
        if (m != seconds_.end() && b != seconds_.end() && b->second > 0)
            std::printf("ratio %s / %s = %.3f\n", measured.c_str(), baseline.c_str(), m->second / b->second);
    }
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
