#pragma once
// How many threads the tool's parallel stages use: one per core.
#include <algorithm>
#include <cstdint>
#include <thread>

namespace vireon::render {

inline int32_t Cores() {
    return static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace vireon::render
