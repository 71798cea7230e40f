#include "app/object_id_text.h"

#include <gtest/gtest.h>

namespace veltrane::app {
namespace {

TEST(ObjectIdText, TakesDecimalDigitsWithinThe32BitUnsignedRange) {
    EXPECT_EQ(parseObjectId("9"), 9u);
    EXPECT_EQ(parseObjectId(" 42\t"), 42u);
    EXPECT_EQ(parseObjectId("0"), 0u);
    EXPECT_EQ(parseObjectId("4294967295"), 4294967295u);
    for (const char* text : {"", " ", "abc", "1.5", "12a", "-5", "-0", "+3", "4294967296", "70000000000", "0x10", "1 2"})
        EXPECT_FALSE(parseObjectId(text).has_value()) << "'" << text << "'";
}

} // namespace
} // namespace veltrane::app
