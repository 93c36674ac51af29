#include "app/capture/Capture.h"

#include <algorithm>
#include <new>

namespace vireon {
namespace {

void Warn(const CaptureContext& context, const char* text) {
    context.Boxes.Show(text, "", MB_ICONEXCLAMATION);
}

// The device a buffer was queued at, as AddBuffer recorded it.
AudioHandle QueuedAt(const WaveHeader* header) {
    return static_cast<AudioHandle>(header->User);
}

void FreeBuffer(WaveHeader* header) {
    delete[] header->Data;
    delete header;
}

// The count a buffer queued at `device` is kept in; null for a device capture no longer knows.
std::int32_t* OutstandingOf(CaptureState& state, AudioHandle device) {
    if (device == NoAudioHandle) return nullptr;
    if (device == state.WaveInHandle) return &state.BuffersOutstanding;
    for (auto& earlier : state.EarlierDevices) {
        if (earlier.Handle == device) return &earlier.Outstanding;
    }
    return nullptr;
}

// Closes `device` once none of its buffers is out any more.
void CloseIfDrained(CaptureState& state, const CaptureContext& context, AudioHandle device) {
    if (device == NoAudioHandle) return;
    if (device == state.WaveInHandle) {
        if (state.BuffersOutstanding == 0) {
            context.Audio.close(device);
            state.WaveInHandle = NoAudioHandle;
        }
        return;
    }
    auto& earlier = state.EarlierDevices;
    const auto it = std::find_if(earlier.begin(), earlier.end(),
                                 [device](const EarlierDevice& d) { return d.Handle == device; });
    if (it != earlier.end() && it->Outstanding == 0) {
        context.Audio.close(device);
        earlier.erase(it);
    }
}

// Makes the current device an earlier one so that a new open cannot mix up their buffers.
void SetAsideCurrentDevice(CaptureState& state, const CaptureContext& context) {
    if (state.WaveInHandle != NoAudioHandle) {
        if (state.BuffersOutstanding > 0) {
            state.EarlierDevices.push_back({state.WaveInHandle, state.BuffersOutstanding});
        } else {
            context.Audio.close(state.WaveInHandle);
        }
    }
    state.WaveInHandle = NoAudioHandle;
    state.BuffersOutstanding = 0;
}

}  // namespace

std::int32_t CaptureBufferBytes(std::int32_t blockLenMultipler) {
    return std::clamp(blockLenMultipler, MinBlockLenMultipler, MaxBlockLenMultipler) << 7;
}

void StartReceive(CaptureState& state, const CaptureContext& context) {
    if (state.Receiving) return;
    if (context.Audio.deviceCount() < 1) {
        Warn(context, NoDevicesText);
        return;
    }
    // A stopped device may still be handing back buffers whose notifications are queued.
    SetAsideCurrentDevice(state, context);
    if (context.Audio.open(state.WaveInHandle, 0, PcmMono8000(), context.Target) != AudioOk) {
        state.WaveInHandle = NoAudioHandle;
        Warn(context, OpenFailedText);
        return;
    }
    for (std::int32_t i = 0; i < CaptureBufferCount; ++i) AddBuffer(state, context);
    if (context.Audio.start(state.WaveInHandle) != AudioOk) {
        // Hand the buffers back so they are freed and the device closed as they return.
        context.Audio.reset(state.WaveInHandle);
        SetAsideCurrentDevice(state, context);
        Warn(context, StartFailedText);
        return;
    }
    state.Receiving = true;
    state.Stopping = false;
    context.Host.UpdateReceiveMenus();
}

void StopReceive(CaptureState& state, const CaptureContext& context) {
    if (!state.Receiving) return;
    context.Audio.reset(state.WaveInHandle);
    state.Stopping = true;
    state.Receiving = false;
    context.Host.UpdateReceiveMenus();
    // With nothing queued, no notification would ever come back to close the device.
    if (state.WaveInHandle != NoAudioHandle && state.BuffersOutstanding == 0) {
        context.Audio.close(state.WaveInHandle);
        state.WaveInHandle = NoAudioHandle;
    }
}

void AddBuffer(CaptureState& state, const CaptureContext& context) {
    const std::int32_t bytes = CaptureBufferBytes(context.BlockLenMultipler);
    auto* header = new (std::nothrow) WaveHeader{};
    std::uint8_t* block = header != nullptr ? new (std::nothrow) std::uint8_t[bytes] : nullptr;
    if (block == nullptr) {
        delete header;
        Warn(context, PrepareFailedText);
        return;
    }
    header->Data = block;
    header->BufferLength = bytes;
    header->BytesRecorded = 0;
    header->User = state.WaveInHandle;  // which device the buffer belongs to
    header->Flags = 0;
    header->Loops = 0;

    const AudioHandle device = state.WaveInHandle;
    if (context.Audio.prepareHeader(device, header, WaveHeaderSize) != AudioOk) {
        FreeBuffer(header);  // the device never had it
        Warn(context, PrepareFailedText);
        return;
    }
    if (context.Audio.addBuffer(device, header, WaveHeaderSize) != AudioOk) {
        context.Audio.unprepareHeader(device, header, WaveHeaderSize);
        FreeBuffer(header);
        Warn(context, QueueFailedText);
        return;
    }
    ++state.BuffersOutstanding;
}

bool ReleaseBuffer(CaptureState& state, const CaptureContext& context, WaveHeader* header) {
    const AudioHandle device = QueuedAt(header);
    if (context.Audio.unprepareHeader(device, header, WaveHeaderSize) != AudioOk) {
        Warn(context, UnprepareFailedText);
        return false;
    }
    FreeBuffer(header);
    if (std::int32_t* outstanding = OutstandingOf(state, device)) --*outstanding;
    return true;
}

void WaveInData(CaptureState& state, const CaptureContext& context, const WaveInMessage& message) {
    WaveHeader* header = message.Header;
    if (header == nullptr) return;
    const AudioHandle device = QueuedAt(header);
    // Only the current device gets replacements; buffers of an earlier one just drain.
    if (!state.Stopping && device != NoAudioHandle && device == state.WaveInHandle) {
        AddBuffer(state, context);
    }
    const std::int32_t count = std::clamp(header->BytesRecorded, 0, header->BufferLength);
    context.Host.ProcessSamples(header->Data, count);
    ReleaseBuffer(state, context, header);
    CloseIfDrained(state, context, device);
}

void FormClose(CaptureState& state, const CaptureContext& context) {
    if (state.Receiving) StopReceive(state, context);
}

void DeviceLost(CaptureState& state, const CaptureContext& context, const WaveInMessage& message) {
    if (!state.Receiving || message.Device == NoAudioHandle ||
        message.Device != state.WaveInHandle) {
        return;  // already stopped, or an earlier device: its buffers were handed back then
    }
    StopReceive(state, context);
    Warn(context, DeviceLostText);
}

bool DispatchWaveInMessage(CaptureState& state, const CaptureContext& context,
                           const WaveInMessage& message) {
    switch (message.Message) {
        case MM_WIM_DATA:
            WaveInData(state, context, message);
            return true;
        case MM_WIM_CLOSE:
            return true;
        case WIM_DEVICE_LOST:
            DeviceLost(state, context, message);
            return true;
        default:
            return false;
    }
}

}  // namespace vireon
