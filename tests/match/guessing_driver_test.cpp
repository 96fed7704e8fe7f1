#include "match/guessing_driver.hpp"

#include <gtest/gtest.h>

#include <string>

#include "core/keys.hpp"
#include "support/match_rig.hpp"

namespace {

// ---------------------------------------------------------------- the stopping rules

TEST(EarlyDecision, OnlyALongSearchPastItsLeastEvaluationsStops) {
    struct Case {
        SearchProgress progress;
        bool stops;
    };
    const Case cases[] = {
        // F4 at 2 s with 20 s estimated: not yet; at 5 s not yet, just past it yes.
        {{100, 10, 200, 2000}, false},
        {{100, 10, 500, 1700}, false},
        {{100, 10, 501, 1700}, true},
        // 3 s left: never.
        {{100, 10, 900, 300}, false},
        {{100, 10, 900, 500}, false},
        {{100, 10, 900, 501}, true},
        // More than 5 s to come but not 13 s in all.
        {{100, 10, 600, 600}, false},
        {{100, 10, 700, 601}, true},
        // No estimate.
        {{100, 10, 600, -1}, true},
        // Not more than the least number of evaluations.
        {{10, 10, 5000, 5000}, false},
        {{11, 10, 5000, 5000}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(breaks_early(c.progress), c.stops)
            << c.progress.evaluated << " " << c.progress.least << " " << c.progress.elapsed << " "
            << c.progress.remaining;
}

TEST(TimeLimit, StopsAtTheLimitOnceTheLeastEvaluationsAreDone) {
    EXPECT_FALSE(time_limit_reached({100, 10, 999, 5000}, 1000));
    EXPECT_TRUE(time_limit_reached({100, 10, 1000, 5000}, 1000));
    EXPECT_FALSE(time_limit_reached({10, 10, 3000, 5000}, 1000));
    EXPECT_TRUE(time_limit_reached({11, 10, 3000, 5000}, 1000));
    EXPECT_FALSE(time_limit_reached({100, 10, 90000, 5000}, 0));
}

// ---------------------------------------------------------------- on the board, in time

// Five places over eight signs: a full search takes long when every reading of the clock
// costs 10 ms, one reading per evaluated try.
struct LongSearches : MatchRig {
    // threads: of the computer's search; 0 leaves the session's own number.
    explicit LongSearches(int time_limit_digit, int threads = 0)
        : MatchRig(Language::German, long_conditions(time_limit_digit)) {
        if (threads > 0) app.search_threads = threads;
        clock.advance_on_each_reading(10);
        // The new-game question is answered once the match is over.
        terminal.when_empty([this] {
            if (console.where_y() == 25 && console.where_x() == 70) terminal.type("n");
        });
    }

    static ConditionsRecord long_conditions(int time_limit_digit) {
        ConditionsRecord record = conditions('a', 'h', 5, true);
        record.computer_guesses = 1;
        record.time_limit = static_cast<std::uint8_t>(time_limit_digit);
        return record;
    }
};

const std::string kTimeLimitLine = "| Zeit begrenzt auf 10 Sek./Versuch.  |";

// The keys and the limit act on the board alike however many threads search: the session's
// own number (0), one and three.
class SearchThreads : public testing::TestWithParam<int> {};

std::string threads_name(const testing::TestParamInfo<int>& info) {
    return info.param == 0 ? "SessionsOwn" : info.param == 1 ? "OneThread" : "ThreeThreads";
}

INSTANTIATE_TEST_SUITE_P(GuessingOnTheBoard, SearchThreads, testing::Values(0, 1, 3), threads_name);

TEST_P(SearchThreads, TheTimeLimitStopsSearchesAndItsLineIsWrittenOnce) {
    LongSearches rig(1, GetParam());
    int writes = 0;
    // Each poll of a search: once the line is there, wipe it to see whether it comes again.
    rig.terminal.when_empty([&] {
        if (rig.console.where_y() == 25 && rig.console.where_x() == 70) {
            rig.terminal.type("n");
            return;
        }
        if (rig.row(11).substr(0, 39) != kTimeLimitLine) return;
        ++writes;
        const int column = rig.console.where_x();
        const int row = rig.console.where_y();
        rig.console.goto_xy(1, 11);
        rig.console.write_text(std::string(39, '#'));
        rig.console.goto_xy(column, row);
    });
    rig.play();
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(rig.row(25).substr(0, 9), "Loesung: ");
    EXPECT_NE(rig.row(25).substr(44, 2), "  ");  // won, with its number of tries
}

TEST(GuessingOnTheBoard, WithoutALimitNoLineAndNoBreak) {
    LongSearches rig(0);
    rig.play();
    EXPECT_EQ(rig.row(11).substr(0, 39), "|_____________________________________|");
    EXPECT_EQ(rig.row(15).substr(0, 38), "|" + std::string(37, ' '));
}

TEST_P(SearchThreads, F4DuringALongSearchBreaksItAndCountsTheBreak) {
    LongSearches rig(0, GetParam());
    // Well past the build and the opening: inside the first full search.
    rig.terminal.after_ms(4000).extended(scan::kShiftF4);
    rig.play();
    EXPECT_EQ(rig.row(15).substr(0, 31), "| Zahl der Unterbrechungen: 1. ");
}

TEST(GuessingOnTheBoard, F4InTheOpeningIsIgnored) {
    // A first run finds when the opening's search polls the keyboard: the opening try is
    // shown in the first row and the second row has no number yet.
    std::uint64_t opening_poll = 0;
    {
        LongSearches dry_run(0);
        dry_run.terminal.when_empty([&] {
            if (dry_run.console.where_y() == 25 && dry_run.console.where_x() == 70) {
                dry_run.terminal.type("n");
                return;
            }
            if (opening_poll == 0 && dry_run.row(9)[48] != ' ' && dry_run.row(10)[43] == ' ')
                opening_poll = dry_run.clock.tick_ms();
        });
        dry_run.play();
    }
    ASSERT_NE(opening_poll, 0u);
    LongSearches rig(0);
    rig.terminal.at_tick_ms(opening_poll).extended(scan::kF4);
    rig.play();
    EXPECT_EQ(rig.row(15).substr(0, 38), "|" + std::string(37, ' '));
}

TEST_P(SearchThreads, EscDuringASearchEndsTheMatchAsAborted) {
    LongSearches rig(0, GetParam());
    rig.terminal.after_ms(4000).key(keys::kEsc);
    EXPECT_FALSE(rig.play());
    EXPECT_EQ(rig.row(19).substr(0, 13), "| Spielende  ");
    EXPECT_EQ(rig.row(25).substr(44, 10), std::string(10, ' '));
    // The second try was under way: the first row holds the opening, answered.
    EXPECT_NE(rig.row(9)[55], ' ');
    EXPECT_EQ(rig.row(10)[55], ' ');
}

}  // namespace
