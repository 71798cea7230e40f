#pragma once

#include <cstddef>
#include <fstream>
#include <string>

// A size line of /proc/self/status ("VmHWM:", "VmRSS:"), in bytes; 0 when it is missing.
inline std::size_t statusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stoull(line.substr(field.size())) * 1024;
    return 0;
}
