#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "core/keys.hpp"
#include "match/match_clock.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

namespace {

constexpr std::string_view kBoardTail = "|*|   |         | | |*|   |         | | |";
constexpr std::uint64_t kSecond = 1000;
constexpr std::uint64_t kHour = 3600 * kSecond;
constexpr std::uint64_t kDay = 24 * kHour;

// A board row of 17..23 with this text in the panel's 37 columns.
std::string board_row(std::string_view panel) {
    std::string row = "|";
    row.append(panel);
    row.resize(38, ' ');
    row.append(kBoardTail);
    return full_row(row);
}

using Placed = std::pair<int, std::string_view>;  // a text at an absolute column

// What a row shows after markers were planted over it and only these texts were written.
std::string marks(int first_column, int last_column, std::initializer_list<Placed> texts) {
    std::string row(static_cast<std::size_t>(last_column - first_column + 1), '#');
    for (const auto& [column, text] : texts)
        row.replace(static_cast<std::size_t>(column - first_column), text.size(), text);
    return row;
}
std::string panel_marks(std::initializer_list<Placed> texts = {}) {
    return board_row(marks(2, 38, texts));
}
std::string status_marks(std::initializer_list<Placed> texts = {}) {
    return full_row(marks(1, 79, texts));
}

std::string blanks(std::size_t count) { return std::string(count, ' '); }

App& in_language(App& app, Language language) {
    app.game_language = language;
    return app;
}

// A match screen with the clock's frame drawn as the board leaves it, the clock over it.
struct ClockedMatch {
    ClockedMatch(Language language, MatchKind kind) : clock(in_language(rig.app, language), kind) {}

    void start_at(std::uint16_t year, std::uint16_t month, std::uint16_t day, std::uint16_t hour,
                  std::uint16_t minute, std::uint16_t second, std::uint16_t hundredths = 0) {
        rig.clock.show(year, month, day, hour, minute, second, hundredths);
        for (int row = 17; row <= 23; ++row) {
            rig.console.goto_xy(1, row);
            rig.console.write_text(board_row("").substr(0, 79));
        }
        rig.console.goto_xy(46, 9);
        clock.start();
    }
    void pass_ms(std::uint64_t milliseconds) {
        rig.clock.advance_ms(milliseconds);
        clock.tick();
    }
    // Markers over everything the clock may write, so a test sees exactly what it rewrote.
    void plant_markers() {
        const int column = rig.console.where_x();
        const int row = rig.console.where_y();
        for (int panel_row = 17; panel_row <= 23; ++panel_row) {
            rig.console.goto_xy(2, panel_row);
            rig.console.write_text(std::string(37, '#'));
        }
        rig.console.goto_xy(1, 25);
        rig.console.write_text(std::string(79, '#'));
        rig.console.goto_xy(column, row);
    }
    std::uint64_t generation() const { return rig.screen().generation(); }

    TestRig rig;
    MatchClock clock;
};

constexpr MatchKind kPersonFixed{.computer_guesses = false, .fixed_answer = true};
constexpr MatchKind kPersonVariable{.computer_guesses = false, .fixed_answer = false};
constexpr MatchKind kComputerGuesses{.computer_guesses = true, .fixed_answer = true};

const std::string kGermanFixedStatus =
    "Loesung:               Benoetigte Versuche:             Neues Spiel? Ja.";
const std::string kGermanComputerStatus =
    "Aktueller Versuch: geratene Zeit: 00.00.00 .......... benoetigte Zeit: 00.00.00";
const std::string kEnglishComputerStatus =
    "This trial: time already guessed: 00.00.00 .......... time yet needed: 00.00.00";

// ---------------------------------------------------------------- the panel and status line

TEST(MatchClockPanel, GermanRowsAtTheStart) {
    ClockedMatch match(Language::German, kPersonFixed);
    match.start_at(2025, 1, 5, 9, 7, 3);
    EXPECT_EQ(match.rig.row(17), board_row(" Spielbeginn: Sonntag, 5.1.2025,"));
    EXPECT_EQ(match.rig.row(18), board_row("              09.07 Uhr, 03 Sekunden."));
    EXPECT_EQ(match.rig.row(19), board_row(" Datum/Zeit : Sonntag, 5.1.2025,"));
    EXPECT_EQ(match.rig.row(20), board_row("              09.07 Uhr, 03 Sekunden."));
    EXPECT_EQ(match.rig.row(21), board_row(" Spieldauer : 00 Std. 00 Min. 00 Sek."));
    EXPECT_EQ(match.rig.row(22), board_row(" Ratezeit   : 00 Std. 00 Min. 00 Sek."));
    EXPECT_EQ(match.rig.row(23), board_row(" Antwortzeit: 00 Std. 00 Min. 00 Sek."));
    EXPECT_EQ(match.rig.row(25), full_row(kGermanFixedStatus));
    EXPECT_EQ(match.rig.console.where_x(), 46);
    EXPECT_EQ(match.rig.console.where_y(), 9);
}

TEST(MatchClockPanel, EnglishRowsAtTheStart) {
    ClockedMatch match(Language::English, kComputerGuesses);
    match.start_at(2025, 9, 10, 15, 4, 5);
    EXPECT_EQ(match.rig.row(17), board_row(" Game start: Weds., 10th Sept. 2025,"));
    EXPECT_EQ(match.rig.row(18), board_row("             03:04 p.m., 05 seconds."));
    EXPECT_EQ(match.rig.row(19), board_row(" Date/time : Weds., 10th Sept. 2025,"));
    EXPECT_EQ(match.rig.row(20), board_row("             03:04 p.m., 05 seconds."));
    EXPECT_EQ(match.rig.row(21), board_row(" Time total: 00 hours 00 min. 00 sec."));
    EXPECT_EQ(match.rig.row(22), board_row(" to guess  : 00 hours 00 min. 00 sec."));
    EXPECT_EQ(match.rig.row(23), board_row(" to answer : 00 hours 00 min. 00 sec."));
    EXPECT_EQ(match.rig.row(25), full_row(kEnglishComputerStatus));
}

TEST(MatchClockPanel, StatusLineFormsByWhoGuessesAndTheKindOfCode) {
    ClockedMatch german_computer(Language::German, kComputerGuesses);
    german_computer.start_at(2025, 1, 5, 9, 0, 0);
    EXPECT_EQ(german_computer.rig.row(25), full_row(kGermanComputerStatus));

    ClockedMatch english_fixed(Language::English, kPersonFixed);
    english_fixed.start_at(2025, 1, 5, 9, 0, 0);
    EXPECT_EQ(english_fixed.rig.row(25),
              full_row("Answer:                       Trials made:                 New Game? Yes."));

    ClockedMatch german_variable(Language::German, kPersonVariable);
    german_variable.start_at(2025, 1, 5, 9, 0, 0);
    EXPECT_EQ(german_variable.rig.row(25),
              full_row("       Bereits verstrichene Zeit: 00.00.00 .......... benoetigte Zeit: 00.00.00"));
    german_variable.clock.end_initialisation();
    EXPECT_EQ(german_variable.rig.row(25),
              full_row("Loesung:                Benoetigte Versuche:            Neues Spiel? Ja.       "));

    ClockedMatch english_variable(Language::English, kPersonVariable);
    english_variable.start_at(2025, 1, 5, 9, 0, 0);
    EXPECT_EQ(english_variable.rig.row(25),
              full_row("Initialisation:     time elapsed: 00.00.00 .......... time yet needed: 00.00.00"));
    english_variable.clock.end_initialisation();
    EXPECT_EQ(english_variable.rig.row(25),
              full_row("Answer:                       Trials made:                 New Game? Yes.      "));
    EXPECT_EQ(english_variable.rig.console.where_x(), 46);
}

// ---------------------------------------------------------------- the tick

TEST(MatchClockTick, WithinTheSameSecondNothingIsWritten) {
    ClockedMatch match(Language::German, kComputerGuesses);
    match.start_at(2025, 1, 5, 12, 0, 0);
    match.clock.start_phase({.total = 100, .least = 10});
    const std::uint64_t before = match.generation();
    for (int step = 0; step < 99; ++step) match.pass_ms(10);
    EXPECT_EQ(match.generation(), before);
    match.pass_ms(10);
    EXPECT_NE(match.generation(), before);
    EXPECT_EQ(match.rig.row(20), board_row("              12.00 Uhr, 01 Sekunden."));
    EXPECT_EQ(match.rig.console.where_x(), 46);
    EXPECT_EQ(match.rig.console.where_y(), 9);
}

TEST(MatchClockTick, GermanRewritesOnlyTheDigitsThatChanged) {
    ClockedMatch match(Language::German, kPersonFixed);
    match.start_at(2025, 1, 5, 9, 59, 58);

    match.plant_markers();
    match.pass_ms(kSecond);  // 09:59:59, one second played
    for (int row : {17, 18, 19, 22}) EXPECT_EQ(match.rig.row(row), panel_marks()) << row;
    EXPECT_EQ(match.rig.row(20), panel_marks({{28, "9"}}));
    EXPECT_EQ(match.rig.row(21), panel_marks({{33, "1"}}));
    EXPECT_EQ(match.rig.row(23), panel_marks({{33, "1"}}));
    EXPECT_EQ(match.rig.row(25), status_marks());

    match.plant_markers();
    match.pass_ms(kSecond);  // a new hour of the day
    EXPECT_EQ(match.rig.row(20), panel_marks({{16, "10.00 Uhr, 00"}}));
    EXPECT_EQ(match.rig.row(21), panel_marks({{33, "2"}}));

    match.plant_markers();
    match.pass_ms(8 * kSecond);  // ten seconds played
    EXPECT_EQ(match.rig.row(20), panel_marks({{28, "8"}}));
    EXPECT_EQ(match.rig.row(21), panel_marks({{32, "10"}}));
    EXPECT_EQ(match.rig.row(23), panel_marks({{32, "10"}}));
    EXPECT_EQ(match.rig.row(22), panel_marks());

    match.plant_markers();
    match.pass_ms(50 * kSecond);  // a minute played, 10:00:58
    EXPECT_EQ(match.rig.row(20), panel_marks({{27, "58"}}));
    EXPECT_EQ(match.rig.row(21), panel_marks({{24, "01 Min. 00"}}));

    match.plant_markers();
    match.pass_ms(59 * 60 * kSecond);  // an hour played
    EXPECT_EQ(match.rig.row(20), panel_marks({{19, "59 Uhr, 58"}}));
    EXPECT_EQ(match.rig.row(21), panel_marks({{16, "01 Std. 00 Min. 00"}}));
    EXPECT_EQ(match.rig.row(23), panel_marks({{16, "01 Std. 00 Min. 00"}}));
    EXPECT_EQ(match.rig.row(22), panel_marks());
}

TEST(MatchClockTick, EnglishRewritesFromTheirOwnColumns) {
    ClockedMatch match(Language::English, kPersonFixed);
    match.start_at(2025, 1, 5, 11, 59, 58);

    match.plant_markers();
    match.pass_ms(2 * kSecond);
    EXPECT_EQ(match.rig.row(20), panel_marks({{15, "12:00 p.m., 00"}}));
    EXPECT_EQ(match.rig.row(21), panel_marks({{33, "2"}}));

    match.plant_markers();
    match.pass_ms(60 * kSecond);
    EXPECT_EQ(match.rig.row(20), panel_marks({{18, "01 p.m., 00"}}));
    EXPECT_EQ(match.rig.row(21), panel_marks({{24, "01 min. 02"}}));

    match.plant_markers();
    match.pass_ms(kHour);
    EXPECT_EQ(match.rig.row(21), panel_marks({{15, "01 hours 01 min. 02"}}));
}

TEST(MatchClockTick, AcrossMidnightTheTimersCountOnAndTheDateRowChanges) {
    ClockedMatch match(Language::German, kPersonFixed);
    match.start_at(2025, 8, 31, 23, 59, 58);
    match.plant_markers();
    match.pass_ms(3 * kSecond);
    // The shorter new date covers the older one completely.
    EXPECT_EQ(match.rig.row(19), panel_marks({{16, "Montag, 1.9.2025,      "}}));
    EXPECT_EQ(match.rig.row(20), panel_marks({{16, "00.00 Uhr, 01"}}));
    EXPECT_EQ(match.rig.row(21), panel_marks({{33, "3"}}));
    EXPECT_EQ(match.rig.row(17), panel_marks());

    match.pass_ms(2 * kHour);
    EXPECT_EQ(match.rig.row(21), panel_marks({{16, "02 Std. 00 Min. 03"}}));
    EXPECT_EQ(match.rig.row(23), panel_marks({{16, "02 Std. 00 Min. 03"}}));
}

TEST(MatchClockTick, EnglishAcrossMidnight) {
    ClockedMatch match(Language::English, kComputerGuesses);
    match.start_at(2025, 12, 31, 23, 59, 58);
    match.pass_ms(3 * kSecond);
    EXPECT_EQ(match.rig.row(17), board_row(" Game start: Weds., 31st Dec. 2025,"));
    EXPECT_EQ(match.rig.row(18), board_row("             11:59 p.m., 58 seconds."));
    EXPECT_EQ(match.rig.row(19), board_row(" Date/time : Thursday, 1st Jan. 2026,"));
    EXPECT_EQ(match.rig.row(20), board_row("             12:00 a.m., 01 seconds."));
    EXPECT_EQ(match.rig.row(21), board_row(" Time total: 00 hours 00 min. 03 sec."));
    EXPECT_EQ(match.rig.row(22), board_row(" to guess  : 00 hours 00 min. 03 sec."));
    EXPECT_EQ(match.rig.row(23), board_row(" to answer : 00 hours 00 min. 00 sec."));
}

TEST(MatchClockTick, AMatchOfSeveralDaysKeepsCounting) {
    ClockedMatch match(Language::German, kPersonFixed);
    match.start_at(2025, 9, 22, 8, 0, 0);
    match.pass_ms(2 * kDay + 3 * kHour);
    EXPECT_EQ(match.rig.row(19), board_row(" Datum/Zeit : Mittwoch, 24.9.2025,"));
    EXPECT_EQ(match.rig.row(21), board_row(" Spieldauer : 51 Std. 00 Min. 00 Sek."));
    EXPECT_EQ(match.rig.row(23), board_row(" Antwortzeit: 51 Std. 00 Min. 00 Sek."));
}

TEST(MatchClockTick, TimersStopForGoodAtOneHundredHours) {
    ClockedMatch match(Language::German, kComputerGuesses);
    match.start_at(2025, 3, 1, 0, 0, 0);
    match.pass_ms(100 * kHour - kSecond);
    EXPECT_EQ(match.rig.row(21), board_row(" Spieldauer : 99 Std. 59 Min. 59 Sek."));
    EXPECT_EQ(match.rig.row(22), board_row(" Ratezeit   : 99 Std. 59 Min. 59 Sek."));
    EXPECT_EQ(match.rig.row(23), board_row(" Antwortzeit: 00 Std. 00 Min. 00 Sek."));
    match.pass_ms(kSecond);
    EXPECT_EQ(match.rig.row(21), board_row(" Spieldauer : 99 Std. 59 Min. 59 Sek."));
    EXPECT_EQ(match.rig.row(22), board_row(" Ratezeit   : 99 Std. 59 Min. 59 Sek."));

    match.plant_markers();
    match.pass_ms(kHour);
    for (int row : {21, 22, 23}) EXPECT_EQ(match.rig.row(row), panel_marks()) << row;
    EXPECT_EQ(match.rig.row(20), panel_marks({{16, "05.00 Uhr, 00"}}));

    // Not even a clock set back a day brings a stopped timer to life again.
    match.rig.clock.show(2025, 3, 4, 5, 0, 0);
    match.clock.tick();
    EXPECT_EQ(match.rig.row(20), panel_marks({{16, "05.00 Uhr, 00"}}));
    EXPECT_EQ(match.rig.row(19), panel_marks({{16, "Dienstag, 4.3.2025,    "}}));
    for (int row : {21, 22}) EXPECT_EQ(match.rig.row(row), panel_marks()) << row;
}

TEST(MatchClockTick, EachTimerStopsOnItsOwn) {
    ClockedMatch match(Language::English, kPersonFixed);
    match.start_at(2025, 3, 1, 0, 0, 0);
    match.pass_ms(101 * kHour);
    match.clock.start_guessing();
    match.pass_ms(2 * kHour);
    EXPECT_EQ(match.rig.row(21), board_row(" Time total: 99 hours 59 min. 59 sec."));
    EXPECT_EQ(match.rig.row(22), board_row(" to guess  : 02 hours 00 min. 00 sec."));
    EXPECT_EQ(match.rig.row(23), board_row(" to answer : 99 hours 59 min. 59 sec."));
}

TEST(MatchClockTick, StoppedClockWritesNothing) {
    ClockedMatch match(Language::German, kComputerGuesses);
    match.start_at(2025, 3, 1, 10, 0, 0);
    match.clock.stop();
    const std::uint64_t before = match.generation();
    match.pass_ms(5 * kSecond);
    EXPECT_EQ(match.generation(), before);
    EXPECT_EQ(match.rig.row(21), board_row(" Spieldauer : 00 Std. 00 Min. 00 Sek."));
}

// ---------------------------------------------------------------- guessing and answering

TEST(MatchClockGuessing, APersonGuessesOnlyWhileTheGuessingClockIsOn) {
    ClockedMatch match(Language::German, kPersonFixed);
    match.start_at(2025, 3, 1, 10, 0, 0, 40);
    match.pass_ms(5 * kSecond);
    match.clock.start_guessing();
    match.rig.clock.advance_ms(20 * kSecond);  // switching takes effect at once, not at a tick
    match.clock.stop_guessing();
    match.pass_ms(7 * kSecond);
    EXPECT_EQ(match.rig.row(21), board_row(" Spieldauer : 00 Std. 00 Min. 32 Sek."));
    EXPECT_EQ(match.rig.row(22), board_row(" Ratezeit   : 00 Std. 00 Min. 20 Sek."));
    EXPECT_EQ(match.rig.row(23), board_row(" Antwortzeit: 00 Std. 00 Min. 12 Sek."));

    match.clock.start_guessing();
    match.pass_ms(3500);  // a running stretch is cut to whole seconds
    EXPECT_EQ(match.rig.row(21), board_row(" Spieldauer : 00 Std. 00 Min. 35 Sek."));
    EXPECT_EQ(match.rig.row(22), board_row(" Ratezeit   : 00 Std. 00 Min. 23 Sek."));
    EXPECT_EQ(match.rig.row(23), board_row(" Antwortzeit: 00 Std. 00 Min. 12 Sek."));
}

TEST(MatchClockGuessing, TheComputerGuessesFromTheStartUntilItWaitsForAnAnswer) {
    ClockedMatch match(Language::English, kComputerGuesses);
    match.start_at(2025, 3, 1, 10, 0, 0);
    match.pass_ms(9 * kSecond);
    EXPECT_EQ(match.rig.row(22), board_row(" to guess  : 00 hours 00 min. 09 sec."));
    EXPECT_EQ(match.rig.row(23), board_row(" to answer : 00 hours 00 min. 00 sec."));
    match.clock.stop_guessing();
    match.pass_ms(4 * kSecond);
    EXPECT_EQ(match.rig.row(21), board_row(" Time total: 00 hours 00 min. 13 sec."));
    EXPECT_EQ(match.rig.row(22), board_row(" to guess  : 00 hours 00 min. 09 sec."));
    EXPECT_EQ(match.rig.row(23), board_row(" to answer : 00 hours 00 min. 04 sec."));
}

TEST(MatchClockGuessing, WaitingForAKeyKeepsThePanelRunning) {
    ClockedMatch match(Language::German, kPersonFixed);
    match.start_at(2025, 3, 1, 10, 0, 0);
    std::string game_row_at_key;
    match.rig.terminal.before_each_key([&](std::size_t) { game_row_at_key = match.rig.row(21); });
    match.rig.terminal.after_ms(4 * kSecond).type("a");
    match.clock.start_guessing();
    EXPECT_EQ(match.clock.next_key(), (Key{'a', false}));
    EXPECT_EQ(game_row_at_key, board_row(" Spieldauer : 00 Std. 00 Min. 03 Sek."));
    match.clock.stop_guessing();
    match.clock.tick();
    EXPECT_EQ(match.rig.row(22), board_row(" Ratezeit   : 00 Std. 00 Min. 04 Sek."));
    EXPECT_EQ(match.rig.row(23), board_row(" Antwortzeit: 00 Std. 00 Min. 00 Sek."));
}

// ---------------------------------------------------------------- phases and the estimate

TEST(MatchClockPhase, TheEstimateFollowsTheWorkDone) {
    ClockedMatch match(Language::German, kComputerGuesses);
    match.start_at(2025, 3, 1, 12, 0, 0);
    match.clock.start_phase({.total = 100, .least = 10});
    match.clock.tick();
    match.clock.record_progress(25);
    match.pass_ms(10 * kSecond);
    EXPECT_EQ(match.rig.row(25),
              full_row("Aktueller Versuch: geratene Zeit: 00.00.10 .......... benoetigte Zeit: 00.00.30"));
    EXPECT_EQ(match.clock.remaining(), 3000);
    EXPECT_EQ(match.clock.phase_elapsed(), 1000);

    // No progress since: the time past the last mark is taken off, at most one unit's worth.
    match.pass_ms(2 * kSecond);
    EXPECT_EQ(match.rig.row(25),
              full_row("Aktueller Versuch: geratene Zeit: 00.00.12 .......... benoetigte Zeit: 00.00.29"));
    EXPECT_EQ(match.clock.remaining(), 2960);

    match.clock.record_progress(100);
    match.pass_ms(kSecond);
    EXPECT_EQ(match.rig.row(25),
              full_row("Aktueller Versuch: geratene Zeit: 00.00.13 ********** benoetigte Zeit: 00.00.00"));
    EXPECT_EQ(match.clock.remaining(), 0);
}

TEST(MatchClockPhase, WithoutProgressThereIsNoEstimate) {
    ClockedMatch match(Language::German, kComputerGuesses);
    match.start_at(2025, 3, 1, 12, 0, 0);
    match.clock.start_phase({.total = 100, .least = 10});
    match.clock.tick();
    match.pass_ms(4 * kSecond);
    EXPECT_EQ(match.rig.row(25),
              full_row("Aktueller Versuch: geratene Zeit: 00.00.04 .......... benoetigte Zeit: 00.00.00"));
    EXPECT_EQ(match.clock.remaining(), 0);
}

TEST(MatchClockPhase, TheTimeLimitBoundsTheEstimateAndDrivesTheBar) {
    ClockedMatch match(Language::English, kComputerGuesses);
    match.start_at(2025, 3, 1, 12, 0, 0);
    match.clock.start_phase({.total = 100, .least = 10, .time_limit = 1000});
    match.clock.tick();
    match.clock.record_progress(5);
    match.pass_ms(5 * kSecond);
    // 10 s limit and its 0.99 s of grace, 5 s worked.
    EXPECT_EQ(match.clock.remaining(), 599);
    EXPECT_EQ(match.rig.row(25),
              full_row("This trial: time already guessed: 00.00.05 *****..... time yet needed: 00.00.05"));

    // Past the limit the work that must still be done decides.
    match.clock.record_progress(8);
    match.pass_ms(7 * kSecond);
    EXPECT_EQ(match.clock.remaining(), 300);
    EXPECT_EQ(match.rig.row(25),
              full_row("This trial: time already guessed: 00.00.12 ********.. time yet needed: 00.00.03"));
}

TEST(MatchClockPhase, AHugeEstimateIsCapped) {
    ClockedMatch match(Language::German, kComputerGuesses);
    match.start_at(2025, 3, 1, 12, 0, 0);
    match.clock.start_phase({.total = std::numeric_limits<std::int32_t>::max(), .least = 0});
    match.clock.tick();
    match.clock.record_progress(1);
    match.pass_ms(100 * kSecond);
    EXPECT_EQ(match.clock.remaining(), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(match.rig.row(25),
              full_row("Aktueller Versuch: geratene Zeit: 00.01.40 .......... benoetigte Zeit: 99.59.59"));
}

TEST(MatchClockPhase, TheProgressBarOnlyGrows) {
    ClockedMatch match(Language::German, kPersonVariable);
    match.start_at(2025, 3, 1, 12, 0, 0);
    match.clock.start_phase({.total = 1000, .least = 1000});
    match.clock.show_progress(3);
    EXPECT_EQ(match.rig.row(25).substr(43, 10), "***.......");
    const std::uint64_t before = match.generation();
    match.clock.show_progress(2);
    match.clock.show_progress(3);
    EXPECT_EQ(match.generation(), before);
    match.clock.show_progress(12);
    EXPECT_EQ(match.rig.row(25).substr(43, 10), "**********");
    EXPECT_EQ(match.rig.console.where_x(), 46);
    EXPECT_EQ(match.rig.console.where_y(), 9);
}

TEST(MatchClockPhase, ABetterTryIsWrittenAtTheCursorOnTheNextSecond) {
    ClockedMatch match(Language::German, kComputerGuesses);
    match.start_at(2025, 3, 1, 12, 0, 0);
    match.clock.start_phase({.total = 50, .least = 10});
    match.rig.console.goto_xy(47, 9);
    match.clock.show_better_try("ab12");
    match.clock.tick();
    EXPECT_EQ(match.rig.row(9), full_row(""));
    match.pass_ms(kSecond);
    EXPECT_EQ(match.rig.row(9), full_row(blanks(46) + "ab12"));
    EXPECT_EQ(match.rig.console.where_x(), 47);

    match.clock.end_phase();
    match.clock.show_better_try("cd34");
    match.pass_ms(kSecond);
    EXPECT_EQ(match.rig.row(9), full_row(blanks(46) + "ab12"));
}

TEST(MatchClockPhase, EndingAPhaseClearsItsFieldsForTheNext) {
    ClockedMatch match(Language::German, kComputerGuesses);
    match.start_at(2025, 3, 1, 12, 0, 0);
    match.clock.start_phase({.total = 100, .least = 10});
    match.clock.tick();
    match.clock.record_progress(40);
    match.clock.show_progress(4);
    match.pass_ms(83 * kSecond);
    match.clock.end_phase();
    EXPECT_EQ(match.rig.row(25), full_row(kGermanComputerStatus));
    EXPECT_EQ(match.rig.console.where_x(), 46);

    match.pass_ms(5 * kSecond);  // between phases the status line rests
    EXPECT_EQ(match.rig.row(25), full_row(kGermanComputerStatus));

    match.clock.start_phase({.total = 100, .least = 10});
    match.clock.tick();
    match.pass_ms(kSecond);
    EXPECT_EQ(match.rig.row(25),
              full_row("Aktueller Versuch: geratene Zeit: 00.00.01 .......... benoetigte Zeit: 00.00.00"));
}

// ---------------------------------------------------------------- the end of the match

TEST(MatchClockEnd, GermanSummaryAfterTheComputerWon) {
    ClockedMatch match(Language::German, kComputerGuesses);
    match.start_at(2025, 3, 1, 12, 0, 0);
    match.rig.clock.advance_ms(2500);
    match.rig.terminal.type("x").extended(scan::kF4).type("z");
    EXPECT_TRUE(match.clock.end_match("3141", 7));
    EXPECT_EQ(match.rig.row(25), full_row("Loesung: 3141" + blanks(10) + "Benoetigte Versuche: 7" +
                                          blanks(11) + "Neues Spiel? Ja.       "));
    EXPECT_EQ(match.rig.row(19), board_row(" Spielende  : Samstag, 1.3.2025,"));
    // The last refresh happened; after it the clock is still.
    EXPECT_EQ(match.rig.row(21), board_row(" Spieldauer : 00 Std. 00 Min. 02 Sek."));
    EXPECT_EQ(match.rig.console.where_x(), 70);
    EXPECT_EQ(match.rig.console.where_y(), 25);
    EXPECT_EQ(match.rig.terminal.keys_left(), 0u);
    const std::uint64_t before = match.generation();
    match.pass_ms(5 * kSecond);
    EXPECT_EQ(match.generation(), before);
}

TEST(MatchClockEnd, EnglishSummaryOfAnAbandonedMatchWithoutTries) {
    ClockedMatch match(Language::English, kComputerGuesses);
    match.start_at(2025, 3, 1, 12, 0, 0);
    match.clock.start_phase({.total = 100, .least = 10});
    match.clock.record_progress(30);
    match.pass_ms(3 * kSecond);
    match.rig.terminal.type("n");
    EXPECT_FALSE(match.clock.end_match("ab", std::nullopt));
    EXPECT_EQ(match.rig.row(25), full_row("Answer:  ab" + blanks(20) + "Trials made:" + blanks(16) +
                                          "New game? Yes.      "));
    EXPECT_EQ(match.rig.row(19), board_row(" Game end  : Sat., 1st March 2025,"));
}

TEST(MatchClockEnd, APersonsMatchShowsAKnownCodeButNoTriesWhenAbandoned) {
    ClockedMatch match(Language::German, kPersonFixed);
    match.start_at(2025, 3, 1, 12, 0, 0);
    match.rig.terminal.key(keys::kEsc);
    EXPECT_FALSE(match.clock.end_match("ab       ", std::nullopt));
    EXPECT_EQ(match.rig.row(25),
              full_row("Loesung: ab            Benoetigte Versuche:             Neues Spiel? Ja."));
}

TEST(MatchClockEnd, AnUnknownCodeIsNotShown) {
    ClockedMatch match(Language::English, kPersonFixed);
    match.start_at(2025, 3, 1, 12, 0, 0);
    match.rig.terminal.type("y");
    EXPECT_TRUE(match.clock.end_match("         ", 12));
    EXPECT_EQ(match.rig.row(25),
              full_row("Answer:                       Trials made:  12             New Game? Yes."));
}

TEST(MatchClockEnd, ABuildBrokenOffStillAsksTheQuestion) {
    ClockedMatch match(Language::German, kPersonVariable);
    match.start_at(2025, 3, 1, 12, 0, 0);
    match.clock.start_phase({.total = 5040, .least = 5040});
    match.clock.show_progress(2);
    match.pass_ms(2 * kSecond);
    match.clock.stop();
    match.rig.terminal.key(keys::kCtrlC);
    EXPECT_FALSE(match.clock.end_match("", std::nullopt));
    EXPECT_EQ(match.rig.row(25),
              full_row("Loesung:                Benoetigte Versuche:            Neues Spiel? Ja.       "));
}

TEST(MatchClockEnd, EveryKeyOfTheNewGameQuestion) {
    const std::string yes_keys = "\rjJyYzZ";
    const std::string no_keys = {static_cast<char>(keys::kEsc), static_cast<char>(keys::kCtrlC),
                                 'n', 'N'};
    for (const auto& [answers, expected] : {std::pair{yes_keys, true}, std::pair{no_keys, false}}) {
        for (char key : answers) {
            ClockedMatch match(Language::German, kPersonFixed);
            match.start_at(2025, 3, 1, 12, 0, 0);
            // Ignored first: other letters, digits, Backspace, a blank and extended keys,
            // even one whose scan code is the letter j.
            match.rig.terminal.type("aq1 ").key(keys::kBackspace).extended('j').extended(scan::kF4);
            match.rig.terminal.key(static_cast<std::uint8_t>(key));
            EXPECT_EQ(match.clock.end_match("", std::nullopt), expected) << int(key);
            EXPECT_EQ(match.rig.terminal.keys_left(), 0u);
        }
    }
}

// ---------------------------------------------------------------- the virtual date

TEST(MatchClockVirtualDate, ThePanelShowsTheVirtualDateAndItsNextDays) {
    ClockedMatch match(Language::German, kPersonFixed);
    VirtualDate& virtual_date = match.rig.app.virtual_date;
    virtual_date = VirtualDate::from_real_date({1582, 10, 4, 4});
    virtual_date.in_force = true;
    virtual_date.header_day = false;  // left so by an earlier match
    match.start_at(2025, 5, 14, 23, 59, 59);
    EXPECT_TRUE(virtual_date.header_day);
    EXPECT_EQ(match.rig.row(17), board_row(" Spielbeginn: Donnerstag, 4.10.1582,"));
    EXPECT_EQ(match.rig.row(19), board_row(" Datum/Zeit : Donnerstag, 4.10.1582,"));

    match.pass_ms(kSecond);
    EXPECT_EQ(match.rig.row(19), board_row(" Datum/Zeit : Freitag, 15.10.1582,"));
    EXPECT_FALSE(virtual_date.header_day);

    // The start's time of day comes round again, but it is still the day after.
    match.pass_ms(kDay - kSecond);
    EXPECT_EQ(match.rig.row(19), board_row(" Datum/Zeit : Freitag, 15.10.1582,"));
    match.pass_ms(kSecond);
    EXPECT_EQ(match.rig.row(19), board_row(" Datum/Zeit : Samstag, 16.10.1582,"));
    EXPECT_EQ(match.rig.row(17), board_row(" Spielbeginn: Donnerstag, 4.10.1582,"));
}

TEST(MatchClockVirtualDate, TheLastDayOfTheCalendarStays) {
    ClockedMatch match(Language::English, kPersonFixed);
    VirtualDate& virtual_date = match.rig.app.virtual_date;
    virtual_date = VirtualDate::from_real_date({9999, 12, 31, 5});
    virtual_date.in_force = true;
    match.start_at(2025, 5, 14, 23, 59, 59);
    match.pass_ms(kSecond);
    EXPECT_EQ(match.rig.row(19), board_row(" Date/time : Friday, 31st Dec. 9999, "));
    EXPECT_EQ(match.rig.row(20), board_row("             12:00 a.m., 00 seconds."));
}

}  // namespace
