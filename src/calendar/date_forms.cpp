#include "calendar/date_forms.hpp"

#include <array>
#include <string_view>

namespace {

constexpr std::size_t kGermanDateWidth = 23;
constexpr std::size_t kEnglishDateWidth = 24;
constexpr std::int32_t kHundredthsPerHour = 360000;
constexpr std::int32_t kHundredthsPerMinute = 6000;
constexpr std::int32_t kHundredthsLimit = 100 * kHundredthsPerHour;

constexpr std::array<Bilingual, 7> kWeekdays = {{{"Sonntag, ", "Sunday, "},
                                                 {"Montag, ", "Monday, "},
                                                 {"Dienstag, ", "Tuesday, "},
                                                 {"Mittwoch, ", "Wednesday, "},
                                                 {"Donnerstag, ", "Thursday, "},
                                                 {"Freitag, ", "Friday, "},
                                                 {"Samstag, ", "Saturday, "}}};
// Used where the long name leaves no room; Sunday, Monday and Friday always fit.
constexpr std::array<std::string_view, 7> kEnglishShortWeekdays = {
    "Sunday, ", "Monday, ", "Tues., ", "Weds., ", "Thurs., ", "Friday, ", "Sat., "};
constexpr std::array<std::string_view, 12> kEnglishMonths = {
    "Jan. ", "Feb. ", "March ", "April ", "May ", "June ",
    "July ", "Aug. ", "Sept. ", "Oct. ", "Nov. ", "Dec. "};
constexpr Bilingual kHoursUnit{" Std. ", " hours "};
constexpr Bilingual kMinutesUnit{" Min. ", " min. "};

std::string_view day_suffix(int day) {
    switch (day) {
    case 1:
    case 21:
    case 31:
        return "st ";
    case 2:
    case 22:
        return "nd ";
    case 3:
    case 23:
        return "rd ";
    default:
        return "th ";
    }
}

std::string german_date(const CalendarDate& date) {
    std::string text(kWeekdays[date.weekday].german);
    text.append(std::to_string(date.day)).append(".");
    text.append(std::to_string(date.month)).append(".");
    text.append(four_digit_year(date.year)).append(",");
    text.resize(kGermanDateWidth, ' ');
    return text;
}

std::string english_date(const CalendarDate& date) {
    std::string rest = std::to_string(date.day);
    rest.append(day_suffix(date.day));
    rest.append(kEnglishMonths[date.month - 1]);
    rest.append(four_digit_year(date.year)).append(",");
    std::string text(kWeekdays[date.weekday].english);
    if (text.size() + rest.size() > kEnglishDateWidth) text = kEnglishShortWeekdays[date.weekday];
    text.append(rest);
    text.resize(kEnglishDateWidth, ' ');
    return text;
}

}  // namespace

std::string two_digits(int value) {
    std::string text(2, '0');
    text[0] = static_cast<char>('0' + value / 10 % 10);
    text[1] = static_cast<char>('0' + value % 10);
    return text;
}

std::string four_digit_year(int year) {
    std::string text = std::to_string(year);
    if (text.size() < 4) text.insert(0, 4 - text.size(), '0');
    return text;
}

std::string long_date(Language language, const CalendarDate& date) {
    return language == Language::German ? german_date(date) : english_date(date);
}

std::string time_of_day(Language language, const Hms& time) {
    std::string text;
    if (language == Language::German) {
        text.append(two_digits(time.hours)).append(".").append(two_digits(time.minutes));
        text.append(" Uhr, ");
    } else {
        const int twelve_hour = time.hours % 12 == 0 ? 12 : time.hours % 12;
        text.append(two_digits(twelve_hour)).append(":").append(two_digits(time.minutes));
        text.append(time.hours < 12 ? " a.m., " : " p.m., ");
    }
    return text.append(two_digits(time.seconds));
}

Hms split_duration(std::int32_t hundredths) {
    if (hundredths >= kHundredthsLimit) return {99, 59, 59};
    if (hundredths < 0) return {};
    return {hundredths / kHundredthsPerHour, hundredths % kHundredthsPerHour / kHundredthsPerMinute,
            hundredths % kHundredthsPerMinute / 100};
}

std::string panel_duration(Language language, std::int32_t hundredths) {
    const Hms parts = split_duration(hundredths);
    std::string text = two_digits(parts.hours);
    text.append(kHoursUnit(language)).append(two_digits(parts.minutes));
    text.append(kMinutesUnit(language)).append(two_digits(parts.seconds));
    return text;
}

std::string short_duration(std::int32_t hundredths) {
    const Hms parts = split_duration(hundredths);
    std::string text = two_digits(parts.hours);
    text.append(".").append(two_digits(parts.minutes)).append(".").append(two_digits(parts.seconds));
    return text;
}
