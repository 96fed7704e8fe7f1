#include "guesser/search_workers.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "guesser/guesser.hpp"

namespace {

constexpr int kThreadCounts[] = {1, 2, 3, 8};

// ---------------------------------------------------------------- passes in ranges

// How often each item was worked on, and the ranges the task was given.
struct Tally {
    explicit Tally(std::size_t items) : hits(items) {}
    std::vector<std::atomic<int>> hits;
    std::mutex mutex;
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
};

void tally_range(void* context, std::size_t first, std::size_t last) {
    Tally& tally = *static_cast<Tally*>(context);
    for (std::size_t item = first; item < last; ++item) tally.hits[item].fetch_add(1, std::memory_order_relaxed);
    const std::lock_guard lock(tally.mutex);
    tally.ranges.emplace_back(first, last);
}

// Every item once, in the ranges of range_items that the pass is cut into.
void expect_whole_pass(Tally& tally, std::size_t items, std::size_t range_items) {
    for (std::size_t item = 0; item < items; ++item) ASSERT_EQ(tally.hits[item].load(), 1) << "item " << item;
    std::vector<std::pair<std::size_t, std::size_t>> ranges = tally.ranges;
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<std::size_t, std::size_t>> expected;
    for (std::size_t first = 0; first < items; first += range_items)
        expected.emplace_back(first, std::min(first + range_items, items));
    EXPECT_EQ(ranges, expected);
}

TEST(SearchWorkersRanges, EveryItemOnceWhateverTheSizes) {
    for (const int threads : kThreadCounts) {
        SearchWorkers pool(threads);
        ASSERT_EQ(pool.threads(), threads);
        for (const std::size_t range_items : {std::size_t{1}, std::size_t{3}, std::size_t{64}}) {
            const std::size_t sizes[] = {0, 1, range_items - 1, range_items, range_items + 1, 2 * range_items - 1,
                                         37 * range_items + 5, 3000};
            for (const std::size_t items : sizes) {
                SCOPED_TRACE(std::to_string(threads) + " threads, " + std::to_string(items) + " items in ranges of " +
                             std::to_string(range_items));
                Tally tally(items);
                const std::thread::id caller = std::this_thread::get_id();
                int pulses = 0;
                bool pulsed_elsewhere = false;
                const bool whole = pool.for_ranges(items, range_items, &tally_range, &tally, [&] {
                    ++pulses;
                    pulsed_elsewhere |= std::this_thread::get_id() != caller;
                    return false;
                });
                EXPECT_TRUE(whole);
                expect_whole_pass(tally, items, range_items);
                EXPECT_FALSE(pulsed_elsewhere) << "the pulse is the caller's";
                // None after the last range is taken: nothing would be left to break off.
                const std::size_t ranges_but_last = tally.ranges.empty() ? 0 : tally.ranges.size() - 1;
                EXPECT_LE(static_cast<std::size_t>(pulses), ranges_but_last);
                if (threads == 1) {
                    EXPECT_EQ(static_cast<std::size_t>(pulses), ranges_but_last);
                }

                // Without a pulse alike.
                Tally again(items);
                EXPECT_TRUE(pool.for_ranges(items, range_items, &tally_range, &again, {}));
                expect_whole_pass(again, items, range_items);
            }
        }
    }
}

// A pass whose helpers hold their first range until the caller's pulse has come, so that the
// caller surely works on a range and the pass is broken off early.
struct HeldPass {
    explicit HeldPass(std::size_t items) : tally(items) {}
    Tally tally;
    std::thread::id caller = std::this_thread::get_id();
    std::atomic<bool> pulsed{false};
    std::atomic<int> in_task{0};
};

void held_range(void* context, std::size_t first, std::size_t last) {
    HeldPass& pass = *static_cast<HeldPass*>(context);
    pass.in_task.fetch_add(1);
    if (std::this_thread::get_id() != pass.caller) {
        while (!pass.pulsed.load()) std::this_thread::yield();
        // Slow after the pulse: the pass must stop long before it gets through.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    tally_range(&pass.tally, first, last);
    pass.in_task.fetch_sub(1);
}

constexpr std::size_t kHeldItems = 2000;

// At most once each, and far from all.
void expect_pass_broken_off(HeldPass& pass) {
    std::size_t done = 0;
    for (std::size_t item = 0; item < kHeldItems; ++item) {
        ASSERT_LE(pass.tally.hits[item].load(), 1) << "item " << item;
        done += pass.tally.hits[item].load();
    }
    EXPECT_GE(done, 1u);
    EXPECT_LT(done, kHeldItems / 2);
}

// A position of four places over eight signs after its opening, big enough for the workers,
// and one whole search from it alone and on the pool: the same choice and draws.
void expect_search_as_alone(SearchWorkers& pool) {
    const GuessShape shape{4, 8, true, true, false};
    Random random(77);
    Guesser guesser(shape);
    ASSERT_EQ(guesser.build(random, std::uint64_t{1} << 34, {}), BuildResult::Built);
    guesser.begin_search(random);
    while (!guesser.search_done()) guesser.evaluate_next(random);
    guesser.end_search();
    ASSERT_GT(guesser.chosen_classes().count(Response{0, 1}), 500);
    ASSERT_EQ(guesser.apply(Response{0, 1}, random), Guesser::Applied::Continue);
    struct Result {
        Code chosen;
        Measures measures;
        std::vector<std::int32_t> tries;
        std::uint64_t next_draw = 0;
    };
    const auto search = [&](SearchWorkers* workers) {
        Guesser copy = guesser;
        Random draws = random;
        copy.use_workers(workers);
        copy.begin_search(draws);
        EXPECT_GE(static_cast<std::uint64_t>(copy.to_evaluate()) * copy.candidate_count(), std::uint64_t{1} << 14);
        while (!copy.search_done()) copy.evaluate_next(draws);
        copy.end_search();
        return Result{copy.chosen(), copy.chosen_measures(), copy.tries(), draws.next()};
    };
    const Result alone = search(nullptr);
    const Result shared = search(&pool);
    EXPECT_TRUE(shared.chosen == alone.chosen);
    EXPECT_TRUE(shared.measures == alone.measures);
    EXPECT_TRUE(shared.tries == alone.tries);
    EXPECT_EQ(shared.next_draw, alone.next_draw);
}

TEST(SearchWorkersRanges, APulseThatSaysStopBreaksThePassOff) {
    for (const int threads : kThreadCounts) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        SearchWorkers pool(threads);
        HeldPass pass(kHeldItems);
        int pulses = 0;
        const bool whole = pool.for_ranges(kHeldItems, 1, &held_range, &pass, [&] {
            ++pulses;
            pass.pulsed = true;
            return true;
        });
        EXPECT_FALSE(whole);
        EXPECT_EQ(pulses, 1);
        EXPECT_EQ(pass.in_task.load(), 0) << "no range still at work once the pass returns";
        expect_pass_broken_off(pass);

        Tally tally(500);
        EXPECT_TRUE(pool.for_ranges(500, 7, &tally_range, &tally, [] { return false; }));
        expect_whole_pass(tally, 500, 7);
    }
}

TEST(SearchWorkersRanges, APulseThatThrowsLeavesThePoolUsable) {
    // The helpers go on until the exception reaches the pass's frame, which takes a while
    // under load and for a process's first exception (under Wine a first throw costs about
    // a hundred times a later one): one is thrown first, and the held helpers are slow.
    try {
        throw std::runtime_error("warming up");
    } catch (const std::runtime_error&) {
    }
    for (const int threads : kThreadCounts) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        SearchWorkers pool(threads);
        HeldPass pass(kHeldItems);
        bool thrown = false;
        try {
            pool.for_ranges(kHeldItems, 1, &held_range, &pass, [&]() -> bool {
                pass.pulsed = true;
                throw std::runtime_error("the terminal is gone");
            });
        } catch (const std::runtime_error& error) {
            thrown = true;
            EXPECT_STREQ(error.what(), "the terminal is gone");
            // The helpers are out of the task before the pass's context unwinds.
            EXPECT_EQ(pass.in_task.load(), 0);
        }
        EXPECT_TRUE(thrown);
        expect_pass_broken_off(pass);

        Tally tally(3000);
        EXPECT_TRUE(pool.for_ranges(3000, 16, &tally_range, &tally, [] { return false; }));
        expect_whole_pass(tally, 3000, 16);
        expect_search_as_alone(pool);
    }
}

// ---------------------------------------------------------------- weighing in place order

// Outcomes made up from the place alone; the pool is to hand back exactly the marked ones,
// in place order, each weighed once.
struct Script {
    Script(std::size_t places_, std::vector<std::uint8_t> marks_)
        : places(places_), marks(std::move(marks_)), weighings(places_), bounds(places_) {}
    std::size_t places;
    std::vector<std::uint8_t> marks;  // empty: every place
    std::vector<std::atomic<int>> weighings;
    std::vector<ClassBound> bounds;  // each written by the one thread that weighs its place

    bool marked(std::size_t place) const { return marks.empty() || marks[place] == 1; }
    const std::uint8_t* marks_or_none() const { return marks.empty() ? nullptr : marks.data(); }
};

// Few distinct values, so that ties are frequent and better tries come now and then.
Measures measures_at(std::size_t place) {
    const std::uint64_t mixed = (place + 1) * 0x9E3779B97F4A7C15ULL;
    const auto largest = static_cast<std::int32_t>(2 + (mixed >> 60) % 6);
    return Measures{largest, largest * 10 + static_cast<std::int64_t>((mixed >> 50) % 3),
                    1 + static_cast<int>((mixed >> 40) % 2), (mixed >> 30) % 2 == 0};
}

BoundedClasses scripted_weigh(const void* context, std::size_t place, const ClassBound& bound) {
    Script& script = *const_cast<Script*>(static_cast<const Script*>(context));
    script.weighings[place].fetch_add(1, std::memory_order_relaxed);
    script.bounds[place] = bound;
    const Measures measures = measures_at(place);
    BoundedClasses outcome;
    outcome.spread = ClassSpread{measures.max, measures.sum_of_squares, measures.classes};
    outcome.solved = measures.win ? 1 : 0;
    outcome.scored = place;
    // As the class pass does: a try found worse than the bound is cut short.
    outcome.abandoned = measures.max > bound.max || (measures.max == bound.max && measures.sum_of_squares > bound.sum_of_squares);
    return outcome;
}

bool looser_or_equal(const ClassBound& bound, const Measures& best) {
    return bound.max > best.max || (bound.max == best.max && bound.sum_of_squares >= best.sum_of_squares);
}

// Reads the marked places up to `last` as a search would, publishing its best, and checks
// each outcome; the best found after every place is noted for the bounds.
void read_in_order(SearchWorkers& pool, Script& script, std::size_t last, std::vector<Measures>& best_before) {
    Measures best;
    best_before.assign(script.places, Measures{});
    std::uint64_t scored = 0;
    for (std::size_t place = 0; place < last; ++place) {
        best_before[place] = best;
        if (!script.marked(place)) continue;
        Measures measures;
        const bool kept = pool.outcome(place, measures);
        scored += place;
        ASSERT_EQ(pool.scored(), scored) << "outcomes in place order, place " << place;
        const Measures truth = measures_at(place);
        if (!kept) {
            // Only a try that can neither win nor tie may be given up.
            ASSERT_TRUE(best.better_than(truth)) << "place " << place;
            continue;
        }
        ASSERT_TRUE(measures == truth) << "place " << place;
        if (truth.better_than(best)) {
            best = truth;
            pool.publish_best(best);
        }
    }
}

void expect_each_marked_place_weighed_once(const Script& script, const std::vector<Measures>& best_before) {
    for (std::size_t place = 0; place < script.places; ++place) {
        ASSERT_EQ(script.weighings[place].load(), script.marked(place) ? 1 : 0) << "place " << place;
        if (script.marked(place)) {
            ASSERT_TRUE(looser_or_equal(script.bounds[place], best_before[place]))
                << "place " << place << ": a bound tighter than the best before it";
        }
    }
}

std::vector<std::uint8_t> marks_where(std::size_t places, bool (*mark)(std::size_t)) {
    std::vector<std::uint8_t> marks(places);
    for (std::size_t place = 0; place < places; ++place) marks[place] = mark(place) ? 1 : 0;
    return marks;
}

TEST(SearchWorkersWeighing, OutcomesOfTheMarkedPlacesInPlaceOrder) {
    struct Case {
        std::string name;
        std::size_t places;
        bool (*mark)(std::size_t);  // null: no marks
    };
    const Case cases[] = {
        {"no places", 0, nullptr},
        {"one place", 1, nullptr},
        {"every place", 3000, nullptr},
        {"every third", 3000, [](std::size_t place) { return place % 3 == 1; }},
        {"a few far apart", 3000, [](std::size_t place) { return place == 0 || place == 1500 || place == 2999; }},
        {"none marked", 2000, [](std::size_t) { return false; }},
        {"the last alone", 2500, [](std::size_t place) { return place == 2499; }},
    };
    // One candidate: chunks of the most places; very many: chunks of one place at first.
    const std::size_t candidate_counts[] = {1, 700, std::size_t{1} << 20};
    for (const int threads : kThreadCounts) {
        SearchWorkers pool(threads);
        for (const Case& c : cases)
            for (const std::size_t candidates : candidate_counts) {
                SCOPED_TRACE(std::to_string(threads) + " threads, " + c.name + ", " + std::to_string(candidates) +
                             " candidates");
                Script script(c.places, c.mark ? marks_where(c.places, c.mark) : std::vector<std::uint8_t>{});
                pool.begin(c.places, candidates, &scripted_weigh, script.marks_or_none(), &script);
                std::vector<Measures> best_before;
                read_in_order(pool, script, c.places, best_before);
                pool.end();
                if (HasFatalFailure()) return;
                expect_each_marked_place_weighed_once(script, best_before);
            }
    }
}

TEST(SearchWorkersWeighing, ASearchEndedHalfWayLeavesThePoolForTheNext) {
    for (const int threads : kThreadCounts) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        SearchWorkers pool(threads);
        for (const std::size_t candidates : {std::size_t{1}, std::size_t{1} << 20}) {
            SCOPED_TRACE(std::to_string(candidates) + " candidates");
            std::vector<Measures> best_before;
            // Ended after a third: no place is weighed twice, none after the end.
            Script first(3000, {});
            pool.begin(first.places, candidates, &scripted_weigh, nullptr, &first);
            read_in_order(pool, first, 1000, best_before);
            pool.end();
            pool.end();
            int weighed = 0;
            for (std::size_t place = 0; place < first.places; ++place) {
                ASSERT_LE(first.weighings[place].load(), 1);
                weighed += first.weighings[place].load();
                if (place < 1000) {
                    ASSERT_EQ(first.weighings[place].load(), 1);
                }
            }
            const int weighed_at_end = weighed;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            weighed = 0;
            for (std::size_t place = 0; place < first.places; ++place) weighed += first.weighings[place].load();
            EXPECT_EQ(weighed, weighed_at_end) << "weighing went on after the end";

            // The next, begun over one not ended, and then a whole one.
            Script second(2000, marks_where(2000, [](std::size_t place) { return place % 5 != 2; }));
            pool.begin(second.places, candidates, &scripted_weigh, second.marks_or_none(), &second);
            read_in_order(pool, second, 700, best_before);
            Script third(2500, marks_where(2500, [](std::size_t place) { return place % 2 == 0; }));
            pool.begin(third.places, candidates, &scripted_weigh, third.marks_or_none(), &third);
            read_in_order(pool, third, third.places, best_before);
            pool.end();
            if (HasFatalFailure()) return;
            expect_each_marked_place_weighed_once(third, best_before);
            for (std::size_t place = 0; place < 700; ++place)
                ASSERT_EQ(second.weighings[place].load(), second.marked(place) ? 1 : 0);
            for (std::size_t place = 700; place < second.places; ++place) ASSERT_LE(second.weighings[place].load(), 1);

            // A pass over ranges between searches.
            Tally tally(1000);
            EXPECT_TRUE(pool.for_ranges(1000, 10, &tally_range, &tally, {}));
            expect_whole_pass(tally, 1000, 10);
        }
        expect_search_as_alone(pool);
    }
}

}  // namespace
