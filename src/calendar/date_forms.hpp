#pragma once

#include <cstdint>
#include <string>

#include "calendar/calendar.hpp"
#include "core/language.hpp"

// Hours, minutes and seconds of a time of day or of a duration.
struct Hms {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    bool operator==(const Hms&) const = default;
};

// With leading zeros: "07", "0007".
std::string two_digits(int value);
std::string four_digit_year(int year);

// A date row of the match panel: padded to 23 characters (German) or 24 (English), so that a
// new date always covers an older one.
std::string long_date(Language language, const CalendarDate& date);
// "07.05 Uhr, 09" (13 characters) or "07:05 a.m., 09" (14).
std::string time_of_day(Language language, const Hms& time);

// A duration in hundredths; 100 hours and more stand still at 99:59:59, below zero is zero.
Hms split_duration(std::int32_t hundredths);
// The timer rows of the panel: "01 Std. 02 Min. 03" or "01 hours 02 min. 03".
std::string panel_duration(Language language, std::int32_t hundredths);
// The status line's form, the same in both languages: "01.02.03".
std::string short_duration(std::int32_t hundredths);
