#include "dsp/FirFilter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Errors.h"
#include "tests/support/CommaLocale.h"
#include "tests/support/FakeMessageBoxes.h"
#include "tests/support/TempDir.h"

namespace vireon {
namespace {

using testing::CommaLocale;
using testing::FakeMessageBoxes;
using testing::ShownBox;
using testing::TempDir;
using namespace std::string_literals;

class FirFilterLoad : public ::testing::Test {
protected:
    // Loads a file with the given bytes into the fixture's filter.
    void LoadText(const std::string& bytes) { filter->Load(dir.Write("fir1.txt", bytes), boxes); }

    // The message of the error a load raises, or "" when it raises none.
    template <typename ErrorType>
    std::string LoadError(const std::string& bytes) {
        try {
            LoadText(bytes);
        } catch (const ErrorType& e) {
            return e.what();
        }
        return "";
    }

    std::vector<float> Feed(const std::vector<float>& inputs) {
        std::vector<float> out;
        for (float x : inputs) out.push_back(filter->Step(x));
        return out;
    }

    TempDir dir;
    FakeMessageBoxes boxes;
    std::unique_ptr<FirFilter> filter = std::make_unique<FirFilter>();
};

TEST_F(FirFilterLoad, AppliesTheFirstCoefficientToTheOldestInput) {
    LoadText("NTaps=3\n0.25\n0.5\n0.25\n");
    ASSERT_EQ(filter->TapCount, 3);
    EXPECT_EQ(Feed({1, 0, 0, 0}), (std::vector<float>{0.25f, 0.5f, 0.25f, 0.0f}));

    LoadText("NTaps=3\n1\n2\n3\n");
    EXPECT_EQ(Feed({1, 0, 0, 0}), (std::vector<float>{3, 2, 1, 0}));
    EXPECT_EQ(Feed({0, 0, 10, 20}), (std::vector<float>{0, 0, 30, 80}));
}

TEST_F(FirFilterLoad, AcceptsEveryLineEndStopsAtNulAndNamesTheFirstMissingLine) {
    const std::string files[] = {
        "NTaps=2\r\n0.5\r\n0.25\r\n",
        "NTaps=2\r0.5\r0.25\r",
        "NTaps=2\n0.5\n0.25",
        "NTaps=2\n0.5\n0.25\n\0garbage\n7\n"s,
    };
    for (const auto& text : files) {
        SCOPED_TRACE(text);
        LoadText(text);
        ASSERT_EQ(filter->TapCount, 2);
        EXPECT_EQ(filter->Coefficients[0], 0.5f);
        EXPECT_EQ(filter->Coefficients[1], 0.25f);
    }
    // The NUL cuts the file short, so the second coefficient line is missing.
    EXPECT_EQ(LoadError<ListIndexError>("NTaps=2\n0.5\0\n0.25\n"s), "List index out of bounds (2)");
    // The error names the first missing line.
    EXPECT_EQ(LoadError<ListIndexError>("NTaps=3\n0.25\n0.5\n"), "List index out of bounds (3)");
    EXPECT_EQ(LoadError<ListIndexError>("NTaps=3"), "List index out of bounds (1)");
}

TEST_F(FirFilterLoad, FindsTheTapCountByNameInAnyCase) {
    struct Case {
        std::string file;
        int32_t taps;
    };
    const Case cases[] = {
        {"ntaps=1\n2\n", 1},
        {"NTAPS=1\n2\n", 1},
        {"NTaps= 1\n2\n", 1},  // leading blanks of the value are allowed
        {"NTaps=$1\n2\n", 1},
        {"NTaps=0\n", 0},
        {"NTaps=0", 0},
        {"x=5\nNTaps=1\n2\n", 1},      // found on any line; coefficients still start on line 2
        {"NTaps=1\n2\nNTaps=7\n", 1},  // the first match wins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        LoadText(c.file);
        EXPECT_EQ(filter->TapCount, c.taps);
    }
}

TEST_F(FirFilterLoad, ReadsCoefficientsFromLineTwoWhereverTheTapCountIs) {
    // Line 2 is the tap-count line itself and reads as 0.
    LoadText("comment\nNTaps=2\n0.75\n");
    ASSERT_EQ(filter->TapCount, 2);
    EXPECT_EQ(filter->Coefficients[0], 0.0f);
    EXPECT_EQ(filter->Coefficients[1], 0.75f);
}

TEST_F(FirFilterLoad, RejectsABadTapCountWithTheConversionError) {
    struct Case {
        std::string file;
        std::string message;
    };
    const Case cases[] = {
        {"", "'' is not a valid integer value"},
        {"NTaps = 3\n1\n1\n1\n", "'' is not a valid integer value"},  // name has a blank
        {" NTaps=3\n1\n1\n1\n", "'' is not a valid integer value"},
        {"NTaps=3 \n1\n1\n1\n", "'3 ' is not a valid integer value"},
        {"NTaps=three\n", "'three' is not a valid integer value"},
        {"NTaps=2.0\n1\n1\n", "'2.0' is not a valid integer value"},
        {"NTaps=99999999999\n", "'99999999999' is not a valid integer value"},
        {"Taps=3\n1\n1\n1\n", "'' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(LoadError<ConvertError>(c.file), c.message);
    }
}

// A tap count outside the record or a coefficient beyond single precision: the message names
// the value (and the limit or the line), and the earlier load stands.
TEST_F(FirFilterLoad, RefusesValuesOutOfRangeAndKeepsTheFilter) {
    LoadText("NTaps=1\n2\n");
    std::string ones;
    for (int i = 0; i < 1100; ++i) ones += "1\n";
    std::vector<std::pair<std::string, std::string>> cases;  // the value, and what else is named
    for (std::string value : {"1025", "-1", "$FFFFFFFF", "2147483647", "-2147483648"})
        cases.emplace_back("NTaps=" + value + "\n" + ones, value);
    for (std::string line : {"1e39", "-1e39", "3.40282357e38", "1e400"})
        cases.emplace_back("NTaps=2\n0.5\n" + line + "\n", line);
    for (const auto& [file, value] : cases) {
        SCOPED_TRACE(value);
        const std::string message = LoadError<ConvertError>(file);
        EXPECT_NE(message.find("'" + value + "'"), std::string::npos) << message;
        const bool isTapCount = file.starts_with("NTaps=" + value);
        EXPECT_NE(message.find(isTapCount ? "1024" : "line 3"), std::string::npos) << message;
        EXPECT_EQ(filter->TapCount, 1);
        EXPECT_EQ(filter->Coefficients[0], 2.0f);
        EXPECT_EQ(filter->Coefficients[1], 0.0f);
    }
}

TEST_F(FirFilterLoad, TakesTheFullCapacity) {
    std::string file = "NTaps=1024\n";
    for (int i = 0; i < 1024; ++i) file += std::to_string(i) + "\n";
    LoadText(file);
    ASSERT_EQ(filter->TapCount, 1024);
    EXPECT_EQ(filter->Coefficients[0], 0.0f);
    EXPECT_EQ(filter->Coefficients[1023], 1023.0f);
    filter->Step(1.0f);
    EXPECT_EQ(filter->Step(0.0f), 1022.0f);
}

TEST_F(FirFilterLoad, ReadsEachCoefficientLikeAtofRoundedToFloat) {
    struct Case {
        std::string line;
        float value;
    };
    const Case cases[] = {
        {"-1.5e-2", static_cast<float>(-0.015)},
        {"0,5", 0.0f},
        {"", 0.0f},
        {"text", 0.0f},
        {"0.5 and more", 0.5f},
        {"   0.125", 0.125f},
        {"inf", 0.0f},
        {"nan", 0.0f},
        {"0x10", 0.0f},
        {"0.1", 0.1f},
        {"1e-50", 0.0f},                    // underflows single precision quietly
        {"3.40282356e38", 3.40282347e38f},  // rounds down to the largest float
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("line '" + c.line + "'");
        LoadText("NTaps=1\n" + c.line + "\n");
        EXPECT_EQ(filter->Coefficients[0], c.value);
    }
}

TEST_F(FirFilterLoad, MissingFileShowsTheBoxAndKeepsTheFilter) {
    LoadText("NTaps=1\n2\n");
    filter->Step(3.0f);
    const std::string missing = dir / "nothing/fir1.txt";
    filter->Load(missing, boxes);
    filter->Load(dir / "", boxes);  // a directory is not a file
    const ShownBox expected{"Cannot load the filter " + missing, "Load FIR filter", 16};
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0], expected);
    EXPECT_EQ(boxes.shown[1].caption, "Load FIR filter");
    EXPECT_EQ(filter->TapCount, 1);
    EXPECT_EQ(filter->DelayLine[0], 3.0f);
}

TEST_F(FirFilterLoad, ClearsTheDelayLineOnlyOnSuccess) {
    LoadText("NTaps=2\n1\n1\n");
    Feed({5, 7});
    EXPECT_THROW(LoadText("NTaps=2\n1\n"), ListIndexError);
    EXPECT_EQ(filter->Step(0.0f), 7.0f);  // the failed load left the delay line alone
    LoadText("NTaps=2\n1\n1\n");
    EXPECT_EQ(filter->Step(0.0f), 0.0f);
}

TEST_F(FirFilterLoad, IgnoresTheProcessLocale) {
    CommaLocale locale;
    if (locale.name().empty()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    // The C library itself now reads "0.5" as 0: this is the trap the reader must avoid.
    ASSERT_EQ(std::strtod("0.5", nullptr), 0.0) << locale.name();
    LoadText("NTaps=3\n0.5\n-1.5e-2\n0,5\n");
    EXPECT_EQ(filter->Coefficients[0], 0.5f);
    EXPECT_EQ(filter->Coefficients[1], static_cast<float>(-0.015));
    EXPECT_EQ(filter->Coefficients[2], 0.0f);
}

TEST(FirFilterStep, ZeroAndOneTap) {
    auto f = std::make_unique<FirFilter>();
    EXPECT_EQ(f->Step(5.0f), 0.0f);
    EXPECT_EQ(f->DelayLine[0], 0.0f);  // nothing stored without taps
    f->TapCount = 1;
    f->Coefficients[0] = 0.5f;
    EXPECT_EQ(f->Step(3.0f), 1.5f);
    EXPECT_EQ(f->Step(-4.0f), -2.0f);
}

TEST(FirFilterStep, RoundsTheSumToFloatAfterEveryAddition) {
    // 1 + 2^-24 is a tie that rounds back to 1, twice; a sum kept in double would reach
    // 1 + 2^-23.
    auto f = std::make_unique<FirFilter>();
    f->TapCount = 3;
    f->Coefficients[0] = f->Coefficients[1] = f->Coefficients[2] = 1.0f;
    const float tiny = std::ldexp(1.0f, -24);
    f->Step(1.0f);
    f->Step(tiny);
    EXPECT_EQ(f->Step(tiny), 1.0f);
}

TEST(FirFilterStep, FormsEachProductExactly) {
    // The product (1 + 2^-12)(1 - 2^-12 + 2^-24) = 1 + 2^-36 would round to 1 in float, and
    // 2^-24 + 1 would then be a tie rounding down; exact, the sum rounds up.
    auto f = std::make_unique<FirFilter>();
    f->TapCount = 2;
    f->Coefficients[0] = std::ldexp(1.0f, -24);
    f->Coefficients[1] = 1.0f + std::ldexp(1.0f, -12);
    f->Step(1.0f);
    const float y = f->Step(1.0f - std::ldexp(1.0f, -12) + std::ldexp(1.0f, -24));
    EXPECT_EQ(y, 1.0f + std::ldexp(1.0f, -23));
}

TEST(FirFilterStepPair, OneFilterTwiceIsTwoStepsInOrder) {
    auto pair = std::make_unique<FirFilter>();
    pair->TapCount = 3;
    pair->Coefficients[0] = 1.0f, pair->Coefficients[1] = 2.0f, pair->Coefficients[2] = 4.0f;
    auto solo = std::make_unique<FirFilter>(*pair);
    float y1 = 0, y2 = 0;
    StepPair(*pair, 1.0f, y1, *pair, 10.0f, y2);
    EXPECT_EQ(y1, solo->Step(1.0f));
    EXPECT_EQ(y2, solo->Step(10.0f));
}

}  // namespace
}  // namespace vireon
