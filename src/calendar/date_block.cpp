#include "calendar/date_block.hpp"

#include <array>
#include <string>

#include "calendar/calendar.hpp"
#include "calendar/date_forms.hpp"
#include "core/text.hpp"

namespace {

constexpr std::string_view kIndent = "                ";
constexpr int kValueColumn = 37;
constexpr int kMonthNameColumn = 43;
constexpr int kTwelveHourColumn = 43;
constexpr int kDayCountColumn = 32;
constexpr int kWeekdayRow = 21;

constexpr Bilingual kLeapLead{" (ist ", " (is "};
constexpr Bilingual kLeapYear{"ein Schaltjahr.) ", "a leap-year.) "};
constexpr Bilingual kCommonYear{"kein Schaltjahr.)", "no leap-year.)"};
constexpr Bilingual kMonthLabel{"Monat    (01 - 12): ", "Month    (01 - 12): "};
constexpr Bilingual kMonthLead{".  (", "   ("};
constexpr std::array<Bilingual, 12> kMonthNames = {{
    {"Januar)   ", "January)  "},
    {"Februar)  ", "February) "},
    {"Maerz)    ", "March)    "},
    {"April)    ", "April)    "},
    {"Mai)      ", "May)      "},
    {"Juni)     ", "June)     "},
    {"Juli)     ", "July)     "},
    {"August)   ", "August)   "},
    {"September)", "September)"},
    {"Oktober)  ", "October)  "},
    {"November) ", "November) "},
    {"Dezember) ", "December) "},
}};
// The day label holds the month's day count: "(01 - 31)", "(01 - 28)" and so on.
constexpr Bilingual kDayLabel{"Tag      (01 - ", "Day      (01 - "};
constexpr std::string_view kDayLabelEnd = "): ";
constexpr Bilingual kDayEnd{".", ""};
constexpr Bilingual kWeekdayLabel{"Wochentag         : ", "Day of the week   : "};
constexpr std::array<Bilingual, 7> kWeekdayNames = {{
    {"Sonntag.   ", "Sunday.   "},
    {"Montag.    ", "Monday.   "},
    {"Dienstag.  ", "Tuesday.  "},
    {"Mittwoch.  ", "Wednesday."},
    {"Donnerstag.", "Thursday. "},
    {"Freitag.   ", "Friday.   "},
    {"Samstag.   ", "Saturday. "},
}};
constexpr Bilingual kHourLabel{"Stunde   (00 - 23): ", "Hour     (00 - 23): "};
// English only: the hour on the 12-hour clock follows.
constexpr Bilingual kHourEnd{" Uhr,", " (= "};
constexpr std::string_view kMorning = " a.m.)";
constexpr std::string_view kAfternoon = " p.m.)";
constexpr Bilingual kMinuteLabel{"Minute   (00 - 59): ", "Minute   (00 - 59): "};
constexpr Bilingual kMinuteEnd{" Minuten und", " minutes and"};
constexpr Bilingual kSecondLabel{"Sekunde  (00 - 59): ", "Second   (00 - 59): "};
constexpr Bilingual kSecondEnd{" Sekunden.", " seconds."};

constexpr int leap_column(Language language) {
    return kValueColumn + 4 + static_cast<int>(kLeapLead(language).size());
}

}  // namespace

void DateBlock::write_at(int column, int row, std::string_view text) {
    console_.goto_xy(column, row);
    console_.write_text(text);
}

std::string_view DateBlock::leap_text(bool leap_year) const {
    return (leap_year ? kLeapYear : kCommonYear)(language_);
}

std::string DateBlock::twelve_hour_text(int hour) const {
    const int twelve_hour = hour % 12 == 0 ? 12 : hour % 12;
    return join({two_digits(twelve_hour), hour < 12 ? kMorning : kAfternoon});
}

void DateBlock::draw(const BlockValues& values) {
    const Language language = language_;
    const std::string day_count = two_digits(month_length(values.month, values.leap_year));
    console_.set_attribute(colours_.standard);
    write_at(1, row_of(Field::Year),
             join({kIndent, year_label_(language), four_digit_year(values.year),
                   kLeapLead(language), leap_text(values.leap_year)}));
    write_at(1, row_of(Field::Month),
             join({kIndent, kMonthLabel(language), two_digits(values.month), kMonthLead(language),
                   kMonthNames[values.month - 1](language)}));
    write_at(1, row_of(Field::Day),
             join({kIndent, kDayLabel(language), day_count, kDayLabelEnd, two_digits(values.day),
                   kDayEnd(language)}));
    write_at(1, kWeekdayRow,
             join({kIndent, kWeekdayLabel(language), kWeekdayNames[values.weekday](language)}));
    if (fields_ == FieldSet::DateAndTime) {
        const std::string twelve_hour =
            language == Language::English ? twelve_hour_text(values.hour) : std::string();
        write_at(1, row_of(Field::Hour),
                 join({kIndent, kHourLabel(language), two_digits(values.hour),
                       kHourEnd(language), twelve_hour}));
        write_at(1, row_of(Field::Minute),
                 join({kIndent, kMinuteLabel(language), two_digits(values.minute),
                       kMinuteEnd(language)}));
        write_at(1, row_of(Field::Second),
                 join({kIndent, kSecondLabel(language), two_digits(values.second),
                       kSecondEnd(language)}));
    }
    shown_ = values;
}

void DateBlock::update_two_digits(int row, int shown, int value) {
    if (value == shown) return;
    const std::string digits = two_digits(value);
    if (value / 10 == shown / 10)
        write_at(kValueColumn + 1, row, digits.substr(1));
    else
        write_at(kValueColumn, row, digits);
}

void DateBlock::update(const BlockValues& values) {
    if (values.year != shown_.year)
        write_at(kValueColumn, row_of(Field::Year), four_digit_year(values.year));
    if (values.leap_year != shown_.leap_year) {
        write_at(leap_column(language_), row_of(Field::Year), leap_text(values.leap_year));
        if (values.month == 2)
            write_at(kDayCountColumn + 1, row_of(Field::Day), values.leap_year ? "9" : "8");
    }
    if (values.month != shown_.month) {
        update_two_digits(row_of(Field::Month), shown_.month, values.month);
        write_at(kMonthNameColumn, row_of(Field::Month), kMonthNames[values.month - 1](language_));
        write_at(kDayCountColumn, row_of(Field::Day),
                 two_digits(month_length(values.month, values.leap_year)));
    }
    update_two_digits(row_of(Field::Day), shown_.day, values.day);
    if (values.weekday != shown_.weekday)
        write_at(kValueColumn, kWeekdayRow, kWeekdayNames[values.weekday](language_));
    if (fields_ == FieldSet::DateAndTime) {
        update_two_digits(row_of(Field::Hour), shown_.hour, values.hour);
        if (values.hour != shown_.hour && language_ == Language::English)
            write_at(kTwelveHourColumn, row_of(Field::Hour), twelve_hour_text(values.hour));
        update_two_digits(row_of(Field::Minute), shown_.minute, values.minute);
        update_two_digits(row_of(Field::Second), shown_.second, values.second);
    }
    shown_ = values;
}
