#include "match/worst_case.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "core/signs.hpp"

namespace {

// Values for s = 2, 3, ... as far as listed; beyond the list (s + offset) div n, or no
// statement when there is no offset.
struct WorstCaseRow {
    std::span<const std::uint8_t> listed;
    std::optional<int> offset;
};

constexpr std::uint8_t kLength3Without[] = {3, 3, 4, 4};
constexpr std::uint8_t kLength3With[] = {3, 3, 4, 5};
constexpr std::uint8_t kLength4Without[] = {4, 4, 4, 4, 5, 5, 6, 6, 7, 7};
constexpr std::uint8_t kLength4With[] = {4, 4, 4, 5, 5, 6, 6, 7, 7, 7};
constexpr std::uint8_t kLength5Without[] = {5, 4, 5, 5,  6,  6,  6,  7,  8,  8,  8,
                                            9, 9, 9, 10, 10, 10, 10, 11, 11, 11, 11};
constexpr std::uint8_t kLength5With[] = {5, 4, 5, 5,  6,  6,  7,  7,  8,  8,  9,
                                         9, 9, 9, 10, 10, 10, 11, 11, 11, 11, 12};
constexpr std::uint8_t kLength6Without[] = {5,  5,  5,  6,  7,  7,  7,  8,  8,  8,
                                            9,  9,  9,  10, 10, 10, 11, 11, 11, 12,
                                            12, 12, 13, 13, 13, 14, 14, 14, 14};
constexpr std::uint8_t kLength6With[] = {5,  5,  5,  6,  7,  7,  8,  8,  8,  9,  9,  9,  10, 10, 10,
                                         11, 11, 11, 12, 12, 12, 13, 13, 13, 13, 14, 14, 14, 14};
constexpr std::uint8_t kLength7Without[] = {6,  5,  6,  7,  7,  8,  8,  8,  9,  9,
                                            10, 10, 10, 10, 11, 12, 12, 12, 12, 12};
constexpr std::uint8_t kLength7With[] = {6,  5,  6,  7,  7,  8,  8,  8,  9,  9,
                                         10, 10, 10, 11, 11, 12, 12, 12, 12, 13};
constexpr std::uint8_t kLength8Without[] = {6, 6, 6, 7, 8, 9, 9, 9, 10, 10, 10, 11, 11};
constexpr std::uint8_t kLength8With[] = {6, 6, 6, 7, 8, 9, 9, 9, 10, 10, 11, 11, 11};
constexpr std::uint8_t kLength9[] = {7, 6, 7, 8, 9, 10, 10, 11, 11};

WorstCaseRow row_of(int n, bool repetition) {
    switch (n) {
        case 2:
            return {{}, repetition ? 4 : 3};
        case 3:
            return {repetition ? kLength3With : kLength3Without, repetition ? 11 : 10};
        case 4:
            return {repetition ? kLength4With : kLength4Without, 21};
        case 5:
            return {repetition ? kLength5With : kLength5Without, 37};
        case 6:
            return {repetition ? kLength6With : kLength6Without, 60};
        case 7:
            return {repetition ? kLength7With : kLength7Without, std::nullopt};
        case 8:
            return {repetition ? kLength8With : kLength8Without, std::nullopt};
        case 9:
            return {kLength9, std::nullopt};
        default:
            return {{}, std::nullopt};
    }
}

// Two signs with the vacant sign in play have values of their own.
int two_signs_with_vacant(int n, bool repetition) {
    if (n == 2) return repetition ? 3 : 2;
    if (n <= 5) return 3;
    if (n <= 7) return 4;
    return 5;
}

}  // namespace

int worst_case_tries(int n, int s, bool repetition, bool vacant) {
    if (n < 2 || n > kMaxCodeLength || s < 2 || s > kRingSize) return 0;
    if (vacant && s == 2) return two_signs_with_vacant(n, repetition);
    const WorstCaseRow row = row_of(n, repetition);
    const std::size_t listed_index = static_cast<std::size_t>(s - 2);
    if (listed_index < row.listed.size()) return row.listed[listed_index];
    return row.offset ? (s + *row.offset) / n : 0;
}
