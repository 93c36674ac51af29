#pragma once
// A one-line progress indication on a terminal, for recordings long enough to wait for.
#include <cstdint>
#include <cstdio>

namespace vireon::render {

class Progress {
public:
    // expectedSamples < 0: unknown length (standard input); then the minutes read are shown.
    // Shows nothing unless enabled (stderr is a terminal) and the recording is long.
    Progress(FILE* out, bool enabled, int64_t expectedSamples);
    ~Progress() { Finish(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    void Update(int64_t samplesRead);
    void Finish();

private:
    FILE* out_;
    bool active_;
    int64_t expected_;
    int64_t lastShown_ = -1;
};

}  // namespace vireon::render
