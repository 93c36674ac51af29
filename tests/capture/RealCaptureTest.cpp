// The PulseAudio layer and the capture logic together: recording a tone from a virtual
// microphone through the real signal chain, stopping, draining and closing; losing the sound
// server while recording; the whole program over a server that stops answering; and a server
// that stops answering after a stretch of recording.
//
// Recording lasts a few seconds; VIREON_LONG=1 makes it a minute, VIREON_CAPTURE_SECONDS=N
// any other length.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QProcess>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/AppText.h"
#include "app/StartUp.h"
#include "app/capture/Capture.h"
#include "app/linux/QtMainWindow.h"
#include "app/linux/ShutdownRequest.h"
#include "app/linux/TerminationSignals.h"
#include "dsp/SignalChain.h"
#include "platform/linux/audio/PulseAudioInput.h"
#include "platform/linux/audio/WaveInEvent.h"
#include "tests/capture/RealAudioSupport.h"
#include "tests/support/FakeMessageBoxes.h"
#include "tests/support/TempDir.h"

namespace vireon::testing {
namespace {

double RecordingSeconds() {
    if (const char* seconds = std::getenv("VIREON_CAPTURE_SECONDS")) return std::atof(seconds);
    const char* longRun = std::getenv("VIREON_LONG");
    return longRun != nullptr && std::string(longRun) == "1" ? 60.0 : 4.0;
}

// Phase of the 1000 Hz component (8 samples a period) of a block. Blocks of whole periods
// that follow each other without a lost or repeated sample all show the same phase.
double TonePhase(const std::uint8_t* data, std::int32_t count) {
    double re = 0;
    double im = 0;
    for (std::int32_t n = 0; n < count; ++n) {
        const double angle = 2.0 * M_PI * (n % 8) / 8.0;
        re += (data[n] - 128.0) * std::cos(angle);
        im += (data[n] - 128.0) * std::sin(angle);
    }
    return std::atan2(im, re);
}

// Stands in for the main window: dispatches the device's notifications to the capture logic
// and runs every block through the signal chain, noting when blocks and frames arrive.
class CaptureWindow final : public QObject, public CaptureHost, public FrameSink {
public:
    struct Arrival {
        qint64 ns;
        std::int32_t count;
        double tonePhase;  // of the 1000 Hz component, relative to the block's first sample
    };
    struct Frame {
        qint64 ns;
        std::int32_t peakIndex;
        float peak;
    };

    explicit CaptureWindow(AudioInput& audio) : context{audio, boxes, *this, multiplier, this} {
        SetUpChain(chain, QCoreApplication::applicationDirPath().toStdString() + "/fir1.txt",
                   boxes);
        clock.start();
    }

    bool event(QEvent* e) override {
        if (e->type() == WaveInEvent::eventType()) {
            const WaveInMessage& message = static_cast<WaveInEvent*>(e)->message();
            if (message.Message == MM_WIM_CLOSE) ++closes;
            if (DispatchWaveInMessage(state, context, message)) return true;
        }
        return QObject::event(e);
    }

    void ProcessSamples(const std::uint8_t* data, std::int32_t count) override {
        arrivals.push_back({clock.nsecsElapsed(), count, TonePhase(data, count)});
        vireon::ProcessSamples(chain, data, count, *this);
    }
    void DrawSpectrum(const float* values, std::int32_t count) override {
        const float* peak = std::max_element(values, values + count);
        frames.push_back({clock.nsecsElapsed(), static_cast<std::int32_t>(peak - values), *peak});
    }
    void UpdateReceiveMenus() override { ++menuUpdates; }

    bool drained() const {
        return state.WaveInHandle == NoAudioHandle && state.BuffersOutstanding == 0 &&
               state.EarlierDevices.empty();
    }

    FakeMessageBoxes boxes;
    CaptureState state;
    SignalChain chain;
    std::int32_t multiplier = 1;
    CaptureContext context;
    QElapsedTimer clock;
    std::vector<Arrival> arrivals;
    std::vector<Frame> frames;
    int menuUpdates = 0;
    int closes = 0;
};

// A sine played into the microphone's sink for as long as the object lives.
class Tone {
public:
    Tone(const std::string& sink, int hertz, double seconds) {
        process_.start("sox",
                       {"-q", "-n", "-t", "pulseaudio", QString::fromStdString(sink), "synth",
                        QString::number(seconds), "sine", QString::number(hertz), "vol", "0.5"});
        started_ = process_.waitForStarted(5000);
    }
    ~Tone() {
        process_.kill();
        process_.waitForFinished(3000);
    }
    bool started() const { return started_; }

private:
    QProcess process_;
    bool started_ = false;
};

std::string Shown(const FakeMessageBoxes& boxes) {
    std::string all;
    for (const auto& b : boxes.shown) all += "[" + b.text + "] ";
    return all;
}

class RealCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Mic, nullptr);
        ASSERT_TRUE(Mic->running()) << Mic->error();
        window = std::make_unique<CaptureWindow>(audio);
        ASSERT_TRUE(window->boxes.shown.empty())
            << "fir1.txt beside the test: " << Shown(window->boxes);
    }
    void TearDown() override {
        if (window->state.Receiving) StopReceive(window->state, window->context);
        WaitFor([this] { return window->drained(); }, 3.0);
    }

    PulseAudioInput audio;  // outlives the window that uses it
    std::unique_ptr<CaptureWindow> window;
};

TEST_F(RealCaptureTest, ToneArrivesAtFullRateWithoutGapsAndPeaksAt1000Hz) {
    const double seconds = RecordingSeconds();
    Tone tone(Mic->sink(), 1000, seconds + 10);
    ASSERT_TRUE(tone.started()) << "sox did not start";
    RunFor(0.5);  // the tone reaches the microphone

    CaptureWindow& w = *window;
    StartReceive(w.state, w.context);
    ASSERT_TRUE(w.state.Receiving) << Shown(w.boxes);
    EXPECT_EQ(w.state.BuffersOutstanding, 10);
    RunFor(seconds);
    StopReceive(w.state, w.context);
    const std::size_t running = w.arrivals.size();
    ASSERT_TRUE(WaitFor([&] { return w.drained() && w.closes == 1; }, 3.0))
        << "outstanding " << w.state.BuffersOutstanding;
    EXPECT_TRUE(w.boxes.shown.empty()) << Shown(w.boxes);
    EXPECT_EQ(w.arrivals.size() - running, 10u);  // the drain hands back all ten

    // Rate and continuity of the blocks delivered while running.
    ASSERT_GT(running, 20u);
    qint64 maxGap = 0;
    for (std::size_t i = 0; i < running; ++i) {
        EXPECT_EQ(w.arrivals[i].count, 128) << "block " << i;
        if (i > 0) maxGap = std::max(maxGap, w.arrivals[i].ns - w.arrivals[i - 1].ns);
    }
    // A lost or repeated run of samples shifts the tone's phase from one block to the next.
    const qint64 settled = w.arrivals[0].ns + 300'000'000;
    double maxPhaseStep = 0;
    for (std::size_t i = 1; i < running; ++i) {
        if (w.arrivals[i - 1].ns < settled) continue;
        const double step =
            std::remainder(w.arrivals[i].tonePhase - w.arrivals[i - 1].tonePhase, 2.0 * M_PI);
        maxPhaseStep = std::max(maxPhaseStep, std::fabs(step));
    }
    EXPECT_LT(maxPhaseStep, 0.2) << "one sample lost or repeated shifts it by 0.785";

    const double span = static_cast<double>(w.arrivals[running - 1].ns - w.arrivals[0].ns) / 1e9;
    const double rate = 128.0 * static_cast<double>(running - 1) / span;
    const double tolerance = seconds >= 30 ? 0.01 : 0.03;
    EXPECT_NEAR(rate, 8000.0, 8000.0 * tolerance);
    EXPECT_LT(maxGap, 160'000'000) << "longer than the ten queued buffers hold";

    // Every frame once the tone fills the transform: peak at index 80 (1000 Hz), steady height.
    std::vector<float> peaks;
    std::size_t offPeak = 0;
    for (const auto& f : w.frames) {
        if (f.ns < settled || f.ns > w.arrivals[running - 1].ns) continue;
        peaks.push_back(f.peak);
        if (f.peakIndex != 80) ++offPeak;
    }
    ASSERT_GT(peaks.size(), static_cast<std::size_t>(seconds * 25));
    EXPECT_EQ(offPeak, 0u);
    std::vector<float> sorted = peaks;
    std::sort(sorted.begin(), sorted.end());
    const float median = sorted[sorted.size() / 2];
    EXPECT_GE(sorted.front(), 0.9f * median);

    std::printf(
        "recorded %.1f s: %zu blocks, %.1f bytes/s (%.3f%% off 8000), longest gap %.1f ms, "
        "largest tone phase step %.4f rad, %zu frames, peaks min %.1f median %.1f max %.1f\n",
        span, running, rate, 100.0 * (rate - 8000.0) / 8000.0, static_cast<double>(maxGap) / 1e6,
        maxPhaseStep, peaks.size(), static_cast<double>(sorted.front()),
        static_cast<double>(median), static_cast<double>(sorted.back()));
}

TEST_F(RealCaptureTest, LosingTheSoundServerStopsCaptureAndStartWorksOnceItIsBack) {
    CaptureWindow& w = *window;
    StartReceive(w.state, w.context);
    ASSERT_TRUE(w.state.Receiving) << Shown(w.boxes);
    RunFor(1.0);
    ASSERT_GT(w.arrivals.size(), 30u);

    Mic->kill();
    ASSERT_TRUE(WaitFor([&] { return !w.state.Receiving; }, 5.0)) << "no reaction to the loss";
    const ShownBox lost{"Recording stopped: the recording device is no longer available.", "", 48};
    EXPECT_EQ(w.boxes.shown, std::vector<ShownBox>{lost});
    EXPECT_EQ(w.menuUpdates, 2);
    ASSERT_TRUE(WaitFor([&] { return w.drained(); }, 3.0)) << "buffers did not come back";

    // Back again: the next Start connects to the new server at once.
    ASSERT_TRUE(Mic->restart()) << Mic->error();
    StartReceive(w.state, w.context);
    ASSERT_TRUE(w.state.Receiving) << Shown(w.boxes);
    EXPECT_EQ(w.boxes.shown, std::vector<ShownBox>{lost});
    const std::size_t before = w.arrivals.size();
    RunFor(1.0);
    EXPECT_GT(w.arrivals.size() - before, 30u);
    StopReceive(w.state, w.context);
    EXPECT_TRUE(WaitFor([&] { return w.drained(); }, 3.0));
}

class NoLauncher final : public ProgramLauncher {
public:
    bool Launch(const std::string&) override { return false; }
};
class NoBrowser final : public UrlOpener {
public:
    void Open(const std::string&) override {}
};

TEST_F(RealCaptureTest, AServerThatStopsAnsweringFailsStartsInTimeAndTheProgramStillEndsAndSaves) {
    using Seconds = std::chrono::duration<double>;
    const double deadline = Seconds(PulseConnection::AnswerDeadline).count();
    const auto since = [](QElapsedTimer& clock) {
        return static_cast<double>(clock.elapsed()) / 1e3;
    };
    TempDir folder;
    std::filesystem::copy_file(QCoreApplication::applicationDirPath().toStdString() + "/fir1.txt",
                               folder / "fir1.txt");

    ASSERT_TRUE(Mic->pause());
    {
        // The program as main() puts it together, over this device.
        FakeMessageBoxes boxes;
        ShutdownRequest shutdown(boxes);
        ErrorReport report(shutdown, ApplicationTitle);
        TerminationSignals termination;
        QObject::connect(&termination, &TerminationSignals::Received, [&] { shutdown.Request(); });
        audio.StopWaitingWhenReadable(termination.PendingFd());
        NoLauncher launcher;
        NoBrowser browser;
        ProgramState state;
        InitialiseProgramState(state);
        double startUp = 0, start = 0, end = 0;
        QElapsedTimer clock;
        clock.start();
        QtMainWindow formMain;
        RunProgram(state, {shutdown, launcher, browser, audio, report}, formMain,
                   folder.Path() + "/", [&](TFormMain&) {
                       // The start-up's start gave up at the deadline: the window is up.
                       startUp = since(clock);
                       EXPECT_FALSE(state.Capture.Receiving);
                       EXPECT_TRUE(formMain.MenuStartReceive->isEnabled());
                       RunFor(0.05);  // the loop runs: the next command has a deadline of its own

                       // Start again; a SIGTERM during the wait ends it at once.
                       std::thread signal([] {
                           std::this_thread::sleep_for(std::chrono::milliseconds(300));
                           ::kill(::getpid(), SIGTERM);
                       });
                       clock.restart();
                       formMain.MenuStartReceive->trigger();
                       start = since(clock);
                       signal.join();
                       EXPECT_FALSE(state.Capture.Receiving);

                       clock.restart();
                       shutdown.RunEventLoop(formMain);
                       end = since(clock);
                   });
        audio.StopWaitingWhenReadable(-1);
        EXPECT_GT(startUp, deadline - 0.1);
        EXPECT_LT(startUp, deadline + 1.0);
        EXPECT_GT(start, 0.25);
        EXPECT_LT(start, 1.0) << "the signal did not end the wait";
        EXPECT_LT(end, 0.5);
        const ShownBox none{NoDevicesText, "", 48};
        EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{none, none}));
        EXPECT_TRUE(std::filesystem::exists(folder / "okaven.ini"));
        EXPECT_EQ(state.Capture.WaveInHandle, NoAudioHandle);
    }
    ASSERT_TRUE(Mic->resume());

    // Answering again: Start records.
    CaptureWindow& w = *window;
    StartReceive(w.state, w.context);
    ASSERT_TRUE(w.state.Receiving) << Shown(w.boxes);
    RunFor(1.0);
    EXPECT_GT(w.arrivals.size(), 30u);
}

// The real device, but the sound server stops answering as soon as a start is asked for: after
// the start has found the device, while its stream is being set up.
class StopsTheServerAtStart final : public AudioInput {
public:
    explicit StopsTheServerAtStart(AudioInput& real) : real_(real) {}
    std::int32_t deviceCount() override { return real_.deviceCount(); }
    std::int32_t open(AudioHandle& handle, std::int32_t id, const WaveFormat& format,
                      NotificationTarget target) override {
        return real_.open(handle, id, format, target);
    }
    std::int32_t prepareHeader(AudioHandle d, WaveHeader* h, std::uint32_t size) override {
        return real_.prepareHeader(d, h, size);
    }
    std::int32_t addBuffer(AudioHandle d, WaveHeader* h, std::uint32_t size) override {
        return real_.addBuffer(d, h, size);
    }
    std::int32_t start(AudioHandle device) override {
        if (std::exchange(armed, false)) paused = Mic->pause();
        return real_.start(device);
    }
    std::int32_t reset(AudioHandle device) override { return real_.reset(device); }
    std::int32_t unprepareHeader(AudioHandle d, WaveHeader* h, std::uint32_t size) override {
        return real_.unprepareHeader(d, h, size);
    }
    std::int32_t close(AudioHandle device) override { return real_.close(device); }

    bool armed = false;
    bool paused = false;

private:
    AudioInput& real_;
};

// A server that stalls after a stretch of normal recording: noticed while recording and reported
// as a lost device; stopped after a Stop, or while a start sets up its stream, that Start gives
// up at the deadline with its warning. Either way, once the server answers again, Start records.
TEST_F(RealCaptureTest, AServerThatStallsAfterRecordingIsReportedInTimeAndStartRecordsAgain) {
    using Seconds = std::chrono::duration<double>;
    const double bound = Seconds(PulseConnection::StallBound).count();
    const double deadline = Seconds(PulseConnection::AnswerDeadline).count();
    enum class Stall { WhileRecording, AfterStop, DuringStart };
    struct Row {
        const char* what;
        Stall when;
        const char* warning;
        double after;  // seconds from the stall to the warning
    };
    const Row rows[] = {
        {"while recording", Stall::WhileRecording, DeviceLostText, bound},
        {"after a stop", Stall::AfterStop, NoDevicesText, deadline},
        {"while the stream starts", Stall::DuringStart, StartFailedText, deadline},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        StopsTheServerAtStart input(audio);
        CaptureWindow w(input);
        StartReceive(w.state, w.context);
        ASSERT_TRUE(w.state.Receiving) << Shown(w.boxes);
        RunFor(1.0);
        ASSERT_GT(w.frames.size(), 20u);
        if (row.when != Stall::WhileRecording) {
            StopReceive(w.state, w.context);
            ASSERT_TRUE(WaitFor([&] { return w.drained(); }, 3.0));
        }

        // No ASSERT until the server runs again: the next rows and tests need it. A wait that
        // hangs on the stopped server is let go on after a while, so that it fails on the time.
        std::atomic<bool> over{false};
        std::thread rescue([&over, last = Seconds(bound + 3.0)] {
            for (auto slept = Seconds(0); !over && slept < last; slept += Seconds(0.05))
                std::this_thread::sleep_for(Seconds(0.05));
            Mic->resume();
        });
        QElapsedTimer clock;
        clock.start();
        if (row.when == Stall::DuringStart) {
            input.armed = true;
        } else {
            input.paused = Mic->pause();
        }
        if (row.when == Stall::WhileRecording) {
            WaitFor([&] { return !w.state.Receiving; }, bound + 2.0);
        } else {
            StartReceive(w.state, w.context);
        }
        const double took = static_cast<double>(clock.elapsed()) / 1e3;
        EXPECT_TRUE(input.paused);
        EXPECT_FALSE(w.state.Receiving);
        EXPECT_EQ(w.boxes.shown, (std::vector<ShownBox>{{row.warning, "", 48}}));
        EXPECT_TRUE(WaitFor([&] { return w.drained(); }, 3.0)) << "buffers did not come back";
        over = true;
        rescue.join();
        std::printf("%s: the warning after %.2f s\n", row.what, took);
        EXPECT_GT(took, row.after - 0.1);
        EXPECT_LT(took, row.after + 1.0);

        // Answering again: the next Start (a command of its own, with its own deadline) records.
        RunFor(0.05);
        const std::size_t before = w.frames.size();
        StartReceive(w.state, w.context);
        ASSERT_TRUE(w.state.Receiving) << Shown(w.boxes);
        RunFor(1.0);
        EXPECT_GT(w.frames.size() - before, 20u);
        StopReceive(w.state, w.context);
        ASSERT_TRUE(WaitFor([&] { return w.drained(); }, 3.0));
    }
}

}  // namespace
}  // namespace vireon::testing
