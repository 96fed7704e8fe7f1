#include "calendar/calendar.hpp"

#include <array>

namespace {

constexpr int kLastJulianYear = 1582;
constexpr int kLastYear = 9999;
constexpr std::array<int, 12> kDaysBeforeMonth = {0,   31,  59,  90,  120, 151,
                                                  181, 212, 243, 273, 304, 334};

// Leap years in [0, year) of a calendar that had always been Gregorian.
long long gregorian_leap_years_before(long long year) {
    return (year + 3) / 4 - (year + 99) / 100 + (year + 399) / 400;
}

long long leap_years_before(long long year) {
    constexpr long long kFirstGregorian = kLastJulianYear + 1;
    if (year <= kFirstGregorian) return (year + 3) / 4;
    return (kFirstGregorian + 3) / 4 + gregorian_leap_years_before(year) -
           gregorian_leap_years_before(kFirstGregorian);
}

bool is_gregorian_date(int year, int month, int day) {
    if (year != kLastJulianYear) return year > kLastJulianYear;
    return month > 10 || (month == 10 && day >= 10);
}

}  // namespace

CalendarDate calendar_date(const DateTime& moment) {
    return {moment.year, moment.month, moment.day, moment.weekday};
}

bool is_leap_year(int year) {
    return year <= kLastJulianYear ? year % 4 == 0 : is_gregorian_leap_year(year);
}

bool is_gregorian_leap_year(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int days_in_month(int year, int month) { return month_length(month, is_leap_year(year)); }

int month_length(int month, bool leap_year) {
    if (month == 2) return leap_year ? 29 : 28;
    return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
}

int weekday_of(int year, int month, int day) {
    int sum = 3;
    if (year != 0) {
        const int p = year - 1;
        sum = is_gregorian_date(year, month, day) ? (p / 4 + year + 6 - p / 100 + p / 400) % 7
                                                  : (year + 4 + p / 4) % 7;
    }
    if (is_leap_year(year) && month > 2) ++sum;
    sum += kDaysBeforeMonth[month - 1];
    return (sum + day) % 7;
}

long long day_number(int year, int month, int day) {
    long long days = 365LL * year + leap_years_before(year) + kDaysBeforeMonth[month - 1] +
                     day - 1;
    if (is_leap_year(year) && month > 2) ++days;
    if (is_gregorian_date(year, month, day)) days -= 10;
    return days;
}

CalendarDate next_day(const CalendarDate& date) {
    if (date.year == kLastYear && date.month == 12 && date.day == 31) return date;
    CalendarDate next = date;
    next.weekday = date.weekday == 6 ? 0 : date.weekday + 1;
    if (date.year == kLastJulianYear && date.month == 10 && date.day == 4) {
        next.day = 15;
    } else if (date.day < days_in_month(date.year, date.month)) {
        ++next.day;
    } else if (date.month < 12) {
        ++next.month;
        next.day = 1;
    } else {
        ++next.year;
        next.month = 1;
        next.day = 1;
    }
    return next;
}

VirtualDate VirtualDate::from_real_date(const CalendarDate& today) {
    VirtualDate virtual_date;
    virtual_date.date = today;
    virtual_date.compute_next_day();
    return virtual_date;
}

void VirtualDate::compute_next_day() {
    following = next_day(date);
    header_day = true;
}
