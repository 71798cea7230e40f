#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace veltrane::app {

// The text of the "Object ID:" box as an ObjectId: decimal digits, with blanks around them allowed, from 0
// to 4294967295 (the field is 32 bits, unsigned). Anything else, a sign included, gives nothing.
std::optional<std::uint32_t> parseObjectId(std::string_view text);

} // namespace veltrane::app
