#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/scoring.hpp"
#include "guesser/guesser.hpp"
#include "guesser/search_workers.hpp"

// The workers may only make a search faster: whatever the number of threads, it shows,
// chooses and draws exactly as the search on the caller's thread alone.

namespace {

constexpr std::uint64_t kPlentyOfMemory = std::uint64_t{1} << 34;
// Below this much work a search stays on the caller's thread, workers or not.
constexpr std::uint64_t kWorkForWorkers = std::uint64_t{1} << 14;

std::string name_of(const GuessShape& shape) {
    return std::to_string(shape.length) + " over " + std::to_string(shape.set_size) +
           (shape.repetition ? " with" : " without") + " repetition" +
           (shape.chain_repetition != shape.repetition ? " (candidates without)" : "") +
           (shape.vacant ? ", vacant" : "");
}

std::string text_of(const Code& code) {
    std::string text;
    for (int position = 0; position < code.length; ++position)
        text += (position ? "," : "") + std::to_string(code.signs[position]);
    return text;
}

std::string text_of(const Measures& measures) {
    return std::to_string(measures.max) + "/" + std::to_string(measures.sum_of_squares) + "/" +
           std::to_string(measures.classes) + (measures.win ? "/win" : "");
}

// One pool per thread count, shared by every search of a test.
struct Pools {
    std::vector<std::unique_ptr<SearchWorkers>> pools;
    explicit Pools(std::initializer_list<int> threads) {
        for (const int count : threads) pools.push_back(std::make_unique<SearchWorkers>(count));
    }
};

// All a search leaves that the game or the next search goes on from.
struct Searched {
    Code shown;
    std::int32_t to_evaluate = 0;
    std::vector<bool> improved;  // what each evaluate_next answered
    Code chosen;
    Measures measures;
    ClassTable classes;
    std::vector<std::int32_t> tries;
    std::int32_t evaluated = 0;
    bool done = false;
    std::array<std::uint64_t, 4> draws_after{};  // the generator's next draws
    bool on_workers = false;  // big enough for the workers, with more than one thread
};

// One search from copies of the position and its generator; with `steps`, stopped after so
// many evaluations.
Searched search_copy(const Guesser& position, const Random& random, SearchWorkers* workers,
                     std::optional<std::int32_t> steps = std::nullopt) {
    Guesser guesser = position;
    Random draws = random;
    guesser.use_workers(workers);
    Searched searched;
    searched.shown = guesser.begin_search(draws);
    searched.to_evaluate = guesser.to_evaluate();
    searched.on_workers = workers && workers->threads() > 1 && !guesser.opening_phase() &&
                          static_cast<std::uint64_t>(guesser.to_evaluate()) * guesser.candidate_count() >=
                              kWorkForWorkers;
    while (!guesser.search_done() && (!steps || static_cast<std::int32_t>(searched.improved.size()) < *steps))
        searched.improved.push_back(guesser.evaluate_next(draws));
    guesser.end_search();
    searched.chosen = guesser.chosen();
    searched.measures = guesser.chosen_measures();
    searched.classes = guesser.chosen_classes();
    searched.tries = guesser.tries();
    searched.evaluated = guesser.evaluated();
    searched.done = guesser.search_done();
    for (std::uint64_t& draw : searched.draws_after) draw = draws.next();
    return searched;
}

void expect_same_search(const Searched& alone, const Searched& shared) {
    EXPECT_EQ(text_of(shared.shown), text_of(alone.shown));
    EXPECT_EQ(shared.to_evaluate, alone.to_evaluate);
    EXPECT_EQ(shared.improved, alone.improved);
    EXPECT_EQ(text_of(shared.chosen), text_of(alone.chosen));
    EXPECT_EQ(text_of(shared.measures), text_of(alone.measures));
    EXPECT_TRUE(shared.classes == alone.classes);
    EXPECT_TRUE(shared.tries == alone.tries) << "the tries list after the search";
    EXPECT_EQ(shared.evaluated, alone.evaluated);
    EXPECT_EQ(shared.done, alone.done);
    EXPECT_EQ(shared.draws_after, alone.draws_after) << "the generator after the search";
}

// A position before its search, and the generator as it stands there.
struct Position {
    Guesser guesser;
    Random random;
    std::string label;
};

// The response of a class of the chosen try, drawn by its size, never the win; with
// `fill_total`, the largest class whose total is the length, if any, to fix the multiset.
Response draw_response(const ClassTable& classes, int length, Random& picker, bool fill_total) {
    if (fill_total) {
        Response largest{0, 0};
        std::int32_t most = 0;
        for (int p = 0; p < length; ++p)
            if (classes.count(length, p) > most) {
                most = classes.count(length, p);
                largest = Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(length)};
            }
        if (most > 0) return largest;
    }
    std::int64_t total = 0;
    for (int t = 0; t <= length; ++t)
        for (int p = 0; p <= t; ++p)
            if (p < length) total += classes.count(t, p);
    if (total == 0) return Response{static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length)};
    auto left = static_cast<std::int64_t>(picker.uniform(static_cast<std::uint64_t>(total)));
    for (int t = 0; t <= length; ++t)
        for (int p = 0; p <= t && p < length; ++p) {
            left -= classes.count(t, p);
            if (left < 0) return Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(t)};
        }
    return Response{0, 0};
}

Guesser built(const GuessShape& shape, Random& random) {
    Guesser guesser(shape);
    EXPECT_EQ(guesser.build(random, kPlentyOfMemory, {}), BuildResult::Built);
    return guesser;
}

struct GamePlan {
    GuessShape shape;
    std::vector<std::uint64_t> seeds;
    // Positions are taken before the tries first_try..last_try; try 1 is the opening's.
    int first_try;
    int last_try;
    int fill_total_at;  // the try whose response has total = length, or 0
};

// The positions of a game played on the caller's thread, each taken before its search.
std::vector<Position> positions_of_game(const GamePlan& plan, std::uint64_t seed) {
    const GuessShape& shape = plan.shape;
    std::vector<Position> positions;
    Random random(seed);
    Random picker(seed * 7919 + 13);
    Guesser guesser = built(shape, random);
    for (int round = 1; round <= plan.last_try && !guesser.one_candidate_left(); ++round) {
        if (round >= plan.first_try)
            positions.push_back({guesser, random,
                                 name_of(shape) + ", seed " + std::to_string(seed) + ", try " +
                                     std::to_string(round)});
        guesser.begin_search(random);
        while (!guesser.search_done()) guesser.evaluate_next(random);
        guesser.end_search();
        const Response response =
            draw_response(guesser.chosen_classes(), shape.length, picker, round == plan.fill_total_at);
        if (guesser.apply(response, random) != Guesser::Applied::Continue) break;
    }
    return positions;
}

// Openings, searches with and without the symmetry pass, fixed multisets from the start and
// after a total equal to the length, the vacant sign, candidates without repetition.
const std::vector<GamePlan>& whole_search_games() {
    static const std::vector<GamePlan> plans = {
        {{4, 6, true, true, false}, {1, 2}, 1, 4, 0},
        {{4, 6, true, true, false}, {4}, 1, 3, 1},
        {{4, 8, true, true, false}, {5}, 1, 3, 0},
        {{4, 10, true, true, false}, {7}, 1, 3, 0},
        {{5, 6, true, true, false}, {8}, 1, 3, 0},
        {{5, 6, true, true, false}, {10}, 1, 3, 1},
        {{5, 6, true, false, false}, {11}, 1, 3, 0},
        {{5, 8, true, true, false}, {24}, 2, 3, 1},
        {{4, 8, false, false, false}, {14}, 1, 4, 0},
        {{4, 8, false, false, false}, {15}, 1, 3, 1},
        {{5, 8, false, false, false}, {16}, 1, 2, 0},
        {{6, 6, false, false, false}, {17}, 4, 4, 0},
        {{4, 2, true, true, true}, {18}, 1, 4, 0},
        {{5, 2, true, true, true}, {19}, 1, 4, 0},
        {{6, 2, true, true, true}, {21}, 1, 4, 0},
        {{5, 4, true, true, true}, {22}, 1, 3, 0},
        {{6, 3, true, true, true}, {23}, 1, 3, 0},
    };
    return plans;
}

TEST(ParallelSearch, WholeSearchesChooseAsOnOneThread) {
    Pools pools{2, 3, 8};
    int on_workers = 0;
    int openings = 0;
    int fixed_multisets = 0;
    int drew = 0;
    for (const GamePlan& plan : whole_search_games())
        for (const std::uint64_t seed : plan.seeds)
            for (const Position& position : positions_of_game(plan, seed)) {
                SCOPED_TRACE(position.label);
                openings += position.guesser.opening_phase();
                fixed_multisets += position.guesser.fixed_multiset();
                const Searched alone = search_copy(position.guesser, position.random, nullptr);
                EXPECT_TRUE(alone.done);
                Random untouched = position.random;
                drew += untouched.next() != alone.draws_after[0];
                for (const auto& pool : pools.pools) {
                    SCOPED_TRACE(std::to_string(pool->threads()) + " threads");
                    const Searched shared = search_copy(position.guesser, position.random, pool.get());
                    on_workers += shared.on_workers;
                    expect_same_search(alone, shared);
                }
            }
    // The positions reach every mode, and some twenty of them are weighed on each pool.
    EXPECT_GE(openings, 10);
    EXPECT_GE(fixed_multisets, 5);
    EXPECT_GE(on_workers, 3 * 18);
    EXPECT_GE(drew, 20) << "searches that drew on the generator";
}

TEST(ParallelSearch, TwoCandidatesLeftChooseAsOnOneThread) {
    // Two candidates are weighed on the caller's thread, the tie broken by one draw.
    Pools pools{2, 3, 8};
    const GuessShape shape{4, 6, true, true, false};
    int positions = 0;
    for (std::uint64_t seed = 1; seed <= 60 && positions < 4; ++seed) {
        Random random(seed);
        Random picker(seed + 1000);
        Guesser guesser = built(shape, random);
        for (int round = 0; round < 8 && !guesser.one_candidate_left(); ++round) {
            if (guesser.candidate_count() == 2) {
                SCOPED_TRACE("seed " + std::to_string(seed));
                ++positions;
                const Searched alone = search_copy(guesser, random, nullptr);
                for (const auto& pool : pools.pools) expect_same_search(alone, search_copy(guesser, random, pool.get()));
                break;
            }
            guesser.begin_search(random);
            while (!guesser.search_done()) guesser.evaluate_next(random);
            guesser.end_search();
            if (guesser.apply(draw_response(guesser.chosen_classes(), 4, picker, false), random) !=
                Guesser::Applied::Continue)
                break;
        }
    }
    EXPECT_EQ(positions, 4);
}

// A search stopped after `steps` evaluations, on each pool, against the same on one thread.
void expect_same_stop(const Position& position, std::int32_t steps, const Pools& pools) {
    SCOPED_TRACE("stopped after " + std::to_string(steps));
    const Searched alone = search_copy(position.guesser, position.random, nullptr, steps);
    ASSERT_EQ(static_cast<std::int32_t>(alone.improved.size()), steps);
    for (const auto& pool : pools.pools) {
        SCOPED_TRACE(std::to_string(pool->threads()) + " threads");
        expect_same_search(alone, search_copy(position.guesser, position.random, pool.get(), steps));
    }
}

TEST(ParallelSearch, SearchesStoppedEarlyChooseAsOnOneThread) {
    // Searches with and without the symmetry pass, over a fixed multiset and with the vacant
    // sign, each long enough for the workers.
    const std::vector<GamePlan> games = {
        {{4, 8, true, true, false}, {5}, 2, 3, 0},    {{5, 6, true, true, false}, {10}, 2, 2, 1},
        {{4, 8, false, false, false}, {13}, 2, 3, 0}, {{5, 8, true, true, false}, {24}, 2, 2, 1},
        {{6, 3, true, true, true}, {23}, 2, 2, 0},
    };
    Pools pools{1, 2, 3, 8};
    int stopped = 0;
    for (const GamePlan& plan : games) {
        for (const Position& position : positions_of_game(plan, plan.seeds.front())) {
            SCOPED_TRACE(position.label);
            Guesser probe = position.guesser;
            Random draws = position.random;
            probe.begin_search(draws);
            const std::int32_t to_evaluate = probe.to_evaluate();
            ASSERT_FALSE(probe.opening_phase());
            ASSERT_GE(static_cast<std::uint64_t>(to_evaluate) * probe.candidate_count(), kWorkForWorkers);
            for (const std::int32_t steps : {1, 2, to_evaluate / 2, to_evaluate - 1}) {
                expect_same_stop(position, steps, pools);
                ++stopped;
            }
        }
    }
    EXPECT_EQ(stopped, 4 * 7);
}

// A response applied alone and on each pool: the same tries, candidates and draws.
Guesser expect_same_apply(const Guesser& position, const Random& random, Response response, const Pools& pools,
                          Random& after) {
    Guesser alone = position;
    after = random;
    EXPECT_EQ(alone.apply(response, after), Guesser::Applied::Continue);
    for (const auto& pool : pools.pools) {
        SCOPED_TRACE(std::to_string(pool->threads()) + " threads");
        Guesser shared = position;
        Random draws = random;
        shared.use_workers(pool.get());
        EXPECT_EQ(shared.apply(response, draws), Guesser::Applied::Continue);
        EXPECT_TRUE(shared.tries() == alone.tries());
        EXPECT_EQ(shared.candidate_count(), alone.candidate_count());
        EXPECT_EQ(shared.opening_phase(), alone.opening_phase());
        Random expected = after;
        EXPECT_EQ(draws.next(), expected.next());
    }
    return alone;
}

TEST(ParallelSearch, LongListsPassedOverInRangesLeaveTheSameTries) {
    // So many tries that the pruning and the symmetry pass go in ranges over the workers.
    Pools pools{1, 2, 3, 8};
    const GuessShape shape{6, 8, true, true, false};
    Random random(31);
    Guesser opened = built(shape, random);
    ASSERT_GE(opened.tries().size(), std::size_t{1} << 17);
    opened.begin_search(random);
    while (!opened.search_done()) opened.evaluate_next(random);
    opened.end_search();
    const ClassTable& classes = opened.chosen_classes();

    // Nothing in common: every try holding the opening's signs goes.
    ASSERT_GT(classes.count(0, 0), 0);
    Random after_nothing = random;
    const Guesser pruned = expect_same_apply(opened, random, Response{0, 0}, pools, after_nothing);
    EXPECT_LT(pruned.tries().size(), opened.tries().size());

    // Signs in common: out of the opening, the whole list left to the symmetry pass.
    Response response{0, 1};
    for (int t = 1; t < shape.length; ++t)
        for (int p = 0; p <= t; ++p)
            if (classes.count(t, p) > classes.count(response))
                response = Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(t)};
    Random after = random;
    const Guesser out = expect_same_apply(opened, random, response, pools, after);
    ASSERT_FALSE(out.opening_phase());
    ASSERT_GE(out.tries().size(), std::size_t{1} << 17);
    const Position position{out, after, "after the opening"};
    expect_same_stop(position, 2, pools);
}

// A whole game against a fixed code; every try it played.
std::vector<std::string> play(Guesser guesser, Random random, const Code& code, SearchWorkers* workers) {
    guesser.use_workers(workers);
    const SignCounts counts = sign_counts(code, guesser.shape().set_size, false);
    std::vector<std::string> played;
    for (int tries = 1; tries <= 20; ++tries) {
        if (guesser.one_candidate_left()) {
            played.push_back(text_of(guesser.candidate(0)));
            return played;
        }
        guesser.begin_search(random);
        while (!guesser.search_done()) guesser.evaluate_next(random);
        guesser.end_search();
        played.push_back(text_of(guesser.chosen()));
        if (guesser.apply(score(guesser.chosen(), code, counts), random) != Guesser::Applied::Continue) return played;
    }
    played.push_back("no end");
    return played;
}

TEST(ParallelSearch, WholeGamesPlayTheSameTries) {
    SearchWorkers three(3);
    const std::vector<GuessShape> shapes = {
        {4, 6, true, true, false}, {5, 6, true, true, false}, {4, 8, false, false, false},
        {6, 2, true, true, true},  {5, 4, true, true, true},
    };
    for (const GuessShape& shape : shapes) {
        Random random(40 + static_cast<std::uint64_t>(shape.length * 10 + shape.set_size));
        const Guesser start = built(shape, random);
        for (int game = 0; game < 3; ++game) {
            const Code code = start.candidate(random.uniform(start.candidate_count()));
            SCOPED_TRACE(name_of(shape) + ", against " + text_of(code));
            const std::vector<std::string> alone = play(start, random, code, nullptr);
            ASSERT_FALSE(alone.empty());
            EXPECT_EQ(alone.back(), text_of(code));
            EXPECT_EQ(play(start, random, code, &three), alone);
        }
    }
}

}  // namespace
