// ExactSin, ExactCos and LogOfFloat on their own, without glibc to compare with: values worked
// out to 300 bits elsewhere, the edges, and the logarithm's two paths against each other. These
// run on every platform; tests/dsp/ExactMathTest.cpp holds them to glibc where it is there.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "dsp/math/ExactMath.h"

namespace vireon {
namespace {

uint64_t Bits(double d) {
    return std::bit_cast<uint64_t>(d);
}
uint32_t Bits(float f) {
    return std::bit_cast<uint32_t>(f);
}

// Nearest doubles to the exact sine and cosine. The multiples of pi/2 as doubles (the transform
// table's quarter angles) leave the reduction a result of 2^-52 or less to get right.
TEST(ExactMath, SineAndCosineOfKnownAngles) {
    struct Case {
        double x, sin, cos;
    };
    const Case cases[] = {
        {0.0, 0.0, 1.0},
        {0x1.5798ee2308c3ap-27, 0x1.5798ee2308c3ap-27, 1.0},
        {0.5, 0x1.eaee8744b05fp-2, 0x1.c1528065b7d5p-1},
        {1.0, 0x1.aed548f090ceep-1, 0x1.14a280fb5068cp-1},
        {2.0, 0x1.d18f6ead1b446p-1, -0x1.aa22657537205p-2},
        {3.0, 0x1.210386db6d55bp-3, -0x1.fae04be85e5d2p-1},
        {4.0, -0x1.837b9dddc1eaep-1, -0x1.4eaa606db24c1p-1},
        {5.0, -0x1.eaf81f5e09933p-1, 0x1.22785706b4ad9p-2},
        {6.0, -0x1.1e1f18ab0a2cp-2, 0x1.eb9b7097822f5p-1},
        {0x1.921fb54442d18p+0, 1.0, 0x1.1a62633145c07p-54},
        {0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53, -1.0},
        {0x1.2d97c7f3321d2p+2, -1.0, -0x1.a79394c9e8a0ap-53},
        {0x1.921fb54442d18p+2, -0x1.1a62633145c07p-52, 1.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Bits(ExactSin(c.x)), Bits(c.sin)) << "sin " << c.x;
        EXPECT_EQ(Bits(ExactCos(c.x)), Bits(c.cos)) << "cos " << c.x;
    }
    EXPECT_EQ(Bits(ExactSin(-0.0)), Bits(-0.0));
    EXPECT_EQ(Bits(ExactSin(-1.0)), Bits(-0x1.aed548f090ceep-1));
    EXPECT_EQ(Bits(ExactCos(-1.0)), Bits(0x1.14a280fb5068cp-1));
    constexpr double Inf = std::numeric_limits<double>::infinity();
    for (double outside : {0x1p20, -0x1p20, Inf, -Inf, std::nan("")}) {
        EXPECT_TRUE(std::isnan(ExactSin(outside))) << outside;
        EXPECT_TRUE(std::isnan(ExactCos(outside))) << outside;
    }
}

// The double nearest log f, and float(log(double(f))), both worked out to 300 bits (f = 1 + 2^-23
// and the float next to e among them).
TEST(ExactMath, LogOfKnownFloats) {
    constexpr float Inf = std::numeric_limits<float>::infinity();
    struct Case {
        float f;
        double log;
        float rounded;
    };
    const Case cases[] = {
        {1.0f, 0.0, 0.0f},
        {0x1.000002p+0f, 0x1.fffffe000002bp-24, 0x1.fffffep-24f},
        {0x1.5bf0a8p+1f, 0x1.fffffefb245eap-1, 0x1.fffffep-1f},
        {2.0f, 0x1.62e42fefa39efp-1, 0x1.62e43p-1f},
        {10.0f, 0x1.26bb1bbb55516p+1, 0x1.26bb1cp+1f},
        {std::numeric_limits<float>::max(), 0x1.62e42feba39efp+6, 0x1.62e43p+6f},
        {Inf, Inf, Inf},
        {0x1.fffffep-1f, -0x1.0000008000005p-24, -0x1p-24f},
        {0.5f, -0x1.62e42fefa39efp-1, -0x1.62e43p-1f},
        {0x1p-149f, -0x1.9d1d9fccf477p+6, -0x1.9d1dap+6f},
        {0.0f, -Inf, -Inf},
        {-0.0f, -Inf, -Inf},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Bits(LogOfFloatSlow(c.f)), Bits(c.log)) << c.f;
        EXPECT_EQ(Bits(LogOfFloat(c.f)), Bits(c.rounded)) << c.f;
    }
    for (float negative : {-1.0f, -0x1p-149f, -Inf}) EXPECT_TRUE(std::isnan(LogOfFloat(negative)));
    // A NaN comes back quiet, with its sign and payload.
    for (uint32_t nan : {0x7FC00000u, 0x7F800001u, 0xFFA5A5A5u, 0x7FFFFFFFu})
        EXPECT_EQ(Bits(LogOfFloat(std::bit_cast<float>(nan))), nan | 0x00400000u)
            << std::hex << nan;
}

// Where the fast path is sure of its float, the slow path (double-double throughout) must round
// to the same one, and the two doubles be within the fast path's 1.7 units in the last place
// and the slow one's half unit; neighbouring floats never give decreasing logarithms. A spread
// of floats from 1 to the largest, and runs of neighbours around inputs the fast path is unsure
// of.
TEST(ExactMath, LogPathsAgreeAndRise) {
    const auto check = [](uint32_t bits, float& previous) {
        const float f = std::bit_cast<float>(bits);
        double fast;
        if (LogOfFloatFast(f, fast)) {
            const double slow = LogOfFloatSlow(f);
            ASSERT_EQ(Bits(static_cast<float>(fast)), Bits(static_cast<float>(slow))) << f;
            ASSERT_LE(std::abs(int64_t(Bits(fast) - Bits(slow))), 2) << f;
        }
        const float log = LogOfFloat(f);
        ASSERT_GE(log, previous) << f;
        previous = log;
    };
    float previous = 0.0f;
    for (uint32_t bits = 0x3F800000u; bits < 0x7F800000u; bits += 12289) check(bits, previous);
    for (float unsure : {0x1.2f1fd6p+3f, 0x1.9ab656p+13f, 0x1.5f313ap+42f, 0x1.3171e8p+124f}) {
        double fast;
        EXPECT_FALSE(LogOfFloatFast(unsure, fast)) << unsure;
        previous = 0.0f;
        for (uint32_t bits = Bits(unsure) - 64; bits <= Bits(unsure) + 64; ++bits)
            check(bits, previous);
    }
}

}  // namespace
}  // namespace vireon
