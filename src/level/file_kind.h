#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace veltrane::level {

// What a file's first bytes suggest it is. It only explains why a file did not open as what was asked
// for: a file that reads is never turned away for how it starts.
enum class FileKind { Level, Library, Text, Empty, Unknown };

FileKind recogniseFile(std::span<const std::uint8_t> bytes);

// Why the file at `path`, whose bytes did not open as `expected` for `reason`, is refused, named by its
// file name: "NAME is not a TR4 level: it looks like a text file" when the bytes clearly are another
// kind, otherwise "NAME: reason".
std::string openingFailure(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, FileKind expected,
                           const std::string& reason);

} // namespace veltrane::level
