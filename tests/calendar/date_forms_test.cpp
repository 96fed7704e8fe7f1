#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>

#include "calendar/date_forms.hpp"

namespace {

CalendarDate on(int weekday, int day, int month, int year) {
    return {static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
            static_cast<std::uint16_t>(day), static_cast<std::uint16_t>(weekday)};
}

std::string german(const CalendarDate& date) { return long_date(Language::German, date); }
std::string english(const CalendarDate& date) { return long_date(Language::English, date); }

TEST(LongDate, GermanExamplesPadToTwentyThreeCharacters) {
    EXPECT_EQ(german(on(0, 5, 1, 2025)), "Sonntag, 5.1.2025,     ");
    EXPECT_EQ(german(on(4, 31, 12, 2025)), "Donnerstag, 31.12.2025,");
}

TEST(LongDate, GermanWeekdayNames) {
    const std::array<std::string, 7> expected = {
        "Sonntag, 1.3.2025,     ",  "Montag, 1.3.2025,      ", "Dienstag, 1.3.2025,    ",
        "Mittwoch, 1.3.2025,    ", "Donnerstag, 1.3.2025,  ", "Freitag, 1.3.2025,     ",
        "Samstag, 1.3.2025,     "};
    for (int weekday = 0; weekday < 7; ++weekday)
        EXPECT_EQ(german(on(weekday, 1, 3, 2025)), expected[weekday]);
}

TEST(LongDate, YearsAlwaysHaveFourDigitsInBothLanguages) {
    EXPECT_EQ(german(on(6, 1, 1, 7)), "Samstag, 1.1.0007,     ");
    EXPECT_EQ(english(on(6, 1, 1, 7)), "Saturday, 1st Jan. 0007,");
    EXPECT_EQ(german(on(4, 1, 1, 0)), "Donnerstag, 1.1.0000,  ");
    EXPECT_EQ(german(on(1, 2, 2, 99)), "Montag, 2.2.0099,      ");
    EXPECT_EQ(german(on(1, 2, 2, 100)), "Montag, 2.2.0100,      ");
    EXPECT_EQ(german(on(1, 2, 2, 999)), "Montag, 2.2.0999,      ");
    EXPECT_EQ(german(on(1, 2, 2, 1000)), "Montag, 2.2.1000,      ");
    EXPECT_EQ(english(on(5, 31, 12, 9999)), "Friday, 31st Dec. 9999, ");
}

TEST(LongDate, EnglishExamplesAndTheShortWeekdays) {
    EXPECT_EQ(english(on(3, 1, 5, 2025)), "Wednesday, 1st May 2025,");
    EXPECT_EQ(english(on(3, 22, 9, 2025)), "Weds., 22nd Sept. 2025, ");
    EXPECT_EQ(english(on(3, 10, 5, 2025)), "Weds., 10th May 2025,   ");
    EXPECT_EQ(english(on(2, 10, 3, 2025)), "Tues., 10th March 2025, ");
    EXPECT_EQ(english(on(2, 1, 3, 2025)), "Tuesday, 1st March 2025,");
    EXPECT_EQ(english(on(4, 10, 5, 2025)), "Thursday, 10th May 2025,");
    EXPECT_EQ(english(on(4, 10, 6, 2025)), "Thurs., 10th June 2025, ");
    EXPECT_EQ(english(on(4, 10, 3, 2025)), "Thurs., 10th March 2025,");
    EXPECT_EQ(english(on(6, 2, 3, 2025)), "Sat., 2nd March 2025,   ");
    EXPECT_EQ(english(on(6, 2, 6, 2025)), "Saturday, 2nd June 2025,");
    EXPECT_EQ(english(on(6, 2, 4, 2025)), "Sat., 2nd April 2025,   ");
}

TEST(LongDate, EnglishMonthNames) {
    const std::array<std::string, 12> expected = {
        "Sunday, 1st Jan. 2025,  ", "Sunday, 1st Feb. 2025,  ", "Sunday, 1st March 2025, ",
        "Sunday, 1st April 2025, ", "Sunday, 1st May 2025,   ", "Sunday, 1st June 2025,  ",
        "Sunday, 1st July 2025,  ", "Sunday, 1st Aug. 2025,  ", "Sunday, 1st Sept. 2025, ",
        "Sunday, 1st Oct. 2025,  ", "Sunday, 1st Nov. 2025,  ", "Sunday, 1st Dec. 2025,  "};
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(english(on(0, 1, month, 2025)), expected[month - 1]);
}

TEST(LongDate, EnglishDaySuffixes) {
    for (int day = 1; day <= 31; ++day) {
        const std::string suffix = day == 1 || day == 21 || day == 31 ? "st"
                                   : day == 2 || day == 22            ? "nd"
                                   : day == 3 || day == 23            ? "rd"
                                                                      : "th";
        const std::string expected = "Monday, " + std::to_string(day) + suffix + " Jan. 2025,";
        EXPECT_EQ(english(on(1, day, 1, 2025)).substr(0, expected.size()), expected);
    }
}

// The weekday is long exactly when the slack the day and the month leave allows it; every
// combination keeps the fixed widths.
TEST(LongDate, WidthsAndTheChoiceOfWeekdayFormOverEveryCombination) {
    const std::array<std::string, 12> months = {"Jan. ", "Feb. ", "March ", "April ",
                                                "May ",  "June ", "July ",  "Aug. ",
                                                "Sept. ", "Oct. ", "Nov. ", "Dec. "};
    const std::array<int, 7> slack_needed = {0, 0, 1, 3, 2, 0, 2};
    const std::array<std::string, 7> long_names = {"Sunday, ",   "Monday, ", "Tuesday, ",
                                                   "Wednesday, ", "Thursday, ", "Friday, ",
                                                   "Saturday, "};
    for (int weekday = 0; weekday < 7; ++weekday) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                const CalendarDate date = on(weekday, day, month, 2025);
                const std::string text = english(date);
                ASSERT_EQ(text.size(), 24u);
                ASSERT_EQ(german(date).size(), 23u);
                const int slack = (6 - static_cast<int>(months[month - 1].size())) + (day < 10);
                const bool long_form = slack >= slack_needed[weekday];
                ASSERT_EQ(text.rfind(long_names[weekday], 0) == 0, long_form)
                    << text << " slack " << slack;
            }
        }
    }
}

TEST(TimeOfDay, GermanTwentyFourHourClock) {
    EXPECT_EQ(time_of_day(Language::German, {0, 5, 9}), "00.05 Uhr, 09");
    EXPECT_EQ(time_of_day(Language::German, {12, 30, 0}), "12.30 Uhr, 00");
    EXPECT_EQ(time_of_day(Language::German, {23, 59, 59}), "23.59 Uhr, 59");
}

TEST(TimeOfDay, EnglishTwelveHourClockOverTheWholeDay) {
    const std::array<std::string, 24> expected = {
        "12:05 a.m., 07", "01:05 a.m., 07", "02:05 a.m., 07", "03:05 a.m., 07",
        "04:05 a.m., 07", "05:05 a.m., 07", "06:05 a.m., 07", "07:05 a.m., 07",
        "08:05 a.m., 07", "09:05 a.m., 07", "10:05 a.m., 07", "11:05 a.m., 07",
        "12:05 p.m., 07", "01:05 p.m., 07", "02:05 p.m., 07", "03:05 p.m., 07",
        "04:05 p.m., 07", "05:05 p.m., 07", "06:05 p.m., 07", "07:05 p.m., 07",
        "08:05 p.m., 07", "09:05 p.m., 07", "10:05 p.m., 07", "11:05 p.m., 07"};
    for (int hour = 0; hour < 24; ++hour)
        EXPECT_EQ(time_of_day(Language::English, {hour, 5, 7}), expected[hour]);
    EXPECT_EQ(time_of_day(Language::English, {12, 30, 0}), "12:30 p.m., 00");
    EXPECT_EQ(time_of_day(Language::English, {23, 59, 0}), "11:59 p.m., 00");
}

TEST(Durations, PanelAndStatusLineForms) {
    const std::int32_t one_two_three = 360000 + 2 * 6000 + 3 * 100 + 99;
    EXPECT_EQ(panel_duration(Language::German, 0), "00 Std. 00 Min. 00");
    EXPECT_EQ(panel_duration(Language::German, one_two_three), "01 Std. 02 Min. 03");
    EXPECT_EQ(panel_duration(Language::English, one_two_three), "01 hours 02 min. 03");
    EXPECT_EQ(short_duration(3 * 6000 + 7 * 100), "00.03.07");
    EXPECT_EQ(short_duration(one_two_three), "01.02.03");
    EXPECT_EQ(short_duration(99), "00.00.00");
}

TEST(Durations, HundredHoursAndMoreStandStillAtTheLastSecond) {
    const std::int32_t hundred_hours = 36000000;
    EXPECT_EQ(split_duration(hundred_hours - 100), (Hms{99, 59, 59}));
    EXPECT_EQ(split_duration(hundred_hours - 101), (Hms{99, 59, 58}));
    EXPECT_EQ(split_duration(hundred_hours), (Hms{99, 59, 59}));
    EXPECT_EQ(split_duration(std::numeric_limits<std::int32_t>::max()), (Hms{99, 59, 59}));
    EXPECT_EQ(panel_duration(Language::English, hundred_hours), "99 hours 59 min. 59");
    EXPECT_EQ(short_duration(hundred_hours + 6000), "99.59.59");
}

TEST(Durations, BelowZeroIsZero) {
    EXPECT_EQ(split_duration(-1), (Hms{0, 0, 0}));
    EXPECT_EQ(short_duration(std::numeric_limits<std::int32_t>::min()), "00.00.00");
}

}  // namespace
