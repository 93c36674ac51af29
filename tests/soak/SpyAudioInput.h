#pragma once
// Sits between the window and the fake device. Every buffer the device hands back is stamped
// with a block number when it is filled; when the window unprepares it (which it does right
// after the block went through the signal chain) the spy checks that blocks come back in
// order, each once, and that the chain has taken in exactly the bytes of all blocks so far.
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/audio/AudioInput.h"
#include "tests/support/FakeAudioInput.h"

namespace vireon::testing {

class SpyAudioInput final : public AudioInput {
public:
    // samplesTaken reads how many input samples the chain has consumed, modulo `period`.
    SpyAudioInput(FakeAudioInput& device, std::function<std::int64_t()> samplesTaken,
                  std::int64_t period)
        : device_(device), samplesTaken_(std::move(samplesTaken)), period_(period) {}

    // Fills the oldest queued buffer of the device with block number `nextFilled()`.
    bool FillOne(AudioHandle handle, std::int32_t bytes) {
        if (device_.queued(handle) == 0) return false;
        block_.assign(static_cast<std::size_t>(bytes), 128);
        const std::uint64_t number = filled_;
        std::memcpy(block_.data(), &number, sizeof number);
        if (device_.record(handle, block_) != bytes) return false;
        ++filled_;
        return true;
    }

    std::uint64_t Filled() const { return filled_; }
    std::uint64_t Processed() const { return processed_; }
    std::uint64_t BytesProcessed() const { return bytes_; }
    const std::vector<std::string>& Faults() const { return faults_; }

    std::int32_t deviceCount() override { return device_.deviceCount(); }
    std::int32_t open(AudioHandle& handle, std::int32_t deviceId, const WaveFormat& format,
                      NotificationTarget target) override {
        return device_.open(handle, deviceId, format, target);
    }
    std::int32_t prepareHeader(AudioHandle device, WaveHeader* header,
                               std::uint32_t size) override {
        return device_.prepareHeader(device, header, size);
    }
    std::int32_t addBuffer(AudioHandle device, WaveHeader* header, std::uint32_t size) override {
        return device_.addBuffer(device, header, size);
    }
    std::int32_t start(AudioHandle device) override { return device_.start(device); }
    std::int32_t reset(AudioHandle device) override { return device_.reset(device); }
    std::int32_t close(AudioHandle device) override { return device_.close(device); }

    std::int32_t unprepareHeader(AudioHandle device, WaveHeader* header,
                                 std::uint32_t size) override {
        if (header != nullptr && header->BytesRecorded > 0) Check(*header);
        return device_.unprepareHeader(device, header, size);
    }

private:
    void Check(const WaveHeader& header) {
        std::uint64_t number = 0;
        if (header.BytesRecorded >= static_cast<std::int32_t>(sizeof number))
            std::memcpy(&number, header.Data, sizeof number);
        if (number != processed_ && faults_.size() < 10)
            faults_.push_back("block " + std::to_string(number) + " came back where block " +
                              std::to_string(processed_) + " was due");
        ++processed_;
        bytes_ += static_cast<std::uint64_t>(header.BytesRecorded);
        const auto expected =
            static_cast<std::int64_t>(bytes_ % static_cast<std::uint64_t>(period_));
        if (samplesTaken_() != expected && faults_.size() < 10)
            faults_.push_back("after block " + std::to_string(number) + " the chain has taken " +
                              std::to_string(samplesTaken_()) + " samples (mod " +
                              std::to_string(period_) + "), expected " + std::to_string(expected));
    }

    FakeAudioInput& device_;
    std::function<std::int64_t()> samplesTaken_;
    std::int64_t period_;
    std::vector<std::uint8_t> block_;
    std::uint64_t filled_ = 0;
    std::uint64_t processed_ = 0;
    std::uint64_t bytes_ = 0;
    std::vector<std::string> faults_;
};

}  // namespace vireon::testing
