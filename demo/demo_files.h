#pragma once

#include "io/outcome.h"
#include "demo/demo_scale.h"

#include <filesystem>

namespace veltrane::demo {

struct DemoFiles {
    std::filesystem::path target; // target.tr4, or target-large.tr4
    std::filesystem::path source; // source.wad, or source-large.wad
};

DemoFiles demoFileNames(const std::filesystem::path& folder, DemoScale scale);

// Generates the demo target and source, checks that each holds together, and writes them into `folder`,
// which is made if need be. Existing files are replaced whole or not at all.
io::Outcome<DemoFiles> writeDemoFiles(const std::filesystem::path& folder, DemoScale scale);

} // namespace veltrane::demo
