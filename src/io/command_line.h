#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::io {

// The program's arguments as UTF-8, whatever the system's own encoding of them; on Windows the console
// also takes UTF-8 output from then on.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// The file that UTF-8 text such as an argument names.
inline std::filesystem::path utf8Path(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

} // namespace veltrane::io
