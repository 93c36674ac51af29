#include "dsp/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace vireon {
namespace {

struct IntCase {
    std::string text;
    std::optional<int32_t> expected;
};

TEST(ParseInt32, FollowsTheIntegerGrammar) {
    const IntCase cases[] = {
        {"127", 127},
        {"  127", 127},  // leading spaces are allowed
        {"+5", 5},
        {"-5", -5},
        {"007", 7},
        {"-0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"000000000000000000001", 1},  // leading zeros do not overflow
        {"$7F", 127},
        {"x10", 16},
        {"X10", 16},
        {"0x1f", 31},
        {"0XFF", 255},
        {"$ffffffff", -1},  // the whole 32-bit pattern, two's complement
        {"$80000000", std::numeric_limits<int32_t>::min()},
        {"$000000010", 16},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"127 ", std::nullopt},   // nothing may follow, not even a blank
        {"\t127", std::nullopt},  // only spaces lead
        {"1 27", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"$1g", std::nullopt},
        {"$100000000", std::nullopt},  // more than 32 bits
        {"-$10", std::nullopt},
        {"1e3", std::nullopt},
        {"1.0", std::nullopt},
        {"٣", std::nullopt},  // digits of other scripts are not digits here
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("text '" + c.text + "'");
        EXPECT_EQ(ParseInt32(c.text), c.expected);
    }
}

struct DecimalCase {
    std::string text;
    double expected;
};

TEST(ReadLeadingDecimal, ReadsTheNumberAtTheStartLikeAtof) {
    const DecimalCase cases[] = {
        {"0.5", 0.5},
        {"-1.5e-2", -0.015},
        {"+2.5", 2.5},
        {"  \t 0.25", 0.25},  // any leading white space
        {"0.5 and text", 0.5},
        {"0,5", 0.0},  // a comma ends the number
        {"3,75", 3.0},
        {"", 0.0},
        {"text", 0.0},
        {".5", 0.5},
        {"5.", 5.0},
        {".", 0.0},
        {"-", 0.0},
        {"1e3", 1000.0},
        {"1E+3", 1000.0},
        {"1e", 1.0},  // an exponent needs a digit; the "e" is left over
        {"1e+", 1.0},
        {"2e-x", 2.0},
        {"1.5.5", 1.5},
        {"inf", 0.0},  // not part of the grammar
        {"-infinity", 0.0},
        {"nan", 0.0},
        {"0x1p3", 0.0},   // "0", then the "x" ends it
        {"1e-400", 0.0},  // below every double
        {"0e999999999999999", 0.0},
        {"123456789012345678901234567890e-20", 1234567890.1234567890123456789},
        {"0.1", 0.1},  // correctly rounded, not accumulated digit by digit
        {"2.2250738585072011e-308", 2.2250738585072011e-308},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("text '" + c.text + "'");
        EXPECT_EQ(ReadLeadingDecimal(c.text), c.expected);
    }
}

TEST(ReadLeadingDecimal, KeepsTheSignOfZeroAndReportsOverflowAsInfinity) {
    EXPECT_TRUE(std::signbit(ReadLeadingDecimal("-0.0")));
    EXPECT_TRUE(std::signbit(ReadLeadingDecimal("-1e-400")));
    EXPECT_EQ(ReadLeadingDecimal("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadLeadingDecimal("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadLeadingDecimal("1e99999999999999999999"),
              std::numeric_limits<double>::infinity());
    // Out of range is judged by the whole number, not by the sign of its exponent.
    EXPECT_EQ(ReadLeadingDecimal("1" + std::string(400, '0') + "e-10"),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadLeadingDecimal("0." + std::string(400, '0') + "1e10"), 0.0);
    EXPECT_EQ(ReadLeadingDecimal("0.0000001e310"), 1e303);
}

}  // namespace
}  // namespace vireon
