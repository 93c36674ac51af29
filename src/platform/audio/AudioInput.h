#pragma once
// The recording service the capture logic talks to, shaped like the classic wave-in calls:
// open a device for a format, prepare and queue buffers, start, reset, unprepare, close.
// Every call but deviceCount() returns 0 for success. Filled buffers come back as
// notifications posted to the target object, strictly in the order they were queued.
//
// Plain C++: the target is only passed through here; the PulseAudio layer (PulseAudioInput) posts a
// WaveInEvent to it, Windows' own wave-in service a window message, and the test fake
// (tests/support/FakeAudioInput.h) queues or forwards them.
#include <chrono>
#include <cstdint>

namespace vireon {

// Where a device posts its notifications: the window that opened it, whatever the platform calls
// a window (a QObject on Linux, an HWND on Windows).
using NotificationTarget = void*;

// Identifies one opened device. Every open hands out a new value, never reused in a run,
// so a notification of a closed device can never be taken for one of a newer device.
using AudioHandle = std::uint32_t;
constexpr AudioHandle NoAudioHandle = 0;

// Results of the calls. Callers only ever compare with AudioOk.
enum AudioResult : std::int32_t {
    AudioOk = 0,
    AudioError = 1,
    AudioBadDevice = 2,
    AudioInvalidHandle = 5,
    AudioNoMemory = 7,
    AudioInvalidParam = 11,
    AudioBadFormat = 32,
    AudioStillRecording = 33,
    AudioUnprepared = 34,
};

// Recording format record. The only format the program asks for is PcmMono8000().
struct WaveFormat {
    std::uint16_t FormatTag = 0;
    std::uint16_t Channels = 0;
    std::uint32_t SamplesPerSec = 0;
    std::uint32_t AvgBytesPerSec = 0;
    std::uint16_t BlockAlign = 0;
    std::uint16_t BitsPerSample = 0;
    std::uint16_t ExtraSize = 0;
    bool operator==(const WaveFormat&) const = default;
};

constexpr std::uint16_t WaveFormatPcm = 1;

// 8000 samples per second, 8-bit unsigned (128 is silence), mono.
constexpr WaveFormat PcmMono8000() {
    return WaveFormat{WaveFormatPcm, 1, 8000, 8000, 1, 8, 0};
}

// Flags the service keeps in WaveHeader::Flags.
enum WaveHeaderFlags : std::uint32_t {
    HeaderDone = 1,      // handed back filled (or by a reset)
    HeaderPrepared = 2,  // between prepareHeader and unprepareHeader
    HeaderQueued = 16,   // owned by the device: between addBuffer and its notification
};

// One capture buffer's header. Whoever makes the buffer owns header and sample block; from
// addBuffer until the buffer's notification the device owns them and nothing else touches them.
struct WaveHeader {
    std::uint8_t* Data = nullptr;  // the sample block
    std::int32_t BufferLength = 0;
    std::int32_t BytesRecorded = 0;  // filled in by the service when the buffer comes back
    std::uintptr_t User = 0;
    std::uint32_t Flags = 0;
    std::uint32_t Loops = 0;
    WaveHeader* Next = nullptr;   // the service's own
    std::uintptr_t Reserved = 0;  // the service's own
};

// The size every header call is given; a call with another size is refused.
constexpr std::uint32_t WaveHeaderSize = sizeof(WaveHeader);

// Notification numbers.
constexpr std::int32_t MM_WIM_OPEN = 958;
constexpr std::int32_t MM_WIM_CLOSE = 959;
constexpr std::int32_t MM_WIM_DATA = 960;
// The device stopped delivering on its own (sound server gone, device unplugged). Its queued
// buffers stay queued until the owner resets the device.
constexpr std::int32_t WIM_DEVICE_LOST = 0x7C01;

// How long a recording device may deliver nothing while it records before it counts as lost.
// A device normally delivers every few tens of milliseconds; the longest healthy pause seen, a
// PulseAudio null sink with nothing looped in, is about 2 s. Five seconds stay well clear of that
// and of a loaded machine's hiccups, and still tell the user why the waterfall froze before they
// give up on the band. Timed on a clock that stands still while the machine sleeps.
constexpr std::chrono::milliseconds DeviceStallBound{5000};

// One notification: which message, from which device, and for MM_WIM_DATA the returned header.
struct WaveInMessage {
    std::int32_t Message = 0;
    AudioHandle Device = NoAudioHandle;
    WaveHeader* Header = nullptr;
    bool operator==(const WaveInMessage&) const = default;
};

class AudioInput {
public:
    virtual ~AudioInput() = default;

    // Number of recording devices; 0 when there is none.
    virtual std::int32_t deviceCount() = 0;
    // Opens device number deviceId (0: the system's default recording source) for the format.
    // On success stores the new handle and posts MM_WIM_OPEN to target; on failure stores
    // NoAudioHandle.
    virtual std::int32_t open(AudioHandle& handle, std::int32_t deviceId, const WaveFormat& format,
                              NotificationTarget target) = 0;
    virtual std::int32_t prepareHeader(AudioHandle device, WaveHeader* header,
                                       std::uint32_t size) = 0;
    // Queues a prepared buffer; queued buffers are filled in queue order and each full one is
    // handed back with MM_WIM_DATA, in that order. Full buffers may be held to go back together
    // (about one waterfall column's worth), but not once no queued buffer has room left.
    virtual std::int32_t addBuffer(AudioHandle device, WaveHeader* header, std::uint32_t size) = 0;
    virtual std::int32_t start(AudioHandle device) = 0;
    // Stops recording and hands back every queued buffer, each with its own MM_WIM_DATA, in
    // queue order: the partly filled one with what it holds, the others with 0 bytes.
    virtual std::int32_t reset(AudioHandle device) = 0;
    virtual std::int32_t unprepareHeader(AudioHandle device, WaveHeader* header,
                                         std::uint32_t size) = 0;
    // Refused while buffers are queued. Posts MM_WIM_CLOSE; the handle is dead afterwards.
    virtual std::int32_t close(AudioHandle device) = 0;
};

}  // namespace vireon
