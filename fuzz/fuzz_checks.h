#pragma once

#include <cstdio>
#include <cstdlib>

namespace veltrane::fuzz {

// A broken promise found while fuzzing: stop so that libFuzzer keeps the input.
inline void check(bool holds, const char* promise) {
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s\n", promise);
    std::abort();
}

} // namespace veltrane::fuzz
