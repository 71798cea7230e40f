#pragma once

#include <cstdio>
#include <cstdlib>

namespace veltrane::fuzz {

// One thread: a pool started and joined on every input costs more than the work it shares, and the
// parallel paths have their own tests.
inline constexpr unsigned kThreads = 1;

// A broken promise found while fuzzing: stop so that libFuzzer keeps the input.
inline void check(bool holds, const char* promise) {
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s\n", promise);
    std::abort();
}

} // namespace veltrane::fuzz
