#include <gtest/gtest.h>

#include <chrono>

#include "calendar/calendar.hpp"
#include "program/start_up.hpp"
#include "support/test_rig.hpp"

namespace {

constexpr int kSunday = 0, kMonday = 1, kThursday = 4, kFriday = 5, kSaturday = 6;

// The Julian day number of a date of the Julian calendar, by the classic closed formula; an
// independent reference for everything before the change of 1582.
long long julian_day_number(int year, int month, int day) {
    return 367LL * year - (7LL * (year + 5001 + (month - 9) / 7)) / 4 + (275 * month) / 9 + day +
           1729777;
}

int julian_weekday(int year, int month, int day) {
    return static_cast<int>((julian_day_number(year, month, day) + 1) % 7);
}

std::chrono::sys_days chrono_day(const CalendarDate& date) {
    using namespace std::chrono;
    return sys_days{year{date.year} / month{date.month} / day{date.day}};
}

CalendarDate date(int year, int month, int day) {
    return {static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
            static_cast<std::uint16_t>(day),
            static_cast<std::uint16_t>(weekday_of(year, month, day))};
}

TEST(Calendar, EveryJulianDayFromYearZeroFollowsTheJulianRule) {
    CalendarDate day{0, 1, 1, kThursday};
    const long long first = julian_day_number(0, 1, 1);
    for (;;) {
        const long long jdn = julian_day_number(day.year, day.month, day.day);
        ASSERT_EQ(weekday_of(day.year, day.month, day.day), julian_weekday(day.year, day.month, day.day))
            << day.year << '-' << day.month << '-' << day.day;
        ASSERT_EQ(day.weekday, julian_weekday(day.year, day.month, day.day));
        ASSERT_EQ(day_number(day.year, day.month, day.day), jdn - first);
        if (day == CalendarDate{1582, 10, 4, kThursday}) break;
        const CalendarDate next = next_day(day);
        ASSERT_EQ(julian_day_number(next.year, next.month, next.day), jdn + 1)
            << "after " << day.year << '-' << day.month << '-' << day.day;
        day = next;
    }
}

TEST(Calendar, EveryGregorianDayFromTheChangeToTheEndAgreesWithTheCivilCalendar) {
    CalendarDate day{1582, 10, 15, kFriday};
    const long long first_number = day_number(1582, 10, 15);
    const std::chrono::sys_days first_day = chrono_day(day);
    for (;;) {
        const std::chrono::sys_days reference = chrono_day(day);
        const auto civil_weekday = static_cast<int>(std::chrono::weekday{reference}.c_encoding());
        ASSERT_EQ(weekday_of(day.year, day.month, day.day), civil_weekday)
            << day.year << '-' << day.month << '-' << day.day;
        ASSERT_EQ(day.weekday, civil_weekday);
        ASSERT_EQ(day_number(day.year, day.month, day.day) - first_number,
                  (reference - first_day).count());
        if (day.year == 9999 && day.month == 12 && day.day == 31) break;
        const CalendarDate next = next_day(day);
        ASSERT_EQ(chrono_day(next), reference + std::chrono::days{1})
            << "after " << day.year << '-' << day.month << '-' << day.day;
        day = next;
    }
}

TEST(Calendar, TheDaysAroundTheChangeOf1582) {
    EXPECT_EQ(weekday_of(0, 1, 1), kThursday);
    EXPECT_EQ(weekday_of(1582, 10, 4), kThursday);
    EXPECT_EQ(weekday_of(1582, 10, 15), kFriday);
    EXPECT_EQ(next_day(date(1582, 10, 4)), (CalendarDate{1582, 10, 15, kFriday}));
    EXPECT_EQ(day_number(1582, 10, 15) - day_number(1582, 10, 4), 1);
    EXPECT_EQ(day_number(0, 1, 1), 0);
}

TEST(Calendar, LeapYearsAreJulianUpTo1582AndGregorianFrom1583) {
    for (int year : {0, 4, 1200, 1500, 1580, 1584, 1600, 2000, 2024, 9996})
        EXPECT_TRUE(is_leap_year(year)) << year;
    for (int year : {1, 1582, 1583, 1700, 1800, 1900, 2100, 2023, 9999})
        EXPECT_FALSE(is_leap_year(year)) << year;
    EXPECT_EQ(days_in_month(1500, 2), 29);
    EXPECT_EQ(days_in_month(1700, 2), 28);
    EXPECT_EQ(days_in_month(2000, 2), 29);
}

TEST(Calendar, NextDayAtTheEndsOfMonthsAndYears) {
    EXPECT_EQ(next_day(date(1900, 2, 28)), date(1900, 3, 1));
    EXPECT_EQ(next_day(date(1600, 2, 28)), date(1600, 2, 29));
    EXPECT_EQ(next_day(date(1500, 2, 28)), date(1500, 2, 29));
    EXPECT_EQ(next_day(date(1500, 2, 29)), date(1500, 3, 1));
    EXPECT_EQ(next_day(date(2025, 4, 30)), date(2025, 5, 1));
    EXPECT_EQ(next_day(date(2025, 5, 30)), date(2025, 5, 31));
    EXPECT_EQ(next_day(date(2025, 12, 31)), date(2026, 1, 1));
    EXPECT_EQ(next_day(date(0, 12, 31)), date(1, 1, 1));
    // Saturday is followed by Sunday.
    EXPECT_EQ(next_day(CalendarDate{2025, 3, 1, kSaturday}), (CalendarDate{2025, 3, 2, kSunday}));
}

TEST(Calendar, TheLastDayOfTheCalendarHasNoSuccessorInIt) {
    const CalendarDate last = date(9999, 12, 31);
    EXPECT_EQ(next_day(last), last);
}

TEST(VirtualDate, StartsOffOnTheRealDateWithItsNextDay) {
    const VirtualDate virtual_date = VirtualDate::from_real_date({2025, 9, 22, kMonday});
    EXPECT_EQ(virtual_date.date, (CalendarDate{2025, 9, 22, kMonday}));
    EXPECT_EQ(virtual_date.following, (CalendarDate{2025, 9, 23, 2}));
    EXPECT_FALSE(virtual_date.in_force);
    EXPECT_TRUE(virtual_date.header_day);
}

TEST(VirtualDate, ComputingTheNextDayPutsThePanelBackOnTheVirtualDate) {
    VirtualDate virtual_date = VirtualDate::from_real_date(date(2025, 9, 22));
    virtual_date.date = date(1582, 10, 4);
    virtual_date.in_force = true;
    virtual_date.header_day = false;
    virtual_date.compute_next_day();
    EXPECT_EQ(virtual_date.following, date(1582, 10, 15));
    EXPECT_TRUE(virtual_date.header_day);
    EXPECT_TRUE(virtual_date.in_force);
}

TEST(VirtualDate, StartUpTakesTheComputersDate) {
    TestRig rig;
    rig.clock.show(2024, 2, 29, 23, 30);
    rig.app.virtual_date.in_force = true;
    start_up(rig.app);
    EXPECT_EQ(rig.app.virtual_date.date, (CalendarDate{2024, 2, 29, kThursday}));
    EXPECT_EQ(rig.app.virtual_date.following, (CalendarDate{2024, 3, 1, kFriday}));
    EXPECT_FALSE(rig.app.virtual_date.in_force);
    EXPECT_TRUE(rig.app.virtual_date.header_day);
}

}  // namespace
