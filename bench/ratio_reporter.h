#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace veltrane::bench {

// Seconds on `clock` (CLOCK_THREAD_CPUTIME_ID, CLOCK_PROCESS_CPUTIME_ID).
inline double cpuSeconds(clockid_t clock) {
    timespec time{};
    clock_gettime(clock, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

// Prints the usual table, then each measured benchmark's time as a ratio to its baseline from the
// same run ("open / inflate only = 1.04"), so the goals do not depend on the machine's speed. With
// --benchmark_repetitions, the ratio is that of the medians.
// A measured run with a "busiest_thread" counter (milliseconds of CPU time of its busiest thread,
// per iteration) also gets that figure as a ratio to the baseline's busiest thread, or its CPU time
// when it has no such counter: what the ratio would be on otherwise idle cores, since a busy machine
// may not run the threads side by side.
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

// Runs `work` on up to `threads` threads and adds the CPU time of its busiest thread to `busiest`,
// taking the threads other than the caller to share their part evenly. On idle cores the call takes
// about that long; on a busy machine the real time can be far longer.
template <class Work>
void addBusiestThreadTime(unsigned threads, double& busiest, Work&& work) {
    const double caller = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double process = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    work();
    const double callerTime = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - caller;
    const double othersTime = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process - callerTime;
    busiest += threads > 1 ? std::max(callerTime, othersTime / (threads - 1)) : callerTime + othersTime;
}

// Reports the seconds gathered by addBusiestThreadTime as the "busiest_thread" counter.
void reportBusiestThread(benchmark::State& state, double busiest);

// Every large block this process allocates from now on comes fresh from the kernel, page faults and
// all, as in a program that has just started (the command line, the window's first open).
void takeLargeBlocksFresh();

// Runs the registered benchmarks with a RatioReporter; the body of a benchmark program's main.
int runWithRatios(int argc, char** argv, std::vector<std::pair<std::string, std::string>> pairs);

} // namespace veltrane::bench
