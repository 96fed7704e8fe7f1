#include <gtest/gtest.h>

#include "calendar/clock_screen.hpp"
#include "calendar/date_forms.hpp"
#include "core/text.hpp"
#include "editor_page.hpp"

namespace {

// Written so, lest four question marks start a trigraph.
#define YEAR_RANGE "(1980 - \?\?\?\?)"

using Setting = FakeClock::DateSetting;

PageRows clock_page(Language language) {
    if (language == Language::German)
        return merged(shared_instructions(language),
                      {
                          {1, "^Bitte stellen Sie Datum und Uhrzeit ein (benoetigt "
                              "Administrationsrechte):^"},
                          {6, "Haben Sie das Datum und die Uhrzeit korrigiert, so druecken Sie "
                              "\"CR\"/\"ENTER\"."},
                          {11, "Jede Eingabe bewirkt eine ^sofortige Aenderung von Datum, bzw. "
                               "Uhrzeit^."},
                          {14, "Sie koennen diesen Programmteil auch als ^Wochentagskalender ab "
                               "1980^ verwenden."},
                          {15, "Ein Tastendruck auf ^\"F1\"^ setzt dann das angezeigte gueltige "
                               "Datum auf das"},
                          {16, "urspruengliche Datum zurueck, das sich der Computer gemerkt hat."},
                      });
    return merged(shared_instructions(language),
                  {
                      {1, "^Please set the right date and time (administration rights are "
                          "required):^"},
                      {6, "If date and time are o.k., please press 'CR'/'ENTER'."},
                      {11, "To press a key effects an ^immediate change of the date respectively "
                           "the time^."},
                      {14, "You can use this part of the program as well as ^calendar (from "
                           "1980)^."},
                      {15, "It is possible to reset the valid date that you can see on the "
                           "screen with"},
                      {16, "the initial date rememberd by the computer by pressing the "
                           "^'F1'^-key."},
                  });
}

void run_until(TestRig& rig, std::uint8_t leave = keys::kEnter) {
    rig.terminal.key(leave);
    run_clock_screen(rig.app);
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
}

void expect_block(const TestRig& rig, const PageRows& rows) {
    for (const auto& [row, text] : rows) EXPECT_EQ(rig.row(row), full_row(text)) << "row " << row;
}

TEST(ClockScreen, ShowsInstructionsAndTheRunningBlockInBothLanguages) {
    for (Language language : {Language::German, Language::English}) {
        TestRig rig;
        rig.app.language = language;
        rig.clock.show(2024, 2, 29, 14, 5, 9);
        run_until(rig);
        const bool german = language == Language::German;
        const PageRows block =
            german ? PageRows{
                         {18, "                Jahr " YEAR_RANGE ": 2024 (ist ein Schaltjahr.) "},
                         {19, "                Monat    (01 - 12): 02.  (Februar)  "},
                         {20, "                Tag      (01 - 29): 29."},
                         {21, "                Wochentag         : Donnerstag."},
                         {23, "                Stunde   (00 - 23): 14 Uhr,"},
                         {24, "                Minute   (00 - 59): 05 Minuten und"},
                         {25, "                Sekunde  (00 - 59): 09 Sekunden."},
                     }
                   : PageRows{
                         {18, "                Year " YEAR_RANGE ": 2024 (is a leap-year.) "},
                         {19, "                Month    (01 - 12): 02   (February) "},
                         {20, "                Day      (01 - 29): 29"},
                         {21, "                Day of the week   : Thursday. "},
                         {23, "                Hour     (00 - 23): 14 (= 02 p.m.)"},
                         {24, "                Minute   (00 - 59): 05 minutes and"},
                         {25, "                Second   (00 - 59): 09 seconds."},
                     };
        expect_page(rig, merged(clock_page(language), block));
        EXPECT_EQ(rig.console.where_x(), 37);
        EXPECT_EQ(rig.console.where_y(), 18);
    }
}

struct Moment {
    std::uint16_t year, month, day, hour;
    const char* year_row;
    const char* day_row;
    const char* hour_row;
};

TEST(ClockScreen, LeapYearDayCountAndTwelveHourClockFollowTheDate) {
    // The computer's clock is Gregorian in every year, 1500 included.
    const Moment moments[] = {
        {2023, 4, 30, 0, "2023 (is no leap-year.)", "(01 - 30): 30", "00 (= 12 a.m.)"},
        {2025, 1, 31, 11, "2025 (is no leap-year.)", "(01 - 31): 31", "11 (= 11 a.m.)"},
        {2025, 2, 28, 12, "2025 (is no leap-year.)", "(01 - 28): 28", "12 (= 12 p.m.)"},
        {2000, 2, 1, 13, "2000 (is a leap-year.) ", "(01 - 29): 01", "13 (= 01 p.m.)"},
        {2100, 2, 1, 1, "2100 (is no leap-year.)", "(01 - 28): 01", "01 (= 01 a.m.)"},
        {1500, 2, 1, 23, "1500 (is no leap-year.)", "(01 - 28): 01", "23 (= 11 p.m.)"},
    };
    for (const Moment& moment : moments) {
        TestRig rig;
        rig.app.language = Language::English;
        rig.clock.show(moment.year, moment.month, moment.day, moment.hour);
        run_until(rig);
        SCOPED_TRACE(moment.year_row);
        const std::string indent(16, ' ');
        expect_block(rig, {
                              {18, join({indent, "Year " YEAR_RANGE ": ", moment.year_row})},
                              {20, join({indent, "Day      ", moment.day_row})},
                              {23, join({indent, "Hour     (00 - 23): ", moment.hour_row})},
                          });
    }
}

TEST(ClockScreen, TheClockRunsOnScreenWhileTheCursorStaysOnItsDigit) {
    TestRig rig;
    rig.clock.show(2024, 12, 31, 23, 59, 59);
    CursorTrail trail(rig);
    rig.terminal.extended(scan::kDown);
    rig.terminal.after_ms(1500);
    run_until(rig);
    expect_block(rig, {
                          {18, "                Jahr " YEAR_RANGE ": 2025 (ist kein Schaltjahr.)"},
                          {19, "                Monat    (01 - 12): 01.  (Januar)   "},
                          {20, "                Tag      (01 - 31): 01."},
                          {21, "                Wochentag         : Mittwoch.  "},
                          {23, "                Stunde   (00 - 23): 00 Uhr,"},
                          {24, "                Minute   (00 - 59): 00 Minuten und"},
                          {25, "                Sekunde  (00 - 59): 00 Sekunden."},
                      });
    EXPECT_EQ(trail.places, (std::vector<std::pair<int, int>>{{37, 18}, {37, 19}}));
    EXPECT_TRUE(rig.clock.date_settings().empty());
    EXPECT_EQ(rig.clock.time_settings(), 0);
}

TEST(ClockScreen, RedrawsOnlyWhatChanged) {
    TestRig rig;
    rig.clock.show(2025, 1, 15, 10);
    // Marks on screen that only a needless rewrite would remove.
    rig.terminal.before_each_key([&](std::size_t taken) {
        if (taken != 0) return;
        rig.console.goto_xy(37, 19);
        rig.console.write_char('#');
        rig.console.goto_xy(17, 20);
        rig.console.write_char('#');
        rig.console.goto_xy(37, 18);
    });
    rig.terminal.extended(scan::kDown).extended(scan::kRight).type("2");
    run_until(rig);
    expect_block(rig, {
                          {19, "                Monat    (01 - 12): #2.  (Februar)  "},
                          {20, "                #ag      (01 - 28): 15."},
                      });
}

TEST(ClockScreen, AMonthWithoutTheDayPutsTheDayOnItsLast) {
    for (std::uint16_t year : {2025, 2024}) {
        TestRig rig;
        rig.clock.show(year, 1, 31, 10);
        CursorTrail trail(rig, [&](std::size_t taken) {
            if (taken != 3) return;
            expect_block(rig, {{19, "                Monat    (01 - 12): 04.  (April)    "},
                               {20, "                Tag      (01 - 30): 30."}});
        });
        rig.terminal.extended(scan::kDown).extended(scan::kRight).type("42");
        run_until(rig);
        const std::uint16_t february_end = year == 2024 ? 29 : 28;
        EXPECT_EQ(rig.row(20), full_row(join({"                Tag      (01 - ",
                                               two_digits(february_end), "): ",
                                               two_digits(february_end), "."})));
        EXPECT_EQ(rig.row(19), full_row("                Monat    (01 - 12): 02.  (Februar)  "));
        ASSERT_EQ(rig.clock.date_settings().size(), 2u);
        EXPECT_EQ(rig.clock.date_settings()[0].month, 4);
        EXPECT_EQ(rig.clock.date_settings()[0].day, 30);
        EXPECT_EQ(rig.clock.date_settings()[1].day, february_end);
        // From April's units the cursor cannot step onto the tens.
        EXPECT_EQ(trail.places[3], (std::pair<int, int>{38, 19}));
    }
}

TEST(ClockScreen, TwentyNinthOfFebruaryInACommonYearBecomesTheTwentyEighth) {
    TestRig rig;
    rig.clock.show(2024, 2, 29, 10);
    rig.terminal.extended(scan::kLeft).type("5");
    run_until(rig);
    expect_block(rig, {
                          {18, "                Jahr " YEAR_RANGE ": 2025 (ist kein Schaltjahr.)"},
                          {20, "                Tag      (01 - 28): 28."},
                          {21, "                Wochentag         : Freitag.   "},
                      });
    ASSERT_EQ(rig.clock.date_settings().size(), 1u);
    EXPECT_EQ(rig.clock.date_settings()[0].day, 28);
}

TEST(ClockScreen, TheMonthsTensAreReachableOnlyWhileItsUnitsAreAtMostTwo) {
    TestRig rig;
    rig.clock.show(2025, 9, 15, 10);
    CursorTrail trail(rig);
    rig.terminal.extended(scan::kDown).extended(scan::kLeft).type("1");
    // F1 brings September back while the cursor stands on the tens.
    rig.terminal.extended(scan::kF1).type("1");
    run_until(rig);
    EXPECT_EQ(trail.places, (std::vector<std::pair<int, int>>{
                                {37, 18}, {38, 19}, {38, 19}, {37, 19}, {37, 19}, {38, 19}}));
    // The "1" on September's tens gave 19, put right to 9: no change, no setting.
    EXPECT_EQ(rig.row(19), full_row("                Monat    (01 - 12): 09.  (September)"));
    ASSERT_EQ(rig.clock.date_settings().size(), 2u);
    EXPECT_EQ(rig.clock.date_settings()[0].month, 1);
    EXPECT_EQ(rig.clock.date_settings()[1].month, 9);
}

TEST(ClockScreen, AMonthOfZeroBecomesOctober) {
    TestRig october;
    october.clock.show(2025, 10, 15, 10);
    october.terminal.extended(scan::kDown).type("00");
    run_until(october);
    EXPECT_EQ(october.row(19), full_row("                Monat    (01 - 12): 10.  (Oktober)  "));
    EXPECT_TRUE(october.clock.date_settings().empty());

    TestRig january;
    january.clock.show(2025, 1, 15, 10);
    january.terminal.extended(scan::kDown).extended(scan::kRight).type("0");
    run_until(january);
    EXPECT_EQ(january.row(19), full_row("                Monat    (01 - 12): 10.  (Oktober)  "));
    ASSERT_EQ(january.clock.date_settings().size(), 1u);
    EXPECT_EQ(january.clock.date_settings()[0].month, 10);
}

TEST(ClockScreen, HoursFromTwentyTakeOnlyZeroToThreeAtTheUnits) {
    TestRig rig;
    rig.app.language = Language::English;
    rig.clock.show(2025, 5, 5, 19, 30);
    rig.terminal.extended(scan::kUp).extended(scan::kCtrlUp).extended(scan::kAltUp);
    rig.terminal.type("2");
    rig.terminal.before_each_key([&](std::size_t taken) {
        if (taken != 4) return;
        EXPECT_EQ(rig.row(23), full_row("                Hour     (00 - 23): 20 (= 08 p.m.)"));
    });
    rig.terminal.type("493");
    run_until(rig);
    EXPECT_EQ(rig.row(23), full_row("                Hour     (00 - 23): 23 (= 11 p.m.)"));
    EXPECT_EQ(rig.clock.time_settings(), 2);
    EXPECT_EQ(rig.clock.now().hour, 23);
    EXPECT_EQ(rig.clock.now().minute, 30);
}

TEST(ClockScreen, ADigitThatChangesNothingSetsNothing) {
    TestRig rig;
    rig.clock.show(2025, 5, 5, 8, 30);
    rig.terminal.type("2025").extended(scan::kUp).type("00");
    run_until(rig);
    EXPECT_TRUE(rig.clock.date_settings().empty());
    EXPECT_EQ(rig.clock.time_settings(), 0);
}

TEST(ClockScreen, EveryF1BringsBackTheOpeningDateAndLeavesTheTimeRunning) {
    for (std::uint8_t f1 : {scan::kF1, scan::kShiftF1, scan::kCtrlF1, scan::kAltF1}) {
        TestRig rig;
        rig.clock.show(2025, 6, 15, 10);
        CursorTrail trail(rig);
        rig.terminal.type("3").after_ms(2000).extended(f1).extended(f1).after_ms(1500);
        run_until(rig);
        EXPECT_EQ(rig.row(18),
                  full_row("                Jahr " YEAR_RANGE ": 2025 (ist kein Schaltjahr.)"));
        EXPECT_EQ(rig.row(25), full_row("                Sekunde  (00 - 59): 03 Sekunden."));
        // The second F1 found the opening date in force and set nothing.
        ASSERT_EQ(rig.clock.date_settings().size(), 2u);
        EXPECT_EQ(rig.clock.date_settings()[0].year, 3025);
        EXPECT_EQ(rig.clock.date_settings()[1].year, 2025);
        EXPECT_EQ(rig.clock.time_settings(), 0);
        EXPECT_EQ(trail.places.back(), (std::pair<int, int>{38, 18}));
    }
}

TEST(ClockScreen, ASettingTheClockRefusesLeavesItsRealValuesOnScreen) {
    TestRig rig;
    rig.clock.show(2025, 6, 15, 10);
    rig.clock.refuse_setting();
    CursorTrail trail(rig);
    rig.terminal.type("3").extended(scan::kUp).type("5");
    run_until(rig);
    EXPECT_EQ(rig.row(18),
              full_row("                Jahr " YEAR_RANGE ": 2025 (ist kein Schaltjahr.)"));
    EXPECT_EQ(rig.row(25), full_row("                Sekunde  (00 - 59): 00 Sekunden."));
    EXPECT_EQ(rig.clock.now().year, 2025);
    // The refused digits still moved the cursor on.
    EXPECT_EQ(trail.places.back(), (std::pair<int, int>{37, 25}));
}

TEST(ClockScreen, CursorKeysVisitEveryDigitAndWrapAround) {
    TestRig rig;
    rig.clock.show(2025, 11, 15, 10);
    CursorTrail trail(rig);
    press(rig.terminal, {scan::kRight, scan::kCtrlRight, scan::kAltRight, scan::kRight,
                         scan::kLeft, scan::kCtrlLeft, scan::kAltLeft, scan::kLeft});
    press(rig.terminal, {scan::kUp, scan::kDown, scan::kRight, scan::kRight, scan::kUp,
                         scan::kDown, scan::kRight});
    press(rig.terminal, {scan::kDown, scan::kCtrlDown, scan::kAltDown, scan::kDown, scan::kDown,
                         scan::kDown});
    run_until(rig);
    const std::vector<std::pair<int, int>> expected = {
        {37, 18}, {38, 18}, {39, 18}, {40, 18}, {37, 18}, {40, 18}, {39, 18}, {38, 18},
        {37, 18}, {37, 25}, {37, 18}, {38, 18}, {39, 18}, {38, 25}, {38, 18}, {39, 18},
        {38, 19}, {38, 20}, {38, 23}, {38, 24}, {38, 25}, {38, 18}};
    EXPECT_EQ(trail.places, expected);
}

TEST(ClockScreen, TheThirtiethOfAThirtyDayMonthHasNoUnitsToVisit) {
    TestRig rig;
    rig.clock.show(2025, 11, 30, 10);
    CursorTrail trail(rig);
    press(rig.terminal, {scan::kRight, scan::kDown, scan::kDown, scan::kRight, scan::kLeft,
                         scan::kDown, scan::kUp});
    run_until(rig);
    EXPECT_EQ(trail.places, (std::vector<std::pair<int, int>>{
                                {37, 18}, {38, 18}, {38, 19}, {37, 20}, {37, 20}, {37, 20},
                                {37, 23}, {37, 20}}));
}

TEST(ClockScreen, OtherKeysChangeNothingAndEscOrCtrlCLeaveToo) {
    for (std::uint8_t leave : {keys::kEsc, keys::kCtrlC}) {
        TestRig rig;
        rig.clock.show(2025, 11, 15, 10);
        CursorTrail trail(rig);
        // 'M' and 'K' are the codes of Right and Left, but not extended.
        constexpr std::uint8_t kF2 = 60;
        rig.terminal.type("aMK").key(keys::kBackspace).extended(kF2).extended(scan::kHome);
        run_until(rig, leave);
        const std::vector<std::pair<int, int>> unmoved(7, {37, 18});
        EXPECT_EQ(trail.places, unmoved);
        EXPECT_EQ(rig.row(18),
                  full_row("                Jahr " YEAR_RANGE ": 2025 (ist kein Schaltjahr.)"));
        EXPECT_TRUE(rig.clock.date_settings().empty());
    }
}

}  // namespace
