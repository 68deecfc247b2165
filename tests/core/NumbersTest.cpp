// Numbers from outside: clamped at both ends, never overflowing, and
// seconds with a fraction read as milliseconds.
#include <gtest/gtest.h>

#include <string>

#include "core/Numbers.h"

TEST(Numbers, IntegersAreClampedAndNeverOverflow) {
    const char* end = nullptr;
    EXPECT_EQ(ParseInteger("123 rest", 0, 1000, -1, &end), 123);
    EXPECT_STREQ(end, " rest");
    EXPECT_EQ(ParseInteger("-5", 0, 10, 7), 0);
    EXPECT_EQ(ParseInteger("+5", 0, 10, 7), 5);
    EXPECT_EQ(ParseInteger("abc", 0, 10, 7, &end), 7);
    EXPECT_STREQ(end, "abc");
    EXPECT_EQ(ParseInteger("-", 0, 10, 7), 7);
    const std::string huge(5000, '9');
    EXPECT_EQ(ParseInteger(huge.c_str(), 0, 4096, 0), 4096);
    EXPECT_EQ(ParseInteger(("-" + huge).c_str(), -3, 3, 0), -3);
}

TEST(Numbers, SecondsWithAFraction) {
    EXPECT_EQ(ParseSecondsAsMs("0.3", 100000, -1), 300);
    EXPECT_EQ(ParseSecondsAsMs("12", 100000, -1), 12000);
    EXPECT_EQ(ParseSecondsAsMs("1.25", 100000, -1), 1250);
    EXPECT_EQ(ParseSecondsAsMs(".5", 100000, -1), 500);
    EXPECT_EQ(ParseSecondsAsMs("2147484", 86400000, -1), 86400000);
    EXPECT_EQ(ParseSecondsAsMs(std::string(3000, '9').c_str(), 5, -1), 5);
    EXPECT_EQ(ParseSecondsAsMs("x", 5, -1), -1);
    EXPECT_EQ(ParseSecondsAsMs("-1", 5, -1), -1);
}
