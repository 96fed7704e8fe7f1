#include "core/random.hpp"

namespace {

std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

std::uint64_t splitmix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

void Random::reseed(std::uint64_t seed) {
    for (auto& word : state_) word = splitmix64(seed);
}

std::uint64_t Random::next() {
    const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 45);
    return result;
}

std::uint64_t Random::uniform(std::uint64_t bound) {
    // Rejection keeps every value equally likely whatever the bound.
    const std::uint64_t limit = -bound % bound;
    for (;;) {
        const std::uint64_t value = next();
        if (value >= limit) return value % bound;
    }
}
