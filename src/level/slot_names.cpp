#include "level/slot_names.h"

namespace veltrane::level {

std::string_view moveableSlotName(std::uint32_t objectId) {
    return objectId < kMoveableSlots ? kMoveableSlotNames[objectId] : std::string_view();
}

std::string_view staticSlotName(std::uint32_t objectId) {
    return objectId < kStaticSlots ? kStaticSlotNames[objectId] : std::string_view();
}

} // namespace veltrane::level
