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

// Milliseconds on a clock that stands still while the machine sleeps, so that a resume is not
// taken for a stall.
std::uint64_t Now() {
    ULONGLONG ticks = 0;  // of 100 ns
    ::QueryUnbiasedInterruptTime(&ticks);
    return ticks / 10000;
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

WaveInAudioInput::WaveInAudioInput(std::chrono::milliseconds stallBound)
    : stallBound_(stallBound) {}

WaveInAudioInput::Device* WaveInAudioInput::Find(AudioHandle handle) {
    for (Device& device : devices_) {
        if (device.Handle == handle && !device.Closed) return &device;
    }
    return nullptr;
}

HWAVEIN WaveInAudioInput::Wave(AudioHandle handle) {
    const Device* device = Find(handle);
    return device != nullptr ? device->Wave : nullptr;
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
    devices_.push_back({handle, opened, static_cast<HWND>(target), format.AvgBytesPerSec});
    return AudioOk;
}

std::int32_t WaveInAudioInput::prepareHeader(AudioHandle device, WaveHeader* header,
                                             std::uint32_t size) {
    return HeaderCall(::waveInPrepareHeader, Wave(device), header, size);
}

std::int32_t WaveInAudioInput::addBuffer(AudioHandle device, WaveHeader* header,
                                         std::uint32_t size) {
    const std::int32_t result = HeaderCall(::waveInAddBuffer, Wave(device), header, size);
    if (result == AudioOk) {
        Device& added = *Find(device);
        ++added.Queued;
        added.LongestBuffer = std::max(added.LongestBuffer, header->BufferLength);
    }
    return result;
}

std::int32_t WaveInAudioInput::start(AudioHandle device) {
    Device* started = Find(device);
    if (started == nullptr) return AudioInvalidHandle;
    const MMRESULT result = ::waveInStart(started->Wave);
    if (result == MMSYSERR_NOERROR) {
        started->Watched = true;
        started->LastHeard = Now();
        // A tenth of the bound: a stall is told at most that much late.
        ::SetTimer(started->Target, StallTimer, static_cast<UINT>(stallBound_.count() / 10 + 1),
                   nullptr);
        if (std::find(timed_.begin(), timed_.end(), started->Target) == timed_.end())
            timed_.push_back(started->Target);
    }
    return Result(result);
}

std::int32_t WaveInAudioInput::reset(AudioHandle device) {
    Device* stopped = Find(device);
    if (stopped == nullptr) return AudioInvalidHandle;
    // Stopped on purpose: its buffers come back now, and nothing after.
    stopped->Watched = false;
    return Result(::waveInReset(stopped->Wave));
}

std::int32_t WaveInAudioInput::unprepareHeader(AudioHandle device, WaveHeader* header,
                                               std::uint32_t size) {
    return HeaderCall(::waveInUnprepareHeader, Wave(device), header, size);
}

std::int32_t WaveInAudioInput::close(AudioHandle device) {
    Device* closed = Find(device);
    if (closed == nullptr) return AudioInvalidHandle;
    const MMRESULT result = ::waveInClose(closed->Wave);
    // Kept until its MM_WIM_CLOSE, which is on its way to the window.
    if (result == MMSYSERR_NOERROR) closed->Closed = true;
    return Result(result);
}

bool WaveInAudioInput::Stall(WaveInMessage& result) {
    const std::uint64_t now = Now();
    bool watching = false;
    for (Device& device : devices_) {
        if (device.Closed || !device.Watched) continue;
        watching = true;
        if (device.Queued == 0) continue;  // nothing it could hand back
        const std::uint64_t filling =
            device.BytesPerSecond == 0
                ? 0
                : static_cast<std::uint64_t>(device.LongestBuffer) * 1000 / device.BytesPerSecond;
        if (now - device.LastHeard < static_cast<std::uint64_t>(stallBound_.count()) + filling)
            continue;
        device.Watched = false;  // told once
        result = {WIM_DEVICE_LOST, device.Handle, nullptr};
        return true;
    }
    // Nothing left to watch: the timer rests until the next start.
    if (!watching) {
        for (const HWND window : timed_) ::KillTimer(window, StallTimer);
        timed_.clear();
    }
    return false;
}

bool WaveInAudioInput::Translate(UINT message, WPARAM wParam, LPARAM lParam,
                                 WaveInMessage& result) {
    if (message == WM_TIMER && wParam == StallTimer) return Stall(result);
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
    if (message == MM_WIM_DATA && it != devices_.end()) {
        it->Queued = std::max(it->Queued - 1, 0);
        it->LastHeard = Now();
    }
    if (closing && it != devices_.end()) devices_.erase(it);
    return true;
}

}  // namespace vireon
