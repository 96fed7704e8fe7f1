#include "match/encoder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/keys.hpp"
#include "setup/game_setup.hpp"
#include "support/test_rig.hpp"

namespace {

const SignRing kLetters('a', 'z');
constexpr std::uint64_t kPlentyOfMemory = std::uint64_t{1} << 40;

Code code_of(std::string_view text) {
    const auto code = code_from_text(text, static_cast<int>(text.size()), kLetters);
    EXPECT_TRUE(code.has_value()) << text;
    return code.value_or(Code{});
}

// A try as the try entry hands it over, signs of a..z.
TypedTry typed(const Code& code) {
    TypedTry typed;
    const std::string text = text_of_code(code, kLetters);
    std::copy(text.begin(), text.end(), typed.text.begin());
    typed.code = code;
    return typed;
}

TypedTry typed(std::string_view text) { return typed(code_of(text)); }

TryRecord record_of(const TypedTry& typed, Response response) {
    return TryRecord{0, typed.text, response.p, static_cast<std::uint8_t>(response.z())};
}

Response pz(int p, int z) {
    return Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p + z)};
}

// The plain way to every code of a set.
void add_codes(const CodeSet& set, Code& code, int position, std::vector<Code>& codes) {
    if (position == set.code_length) {
        codes.push_back(code);
        return;
    }
    for (int sign = 1; sign <= set.set_size; ++sign) {
        const auto given = code.signs.begin() + position;
        if (!set.repetition && std::find(code.signs.begin(), given, sign) != given) continue;
        code.signs[position] = static_cast<SignIndex>(sign);
        add_codes(set, code, position + 1, codes);
    }
    code.signs[position] = 0;
}

std::vector<Code> all_codes(const CodeSet& set) {
    std::vector<Code> codes;
    Code code;
    code.length = set.code_length;
    add_codes(set, code, 0, codes);
    return codes;
}

ClassTable brute_force_classes(const std::vector<Code>& codes, const Code& try_code, int set_size) {
    ClassTable classes;
    for (const Code& code : codes)
        classes.add(score(try_code, code, sign_counts(code, set_size, false)));
    return classes;
}

// The largest class, the table's first among equals, found the long way round.
Response brute_force_choice(const ClassTable& classes, int code_length) {
    ResponseTable table;
    table.build(code_length);
    Response best = table.entry(1);
    std::int32_t best_count = -1;
    for (int number = 1; number <= table.entry_count(); ++number) {
        if (classes.count(table.entry(number)) <= best_count) continue;
        best = table.entry(number);
        best_count = classes.count(best);
    }
    return best;
}

std::vector<Code> survivors(const std::vector<Code>& codes, const Code& try_code, Response answer,
                            int set_size) {
    std::vector<Code> kept;
    for (const Code& code : codes)
        if (score(try_code, code, sign_counts(code, set_size, false)) == answer)
            kept.push_back(code);
    return kept;
}

using SignsOfCodes = std::vector<std::array<SignIndex, kMaxCodeLength>>;

SignsOfCodes sorted_codes(const std::vector<Code>& codes) {
    SignsOfCodes signs;
    for (const Code& code : codes) signs.push_back(code.signs);
    std::sort(signs.begin(), signs.end());
    return signs;
}

SignsOfCodes sorted_codes(const CandidateList& list) {
    std::vector<Code> codes;
    for (std::size_t entry = 0; entry < list.size(); ++entry) codes.push_back(list.code(entry));
    return sorted_codes(codes);
}

Code random_try(const CodeSet& set, Random& random, bool vacant) {
    Code code;
    code.length = set.code_length;
    for (int position = 0; position < set.code_length; ++position)
        code.signs[position] = static_cast<SignIndex>(
            random.uniform(set.set_size + (vacant ? 1 : 0)) + (vacant ? 0 : 1));
    return code;
}

bool has_repeated_sign(const Code& code) {
    std::set<SignIndex> signs(code.signs.begin(), code.signs.begin() + code.length);
    return static_cast<int>(signs.size()) < code.length;
}

// Draws of the generator a call made, told by the value it yields next.
int draws_made(Random after, std::uint64_t seed) {
    Random fresh(seed);
    const std::uint64_t next = after.next();
    for (int draws = 0; draws < 64; ++draws)
        if (fresh.next() == next) return draws;
    return -1;
}

void set_conditions(GameSetup& setup, char first, char last, int length, bool repetition,
                    bool computer_sets_riddle, bool fixed) {
    setup.signs.set_stretch(first, last);
    setup.record.first_sign = static_cast<std::uint8_t>(first);
    setup.record.last_sign = static_cast<std::uint8_t>(last);
    setup.record.code_length = static_cast<std::uint8_t>(length);
    setup.record.repetition = repetition ? 1 : 0;
    setup.record.computer_sets_riddle = computer_sets_riddle ? 1 : 0;
    setup.record.computer_guesses = 0;
    setup.record.answer_fixed = fixed ? 1 : 0;
}

// A match in which a person guesses on a scripted terminal: the tries are handed over complete,
// each on the next row of board column 1, and the board's earlier tries are kept as the flow
// keeps them. The keyboard is not polled unless a test asks for it.
struct PersonGuessing {
    PersonGuessing(char first, char last, int length, bool repetition,
                   bool computer_sets_riddle = true, bool fixed = false)
        : clock(rig.app, MatchKind{false, fixed}) {
        set_conditions(rig.app.setup, first, last, length, repetition, computer_sets_riddle, fixed);
        rig.app.setup.answer_code = GameSetup::blank_answer_code();
    }

    Preparation prepare() { return prepare_variable_answer(rig.app, clock, answer, escape_requested); }

    std::optional<Response> answer_try(std::string_view text) {
        const std::optional<Code> code =
            code_from_text(text, rig.app.setup.record.code_length, rig.app.setup.signs);
        EXPECT_TRUE(code.has_value()) << text;
        TypedTry typed;
        std::copy(text.begin(), text.end(), typed.text.begin());
        typed.code = code.value_or(Code{});
        ++row;
        const std::optional<Response> response =
            answer_person_try(rig.app, clock, answer, typed, earlier, place(), escape_requested);
        if (response) earlier.push_back(record_of(typed, *response));
        return response;
    }

    BoardPlace place() const { return BoardPlace{1, row}; }
    // The P cell, the column between them and the Z cell of the last row answered.
    std::string shown() const { return rig.row(place().screen_row()).substr(55, 3); }
    std::string answer_code() const {
        return std::string(rig.app.setup.answer_code.begin(), rig.app.setup.answer_code.end());
    }

    TestRig rig;
    MatchClock clock;
    VariableAnswer answer;
    EscapePoll escape_requested = [] { return false; };
    std::vector<TryRecord> earlier;
    int row = 0;
};

// --- The fixed code -------------------------------------------------------------------------

TEST(FixedCode, TheCoinIsTossedOnlyWhenNeitherLengthForcesRepetition) {
    struct Case {
        int set_size, length;
        bool repetition;
        int draws;
    };
    for (const Case c : {Case{6, 2, true, 2}, Case{4, 7, true, 7}, Case{6, 4, true, 5},
                         Case{6, 4, false, 4}, Case{2, 2, false, 2}}) {
        for (std::uint64_t seed = 1; seed <= 20; ++seed) {
            Random random(seed);
            const Code code = choose_fixed_code(c.set_size, c.length, c.repetition, random);
            EXPECT_EQ(draws_made(random, seed), c.draws) << c.set_size << " " << c.length;
            EXPECT_EQ(code.length, c.length);
            for (int position = 0; position < kMaxCodeLength; ++position) {
                if (position < c.length) {
                    EXPECT_GE(code.signs[position], 1);
                    EXPECT_LE(code.signs[position], c.set_size);
                } else {
                    EXPECT_EQ(code.signs[position], 0);
                }
            }
            if (!c.repetition) {
                EXPECT_FALSE(has_repeated_sign(code));
            }
        }
    }
}

TEST(FixedCode, WithRepetitionHalfTheCodesAreDrawnWithoutIt) {
    Random random(4711);
    constexpr int kDraws = 6000;
    int repeated = 0;
    for (int draw = 0; draw < kDraws; ++draw)
        repeated += has_repeated_sign(choose_fixed_code(6, 4, true, random));
    // Half are drawn position by position, and of those 1 - 360/1296 repeat a sign.
    const double expected = 0.5 * (1.0 - 360.0 / 1296.0);
    EXPECT_NEAR(static_cast<double>(repeated) / kDraws, expected, 0.025);
}

TEST(FixedCode, TwoPositionsOrMorePositionsThanSignsAlwaysDrawEachPositionFreely) {
    Random random(99);
    constexpr int kDraws = 6000;
    int repeated = 0;
    for (int draw = 0; draw < kDraws; ++draw)
        repeated += has_repeated_sign(choose_fixed_code(6, 2, true, random));
    EXPECT_NEAR(static_cast<double>(repeated) / kDraws, 1.0 / 6.0, 0.02);
    for (int draw = 0; draw < 100; ++draw)
        EXPECT_TRUE(has_repeated_sign(choose_fixed_code(3, 4, true, random)));
}

TEST(FixedCode, WithoutRepetitionEveryCodeIsEquallyLikely) {
    Random random(2024);
    std::map<std::string, int> seen;
    for (int draw = 0; draw < 12000; ++draw)
        ++seen[text_of_code(choose_fixed_code(5, 3, false, random), kLetters)];
    ASSERT_EQ(seen.size(), 60u);
    for (const auto& [code, times] : seen) {
        EXPECT_FALSE(has_repeated_sign(code_of(code.substr(0, 3)))) << code;
        EXPECT_GT(times, 140) << code;
        EXPECT_LT(times, 260) << code;
    }
}

TEST(FixedCode, TheAnswerCodeHoldsTheSignsOfTheSetAndBlanksAfterThem) {
    TestRig rig;
    set_conditions(rig.app.setup, 'y', 'b', 5, false, true, true);
    rig.app.random.reseed(8);
    choose_fixed_answer_code(rig.app);
    const std::string code(rig.app.setup.answer_code.begin(), rig.app.setup.answer_code.end());
    EXPECT_EQ(code.substr(5), "    ");
    for (const char sign : code.substr(0, 5)) EXPECT_TRUE(rig.app.setup.signs.in_set(sign)) << code;
    EXPECT_FALSE(has_repeated_sign(*code_from_text(code, 5, rig.app.setup.signs)));
}

TEST(Referee, AFixedCodeIsScoredAndAnExactTryWins) {
    PersonGuessing match('a', 'd', 4, true, true, true);
    const std::string fixed = "abca     ";
    std::copy(fixed.begin(), fixed.end(), match.rig.app.setup.answer_code.begin());
    EXPECT_EQ(match.answer_try("aabb"), pz(1, 2));
    EXPECT_EQ(match.shown(), "1 2");
    EXPECT_EQ(match.answer_try("dddd"), pz(0, 0));
    EXPECT_EQ(match.answer_try("abca"), pz(4, 0));
    EXPECT_EQ(match.shown(), "4 0");
    EXPECT_EQ(match.answer_code(), fixed);
}

// --- The candidate list ---------------------------------------------------------------------

TEST(CandidateList, HoldsEveryCodeOfTheSetOnce) {
    for (const CodeSet set : {CodeSet{3, 3, true}, CodeSet{4, 3, false}, CodeSet{5, 5, false},
                              CodeSet{2, 9, true}, CodeSet{36, 2, false}, CodeSet{7, 4, true}}) {
        CandidateList list;
        ASSERT_EQ(list.build(set, kPlentyOfMemory, {}), BuildResult::Built);
        std::set<std::vector<SignIndex>> codes;
        for (std::size_t entry = 0; entry < list.size(); ++entry) {
            const Code code = list.code(entry);
            EXPECT_EQ(code.length, set.code_length);
            for (int position = 0; position < set.code_length; ++position) {
                EXPECT_GE(code.signs[position], 1);
                EXPECT_LE(code.signs[position], set.set_size);
            }
            if (!set.repetition) {
                EXPECT_FALSE(has_repeated_sign(code));
            }
            codes.insert(std::vector<SignIndex>(code.signs.begin(), code.signs.end()));
        }
        EXPECT_EQ(codes.size(), list.size());
        EXPECT_EQ(list.size(), code_count(set.set_size, set.code_length, set.repetition));
    }
}

TEST(CandidateList, NeverNeedsMoreThanTheBudgetsThirtyTwoBytesPerCode) {
    for (int set_size = 2; set_size <= kRingSize; ++set_size) {
        for (int length = 2; length <= kMaxCodeLength; ++length) {
            for (const bool repetition : {false, true}) {
                const std::uint64_t codes = code_count(set_size, length, repetition);
                if (codes < 64) continue;
                EXPECT_LE(CandidateList::bytes_needed({set_size, length, repetition}), 32 * codes)
                    << set_size << " " << length << " " << repetition;
            }
        }
    }
}

TEST(CandidateList, ABuildThatWouldNotFitIsRefusedAndLeavesNothing) {
    const CodeSet set{10, 5, true};
    const std::uint64_t bytes = CandidateList::bytes_needed(set);
    CandidateList list;
    int polls = 0;
    BuildHooks hooks;
    hooks.abandon_requested = [&] { return ++polls < 0; };
    EXPECT_EQ(list.build(set, bytes - 1, hooks), BuildResult::TooLargeForMachine);
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(polls, 0);
    EXPECT_EQ(list.build(set, bytes, hooks), BuildResult::Built);
    EXPECT_EQ(list.size(), 100000u);
}

TEST(CandidateList, MoreCodesThanAClassCanCountAreRefusedWithoutAllocating) {
    CandidateList list;
    // 36^6 codes overflow the signed 32-bit class counts; 36 * 35 * ... * 31 do not. The
    // game's own limit, whatever memory the machine has.
    for (const std::uint64_t memory : {std::uint64_t{0}, std::numeric_limits<std::uint64_t>::max()}) {
        EXPECT_EQ(list.build({36, 6, true}, memory, {}), BuildResult::NoRoom);
        EXPECT_EQ(list.size(), 0u);
    }
    EXPECT_LE(code_count(36, 6, false),
              static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()));
}

TEST(CandidateList, TheBuildPollsEverySixteenthEntryBeatsEvery256AndReportsTenths) {
    CandidateList list;
    int polls = 0;
    std::vector<std::uint64_t> beats;
    std::vector<int> tenths;
    BuildHooks hooks;
    hooks.abandon_requested = [&] {
        ++polls;
        return false;
    };
    hooks.heartbeat = [&](std::uint64_t made) { beats.push_back(made); };
    hooks.progress = [&](int shown) { tenths.push_back(shown); };
    ASSERT_EQ(list.build({6, 6, false}, kPlentyOfMemory, hooks), BuildResult::Built);
    EXPECT_EQ(polls, 720 / 16);
    EXPECT_EQ(beats, (std::vector<std::uint64_t>{0, 256, 512}));
    EXPECT_EQ(tenths, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    tenths.clear();
    ASSERT_EQ(list.build({2, 2, false}, kPlentyOfMemory, hooks), BuildResult::Built);
    EXPECT_EQ(tenths, (std::vector<int>{5, 10}));
}

TEST(CandidateList, ABuildBrokenOffLeavesNoList) {
    CandidateList list;
    int polls = 0;
    BuildHooks hooks;
    hooks.abandon_requested = [&] { return ++polls == 3; };
    EXPECT_EQ(list.build({10, 4, false}, kPlentyOfMemory, hooks),
              BuildResult::Abandoned);
    EXPECT_EQ(polls, 3);
    EXPECT_EQ(list.size(), 0u);
}

// The pass and the filter of either vector width against scoring every code, over random sets,
// tries with vacant and repeated signs, and sets whose codes all hold the same signs.
TEST(CandidateList, BothVectorWidthsMatchScoringEveryCode) {
    for (std::uint64_t round = 0; round < 60; ++round) {
        Random random(1000 + round);
        CodeSet set{2 + static_cast<int>(random.uniform(20)),
                    2 + static_cast<int>(random.uniform(8)), true};
        if (round % 3 == 0) set = CodeSet{set.code_length % 6 + 2, set.code_length % 6 + 2, false};
        while (code_count(set.set_size, set.code_length, set.repetition) > 40000) --set.code_length;
        const bool same_signs = !set.repetition && set.code_length == set.set_size;
        SignFlags all{};
        std::fill(all.begin() + 1, all.begin() + 1 + set.set_size, true);

        CandidateList widest(CandidateList::VectorWidth::Widest);
        CandidateList sixteen(CandidateList::VectorWidth::Sixteen);
        ASSERT_EQ(widest.build(set, kPlentyOfMemory, {}), BuildResult::Built);
        ASSERT_EQ(sixteen.build(set, kPlentyOfMemory, {}), BuildResult::Built);
        std::vector<Code> remaining = all_codes(set);
        for (int number = 0; number < 6 && remaining.size() > 1; ++number) {
            const Code try_code = random_try(set, random, true);
            const ClassTable expected = brute_force_classes(remaining, try_code, set.set_size);
            std::optional<int> total;
            if (same_signs)
                total = score(try_code, remaining.front(),
                              sign_counts(remaining.front(), set.set_size, false))
                            .t;
            ASSERT_EQ(widest.classify(try_code, all, total), expected) << "round " << round;
            ASSERT_EQ(sixteen.classify(try_code, all, total), expected) << "round " << round;
            // The smallest class that is not empty, so that the lists shrink in steps of all sizes.
            Response answer;
            std::int32_t smallest = std::numeric_limits<std::int32_t>::max();
            for (int t = 0; t <= set.code_length; ++t) {
                for (int p = 0; p <= t; ++p) {
                    if (!expected.possible(t, p) || expected.count(t, p) >= smallest) continue;
                    answer = pz(p, t - p);
                    smallest = expected.count(answer);
                }
            }
            widest.keep(answer);
            sixteen.keep(answer);
            remaining = survivors(remaining, try_code, answer, set.set_size);
            EXPECT_EQ(sorted_codes(widest), sorted_codes(remaining)) << "round " << round;
            EXPECT_EQ(sorted_codes(sixteen), sorted_codes(remaining)) << "round " << round;
        }
    }
}

// --- The variable answer --------------------------------------------------------------------

TEST(VariableAnswerChoice, TheLargestClassWinsAndTheTableDecidesBetweenEqualOnes) {
    ResponseTable table;
    table.build(2);  // 0/1, 1/0, 0/0, 0/2, 2/0
    ClassTable classes;
    classes.add(pz(2, 0), 1);
    classes.add(pz(0, 0), 1);
    EXPECT_EQ(choose_variable_answer(classes, table), pz(0, 0));
    classes.add(pz(0, 2), 2);
    EXPECT_EQ(choose_variable_answer(classes, table), pz(0, 2));
    classes.add(pz(0, 1), 2);
    EXPECT_EQ(choose_variable_answer(classes, table), pz(0, 1));
    classes.add(pz(2, 0), 2);
    EXPECT_EQ(choose_variable_answer(classes, table), pz(2, 0));
}

TEST(VariableAnswerChoice, SixPositionsOverCertainSetsSetByTheComputerLeaveOutRepeats) {
    for (const int set_size : {6, 27, 31, 36}) {
        EXPECT_FALSE(candidate_code_set(set_size, 6, true, true).repetition) << set_size;
        EXPECT_TRUE(candidate_code_set(set_size, 6, true, false).repetition) << set_size;
        EXPECT_TRUE(candidate_code_set(set_size, 5, true, true).repetition) << set_size;
    }
    for (const int set_size : {5, 7, 26, 28, 30, 32, 35})
        EXPECT_TRUE(candidate_code_set(set_size, 6, true, true).repetition);
    EXPECT_FALSE(candidate_code_set(10, 6, false, false).repetition);
}

TEST(VariableAnswer, PermutationModeKnowsFromTheStartThatEveryCodeHoldsTheSameSigns) {
    VariableAnswer permutations;
    ASSERT_EQ(permutations.build({4, 4, false}, kPlentyOfMemory, {}),
              BuildResult::Built);
    EXPECT_TRUE(permutations.same_signs_everywhere());
    VariableAnswer partial;
    ASSERT_EQ(partial.build({5, 4, false}, kPlentyOfMemory, {}), BuildResult::Built);
    EXPECT_FALSE(partial.same_signs_everywhere());
    VariableAnswer repeated;
    ASSERT_EQ(repeated.build({4, 4, true}, kPlentyOfMemory, {}), BuildResult::Built);
    EXPECT_FALSE(repeated.same_signs_everywhere());
    for (int sign = 0; sign <= kRingSize; ++sign)
        EXPECT_EQ(repeated.possible_signs()[sign], sign >= 1 && sign <= 4);
}

TEST(VariableAnswer, AllSignsInCommonFixTheSignsOfEveryCandidate) {
    VariableAnswer answer;
    ASSERT_EQ(answer.build({5, 3, true}, kPlentyOfMemory, {}), BuildResult::Built);
    const Code try_code = code_of("aab");
    answer.classify(try_code);
    answer.narrow(try_code, pz(1, 2));
    EXPECT_TRUE(answer.same_signs_everywhere());
    EXPECT_EQ(answer.candidate_count(), 2u);  // aba, baa
    for (int sign = 0; sign <= kRingSize; ++sign)
        EXPECT_EQ(answer.possible_signs()[sign], sign == 1 || sign == 2);
    EXPECT_EQ(answer.classify(code_of("aba")).count(pz(3, 0)), 1);
}

TEST(VariableAnswer, NothingInCommonRulesSignsOutAndCanFixTheRest) {
    VariableAnswer answer;
    ASSERT_EQ(answer.build({5, 4, false}, kPlentyOfMemory, {}), BuildResult::Built);
    const Code try_code = code_of("aa*a");
    answer.classify(try_code);
    answer.narrow(try_code, pz(0, 0));
    EXPECT_EQ(answer.candidate_count(), 24u);
    EXPECT_FALSE(answer.possible_signs()[1]);
    // Four signs left for four different positions: every candidate holds all of them.
    EXPECT_TRUE(answer.same_signs_everywhere());
    EXPECT_EQ(answer.known_answer(typed("aaaa"), {}), pz(0, 0));
    EXPECT_EQ(answer.known_answer(typed("a***"), {}), pz(0, 0));
    EXPECT_EQ(answer.known_answer(typed("ab**"), {}), std::nullopt);

    VariableAnswer repeated;
    ASSERT_EQ(repeated.build({5, 4, true}, kPlentyOfMemory, {}), BuildResult::Built);
    repeated.classify(try_code);
    repeated.narrow(try_code, pz(0, 0));
    EXPECT_FALSE(repeated.same_signs_everywhere());
}

TEST(VariableAnswer, ARepeatedTryDrawsTheAnswerTheBoardShows) {
    VariableAnswer answer;
    ASSERT_EQ(answer.build({6, 4, true}, kPlentyOfMemory, {}), BuildResult::Built);
    const std::vector<TryRecord> earlier{record_of(typed("abcd"), pz(1, 2)),
                                         record_of(typed("eeff"), pz(0, 1))};
    EXPECT_EQ(answer.known_answer(typed("eeff"), earlier), pz(0, 1));
    EXPECT_EQ(answer.known_answer(typed("abcd"), earlier), pz(1, 2));
    EXPECT_EQ(answer.known_answer(typed("abdc"), earlier), std::nullopt);
    EXPECT_EQ(answer.known_answer(typed("****"), earlier), pz(0, 0));
}

// For random games and tries, the pass, the shortcuts and the sign bookkeeping must give
// exactly what scoring every code of the set gives, and every answer must leave a code.
TEST(VariableAnswer, AnswersEqualThoseOfScoringEveryCode) {
    int shortcuts = 0;
    int multiset_switches = 0;
    for (std::uint64_t game = 0; game < 160; ++game) {
        Random random(game);
        CodeSet set;
        set.set_size = 2 + static_cast<int>(random.uniform(9));
        set.code_length = 2 + static_cast<int>(random.uniform(5));
        set.repetition = random.uniform(2) == 0 || set.code_length > set.set_size;
        if (!set.repetition && random.uniform(3) == 0) set.code_length = std::min(set.set_size, 6);
        while (code_count(set.set_size, set.code_length, set.repetition) > 60000) --set.code_length;
        const bool vacant = random.uniform(2) == 0;

        VariableAnswer answer;
        ASSERT_EQ(answer.build(set, kPlentyOfMemory, {}), BuildResult::Built);
        std::vector<Code> remaining = all_codes(set);
        ASSERT_EQ(answer.candidate_count(), remaining.size());
        const bool multiset_at_start = answer.same_signs_everywhere();
        std::vector<TryRecord> earlier;
        std::vector<Code> earlier_codes;
        for (int number = 0; number < 14; ++number) {
            const Code try_code = number % 5 == 4
                                      ? earlier_codes[random.uniform(earlier_codes.size())]
                                      : random_try(set, random, vacant);
            const ClassTable expected_classes =
                brute_force_classes(remaining, try_code, set.set_size);
            const Response expected = brute_force_choice(expected_classes, set.code_length);
            Response given;
            if (const auto known = answer.known_answer(typed(try_code), earlier)) {
                ++shortcuts;
                given = *known;
                EXPECT_EQ(expected_classes.count(given),
                          static_cast<std::int32_t>(remaining.size()));
            } else {
                EXPECT_EQ(answer.classify(try_code), expected_classes) << "game " << game;
                given = choose_variable_answer(expected_classes, answer.responses());
                if (given.p != set.code_length) answer.narrow(try_code, given);
            }
            ASSERT_EQ(given, expected) << "game " << game << " try " << number;
            ASSERT_GT(expected_classes.count(given), 0);
            if (given.p == set.code_length) break;
            remaining = survivors(remaining, try_code, given, set.set_size);
            ASSERT_EQ(answer.candidate_count(), remaining.size()) << "game " << game;
            if (remaining.size() == 1)
                EXPECT_EQ(answer.determined_code(), remaining.front());
            else
                EXPECT_EQ(answer.determined_code(), std::nullopt);
            earlier.push_back(record_of(typed(try_code), given));
            earlier_codes.push_back(try_code);
        }
        multiset_switches += !multiset_at_start && answer.same_signs_everywhere();
    }
    // The games must have gone through the shortcuts and the switch to a fixed multiset.
    EXPECT_GT(shortcuts, 50);
    EXPECT_GT(multiset_switches, 5);
}

// --- Answering a person's try ---------------------------------------------------------------

TEST(AnsweringATry, TheWorkedExampleWithTheSignsAAndB) {
    PersonGuessing match('a', 'b', 2, true);
    ASSERT_EQ(match.prepare(), Preparation::Ready);
    EXPECT_EQ(match.answer.candidate_count(), 4u);

    VariableAnswer probe;
    ASSERT_EQ(probe.build({2, 2, true}, kPlentyOfMemory, {}), BuildResult::Built);
    const ClassTable first = probe.classify(code_of("ba"));
    EXPECT_EQ(first.count(pz(2, 0)), 1);
    EXPECT_EQ(first.count(pz(0, 2)), 1);
    EXPECT_EQ(first.count(pz(1, 0)), 2);

    EXPECT_EQ(match.answer_try("ba"), pz(1, 0));
    EXPECT_EQ(match.shown(), "1 0");
    EXPECT_EQ(match.answer.candidate_count(), 2u);
    EXPECT_EQ(match.answer_code(), "         ");
    // 2/0 {bb} and 0/0 {aa} tie; the table lists 0/0 first.
    EXPECT_EQ(match.answer_try("bb"), pz(0, 0));
    EXPECT_EQ(match.shown(), "0 0");
    EXPECT_EQ(match.answer_code(), "aa       ");
    EXPECT_EQ(match.answer_try("aa"), pz(2, 0));
    EXPECT_EQ(match.shown(), "2 0");
    EXPECT_EQ(match.answer.candidate_count(), 0u);
    EXPECT_EQ(match.answer_code(), "aa       ");
}

TEST(AnsweringATry, WithOneCandidateLeftAnotherTryGetsItsScore) {
    PersonGuessing match('a', 'b', 2, true);
    ASSERT_EQ(match.prepare(), Preparation::Ready);
    match.answer_try("ba");
    match.answer_try("bb");
    ASSERT_EQ(match.answer.candidate_count(), 1u);
    EXPECT_EQ(match.answer_try("ab"), pz(1, 0));
    EXPECT_EQ(match.answer_try("*a"), pz(1, 0));
    EXPECT_EQ(match.answer.candidate_count(), 1u);
    EXPECT_EQ(match.answer_try("aa"), pz(2, 0));
}

TEST(AnsweringATry, ExcludedOrVacantSignsAndRepeatsAreAnsweredWithoutAPass) {
    PersonGuessing match('0', '9', 4, false);
    ASSERT_EQ(match.prepare(), Preparation::Ready);
    ASSERT_EQ(match.answer.candidate_count(), 5040u);
    EXPECT_EQ(match.answer_try("****"), pz(0, 0));
    EXPECT_EQ(match.shown(), "0 0");
    EXPECT_EQ(match.answer.candidate_count(), 5040u);

    const std::optional<Response> first = match.answer_try("0123");
    const std::size_t after_first = match.answer.candidate_count();
    const std::optional<Response> second = match.answer_try("4567");
    const std::size_t after_second = match.answer.candidate_count();
    ASSERT_LT(after_second, after_first);
    EXPECT_EQ(match.answer_try("0123"), first);
    EXPECT_EQ(match.answer_try("4567"), second);
    EXPECT_EQ(match.answer.candidate_count(), after_second);
}

TEST(AnsweringATry, SixOverSixSetByTheComputerHoldsOnlyTheCodesWithoutRepeats) {
    PersonGuessing match('a', 'f', 6, true);
    ASSERT_EQ(match.prepare(), Preparation::Ready);
    EXPECT_EQ(match.answer.candidate_count(), 720u);
    for (const char* try_text : {"abcdef", "fedcba", "badcfe", "cabfed"}) {
        const std::optional<Response> response = match.answer_try(try_text);
        ASSERT_TRUE(response.has_value());
        EXPECT_EQ(response->t, 6) << try_text;
        if (response->p == 6) break;
    }

    PersonGuessing person_sets('a', 'f', 6, true, false);
    ASSERT_EQ(person_sets.prepare(), Preparation::Ready);
    EXPECT_EQ(person_sets.answer.candidate_count(), 46656u);
}

TEST(AnsweringATry, InPermutationModeTIsTheNumberOfDifferentSignsTried) {
    PersonGuessing match('a', 'e', 5, false);
    match.rig.app.setup.record.vacant_signs = 1;
    ASSERT_EQ(match.prepare(), Preparation::Ready);
    for (const char* try_text : {"aabbc", "*****", "e*e*e", "abcde", "ddddd", "bca*d", "edcba"}) {
        const std::optional<Response> response = match.answer_try(try_text);
        ASSERT_TRUE(response.has_value());
        std::set<char> signs(try_text, try_text + 5);
        signs.erase('*');
        EXPECT_EQ(response->t, static_cast<int>(signs.size())) << try_text;
        if (response->p == 5) break;
    }
}

TEST(AnsweringATry, EscAfterTheAnswerOrWhileThePersonAnswersReleasesTheList) {
    PersonGuessing computer_sets('0', '9', 4, false);
    ASSERT_EQ(computer_sets.prepare(), Preparation::Ready);
    computer_sets.escape_requested = [] { return true; };
    EXPECT_EQ(computer_sets.answer_try("0123"), std::nullopt);
    EXPECT_EQ(computer_sets.shown(), "   ");
    EXPECT_EQ(computer_sets.answer.candidate_count(), 0u);

    PersonGuessing person_sets('a', 'c', 3, true, false);
    ASSERT_EQ(person_sets.prepare(), Preparation::Ready);
    person_sets.rig.terminal.key(keys::kEsc);
    EXPECT_EQ(person_sets.answer_try("abc"), std::nullopt);
    EXPECT_EQ(person_sets.answer.candidate_count(), 0u);
}

TEST(AnsweringATry, TheConsoleIsPolledOnceAfterTheAnswer) {
    for (const std::uint8_t key : {keys::kEsc, keys::kCtrlC}) {
        PersonGuessing match('0', '9', 4, false);
        ASSERT_EQ(match.prepare(), Preparation::Ready);
        match.escape_requested = nullptr;
        match.rig.terminal.key(key);
        EXPECT_EQ(match.answer_try("0123"), std::nullopt);
        EXPECT_EQ(match.answer.candidate_count(), 0u);
    }
    PersonGuessing match('0', '9', 4, false);
    ASSERT_EQ(match.prepare(), Preparation::Ready);
    match.escape_requested = nullptr;
    match.rig.terminal.type("x").extended(scan::kF4);
    EXPECT_TRUE(match.answer_try("0123").has_value());
    EXPECT_EQ(match.rig.terminal.keys_left(), 1u);
    EXPECT_TRUE(match.answer_try("3210").has_value());
    EXPECT_EQ(match.rig.terminal.keys_left(), 0u);
}

TEST(AnsweringATry, APersonsVariableCodeIsAnsweredByThePersonWithinTheClasses) {
    PersonGuessing match('a', 'b', 2, true, false);
    ASSERT_EQ(match.prepare(), Preparation::Ready);
    // ab against aa, ab, ba, bb: 1/0 twice, 2/0, 0/2. P = 1 leaves only Z = 0.
    match.rig.terminal.type("1");
    EXPECT_EQ(match.answer_try("ab"), pz(1, 0));
    EXPECT_EQ(match.shown(), "1 0");
    EXPECT_EQ(match.answer.candidate_count(), 2u);
    // aa against aa, bb: 3 is refused, 1 has no class, 2 wins.
    match.rig.terminal.type("312");
    EXPECT_EQ(match.answer_try("aa"), pz(2, 0));
    EXPECT_EQ(match.answer_code(), "aa       ");
    EXPECT_EQ(match.answer.candidate_count(), 0u);
}

// --- Preparing the variable answer on screen -------------------------------------------------

TEST(PreparingTheList, ProgressStarsGrowOverTheStatusLineAndTheCursorReturns) {
    PersonGuessing match('a', 'f', 6, false);
    match.clock.start();
    EXPECT_EQ(match.rig.row(25),
              "       Bereits verstrichene Zeit: 00.00.00 .......... benoetigte Zeit: 00.00.00 ");
    std::vector<int> stars_at_polls;
    match.rig.console.goto_xy(47, 9);
    match.escape_requested = [&] {
        const std::string bar = match.rig.row(25).substr(43, 10);
        stars_at_polls.push_back(static_cast<int>(std::count(bar.begin(), bar.end(), '*')));
        EXPECT_EQ(bar.find_first_not_of('*'), static_cast<std::size_t>(stars_at_polls.back()));
        EXPECT_EQ(match.rig.console.where_x(), 47);
        EXPECT_EQ(match.rig.console.where_y(), 9);
        return false;
    };
    ASSERT_EQ(match.prepare(), Preparation::Ready);

    ASSERT_EQ(stars_at_polls.size(), 45u);
    for (std::size_t poll = 0; poll < stars_at_polls.size(); ++poll)
        EXPECT_EQ(stars_at_polls[poll], static_cast<int>(poll * 16 * 10 / 720)) << poll;
    // Done: the status line takes its form for the match.
    EXPECT_EQ(match.rig.row(25),
              "Loesung:                Benoetigte Versuche:            Neues Spiel? Ja.        ");
    EXPECT_EQ(match.rig.console.where_x(), 47);
    EXPECT_EQ(match.rig.console.where_y(), 9);
}

TEST(PreparingTheList, AListBeyondTheMachinesMemoryIsRefusedBeforeAnyWork) {
    PersonGuessing short_by_a_byte('0', '9', 5, true);
    short_by_a_byte.rig.memory.set_available(CandidateList::bytes_needed({10, 5, true}) - 1);
    short_by_a_byte.clock.start();
    const std::string status_line = short_by_a_byte.rig.row(25);
    int polls = 0;
    short_by_a_byte.escape_requested = [&] { return ++polls < 0; };
    EXPECT_EQ(short_by_a_byte.prepare(), Preparation::TooLargeForMachine);
    EXPECT_EQ(short_by_a_byte.rig.row(25), status_line);
    EXPECT_EQ(short_by_a_byte.answer.candidate_count(), 0u);
    EXPECT_EQ(polls, 0);

    PersonGuessing just_enough('0', '9', 5, true);
    just_enough.rig.memory.set_available(CandidateList::bytes_needed({10, 5, true}));
    EXPECT_EQ(just_enough.prepare(), Preparation::Ready);
    EXPECT_EQ(just_enough.answer.candidate_count(), 100000u);
}

TEST(PreparingTheList, EscOrCtrlCDuringTheBuildEndAtOnceWithoutAList) {
    for (const std::uint8_t key : {keys::kEsc, keys::kCtrlC}) {
        PersonGuessing match('0', '9', 5, true);
        match.clock.start();
        const std::string status_line = match.rig.row(25);
        match.escape_requested = nullptr;
        match.rig.terminal.type("x").extended(scan::kF6).key(key).type("y");
        EXPECT_EQ(match.prepare(), Preparation::Abandoned);
        EXPECT_EQ(match.rig.row(25), status_line);
        EXPECT_EQ(match.answer.candidate_count(), 0u);
        // The keys before the abandoning one were consumed, nothing after it.
        EXPECT_EQ(match.rig.terminal.keys_left(), 1u);
    }
}

}  // namespace
