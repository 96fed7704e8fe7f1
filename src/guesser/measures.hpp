#pragma once

#include <cstdint>
#include <limits>

#include "core/candidate_list.hpp"

// How a try splits the candidates, in the order the choice weighs it.
struct Measures {
    std::int32_t max = std::numeric_limits<std::int32_t>::max();
    std::int64_t sum_of_squares = std::numeric_limits<std::int64_t>::max();
    int classes = 0;
    bool win = false;

    static Measures of(const BoundedClasses& result) {
        return Measures{result.spread.largest, result.spread.sum_of_squares, result.spread.non_empty,
                        result.solved == 1};
    }
    // Smaller largest class, then smaller sum of squares, more classes, a candidate.
    bool better_than(const Measures& best) const {
        if (max != best.max) return max < best.max;
        if (sum_of_squares != best.sum_of_squares) return sum_of_squares < best.sum_of_squares;
        if (classes != best.classes) return classes > best.classes;
        return win && !best.win;
    }
    // What a try must beat not to be cut short.
    ClassBound bound() const { return ClassBound{max, sum_of_squares}; }
    friend bool operator==(const Measures&, const Measures&) = default;
};
