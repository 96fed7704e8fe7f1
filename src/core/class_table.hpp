#pragma once

#include <algorithm>

#include <array>
#include <cstdint>

#include "core/scoring.hpp"
#include "core/signs.hpp"

// How a try spreads the codes over its classes.
struct ClassSpread {
    std::int32_t largest = 0;
    std::int64_t sum_of_squares = 0;
    int non_empty = 0;

    void add(std::int32_t codes) {
        largest = std::max(largest, codes);
        sum_of_squares += static_cast<std::int64_t>(codes) * codes;
        non_empty += codes != 0;
    }
    friend bool operator==(const ClassSpread&, const ClassSpread&) = default;
};

// How many codes give each response (T, P) to one try, 0 <= P <= T <= 9. The encoder and the
// guesser fill it; the check of a person's answers reads it.
class ClassTable {
   public:
    std::int32_t count(int t, int p) const { return counts_[index(t, p)]; }
    std::int32_t count(Response response) const { return count(response.t, response.p); }
    bool possible(int t, int p) const { return count(t, p) != 0; }
    void add(Response response, std::int32_t codes = 1) {
        counts_[index(response.t, response.p)] += codes;
    }

    ClassSpread spread() const {
        ClassSpread spread;
        for (std::int32_t count : counts_) spread.add(count);
        return spread;
    }

    friend bool operator==(const ClassTable&, const ClassTable&) = default;

   private:
    static constexpr int kSide = kMaxCodeLength + 1;
    static constexpr int index(int t, int p) { return t * kSide + p; }

    std::array<std::int32_t, kSide * kSide> counts_{};
};
