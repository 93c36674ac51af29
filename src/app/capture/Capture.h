#pragma once
// Sound card capture: keeps ten buffers queued at the recording device, hands every filled block
// to the signal chain, and stops, drains and closes the device. Plain C++ over state passed by
// reference; the main window forwards its capture commands and device notifications here.
// docs/architecture.md follows a block from the sound server to the window.
#include <cstdint>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/audio/AudioInput.h"

namespace vireon {

// What capture needs from the window it lives in.
class CaptureHost {
public:
    // Runs one returned block through the signal chain; data is valid only during the call.
    virtual void ProcessSamples(const std::uint8_t* data, std::int32_t count) = 0;
    // Enables Start and disables Stop when not receiving, the other way round when receiving.
    virtual void UpdateReceiveMenus() = 0;

protected:
    ~CaptureHost() = default;
};

// The services capture works through. All references must outlive the context.
struct CaptureContext {
    AudioInput& Audio;
    MessageBoxService& Boxes;
    CaptureHost& Host;
    const std::int32_t& BlockLenMultipler;  // read afresh for every buffer made
    NotificationTarget Target;                        // where the device posts its notifications
};

// A device that was stopped (or failed to start) and then left behind by a new start while
// its buffers were still coming back. Its buffers are processed and freed but never replaced,
// and it is closed when its last one is back.
struct EarlierDevice {
    AudioHandle Handle = NoAudioHandle;
    std::int32_t Outstanding = 0;
};

struct CaptureState {
    bool Receiving = false;  // from a successful StartReceive until the next StopReceive
    bool Stopping = false;   // while set, a buffer that comes back is not replaced
    std::int32_t BuffersOutstanding = 0;  // prepared and queued at WaveInHandle, not yet released
    AudioHandle WaveInHandle = NoAudioHandle;
    std::vector<EarlierDevice> EarlierDevices;
};

constexpr std::int32_t CaptureBufferCount = 10;
constexpr std::int32_t MinBlockLenMultipler = 1;
constexpr std::int32_t MaxBlockLenMultipler = 1024;

// Buffer length in bytes for a multiplier: 128 per step, the multiplier kept within 1..1024.
std::int32_t CaptureBufferBytes(std::int32_t blockLenMultipler);

// Warning texts (shown with an empty title and MB_ICONEXCLAMATION).
inline constexpr const char* NoDevicesText = "There are no recording devices!";
inline constexpr const char* OpenFailedText = "Can't open audio device";
inline constexpr const char* StartFailedText = "Error starting recording";
inline constexpr const char* PrepareFailedText = "Error preparing audio buffer";
inline constexpr const char* QueueFailedText = "Error sending audio buffer to the device";
inline constexpr const char* UnprepareFailedText = "Errore unprepare";
inline constexpr const char* DeviceLostText =
    "Recording stopped: the recording device is no longer available.";

// Opens the default recording device and starts it with ten buffers queued; does nothing while
// receiving.
void StartReceive(CaptureState& state, const CaptureContext& context);
// Resets the device (its buffers come back as notifications) and marks the stop; does nothing
// while not receiving.
void StopReceive(CaptureState& state, const CaptureContext& context);
// Makes, prepares and queues one buffer at WaveInHandle.
void AddBuffer(CaptureState& state, const CaptureContext& context);
// Unprepares and frees a buffer that came back and uncounts it from the device it was queued
// at (AddBuffer records that device in the header's User field). Returns false (after the
// warning) when the unprepare fails: the buffer then stays allocated and counted.
bool ReleaseBuffer(CaptureState& state, const CaptureContext& context, WaveHeader* header);
// Handles one MM_WIM_DATA: replacement first (unless stopping), then the block, then the release,
// and closes the device once none of its buffers is out.
void WaveInData(CaptureState& state, const CaptureContext& context, const WaveInMessage& message);
// The main window is closing: stop receiving. Does not wait for the buffers.
void FormClose(CaptureState& state, const CaptureContext& context);
// The device gave up by itself: stop as the Stop command does and tell the user.
void DeviceLost(CaptureState& state, const CaptureContext& context, const WaveInMessage& message);

// The window's dispatch of device notifications. MM_WIM_DATA -> WaveInData; MM_WIM_CLOSE is
// accepted and ignored; WIM_DEVICE_LOST -> DeviceLost. Returns false for anything else
// (MM_WIM_OPEN included), which goes on to the window's default handling.
bool DispatchWaveInMessage(CaptureState& state, const CaptureContext& context,
                           const WaveInMessage& message);

}  // namespace vireon
