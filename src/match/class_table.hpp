#pragma once

#include <algorithm>

#include <array>
#include <cstdint>

#include "match/scoring.hpp"
#include "setup/signs.hpp"

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

    std::int32_t largest() const { return *std::max_element(counts_.begin(), counts_.end()); }
    std::int64_t sum_of_squares() const {
        std::int64_t sum = 0;
        for (std::int32_t count : counts_) sum += static_cast<std::int64_t>(count) * count;
        return sum;
    }
    int non_empty() const {
        return static_cast<int>(std::count_if(counts_.begin(), counts_.end(),
                                              [](std::int32_t count) { return count != 0; }));
    }

    friend bool operator==(const ClassTable&, const ClassTable&) = default;

   private:
    static constexpr int kSide = kMaxCodeLength + 1;
    static constexpr int index(int t, int p) { return t * kSide + p; }

    std::array<std::int32_t, kSide * kSide> counts_{};
};
