#pragma once
#include <cstdint>

namespace vireon {

// Selects one input sample in Factor: Count returns to 0 on the Factor-th tick.
struct DecimationCounter {
    int32_t Count = 0;
    int32_t Factor = 0;

    void Tick() {
        Count = Count + 1;
        if (Count >= Factor) Count = 0;
    }
};

}  // namespace vireon
