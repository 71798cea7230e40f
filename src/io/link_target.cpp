#include "io/link_target.h"

#include <system_error>

namespace veltrane::io {

std::filesystem::path linkTarget(const std::filesystem::path& given) {
    std::error_code unresolved;
    if (!std::filesystem::is_symlink(given, unresolved))
        return given;
    std::filesystem::path path = std::filesystem::weakly_canonical(given, unresolved);
    return unresolved ? given : path;
}

} // namespace veltrane::io
