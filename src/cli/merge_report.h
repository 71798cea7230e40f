#pragma once

#include "cli/merge_command.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace veltrane::cli {

// "keep", "replace" or "skip", as --on-conflict names the policy.
const char* policyName(merge::ConflictPolicy policy);

// "moveable ID #31 is already in the level; both are kept": conflicts kept beside the level's objects,
// which may well be a mistake.
std::vector<std::string> mergeWarnings(const MergeReport& report);

// Conflicts replaced or left out, and ticked objects the level had no table for.
std::vector<std::string> mergeNotes(const MergeReport& report);

// The report as the JSON document docs/command-line.md describes.
nlohmann::ordered_json mergeJson(const MergeReport& report, const std::filesystem::path& output);

} // namespace veltrane::cli
