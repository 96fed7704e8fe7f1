#pragma once

// Slow, obvious versions of what the guesser computes, for the tests to hold it against.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/candidate_list.hpp"
#include "core/class_table.hpp"
#include "core/scoring.hpp"
#include "core/signs.hpp"
#include "guesser/guesser.hpp"

namespace plain {

// P: places that agree (a vacant place agrees with nothing); T: signs in common, counting
// only the signs flagged (all when no flags are given).
inline Response response(const Code& try_code, const Code& candidate,
                         const SignFlags* counted = nullptr) {
    std::array<int, kRingSize + 1> in_try{};
    std::array<int, kRingSize + 1> in_candidate{};
    int p = 0;
    for (int position = 0; position < try_code.length; ++position) {
        const SignIndex mine = try_code.signs[position];
        const SignIndex theirs = candidate.signs[position];
        if (mine != kVacantIndex) {
            ++in_try[mine];
            if (mine == theirs) ++p;
        }
        if (theirs != kVacantIndex) ++in_candidate[theirs];
    }
    int t = 0;
    for (int sign = 1; sign <= kRingSize; ++sign)
        if (counted == nullptr || (*counted)[sign]) t += std::min(in_try[sign], in_candidate[sign]);
    return Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(t)};
}

inline ClassTable classes(const Code& try_code, const std::vector<Code>& candidates,
                          const SignFlags* counted = nullptr) {
    ClassTable table;
    for (const Code& candidate : candidates) table.add(response(try_code, candidate, counted));
    return table;
}

// The four measures, read off the cells one by one.
inline Measures measures(const ClassTable& table, int length) {
    Measures result;
    result.max = 0;
    result.sum_of_squares = 0;
    for (int t = 0; t <= length; ++t)
        for (int p = 0; p <= t; ++p) {
            const std::int64_t count = table.count(t, p);
            result.max = std::max<std::int32_t>(result.max, static_cast<std::int32_t>(count));
            result.sum_of_squares += count * count;
            if (count != 0) ++result.classes;
        }
    result.win = table.count(length, length) == 1;
    return result;
}

// Smaller largest class, then smaller sum of squares, then more classes, then a candidate.
inline bool better(const Measures& a, const Measures& b) {
    if (a.max != b.max) return a.max < b.max;
    if (a.sum_of_squares != b.sum_of_squares) return a.sum_of_squares < b.sum_of_squares;
    if (a.classes != b.classes) return a.classes > b.classes;
    return a.win && !b.win;
}

inline bool same(const Measures& a, const Measures& b) {
    return a.max == b.max && a.sum_of_squares == b.sum_of_squares && a.classes == b.classes &&
           a.win == b.win;
}

inline std::vector<Code> candidates_of(const Guesser& guesser) {
    std::vector<Code> codes;
    for (std::size_t entry = 0; entry < guesser.candidate_count(); ++entry)
        codes.push_back(guesser.candidate(entry));
    return codes;
}

inline std::vector<Code> tries_of(const Guesser& guesser) {
    std::vector<Code> codes;
    for (const std::int32_t number : guesser.tries()) codes.push_back(guesser.try_code(number));
    return codes;
}

// The best measures over the tries, and every try that reaches them.
struct Best {
    Measures measures;
    std::vector<Code> tries;
};

inline Best best_of(const std::vector<Code>& tries, const std::vector<Code>& candidates,
                    int length) {
    // The candidates' sign counts once, as a whole list is weighed for every try.
    std::vector<std::array<std::uint8_t, kRingSize + 1>> held(candidates.size());
    for (std::size_t entry = 0; entry < candidates.size(); ++entry)
        for (int position = 0; position < length; ++position)
            ++held[entry][candidates[entry].signs[position]];
    Best best;
    bool any = false;
    for (const Code& try_code : tries) {
        std::array<int, kRingSize + 1> mine{};
        std::vector<SignIndex> signs;
        for (int position = 0; position < length; ++position) {
            const SignIndex sign = try_code.signs[position];
            if (sign != kVacantIndex && mine[sign]++ == 0) signs.push_back(sign);
        }
        ClassTable table;
        for (std::size_t entry = 0; entry < candidates.size(); ++entry) {
            int p = 0;
            for (int position = 0; position < length; ++position)
                p += try_code.signs[position] != kVacantIndex &&
                     try_code.signs[position] == candidates[entry].signs[position];
            int t = 0;
            for (const SignIndex sign : signs) t += std::min<int>(mine[sign], held[entry][sign]);
            table.add(Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(t)});
        }
        const Measures m = measures(table, length);
        if (!any || better(m, best.measures)) {
            best.measures = m;
            best.tries.assign(1, try_code);
            any = true;
        } else if (same(m, best.measures)) {
            best.tries.push_back(try_code);
        }
    }
    return best;
}

inline bool holds(const Code& code, SignIndex sign) {
    return std::find(code.signs.begin(), code.signs.begin() + code.length, sign) !=
           code.signs.begin() + code.length;
}

inline Code code_of(std::initializer_list<int> signs) {
    Code code;
    code.length = static_cast<int>(signs.size());
    int position = 0;
    for (const int sign : signs) code.signs[position++] = static_cast<SignIndex>(sign);
    return code;
}

// Every code of `length` places over the signs given, in odometer order.
inline std::vector<Code> all_codes(int length, const std::vector<SignIndex>& signs) {
    std::vector<Code> codes;
    std::vector<std::size_t> digit(static_cast<std::size_t>(length), 0);
    for (;;) {
        Code code;
        code.length = length;
        for (int position = 0; position < length; ++position)
            code.signs[position] = signs[digit[position]];
        codes.push_back(code);
        int position = 0;
        while (position < length && ++digit[position] == signs.size()) digit[position++] = 0;
        if (position == length) return codes;
    }
}

inline std::vector<SignIndex> signs_from(int first, int last) {
    std::vector<SignIndex> signs;
    for (int sign = first; sign <= last; ++sign) signs.push_back(static_cast<SignIndex>(sign));
    return signs;
}

// Codes as comparable keys, for set comparisons.
inline std::vector<std::array<SignIndex, kMaxCodeLength>> sorted_keys(const std::vector<Code>& codes) {
    std::vector<std::array<SignIndex, kMaxCodeLength>> keys;
    for (const Code& code : codes) keys.push_back(code.signs);
    std::sort(keys.begin(), keys.end());
    return keys;
}

}  // namespace plain
