#pragma once

#include "cli/file_summary.h"

#include <nlohmann/json.hpp>
#include <string>

namespace veltrane::cli {

// The summary as text: header words, page count, the size of every table, then one line per moveable
// and per static mesh.
std::string summaryText(const FileSummary& summary);

// The summary as the JSON document docs/command-line.md describes.
nlohmann::ordered_json summaryJson(const FileSummary& summary);

} // namespace veltrane::cli
