#pragma once

#include <filesystem>
#include <new>
#include <string>
#include <utility>

namespace veltrane::io {

// Runs `step`, which gives an Outcome, and turns running out of memory on the way into a failure
// ("not enough memory to open level.tr4"), so that a file too large for the machine is refused like a
// damaged one. Whatever the step had allocated is released by then.
template <class Step>
auto guardMemory(const char* doing, const std::filesystem::path& path, Step&& step) -> decltype(step()) {
    try {
        return std::forward<Step>(step)();
    } catch (const std::bad_alloc&) {
        return decltype(step())::failure(std::string("not enough memory to ") + doing + " " +
                                         path.filename().string());
    }
}

} // namespace veltrane::io
