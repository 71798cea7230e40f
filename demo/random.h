#pragma once

#include <cstdint>

namespace veltrane::demo {

// A small generator (splitmix64) whose numbers depend on nothing but the seed, so the demo comes out
// the same on every machine.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A whole number from low to high, both included.
    int between(int low, int high) {
        return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1));
    }

    // A number from 0 up to, not including, 1.
    double unit() { return static_cast<double>(next() >> 11) / static_cast<double>(1ull << 53); }

private:
    std::uint64_t state_;
};

} // namespace veltrane::demo
