#include "platform/linux/audio/PulseAudioInput.h"

#include <optional>

#include "platform/linux/audio/PulseAudioDevice.h"

namespace vireon {
namespace {

std::optional<pa_sample_spec> ToSampleFormat(const WaveFormat& format) {
    if (format.FormatTag != WaveFormatPcm || format.Channels < 1 || format.SamplesPerSec < 1 ||
        format.ExtraSize != 0) {
        return std::nullopt;
    }
    pa_sample_spec sampleFormat{};
    switch (format.BitsPerSample) {
        case 8:
            sampleFormat.format = PA_SAMPLE_U8;
            break;
        case 16:
            sampleFormat.format = PA_SAMPLE_S16LE;
            break;
        default:
            return std::nullopt;
    }
    const std::uint32_t frameBytes = format.Channels * format.BitsPerSample / 8u;
    if (format.BlockAlign != frameBytes ||
        format.AvgBytesPerSec != format.SamplesPerSec * frameBytes) {
        return std::nullopt;
    }
    sampleFormat.rate = format.SamplesPerSec;
    sampleFormat.channels = static_cast<std::uint8_t>(format.Channels);
    if (format.Channels > PA_CHANNELS_MAX || pa_sample_spec_valid(&sampleFormat) == 0)
        return std::nullopt;
    return sampleFormat;
}

bool HeaderUsable(const WaveHeader* header, std::uint32_t size) {
    return header != nullptr && size == WaveHeaderSize && header->Data != nullptr &&
           header->BufferLength > 0;
}

}  // namespace

PulseAudioInput::PulseAudioInput(std::int32_t chunkBytes) : chunkBytes_(chunkBytes) {}

PulseAudioInput::~PulseAudioInput() = default;

PulseAudioDevice* PulseAudioInput::find(AudioHandle device) const {
    const auto it = devices_.find(device);
    return it == devices_.end() ? nullptr : it->second.get();
}

std::int32_t PulseAudioInput::deviceCount() {
    return connection_.CountSources();
}

std::int32_t PulseAudioInput::open(AudioHandle& handle, std::int32_t deviceId,
                                   const WaveFormat& format, NotificationTarget target) {
    handle = NoAudioHandle;
    if (deviceId != 0) return AudioBadDevice;
    if (!connection_.HasDefaultSource()) return AudioBadDevice;
    const std::optional<pa_sample_spec> sampleFormat = ToSampleFormat(format);
    if (!sampleFormat) return AudioBadFormat;

    const AudioHandle opened = ++lastHandle_;
    auto made =
        std::make_unique<PulseAudioDevice>(connection_, opened, *sampleFormat, target, chunkBytes_);
    PulseAudioDevice& added = *devices_.emplace(opened, std::move(made)).first->second;
    handle = opened;
    added.Post(MM_WIM_OPEN);
    return AudioOk;
}

std::int32_t PulseAudioInput::prepareHeader(AudioHandle device, WaveHeader* header,
                                            std::uint32_t size) {
    if (find(device) == nullptr) return AudioInvalidHandle;
    if (!HeaderUsable(header, size)) return AudioInvalidParam;
    if ((header->Flags & HeaderQueued) != 0) return AudioStillRecording;
    header->Flags |= HeaderPrepared;
    return AudioOk;
}

std::int32_t PulseAudioInput::addBuffer(AudioHandle device, WaveHeader* header,
                                        std::uint32_t size) {
    PulseAudioDevice* opened = find(device);
    if (opened == nullptr) return AudioInvalidHandle;
    if (!HeaderUsable(header, size)) return AudioInvalidParam;
    if ((header->Flags & HeaderPrepared) == 0) return AudioUnprepared;
    if ((header->Flags & HeaderQueued) != 0) return AudioStillRecording;
    header->BytesRecorded = 0;
    header->Flags = (header->Flags & ~static_cast<std::uint32_t>(HeaderDone)) | HeaderQueued;
    opened->Enqueue(header);
    return AudioOk;
}

std::int32_t PulseAudioInput::start(AudioHandle device) {
    PulseAudioDevice* opened = find(device);
    if (opened == nullptr) return AudioInvalidHandle;
    return opened->Start() ? AudioOk : AudioError;
}

std::int32_t PulseAudioInput::reset(AudioHandle device) {
    PulseAudioDevice* opened = find(device);
    if (opened == nullptr) return AudioInvalidHandle;
    opened->Reset();
    return AudioOk;
}

std::int32_t PulseAudioInput::unprepareHeader(AudioHandle device, WaveHeader* header,
                                              std::uint32_t size) {
    if (find(device) == nullptr) return AudioInvalidHandle;
    if (header == nullptr || size != WaveHeaderSize) return AudioInvalidParam;
    if ((header->Flags & HeaderQueued) != 0) return AudioStillRecording;
    header->Flags &= ~static_cast<std::uint32_t>(HeaderPrepared);
    return AudioOk;
}

std::int32_t PulseAudioInput::close(AudioHandle device) {
    const auto it = devices_.find(device);
    if (it == devices_.end()) return AudioInvalidHandle;
    if (it->second->HasQueued()) return AudioStillRecording;
    it->second->Post(MM_WIM_CLOSE);
    devices_.erase(it);
    return AudioOk;
}

}  // namespace vireon
