#pragma once
// Runs a piece of work in a forked child and reports how long it took, how far the child's
// resident memory rose above where it started, and what the work said about itself. A child
// that overruns its time is killed, so a hang fails the test instead of stalling the suite.
#include <functional>
#include <string>

namespace vireon::testing {

struct BoundedRun {
    bool finished = false;  // the child ran to its end within the time limit
    double seconds = 0.0;
    long long peakGrowthKiB = -1;  // peak resident size minus resident size at the start
    std::string outcome;           // what the work returned, or "exception: <what>"
};

BoundedRun RunBounded(const std::function<std::string()>& work, double limitSeconds);

// Resident memory bound for work on a file of `fileBytes` bytes: `times` the file (twice as
// many under AddressSanitizer) plus slack for the allocator.
long long BoundKiB(long long fileBytes, int times);

}  // namespace vireon::testing
