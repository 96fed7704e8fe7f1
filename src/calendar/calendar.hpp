#pragma once

#include <cstdint>

#include "platform/clock.hpp"

// A day of the calendar 0000..9999: Julian up to 4 October 1582, Gregorian from 15 October
// 1582; the ten days between never existed. Weekday 0 is Sunday.
struct CalendarDate {
    std::uint16_t year = 2000;
    std::uint16_t month = 1;
    std::uint16_t day = 1;
    std::uint16_t weekday = 6;
    bool operator==(const CalendarDate&) const = default;
};

CalendarDate calendar_date(const DateTime& moment);

// Every fourth year up to 1582; from 1583 the centuries only when divisible by 400.
bool is_leap_year(int year);
// The rule of the computer's clock, which is Gregorian for every year.
bool is_gregorian_leap_year(int year);
int days_in_month(int year, int month);
// The same where the leap year is decided by another rule, as on the computer's clock.
int month_length(int month, bool leap_year);
// For a date that exists.
int weekday_of(int year, int month, int day);
// Days since 1 January 0000, counting only days that existed.
long long day_number(int year, int month, int day);
// 31 December 9999 is the calendar's last day and has no successor in it: it stays.
CalendarDate next_day(const CalendarDate& date);

// The date matches show instead of the computer's. The run holds it; it is never
// saved, so every run starts on the computer's date.
struct VirtualDate {
    CalendarDate date;
    CalendarDate following;   // the day after `date`
    bool in_force = false;    // a virtual date was set on the calendar screen
    bool header_day = true;   // the match panel shows `date` (on) or `following` (off)

    // Not in force, on the computer's date.
    static VirtualDate from_real_date(const CalendarDate& today);
    // Before the game begins: `following` from `date`, and the panel back on `date`.
    void compute_next_day();
};
