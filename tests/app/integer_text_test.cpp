#include "app/integer_text.h"

#include <gtest/gtest.h>

namespace veltrane::app {
namespace {

TEST(IntegerText, TakesAnOptionalSignAndDecimalDigitsWithinThe32BitRange) {
    EXPECT_EQ(parseInteger("9"), 9);
    EXPECT_EQ(parseInteger("-1"), -1);
    EXPECT_EQ(parseInteger("+12"), 12);
    EXPECT_EQ(parseInteger(" 42 "), 42);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), INT32_MIN);
}

TEST(IntegerText, RefusesEverythingElse) {
    for (const char* text : {"", " ", "abc", "1.5", "12a", "+-3", "--3", "+", "-", "2147483648", "-2147483649", "0x10",
                             "1 2"})
        EXPECT_FALSE(parseInteger(text).has_value()) << "'" << text << "'";
}

} // namespace
} // namespace veltrane::app
