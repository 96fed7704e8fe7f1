#include <gtest/gtest.h>

#include "calendar/calendar_screen.hpp"
#include "core/text.hpp"
#include "editor_page.hpp"

namespace {

PageRows calendar_page(Language language) {
    if (language == Language::German)
        return merged(shared_instructions(language),
                      {
                          {1, "^Bitte stellen Sie Ihr virtuelles Spieldatum ein:^"},
                          {6, "Haben Sie das Datum korrigiert, so druecken Sie \"CR\"/\"ENTER\"."},
                          {11, "Jede Eingabe bewirkt eine ^sofortige Aenderung des virtuellen "
                               "Spieldatums^."},
                          {14, "Sie koennen diesen Programmteil auch als ^Wochentagskalender von "
                               "0000 bis 9999^"},
                          {15, "verwenden. Ein Tastendruck auf ^\"F1\"^ setzt dann das angezeigte "
                               "virtuelle"},
                          {16, "Spieldatum auf das urspruengliche reale Datum zurueck."},
                          {23, "   Auf Donnerstag, den 4. Oktober 1582 folgt Freitag, der 15. "
                               "Oktober 1582."},
                          {24, "   Zu dieser Zeit wurde der damals gueltige Julianische Kalender "
                               "auf den"},
                          {25, "   heute gueltigen Gregorianischen Kalender umgestellt."},
                      });
    return merged(shared_instructions(language),
                  {
                      {1, "^Please set the right virtual date of the game:^"},
                      {6, "If the virtual date is o.k., please press 'CR'/'ENTER'."},
                      {11, "To press a key effects an ^immediate change of the virtual date of "
                           "the game^."},
                      {14, "You can use this part of the program as well as ^calendar from 0000 "
                           "to 9999^."},
                      {15, "It is possible to reset the virtual date that you can see on the "
                           "screen with"},
                      {16, "the initial real date rememberd by the computer by pressing the "
                           "^'F1'^-key."},
                      {23, "    Thursday, 4th October 1582 is followed by Friday, 15th October "
                           "1582."},
                      {24, "    At this time the Gregorian Calendar replaced the Julian Calendar."},
                  });
}

void run_until_enter(TestRig& rig) {
    rig.terminal.key(keys::kEnter);
    run_calendar_screen(rig.app, rig.app.virtual_date);
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
    EXPECT_TRUE(rig.clock.date_settings().empty());
    EXPECT_EQ(rig.clock.time_settings(), 0);
}

std::string year_row(std::string_view year, bool leap) {
    return full_row(join({"                Jahr (0000 - 9999): ", year,
                          leap ? " (ist ein Schaltjahr.) " : " (ist kein Schaltjahr.)"}));
}

std::string weekday_row(std::string_view name) {
    return full_row(join({"                Wochentag         : ", name}));
}

TEST(CalendarScreen, ShowsInstructionsDateBlockAndTheNoteInBothLanguages) {
    for (Language language : {Language::German, Language::English}) {
        TestRig rig;
        rig.app.language = language;
        rig.clock.show(2026, 12, 8);
        run_until_enter(rig);
        const PageRows block =
            language == Language::German
                ? PageRows{{18, "                Jahr (0000 - 9999): 2026 (ist kein Schaltjahr.)"},
                           {19, "                Monat    (01 - 12): 12.  (Dezember) "},
                           {20, "                Tag      (01 - 31): 08."},
                           {21, "                Wochentag         : Dienstag.  "}}
                : PageRows{{18, "                Year (0000 - 9999): 2026 (is no leap-year.)"},
                           {19, "                Month    (01 - 12): 12   (December) "},
                           {20, "                Day      (01 - 31): 08"},
                           {21, "                Day of the week   : Tuesday.  "}};
        expect_page(rig, merged(calendar_page(language), block));
    }
}

TEST(CalendarScreen, TheTenDaysOf1582ThatNeverWereMoveOnByTen) {
    constexpr const char* kFrom15th[] = {"Freitag.   ",  "Samstag.   ", "Sonntag.   ",
                                         "Montag.    ",  "Dienstag.  ", "Mittwoch.  ",
                                         "Donnerstag.", "Freitag.   ", "Samstag.   ",
                                         "Sonntag.   "};
    for (std::uint16_t day = 5; day <= 14; ++day) {
        TestRig rig;
        rig.clock.show(2025, 10, day);
        rig.terminal.type("1582");
        run_until_enter(rig);
        SCOPED_TRACE(day);
        EXPECT_EQ(rig.row(20), full_row(join({"                Tag      (01 - 31): ",
                                               std::to_string(day + 10), "."})));
        EXPECT_EQ(rig.row(21), weekday_row(kFrom15th[day - 5]));
        EXPECT_TRUE(rig.app.virtual_date.in_force);
        EXPECT_EQ(rig.app.virtual_date.date,
                  (CalendarDate{1582, 10, static_cast<std::uint16_t>(day + 10),
                                static_cast<std::uint16_t>(day % 7)}));
    }
}

TEST(CalendarScreen, TheFourthOfOctober1582IsAThursdayAndADayTypedIntoTheGapSkipsIt) {
    TestRig rig;
    rig.clock.show(2025, 10, 4);
    rig.terminal.type("1582");
    rig.terminal.before_each_key([&](std::size_t taken) {
        if (taken != 4) return;
        EXPECT_EQ(rig.row(21), weekday_row("Donnerstag."));
    });
    rig.terminal.extended(scan::kDown).extended(scan::kDown).extended(scan::kRight).type("9");
    run_until_enter(rig);
    EXPECT_EQ(rig.row(20), full_row("                Tag      (01 - 31): 19."));
    EXPECT_EQ(rig.row(21), weekday_row("Dienstag.  "));
}

TEST(CalendarScreen, LeapYearsAreJulianUpTo1582AndGregorianAfter) {
    const std::pair<const char*, bool> years[] = {
        {"1200", true}, {"1500", true},  {"1600", true},  {"2000", true},
        {"1700", false}, {"1800", false}, {"1900", false}, {"0000", true}};
    for (const auto& [year, leap] : years) {
        TestRig rig;
        rig.clock.show(2025, 2, 1);
        rig.terminal.type(year);
        run_until_enter(rig);
        EXPECT_EQ(rig.row(18), year_row(year, leap));
        EXPECT_EQ(rig.row(20), full_row(leap ? "                Tag      (01 - 29): 01."
                                             : "                Tag      (01 - 28): 01."))
            << year;
    }
}

TEST(CalendarScreen, TheFirstDayOfYearZeroIsAThursday) {
    TestRig rig;
    rig.clock.show(2025, 1, 1);
    rig.terminal.type("0000");
    run_until_enter(rig);
    EXPECT_EQ(rig.row(21), weekday_row("Donnerstag."));
}

TEST(CalendarScreen, TwentyNinthOfFebruary1500BecomesTheTwentyEighthIn1700) {
    TestRig rig;
    rig.clock.show(2024, 2, 29);
    rig.terminal.before_each_key([&](std::size_t taken) {
        if (taken != 4) return;
        EXPECT_EQ(rig.row(18), year_row("1500", true));
        EXPECT_EQ(rig.row(20), full_row("                Tag      (01 - 29): 29."));
    });
    // Then to the day's units, where a 9 would make the 29th again.
    rig.terminal.type("1500").extended(scan::kRight).type("7");
    rig.terminal.extended(scan::kDown).extended(scan::kDown).type("9");
    run_until_enter(rig);
    EXPECT_EQ(rig.row(18), year_row("1700", false));
    EXPECT_EQ(rig.row(20), full_row("                Tag      (01 - 28): 28."));
    EXPECT_EQ(rig.row(21), weekday_row("Sonntag.   "));
    EXPECT_EQ(rig.app.virtual_date.date, (CalendarDate{1700, 2, 28, 0}));
}

TEST(CalendarScreen, UpAndDownGoBetweenTheYearAndTheDay) {
    TestRig rig;
    rig.clock.show(2025, 11, 15);
    CursorTrail trail(rig);
    press(rig.terminal, {scan::kUp, scan::kDown, scan::kRight, scan::kRight, scan::kCtrlUp,
                         scan::kAltDown, scan::kRight, scan::kRight, scan::kAltUp, scan::kUp,
                         scan::kCtrlDown});
    run_until_enter(rig);
    EXPECT_EQ(trail.places, (std::vector<std::pair<int, int>>{
                                {37, 18}, {37, 20}, {37, 18}, {38, 18}, {39, 18}, {38, 20},
                                {38, 18}, {39, 18}, {40, 18}, {38, 20}, {38, 19}, {38, 20}}));
}

TEST(CalendarScreen, OpeningCancelsAVirtualDateAndLeavingAtOnceKeepsItOff) {
    TestRig rig;
    rig.clock.show(2025, 6, 15);
    rig.app.virtual_date.date = {1999, 1, 1, 5};
    rig.app.virtual_date.in_force = true;
    run_until_enter(rig);
    EXPECT_FALSE(rig.app.virtual_date.in_force);
    EXPECT_EQ(rig.app.virtual_date.date, (CalendarDate{2025, 6, 15, 0}));
}

TEST(CalendarScreen, EachKeyPutsTheEditedDateInForceUnlessItIsTheRealOne) {
    TestRig rig;
    rig.clock.show(2025, 6, 15);
    std::vector<VirtualDate> seen;
    rig.terminal.before_each_key([&](std::size_t) { seen.push_back(rig.app.virtual_date); });
    rig.terminal.extended(scan::kLeft).type("6").extended(scan::kLeft).type("5");
    run_until_enter(rig);
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_FALSE(seen[1].in_force);
    EXPECT_TRUE(seen[2].in_force);
    EXPECT_EQ(seen[2].date, (CalendarDate{2026, 6, 15, 1}));
    EXPECT_TRUE(seen[3].in_force);
    EXPECT_FALSE(seen[4].in_force);
    EXPECT_FALSE(rig.app.virtual_date.in_force);
    EXPECT_EQ(rig.app.virtual_date.date, (CalendarDate{2025, 6, 15, 0}));
}

TEST(CalendarScreen, F1ThenEnterLeavesNoVirtualDate) {
    TestRig rig;
    rig.clock.show(2025, 6, 15);
    rig.terminal.type("9").extended(scan::kF1);
    run_until_enter(rig);
    EXPECT_EQ(rig.row(18), year_row("2025", false));
    EXPECT_EQ(rig.row(21), weekday_row("Sonntag.   "));
    EXPECT_FALSE(rig.app.virtual_date.in_force);
    EXPECT_EQ(rig.app.virtual_date.date, (CalendarDate{2025, 6, 15, 0}));
}

}  // namespace
