#include "guesser/guess_tables.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "guesser/guesser.hpp"
#include "guesser/plain_reference.hpp"

namespace {

constexpr std::uint64_t kPlentyOfMemory = std::uint64_t{1} << 34;

GuessShape shape_of(int length, int set_size, bool repetition, bool vacant = false) {
    return GuessShape{length, set_size, repetition, repetition, vacant};
}

std::string name_of(const GuessShape& shape) {
    return std::to_string(shape.length) + " over " + std::to_string(shape.set_size) +
           (shape.chain_repetition ? " with" : " without") + " repetition" +
           (shape.vacant ? ", vacant" : "");
}

std::int32_t expected_try_count(const GuessShape& shape) {
    const int alphabet = shape.set_size + (shape.vacant ? 1 : 0);
    std::int64_t count = 1;
    for (int position = 0; position < shape.length; ++position) count *= alphabet;
    return static_cast<std::int32_t>(count - (shape.vacant ? 1 : 0));
}

// Positions turned one step, signs read backwards: far enough from the identity that a
// table ignoring either would show it.
Relabelling hand_labels(int length, int set_size) {
    Relabelling labels;
    for (int place = 0; place < length; ++place)
        labels.position[place] = static_cast<std::uint8_t>((place + 1) % length);
    for (int digit = 1; digit <= set_size; ++digit)
        labels.sign[digit] = static_cast<std::uint8_t>(set_size + 1 - digit);
    return labels;
}

// The k-th code an odometer makes with the first place fastest, starting past the
// all-vacant code when the vacant sign is a digit, stored through the labels.
Code made_code(const GuessShape& shape, const Relabelling& labels, std::int64_t k) {
    const int alphabet = shape.set_size + (shape.vacant ? 1 : 0);
    const int first = shape.vacant ? 0 : 1;
    std::int64_t value = k + (shape.vacant ? 1 : 0);
    Code code;
    code.length = shape.length;
    for (int place = 0; place < shape.length; ++place) {
        const int digit = static_cast<int>(value % alphabet) + first;
        value /= alphabet;
        code.signs[labels.position[place]] = labels.sign[digit];
    }
    return code;
}

bool without_repeats(const Code& code) {
    std::set<SignIndex> seen(code.signs.begin(), code.signs.begin() + code.length);
    return static_cast<int>(seen.size()) == code.length;
}

struct Built {
    TryTable table;
    std::vector<std::int32_t> tries;
    CandidateList candidates;
    BuildResult result = BuildResult::NoRoom;
};

Built build_table(const GuessShape& shape, Random& random, const BuildHooks& hooks = {},
                  std::uint64_t memory = kPlentyOfMemory) {
    Built built;
    built.result = built.table.build(shape, hand_labels(shape.length, shape.set_size), random,
                                     memory, hooks, built.tries, built.candidates);
    return built;
}

std::vector<Code> candidate_codes(const CandidateList& candidates) {
    std::vector<Code> codes;
    for (std::size_t entry = 0; entry < candidates.size(); ++entry)
        codes.push_back(candidates.code(entry));
    return codes;
}

const std::vector<GuessShape> kShapes = {
    shape_of(2, 2, true),        shape_of(3, 5, true),        shape_of(4, 2, true, true),
    shape_of(4, 3, true),        shape_of(5, 4, true),        shape_of(9, 2, true, true),
    shape_of(2, 36, true),       shape_of(3, 6, false),       shape_of(6, 3, true),
    shape_of(4, 6, false),       GuessShape{3, 4, true, false, false}};

// Builds every shape of the list with the hand labels and hands it to the check.
template <typename Check>
void for_each_shape(std::uint64_t seed, Check check) {
    for (const GuessShape& shape : kShapes) {
        SCOPED_TRACE(name_of(shape));
        Random random(seed);
        const Built built = build_table(shape, random);
        ASSERT_EQ(built.result, BuildResult::Built);
        check(shape, built);
    }
}

TEST(TryTableBuild, MakesEveryTryOnceInOdometerOrder) {
    for_each_shape(11, [](const GuessShape& shape, const Built& built) {
        const std::int32_t count = expected_try_count(shape);
        ASSERT_EQ(built.table.size(), count);
        const Relabelling labels = hand_labels(shape.length, shape.set_size);
        std::set<std::array<SignIndex, kMaxCodeLength>> distinct;
        for (std::int32_t k = 0; k < count; ++k) {
            const Code code = built.table.code(k);
            ASSERT_EQ(code, made_code(shape, labels, k)) << "try " << k;
            ASSERT_EQ(built.table.number_of(code), k);
            distinct.insert(code.signs);
        }
        // Distinct codes of the alphabet, as many as it has: each made exactly once.
        EXPECT_EQ(static_cast<std::int32_t>(distinct.size()), count);
        std::vector<std::int32_t> sorted = built.tries;
        std::sort(sorted.begin(), sorted.end());
        std::vector<std::int32_t> every(static_cast<std::size_t>(count));
        std::iota(every.begin(), every.end(), 0);
        EXPECT_EQ(sorted, every) << "the tries list holds each try once";
    });
}

TEST(TryTableBuild, AllVacantCodeHasNoNumber) {
    Random random(3);
    const Built built = build_table(shape_of(4, 2, true, true), random);
    ASSERT_EQ(built.result, BuildResult::Built);
    Code blank;
    blank.length = 4;
    EXPECT_EQ(built.table.number_of(blank), -1);
}

TEST(TryTableBuild, FourOverTwoWithVacantSign) {
    Random random(5);
    const Built built = build_table(shape_of(4, 2, true, true), random);
    ASSERT_EQ(built.result, BuildResult::Built);
    // 3^4 - 1: every code over {*, 1, 2} but the one of vacant signs only.
    std::vector<Code> expected_tries = plain::all_codes(4, {0, 1, 2});
    expected_tries.erase(expected_tries.begin());
    std::vector<Code> tries;
    for (std::int32_t k = 0; k < built.table.size(); ++k) tries.push_back(built.table.code(k));
    EXPECT_EQ(tries.size(), 80u);
    EXPECT_EQ(plain::sorted_keys(tries), plain::sorted_keys(expected_tries));
    EXPECT_EQ(built.tries.size(), 80u);
    const std::vector<Code> candidates = candidate_codes(built.candidates);
    EXPECT_EQ(candidates.size(), 16u);
    EXPECT_EQ(plain::sorted_keys(candidates), plain::sorted_keys(plain::all_codes(4, {1, 2})));
}

TEST(TryTableBuild, FourOverThreeWithoutVacantSign) {
    Random random(5);
    const Built built = build_table(shape_of(4, 3, true), random);
    ASSERT_EQ(built.result, BuildResult::Built);
    const std::vector<Code> every = plain::all_codes(4, {1, 2, 3});
    std::vector<Code> tries;
    for (const std::int32_t number : built.tries) tries.push_back(built.table.code(number));
    EXPECT_EQ(tries.size(), 81u);
    EXPECT_EQ(plain::sorted_keys(tries), plain::sorted_keys(every));
    EXPECT_EQ(plain::sorted_keys(candidate_codes(built.candidates)), plain::sorted_keys(every));
}

TEST(TryTableBuild, PermutationModeCandidatesAreThePermutations) {
    for (int s = 2; s <= 6; ++s) {
        SCOPED_TRACE(s);
        Random random(static_cast<std::uint64_t>(s));
        const Built built = build_table(shape_of(s, s, false), random);
        ASSERT_EQ(built.result, BuildResult::Built);
        std::vector<SignIndex> signs = plain::signs_from(1, s);
        std::vector<Code> permutations;
        do {
            Code code;
            code.length = s;
            std::copy(signs.begin(), signs.end(), code.signs.begin());
            permutations.push_back(code);
        } while (std::next_permutation(signs.begin(), signs.end()));
        EXPECT_EQ(plain::sorted_keys(candidate_codes(built.candidates)),
                  plain::sorted_keys(permutations));
    }
}

// The candidates follow the making order backwards, leaving out codes with a vacant
// place and, without repetition, those with a sign twice.
TEST(TryTableBuild, CandidatesAreTheFittingTriesNewestFirst) {
    for_each_shape(17, [](const GuessShape& shape, const Built& built) {
        const Relabelling labels = hand_labels(shape.length, shape.set_size);
        std::vector<Code> expected;
        for (std::int64_t k = expected_try_count(shape) - 1; k >= 0; --k) {
            const Code code = made_code(shape, labels, k);
            if (plain::holds(code, kVacantIndex)) continue;
            if (!shape.chain_repetition && !without_repeats(code)) continue;
            expected.push_back(code);
        }
        EXPECT_EQ(candidate_codes(built.candidates), expected);
    });
}

struct PollScript {
    int calls = 0;
    int stop_at = 0;  // 0: never
    BuildHooks hooks() {
        BuildHooks hooks;
        hooks.abandon_requested = [this] { return ++calls == stop_at; };
        return hooks;
    }
};

TEST(TryTableBuild, PollsEverySixteenthTryAndTwiceAfterwards) {
    // Past 65536 entries the numbering and the shuffle of the tries list, the candidate chain
    // and the filling of the candidate list look in between, once per 65536.
    for (const GuessShape& shape : {shape_of(4, 6, true), shape_of(4, 2, true, true), shape_of(2, 2, true),
                                    shape_of(5, 9, true), shape_of(4, 16, true), shape_of(6, 7, true)}) {
        SCOPED_TRACE(name_of(shape));
        PollScript script;
        Random random(1);
        const Built built = build_table(shape, random, script.hooks());
        ASSERT_EQ(built.result, BuildResult::Built);
        const int tries = expected_try_count(shape);
        const auto candidates = static_cast<int>(built.candidates.size());
        EXPECT_EQ(script.calls, (tries + 15) / 16 + 2 + (tries - 1) / 65536 + (tries - 2) / 65536 +
                                    (tries - 1) / 65536 + (candidates - 1) / 65536);
    }
}

TEST(TryTableBuild, EscapeAtAnyPollLeavesNothing) {
    const GuessShape shape = shape_of(4, 6, true);
    const int polls = (1296 + 15) / 16 + 2;
    for (const int stop_at : {1, 2, polls / 2, polls - 2, polls - 1, polls}) {
        SCOPED_TRACE(stop_at);
        {
            PollScript script;
            script.stop_at = stop_at;
            Random random(2);
            Built built = build_table(shape, random, script.hooks());
            EXPECT_EQ(built.result, BuildResult::Abandoned);
            EXPECT_EQ(script.calls, stop_at) << "no poll after the abandon";
            EXPECT_EQ(built.table.size(), 0);
            EXPECT_TRUE(built.tries.empty());
            EXPECT_EQ(built.candidates.size(), 0u);
            // The same table serves the next match in full.
            const BuildResult again =
                built.table.build(shape, hand_labels(4, 6), random, kPlentyOfMemory, {},
                                  built.tries, built.candidates);
            EXPECT_EQ(again, BuildResult::Built);
            EXPECT_EQ(built.table.size(), 1296);
            EXPECT_EQ(built.tries.size(), 1296u);
            EXPECT_EQ(built.candidates.size(), 1296u);
        }
        {
            PollScript script;
            script.stop_at = stop_at;
            Random random(2);
            Guesser guesser(shape);
            EXPECT_EQ(guesser.build(random, kPlentyOfMemory, script.hooks()),
                      BuildResult::Abandoned);
            EXPECT_EQ(guesser.tries_count(), 0);
            EXPECT_TRUE(guesser.tries().empty());
            EXPECT_EQ(guesser.candidate_count(), 0u);
        }
    }
}

TEST(TryTableBuild, TooLittleMemoryBuildsNothing) {
    for (const GuessShape& shape : {shape_of(4, 6, true), shape_of(4, 2, true, true), shape_of(3, 5, false)}) {
        SCOPED_TRACE(name_of(shape));
        const std::uint64_t needed = TryTable::bytes_needed(shape);
        ASSERT_GT(needed, 0u);
        for (const std::uint64_t memory : {std::uint64_t{0}, needed - 1}) {
            Random random(4);
            const Built built = build_table(shape, random, {}, memory);
            EXPECT_EQ(built.result, BuildResult::TooLargeForMachine);
            EXPECT_EQ(built.table.size(), 0);
            EXPECT_TRUE(built.tries.empty());
            EXPECT_EQ(built.candidates.size(), 0u);

            Guesser guesser(shape);
            EXPECT_EQ(guesser.build(random, memory, {}), BuildResult::TooLargeForMachine);
            EXPECT_TRUE(guesser.tries().empty());
            EXPECT_EQ(guesser.candidate_count(), 0u);
        }
        Random random(4);
        EXPECT_EQ(build_table(shape, random, {}, needed).result, BuildResult::Built);
        Guesser guesser(shape);
        EXPECT_EQ(guesser.build(random, needed, {}), BuildResult::Built);
    }
}

TEST(TryTableBuild, MoreTriesThanCanBeNumberedAreTheGamesOwnRefusalWhateverTheMemory) {
    // 9 over 36: about 10^14 tries.
    const GuessShape shape = shape_of(9, 36, true);
    for (const std::uint64_t memory : {std::uint64_t{0}, std::numeric_limits<std::uint64_t>::max()}) {
        Random random(4);
        const Built built = build_table(shape, random, {}, memory);
        EXPECT_EQ(built.result, BuildResult::NoRoom);
        EXPECT_EQ(built.table.size(), 0);
        EXPECT_TRUE(built.tries.empty());
    }
}

TEST(TryTableBuild, ProgressTenthsRiseToTen) {
    struct Case {
        GuessShape shape;
        std::vector<int> tenths;
    };
    // 4 tries: after 1, 2, 3, 4 of them 2.5, 5, 7.5 and 10 tenths are done.
    const std::vector<Case> cases = {
        {shape_of(2, 2, true), {2, 5, 7, 10}},
        {shape_of(4, 2, true, true), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {shape_of(4, 6, true), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(name_of(c.shape));
        std::vector<int> seen;
        BuildHooks hooks;
        hooks.progress = [&](int tenths) { seen.push_back(tenths); };
        Random random(8);
        ASSERT_EQ(build_table(c.shape, random, hooks).result, BuildResult::Built);
        EXPECT_EQ(seen, c.tenths);
    }
}

// ---------------------------------------------------------------- the order of the tries

// Chi-square of the counts against equal expectations.
double chi_square(const std::vector<long>& counts) {
    const double total = std::accumulate(counts.begin(), counts.end(), 0.0);
    const double expected = total / static_cast<double>(counts.size());
    double sum = 0;
    for (const long count : counts) sum += (count - expected) * (count - expected) / expected;
    return sum;
}

// A generous bound for a chi-square with this many degrees of freedom: mean plus six
// standard deviations.
double chi_square_bound(int freedom) { return freedom + 6.0 * std::sqrt(2.0 * freedom); }

// Place counts [try * size + place] of many tries lists.
template <typename Shuffle>
std::vector<long> place_counts(int size, int lists, Shuffle shuffle) {
    std::vector<long> counts(static_cast<std::size_t>(size * size), 0);
    for (int list = 0; list < lists; ++list) {
        const std::vector<std::int32_t> order = shuffle();
        for (int place = 0; place < size; ++place) ++counts[order[place] * size + place];
    }
    return counts;
}

TEST(TryTableShuffle, EachTryLandsInEachPlaceEquallyOften) {
    const GuessShape shape = shape_of(2, 3, true);  // 9 tries
    constexpr int kSize = 9;
    constexpr int kLists = 9 * 600;
    Random random(2024);
    const auto counts = place_counts(kSize, kLists, [&] {
        Built built = build_table(shape, random);
        return built.tries;
    });
    const double bound = chi_square_bound((kSize - 1) * (kSize - 1));
    EXPECT_LT(chi_square(counts), bound);

    // The bound is sharp enough to catch the usual ways a shuffle goes wrong: swapping with
    // any place rather than one not yet passed, or never leaving an item where it was.
    Random other(2024);
    const auto any_place = place_counts(kSize, kLists, [&] {
        std::vector<std::int32_t> order(kSize);
        std::iota(order.begin(), order.end(), 0);
        for (std::size_t i = kSize; i > 1; --i) std::swap(order[i - 1], order[other.uniform(kSize)]);
        return order;
    });
    EXPECT_GT(chi_square(any_place), bound);
    const auto never_in_place = place_counts(kSize, kLists, [&] {
        std::vector<std::int32_t> order(kSize);
        std::iota(order.begin(), order.end(), 0);
        for (std::size_t i = kSize; i > 1; --i) std::swap(order[i - 1], order[other.uniform(i - 1)]);
        return order;
    });
    EXPECT_GT(chi_square(never_in_place), bound);
}

TEST(TryTableShuffle, EveryOrderOfFourTriesEquallyLikely) {
    const GuessShape shape = shape_of(2, 2, true);  // 4 tries, 24 orders
    constexpr int kLists = 24 * 250;
    Random random(77);
    std::map<std::vector<std::int32_t>, long> seen;
    for (int list = 0; list < kLists; ++list) ++seen[build_table(shape, random).tries];
    ASSERT_EQ(seen.size(), 24u) << "every order turns up";
    std::vector<long> counts;
    for (const auto& [order, count] : seen) counts.push_back(count);
    EXPECT_LT(chi_square(counts), chi_square_bound(23));
}

TEST(TryTableShuffle, OrderDiffersFromBuildToBuild) {
    const GuessShape shape = shape_of(4, 6, true);
    std::set<std::vector<std::int32_t>> orders;
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        Random random(seed);
        orders.insert(build_table(shape, random).tries);
    }
    EXPECT_EQ(orders.size(), 8u) << "eight seeds, eight orders";
    Random random(1);
    const auto first = build_table(shape, random).tries;
    const auto second = build_table(shape, random).tries;
    EXPECT_NE(first, second) << "two matches in one run";
    std::vector<std::int32_t> making(first.size());
    std::iota(making.begin(), making.end(), 0);
    EXPECT_NE(first, making);
    Random again(1);
    EXPECT_EQ(build_table(shape, again).tries, first) << "a seed fixes the order";
}

// ---------------------------------------------------------------- relabellings

TEST(RandomOrder, EveryOrderOfFourEquallyLikely) {
    Random random(99);
    std::map<std::vector<int>, long> seen;
    for (int draw = 0; draw < 24 * 250; ++draw) {
        const auto order = random_order(4, random);
        ASSERT_EQ(order[0], 0);
        ++seen[{order[1], order[2], order[3], order[4]}];
    }
    ASSERT_EQ(seen.size(), 24u);
    std::vector<long> counts;
    for (const auto& [order, count] : seen) {
        std::vector<int> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::vector<int>{1, 2, 3, 4}));
        counts.push_back(count);
    }
    EXPECT_LT(chi_square(counts), chi_square_bound(23));
}

TEST(RandomOrder, RelabellingPermutesPlacesAndSignsAndKeepsVacant) {
    Random random(6);
    for (const auto& [length, set_size] :
         std::vector<std::pair<int, int>>{{2, 2}, {9, 36}, {4, 6}, {9, 2}}) {
        const Relabelling labels = Relabelling::draw(length, set_size, random);
        std::vector<int> places(labels.position.begin(), labels.position.begin() + length);
        std::sort(places.begin(), places.end());
        std::vector<int> expected_places(static_cast<std::size_t>(length));
        std::iota(expected_places.begin(), expected_places.end(), 0);
        EXPECT_EQ(places, expected_places);
        EXPECT_EQ(labels.sign[0], kVacantIndex);
        std::vector<int> signs(labels.sign.begin() + 1, labels.sign.begin() + set_size + 1);
        std::sort(signs.begin(), signs.end());
        std::vector<int> expected_signs(static_cast<std::size_t>(set_size));
        std::iota(expected_signs.begin(), expected_signs.end(), 1);
        EXPECT_EQ(signs, expected_signs);
    }
}

}  // namespace
