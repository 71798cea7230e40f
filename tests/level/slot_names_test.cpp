#include "level/slot_names.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace veltrane::level {
namespace {

TEST(SlotNames, EverySlotOfTheGameHasItsNameAndAnIdPastThemNone) {
    EXPECT_EQ(moveableSlotName(0), "LARA");
    EXPECT_EQ(moveableSlotName(35), "SKELETON");
    EXPECT_EQ(moveableSlotName(464), "MISC_SPRITES");
    EXPECT_EQ(moveableSlotName(465), "");
    EXPECT_EQ(staticSlotName(0), "PLANT0");
    EXPECT_EQ(staticSlotName(59), "SHATTER9");
    EXPECT_EQ(staticSlotName(60), "");
    const auto named = [](std::string_view name) { return !name.empty(); };
    EXPECT_TRUE(std::all_of(kMoveableSlotNames.begin(), kMoveableSlotNames.end(), named));
    EXPECT_TRUE(std::all_of(kStaticSlotNames.begin(), kStaticSlotNames.end(), named));
}

} // namespace
} // namespace veltrane::level
