// The pieces of vireon-render that are easy to get subtly wrong, tested on their own; what the
// readers and the output files do on each system is in linux/ and windows/.
#include <gtest/gtest.h>

#include <cstdio>

#include "tools/render/Progress.h"
#include "tools/render/RenderError.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/chain/FrameSpan.h"
#include "tools/render/output/ColumnStore.h"

namespace vireon::render {
namespace {

TEST(ParseSeconds, ReadsDecimalSecondsExactly) {
    const std::vector<std::pair<std::string, int64_t>> good = {
        {"0", 0},
        {"12", 12'000'000'000},
        {"0.5", 500'000'000},
        {".25", 250'000'000},
        {"3.", 3'000'000'000},
        {"0.031875", 31'875'000},
        {"90.000000001", 90'000'000'001},
        {"1.0000000019", 1'000'000'001},  // beyond nanoseconds is dropped
        {"007", 7'000'000'000},
        {"1000000000", 1'000'000'000'000'000'000},
    };
    for (const auto& [text, ns] : good) EXPECT_EQ(ParseSeconds(text), ns) << text;
    for (std::string bad : {"", ".", "-1", "+1", "1e3", "1,5", " 1", "1 ", "abc", "1.2.3", "nan",
                            "inf", "1000000001", "99999999999999999999"})
        EXPECT_EQ(ParseSeconds(bad), std::nullopt) << bad;
}

TEST(FrameSpan, FrameKBelongsToTheMomentItIsComputed) {
    // Frame k is computed at sample 255 k: 31.875 ms per frame.
    EXPECT_EQ(FrameTimeNs(1), 31'875'000);
    EXPECT_EQ(FrameTimeNs(32), 1'020'000'000);
    struct Case {
        int64_t start, end, frame;
        bool in;
    };
    const std::vector<Case> cases = {
        {0, NoEnd, 1, true},
        {31'875'000, NoEnd, 1, true},  // the start is inclusive
        {31'875'001, NoEnd, 1, false},
        {31'875'001, NoEnd, 2, true},
        {0, 63'750'000, 2, false},  // the end is exclusive
        {0, 63'750'001, 2, true},
        {0, 1, 1, false},
        {0, NoEnd, 1'000'000'000, true},  // a frame count far beyond any recording
    };
    for (const Case& c : cases)
        EXPECT_EQ((FrameSpan{c.start, c.end}.Contains(c.frame)), c.in)
            << c.start << " " << c.end << " " << c.frame;
    // CountIn agrees with asking every frame.
    for (int64_t start :
         {int64_t{0}, int64_t{1}, int64_t{31'875'000}, int64_t{31'875'001}, int64_t{500'000'000}})
        for (int64_t end :
             {int64_t{1}, int64_t{63'750'000}, int64_t{63'750'001}, int64_t{750'000'000}, NoEnd})
            for (int64_t frames : {0, 1, 2, 30}) {
                int64_t expected = 0;
                for (int64_t k = 1; k <= frames; ++k) expected += FrameSpan{start, end}.Contains(k);
                EXPECT_EQ((FrameSpan{start, end}.CountIn(frames)), expected)
                    << start << " " << end << " " << frames;
            }
    EXPECT_TRUE(FrameSpan{}.IsWhole());
    EXPECT_FALSE((FrameSpan{0, 5}.IsWhole()));
}

TEST(ParseCount, AcceptsOnlyPlainNumbersInRange) {
    EXPECT_EQ(ParseCount("1", 10), 1);
    EXPECT_EQ(ParseCount("10", 10), 10);
    EXPECT_EQ(ParseCount("0010", 10), 10);
    for (std::string bad : {"", "0", "11", "-1", "+1", "1.0", "1e1", " 1", "99999999999"})
        EXPECT_EQ(ParseCount(bad, 10), std::nullopt) << bad;
}

TEST(RenderOptions, NamesAndDefaults) {
    const std::vector<std::pair<std::string, std::string>> outputs = {
        {"rec.wav", "rec.png"},
        {"dir.d/rec", "dir.d/rec.png"},
        {"a/b.c/.hidden", "a/b.c/.hidden.png"},
        {"x.tar.gz", "x.tar.png"},
        {"/abs/r.U8", "/abs/r.png"},
        {"./rec.", "./rec.png"},
    };
    for (const auto& [in, out] : outputs) EXPECT_EQ(DefaultOutputPath(in), out) << in;

    for (std::string raw : {"-", "a.u8", "a.U8", "b.raw", "dir/c.RaW"})
        EXPECT_TRUE(IsRawName(raw)) << raw;
    for (std::string other : {"u8", "a.u8.wav", "a.wav", "raw", "a_raw"})
        EXPECT_FALSE(IsRawName(other)) << other;
}

TEST(RenderOptions, ValueFormsAndImpliedSettings) {
    RenderOptions o =
        ParseArguments({"--output=x.png", "--height", "100", "--fir=f.txt", "rec.u8"});
    EXPECT_EQ(o.output, "x.png");
    EXPECT_EQ(o.height, 100);
    EXPECT_EQ(o.firPath, "f.txt");
    EXPECT_TRUE(o.raw);
    EXPECT_EQ(o.windowWidth, 0);

    o = ParseArguments({"-ox.png", "--", "-odd.wav"});
    EXPECT_EQ(o.output, "x.png");
    EXPECT_EQ(o.input, "-odd.wav");
    EXPECT_FALSE(o.raw);

    o = ParseArguments({"rec.wav", "--start", "1.5", "--duration=2"});
    EXPECT_EQ(o.output, "rec.png");
    EXPECT_EQ(o.height, DefaultHeight);
    EXPECT_EQ(o.span.startNs, 1'500'000'000);
    EXPECT_EQ(o.span.endNs, 3'500'000'000);

    o = ParseArguments({"--duration", "2", "rec.wav"});
    EXPECT_EQ(o.span.startNs, 0);
    EXPECT_EQ(o.span.endNs, 2'000'000'000);

    o = ParseArguments({"-o", "p.png", "--window", "605", "-"});
    EXPECT_EQ(o.windowWidth, 605);
    EXPECT_TRUE(o.raw);

    // Help and version need no input and win over anything wrong after them.
    EXPECT_TRUE(ParseArguments({"--help", "--height", "0"}).showHelp);
    EXPECT_TRUE(ParseArguments({"-V"}).showVersion);
    EXPECT_THROW(ParseArguments({"--output", "rec.wav"}), UsageError);  // no input left
}

TEST(ColumnStore, ColumnsBecomeTheImageLeftToRightAcrossBlocks) {
    constexpr int32_t height = 7;
    constexpr int64_t columns = 9000;  // more than two blocks
    ColumnStore store(height);
    EXPECT_TRUE(store.TakePicture().IsNull());
    for (int64_t c = 0; c < columns; ++c) {
        uint8_t* column = store.AppendColumn();
        for (int32_t y = 0; y < height; ++y)
            column[y] = static_cast<uint8_t>((c * 7 + y * 31) % 256);
    }
    EXPECT_EQ(store.Columns(), columns);
    const Picture image = store.TakePicture();
    ASSERT_EQ(image.width, columns);
    ASSERT_EQ(image.height, height);
    ASSERT_EQ(image.channels, 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < columns; ++x)
            ASSERT_EQ(image.Row(y)[x], (x * 7 + y * 31) % 256) << x << "," << y;
    EXPECT_EQ(store.Columns(), 0);
}

TEST(Progress, ShowsPercentagesOnlyForLongRecordingsWhenAsked) {
    auto capture = [](bool enabled, int64_t expected, std::vector<int64_t> updates) {
        FILE* out = std::tmpfile();
        {
            Progress progress(out, enabled, expected);
            for (int64_t u : updates) progress.Update(u);
        }
        std::rewind(out);
        std::string text;
        for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
        std::fclose(out);
        return text;
    };
    const int64_t tenMinutes = 8000 * 600;
    EXPECT_EQ(
        capture(true, tenMinutes, {0, 1000, tenMinutes / 2, tenMinutes / 2 + 10, tenMinutes + 5}),
        "\rvireon-render:   0%\rvireon-render:  50%\rvireon-render:  99%\r\033[K");
    EXPECT_EQ(capture(false, tenMinutes, {0, tenMinutes}), "");
    EXPECT_EQ(capture(true, 8000 * 30, {0, 8000 * 30}), "") << "half a minute is not worth it";
    EXPECT_EQ(capture(true, -1, {0, 8000 * 60, 8000 * 61, 8000 * 125}),
              "\rvireon-render: 0 min read\rvireon-render: 1 min read\rvireon-render: 2 min "
              "read\r\033[K");
}

}  // namespace
}  // namespace vireon::render
