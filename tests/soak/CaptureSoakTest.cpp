// Hours of capture through the main window: the fake device fills buffers as fast as the window's
// event loop takes them, receiving stops and starts again every ten minutes of sound, and
// nothing may leak, get lost, repeat or pile up. VIREON_SOAK_HOURS sets the length (1 by default, a
// third under AddressSanitizer).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "tests/gui/GuiTestSupport.h"
#include "tests/soak/SpyAudioInput.h"

namespace vireon::testing {
namespace {

constexpr std::int64_t SamplesPerSecond = 8000;
constexpr std::int64_t SecondsPerCycle = 600;  // receiving stops and starts every ten minutes
// FrameCounter * 3 + Decimator.Count tells how many samples the chain has taken, modulo this.
constexpr std::int64_t ChainPeriod = 3 * 85;
// Buffers the device fills between two turns of the event loop (it has ten queued).
constexpr int FillsPerTurn = 4;

double SoakHours() {
    const char* text = std::getenv("VIREON_SOAK_HOURS");
    if (text != nullptr && *text != '\0') return std::strtod(text, nullptr);
#if defined(__SANITIZE_ADDRESS__)
    // Ten times slower there, and its point is leaks and misuse, which two stop-start rounds
    // show as well as six.
    return 1.0 / 3.0;
#else
    return 1.0;
#endif
}

// Resident set size in bytes.
std::int64_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * 4096;
}

void TurnEventLoop() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The window works through the spy, which works through the harness's fake device; the window
// goes before the spy does.
struct Soak {
    WindowHarness harness;
    SpyAudioInput spy{harness.audio,
                      [this] {
                          const SignalChain& chain = harness.state->Chain;
                          return std::int64_t{chain.FrameCounter} * 3 + chain.Decimator.Count;
                      },
                      ChainPeriod};

    Soak() {
        const MainWindowServices services{harness.boxes, harness.launcher, harness.browser, spy,
                                          harness.report};
        harness.window = std::make_unique<QtMainWindow>();
        harness.form = std::make_unique<TFormMain>(*harness.state, services, *harness.window,
                                                   harness.folder.Path());
    }
    ~Soak() { harness.Close(); }

    TFormMain& Window() { return *harness.form; }
    CaptureState& Capture() { return harness.state->Capture; }
};

TEST(CaptureSoak, HoursOfStartStopLeakNothingAndLoseNoBlock) {
    const double hours = SoakHours();
    ASSERT_GT(hours, 0.0) << "VIREON_SOAK_HOURS must be a positive number of hours";
    const auto cycles = std::max<std::int64_t>(1, std::llround(hours * 3600 / SecondsPerCycle));
    // Growth is measured from the end of the first simulated hour (of the first cycle in a
    // run that short), once every allocator pool and Qt cache has settled.
    const std::int64_t baselineCycle = cycles > 6 ? 6 : 1;

    Soak soak;
    CaptureState& capture = soak.Capture();
    ASSERT_TRUE(capture.Receiving);
    const std::int32_t bufferBytes =
        CaptureBufferBytes(soak.harness.state->Values.BlockLenMultipler);
    ASSERT_EQ(bufferBytes, 128);
    const std::int64_t buffersPerCycle = SamplesPerSecond * SecondsPerCycle / bufferBytes;

    const auto began = std::chrono::steady_clock::now();
    std::int64_t baseline = 0, peak = 0, firstHour = 0;
    for (std::int64_t cycle = 1; cycle <= cycles; ++cycle) {
        const AudioHandle device = soak.harness.Device();
        for (std::int64_t b = 0; b < buffersPerCycle; ++b) {
            ASSERT_TRUE(soak.spy.FillOne(device, bufferBytes))
                << "no buffer queued at the device in cycle " << cycle << ", buffer " << b;
            if ((b + 1) % FillsPerTurn == 0) TurnEventLoop();
        }
        TurnEventLoop();

        soak.Window().MenuStopReceiveClick();
        WindowHarness::Settle();
        ASSERT_FALSE(capture.Receiving);
        ASSERT_EQ(capture.BuffersOutstanding, 0) << "buffers left over after stop " << cycle;
        ASSERT_EQ(soak.harness.audio.openDevices(), 0u) << "device left open after stop " << cycle;
        ASSERT_TRUE(capture.EarlierDevices.empty());
        ASSERT_EQ(soak.spy.Processed(), soak.spy.Filled());
        ASSERT_TRUE(soak.spy.Faults().empty()) << soak.spy.Faults().front();

        const std::int64_t rss = ResidentBytes();
        if (cycle == 6) firstHour = rss;
        if (cycle == baselineCycle) baseline = rss;
        if (cycle >= baselineCycle) peak = std::max(peak, rss);

        if (cycle < cycles) {
            soak.Window().MenuStartReceiveClick();
            WindowHarness::Settle();
            ASSERT_TRUE(capture.Receiving);
            ASSERT_EQ(capture.BuffersOutstanding, 10);
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

    EXPECT_TRUE(soak.harness.boxes.shown.empty()) << "a warning box came up during the soak";
    EXPECT_EQ(soak.spy.Processed(), static_cast<std::uint64_t>(cycles * buffersPerCycle));
    EXPECT_EQ(soak.spy.BytesProcessed(),
              static_cast<std::uint64_t>(cycles * buffersPerCycle * bufferBytes));
    std::printf(
        "soak: %.2f simulated hours, %lld blocks in %.1f s wall; RSS %lld KiB after the "
        "baseline cycle, %lld KiB after the first hour, %lld KiB peak after it, %lld KiB "
        "at the end\n",
        static_cast<double>(cycles) * SecondsPerCycle / 3600.0,
        static_cast<long long>(soak.spy.Processed()), seconds,
        static_cast<long long>(baseline / 1024), static_cast<long long>(firstHour / 1024),
        static_cast<long long>(peak / 1024), static_cast<long long>(ResidentBytes() / 1024));
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer's quarantine holds freed blocks back on purpose; memory growth is measured
    // in the optimised build only.
#else
    if (cycles > 1) {
        EXPECT_LE(peak - baseline, 1 << 20) << "resident memory grew by " << (peak - baseline)
                                            << " bytes after the first simulated hour";
    }
#endif
}

}  // namespace
}  // namespace vireon::testing
