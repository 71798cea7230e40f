#pragma once

#include <filesystem>

namespace veltrane::io {

// The file that replacing `given` writes: a link is followed, so that the file it names is replaced
// and the link stays. `given` itself when it is no link or cannot be resolved.
std::filesystem::path linkTarget(const std::filesystem::path& given);

} // namespace veltrane::io
