#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace veltrane::bench {

// Prints the usual table, then each measured benchmark's time as a ratio to its baseline from the
// same run ("open / inflate only = 1.04"), so the goals do not depend on the machine's speed.
// A measured run with a "busiest_thread" counter (milliseconds of CPU time of its busiest thread,
// per iteration) also gets that figure as a ratio to the baseline's CPU time: what the ratio would be
// on otherwise idle cores, since a busy machine may not run the threads side by side.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Pairs of (measured, baseline) benchmark names, as registered.
    explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs) : pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::vector<std::pair<std::string, std::string>> pairs_;
    std::map<std::string, double> seconds_;
    std::map<std::string, double> cpuSeconds_;
    std::map<std::string, double> busiestThreadSeconds_;
};

// Runs the registered benchmarks with a RatioReporter, every large block taken fresh from the kernel;
// the body of a benchmark program's main.
int runWithRatios(int argc, char** argv, std::vector<std::pair<std::string, std::string>> pairs);

} // namespace veltrane::bench
