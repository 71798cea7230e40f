#pragma once

#include "io/file_io.h"
#include "io/memory_guard.h"
#include "level/file_kind.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace veltrane::level {

// Reads the file at `path` and decodes it as `expected` with `decode`. A file that does not decode is
// refused with a message naming it (see openingFailure); so is one too large for the memory there is.
template <class Decode>
auto openDocument(const std::filesystem::path& path, FileKind expected, Decode decode)
    -> decltype(decode(std::span<const std::uint8_t>())) {
    using Result = decltype(decode(std::span<const std::uint8_t>()));
    return io::guardMemory("open", path, [&]() -> Result {
        auto file = io::readWholeFile(path);
        if (!file)
            return Result::failure(file.error());
        auto decoded = decode(file.value());
        if (!decoded)
            return Result::failure(openingFailure(path, file.value(), expected, decoded.error()));
        return decoded;
    });
}

} // namespace veltrane::level
