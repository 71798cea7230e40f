#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace veltrane::level {

// The slots of the original game's object tables: an ObjectId names one of them, and level builders
// know the slots by name. An ID past them is allowed (engine extensions add slots) but has no name.
constexpr std::size_t kMoveableSlots = 465;
constexpr std::size_t kStaticSlots = 60;

extern const std::array<std::string_view, kMoveableSlots> kMoveableSlotNames;
extern const std::array<std::string_view, kStaticSlots> kStaticSlotNames;

// "SKELETON" for moveable ID 35; empty for an ID past the slots.
std::string_view moveableSlotName(std::uint32_t objectId);
std::string_view staticSlotName(std::uint32_t objectId);

} // namespace veltrane::level
