#pragma once
// Raw unsigned 8-bit mono samples at 8000 Hz, from a file or standard input.
#include <string>

#include "tools/render/input/RecordingReader.h"

namespace vireon::render {

class RawRecordingReader final : public RecordingReader {
public:
    // path "-" reads standard input.
    explicit RawRecordingReader(const std::string& path);
    ~RawRecordingReader() override;
    RawRecordingReader(const RawRecordingReader&) = delete;
    RawRecordingReader& operator=(const RawRecordingReader&) = delete;

    std::size_t Read(uint8_t* samples, std::size_t capacity) override;
    int64_t ExpectedSamples() const override { return expected_; }

private:
    std::string name_;
    int fd_ = -1;
    bool ownsFd_ = false;
    int64_t expected_ = -1;
};

}  // namespace vireon::render
