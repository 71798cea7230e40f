#pragma once

#include <stdexcept>
#include <string>

namespace veltrane::io {

// Raised by the bounds-checked reader when a file's bytes contradict its own counts.
// Each layer that catches it on the way up puts its own place in front
// ("level data: room 12 of 40: sector table runs past the end of the block").
class FormatError : public std::runtime_error {
public:
    explicit FormatError(const std::string& message) : std::runtime_error(message) {}

    [[nodiscard]] FormatError within(const std::string& place) const {
        return FormatError(place + ": " + what());
    }
};

// Runs a parsing step and, if it throws, names the place it was working on.
template <class Step>
decltype(auto) within(const std::string& place, Step&& step) {
    try {
        return step();
    } catch (const FormatError& error) {
        throw error.within(place);
    }
}

} // namespace veltrane::io
