#include "QtAudioInput.h"

#include <QMediaDevices>
#include <optional>

#include "QtAudioDevice.h"

namespace vireon {
namespace {

std::optional<QAudioFormat> ToQtFormat(const WaveFormat& format) {
    if (format.FormatTag != WaveFormatPcm || format.Channels < 1 || format.SamplesPerSec < 1 ||
        format.ExtraSize != 0) {
        return std::nullopt;
    }
    QAudioFormat::SampleFormat sampleFormat;
    switch (format.BitsPerSample) {
        case 8:
            sampleFormat = QAudioFormat::UInt8;
            break;
        case 16:
            sampleFormat = QAudioFormat::Int16;
            break;
        default:
            return std::nullopt;
    }
    const std::uint32_t frameBytes = format.Channels * format.BitsPerSample / 8u;
    if (format.BlockAlign != frameBytes ||
        format.AvgBytesPerSec != format.SamplesPerSec * frameBytes) {
        return std::nullopt;
    }
    QAudioFormat qt;
    qt.setSampleRate(static_cast<int>(format.SamplesPerSec));
    qt.setChannelCount(format.Channels);
    qt.setSampleFormat(sampleFormat);
    return qt;
}

bool HeaderUsable(const WaveHeader* header, std::uint32_t size) {
    return header != nullptr && size == WaveHeaderSize && header->Data != nullptr &&
           header->BufferLength > 0;
}

}  // namespace

QtAudioInput::QtAudioInput(std::int32_t chunkBytes) : chunkBytes_(chunkBytes) {}

QtAudioInput::~QtAudioInput() = default;

QtAudioDevice* QtAudioInput::find(AudioHandle device) const {
    const auto it = devices_.find(device);
    return it == devices_.end() ? nullptr : it->second.get();
}

std::int32_t QtAudioInput::deviceCount() {
    return static_cast<std::int32_t>(QMediaDevices::audioInputs().size());
}

std::int32_t QtAudioInput::open(AudioHandle& handle, std::int32_t deviceId,
                                const WaveFormat& format, QObject* target) {
    handle = NoAudioHandle;
    if (deviceId != 0) return AudioBadDevice;
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) return AudioBadDevice;
    const std::optional<QAudioFormat> qtFormat = ToQtFormat(format);
    if (!qtFormat || !device.isFormatSupported(*qtFormat)) return AudioBadFormat;

    const AudioHandle opened = ++lastHandle_;
    auto made = std::make_unique<QtAudioDevice>(opened, device, *qtFormat, target, chunkBytes_);
    QtAudioDevice& added = *devices_.emplace(opened, std::move(made)).first->second;
    handle = opened;
    added.post(MM_WIM_OPEN);
    return AudioOk;
}

std::int32_t QtAudioInput::prepareHeader(AudioHandle device, WaveHeader* header,
                                         std::uint32_t size) {
    if (find(device) == nullptr) return AudioInvalidHandle;
    if (!HeaderUsable(header, size)) return AudioInvalidParam;
    if ((header->Flags & HeaderQueued) != 0) return AudioStillRecording;
    header->Flags |= HeaderPrepared;
    return AudioOk;
}

std::int32_t QtAudioInput::addBuffer(AudioHandle device, WaveHeader* header, std::uint32_t size) {
    QtAudioDevice* opened = find(device);
    if (opened == nullptr) return AudioInvalidHandle;
    if (!HeaderUsable(header, size)) return AudioInvalidParam;
    if ((header->Flags & HeaderPrepared) == 0) return AudioUnprepared;
    if ((header->Flags & HeaderQueued) != 0) return AudioStillRecording;
    header->BytesRecorded = 0;
    header->Flags = (header->Flags & ~static_cast<std::uint32_t>(HeaderDone)) | HeaderQueued;
    opened->enqueue(header);
    return AudioOk;
}

std::int32_t QtAudioInput::start(AudioHandle device) {
    QtAudioDevice* opened = find(device);
    if (opened == nullptr) return AudioInvalidHandle;
    return opened->start() ? AudioOk : AudioError;
}

std::int32_t QtAudioInput::reset(AudioHandle device) {
    QtAudioDevice* opened = find(device);
    if (opened == nullptr) return AudioInvalidHandle;
    opened->reset();
    return AudioOk;
}

std::int32_t QtAudioInput::unprepareHeader(AudioHandle device, WaveHeader* header,
                                           std::uint32_t size) {
    if (find(device) == nullptr) return AudioInvalidHandle;
    if (header == nullptr || size != WaveHeaderSize) return AudioInvalidParam;
    if ((header->Flags & HeaderQueued) != 0) return AudioStillRecording;
    header->Flags &= ~static_cast<std::uint32_t>(HeaderPrepared);
    return AudioOk;
}

std::int32_t QtAudioInput::close(AudioHandle device) {
    const auto it = devices_.find(device);
    if (it == devices_.end()) return AudioInvalidHandle;
    if (it->second->hasQueued()) return AudioStillRecording;
    it->second->post(MM_WIM_CLOSE);
    devices_.erase(it);
    return AudioOk;
}

}  // namespace vireon
