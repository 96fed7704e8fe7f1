#include "core/scoring.hpp"

#include <algorithm>
#include <cstdlib>
#include <span>

namespace {

struct Pair {
    std::uint8_t p;
    std::uint8_t z;
};

// The mixed responses (P >= 1, Z >= 1, P + Z < n) come in an order of their own per
// length; it follows no rule, so it is kept as data.
constexpr Pair kMixed3[] = {{1, 1}};
constexpr Pair kMixed4[] = {{1, 1}, {1, 2}, {2, 1}};
constexpr Pair kMixed5[] = {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}, {3, 1}};
constexpr Pair kMixed6[] = {{1, 2}, {1, 1}, {1, 3}, {2, 1}, {1, 4},
                            {2, 2}, {2, 3}, {3, 1}, {3, 2}, {4, 1}};
constexpr Pair kMixed7[] = {{1, 2}, {1, 3}, {1, 1}, {1, 4}, {2, 1}, {2, 2}, {2, 3}, {3, 1},
                            {1, 5}, {2, 4}, {3, 2}, {3, 3}, {4, 1}, {4, 2}, {5, 1}};
constexpr Pair kMixed8[] = {{1, 3}, {1, 2}, {1, 4}, {2, 2}, {2, 1}, {2, 3}, {3, 1},
                            {1, 1}, {1, 5}, {2, 4}, {3, 2}, {1, 6}, {3, 3}, {4, 1},
                            {2, 5}, {3, 4}, {4, 2}, {4, 3}, {5, 1}, {5, 2}, {6, 1}};
constexpr Pair kMixed9[] = {{1, 3}, {1, 4}, {2, 2}, {1, 2}, {2, 3}, {1, 5}, {2, 1},
                            {1, 1}, {1, 6}, {2, 4}, {3, 1}, {3, 2}, {1, 7}, {2, 5},
                            {3, 3}, {2, 6}, {4, 1}, {3, 4}, {4, 2}, {3, 5}, {4, 3},
                            {5, 1}, {4, 4}, {5, 2}, {5, 3}, {6, 1}, {6, 2}, {7, 1}};

std::span<const Pair> mixed_responses(int code_length) {
    switch (code_length) {
        case 3:
            return kMixed3;
        case 4:
            return kMixed4;
        case 5:
            return kMixed5;
        case 6:
            return kMixed6;
        case 7:
            return kMixed7;
        case 8:
            return kMixed8;
        case 9:
            return kMixed9;
        default:
            return {};
    }
}

}  // namespace

SignCounts sign_counts(const Code& code, int set_size, bool permutation_mode) {
    SignCounts counts{};
    if (permutation_mode) {
        std::fill(counts.begin() + 1, counts.begin() + 1 + set_size, std::uint8_t{1});
        return counts;
    }
    for (int position = 0; position < code.length; ++position)
        if (code[position] != kVacantIndex) ++counts[code[position]];
    return counts;
}

Response score(const Code& try_code, const Code& code, const SignCounts& counts) {
    // Each try sign is matched while the code still has an unmatched copy of it, which
    // sums min(try count, code count) over the signs in one pass. A vacant position
    // matches nothing: no code holds index 0 and its count is always 0.
    SignCounts used{};
    Response response;
    for (int position = 0; position < try_code.length; ++position) {
        const SignIndex sign = try_code[position];
        if (sign == code[position]) ++response.p;
        if (used[sign] < counts[sign]) {
            ++used[sign];
            ++response.t;
        }
    }
    return response;
}

bool ResponseTable::build(int code_length) {
    if (code_length == length_) return false;
    length_ = code_length;
    count_ = 0;
    const int n = code_length;
    if (n < 1 || n > kMaxCodeLength) return true;

    for (const Pair pair : mixed_responses(n)) append(pair.p, pair.z);

    // Misplaced-only responses, the most even split first; the smaller Z wins a tie.
    std::array<int, kMaxCodeLength> misplaced{};
    for (int z = 1; z < n; ++z) misplaced[z - 1] = z;
    std::stable_sort(misplaced.begin(), misplaced.begin() + (n - 1),
                     [n](int a, int b) { return std::abs(2 * a - n) < std::abs(2 * b - n); });
    for (int i = 0; i < n - 1; ++i) append(0, misplaced[i]);

    for (int p = 1; p < n; ++p) append(p, 0);
    append(0, 0);
    for (int p = 0; p <= n - 2; ++p) append(p, n - p);
    append(n, 0);
    return true;
}

void ResponseTable::append(int p, int z) {
    entries_[count_++] = Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p + z)};
}
