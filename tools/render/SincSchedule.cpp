#include "tools/render/SincSchedule.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vireon::render {

namespace {

constexpr int32_t FractionBits = 12;
constexpr double FixedOne = 1 << FractionBits;
// The library's largest ratio, which sizes its buffer.
constexpr double MaxRatio = 256;

// x minus the nearest integer, moved into [0, 1) (1 itself can come out of the addition).
double FractionOf(double x) {
    const double rest = x - static_cast<double>(std::lrint(x));
    return rest < 0.0 ? rest + 1.0 : rest;
}

int32_t ToFixed(double x) {
    return static_cast<int32_t>(std::lrint(x * FixedOne));
}

}  // namespace

SincSchedule::SincSchedule(const SincFilter& filter, double ratio) : ratio_(ratio) {
    floatIncrement_ = filter.step * (ratio < 1.0 ? ratio : 1.0);
    geometry_.increment = ToFixed(floatIncrement_);
    geometry_.maxIndex = filter.halfLength << FractionBits;
    geometry_.scale = floatIncrement_ / filter.step;
    double count = (filter.halfLength + 2.0) / filter.step;
    if (ratio < 1.0) count /= ratio;
    halfFilter_ = static_cast<int32_t>(std::lrint(count) + 1);
    geometry_.halfSpan = halfFilter_ + 3;
    bufferLength_ = 3 * static_cast<int32_t>(
                            std::lrint((filter.halfLength + 2.0) / filter.step * MaxRatio + 1));
    bufferLength_ = std::max(bufferLength_, 4096) + 1;
}

ConverterCall SincSchedule::Process(long inputFrames, long outputFrames, bool endOfInput,
                                    std::vector<SincPoint>& points) {
    long inUsed = 0;
    long generated = 0;
    double index = position_;
    double rest = FractionOf(index);
    current_ = static_cast<int32_t>((current_ + std::lrint(index - rest)) % bufferLength_);
    index = rest;
    const double terminate = 1.0 / ratio_ + 1e-20;
    while (generated < outputFrames) {
        int32_t inHand = (end_ - current_ + bufferLength_) % bufferLength_;
        if (inHand <= halfFilter_) {
            PrepareData(inputFrames, inUsed, endOfInput);
            inHand = (end_ - current_ + bufferLength_) % bufferLength_;
            if (inHand <= halfFilter_) break;
        }
        if (realEnd_ >= 0 && current_ + index + terminate > realEnd_) break;
        points.push_back({current_ - firstSlot_, ToFixed(index * floatIncrement_)});
        ++generated;
        index += 1.0 / ratio_;
        rest = FractionOf(index);
        current_ = static_cast<int32_t>((current_ + std::lrint(index - rest)) % bufferLength_);
        index = rest;
    }
    position_ = index;
    return {inUsed, generated};
}

void SincSchedule::MoveToStart() {
    firstSlot_ -= current_ - halfFilter_;
    const int32_t held = end_ - current_;
    current_ = halfFilter_;
    end_ = current_ + held;
}

void SincSchedule::PrepareData(long inCount, long& inUsed, bool endOfInput) {
    if (realEnd_ >= 0) return;
    long room;
    if (current_ == 0) {
        room = bufferLength_ - 2 * halfFilter_;
        current_ = end_ = halfFilter_;
        firstSlot_ = halfFilter_;
    } else if (end_ + halfFilter_ + 1 < bufferLength_) {
        room = std::max(bufferLength_ - current_ - halfFilter_, 0);
    } else {
        MoveToStart();
        room = std::max(bufferLength_ - current_ - halfFilter_, 0);
    }
    const long taken = std::min(inCount - inUsed, room);
    if (taken < 0 || end_ + taken > bufferLength_)
        throw std::logic_error("sinc schedule: the buffer would overflow");
    end_ += static_cast<int32_t>(taken);
    inUsed += taken;
    if (inUsed == inCount && end_ - current_ < 2 * halfFilter_ && endOfInput) {
        if (bufferLength_ - end_ < halfFilter_ + 5) MoveToStart();
        realEnd_ = end_;
        int32_t zeros = halfFilter_ + 5;
        if (end_ + zeros > bufferLength_) zeros = bufferLength_ - end_;
        end_ += zeros;
    }
}

}  // namespace vireon::render
