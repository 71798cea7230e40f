#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

namespace veltrane::cli {

// Bumped whenever a key of `info --json` or `merge --json` changes its meaning or goes away.
constexpr int kJsonVersion = 1;

// A path as the UTF-8 that JSON holds.
std::string utf8Text(const std::filesystem::path& path);

// The document, two spaces an indent; bytes that are not UTF-8 (a file name's) become U+FFFD.
std::string jsonText(const nlohmann::ordered_json& document);

} // namespace veltrane::cli
