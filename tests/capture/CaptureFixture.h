#pragma once
// A capture state, a fake device, recorded message boxes and a window stand-in that records the
// blocks it is handed, for tests of the capture logic.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/capture/Capture.h"
#include "tests/support/FakeAudioInput.h"
#include "tests/support/FakeMessageBoxes.h"

namespace vireon::testing {

class RecordingWindow final : public CaptureHost {
public:
    struct Block {
        std::vector<std::uint8_t> bytes;
        std::int32_t count;
        std::size_t queuedMeanwhile;  // buffers queued at the current device during the call
    };

    RecordingWindow(const CaptureState& state, const FakeAudioInput& audio)
        : state_(state), audio_(audio) {}

    void ProcessSamples(const std::uint8_t* data, std::int32_t count) override {
        blocks.push_back({std::vector<std::uint8_t>(data, data + std::max(count, 0)), count,
                          audio_.queued(state_.WaveInHandle)});
    }
    void UpdateReceiveMenus() override {
        ++menuUpdates;
        startEnabled = !state_.Receiving;
        stopEnabled = state_.Receiving;
    }

    std::vector<Block> blocks;
    int menuUpdates = 0;
    bool startEnabled = true;  // as the window is built, before its first update
    bool stopEnabled = true;

private:
    const CaptureState& state_;
    const FakeAudioInput& audio_;
};

class CaptureTest : public ::testing::Test {
protected:
    void TearDown() override {
        // Give every buffer back so the leak checker sees only what the code under test lost.
        for (std::size_t k = 0; k < AudioCallKinds; ++k)
            audio.failCall(static_cast<AudioCall>(k), 0, 0);
        if (state.Receiving) StopReceive(state, context);
        deliverAll();
    }

    NotificationTarget target() { return &targetTag_; }

    std::size_t deliverAll() {
        return audio.deliverAll(
            [this](const WaveInMessage& m) { DispatchWaveInMessage(state, context, m); });
    }
    // Delivers the oldest posted notification; false when none is waiting.
    bool deliverOne() {
        if (audio.posted.empty()) return false;
        const WaveInMessage m = audio.posted.front();
        audio.posted.erase(audio.posted.begin());
        DispatchWaveInMessage(state, context, m);
        return true;
    }
    std::size_t postedData() const {
        return static_cast<std::size_t>(
            std::count_if(audio.posted.begin(), audio.posted.end(),
                          [](const WaveInMessage& m) { return m.Message == MM_WIM_DATA; }));
    }
    std::size_t buffersMade() const {
        return static_cast<std::size_t>(audio.calls(AudioCall::PrepareHeader));
    }
    static ShownBox Warning(const std::string& text) { return {text, "", 48}; }

    FakeAudioInput audio;
    FakeMessageBoxes boxes;
    CaptureState state;
    std::int32_t multiplier = 1;
    RecordingWindow window{state, audio};

private:
    char targetTag_ = 0;

protected:
    CaptureContext context{audio, boxes, window, multiplier, target()};
};

}  // namespace vireon::testing
