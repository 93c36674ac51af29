#include "platform/windows/WaveInAudioInput.h"

#include <algorithm>
#include <cstddef>

namespace vireon {
namespace {

// Our header is handed to Windows as its WAVEHDR, and our results and flags are Windows' own.
static_assert(sizeof(WaveHeader) == sizeof(WAVEHDR));
static_assert(offsetof(WaveHeader, Data) == offsetof(WAVEHDR, lpData));
static_assert(offsetof(WaveHeader, BufferLength) == offsetof(WAVEHDR, dwBufferLength));
static_assert(offsetof(WaveHeader, BytesRecorded) == offsetof(WAVEHDR, dwBytesRecorded));
static_assert(offsetof(WaveHeader, User) == offsetof(WAVEHDR, dwUser));
static_assert(offsetof(WaveHeader, Flags) == offsetof(WAVEHDR, dwFlags));
static_assert(offsetof(WaveHeader, Loops) == offsetof(WAVEHDR, dwLoops));
static_assert(offsetof(WaveHeader, Next) == offsetof(WAVEHDR, lpNext));
static_assert(offsetof(WaveHeader, Reserved) == offsetof(WAVEHDR, reserved));
static_assert(HeaderDone == WHDR_DONE && HeaderPrepared == WHDR_PREPARED &&
              HeaderQueued == WHDR_INQUEUE);
static_assert(AudioOk == MMSYSERR_NOERROR && AudioError == MMSYSERR_ERROR &&
              AudioBadDevice == MMSYSERR_BADDEVICEID &&
              AudioInvalidHandle == MMSYSERR_INVALHANDLE && AudioNoMemory == MMSYSERR_NOMEM &&
              AudioInvalidParam == MMSYSERR_INVALPARAM && AudioBadFormat == WAVERR_BADFORMAT &&
              AudioStillRecording == WAVERR_STILLPLAYING && AudioUnprepared == WAVERR_UNPREPARED);

WAVEHDR* AsWaveHdr(WaveHeader* header) {
    return reinterpret_cast<WAVEHDR*>(header);
}

std::int32_t Result(MMRESULT result) {
    return static_cast<std::int32_t>(result);
}

// One of the header calls on an open device; our header is handed over as the WAVEHDR.
std::int32_t HeaderCall(MMRESULT(WINAPI* call)(HWAVEIN, WAVEHDR*, UINT), HWAVEIN wave,
                        WaveHeader* header, std::uint32_t size) {
    if (wave == nullptr) return AudioInvalidHandle;
    if (size != WaveHeaderSize || header == nullptr) return AudioInvalidParam;
    return Result(call(wave, AsWaveHdr(header), sizeof(WAVEHDR)));
}

}  // namespace

HWAVEIN WaveInAudioInput::Find(AudioHandle handle) const {
    for (const Device& device : devices_) {
        if (device.Handle == handle && !device.Closed) return device.Wave;
    }
    return nullptr;
}

std::int32_t WaveInAudioInput::deviceCount() {
    return static_cast<std::int32_t>(::waveInGetNumDevs());
}

std::int32_t WaveInAudioInput::open(AudioHandle& handle, std::int32_t deviceId,
                                    const WaveFormat& format, NotificationTarget target) {
    handle = NoAudioHandle;
    WAVEFORMATEX wave{};
    wave.wFormatTag = format.FormatTag;
    wave.nChannels = format.Channels;
    wave.nSamplesPerSec = format.SamplesPerSec;
    wave.nAvgBytesPerSec = format.AvgBytesPerSec;
    wave.nBlockAlign = format.BlockAlign;
    wave.wBitsPerSample = format.BitsPerSample;
    wave.cbSize = format.ExtraSize;
    HWAVEIN opened = nullptr;
    const MMRESULT result = ::waveInOpen(&opened, static_cast<UINT>(deviceId), &wave,
                                         reinterpret_cast<DWORD_PTR>(target), 0, CALLBACK_WINDOW);
    if (result != MMSYSERR_NOERROR) return Result(result);
    // A new handle for every open: the HWAVEIN of a closed device may come again.
    handle = ++lastHandle_;
    devices_.push_back({handle, opened, false});
    return AudioOk;
}

std::int32_t WaveInAudioInput::prepareHeader(AudioHandle device, WaveHeader* header,
                                             std::uint32_t size) {
    return HeaderCall(::waveInPrepareHeader, Find(device), header, size);
}

std::int32_t WaveInAudioInput::addBuffer(AudioHandle device, WaveHeader* header,
                                         std::uint32_t size) {
    return HeaderCall(::waveInAddBuffer, Find(device), header, size);
}

std::int32_t WaveInAudioInput::start(AudioHandle device) {
    const HWAVEIN wave = Find(device);
    return wave == nullptr ? AudioInvalidHandle : Result(::waveInStart(wave));
}

std::int32_t WaveInAudioInput::reset(AudioHandle device) {
    const HWAVEIN wave = Find(device);
    return wave == nullptr ? AudioInvalidHandle : Result(::waveInReset(wave));
}

std::int32_t WaveInAudioInput::unprepareHeader(AudioHandle device, WaveHeader* header,
                                               std::uint32_t size) {
    return HeaderCall(::waveInUnprepareHeader, Find(device), header, size);
}

std::int32_t WaveInAudioInput::close(AudioHandle device) {
    const auto it = std::find_if(devices_.begin(), devices_.end(), [device](const Device& d) {
        return d.Handle == device && !d.Closed;
    });
    if (it == devices_.end()) return AudioInvalidHandle;
    const MMRESULT result = ::waveInClose(it->Wave);
    // Kept until its MM_WIM_CLOSE, which is on its way to the window.
    if (result == MMSYSERR_NOERROR) it->Closed = true;
    return Result(result);
}

bool WaveInAudioInput::Translate(UINT message, WPARAM wParam, LPARAM lParam,
                                 WaveInMessage& result) {
    if (message != MM_WIM_OPEN && message != MM_WIM_DATA && message != MM_WIM_CLOSE) return false;
    const auto wave = reinterpret_cast<HWAVEIN>(wParam);
    // MM_WIM_CLOSE comes after the close, from a device that is no longer open; a later open
    // may already have been given the same HWAVEIN.
    const bool closing = message == MM_WIM_CLOSE;
    const auto it = std::find_if(devices_.begin(), devices_.end(), [&](const Device& d) {
        return d.Wave == wave && d.Closed == closing;
    });
    result.Message = static_cast<std::int32_t>(message);
    result.Device = it != devices_.end() ? it->Handle : NoAudioHandle;
    result.Header = message == MM_WIM_DATA ? reinterpret_cast<WaveHeader*>(lParam) : nullptr;
    if (closing && it != devices_.end()) devices_.erase(it);
    return true;
}

}  // namespace vireon
