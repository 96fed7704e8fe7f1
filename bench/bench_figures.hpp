#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "core/scoring.hpp"

inline double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// FNV-1a over what a side answered or chose, so that two sides can be compared by one number.
struct Signature {
    std::uint64_t hash = 1469598103934665603ULL;
    void add(std::uint8_t byte) {
        hash ^= byte;
        hash *= 1099511628211ULL;
    }
    void add(Response response) {
        add(response.t);
        add(response.p);
    }
};
