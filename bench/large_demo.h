#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace veltrane::bench {

// The large demo pair written to a folder of its own for the benchmarks that read files; the folder goes
// when the program ends. The paths are empty when the files could not be written.
struct LargeDemoFiles {
    std::filesystem::path folder;
    std::filesystem::path target;
    std::filesystem::path source;
};
const LargeDemoFiles& largeDemoFiles();

// Runs veltrane-cli with `args`, its output thrown away: the seconds it took less those of a
// veltrane-cli --help run just before it, so that starting a process does not count; negative when
// either failed.
double commandSeconds(std::vector<std::string> args);

} // namespace veltrane::bench
