#pragma once

#include <cstdint>
#include <span>

namespace veltrane::testing {

// FNV-1a over a file's bytes: tests pin the bytes a deterministic writer has always written with it. A
// deliberate change to what is written changes the value, and the change says so; anything else that
// changes it is a fault.
inline std::uint64_t fingerprint(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::uint8_t byte : bytes)
        hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

} // namespace veltrane::testing
