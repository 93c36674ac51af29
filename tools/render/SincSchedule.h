#pragma once
// Where each output of libsamplerate's sinc converter lies, and when its stream ends, worked
// out without the samples: the converter's own position arithmetic and buffer bookkeeping,
// call by call as the reader drives it. The outputs themselves can then be computed in any
// order, on several cores, and still come out as the library's.
#include <cstdint>
#include <vector>

#include "tools/render/SincFilter.h"

namespace vireon::render {

// One output: the input sample it is centred on and the filter's fixed-point offset there.
struct SincPoint {
    int64_t centre;
    int32_t start;
};

// The arithmetic every output shares.
struct SincGeometry {
    int32_t increment;  // filter index per input sample, fixed point with 12 fraction bits
    int32_t maxIndex;   // the last coefficient's index, fixed point
    double scale;       // the gain by which a downsampling filter is widened
    int32_t halfSpan;   // input samples each side of the centre a kernel may read
};

struct ConverterCall {
    long used;
    long generated;
};

class SincSchedule {
public:
    SincSchedule(const SincFilter& filter, double ratio);

    // One src_process call with these counts; appends the points of the outputs it makes.
    ConverterCall Process(long inputFrames, long outputFrames, bool endOfInput,
                          std::vector<SincPoint>& points);
    const SincGeometry& Geometry() const { return geometry_; }

private:
    void PrepareData(long inCount, long& inUsed, bool endOfInput);
    void MoveToStart();

    double ratio_;
    double floatIncrement_;
    SincGeometry geometry_;
    int32_t halfFilter_;  // samples kept each side of the centre
    int32_t bufferLength_;
    int32_t current_ = 0;
    int32_t end_ = 0;
    int32_t realEnd_ = -1;
    int64_t firstSlot_ = 0;  // the buffer slot of input sample 0
    double position_ = 0.0;
};

}  // namespace vireon::render
