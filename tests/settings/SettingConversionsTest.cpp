#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "platform/Errors.h"
#include "settings/RealText.h"
#include "settings/SettingConversions.h"
#include "settings/SettingsStore.h"

namespace vireon {
namespace {

TEST(TextToInteger, LenientLeadingNumberWithWrapAround) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"+7", 7},
        {"-35", -35},
        {"  -35", -35},
        {"\t\n\v\f\r 9", 9},
        {"12abc", 12},
        {"12 34", 12},
        {"5=6", 5},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"+-3", 0},
        {"- 3", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"2147483648", std::numeric_limits<int32_t>::min()},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"4294967295", -1},
        {"4294967296", 0},
        {"4294967297", 1},
        {"-4294967297", -1},
        {"99999999999999999999", 1661992959},  // 10^20 - 1 modulo 2^32
        {"\2405", 0},  // a non-breaking space (octal 240) is not white space here
    };
    for (const auto& c : cases) EXPECT_EQ(TextToInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(BoolText, OnlyExactOnIsTrue) {
    EXPECT_EQ(BoolToText(true), "on");
    EXPECT_EQ(BoolToText(false), "off");
    EXPECT_TRUE(TextToBool("on"));
    for (const char* text : {"off", "On", "ON", "on ", " on", "1", "true", "", "onn"})
        EXPECT_FALSE(TextToBool(text)) << '"' << text << '"';
}

TEST(LineBreakEscape, EncodesAndDecodesCrLfOnly) {
    const struct {
        std::string plain;
        std::string stored;
    } pairs[] = {
        {"", ""},
        {"one\r\ntwo", "one\\r\\ntwo"},
        {"\r\n\r\n", "\\r\\n\\r\\n"},
        {"a\r\n", "a\\r\\n"},
        {"lone\nlf and lone\rcr", "lone\nlf and lone\rcr"},
        {"\n\r", "\n\r"},
        {"\r\r\n\n", "\r\\r\\n\n"},
        {"back\\slash", "back\\slash"},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(EncodeLineBreaks(p.plain), p.stored);
        EXPECT_EQ(DecodeLineBreaks(p.stored), p.plain);
    }
    // Decoding only: the four characters typed by hand, and near misses left alone.
    EXPECT_EQ(DecodeLineBreaks("C:\\r\\n\\x"), "C:\r\n\\x");
    EXPECT_EQ(DecodeLineBreaks("\\r\\r\\n\\n"), "\\r\r\n\\n");
    EXPECT_EQ(DecodeLineBreaks("\\n\\r \\r \\n \\R\\N"), "\\n\\r \\r \\n \\R\\N");
}

TEST(TextToReal, AcceptsTheStrictForm) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"0", 0.0},
        {"1", 1.0},
        {"-2.5", -2.5},
        {"+2.5", 2.5},
        {"  3.25", 3.25},
        {"3.25  ", 3.25},
        {" -3.25 ", -3.25},
        {"5.", 5.0},
        {".5", 0.5},
        {"1E3", 1000.0},
        {"1e3", 1000.0},
        {"1E+3", 1000.0},
        {"15E-1", 1.5},
        {"-1.5e-3", -0.0015},
        {"0.1", 0.1},
        {"007.50", 7.5},
        {"1e-400", 0.0},
        {"-1e-400", -0.0},
        {"0e999999999999999999", 0.0},
        {"1.7976931348623157e308", DBL_MAX},
        {"4.94065645841247E-324", 4.9406564584124654e-324},
    };
    for (const auto& c : cases) {
        const double v = TextToReal(c.text);
        EXPECT_EQ(v, c.value) << '"' << c.text << '"';
        EXPECT_EQ(std::signbit(v), std::signbit(c.value)) << '"' << c.text << '"';
    }
}

TEST(TextToReal, RejectsAnythingElseWithTheFixedMessage) {
    // "\2401" is a non-breaking space (octal 240) before a 1.
    const char* const rejected[] = {
        "",     " ",     ".",        "-",     "+",      "1.2.3",   "1,5",
        "abc",  "12abc", "1e",       "1e+",   "e5",     "1 e5",    "1e 5",
        "1 2",  "\t1",   "1\t",      "--1",   "+-1",    "0x10",    "inf",
        "-inf", "nan",   "infinity", "1e309", "-1e309", "1.8e308", "1e99999999999999999999",
        "1\r",  "\2401"};
    for (const char* text : rejected) {
        try {
            TextToReal(text);
            ADD_FAILURE() << '"' << text << "\" accepted";
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("'") + text + "' is not a valid floating point value");
        }
    }
}

TEST(RealToText, GeneralFormOfAtMostFifteenDigits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "-0"},
        {1.0, "1"},
        {0.5, "0.5"},
        {-2.25, "-2.25"},
        {100.0, "100"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346E+15"},
        {1e20, "1E+20"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {-1.5e-300, "-1.5E-300"},
        {DBL_MAX, "1.7976931348623E+308"},
        {-DBL_MAX, "-1.7976931348623E+308"},
        {std::numeric_limits<double>::infinity(), ""},  // non-finite values have no text
        {-std::numeric_limits<double>::infinity(), ""},
        {std::numeric_limits<double>::quiet_NaN(), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(RealToText(c.value), c.text) << c.value;
}

TEST(RealToText, ReadsBackWhatItWrites) {
    for (const double v :
         {0.1, -7.125, 1.0 / 3.0, 1e15, 9.99999999999999e14, 1e-5, 123.456e100, 6.02214076e23,
          DBL_MAX, -DBL_MAX, DBL_MIN, DBL_TRUE_MIN, 2.2250738585072e-308, 1.797693134862315e308}) {
        const std::string text = RealToText(v);
        const double back = TextToReal(text);
        EXPECT_TRUE(std::isfinite(back)) << text;
        // Fifteen digits carry a relative error of at most 5e-15, twice that near the top.
        EXPECT_LE(std::fabs(back - v), std::fabs(v) * 1e-14) << text;
        EXPECT_EQ(RealToText(back), text) << "text must be stable across saves";
    }
}

}  // namespace
}  // namespace vireon
