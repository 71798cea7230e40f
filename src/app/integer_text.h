#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace veltrane::app {

// The text of an edit box as a 32-bit integer: an optional sign and decimal digits, with blanks
// around them allowed, within the signed 32-bit range. Anything else gives nothing.
std::optional<std::int32_t> parseInteger(std::string_view text);

} // namespace veltrane::app
