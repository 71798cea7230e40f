#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace veltrane::app {

// The text of the "Object ID:" box as an ObjectId: decimal digits, with blanks around them allowed, from 0
// to 4294967295 (the field is 32 bits, unsigned). Anything else, a sign included, gives nothing.
std::optional<std::uint32_t> parseObjectId(std::string_view text);

// The slots of the original game's object tables. An ID past them is allowed: engine extensions use such
// slots, but the original game has no object there.
constexpr std::uint32_t kOriginalMoveableSlots = 465;
constexpr std::uint32_t kOriginalStaticSlots = 60;

} // namespace veltrane::app
