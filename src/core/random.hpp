#pragma once

#include <cstdint>

// The game's one random generator (xoshiro256**), so that a seed fixes every draw.
class Random {
public:
    explicit Random(std::uint64_t seed) { reseed(seed); }

    void reseed(std::uint64_t seed);
    // A uniform integer 0 .. bound - 1; bound must be positive.
    std::uint64_t uniform(std::uint64_t bound);
    std::uint64_t next();

private:
    std::uint64_t state_[4]{};
};
