#pragma once
// A recording service for tests: keeps the same rules as the PulseAudio layer (buffers filled in
// queue order, prepared before queued, never touched while queued, close refused while any is
// queued), counts every call, can fail any single call, and fills buffers only when the test says
// so.
//
// Notifications go to `posted` (deliver them with deliverAll) or, when `poster` is set, to it
// (a GUI test can post them as WaveInEvents to the window).
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <span>
#include <vector>

#include "platform/audio/AudioInput.h"

namespace vireon::testing {

enum class AudioCall {
    DeviceCount,
    Open,
    PrepareHeader,
    AddBuffer,
    Start,
    Reset,
    UnprepareHeader,
    Close,
};
constexpr std::size_t AudioCallKinds = 8;

class FakeAudioInput final : public AudioInput {
public:
    struct Device {
        NotificationTarget target = nullptr;
        std::deque<WaveHeader*> queue;
        bool started = false;
        bool lost = false;
    };

    std::int32_t devices = 1;  // what deviceCount() answers
    std::vector<WaveInMessage> posted;
    std::function<void(NotificationTarget target, const WaveInMessage& message)> poster;

    // Last open call's arguments.
    std::int32_t openedDeviceId = -1;
    WaveFormat openedFormat{};
    NotificationTarget openedTarget = nullptr;
    AudioHandle lastOpened = NoAudioHandle;

    // Lets `skip` more calls of this kind succeed, then fails the next `times` of them.
    void failCall(AudioCall call, std::int32_t skip = 0, std::int32_t times = 1) {
        failures_[Index(call)] = {skip, times};
    }
    void failAlways(AudioCall call) { failCall(call, 0, std::numeric_limits<std::int32_t>::max()); }

    std::int32_t calls(AudioCall call) const { return calls_[Index(call)]; }

    bool isOpen(AudioHandle device) const { return devices_.count(device) != 0; }
    std::size_t openDevices() const { return devices_.size(); }
    std::size_t queued(AudioHandle device) const {
        const auto it = devices_.find(device);
        return it == devices_.end() ? 0 : it->second.queue.size();
    }
    const WaveHeader* queuedHeader(AudioHandle device, std::size_t index) const {
        return devices_.at(device).queue.at(index);
    }

    // Records bytes into the device's queued buffers in order, handing back each that fills
    // up. Returns how many bytes found room; the rest is lost, as on a sound card.
    std::int32_t record(AudioHandle device, std::span<const std::uint8_t> bytes) {
        Device& d = devices_.at(device);
        if (!d.started || d.lost) return 0;
        std::size_t taken = 0;
        while (taken < bytes.size() && !d.queue.empty()) {
            WaveHeader* header = d.queue.front();
            const auto room =
                static_cast<std::size_t>(header->BufferLength - header->BytesRecorded);
            const std::size_t n = std::min(room, bytes.size() - taken);
            std::memcpy(header->Data + header->BytesRecorded, bytes.data() + taken, n);
            header->BytesRecorded += static_cast<std::int32_t>(n);
            taken += n;
            if (header->BytesRecorded == header->BufferLength) handBack(device, d);
        }
        return static_cast<std::int32_t>(taken);
    }
    std::int32_t record(AudioHandle device, std::int32_t count, std::uint8_t value = 128) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max(count, 0)), value);
        return record(device, bytes);
    }
    // Fills `buffers` queued buffers completely (silence), as the running device would.
    void fillBuffers(AudioHandle device, std::size_t buffers) {
        Device& d = devices_.at(device);
        for (std::size_t i = 0; i < buffers && !d.queue.empty(); ++i) {
            WaveHeader* header = d.queue.front();
            std::memset(header->Data + header->BytesRecorded, 128,
                        static_cast<std::size_t>(header->BufferLength - header->BytesRecorded));
            header->BytesRecorded = header->BufferLength;
            handBack(device, d);
        }
    }

    // The device fails by itself: it stops recording and reports so; its buffers stay queued.
    void loseDevice(AudioHandle device) {
        Device& d = devices_.at(device);
        d.lost = true;
        d.started = false;
        post(d.target, {WIM_DEVICE_LOST, device, nullptr});
    }

    // Hands the posted notifications, including those posted meanwhile, to `handle` one at a
    // time in order. Returns how many were delivered.
    template <class Handler>
    std::size_t deliverAll(Handler&& handle) {
        std::size_t delivered = 0;
        while (!posted.empty()) {
            const WaveInMessage message = posted.front();
            posted.erase(posted.begin());
            handle(message);
            ++delivered;
        }
        return delivered;
    }

    // AudioInput
    std::int32_t deviceCount() override {
        count(AudioCall::DeviceCount);
        return devices;
    }

    std::int32_t open(AudioHandle& handle, std::int32_t deviceId, const WaveFormat& format,
                      NotificationTarget target) override {
        handle = NoAudioHandle;
        if (count(AudioCall::Open)) return AudioError;
        if (deviceId < 0 || deviceId >= devices) return AudioBadDevice;
        openedDeviceId = deviceId;
        openedFormat = format;
        openedTarget = target;
        handle = ++lastOpened;
        devices_[handle].target = target;
        post(target, {MM_WIM_OPEN, handle, nullptr});
        return AudioOk;
    }

    std::int32_t prepareHeader(AudioHandle device, WaveHeader* header,
                               std::uint32_t size) override {
        if (count(AudioCall::PrepareHeader)) return AudioError;
        if (!isOpen(device)) return AudioInvalidHandle;
        if (!usable(header, size)) return AudioInvalidParam;
        if ((header->Flags & HeaderQueued) != 0) return AudioStillRecording;
        header->Flags |= HeaderPrepared;
        return AudioOk;
    }

    std::int32_t addBuffer(AudioHandle device, WaveHeader* header, std::uint32_t size) override {
        if (count(AudioCall::AddBuffer)) return AudioError;
        if (!isOpen(device)) return AudioInvalidHandle;
        if (!usable(header, size)) return AudioInvalidParam;
        if ((header->Flags & HeaderPrepared) == 0) return AudioUnprepared;
        if ((header->Flags & HeaderQueued) != 0) return AudioStillRecording;
        header->BytesRecorded = 0;
        header->Flags = (header->Flags & ~std::uint32_t{HeaderDone}) | HeaderQueued;
        devices_[device].queue.push_back(header);
        return AudioOk;
    }

    std::int32_t start(AudioHandle device) override {
        if (count(AudioCall::Start)) return AudioError;
        if (!isOpen(device)) return AudioInvalidHandle;
        Device& d = devices_[device];
        if (d.lost) return AudioError;
        d.started = true;
        return AudioOk;
    }

    std::int32_t reset(AudioHandle device) override {
        if (count(AudioCall::Reset)) return AudioError;
        if (!isOpen(device)) return AudioInvalidHandle;
        Device& d = devices_[device];
        d.started = false;
        while (!d.queue.empty()) handBack(device, d);
        return AudioOk;
    }

    std::int32_t unprepareHeader(AudioHandle device, WaveHeader* header,
                                 std::uint32_t size) override {
        if (count(AudioCall::UnprepareHeader)) return AudioError;
        if (!isOpen(device)) return AudioInvalidHandle;
        if (header == nullptr || size != WaveHeaderSize) return AudioInvalidParam;
        if ((header->Flags & HeaderQueued) != 0) return AudioStillRecording;
        header->Flags &= ~std::uint32_t{HeaderPrepared};
        return AudioOk;
    }

    std::int32_t close(AudioHandle device) override {
        if (count(AudioCall::Close)) return AudioError;
        const auto it = devices_.find(device);
        if (it == devices_.end()) return AudioInvalidHandle;
        if (!it->second.queue.empty()) return AudioStillRecording;
        NotificationTarget target = it->second.target;
        devices_.erase(it);
        post(target, {MM_WIM_CLOSE, device, nullptr});
        return AudioOk;
    }

private:
    struct Failure {
        std::int32_t skip = 0;
        std::int32_t times = 0;
    };

    static std::size_t Index(AudioCall call) { return static_cast<std::size_t>(call); }

    static bool usable(const WaveHeader* header, std::uint32_t size) {
        return header != nullptr && size == WaveHeaderSize && header->Data != nullptr &&
               header->BufferLength > 0;
    }

    // Counts the call; true when it is to fail.
    bool count(AudioCall call) {
        ++calls_[Index(call)];
        Failure& f = failures_[Index(call)];
        if (f.times <= 0) return false;
        if (f.skip > 0) {
            --f.skip;
            return false;
        }
        if (f.times != std::numeric_limits<std::int32_t>::max()) --f.times;
        return true;
    }

    void handBack(AudioHandle device, Device& d) {
        WaveHeader* header = d.queue.front();
        d.queue.pop_front();
        header->Flags = (header->Flags & ~std::uint32_t{HeaderQueued}) | HeaderDone;
        post(d.target, {MM_WIM_DATA, device, header});
    }

    void post(NotificationTarget target, const WaveInMessage& message) {
        if (poster) {
            poster(target, message);
        } else {
            posted.push_back(message);
        }
    }

    std::map<AudioHandle, Device> devices_;
    std::array<std::int32_t, AudioCallKinds> calls_{};
    std::array<Failure, AudioCallKinds> failures_{};
};

}  // namespace vireon::testing
