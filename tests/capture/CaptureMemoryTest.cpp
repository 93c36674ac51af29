// Running out of memory while making a capture buffer. This program replaces the nothrow
// allocation functions so a test can make them fail.
#include <cstdlib>
#include <new>

#include "tests/capture/CaptureFixture.h"

namespace {
bool failScalar = false;
bool failArray = false;
}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (failScalar) return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (failArray) return nullptr;
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* p, const std::nothrow_t&) noexcept {
    ::operator delete(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    ::operator delete[](p);
}

namespace vireon::testing {
namespace {

class OutOfMemoryTest : public CaptureTest, public ::testing::WithParamInterface<bool*> {
protected:
    void TearDown() override {
        *GetParam() = false;
        CaptureTest::TearDown();
    }
};

TEST_P(OutOfMemoryTest, BufferThatCannotBeMadeIsReportedLikeAFailedPrepare) {
    StartReceive(state, context);
    *GetParam() = true;
    audio.fillBuffers(state.WaveInHandle, 2);
    deliverAll();
    *GetParam() = false;

    EXPECT_EQ(boxes.shown, std::vector<ShownBox>(2, Warning("Error preparing audio buffer")));
    EXPECT_EQ(window.blocks.size(), 2u);  // the returned blocks are still processed
    EXPECT_EQ(state.BuffersOutstanding, 8);
    EXPECT_EQ(audio.calls(AudioCall::PrepareHeader), 10);  // nothing reached the device
    EXPECT_TRUE(state.Receiving);

    audio.fillBuffers(state.WaveInHandle, 1);  // and capture goes on once memory is back
    deliverAll();
    EXPECT_EQ(state.BuffersOutstanding, 8);
    EXPECT_EQ(audio.calls(AudioCall::PrepareHeader), 11);
}

TEST_P(OutOfMemoryTest, StartWithoutMemoryShowsTheWarningsAndStillStops) {
    *GetParam() = true;
    StartReceive(state, context);
    *GetParam() = false;
    EXPECT_EQ(boxes.shown.size(), 10u);
    EXPECT_EQ(state.BuffersOutstanding, 0);
    StopReceive(state, context);
    EXPECT_EQ(audio.openDevices(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Allocations, OutOfMemoryTest, ::testing::Values(&failScalar, &failArray),
                         [](const auto& param) {
                             return std::string(param.param == &failScalar ? "Header" : "Block");
                         });

}  // namespace
}  // namespace vireon::testing
