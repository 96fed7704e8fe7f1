#include "core/candidate_list.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/random.hpp"
#include "guesser/plain_reference.hpp"

namespace {

using Width = CandidateList::VectorWidth;
constexpr Width kWidths[] = {Width::Widest, Width::Sixteen};

// What the guesser hands a pass: all signs counted; some known absent (no candidate holds
// them, the try may); or every candidate a rearrangement of one code, the total given.
enum class Kind { AllCounted, SomeAbsent, KnownTotal };
constexpr Kind kKinds[] = {Kind::AllCounted, Kind::SomeAbsent, Kind::KnownTotal};

struct Pass {
    CodeSet set;
    std::vector<Code> candidates;
    Code try_code;
    SignFlags counted{};
    std::optional<int> known_total;
};

std::string describe(const Pass& pass, Width width) {
    std::string text = std::to_string(pass.set.code_length) + " over " +
                       std::to_string(pass.set.set_size) +
                       (pass.set.repetition ? " with" : " without") + " repetition, " +
                       std::to_string(pass.candidates.size()) + " candidates, try";
    for (int position = 0; position < pass.try_code.length; ++position)
        text.append(" ").append(std::to_string(pass.try_code.signs[position]));
    if (pass.known_total) text += ", total " + std::to_string(*pass.known_total);
    text += width == Width::Widest ? ", widest vectors" : ", 16-byte vectors";
    return text;
}

Code random_code(Random& random, int length, std::vector<SignIndex> signs, bool repetition) {
    Code code;
    code.length = length;
    for (int position = 0; position < length; ++position) {
        const std::size_t at = random.uniform(signs.size());
        code.signs[position] = signs[at];
        if (!repetition) signs.erase(signs.begin() + static_cast<long>(at));
    }
    return code;
}

Code rearranged(Random& random, Code code) {
    for (int i = code.length; i > 1; --i)
        std::swap(code.signs[i - 1], code.signs[random.uniform(static_cast<std::uint64_t>(i))]);
    return code;
}

Pass random_pass(Random& random, int length, int set_size, bool repetition, std::size_t size,
                 Kind kind) {
    Pass pass;
    pass.set = CodeSet{set_size, length, repetition};
    std::vector<SignIndex> held = plain::signs_from(1, set_size);
    for (int sign = 1; sign <= set_size; ++sign) pass.counted[sign] = true;
    if (kind != Kind::AllCounted) {
        // Rule out signs at random, leaving enough to fill a code.
        const std::size_t keep_at_least = repetition ? 1 : static_cast<std::size_t>(length);
        const std::size_t out = random.uniform(held.size() - keep_at_least + 1);
        for (std::size_t k = 0; k < out; ++k) {
            const std::size_t at = random.uniform(held.size());
            pass.counted[held[at]] = false;
            held.erase(held.begin() + static_cast<long>(at));
        }
    }
    // The try may hold any sign of the set, absent ones included, and vacant places.
    const bool vacant_places = random.uniform(2) == 0;
    std::vector<SignIndex> try_signs = plain::signs_from(vacant_places ? 0 : 1, set_size);
    pass.try_code = random_code(random, length, try_signs, true);
    if (kind == Kind::KnownTotal) {
        const Code base = random_code(random, length, held, repetition);
        for (std::size_t entry = 0; entry < size; ++entry)
            pass.candidates.push_back(rearranged(random, base));
        pass.known_total = plain::response(pass.try_code, base, &pass.counted).t;
    } else {
        for (std::size_t entry = 0; entry < size; ++entry)
            pass.candidates.push_back(random_code(random, length, held, repetition));
    }
    return pass;
}

int random_set_size(Random& random, int length, bool repetition) {
    const int smallest = repetition ? 2 : std::max(2, length);
    return smallest + static_cast<int>(random.uniform(static_cast<std::uint64_t>(kRingSize - smallest + 1)));
}

CandidateList list_of(const Pass& pass, Width width) {
    CandidateList list(width);
    list.assign(pass.set, pass.candidates.size(), [&](std::size_t entry) { return pass.candidates[entry]; });
    return list;
}

ClassTable plain_classes(const Pass& pass) {
    const ClassTable table = plain::classes(pass.try_code, pass.candidates, &pass.counted);
    if (pass.known_total) {
        // Every candidate holds the same signs, so every class lies at the given total.
        for (int t = 0; t <= pass.set.code_length; ++t)
            for (int p = 0; p <= t; ++p)
                if (t != *pass.known_total) {
                    EXPECT_EQ(table.count(t, p), 0);
                }
    }
    return table;
}

// After a pass, keeping a response keeps exactly the candidates that gave it, in order.
void expect_kept(CandidateList& list, const Pass& pass, const ClassTable& table, Random& random) {
    std::vector<Response> occurring;
    for (int t = 0; t <= pass.set.code_length; ++t)
        for (int p = 0; p <= t; ++p)
            if (table.count(t, p) > 0)
                occurring.push_back(Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(t)});
    if (occurring.empty()) return;
    const Response wanted = occurring[random.uniform(occurring.size())];
    std::vector<Code> expected;
    for (const Code& code : pass.candidates)
        if (plain::response(pass.try_code, code, &pass.counted) == wanted) expected.push_back(code);
    list.keep(wanted);
    ASSERT_EQ(list.size(), expected.size());
    for (std::size_t entry = 0; entry < expected.size(); ++entry)
        ASSERT_EQ(list.code(entry), expected[entry]) << "entry " << entry;
}

const std::size_t kSmallSizes[] = {0, 1, 2, 15, 16, 17, 31, 32, 33, 63, 64, 65, 255, 256, 257, 300, 513};

TEST(ClassPass, MatchesPlainLoopForEveryLengthAndSetSize) {
    Random random(2718);
    for (const Width width : kWidths) {
        for (int length = 2; length <= kMaxCodeLength; ++length) {
            for (const Kind kind : kKinds) {
                for (int trial = 0; trial < 12; ++trial) {
                    const bool repetition = trial % 2 == 0;
                    // The extremes of the set size first, then any.
                    int set_size = trial < 2 ? kRingSize : trial < 4 ? (repetition ? 2 : length)
                                                                    : random_set_size(random, length, repetition);
                    if (!repetition) set_size = std::max(set_size, length);
                    const std::size_t size = kSmallSizes[random.uniform(std::size(kSmallSizes))];
                    const Pass pass = random_pass(random, length, set_size, repetition, size, kind);
                    SCOPED_TRACE(describe(pass, width));
                    CandidateList list = list_of(pass, width);
                    const ClassTable expected = plain_classes(pass);
                    ASSERT_EQ(list.classify(pass.try_code, pass.counted, pass.known_total), expected);
                    expect_kept(list, pass, expected, random);
                }
            }
        }
    }
}

TEST(ClassPass, BothWidthsAgreeOnWholeSets) {
    // Every code of small sets, so that every response turns up.
    Random random(5);
    for (const auto& [length, set_size, repetition] :
         std::vector<std::tuple<int, int, bool>>{{4, 6, true}, {5, 5, false}, {3, 36, false}, {9, 2, true}}) {
        std::vector<Code> codes = plain::all_codes(length, plain::signs_from(1, set_size));
        if (!repetition)
            std::erase_if(codes, [&](const Code& code) {
                std::vector<SignIndex> signs(code.signs.begin(), code.signs.begin() + code.length);
                std::sort(signs.begin(), signs.end());
                return std::adjacent_find(signs.begin(), signs.end()) != signs.end();
            });
        Pass pass;
        pass.set = CodeSet{set_size, length, repetition};
        pass.candidates = codes;
        for (int sign = 1; sign <= set_size; ++sign) pass.counted[sign] = true;
        for (int trial = 0; trial < 6; ++trial) {
            pass.try_code = random_code(random, length, plain::signs_from(trial < 3 ? 1 : 0, set_size), true);
            const ClassTable expected = plain_classes(pass);
            for (const Width width : kWidths) {
                SCOPED_TRACE(describe(pass, width));
                CandidateList list = list_of(pass, width);
                EXPECT_EQ(list.classify(pass.try_code, pass.counted, std::nullopt), expected);
            }
        }
    }
}

// ---------------------------------------------------------------- the bounded pass

bool worse_than(const Measures& measures, const ClassBound& bound) {
    return measures.max > bound.max ||
           (measures.max == bound.max && measures.sum_of_squares > bound.sum_of_squares);
}

// The candidates reordered so that the largest class comes first, or last: the pass then
// meets its largest class at the first look, or only at the end.
std::vector<Code> largest_class_moved(const Pass& pass, const ClassTable& table, bool to_front) {
    Response largest{0, 0};
    for (int t = 0; t <= pass.set.code_length; ++t)
        for (int p = 0; p <= t; ++p)
            if (table.count(t, p) > table.count(largest))
                largest = Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(t)};
    std::vector<Code> codes = pass.candidates;
    std::stable_partition(codes.begin(), codes.end(), [&](const Code& code) {
        return (plain::response(pass.try_code, code, &pass.counted) == largest) == to_front;
    });
    return codes;
}

const std::size_t kChunkSizes[] = {0, 1, 2, 17, 31, 32, 33, 63, 64, 65, 255, 256, 257, 1023, 1024, 1025, 2048, 2049, 4095, 4096, 4097};

TEST(ClassPass, BoundedPassStopsOnlyForTriesWorseThanTheBound) {
    constexpr std::int32_t kNoMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kNoSum = std::numeric_limits<std::int64_t>::max();
    Random random(31415);
    int abandoned = 0;
    int complete = 0;
    for (const Width width : kWidths) {
        for (const std::size_t size : kChunkSizes) {
            for (const Kind kind : kKinds) {
                const int length = 2 + static_cast<int>(random.uniform(kMaxCodeLength - 1));
                const bool repetition = random.uniform(2) == 0;
                Pass pass = random_pass(random, length, random_set_size(random, length, repetition),
                                        repetition, size, kind);
                const ClassTable table = plain_classes(pass);
                const Measures full = plain::measures(table, length);
                const std::int32_t m = full.max;
                const std::int64_t s = full.sum_of_squares;
                // Ties, wins and losses on either measure, and last no bound at all, so that
                // a complete pass follows those that stopped.
                const std::vector<ClassBound> bounds = {
                    {m, s},     {m, s + 1},      {m + 1, 0}, {m + 1, s}, {m, s - 1},
                    {m, 0},     {m - 1, kNoSum}, {m - 1, 0}, {1, 1},     {kNoMax, kNoSum}};
                const std::vector<std::vector<Code>> orders = {
                    pass.candidates, largest_class_moved(pass, table, true),
                    largest_class_moved(pass, table, false)};
                for (const std::vector<Code>& order : orders) {
                    pass.candidates = order;
                    CandidateList list = list_of(pass, width);
                    for (const ClassBound& bound : bounds) {
                        SCOPED_TRACE(describe(pass, width) + ", bound " + std::to_string(bound.max) +
                                     "/" + std::to_string(bound.sum_of_squares));
                        const BoundedClasses result =
                            list.classify_bounded(pass.try_code, pass.counted, pass.known_total, bound);
                        if (result.abandoned) {
                            ++abandoned;
                            EXPECT_TRUE(worse_than(full, bound))
                                << "abandoned a try with largest class " << m << ", squares " << s;
                            EXPECT_LT(result.scored, size);
                            continue;
                        }
                        ++complete;
                        EXPECT_EQ(result.spread, table.spread());
                        EXPECT_EQ(result.solved, table.count(length, length));
                        EXPECT_EQ(result.scored, size);
                    }
                    // The bounded passes left the list whole for the pass that filters it.
                    SCOPED_TRACE(describe(pass, width));
                    ASSERT_EQ(list.classify(pass.try_code, pass.counted, pass.known_total), table);
                    expect_kept(list, pass, table, random);
                }
            }
        }
    }
    EXPECT_GT(abandoned, 0);
    EXPECT_GT(complete, 0);
}

TEST(ClassPass, TryTyingOnItsLastCandidateIsKept) {
    // 1024 candidates with nothing in common with the try, then the try itself: at the
    // look after the first 1024 the largest class is complete and the sum of squares one
    // short of the bound, which only the last candidate makes up.
    const Code try_code = plain::code_of({1, 2});
    Pass pass;
    pass.set = CodeSet{3, 2, true};
    pass.try_code = try_code;
    for (int sign = 1; sign <= 3; ++sign) pass.counted[sign] = true;
    pass.candidates.assign(1024, plain::code_of({3, 3}));
    pass.candidates.push_back(try_code);
    const ClassTable table = plain_classes(pass);
    const std::int64_t squares = std::int64_t{1024} * 1024 + 1;
    for (const Width width : kWidths) {
        SCOPED_TRACE(describe(pass, width));
        CandidateList list = list_of(pass, width);
        const BoundedClasses result =
            list.classify_bounded(try_code, pass.counted, std::nullopt, ClassBound{1024, squares});
        EXPECT_FALSE(result.abandoned);
        EXPECT_EQ(result.spread, table.spread());
    }
}

TEST(ClassPass, CopyOfAShrunkListCarriesOnAlone) {
    // A copy takes room for the codes left only; it must keep the last pass's responses and
    // give the same classes afterwards, with the original changed or gone.
    Random random(77);
    for (const Width width : kWidths) {
        for (const Kind kind : kKinds) {
            const Pass pass = random_pass(random, 5, 8, true, 3000, kind);
            SCOPED_TRACE(describe(pass, width));
            auto original = std::make_unique<CandidateList>(list_of(pass, width));
            const ClassTable table = original->classify(pass.try_code, pass.counted, pass.known_total);
            CandidateList copy = *original;
            Pass kept_pass = pass;
            expect_kept(copy, pass, table, random);
            kept_pass.candidates.clear();
            for (std::size_t entry = 0; entry < copy.size(); ++entry) kept_pass.candidates.push_back(copy.code(entry));
            CandidateList second = copy;
            original.reset();
            copy.release();
            kept_pass.try_code = random_code(random, 5, plain::signs_from(1, 8), true);
            if (kind == Kind::KnownTotal && !kept_pass.candidates.empty())
                kept_pass.known_total =
                    plain::response(kept_pass.try_code, kept_pass.candidates.front(), &pass.counted).t;
            EXPECT_EQ(second.classify(kept_pass.try_code, pass.counted, kept_pass.known_total),
                      plain_classes(kept_pass));
        }
    }
}

TEST(ClassPass, ShortListsCountOneClassHoldingThemAll) {
    // Short lists are counted apart from long ones: every candidate in the same class must
    // give the same spread and solving count on both sides of the edge, and far beyond it.
    const Code try_code = plain::code_of({1, 2, 3});
    for (const std::size_t size : {std::size_t{63}, std::size_t{64}, std::size_t{65}, std::size_t{300}}) {
        for (const bool solving : {false, true}) {
            Pass pass;
            pass.set = CodeSet{4, 3, true};
            pass.try_code = try_code;
            for (int sign = 1; sign <= 4; ++sign) pass.counted[sign] = true;
            pass.candidates.assign(size, solving ? try_code : plain::code_of({4, 4, 4}));
            const ClassTable table = plain_classes(pass);
            for (const Width width : kWidths) {
                SCOPED_TRACE(describe(pass, width));
                CandidateList list = list_of(pass, width);
                const BoundedClasses result =
                    list.classify_bounded(try_code, pass.counted, std::nullopt, ClassBound{});
                EXPECT_EQ(result.spread.largest, static_cast<std::int32_t>(size));
                EXPECT_EQ(result.spread.sum_of_squares, static_cast<std::int64_t>(size * size));
                EXPECT_EQ(result.spread.non_empty, 1);
                EXPECT_EQ(result.solved, solving ? static_cast<std::int32_t>(size) : 0);
                EXPECT_EQ(result.spread, table.spread());
            }
        }
    }
}

TEST(ClassPass, HopelessTryStopsBeforeTheEnd) {
    // Four thousand candidates in at most 55 classes: a bound of one per class is hopeless
    // from the first look on.
    Random random(8);
    for (const Width width : kWidths) {
        for (const Kind kind : kKinds) {
            const Pass pass = random_pass(random, 5, 10, true, 4097, kind);
            SCOPED_TRACE(describe(pass, width));
            CandidateList list = list_of(pass, width);
            const BoundedClasses result =
                list.classify_bounded(pass.try_code, pass.counted, pass.known_total, ClassBound{1, 1});
            EXPECT_TRUE(result.abandoned);
            EXPECT_LT(result.scored, pass.candidates.size());
            // The list stays whole for the next pass.
            EXPECT_EQ(list.classify(pass.try_code, pass.counted, pass.known_total), plain_classes(pass));
        }
    }
}

TEST(ClassPass, EmptyListGivesEmptyClasses) {
    for (const Width width : kWidths) {
        CandidateList list(width);
        list.assign(CodeSet{6, 4, true}, 0, [](std::size_t) { return Code{}; });
        SignFlags counted{};
        for (int sign = 1; sign <= 6; ++sign) counted[sign] = true;
        const Code try_code = plain::code_of({1, 2, 3, 4});
        EXPECT_EQ(list.classify(try_code, counted, std::nullopt), ClassTable{});
        const BoundedClasses result = list.classify_bounded(try_code, counted, std::nullopt, ClassBound{0, 0});
        EXPECT_FALSE(result.abandoned);
        EXPECT_EQ(result.spread, ClassSpread{});
    }
}

}  // namespace

namespace {

TEST(CandidateListAssign, AsksBetweenBlocksAndLeavesNothingWhenBrokenOff) {
    // 65536 codes are one block: no question; one more code asks once, before the second block.
    const CodeSet set{4, 9, true};
    const auto code_at = [](std::size_t entry) {
        Code code;
        code.length = 9;
        for (int position = 0; position < 9; ++position)
            code.signs[position] = static_cast<SignIndex>(1 + (entry >> (2 * position)) % 4);
        return code;
    };
    for (const std::size_t count : {std::size_t{65536}, std::size_t{65537}, std::size_t{3 * 65536 + 5}}) {
        SCOPED_TRACE(count);
        int asked = 0;
        CandidateList whole;
        EXPECT_TRUE(whole.assign(set, count, code_at, [&] { return ++asked > 0; }));
        EXPECT_EQ(asked, static_cast<int>((count - 1) / 65536));
        EXPECT_EQ(whole.size(), count);
        EXPECT_EQ(whole.code(count - 1), code_at(count - 1));
        // The signs are counted in every block: a try scored against the last code sees them.
        SignFlags counted{};
        for (int sign = 1; sign <= 4; ++sign) counted[sign] = true;
        const Code last = code_at(count - 1);
        const ClassTable classes = whole.classify(last, counted, std::nullopt);
        EXPECT_GE(classes.count(9, 9), 1);

        CandidateList broken;
        if (count > 65536) {
            EXPECT_FALSE(broken.assign(set, count, code_at, [] { return false; }));
            EXPECT_EQ(broken.size(), 0u);
        }
    }
}

}  // namespace
